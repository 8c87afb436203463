#include "server/document_writer.h"

#include "server/json_documents.h"
#include "server/xml_documents.h"

namespace plumwit::server {

std::unique_ptr<DocumentWriter> DocumentWriter::For(DocumentFormat format, const SiteLinks& links) {
  if (format == DocumentFormat::kJson) return std::make_unique<JsonDocuments>(links);
  return std::make_unique<XmlDocuments>(links);
}

}  // namespace plumwit::server
