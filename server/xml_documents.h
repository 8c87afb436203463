#pragma once

#include "server/document_writer.h"
#include "server/xml_writer.h"

namespace plumwit::server {

class XmlDocuments : public DocumentWriter {
 public:
  explicit XmlDocuments(const SiteLinks& links) : links_(links) {}

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
  void WriteUser(XmlWriter& xml, const UserView& user) const;
  // The status fields under `element`; the author's user element follows
  // when given, then the original of a repeat as retweeted_status.
  void WriteStatus(XmlWriter& xml, std::string_view element,
                   const ::plumwit::server::Status& status, bool favorited, const UserView* author,
                   const StatusView* repeat_of) const;
  void WriteStatus(XmlWriter& xml, std::string_view element, const StatusView& view) const;
  void WriteStatusView(XmlWriter& xml, const StatusView& status) const;

  SiteLinks links_;
};

}  // namespace plumwit::server
