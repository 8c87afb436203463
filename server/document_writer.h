#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/records.h"
#include "server/site_links.h"

namespace plumwit::server {

enum class DocumentFormat { kXml, kJson };

// What account/rate_limit_status reports.
struct RateLimit {
  std::int64_t remaining_hits = 0;
  std::int64_t hourly_limit = 0;
  std::int64_t reset_time = 0;  // seconds since the epoch
};

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
  // help/test: true.
  virtual std::string Ok() const = 0;
  virtual std::string RateLimitStatus(const RateLimit& limit) const = 0;
  // friends/ids and followers/ids.
  virtual std::string Ids(const std::vector<std::int64_t>& ids) const = 0;
  // A lone truth value, for friendships/exists: <name>true</name> or true.
  virtual std::string Boolean(std::string_view name, bool value) const = 0;
  // statusnet/config: the site's name and limits.
  virtual std::string SiteConfig() const = 0;
  // The error document: the request path and the message, nothing else.
  virtual std::string Error(std::string_view request_path, std::string_view message) const = 0;

  static std::unique_ptr<DocumentWriter> For(DocumentFormat format, const SiteLinks& links);
};

}  // namespace plumwit::server
