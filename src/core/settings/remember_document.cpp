#include "core/settings/remember_document.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstddef>

#include "core/error.h"
#include "core/settings/xml_text_codec.h"

namespace plumwit {
namespace {

constexpr char kRootName[] = "Configuration";
constexpr char kLineEnd[] = "\r\n";
constexpr char kIndent[] = "  ";

// Escapes stay as written (our own decoding applies, not XML's), blank-only
// text is kept, and line ends inside values are not normalised: every value
// reads back exactly as it was written.
constexpr unsigned kParseOptions =
    pugi::parse_declaration | pugi::parse_ws_pcdata | pugi::parse_cdata;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHighByte(char c) { return static_cast<unsigned char>(c) >= 128; }

// Declaration values are written back between double quotes: only plain
// tokens are kept, so a strange one cannot break the file.
bool IsPlainToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '.' || c == '-' || c == '_';
  });
}

std::string PlainTokenOr(const pugi::xml_node& declaration, const char* attribute,
                         const std::string& fallback) {
  const std::string value = declaration.attribute(attribute).value();
  return IsPlainToken(value) ? value : fallback;
}

XmlDeclaration DeclarationOf(const pugi::xml_node& declaration) {
  XmlDeclaration result;
  result.version = PlainTokenOr(declaration, "version", result.version);
  result.encoding = PlainTokenOr(declaration, "encoding", "");
  result.standalone = PlainTokenOr(declaration, "standalone", "");
  return result;
}

std::string TextOf(const pugi::xml_node& element) {
  std::string text;
  for (const auto& child : element.children()) {
    if (child.type() == pugi::node_pcdata) text += DecodeXmlText(child.value());
    if (child.type() == pugi::node_cdata) text += child.value();
  }
  return text;
}

std::size_t LineAt(std::string_view bytes, std::ptrdiff_t offset) {
  const auto end = static_cast<std::size_t>(
      std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(bytes.size())));
  return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + end, '\n'));
}

std::string FormatDeclaration(const XmlDeclaration& declaration) {
  std::string line = "<?xml version=\"" + declaration.version + "\"";
  if (!declaration.encoding.empty()) line += " encoding=\"" + declaration.encoding + "\"";
  if (!declaration.standalone.empty()) line += " standalone=\"" + declaration.standalone + "\"";
  return line + "?>";
}

std::string FormatValue(const std::string& key, const std::string& value) {
  if (value.empty()) return kIndent + ("<" + key + "/>");
  return kIndent + ("<" + key + ">") + EncodeXmlText(value) + "</" + key + ">";
}

}  // namespace

std::string FormatRememberDocument(const RememberDocument& document) {
  std::string bytes = FormatDeclaration(document.declaration) + kLineEnd;
  if (document.values.empty()) return bytes + "<" + kRootName + "/>" + kLineEnd;
  bytes += std::string("<") + kRootName + ">" + kLineEnd;
  for (const auto& [key, value] : document.values) bytes += FormatValue(key, value) + kLineEnd;
  return bytes + "</" + kRootName + ">" + kLineEnd;
}

RememberDocument ParseRememberDocument(std::string_view bytes, const std::string& path) {
  pugi::xml_document xml;
  const pugi::xml_parse_result result =
      xml.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_utf8);
  if (!result) {
    throw Error("Unable to read " + path + ": " + result.description() + " on line " +
                std::to_string(LineAt(bytes, result.offset)));
  }
  RememberDocument document;
  for (const auto& node : xml.children()) {
    if (node.type() == pugi::node_declaration) document.declaration = DeclarationOf(node);
  }
  for (const auto& child : xml.document_element().children()) {
    if (child.type() == pugi::node_element)
      document.values.emplace_back(child.name(), TextOf(child));
  }
  return document;
}

bool IsValidKeyName(std::string_view name) {
  if (name.empty()) return false;
  const char first = name.front();
  if (!IsAsciiLetter(first) && first != '_' && !IsHighByte(first)) return false;
  return std::all_of(name.begin() + 1, name.end(), [](char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c) || IsHighByte(c) || c == '_' || c == '-' || c == '.';
  });
}

}  // namespace plumwit
