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
constexpr const char* kNoSuchStatus = "No status found with that ID.";
constexpr const char* kNotYourStatus = "You may not delete another user's status.";
constexpr const char* kOwnRepeat = "Cannot repeat your own status.";
constexpr const char* kAlreadyRepeated = "Status already repeated.";
constexpr const char* kAlreadyFavorite = "This status is already a favorite.";
constexpr const char* kNotFavorite = "That status is not a favorite.";
constexpr const char* kFollowSelf = "You cannot follow yourself.";
constexpr const char* kNotFollowing = "You are not friends with the specified user.";
constexpr const char* kTwoUsers = "Two user ids or screen names must be supplied.";

// Nobody is limited here; clients that pace themselves by it get plenty.
constexpr std::int64_t kHourlyLimit = 20000;

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

ServiceResponse ApiEndpoints::VerifyCredentials(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  return Document(call, call.documents.User(store_.ViewOf(*account, true)));
}

ServiceResponse ApiEndpoints::RateLimitStatus(const ApiCall& call) {
  RateLimit limit;
  limit.hourly_limit = kHourlyLimit;
  limit.remaining_hits = kHourlyLimit;
  limit.reset_time = (NowSeconds() / 3600 + 1) * 3600;  // the next full hour
  return Document(call, call.documents.RateLimitStatus(limit));
}

ServiceResponse ApiEndpoints::HelpTest(const ApiCall& call) {
  return Document(call, call.documents.Ok());
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

ServiceResponse ApiEndpoints::HomeTimeline(const ApiCall& call,
                                           const std::optional<std::string>& path_name) {
  std::optional<Account> account = SignedIn(call);
  if (!account || (path_name && !EqualsIgnoringCase(*path_name, account->screen_name))) {
    return Unauthorized(call);
  }
  return StatusList(call, store_.HomeTimeline(account->id, PageFrom(call.request)), account->id);
}

ServiceResponse ApiEndpoints::UserTimeline(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  return StatusList(call, store_.AccountTimeline(subject.value->id, PageFrom(call.request)),
                    Viewer(call));
}

ServiceResponse ApiEndpoints::Mentions(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  return StatusList(call, store_.Mentions(account->id, PageFrom(call.request)), account->id);
}

ServiceResponse ApiEndpoints::PublicTimeline(const ApiCall& call) {
  return StatusList(call, store_.PublicTimeline(PageFrom(call.request)), Viewer(call));
}

ServiceResponse ApiEndpoints::Favorites(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  return StatusList(call, store_.Favorites(subject.value->id, PageFrom(call.request)),
                    Viewer(call));
}

ServiceResponse ApiEndpoints::RepeatsOfMine(const ApiCall& call) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  return StatusList(call, store_.RepeatedStatuses(account->id, PageFrom(call.request)),
                    account->id);
}

ServiceResponse ApiEndpoints::Conversation(const ApiCall& call, const PathId& id) {
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  return StatusList(call, store_.Conversation(subject.value->id), Viewer(call));
}

ServiceResponse ApiEndpoints::ShowStatus(const ApiCall& call, const PathId& id) {
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  return StatusDocument(call, *subject.value, Viewer(call));
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
  return StatusDocument(call, result.status, account->id);
}

ServiceResponse ApiEndpoints::DestroyStatus(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  if (subject.value->account_id != account->id) return Error(call, 403, kNotYourStatus);
  // Answered as it was, so the view is taken before it goes.
  ServiceResponse answer = StatusDocument(call, *subject.value, account->id);
  store_.DeleteStatus(subject.value->id);
  return answer;
}

ServiceResponse ApiEndpoints::Repeat(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  const RepeatResult result =
      store_.RepeatStatus(account->id, subject.value->id, SourceFrom(call.request), NowSeconds());
  switch (result.outcome) {
    case RepeatOutcome::kNoSuchStatus:
      return Error(call, 404, kNoSuchStatus);
    case RepeatOutcome::kOwnStatus:
      return Error(call, 403, kOwnRepeat);
    case RepeatOutcome::kAlreadyRepeated:
      return Error(call, 403, kAlreadyRepeated);
    case RepeatOutcome::kRepeated:
      break;
  }
  return StatusDocument(call, result.status, account->id);
}

ServiceResponse ApiEndpoints::CreateFavorite(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  if (!store_.AddFavorite(account->id, subject.value->id, NowSeconds())) {
    return Error(call, 403, kAlreadyFavorite);
  }
  return StatusDocument(call, *subject.value, account->id);
}

ServiceResponse ApiEndpoints::DestroyFavorite(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Status> subject = SubjectStatus(call, id);
  if (!subject.value) return subject.refusal;
  if (!store_.RemoveFavorite(account->id, subject.value->id)) {
    return Error(call, 403, kNotFavorite);
  }
  return StatusDocument(call, *subject.value, account->id);
}

ServiceResponse ApiEndpoints::Friends(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  const int page = PageFrom(call.request).page;
  return UserList(call,
                  store_.Friends(subject.value->id, kFriendsPerPage, kFriendsPerPage * (page - 1)));
}

