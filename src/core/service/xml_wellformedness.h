#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace plumwit {

// Where and why a text is not well-formed XML.
struct XmlFault {
  std::string reason;
  std::size_t offset = 0;  // byte offset into the text
};

// Checks that a UTF-8 text is well-formed XML: every entity defined, no bare
// "&", no character XML does not allow (control characters other than tab,
// CR and LF), no attribute given twice, one document element. External
// definitions are not fetched; an entity that a document type declared
// outside the text might define is not a fault.
std::optional<XmlFault> FindXmlFault(const std::string& utf8);

}  // namespace plumwit
