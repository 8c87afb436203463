#include "server/mention_names.h"

#include "server/ascii_case.h"

namespace plumwit::server {
namespace {

bool IsWordByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 'A' && byte <= 'Z') || byte == '_' || byte >= 0x80;
}

bool IsNameByte(char c) { return IsWordByte(c) && static_cast<unsigned char>(c) < 0x80; }

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  for (const std::string& known : names) {
    if (EqualsIgnoringCase(known, name)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> MentionedNames(std::string_view text) {
  std::vector<std::string> names;
  for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
    if (at > 0 && (IsWordByte(text[at - 1]) || text[at - 1] == '@')) continue;
    std::size_t end = at + 1;
    while (end < text.size() && IsNameByte(text[end])) ++end;
    if (end == at + 1 || (end < text.size() && IsWordByte(text[end]))) continue;
    const std::string_view name = text.substr(at + 1, end - at - 1);
    if (!Contains(names, name)) names.emplace_back(name);
  }
  return names;
}

}  // namespace plumwit::server
