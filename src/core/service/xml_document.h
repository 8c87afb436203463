#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"

namespace pugi {
class xml_document;
class xml_node_struct;
}  // namespace pugi

namespace plumwit {

class XmlChildLists;

// Raised when a missing or empty value is converted to text.
inline constexpr const char* kNullConversionMessage =
    "Could not convert variant of type (Null) into type (String)";
// Raised when an element's value is asked for but it holds more than text.
inline constexpr const char* kNotSingleTextNodeMessage =
    "Element does not contain a single text node";
// Raised when a node is read through a null node ("none").
inline constexpr const char* kMissingNodeMessage = "Access to a missing node";
// Raised when the document element of an empty document is asked for.
inline constexpr const char* kNoDocumentElementMessage = "The document has no document element";
// Raised when the document element of a switched-off document is asked for.
inline constexpr const char* kDocumentNotActiveMessage = "No active document";

// A node of a loaded document; a null node stands for "none".
class XmlNode {
 public:
  XmlNode() = default;
  XmlNode(pugi::xml_node_struct* node, const XmlChildLists* lists) : node_(node), lists_(lists) {}

  bool IsNull() const { return node_ == nullptr; }
  // The element's name; "#text" or "#cdata-section" for text.
  std::string Name() const;  // throws on a null node
  // Both take constant time after the first call on a node: reading every
  // child by index is linear.
  std::size_t ChildCount() const;          // throws on a null node
  XmlNode Child(std::size_t index) const;  // throws on a null node or bad index

 private:
  friend XmlNode FindChild(XmlNode node, std::string_view name);
  friend std::optional<std::string> NodeText(XmlNode node);
  pugi::xml_node_struct* node_ = nullptr;
  const XmlChildLists* lists_ = nullptr;  // the document's; nodes do not outlive it
};

// The document object the program loads every reply into. Child nodes are
// elements and text; whitespace-only text between elements is dropped, and so
// are comments and processing instructions, which carry no data: kept, one
// between two statuses would be read as a status without text, which the
// timeline takes for a refused password. Text comes out as UTF-8.
//
// A text that is not well-formed is refused as a whole: an undefined entity,
// a bare "&", a control character, an attribute given twice, a second
// document element. Invalid UTF-8, though, is read with replacement
// characters: one bad byte must not hide a whole timeline.
class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();

  bool Active() const { return active_; }
  // Switching on parses the text (the XML declaration decides its encoding,
  // UTF-8 by default; any the system's converter knows, and an unknown one
  // fails like a malformed text); a malformed text throws the
  // parser's reason, CR LF, "Line: N", CR LF and the first 40 characters of
  // that line, and leaves the document off. An empty text switches on as a
  // document without a document element. Switching off discards the parsed
  // document.
  void SetActive(bool active);

  // The text is decoded to UTF-8 (see DecodeXmlText) and its line ends,
  // CR, LF or CR LF, normalised to CR LF, as the document object keeps them.
  void SetXml(const std::string& text);
  const std::string& Xml() const { return xml_; }

  // Switch off, set the text, switch on.
  void Load(const std::string& text);

  // Throws when the document is off or has no document element.
  XmlNode DocumentElement() const;

 private:
  void Parse();
  [[noreturn]] void Refuse(const std::string& reason, const std::string& text, std::size_t offset);

  std::unique_ptr<pugi::xml_document> document_;
  std::unique_ptr<XmlChildLists> child_lists_;
  std::string xml_;
  // A declared encoding the converter does not know, and where its name
  // stands in `xml_`: switching on refuses the text.
  std::string unknown_encoding_;
  std::size_t unknown_encoding_offset_ = 0;
  bool empty_ = true;
  bool active_ = false;
};

// The first child whose name equals `name` exactly, or a null node; throws
// the missing-node error when `node` itself is null.
XmlNode FindChild(XmlNode node, std::string_view name);
// No value for an element without content or with empty text; its text when
// it holds one text or CDATA node; otherwise throws
// "Element does not contain a single text node".
std::optional<std::string> NodeText(XmlNode node);
// NodeText of FindChild converted to text: throws the null conversion error
// when there is no value; throws another error when `node` is null.
std::string ChildText(XmlNode node, std::string_view name);
// Converts a value to text, throwing the null conversion error for no value.
std::string ValueToString(const std::optional<std::string>& value);

}  // namespace plumwit
