#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/records.h"
#include "server/site_links.h"

namespace plumwit::server {

enum class DocumentFormat { kXml, kJson };

// Renders the interface's answers; one implementation per format, with the
// same fields in both.
class DocumentWriter {
 public:
  virtual ~DocumentWriter() = default;

  virtual std::string ContentType() const = 0;
  // A user record, with the latest status when the view holds one.
  virtual std::string User(const UserView& user) const = 0;
  virtual std::string Status(const StatusView& status) const = 0;
  virtual std::string Statuses(const std::vector<StatusView>& statuses) const = 0;
  virtual std::string Users(const std::vector<UserView>& users) const = 0;
  virtual std::string DirectMessages() const = 0;  // always empty here
  // statusnet/config: the site's name and limits.
  virtual std::string SiteConfig() const = 0;
  // The error document: the request path and the message, nothing else.
  virtual std::string Error(std::string_view request_path, std::string_view message) const = 0;

  static std::unique_ptr<DocumentWriter> For(DocumentFormat format, const SiteLinks& links);
};

}  // namespace plumwit::server
