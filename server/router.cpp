#include "server/router.h"

#include <optional>
#include <vector>

#include "server/document_writer.h"
#include "server/password_hasher.h"
#include "server/sqlite_statement.h"

namespace plumwit::server {
namespace {

enum class Allowed { kGet, kPost, kGetOrPost, kPostOrDelete };

// An interface path with the /api prefix and the extension taken off.
struct InterfacePath {
  std::vector<std::string> segments;
  DocumentFormat format = DocumentFormat::kXml;
  bool api_prefix = false;
};

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

InterfacePath SplitInterfacePath(std::vector<std::string> segments) {
  InterfacePath path;
  if (segments.size() > 1 && segments.front() == "api") {
    path.api_prefix = true;
    segments.erase(segments.begin());
  }
  if (!segments.empty()) {
    std::string& last = segments.back();
    if (EndsWith(last, ".xml")) {
      last.resize(last.size() - 4);
    } else if (EndsWith(last, ".json")) {
      last.resize(last.size() - 5);
      path.format = DocumentFormat::kJson;
    }
  }
  path.segments = std::move(segments);
  return path;
}

bool Is(const std::vector<std::string>& segments, std::initializer_list<std::string_view> shape) {
  if (segments.size() != shape.size()) return false;
  std::size_t i = 0;
  for (const std::string_view part : shape) {
    if (segments[i++] != part) return false;
  }
  return true;
}

bool Permits(Allowed allowed, const std::string& method) {
  const bool get = method == "GET" || method == "HEAD";
  switch (allowed) {
    case Allowed::kGet:
      return get;
    case Allowed::kPost:
      return method == "POST";
    case Allowed::kGetOrPost:
      return get || method == "POST";
    case Allowed::kPostOrDelete:
      return method == "POST" || method == "DELETE";
  }
  return false;
}

const char* AllowHeader(Allowed allowed) {
  switch (allowed) {
    case Allowed::kGet:
      return "GET, HEAD";
    case Allowed::kPost:
      return "POST";
    case Allowed::kGetOrPost:
      return "GET, HEAD, POST";
    case Allowed::kPostOrDelete:
      return "POST, DELETE";
  }
  return "";
}

// Whether `segments` is `shape`, alone or followed by one ID segment; the
// ID, if any, goes to `id`.
bool IsWithOptionalId(const std::vector<std::string>& segments,
                      std::initializer_list<std::string_view> shape, PathId& id) {
  if (segments.size() != shape.size() && segments.size() != shape.size() + 1) return false;
  std::size_t i = 0;
  for (const std::string_view part : shape) {
    if (segments[i++] != part) return false;
  }
  id = segments.size() > shape.size() ? PathId(segments.back()) : PathId();
  return true;
}

DocumentFormat FormatOfTarget(std::string_view raw_target) {
  const std::string_view path = raw_target.substr(0, raw_target.find('?'));
  return EndsWith(path, ".json") ? DocumentFormat::kJson : DocumentFormat::kXml;
}

}  // namespace

Router::Router(Store& store, std::string scheme, std::string fallback_host,
               std::function<void(std::string_view)> report)
    : store_(store),
      authenticator_(store),
      api_(store, authenticator_),
      pages_(store),
      scheme_(std::move(scheme)),
      fallback_host_(std::move(fallback_host)),
      report_(std::move(report)) {}

ServiceResponse Router::Handle(const RawRequest& raw) {
  try {
    const ServiceRequest request = ServiceRequest::Decode(raw);
    if (request.authorization().state() == BasicAuthorization::State::kMalformed) {
      return Refuse(400, raw.target, "Malformed Authorization header.");
    }
    return Dispatch(request);
  } catch (const BadRequest& refusal) {
    return Refuse(400, raw.target, refusal.what());
  } catch (const std::exception& failure) {
    if (report_) report_(std::string("internal error: ") + failure.what());
    return Refuse(500, raw.target, "Internal error.");
  }
}

ServiceResponse Router::Refuse(unsigned status, std::string_view raw_target,
                               std::string_view message) {
  const SiteLinks links(scheme_, fallback_host_, fallback_host_);
  const auto documents = DocumentWriter::For(FormatOfTarget(raw_target), links);
  ServiceResponse response;
  response.status = status;
  response.content_type = documents->ContentType();
  response.body = documents->Error(ServiceRequest::DisplayPath(raw_target), message);
  return response;
}

ServiceResponse Router::Dispatch(const ServiceRequest& request) {
  const SiteLinks links(scheme_, request.host(), fallback_host_);
  const InterfacePath path = SplitInterfacePath(request.segments());
  const auto documents = DocumentWriter::For(path.format, links);
  const ApiCall call{request, *documents};
  const std::vector<std::string>& s = path.segments;
  const std::string& method = request.method();

  // Each candidate route: does the path match, which methods, what it does.
  std::optional<Allowed> matched;
  std::function<ServiceResponse()> action;
  const auto route = [&](bool matches, Allowed allowed, std::function<ServiceResponse()> run) {
    if (matched || !matches) return;
    matched = allowed;
    action = std::move(run);
  };

  // With an optional ID segment: matches `shape` or `shape`/ID, the ID in `id`.
  PathId id;
  const auto with_id = [&](std::initializer_list<std::string_view> shape) {
    return !matched && IsWithOptionalId(s, shape, id);
  };
  using A = Allowed;

  route(s.size() == 3 && s[0] == "users" && s[1] == "show", A::kGet,
        [&] { return api_.ShowUser(call, s[2]); });
  route(Is(s, {"users", "show"}), A::kGet, [&] { return api_.ShowUserByParameter(call); });
  route(Is(s, {"help", "test"}), A::kGet, [&] { return api_.HelpTest(call); });
  route(Is(s, {"account", "verify_credentials"}), A::kGet,
        [&] { return api_.VerifyCredentials(call); });
  route(Is(s, {"account", "rate_limit_status"}), A::kGet,
        [&] { return api_.RateLimitStatus(call); });
  route(Is(s, {"account", "update_profile"}), A::kPost, [&] { return api_.UpdateProfile(call); });

  route(with_id({"statuses", "home_timeline"}) || with_id({"statuses", "friends_timeline"}),
        A::kGet, [&] { return api_.HomeTimeline(call, id); });
  route(with_id({"statuses", "user_timeline"}), A::kGet,
        [&] { return api_.UserTimeline(call, id); });
  route(Is(s, {"statuses", "mentions"}) || Is(s, {"statuses", "replies"}), A::kGet,
        [&] { return api_.Mentions(call); });
  route(Is(s, {"statuses", "public_timeline"}), A::kGet, [&] { return api_.PublicTimeline(call); });
  route(with_id({"statuses", "show"}), A::kGet, [&] { return api_.ShowStatus(call, id); });
  route(Is(s, {"statuses", "update"}), A::kPost, [&] { return api_.UpdateStatus(call); });
  route(with_id({"statuses", "destroy"}), A::kPostOrDelete,
        [&] { return api_.DestroyStatus(call, id); });
  route(with_id({"statuses", "retweet"}), A::kPost, [&] { return api_.Repeat(call, id); });
  route(Is(s, {"statuses", "retweets_of_me"}), A::kGet, [&] { return api_.RepeatsOfMine(call); });

  route(with_id({"favorites", "create"}), A::kPost, [&] { return api_.CreateFavorite(call, id); });
  route(with_id({"favorites", "destroy"}), A::kPostOrDelete,
        [&] { return api_.DestroyFavorite(call, id); });
  route(with_id({"favorites", "list"}) || with_id({"favorites"}), A::kGet,
        [&] { return api_.Favorites(call, id); });

  route(with_id({"statuses", "friends"}), A::kGet, [&] { return api_.Friends(call, id); });
  route(with_id({"statuses", "followers"}), A::kGet, [&] { return api_.Followers(call, id); });
  route(with_id({"friends", "ids"}), A::kGet, [&] { return api_.FriendIds(call, id); });
  route(with_id({"followers", "ids"}), A::kGet, [&] { return api_.FollowerIds(call, id); });
  route(with_id({"friendships", "create"}), A::kPost, [&] { return api_.Follow(call, id); });
  route(with_id({"friendships", "destroy"}), A::kPostOrDelete,
        [&] { return api_.Unfollow(call, id); });
  route(Is(s, {"friendships", "exists"}), A::kGet, [&] { return api_.FriendshipExists(call); });

  route(Is(s, {"direct_messages"}) || Is(s, {"direct_messages", "sent"}), A::kGet,
        [&] { return api_.EmptyDirectMessages(call); });
  route(Is(s, {"statusnet", "config"}), A::kGet, [&] { return api_.SiteConfig(call); });
  route(with_id({"statusnet", "conversation"}), A::kGet,
        [&] { return api_.Conversation(call, id); });

  // The web pages live at the root only, on the path exactly as given.
  const std::vector<std::string>& page = request.segments();
  const bool root = !path.api_prefix;
  route(root && page.empty(), Allowed::kGet, [&] { return pages_.Home(links); });
  route(root && Is(page, {"signup"}), Allowed::kGetOrPost,
        [&] { return method == "POST" ? pages_.Signup(request) : pages_.SignupForm(); });
  route(root && Is(page, {"account", "resend_password"}), Allowed::kGet,
        [&] { return pages_.ResendPassword(); });
  route(root && Is(page, {"pages", "api_terms"}), Allowed::kGet, [&] { return pages_.ApiTerms(); });
  route(root && page.size() == 2 && page[0] == "avatars", Allowed::kGet,
        [&] { return pages_.Avatar(page[1]); });
  route(root && page.size() == 1 && !EndsWith(page[0], ".xml") && !EndsWith(page[0], ".json"),
        Allowed::kGet, [&] { return pages_.AccountPage(page[0], links); });

  if (!matched) return ApiEndpoints::Error(call, 404, "Not found");
  if (!Permits(*matched, method)) {
    ServiceResponse response = ApiEndpoints::Error(call, 405, "Method not allowed.");
    response.headers.emplace_back("Allow", AllowHeader(*matched));
    return response;
  }
  return action();
}

}  // namespace plumwit::server
