#include "server/xml_documents.h"

#include "server/service_time.h"
#include "server/site_config.h"

namespace plumwit::server {
namespace {

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string OptionalNumber(const std::optional<std::int64_t>& value) {
  return value ? Number(*value) : std::string();
}

}  // namespace

std::string XmlDocuments::ContentType() const { return "application/xml; charset=utf-8"; }

std::string XmlDocuments::User(const UserView& user) const {
  XmlWriter xml;
  WriteUser(xml, user);
  return xml.Finish();
}

std::string XmlDocuments::Status(const StatusView& status) const {
  XmlWriter xml;
  WriteStatusView(xml, status);
  return xml.Finish();
}

std::string XmlDocuments::Statuses(const std::vector<StatusView>& statuses) const {
  XmlWriter xml;
  xml.OpenArray("statuses");
  for (const StatusView& status : statuses) WriteStatusView(xml, status);
  return xml.Finish();
}

std::string XmlDocuments::Users(const std::vector<UserView>& users) const {
  XmlWriter xml;
  xml.OpenArray("users");
  for (const UserView& user : users) WriteUser(xml, user);
  return xml.Finish();
}

std::string XmlDocuments::DirectMessages() const {
  XmlWriter xml;
  xml.OpenArray("direct-messages");
  return xml.Finish();
}

std::string XmlDocuments::Ok() const {
  XmlWriter xml;
  xml.Element("ok", "true");
  return xml.Finish();
}

std::string XmlDocuments::RateLimitStatus(const RateLimit& limit) const {
  XmlWriter xml;
  xml.Open("hash");
  xml.TypedElement("remaining-hits", "integer", Number(limit.remaining_hits));
  xml.TypedElement("hourly-limit", "integer", Number(limit.hourly_limit));
  xml.TypedElement("reset-time-in-seconds", "integer", Number(limit.reset_time));
  xml.TypedElement("reset-time", "datetime", FormatIsoDate(limit.reset_time));
  return xml.Finish();
}

std::string XmlDocuments::Ids(const std::vector<std::int64_t>& ids) const {
  XmlWriter xml;
  xml.Open("ids");
  for (const std::int64_t id : ids) xml.Element("id", Number(id));
  return xml.Finish();
}

std::string XmlDocuments::Boolean(std::string_view name, bool value) const {
  XmlWriter xml;
  xml.Element(name, value ? "true" : "false");
  return xml.Finish();
}

std::string XmlDocuments::SiteConfig() const {
  XmlWriter xml;
  xml.Open("config");
  for (const SiteConfigSection& section : SiteConfigSections(links_)) {
    xml.Open(section.name);
    for (const auto& [key, value] : section.values) xml.Element(key, value);
    xml.Close();
  }
  return xml.Finish();
}

std::string XmlDocuments::Error(std::string_view request_path, std::string_view message) const {
  XmlWriter xml;
  xml.Open("hash");
  xml.Element("request", request_path);
  xml.Element("error", message);
  return xml.Finish();
}

void XmlDocuments::WriteUser(XmlWriter& xml, const UserView& user) const {
  const Account& account = user.account;
  xml.Open("user");
  xml.Element("id", Number(account.id));
  xml.Element("name", account.name);
  xml.Element("screen_name", account.screen_name);
  xml.Element("location", account.location);
  xml.Element("description", account.description);
  xml.Element("profile_image_url", links_.Avatar(account.screen_name));
  xml.Element("url", account.url);
  xml.Element("protected", "false");
  xml.Element("followers_count", Number(user.counts.followers));
  xml.Element("friends_count", Number(user.counts.friends));
  xml.Element("created_at", FormatServiceDate(account.created_at));
  xml.Element("favourites_count", Number(user.counts.favourites));
  xml.Element("utc_offset", "0");
  xml.Element("time_zone", "UTC");
  xml.Element("statuses_count", Number(user.counts.statuses));
  if (user.latest) WriteStatus(xml, "status", *user.latest, false, nullptr, nullptr);
  xml.Close();
}

void XmlDocuments::WriteStatusView(XmlWriter& xml, const StatusView& status) const {
  WriteStatus(xml, "status", status);
}

void XmlDocuments::WriteStatus(XmlWriter& xml, std::string_view element,
                               const StatusView& view) const {
  WriteStatus(xml, element, view.status, view.favorited, &view.author, view.repeat_of.get());
}

void XmlDocuments::WriteStatus(XmlWriter& xml, std::string_view element,
                               const ::plumwit::server::Status& status, bool favorited,
                               const UserView* author, const StatusView* repeat_of) const {
  xml.Open(element);
  xml.Element("created_at", FormatServiceDate(status.created_at));
  xml.Element("id", Number(status.id));
  xml.Element("text", status.text);
  xml.Element("source", status.source);
  xml.Element("truncated", "false");
  xml.Element("in_reply_to_status_id", OptionalNumber(status.in_reply_to_status_id));
  xml.Element("in_reply_to_user_id", OptionalNumber(status.in_reply_to_account_id));
  xml.Element("favorited", favorited ? "true" : "false");
  xml.Element("in_reply_to_screen_name", status.in_reply_to_screen_name);
  if (author != nullptr) {
    UserView without_status = *author;
    without_status.latest.reset();
    WriteUser(xml, without_status);
  }
  if (repeat_of != nullptr) WriteStatus(xml, "retweeted_status", *repeat_of);
  xml.Close();
}

}  // namespace plumwit::server
