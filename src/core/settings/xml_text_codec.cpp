#include "core/settings/xml_text_codec.h"

#include <cstddef>
#include <optional>

namespace plumwit {
namespace {

struct NamedReference {
  std::string_view name;
  char character;
};

constexpr NamedReference kNamedReferences[] = {
    {"quot", '"'}, {"amp", '&'}, {"apos", '\''}, {"lt", '<'}, {"gt", '>'},
};

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::string_view kNulReference = "&#x00;";
constexpr unsigned kLargestByte = 255;

void AppendCharacterReference(std::string& out, unsigned char byte) {
  out += "&#x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
  out += ';';
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != prefix[i]) return false;
  }
  return true;
}

int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

struct Decoded {
  char character;
  std::size_t length;  // of the reference in the text
};

// `text` starts at an ampersand.
std::optional<Decoded> DecodeNamedReference(std::string_view text) {
  for (const auto& reference : kNamedReferences) {
    const std::size_t semicolon = 1 + reference.name.size();
    if (StartsWithIgnoringCase(text.substr(1), reference.name) && text.size() > semicolon &&
        text[semicolon] == ';') {
      return Decoded{reference.character, semicolon + 1};
    }
  }
  return std::nullopt;
}

// `text` starts at an ampersand.
std::optional<Decoded> DecodeCharacterReference(std::string_view text) {
  if (text.size() < 4 || text[1] != '#') return std::nullopt;
  const bool hexadecimal = text[2] == 'x' || text[2] == 'X';
  const unsigned base = hexadecimal ? 16 : 10;
  std::size_t position = hexadecimal ? 3 : 2;
  const std::size_t first_digit = position;
  unsigned code = 0;
  for (; position < text.size(); ++position) {
    const int digit = DigitValue(text[position], base);
    if (digit < 0) break;
    // Saturates, so a long run of digits cannot overflow.
    if (code <= kLargestByte) code = code * base + static_cast<unsigned>(digit);
  }
  if (position == first_digit || position >= text.size() || text[position] != ';') {
    return std::nullopt;
  }
  if (code > kLargestByte) return std::nullopt;
  // A code of 0 in another form is no character; in the form the writer
  // uses for a NUL byte it is that byte, so every value reads back whole.
  if (code == 0 && text.substr(0, position + 1) != kNulReference) return std::nullopt;
  return Decoded{static_cast<char>(static_cast<unsigned char>(code)), position + 1};
}

}  // namespace

std::string EncodeXmlText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "&quot;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        if (byte >= 128 || byte == 0) {
          AppendCharacterReference(out, byte);
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string DecodeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    const std::string_view rest = text.substr(position);
    std::optional<Decoded> decoded;
    if (rest.front() == '&') {
      decoded = DecodeNamedReference(rest);
      if (!decoded) decoded = DecodeCharacterReference(rest);
    }
    if (decoded) {
      out += decoded->character;
      position += decoded->length;
    } else {
      out += rest.front();
      ++position;
    }
  }
  return out;
}

}  // namespace plumwit
