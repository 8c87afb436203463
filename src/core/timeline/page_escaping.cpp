#include "core/timeline/page_escaping.h"

#include <array>
#include <cstdint>
#include <optional>

namespace plumwit {

namespace {

bool IsAsciiAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An "&" only starts a character reference before a letter, a digit or "#".
bool CouldStartReference(std::string_view text, std::size_t ampersand) {
  const std::size_t next = ampersand + 1;
  return next < text.size() && (IsAsciiAlphanumeric(text[next]) || text[next] == '#');
}

// Its "<" ends an address run of the link pattern, as the "<" it stands
// for does in the plain text, so the entity after it never joins an address.
constexpr const char* kRunBreaker = "<!---->";

void AppendUtf8(std::string& out, std::uint32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

bool IsCharacter(std::uint32_t code_point) {
  return code_point != 0 && code_point <= 0x10FFFF &&
         !(code_point >= 0xD800 && code_point <= 0xDFFF);
}

// "#39" or "#x27" (the part between "&" and ";") as a character, if it is one.
std::optional<std::uint32_t> NumericReference(std::string_view name) {
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hexadecimal = name[1] == 'x' || name[1] == 'X';
  const int base = hexadecimal ? 16 : 10;
  const std::string_view digits = name.substr(hexadecimal ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  std::uint32_t code_point = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    code_point = code_point * base + static_cast<std::uint32_t>(digit);
    if (code_point > 0x10FFFF) return std::nullopt;
  }
  if (!IsCharacter(code_point)) return std::nullopt;
  return code_point;
}

std::optional<std::string> DecodeReference(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kNamed = {
      {{"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}}};
  for (const auto& [entity, character] : kNamed) {
    if (name == entity) return std::string(character);
  }
  const std::optional<std::uint32_t> code_point = NumericReference(name);
  if (!code_point) return std::nullopt;
  std::string character;
  AppendUtf8(character, *code_point);
  return character;
}

// The longest reference the service writes ("&#x10FFFF;") fits easily.
constexpr std::size_t kLongestReference = 12;

bool IsLineSeparator(std::string_view text, std::size_t at) {
  // U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
  return text.substr(at, 2) == "\xE2\x80" && at + 2 < text.size() &&
         (text[at + 2] == '\xA8' || text[at + 2] == '\xA9');
}

void AppendScriptEscape(std::string& out, char c) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  switch (c) {
    case '\\':
      out += "\\\\";
      return;
    case '"':
      out += "\\\"";
      return;
    case '\'':
      out += "\\'";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\n':
      out += "\\n";
      return;
    default:
      break;
  }
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte == 0x7F) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
  } else {
    out += c;
  }
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      case '\r':
        escaped += "&#13;";
        break;
      case '\n':
        escaped += "&#10;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string DecodeServiceEntities(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text[i] == '&' ? text.find(';', i + 1) : std::string_view::npos;
    if (end != std::string_view::npos && end - i <= kLongestReference) {
      if (const auto character = DecodeReference(text.substr(i + 1, end - i - 1))) {
        decoded += *character;
        i = end + 1;
        continue;
      }
    }
    decoded += text[i++];
  }
  return decoded;
}

std::string EscapeScriptString(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLineSeparator(text, i)) {
      escaped += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/') {
      // "</script>" inside the literal would end the script element.
      escaped += "<\\/";
      ++i;
    } else if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '!') {
      // "<!--" would change how the HTML parser looks for the script's end.
      escaped += "\\x3C";
    } else {
      AppendScriptEscape(escaped, text[i]);
    }
  }
  return escaped;
}

std::string StatusTextAsHtml(std::string_view text) {
  std::string html;
  html.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '<') {
      html += kRunBreaker;
      html += "&lt;";
    } else if (c == '&' && CouldStartReference(text, i)) {
      html += "&amp;";
    } else if (c == '\r' || c == '\n') {
      html += "<br>";
      html += c;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') html += text[++i];
    } else {
      html += c;
    }
  }
  return html;
}

std::string StatusTextForScript(std::string_view service_text) {
  return EscapeScriptString(StatusTextAsHtml(DecodeServiceEntities(service_text)));
}

}  // namespace plumwit
