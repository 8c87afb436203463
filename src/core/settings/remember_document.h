#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plumwit {

// The attributes of the XML declaration; an empty one is left out.
struct XmlDeclaration {
  std::string version = "1.0";
  std::string encoding = "iso-8859-1";
  std::string standalone;
};

// The content of the remembered sign-in file: key elements, each holding one
// text value, under a "Configuration" root.
struct RememberDocument {
  XmlDeclaration declaration;
  std::vector<std::pair<std::string, std::string>> values;  // in creation order
};

// The file bytes: the declaration, the root, one line per key with its value
// escaped (an empty value as an empty-element tag), CR LF after every line.
std::string FormatRememberDocument(const RememberDocument& document);

// Reads the keys back from any well-formed document: the direct children of
// its root element, each with its text (character data escaped as the writer
// does, CDATA taken as it stands). Attributes, comments and deeper elements
// are ignored; the root may have any name. Throws plumwit::Error naming
// `path` and the line of the fault when the bytes are not such a document.
RememberDocument ParseRememberDocument(std::string_view bytes, const std::string& path);

// Whether `name` can stand as a key element's name in the file.
bool IsValidKeyName(std::string_view name);

}  // namespace plumwit
