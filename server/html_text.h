#pragma once

#include <string>
#include <string_view>

namespace plumwit::server {

// Text made safe for HTML.
class HtmlText {
 public:
  // Escapes &, <, >, " and '.
  static std::string Escape(std::string_view text);
  // Escapes `text` and turns http:// and https:// addresses in it into links.
  static std::string EscapeWithLinks(std::string_view text);
  // True for an address that may go into an href (http or https only).
  static bool IsWebAddress(std::string_view url);
};

}  // namespace plumwit::server
