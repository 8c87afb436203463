#include "core/service/xml_wellformedness.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace plumwit {

namespace {

struct ParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// Feeds the text in pieces that fit the parser's length type.
XML_Status ParseWhole(XML_Parser parser, const std::string& text) {
  constexpr std::size_t kPiece = INT_MAX / 2;
  std::size_t done = 0;
  do {
    const std::size_t length = std::min(kPiece, text.size() - done);
    const bool last = done + length == text.size();
    if (XML_Parse(parser, text.data() + done, static_cast<int>(length), last) != XML_STATUS_OK) {
      return XML_STATUS_ERROR;
    }
    done += length;
  } while (done < text.size());
  return XML_STATUS_OK;
}

}  // namespace

std::optional<XmlFault> FindXmlFault(const std::string& utf8) {
  // The text is UTF-8 whatever its declaration says: it was decoded already.
  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate("UTF-8"));
  if (!parser) return XmlFault{"Out of memory", 0};
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  if (ParseWhole(parser.get(), utf8) == XML_STATUS_OK) return std::nullopt;

  XmlFault fault;
  const char* reason = XML_ErrorString(XML_GetErrorCode(parser.get()));
  fault.reason = reason != nullptr ? reason : "Not well-formed";
  if (!fault.reason.empty()) {
    fault.reason.front() =
        static_cast<char>(std::toupper(static_cast<unsigned char>(fault.reason.front())));
  }
  const XML_Index index = XML_GetCurrentByteIndex(parser.get());
  fault.offset = index > 0 ? static_cast<std::size_t>(index) : 0;
  return fault;
}

}  // namespace plumwit
