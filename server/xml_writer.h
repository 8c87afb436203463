#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plumwit::server {

// Writes documents the way the original service did: the UTF-8 declaration,
// two blanks of indent per level, characters outside ASCII as decimal
// character references, and empty elements as a start and an end tag.
class XmlWriter {
 public:
  XmlWriter();

  void Open(std::string_view name);
  // An element with type="array", as the service marked its lists.
  void OpenArray(std::string_view name);
  void Element(std::string_view name, std::string_view text);
  // An element with a type="..." attribute, as in <hourly-limit type="integer">.
  void TypedElement(std::string_view name, std::string_view type, std::string_view text);
  void Close();
  // Closes what is still open and returns the document.
  std::string Finish();

  // Escapes markup characters, CR (which parsers would otherwise fold into
  // LF) and everything outside ASCII. Malformed UTF-8 becomes U+FFFD.
  static std::string Escape(std::string_view text);

 private:
  void OpenTag(std::string_view name, std::string_view attributes);
  void BeginChild();
  void Indent(std::size_t depth);

  std::string out_;
  std::vector<std::string> open_;
  bool parent_has_children_ = true;
};

}  // namespace plumwit::server
