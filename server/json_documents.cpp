#include "server/json_documents.h"

#include "server/html_text.h"
#include "server/service_time.h"
#include "server/site_config.h"

namespace plumwit::server {
namespace {

nlohmann::ordered_json OptionalNumber(const std::optional<std::int64_t>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json OptionalText(const std::string& value) {
  return value.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(value);
}

std::string Dump(const nlohmann::ordered_json& document) {
  // Stored text is valid UTF-8; "replace" only guards against a fault elsewhere.
  return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

std::string JsonDocuments::ContentType() const { return "application/json; charset=utf-8"; }

std::string JsonDocuments::User(const UserView& user) const { return Dump(UserObject(user)); }

std::string JsonDocuments::Status(const StatusView& status) const {
  return Dump(StatusObject(status));
}

std::string JsonDocuments::Statuses(const std::vector<StatusView>& statuses) const {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const StatusView& status : statuses) {
    array.push_back(StatusObject(status));
  }
  return Dump(array);
}

std::string JsonDocuments::Users(const std::vector<UserView>& users) const {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const UserView& user : users) array.push_back(UserObject(user));
  return Dump(array);
}

std::string JsonDocuments::DirectMessages() const { return "[]"; }

std::string JsonDocuments::Ok() const { return "true"; }

std::string JsonDocuments::RateLimitStatus(const RateLimit& limit) const {
  nlohmann::ordered_json object;
  object["remaining_hits"] = limit.remaining_hits;
  object["hourly_limit"] = limit.hourly_limit;
  object["reset_time_in_seconds"] = limit.reset_time;
  object["reset_time"] = FormatServiceDate(limit.reset_time);
  return Dump(object);
}

std::string JsonDocuments::Ids(const std::vector<std::int64_t>& ids) const {
  return Dump(nlohmann::ordered_json(ids));
}

std::string JsonDocuments::Boolean(std::string_view, bool value) const {
  return value ? "true" : "false";
}

std::string JsonDocuments::SiteConfig() const {
  nlohmann::ordered_json config = nlohmann::ordered_json::object();
  for (const SiteConfigSection& section : SiteConfigSections(links_)) {
    nlohmann::ordered_json& object = config[section.name];
    for (const auto& [key, value] : section.values) object[key] = value;
  }
  return Dump(config);
}

std::string JsonDocuments::Error(std::string_view request_path, std::string_view message) const {
  nlohmann::ordered_json error;
  error["request"] = request_path;
  error["error"] = message;
  // The newer form of the same message, which some clients look for instead.
  error["errors"] = nlohmann::ordered_json::array({{{"message", message}}});
  return Dump(error);
}

nlohmann::ordered_json JsonDocuments::UserObject(const UserView& user) const {
  const Account& account = user.account;
  nlohmann::ordered_json object;
  object["id"] = account.id;
  object["id_str"] = std::to_string(account.id);
  object["name"] = account.name;
  object["screen_name"] = account.screen_name;
  object["location"] = account.location;
  object["description"] = account.description;
  object["profile_image_url"] = links_.Avatar(account.screen_name);
  object["url"] = OptionalText(account.url);
  object["protected"] = false;
  object["followers_count"] = user.counts.followers;
  object["friends_count"] = user.counts.friends;
  object["created_at"] = FormatServiceDate(account.created_at);
  object["favourites_count"] = user.counts.favourites;
  object["utc_offset"] = 0;
  object["time_zone"] = "UTC";
  object["statuses_count"] = user.counts.statuses;
  object["statusnet_profile_url"] = links_.Profile(account.screen_name);
  if (user.latest) object["status"] = StatusObject(*user.latest, false, nullptr, nullptr);
  return object;
}

nlohmann::ordered_json JsonDocuments::StatusObject(const StatusView& view) const {
  return StatusObject(view.status, view.favorited, &view.author, view.repeat_of.get());
}

nlohmann::ordered_json JsonDocuments::StatusObject(const ::plumwit::server::Status& status,
                                                   bool favorited, const UserView* author,
                                                   const StatusView* repeat_of) const {
  nlohmann::ordered_json object;
  object["created_at"] = FormatServiceDate(status.created_at);
  object["id"] = status.id;
  object["id_str"] = std::to_string(status.id);
  object["text"] = status.text;
  object["statusnet_html"] = HtmlText::EscapeWithLinks(status.text);
  object["source"] = status.source;
  object["truncated"] = false;
  object["in_reply_to_status_id"] = OptionalNumber(status.in_reply_to_status_id);
  object["in_reply_to_user_id"] = OptionalNumber(status.in_reply_to_account_id);
  object["favorited"] = favorited;
  object["in_reply_to_screen_name"] = OptionalText(status.in_reply_to_screen_name);
  if (author != nullptr) {
    UserView without_status = *author;
    without_status.latest.reset();
    object["user"] = UserObject(without_status);
  }
  if (repeat_of != nullptr) object["retweeted_status"] = StatusObject(*repeat_of);
  return object;
}

}  // namespace plumwit::server
