#include "core/service/xml_document.h"

#include <pugixml.hpp>

#include <algorithm>
#include <utility>

#include "core/service/xml_child_lists.h"
#include "core/service/xml_text_decoder.h"
#include "core/service/xml_wellformedness.h"

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

// The first `count` characters of UTF-8 text, never splitting a character.
std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts_character && ++characters > count) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

// `offset` counts bytes of the text as the parser saw it, decoded to UTF-8.
std::string ParseErrorText(std::string_view reason, const std::string& text, std::size_t offset) {
  const std::size_t end = std::min(offset, text.size());
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
  Checked(node_);
  return lists_->Of(node_).size();
}

XmlNode XmlNode::Child(std::size_t index) const {
  Checked(node_);
  const XmlChildLists::List& children = lists_->Of(node_);
  if (index >= children.size()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return XmlNode(children[index], lists_);
}

XmlDocument::XmlDocument()
    : document_(std::make_unique<pugi::xml_document>()),
      child_lists_(std::make_unique<XmlChildLists>()) {}

XmlDocument::~XmlDocument() = default;

void XmlDocument::SetActive(bool active) {
  if (active == active_) return;
  child_lists_->Clear();
  document_->reset();
  active_ = false;
  if (active) Parse();
}

// Decoding comes first: in a 16- or 32-bit encoding a line break is more
// than one byte, and normalising the raw bytes would split its units.
void XmlDocument::SetXml(const std::string& text) {
  DecodedXmlText decoded = DecodeXmlText(text);
  xml_ = NormaliseLineEnds(decoded.utf8);
  unknown_encoding_ = std::move(decoded.unknown_encoding);
  unknown_encoding_offset_ =
      NormaliseLineEnds(decoded.utf8.substr(0, decoded.unknown_encoding_offset)).size();
  empty_ = text.empty();
}

void XmlDocument::Load(const std::string& text) {
  SetActive(false);
  SetXml(text);
  SetActive(true);
}

XmlNode XmlDocument::DocumentElement() const {
  if (!active_) throw Error(kDocumentNotActiveMessage);
  const pugi::xml_node root = document_->document_element();
  if (!root) throw Error(kNoDocumentElementMessage);
  return XmlNode(root.internal_object(), child_lists_.get());
}

// An empty reply is a document without a document element, not an error:
// the failure comes only when a caller reaches for that element.
void XmlDocument::Parse() {
  if (empty_) {
    active_ = true;
    return;
  }
  const std::string& text = xml_;
  if (!unknown_encoding_.empty()) {
    Refuse("Unsupported encoding: " + unknown_encoding_, text, unknown_encoding_offset_);
  }
  const pugi::xml_parse_result result =
      document_->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (!result)
    Refuse(result.description(), text,
           static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)));
  if (const pugi::xml_node second = SecondDocumentElement(*document_)) {
    // The node's offset points at its name, one past the "<".
    Refuse(kSecondRootMessage, text,
           static_cast<std::size_t>(std::max<std::ptrdiff_t>(second.offset_debug() - 1, 0)));
  }
  // The tree builder passes over faults that make a text not XML; the
  // strict check finds them.
  if (const std::optional<XmlFault> fault = FindXmlFault(text)) {
    Refuse(fault->reason, text, fault->offset);
  }
  active_ = true;
}

void XmlDocument::Refuse(const std::string& reason, const std::string& text, std::size_t offset) {
  document_->reset();
  throw Error(ParseErrorText(reason, text, offset));
}

XmlNode FindChild(XmlNode node, std::string_view name) {
  for (const pugi::xml_node child : Checked(node.node_).children()) {
    if (NodeName(child) == name) return XmlNode(child.internal_object(), node.lists_);
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
