#pragma once

#include <nlohmann/json.hpp>

#include "server/document_writer.h"

namespace plumwit::server {

// The JSON form that clients of GNU social-style services read: the XML
// fields as objects and arrays, plus the id_str and profile fields they use.
class JsonDocuments : public DocumentWriter {
 public:
  explicit JsonDocuments(const SiteLinks& links) : links_(links) {}

  std::string ContentType() const override;
  std::string User(const UserView& user) const override;
  std::string Status(const StatusView& status) const override;
  std::string Statuses(const std::vector<StatusView>& statuses) const override;
  std::string Users(const std::vector<UserView>& users) const override;
  std::string DirectMessages() const override;
  std::string Ok() const override;
  std::string RateLimitStatus(const RateLimit& limit) const override;
  std::string Ids(const std::vector<std::int64_t>& ids) const override;
  std::string Boolean(std::string_view name, bool value) const override;
  std::string SiteConfig() const override;
  std::string Error(std::string_view request_path, std::string_view message) const override;

 private:
  nlohmann::ordered_json UserObject(const UserView& user) const;
  nlohmann::ordered_json StatusObject(const ::plumwit::server::Status& status, bool favorited,
                                      const UserView* author, const StatusView* repeat_of) const;
  nlohmann::ordered_json StatusObject(const StatusView& view) const;

  SiteLinks links_;
};

}  // namespace plumwit::server
