// Random code units in UTF-16 or UTF-32, either byte order, with or without
// a byte-order mark, come back as the characters they encode: the decoder
// must give exactly what a reference decoding gives (every bad unit one
// U+FFFD, a cut-off unit at the end one more), and a record made of them
// must read back its value whatever its line ends.
//
// The first input byte chooses the form and the line ends; the rest are the
// units of the value.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/service/xml_document.h"
#include "core/service/xml_text_decoder.h"
#include "fuzz_support.h"
#include "tests/support/unicode_reference.h"

namespace plumwit {
namespace {

using testing::kReplacement;

struct Form {
  std::size_t unit = 2;
  bool big_endian = false;
  bool mark = false;
  std::u32string line_break;
  std::size_t cut_off_bytes = 0;  // less than a unit, after everything
};

Form FormOf(std::uint8_t choice) {
  static const char32_t* const kLineBreaks[] = {U"\n", U"\r\n", U"\r", U"\n\r"};
  Form form;
  form.unit = (choice & 1) != 0 ? 4 : 2;
  form.big_endian = (choice & 2) != 0;
  form.mark = (choice & 4) != 0;
  form.line_break = kLineBreaks[(choice >> 3) & 3];
  form.cut_off_bytes = ((choice >> 5) & 3) % form.unit;
  return form;
}

using testing::IsSurrogate;

// A character XML allows in content, and that stands for itself there.
bool IsPlainContent(char32_t c) {
  if (c == '<' || c == '&' || c == '>' || c == ']') return false;
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c != 0xFFFE && c != 0xFFFF;
}

// Units of the value: what the input holds, each a character XML content
// allows, a surrogate, or (in UTF-32) a value beyond U+10FFFF.
std::vector<std::uint32_t> ValueUnits(const std::uint8_t* data, std::size_t size,
                                      const Form& form) {
  std::vector<std::uint32_t> units;
  for (std::size_t i = 0; i + form.unit <= size; i += form.unit) {
    std::uint32_t unit = 0;
    for (std::size_t b = 0; b < form.unit; ++b) unit = unit << 8 | data[i + b];
    if (form.unit == 4) unit &= 0x1FFFFF;
    const bool bad = IsSurrogate(unit) || unit > 0x10FFFF;
    if (!bad && !IsPlainContent(unit)) unit = 'x';
    units.push_back(unit);
  }
  return units;
}

std::vector<std::uint32_t> UnitsOf(const std::u32string& text, std::size_t unit) {
  std::vector<std::uint32_t> units;
  for (const char32_t c : text) {
    if (unit == 2 && c >= 0x10000) {
      units.push_back(0xD800 + ((c - 0x10000) >> 10));
      units.push_back(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units.push_back(c);
    }
  }
  return units;
}

std::string Bytes(const std::vector<std::uint32_t>& units, const Form& form) {
  std::string bytes;
  for (const std::uint32_t unit : units) {
    for (std::size_t b = 0; b < form.unit; ++b) {
      const std::size_t shift = 8 * (form.big_endian ? form.unit - 1 - b : b);
      bytes += static_cast<char>((unit >> shift) & 0xFF);
    }
  }
  return bytes;
}

// The decoding the standard gives: pairs of surrogates are one character,
// any other surrogate or value beyond U+10FFFF is a bad unit.
std::u32string ReferenceDecoding(const std::vector<std::uint32_t>& units, std::size_t unit) {
  std::u32string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint32_t u = units[i];
    if (unit == 2 && u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      text += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      text += IsSurrogate(u) || u > 0x10FFFF ? kReplacement : static_cast<char32_t>(u);
    }
  }
  return text;
}

std::string Utf8(const std::u32string& text) { return testing::ReferenceUtf8(text); }

// What the parser hands out for a value: every line end one LF.
std::u32string WithLf(const std::u32string& text) {
  std::u32string normalised;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    normalised += text[i] == '\r' ? U'\n' : text[i];
  }
  return normalised;
}

bool IsBlank(const std::u32string& text) {
  return text.find_first_not_of(U" \t\r\n") == std::u32string::npos;
}

void CheckRecord(const std::string& bytes, const std::u32string& value) {
  XmlDocument document;
  try {
    document.Load(bytes);
  } catch (const Error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    fuzz::Require(false, "a record of plain content loads");
  }
  const XmlNode record = document.DocumentElement();
  if (IsBlank(value)) {
    fuzz::Require(!NodeText(FindChild(record, "n")), "a blank value is no value");
    return;
  }
  fuzz::Require(ChildText(record, "n") == Utf8(WithLf(value)), "the value reads back");
}

}  // namespace
}  // namespace plumwit

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  if (size == 0) return 0;
  const Form form = FormOf(data[0]);
  const std::vector<std::uint32_t> value = ValueUnits(data + 1, size - 1, form);
  const std::u32string declaration = form.unit == 2
                                         ? U"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                                         : U"<?xml version=\"1.0\" encoding=\"UTF-32\"?>";

  std::vector<std::uint32_t> units =
      UnitsOf(declaration + form.line_break + U"<r>" + form.line_break + U"<n>", form.unit);
  units.insert(units.end(), value.begin(), value.end());
  const std::vector<std::uint32_t> end =
      UnitsOf(U"</n>" + form.line_break + U"</r>" + form.line_break, form.unit);
  units.insert(units.end(), end.begin(), end.end());

  std::string bytes = Bytes(units, form);
  if (form.mark) bytes.insert(0, Bytes({0xFEFF}, form));
  std::u32string expected = ReferenceDecoding(units, form.unit);
  if (form.cut_off_bytes > 0) {
    bytes.append(form.cut_off_bytes, '\x01');
    expected += kReplacement;
  }
  fuzz::Require(DecodeXmlText(bytes).utf8 == Utf8(expected), "the decoding is the reference's");
  if (form.cut_off_bytes == 0) CheckRecord(bytes, ReferenceDecoding(value, form.unit));
  return 0;
}
