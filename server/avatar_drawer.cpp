#include "server/avatar_drawer.h"

#include <cctype>
#include <cstdint>

#include "server/utf8.h"
#include "server/xml_writer.h"

namespace plumwit::server {
namespace {

constexpr const char* kColours[] = {"#2f6db5", "#c0392b", "#16a085", "#8e44ad", "#d35400",
                                    "#27ae60", "#2c3e50", "#b7950b", "#1f8a9e", "#a93274"};

const char* ColourFor(const std::string& screen_name) {
  std::uint32_t hash = 2166136261u;  // FNV-1a over the lower-cased name
  for (const char c : screen_name) {
    hash ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    hash *= 16777619u;
  }
  return kColours[hash % (sizeof kColours / sizeof kColours[0])];
}

char32_t Upper(char32_t c) {
  return c < 0x80 ? static_cast<char32_t>(std::toupper(static_cast<int>(c))) : c;
}

}  // namespace

std::string AvatarDrawer::Initials(const Account& account) {
  const std::string& source = account.name.empty() ? account.screen_name : account.name;
  std::string initials;
  bool at_word_start = true;
  int taken = 0;
  for (const char32_t c : DecodeUtf8(source)) {
    const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '_' || c == '-';
    if (blank) {
      at_word_start = true;
      continue;
    }
    if (at_word_start && taken < 2) {
      AppendUtf8(initials, Upper(c));
      ++taken;
    }
    at_word_start = false;
  }
  return initials.empty() ? "?" : initials;
}

std::string AvatarDrawer::Svg(const Account& account) {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
             "viewBox=\"0 0 48 48\">\n"
             "  <rect width=\"48\" height=\"48\" rx=\"6\" fill=\"") +
         ColourFor(account.screen_name) +
         "\"/>\n"
         "  <text x=\"24\" y=\"31\" text-anchor=\"middle\" font-family=\"sans-serif\" "
         "font-size=\"20\" font-weight=\"bold\" fill=\"#ffffff\">" +
         XmlWriter::Escape(Initials(account)) + "</text>\n</svg>\n";
}

}  // namespace plumwit::server
