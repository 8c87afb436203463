#include "server/html_text.h"

#include "server/markup_entities.h"

namespace plumwit::server {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Characters that end an address written in running text.
bool EndsAddress(char c) {
  return static_cast<unsigned char>(c) <= 32 || c == '"' || c == '<' || c == '>' || c == '\'';
}

std::size_t AddressLength(std::string_view text) {
  std::size_t length = 0;
  while (length < text.size() && !EndsAddress(text[length])) ++length;
  // A full stop or comma right after an address belongs to the sentence.
  while (length > 0 &&
         (text[length - 1] == '.' || text[length - 1] == ',' || text[length - 1] == ')' ||
          text[length - 1] == '!' || text[length - 1] == '?')) {
    --length;
  }
  return length;
}

}  // namespace

std::string HtmlText::Escape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (const char* entity = MarkupEntity(static_cast<unsigned char>(c))) {
      escaped += entity;
    } else if (c == '\'') {
      escaped += "&#39;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string HtmlText::EscapeWithLinks(std::string_view text) {
  std::string html;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t http = text.find("http", pos);
    if (http == std::string_view::npos) break;
    const std::string_view rest = text.substr(http);
    const bool is_address = IsWebAddress(rest);
    const std::size_t length = is_address ? AddressLength(rest) : 0;
    const bool has_host = length > (StartsWith(rest, "https://") ? 8u : 7u);
    if (!is_address || !has_host) {
      html += Escape(text.substr(pos, http + 4 - pos));
      pos = http + 4;
      continue;
    }
    html += Escape(text.substr(pos, http - pos));
    const std::string address = Escape(rest.substr(0, length));
    html += "<a href=\"" + address + "\" rel=\"nofollow\">" + address + "</a>";
    pos = http + length;
  }
  html += Escape(text.substr(pos));
  return html;
}

bool HtmlText::IsWebAddress(std::string_view url) {
  return StartsWith(url, "http://") || StartsWith(url, "https://");
}

}  // namespace plumwit::server
