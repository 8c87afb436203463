#include "server/router.h"

#include <optional>
#include <vector>

#include "server/document_writer.h"
#include "server/password_hasher.h"
#include "server/sqlite_statement.h"

namespace plumwit::server {
namespace {

enum class Allowed { kGet, kPost, kGetOrPost };

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
  }
  return "";
}

DocumentFormat FormatOfTarget(std::string_view raw_target) {
  const std::string_view path = raw_target.substr(0, raw_target.find('?'));
  return EndsWith(path, ".json") ? DocumentFormat::kJson : DocumentFormat::kXml;
}

}  // namespace

Router::Router(Store& store, std::string fallback_host,
               std::function<void(std::string_view)> report)
    : store_(store),
      authenticator_(store),
      api_(store, authenticator_),
      pages_(store),
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
  const SiteLinks links(fallback_host_, fallback_host_);
  const auto documents = DocumentWriter::For(FormatOfTarget(raw_target), links);
  ServiceResponse response;
  response.status = status;
  response.content_type = documents->ContentType();
  response.body = documents->Error(ServiceRequest::DisplayPath(raw_target), message);
  return response;
}

ServiceResponse Router::Dispatch(const ServiceRequest& request) {
  const SiteLinks links(request.host(), fallback_host_);
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

  route(s.size() == 3 && s[0] == "users" && s[1] == "show", Allowed::kGet,
        [&] { return api_.ShowUser(call, s[2]); });
  route(Is(s, {"users", "show"}), Allowed::kGet, [&] { return api_.ShowUserByParameter(call); });
  route(Is(s, {"statuses", "home_timeline"}), Allowed::kGet,
        [&] { return api_.HomeTimeline(call, std::nullopt); });
  route(s.size() == 3 && s[0] == "statuses" && s[1] == "home_timeline", Allowed::kGet,
        [&] { return api_.HomeTimeline(call, s[2]); });
  route(Is(s, {"statuses", "update"}), Allowed::kPost, [&] { return api_.UpdateStatus(call); });
  route(Is(s, {"account", "update_profile"}), Allowed::kPost,
        [&] { return api_.UpdateProfile(call); });
  route(Is(s, {"account", "verify_credentials"}), Allowed::kGet,
        [&] { return api_.VerifyCredentials(call); });
  route(Is(s, {"statuses", "public_timeline"}), Allowed::kGet,
        [&] { return api_.PublicTimeline(call); });
  route(Is(s, {"statuses", "friends"}), Allowed::kGet, [&] { return api_.Friends(call); });
  route(Is(s, {"statuses", "replies"}) || Is(s, {"statuses", "mentions"}) ||
            Is(s, {"statuses", "retweets_of_me"}) || Is(s, {"favorites"}) ||
            Is(s, {"favorites", "list"}),
        Allowed::kGet, [&] { return api_.EmptyStatuses(call); });
  route(Is(s, {"direct_messages"}) || Is(s, {"direct_messages", "sent"}), Allowed::kGet,
        [&] { return api_.EmptyDirectMessages(call); });
  route(Is(s, {"statusnet", "config"}), Allowed::kGet, [&] { return api_.SiteConfig(call); });

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
