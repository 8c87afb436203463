#pragma once

namespace plumwit::server {

// The entity for a character that would otherwise read as markup, in both
// the service's XML and its HTML; nullptr for any other character.
constexpr const char* MarkupEntity(char32_t c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return nullptr;
  }
}

}  // namespace plumwit::server
