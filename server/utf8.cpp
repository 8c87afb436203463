#include "server/utf8.h"

namespace plumwit::server {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the sequence starting at `pos`; returns its length, or 0 when it is
// malformed.
std::size_t DecodeAt(std::string_view text, std::size_t pos, char32_t& code_point) {
  const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code_point = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code_point = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code_point = lead & 0x07;
    smallest = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = byte(pos + k);
    if ((next & 0xC0) != 0x80) return 0;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
  if (code_point < smallest || code_point > 0x10FFFF || surrogate) return 0;
  return length;
}

bool IsXmlCharacter(char32_t c) {
  if (c == 0x9 || c == 0xA || c == 0xD) return true;
  return c >= 0x20 && c != 0xFFFE && c != 0xFFFF;
}

template <typename Visit>
bool ForEachCodePoint(std::string_view text, Visit visit) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t code_point = 0;
    const std::size_t length = DecodeAt(text, pos, code_point);
    if (length == 0) {
      if (!visit(kReplacement, false)) return false;
      ++pos;
    } else {
      if (!visit(code_point, true)) return false;
      pos += length;
    }
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  return ForEachCodePoint(text, [](char32_t, bool valid) { return valid; });
}

bool IsStorableText(std::string_view text) {
  return ForEachCodePoint(text, [](char32_t c, bool valid) { return valid && IsXmlCharacter(c); });
}

std::vector<char32_t> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> code_points;
  code_points.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t c, bool) {
    code_points.push_back(c);
    return true;
  });
  return code_points;
}

std::size_t CountCodePoints(std::string_view text) {
  std::size_t count = 0;
  ForEachCodePoint(text, [&](char32_t, bool) {
    ++count;
    return true;
  });
  return count;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string_view TrimControlsAndSpaces(std::string_view text) {
  const auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace plumwit::server
