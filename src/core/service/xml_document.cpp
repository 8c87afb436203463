#include "core/service/xml_document.h"

#include <pugixml.hpp>

#include <algorithm>

namespace plumwit {

namespace {

// Comments, processing instructions and the document type are left out on
// purpose (see XmlDocument); CDATA, entities and line-end folding stay in.
constexpr unsigned kParseOptions = pugi::parse_default;
constexpr std::size_t kErrorLineCharacters = 40;
constexpr const char* kSecondRootMessage = "More than one document element found";

pugi::xml_node Checked(pugi::xml_node_struct* node) {
  if (node == nullptr) throw Error(kMissingNodeMessage);
  return pugi::xml_node(node);
}

std::string_view NodeName(const pugi::xml_node& node) {
  switch (node.type()) {
    case pugi::node_pcdata:
      return "#text";
    case pugi::node_cdata:
      return "#cdata-section";
    default:
      return node.name();
  }
}

bool IsText(const pugi::xml_node& node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

std::optional<std::string> NonEmpty(const char* text) {
  if (*text == '\0') return std::nullopt;
  return std::string(text);
}

std::string NormaliseLineEnds(const std::string& text) {
  std::string normalised;
  normalised.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      normalised += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      normalised += c;
    }
  }
  return normalised;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

// The first `count` characters of UTF-8 text, never splitting a character.
std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts_character && ++characters > count) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

// `offset` counts bytes of the text as the parser saw it after decoding, so
// an iso-8859-1 text is measured in its UTF-8 form. (For UTF-16 and UTF-32,
// which the service never sends, the line is only approximate.)
std::string ParseErrorText(std::string_view reason, const std::string& xml,
                           pugi::xml_encoding encoding, std::ptrdiff_t offset) {
  const std::string text = encoding == pugi::encoding_latin1 ? Latin1ToUtf8(xml) : xml;
  const std::size_t end =
      std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)), text.size());
  const auto line_number = 1 + std::count(text.begin(), text.begin() + end, '\n');
  const std::size_t line_start = end == 0 ? 0 : text.rfind('\n', end - 1) + 1;
  const std::size_t line_end = std::min(text.find_first_of("\r\n", line_start), text.size());
  const std::string_view line(text.data() + line_start, line_end - line_start);

  std::string message(reason);
  message += "\r\nLine: " + std::to_string(line_number) + "\r\n";
  message += FirstCharacters(line, kErrorLineCharacters);
  return message;
}

// The parser keeps every top-level element; an XML document has one.
pugi::xml_node SecondDocumentElement(const pugi::xml_document& document) {
  bool seen_first = false;
  for (const pugi::xml_node child : document.children()) {
    if (child.type() != pugi::node_element) continue;
    if (seen_first) return child;
    seen_first = true;
  }
  return pugi::xml_node();
}

}  // namespace

std::string XmlNode::Name() const { return std::string(NodeName(Checked(node_))); }

std::size_t XmlNode::ChildCount() const {
  const pugi::xml_node node = Checked(node_);
  return static_cast<std::size_t>(std::distance(node.begin(), node.end()));
}

XmlNode XmlNode::Child(std::size_t index) const {
  std::size_t position = 0;
  for (const pugi::xml_node child : Checked(node_).children()) {
    if (position++ == index) return XmlNode(child.internal_object());
  }
  throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

XmlDocument::XmlDocument() : document_(std::make_unique<pugi::xml_document>()) {}

XmlDocument::~XmlDocument() = default;

void XmlDocument::SetActive(bool active) {
  if (active == active_) return;
  document_->reset();
  active_ = false;
  if (active) Parse();
}

void XmlDocument::SetXml(const std::string& text) { xml_ = NormaliseLineEnds(text); }

void XmlDocument::Load(const std::string& text) {
  SetActive(false);
  SetXml(text);
  SetActive(true);
}

XmlNode XmlDocument::DocumentElement() const {
  if (!active_) throw Error(kDocumentNotActiveMessage);
  const pugi::xml_node root = document_->document_element();
  if (!root) throw Error(kNoDocumentElementMessage);
  return XmlNode(root.internal_object());
}

// An empty reply is a document without a document element, not an error:
// the failure comes only when a caller reaches for that element.
void XmlDocument::Parse() {
  if (xml_.empty()) {
    active_ = true;
    return;
  }
  const pugi::xml_parse_result result =
      document_->load_buffer(xml_.data(), xml_.size(), kParseOptions, pugi::encoding_auto);
  if (!result) {
    document_->reset();
    throw Error(ParseErrorText(result.description(), xml_, result.encoding, result.offset));
  }
  if (const pugi::xml_node second = SecondDocumentElement(*document_)) {
    // The node's offset points at its name, one past the "<".
    const std::ptrdiff_t offset = second.offset_debug() - 1;
    document_->reset();
    throw Error(ParseErrorText(kSecondRootMessage, xml_, result.encoding, offset));
  }
  active_ = true;
}

XmlNode FindChild(XmlNode node, std::string_view name) {
  for (const pugi::xml_node child : Checked(node.node_).children()) {
    if (NodeName(child) == name) return XmlNode(child.internal_object());
  }
  return XmlNode();
}

std::optional<std::string> NodeText(XmlNode node) {
  const pugi::xml_node checked = Checked(node.node_);
  if (IsText(checked)) return NonEmpty(checked.value());
  if (checked.type() != pugi::node_element) return std::nullopt;

  const pugi::xml_node first = checked.first_child();
  if (!first) return std::nullopt;
  if (!IsText(first) || first.next_sibling()) throw Error(kNotSingleTextNodeMessage);
  return NonEmpty(first.value());
}

std::string ChildText(XmlNode node, std::string_view name) {
  const XmlNode child = FindChild(node, name);
  if (child.IsNull()) return ValueToString(std::nullopt);
  return ValueToString(NodeText(child));
}

std::string ValueToString(const std::optional<std::string>& value) {
  if (!value) throw Error(kNullConversionMessage);
  return *value;
}

}  // namespace plumwit
