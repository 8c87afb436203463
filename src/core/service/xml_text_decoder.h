#pragma once

#include <string>

namespace plumwit {

// A reply's text decoded to UTF-8 for the parser.
struct DecodedXmlText {
  std::string utf8;
  // When the declared encoding is not known: its name, and where it stands
  // in `utf8` (which then holds the raw text, so the error can show the
  // line).
  std::string unknown_encoding;
  std::size_t unknown_encoding_offset = 0;
};

// Decodes the bytes of an XML text to UTF-8: a byte-order mark or the first
// bytes tell UTF-16 and UTF-32; otherwise the encoding named by the XML
// declaration is used (UTF-8 when none is named), whichever the system's
// converter knows. Byte-order marks are dropped. A code unit that is not
// valid in the encoding (a byte, or a lone surrogate in UTF-16) becomes
// U+FFFD and decoding goes on with the next unit, so one bad unit never
// hides the rest. Line ends are left as they are: only the decoded text can
// tell which characters are line breaks.
DecodedXmlText DecodeXmlText(const std::string& bytes);

// `text` with every byte that is not part of a valid UTF-8 sequence
// replaced by U+FFFD.
std::string RepairUtf8(const std::string& text);

}  // namespace plumwit