ServiceResponse ApiEndpoints::Followers(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  const int page = PageFrom(call.request).page;
  return UserList(
      call, store_.Followers(subject.value->id, kFriendsPerPage, kFriendsPerPage * (page - 1)));
}

ServiceResponse ApiEndpoints::FriendIds(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  return Document(call, call.documents.Ids(store_.FriendIds(subject.value->id)));
}

ServiceResponse ApiEndpoints::FollowerIds(const ApiCall& call, const PathId& id) {
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  return Document(call, call.documents.Ids(store_.FollowerIds(subject.value->id)));
}

ServiceResponse ApiEndpoints::Follow(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  if (subject.value->id == account->id) return Error(call, 403, kFollowSelf);
  if (!store_.Follow(account->id, subject.value->id)) {
    return Error(
        call, 403,
        "Could not follow user: " + subject.value->screen_name + " is already on your list.");
  }
  return Document(call, call.documents.User(store_.ViewOf(*subject.value, true)));
}

ServiceResponse ApiEndpoints::Unfollow(const ApiCall& call, const PathId& id) {
  std::optional<Account> account = SignedIn(call);
  if (!account) return Unauthorized(call);
  Found<Account> subject = SubjectAccount(call, id);
  if (!subject.value) return subject.refusal;
  if (!store_.Unfollow(account->id, subject.value->id)) return Error(call, 403, kNotFollowing);
  return Document(call, call.documents.User(store_.ViewOf(*subject.value, true)));
}

ServiceResponse ApiEndpoints::FriendshipExists(const ApiCall& call) {
  const std::optional<std::string> user_a = call.request.Param("user_a");
  const std::optional<std::string> user_b = call.request.Param("user_b");
  if (!user_a || !user_b) return Error(call, 403, kTwoUsers);
  const std::optional<Account> a = AccountByIdOrName(*user_a);
  const std::optional<Account> b = AccountByIdOrName(*user_b);
  if (!a || !b) return Error(call, 404, kNotFound);
  return Document(call, call.documents.Boolean("friends", store_.Follows(a->id, b->id)));
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

std::optional<std::int64_t> ApiEndpoints::Viewer(const ApiCall& call) {
  if (std::optional<Account> account = SignedIn(call)) return account->id;
  return std::nullopt;
}

std::optional<Account> ApiEndpoints::AccountByIdOrName(const std::string& text) {
  // An all-digit screen name is allowed, so a number that is nobody's id
  // may still be a name.
  if (std::optional<std::int64_t> id = PositiveNumber(text)) {
    if (std::optional<Account> account = store_.FindAccount(*id)) return account;
  }
  return store_.FindAccount(std::string_view(text));
}

ApiEndpoints::Found<Account> ApiEndpoints::SubjectAccount(const ApiCall& call, const PathId& id) {
  Found<Account> found;
  bool named = true;
  if (id) {
    found.value = AccountByIdOrName(*id);
  } else if (std::optional<std::string> user_id = call.request.Param("user_id")) {
    if (std::optional<std::int64_t> number = PositiveNumber(user_id)) {
      found.value = store_.FindAccount(*number);
    }
  } else if (std::optional<std::string> name = call.request.Param("screen_name")) {
    found.value = store_.FindAccount(std::string_view(*name));
  } else if (std::optional<std::string> id_or_name = call.request.Param("id")) {
    found.value = AccountByIdOrName(*id_or_name);
  } else {
    named = false;
    found.value = SignedIn(call);
  }
  if (!found.value) found.refusal = named ? Error(call, 404, kNotFound) : Unauthorized(call);
  return found;
}

ApiEndpoints::Found<Status> ApiEndpoints::SubjectStatus(const ApiCall& call, const PathId& id) {
  Found<Status> found;
  if (std::optional<std::int64_t> number = PositiveNumber(id ? id : call.request.Param("id"))) {
    found.value = store_.FindStatus(*number);
  }
  if (!found.value) found.refusal = Error(call, 404, kNoSuchStatus);
  return found;
}

ServiceResponse ApiEndpoints::StatusDocument(const ApiCall& call, const Status& status,
                                             std::optional<std::int64_t> viewer) {
  const std::vector<StatusView> views = store_.ViewsOf({status}, viewer);
  if (views.empty()) return Error(call, 404, kNoSuchStatus);
  return Document(call, call.documents.Status(views.front()));
}

ServiceResponse ApiEndpoints::StatusList(const ApiCall& call, const std::vector<Status>& statuses,
                                         std::optional<std::int64_t> viewer) {
  return Document(call, call.documents.Statuses(store_.ViewsOf(statuses, viewer)));
}

ServiceResponse ApiEndpoints::UserList(const ApiCall& call, const std::vector<Account>& accounts) {
  std::vector<UserView> users;
  users.reserve(accounts.size());
  for (const Account& account : accounts) users.push_back(store_.ViewOf(account, true));
  return Document(call, call.documents.Users(users));
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
