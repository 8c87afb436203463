#pragma once

#include <string>

namespace plumwit::testing {

// What a decoder must put in place of a unit it cannot read.
inline constexpr char32_t kReplacement = 0xFFFD;

inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The UTF-8 form of `text`, written out by the book so tests and fuzzers
// have a reference that shares no code with the decoder they check. A
// surrogate or a value past U+10FFFF stands for a bad unit and becomes the
// replacement character.
inline std::string ReferenceUtf8(const std::u32string& text) {
  std::string utf8;
  for (char32_t c : text) {
    if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace plumwit::testing
