#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/service/xml_document.h"
#include "core/service/xml_text_decoder.h"
#include "support/unicode_reference.h"

namespace plumwit {
namespace {

using testing::kReplacement;

enum class Form { kUtf16Le, kUtf16Be, kUtf32Le, kUtf32Be };

struct FormInfo {
  Form form;
  const char* label;
  const char* declared;
  std::string mark;
};

const FormInfo kForms[] = {
    {Form::kUtf16Le, "UTF-16LE", "UTF-16", "\xFF\xFE"},
    {Form::kUtf16Be, "UTF-16BE", "UTF-16", "\xFE\xFF"},
    {Form::kUtf32Le, "UTF-32LE", "UTF-32", std::string("\xFF\xFE\0\0", 4)},
    {Form::kUtf32Be, "UTF-32BE", "UTF-32", std::string("\0\0\xFE\xFF", 4)},
};

using testing::IsSurrogate;
bool IsBigEndian(Form form) { return form == Form::kUtf16Be || form == Form::kUtf32Be; }
bool IsUtf16(Form form) { return form == Form::kUtf16Le || form == Form::kUtf16Be; }

void AppendUnit(std::string& bytes, std::uint32_t unit, std::size_t width, bool big_endian) {
  for (std::size_t i = 0; i < width; ++i) {
    const std::size_t shift = 8 * (big_endian ? width - 1 - i : i);
    bytes += static_cast<char>((unit >> shift) & 0xFF);
  }
}

// Encodes `text` unit by unit. A surrogate value in `text` is written as one
// unit of its own, which is how the cases put a bad unit into the stream (as
// is a value above U+10FFFF in UTF-32).
std::string Encode(const std::u32string& text, Form form) {
  std::string bytes;
  const bool big_endian = IsBigEndian(form);
  for (const char32_t c : text) {
    if (!IsUtf16(form)) {
      AppendUnit(bytes, c, 4, big_endian);
    } else if (c >= 0x10000 && c <= 0x10FFFF) {
      AppendUnit(bytes, 0xD800 + ((c - 0x10000) >> 10), 2, big_endian);
      AppendUnit(bytes, 0xDC00 + ((c - 0x10000) & 0x3FF), 2, big_endian);
    } else {
      AppendUnit(bytes, c, 2, big_endian);
    }
  }
  return bytes;
}

// What decoding must give: every bad unit a replacement character.
std::string ExpectedUtf8(const std::u32string& text) { return testing::ReferenceUtf8(text); }

std::u32string Replaced(std::u32string text, const std::u32string& from, const std::u32string& to) {
  for (std::size_t at = text.find(from); at != std::u32string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A one-value record as a service would send it, broken over lines by
// `line_break`, which also stands inside the value.
std::u32string Record(const FormInfo& info, const std::u32string& line_break,
                      const std::u32string& value) {
  const std::string declaration =
      std::string("<?xml version=\"1.0\" encoding=\"") + info.declared + "\"?>";
  return std::u32string(declaration.begin(), declaration.end()) + line_break + U"<u>" + line_break +
         U"<n>" + value + U"</n>" + line_break + U"</u>" + line_break;
}

// Latin, Cyrillic, CJK, and a character beyond the 16-bit plane.
const std::u32string kMixedValue = U"Ren\u00E9 \u041F\u0440\u0438 \u4E2D\u6587 \U0001F600 end";

struct WideCase {
  std::string label;
  const FormInfo* info;
  bool mark;
  std::u32string line_break;
  std::u32string value;
};

std::string Bytes(const WideCase& c) {
  return (c.mark ? c.info->mark : std::string()) +
         Encode(Record(*c.info, c.line_break, c.value), c.info->form);
}

std::vector<WideCase> WideCases() {
  std::vector<WideCase> cases;
  const std::pair<const char*, std::u32string> breaks[] = {
      {"LF", U"\n"}, {"CRLF", U"\r\n"}, {"CR", U"\r"}};
  for (const FormInfo& info : kForms) {
    for (const bool mark : {true, false}) {
      for (const auto& [name, line_break] : breaks) {
        const std::string label =
            std::string(info.label) + (mark ? " with mark, " : " without mark, ") + name;
        cases.push_back({label, &info, mark, line_break, kMixedValue + line_break + U"next"});
      }
    }
    // A bad unit at the start, in the middle and at the end of the value.
    const char32_t bad = IsUtf16(info.form) ? 0xD800 : 0x110000;
    const char32_t low = IsUtf16(info.form) ? 0xDC00 : 0xDFFF;
    const std::string label = std::string(info.label) + " bad unit at the ";
    cases.push_back({label + "start", &info, true, U"\n", bad + kMixedValue});
    cases.push_back(
        {label + "middle", &info, false, U"\r\n", U"ab" + std::u32string(1, low) + U"cd"});
    cases.push_back({label + "end", &info, true, U"\r", kMixedValue + bad});
    cases.push_back(
        {label + "end of a pair", &info, true, U"\n", U"x\U0001F600" + std::u32string(1, low)});
  }
  return cases;
}

std::u32string WithLf(const std::u32string& text) {
  return Replaced(Replaced(text, U"\r\n", U"\n"), U"\r", U"\n");
}

// Decoding gives back exactly what was encoded; the document keeps it with
// CR LF line ends and reads the value with LF, whatever the form.
TEST(XmlTextDecoder, WideFormsRoundTrip) {
  for (const WideCase& c : WideCases()) {
    SCOPED_TRACE(c.label);
    const std::u32string record = Record(*c.info, c.line_break, c.value);
    EXPECT_EQ(DecodeXmlText(Bytes(c)).utf8, ExpectedUtf8(record));

    XmlDocument document;
    document.Load(Bytes(c));
    EXPECT_EQ(document.Xml(), ExpectedUtf8(Replaced(WithLf(record), U"\n", U"\r\n")));
    EXPECT_EQ(ChildText(document.DocumentElement(), "n"), ExpectedUtf8(WithLf(c.value)));
  }
}

// Less than a unit at the end is one replacement character; a whole lead
// surrogate before it is another.
TEST(XmlTextDecoder, CutOffUnitsAtTheEndAreReplaced) {
  for (const FormInfo& info : kForms) {
    SCOPED_TRACE(info.label);
    const std::string text = info.mark + Encode(U"<a/>", info.form);
    const std::size_t unit = IsUtf16(info.form) ? 2 : 4;
    for (std::size_t extra = 1; extra < unit; ++extra) {
      EXPECT_EQ(DecodeXmlText(text + std::string(extra, 'x')).utf8, "<a/>\xEF\xBF\xBD");
    }
    if (IsUtf16(info.form)) {
      EXPECT_EQ(DecodeXmlText(text + Encode(U"\xD800", info.form) + "x").utf8,
                "<a/>\xEF\xBF\xBD\xEF\xBF\xBD");
    }
  }
}

// The line of a fault is counted on characters: a CR LF in UTF-16 is one
// line end, not a stray byte that shifts every unit after it.
TEST(XmlTextDecoder, FaultsInWideTextsShowTheirLine) {
  const std::string bytes =
      "\xFF\xFE" + Encode(U"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<u>\r\n<n>x</m>\r\n</u>",
                          Form::kUtf16Le);
  XmlDocument document;
  try {
    document.Load(bytes);
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Start-end tags mismatch\r\nLine: 3\r\n<n>x</m>");
  }
}

// Random texts of any characters, bad units among them, survive the round
// trip in every form.
TEST(XmlTextDecoder, RandomTextsRoundTrip) {
  std::mt19937 random(20240518);
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<std::uint32_t> bmp(0x20, 0xFFFD);
  std::uniform_int_distribution<std::uint32_t> astral(0x10000, 0x10FFFF);
  std::uniform_int_distribution<std::uint32_t> low_surrogate(0xDC00, 0xDFFF);
  for (int round = 0; round < 300; ++round) {
    std::u32string text = U"<";
    const int length = 1 + round % 40;
    for (int i = 0; i < length; ++i) {
      const int k = kind(random);
      // Lone low surrogates can never pair with what comes before them.
      text += k < 6 ? bmp(random) : k < 9 ? astral(random) : low_surrogate(random);
      if (IsSurrogate(text.back()) && text.back() < 0xDC00) text.back() = 0xFFFD;
    }
    for (const FormInfo& info : kForms) {
      SCOPED_TRACE(std::string(info.label) + " round " + std::to_string(round));
      const std::string bytes =
          (round % 2 == 0 ? info.mark : std::string()) + Encode(text, info.form);
      ASSERT_EQ(DecodeXmlText(bytes).utf8, ExpectedUtf8(text));
    }
  }
}

}  // namespace
}  // namespace plumwit
