#include "core/service/xml_text_decoder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string_view>

#include "core/service/ascii_text.h"

namespace plumwit {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t ValidSequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// An encoding the bytes themselves give away: a byte-order mark, or the
// zero bytes around the opening "<".
struct Detected {
  const char* encoding = nullptr;  // nullptr: ASCII-compatible, see the declaration
  std::size_t mark_length = 0;
  std::size_t code_unit = 1;  // bytes
};

// Without a mark, a "<" as a 16- or 32-bit unit gives the encoding away: no
// 8-bit XML text holds a zero byte.
Detected DetectFromBytes(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (StartsWith(bytes, "\x00\x00\xFE\xFF"sv)) return {"UTF-32BE", 4, 4};
  if (StartsWith(bytes, "\xFF\xFE\x00\x00"sv)) return {"UTF-32LE", 4, 4};
  if (StartsWith(bytes, "\xFE\xFF"sv)) return {"UTF-16BE", 2, 2};
  if (StartsWith(bytes, "\xFF\xFE"sv)) return {"UTF-16LE", 2, 2};
  if (StartsWith(bytes, "\x00\x00\x00\x3C"sv)) return {"UTF-32BE", 0, 4};
  if (StartsWith(bytes, "\x3C\x00\x00\x00"sv)) return {"UTF-32LE", 0, 4};
  if (StartsWith(bytes, "\x00\x3C"sv)) return {"UTF-16BE", 0, 2};
  if (StartsWith(bytes, "\x3C\x00"sv)) return {"UTF-16LE", 0, 2};
  return {};
}

struct Declared {
  std::string name;  // empty: none named
  std::size_t offset = 0;
};

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The encoding named by an XML declaration at the start of `text`.
Declared DeclaredEncoding(std::string_view text) {
  if (!StartsWith(text, "<?xml") || text.size() < 6 || !IsXmlBlank(text[5])) return {};
  const std::string_view declaration = text.substr(0, text.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < declaration.size() && IsXmlBlank(declaration[at])) ++at;
  if (at >= declaration.size() || declaration[at] != '=') return {};
  ++at;
  while (at < declaration.size() && IsXmlBlank(declaration[at])) ++at;
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return {};
  const char quote = declaration[at++];
  const std::size_t end = declaration.find(quote, at);
  if (end == std::string_view::npos) return {};
  return {std::string(declaration.substr(at, end - at)), at};
}

// The form XML allows for an encoding name; nothing else goes to the
// system's converter.
bool IsEncodingName(std::string_view name) {
  constexpr std::size_t kLongestName = 64;
  if (name.empty() || name.size() > kLongestName) return false;
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!letter(name.front())) return false;
  for (const char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

bool IsUtf8Name(std::string_view name) {
  return EqualsIgnoringCase(name, "UTF-8") || EqualsIgnoringCase(name, "UTF8");
}

// A text whose bytes are ASCII-compatible cannot really be in a 16- or
// 32-bit encoding, whatever its declaration says; it is read as UTF-8.
bool IsWideName(std::string_view name) {
  const auto starts = [&](std::string_view prefix) {
    return name.size() >= prefix.size() &&
           EqualsIgnoringCase(name.substr(0, prefix.size()), prefix);
  };
  return starts("UTF-16") || starts("UTF-32") || starts("UTF16") || starts("UTF32") ||
         starts("UCS-2") || starts("UCS-4") || starts("UCS2") || starts("UCS4") ||
         starts("UNICODE");
}

// Decodes with the system's converter. After a fault it resumes on the next
// code unit of the encoding (two bytes in UTF-16, four in UTF-32, one in
// the 8-bit ones), so a bad unit costs one character and the units after it
// keep their alignment.
class Converter {
 public:
  explicit Converter(const char* from, std::size_t code_unit = 1)
      : handle_(::iconv_open("UTF-8", from)), code_unit_(code_unit) {}
  ~Converter() {
    if (Valid()) ::iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  std::string Convert(std::string_view input) {
    std::string output;
    output.reserve(input.size() + input.size() / 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t in_left = input.size();
    char block[4096];
    while (in_left > 0) {
      char* out = block;
      std::size_t out_left = sizeof block;
      const std::size_t result = ::iconv(handle_, &in, &in_left, &out, &out_left);
      output.append(block, sizeof block - out_left);
      if (result != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // A unit the encoding does not allow, or a sequence cut off at the
      // end. A whole unit left at the end is a lead surrogate without its
      // partner: only what is less than a unit ends the text.
      output += kReplacementCharacter;
      const bool cut_off = errno == EINVAL;
      if (cut_off && (code_unit_ == 1 || in_left < code_unit_)) break;
      const std::size_t skipped = std::min(code_unit_, in_left);
      in += skipped;
      in_left -= skipped;
    }
    char* out = block;
    std::size_t out_left = sizeof block;
    ::iconv(handle_, nullptr, nullptr, &out, &out_left);
    output.append(block, sizeof block - out_left);
    return output;
  }

 private:
  iconv_t handle_;
  std::size_t code_unit_;
};

std::string WithoutLeadingMarks(std::string text) {
  std::size_t start = 0;
  while (text.compare(start, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0) {
    start += kUtf8ByteOrderMark.size();
  }
  return text.erase(0, start);
}

}  // namespace

std::string RepairUtf8(const std::string& text) {
  std::string repaired;
  repaired.reserve(text.size());
  std::string_view rest(text);
  while (!rest.empty()) {
    const std::size_t length = ValidSequenceLength(rest);
    if (length == 0) {
      repaired += kReplacementCharacter;
      rest.remove_prefix(1);
    } else {
      repaired.append(rest.data(), length);
      rest.remove_prefix(length);
    }
  }
  return repaired;
}

DecodedXmlText DecodeXmlText(const std::string& bytes) {
  DecodedXmlText decoded;
  const Detected detected = DetectFromBytes(bytes);
  if (detected.encoding != nullptr) {
    Converter converter(detected.encoding, detected.code_unit);
    decoded.utf8 = WithoutLeadingMarks(
        converter.Convert(std::string_view(bytes).substr(detected.mark_length)));
    return decoded;
  }
  const std::string text = WithoutLeadingMarks(bytes);
  std::string repaired = RepairUtf8(text);
  // Read from the repaired text, so that the name and its place are those
  // an error message shows.
  const Declared declared = DeclaredEncoding(repaired);
  if (declared.name.empty() || IsUtf8Name(declared.name) || IsWideName(declared.name)) {
    decoded.utf8 = std::move(repaired);
    return decoded;
  }
  Converter converter(IsEncodingName(declared.name) ? declared.name.c_str() : "");
  if (!IsEncodingName(declared.name) || !converter.Valid()) {
    decoded.utf8 = std::move(repaired);
    decoded.unknown_encoding = declared.name;
    decoded.unknown_encoding_offset = declared.offset;
    return decoded;
  }
  decoded.utf8 = converter.Convert(text);
  return decoded;
}

}  // namespace plumwit
