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
  std::string SiteConfig() const override;
  std::string Error(std::string_view request_path, std::string_view message) const override;

 private:
  void WriteUser(XmlWriter& xml, const UserView& user) const;
  // The status fields; the author's user element follows when given.
  void WriteStatus(XmlWriter& xml, const ::plumwit::server::Status& status,
                   const UserView* author) const;

  SiteLinks links_;
};

}  // namespace plumwit::server
