#include "server/api_endpoints.h"

#include <charconv>

#include "server/ascii_case.h"
#include "server/profile_rules.h"
#include "server/service_time.h"
#include "server/utf8.h"

namespace plumwit::server {
namespace {

constexpr int kDefaultCount = 20;
constexpr int kMaxCount = 200;
constexpr int kMaxPage = 100000;
constexpr std::size_t kMaxSource = 64;
constexpr int kFriendsPerPage = 100;

constexpr const char* kNoStatus = "Client must provide a 'status' parameter with a value.";
constexpr const char* kStatusTooLong = "Status is over 140 characters.";
constexpr const char* kDuplicate = "Status is a duplicate.";
constexpr const char* kNotAuthenticated = "Could not authenticate you.";
constexpr const char* kNotFound = "Not found";
constexpr const char* kScreenNameTaken = "Screen name has already been taken.";

// A positive decimal number, or nullopt for anything else.
std::optional<std::int64_t> PositiveNumber(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  std::int64_t value = 0;
  const char* end = text->data() + text->size();
  const auto [last, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || last != end || value < 1) return std::nullopt;
  return value;
}

TimelinePage PageFrom(const ServiceRequest& request) {
  TimelinePage page;
  const std::optional<std::int64_t> count = PositiveNumber(request.Param("count"));
  page.count = count ? static_cast<int>(std::min<std::int64_t>(*count, kMaxCount)) : kDefaultCount;
  page.since_id = PositiveNumber(request.Param("since_id"));
  page.max_id = PositiveNumber(request.Param("max_id"));
  const std::optional<std::int64_t> number = PositiveNumber(request.Param("page"));
  page.page = number ? static_cast<int>(std::min<std::int64_t>(*number, kMaxPage)) : 1;
  return page;
}

std::string SourceFrom(const ServiceRequest& request) {
  const std::optional<std::string> given = request.Param("source");
  if (!given) return "web";
  const std::string_view trimmed = TrimControlsAndSpaces(*given);
  if (trimmed.empty() || CountCodePoints(trimmed) > kMaxSource) return "web";
  return std::string(trimmed);
}

}  // namespace

ApiEndpoints::ApiEndpoints(Store& store, Authenticator& authenticator)
    : store_(store), authenticator_(authenticator) {}

ServiceResponse ApiEndpoints::ShowUser(const ApiCall& call, std::string_view screen_name) {
  std::optional<Account> account = store_.FindAccount(screen_name);
  if (!account) return Error(call, 404, kNotFound);
  return Document(call, call.documents.User(store_.ViewOf(*account, true)));
}

ServiceResponse ApiEndpoints::ShowUserByParameter(const ApiCall& call) {
  std::optional<Account> account;
  if (std::optional<std::string> name = call.request.Param("screen_name")) {
    account = store_.FindAccount(*name);
  } else if (std::optional<std::int64_t> id = PositiveNumber(call.request.Param("user_id"))) {
    account = store_.FindAccount(*id);
  } else if (std::optional<std::string> id_or_name = call.request.Param("id")) {
    const std::optional<std::int64_t> id = PositiveNumber(id_or_name);
    account = id ? store_.FindAccount(*id) : store_.FindAccount(*id_or_name);
  }
  if (!account) return Error(call, 404, kNotFound);
  return Document(call, call.documents.User(store_.ViewOf(*account, true)));
}

ServiceResponse ApiEndpoints::HomeTimeline(const ApiCall& call,
                                           const std::optional<std::string>& path_name) {
  std::optional<Account> account = SignedIn(call);
  if (!account || (path_name && !EqualsIgnoringCase(*path_name, account->screen_name))) {
    return Unauthorized(call);
  }
  const std::vector<Status> statuses = store_.HomeTimeline(account->id, PageFrom(call.request));
  return Document(call, call.documents.Statuses(store_.ViewsOf(statuses)));
}

ServiceResponse ApiEndpoints::VerifyCredentials(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  return Document(call, call.documents.User(store_.ViewOf(*account, true)));
}

ServiceResponse ApiEndpoints::UpdateStatus(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  const std::optional<std::string> given = call.request.Param("status");
  const std::string_view text = given ? TrimControlsAndSpaces(*given) : std::string_view();
  if (text.empty()) return Error(call, 403, kNoStatus);
  if (CountCodePoints(text) > ProfileRules::kMaxStatus) return Error(call, 403, kStatusTooLong);

  NewStatus status;
  status.account_id = account->id;
  status.text = std::string(text);
  status.source = SourceFrom(call.request);
  status.created_at = NowSeconds();
  status.in_reply_to_status_id = PositiveNumber(call.request.Param("in_reply_to_status_id"));
  const PostResult result = store_.PostStatus(status);
  if (result.outcome == PostOutcome::kDuplicate) return Error(call, 403, kDuplicate);
  const StatusView view{result.status, store_.ViewOf(*account, false)};
  return Document(call, call.documents.Status(view));
}

ServiceResponse ApiEndpoints::UpdateProfile(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  ProfileChange change;
  if (std::optional<std::string> refusal = CheckProfile(call, change)) {
    return Error(call, 403, *refusal);
  }
  if (!store_.UpdateProfile(account->id, change)) return Error(call, 403, kScreenNameTaken);
  account = store_.FindAccount(account->id);
  if (!account) return Error(call, 404, kNotFound);
  return Document(call, call.documents.User(store_.ViewOf(*account, true)));
}

ServiceResponse ApiEndpoints::PublicTimeline(const ApiCall& call) {
  const std::vector<Status> statuses = store_.PublicStatuses(PageFrom(call.request).count);
  return Document(call, call.documents.Statuses(store_.ViewsOf(statuses)));
}

ServiceResponse ApiEndpoints::Friends(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  const int page = PageFrom(call.request).page;
  std::vector<UserView> users;
  for (const Account& friend_account :
       store_.Friends(account->id, kFriendsPerPage, kFriendsPerPage * (page - 1))) {
    users.push_back(store_.ViewOf(friend_account, true));
  }
  return Document(call, call.documents.Users(users));
}

ServiceResponse ApiEndpoints::EmptyStatuses(const ApiCall& call) {
  if (!SignedIn(call)) return Unauthorized(call);
  return Document(call, call.documents.Statuses({}));
}

ServiceResponse ApiEndpoints::EmptyDirectMessages(const ApiCall& call) {
  if (!SignedIn(call)) return Unauthorized(call);
  return Document(call, call.documents.DirectMessages());
}

ServiceResponse ApiEndpoints::SiteConfig(const ApiCall& call) {
  return Document(call, call.documents.SiteConfig());
}

std::optional<std::string> ApiEndpoints::CheckProfile(const ApiCall& call,
                                                      ProfileChange& change) const {
  using Check = std::optional<std::string> (*)(std::string_view);
  struct Field {
    const char* parameter;
    std::optional<std::string> ProfileChange::*member;
    Check check;
  };
  static const Field kFields[] = {
      {"name", &ProfileChange::name, &ProfileRules::CheckName},
      {"screen_name", &ProfileChange::screen_name, &ProfileRules::CheckScreenName},
      {"location", &ProfileChange::location, &ProfileRules::CheckLocation},
      {"description", &ProfileChange::description, &ProfileRules::CheckDescription},
      {"url", &ProfileChange::url, &ProfileRules::CheckUrl},
  };
  for (const Field& field : kFields) {
    std::optional<std::string> value = call.request.Param(field.parameter);
    if (!value) continue;
    if (std::optional<std::string> refusal = field.check(*value)) return refusal;
    change.*field.member = std::move(value);
  }
  return std::nullopt;
}

std::optional<Account> ApiEndpoints::SignedIn(const ApiCall& call) {
  const BasicAuthorization& authorization = call.request.authorization();
  if (authorization.state() != BasicAuthorization::State::kCredentials) return std::nullopt;
  return authenticator_.Authenticate(authorization.credentials());
}

ServiceResponse ApiEndpoints::Unauthorized(const ApiCall& call) {
  ServiceResponse response = Error(call, 401, kNotAuthenticated);
  response.headers.emplace_back("WWW-Authenticate", "Basic realm=\"Plumwit\"");
  return response;
}

ServiceResponse ApiEndpoints::Document(const ApiCall& call, std::string body) {
  ServiceResponse response;
  response.content_type = call.documents.ContentType();
  response.body = std::move(body);
  return response;
}

ServiceResponse ApiEndpoints::Error(const ApiCall& call, unsigned status,
                                    std::string_view message) {
  ServiceResponse response =
      Document(call, call.documents.Error(call.request.display_path(), message));
  response.status = status;
  return response;
}

}  // namespace plumwit::server
