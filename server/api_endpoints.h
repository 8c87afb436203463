#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/authenticator.h"
#include "server/document_writer.h"
#include "server/service_request.h"
#include "server/store.h"

namespace plumwit::server {

// One call of the interface: the request and the format it answers in.
struct ApiCall {
  const ServiceRequest& request;
  const DocumentWriter& documents;
};

// The ID segment of a path such as statuses/show/ID, when the path has one;
// endpoints without it look at the "id" parameter instead.
using PathId = std::optional<std::string>;

// The interface's endpoints. Each returns the complete answer, errors
// included, as the documents the clients of this interface expect. An
// endpoint about "the user" takes the one the path ID or the id, user_id or
// screen_name parameter names, else the signed-in account.
class ApiEndpoints {
 public:
  ApiEndpoints(Store& store, Authenticator& authenticator);

  // Accounts.
  ServiceResponse ShowUser(const ApiCall& call, std::string_view screen_name);
  // users/show with the account named by a screen_name, user_id or id parameter.
  ServiceResponse ShowUserByParameter(const ApiCall& call);
  ServiceResponse VerifyCredentials(const ApiCall& call);
  ServiceResponse RateLimitStatus(const ApiCall& call);
  ServiceResponse HelpTest(const ApiCall& call);
  ServiceResponse UpdateProfile(const ApiCall& call);

  // Timelines, each paged by count, page, since_id and max_id.
  // `path_name` is the NAME of statuses/home_timeline/NAME, which must be the
  // authenticated account.
  ServiceResponse HomeTimeline(const ApiCall& call, const std::optional<std::string>& path_name);
  ServiceResponse UserTimeline(const ApiCall& call, const PathId& id);
  ServiceResponse Mentions(const ApiCall& call);
  // Everybody's statuses, newest first; no sign-in needed.
  ServiceResponse PublicTimeline(const ApiCall& call);
  ServiceResponse Favorites(const ApiCall& call, const PathId& id);
  // The signed-in account's statuses that others have repeated.
  ServiceResponse RepeatsOfMine(const ApiCall& call);
  // A status with the thread it belongs to; no sign-in needed.
  ServiceResponse Conversation(const ApiCall& call, const PathId& id);

  // One status.
  ServiceResponse ShowStatus(const ApiCall& call, const PathId& id);
  ServiceResponse UpdateStatus(const ApiCall& call);
  ServiceResponse DestroyStatus(const ApiCall& call, const PathId& id);
  ServiceResponse Repeat(const ApiCall& call, const PathId& id);
  ServiceResponse CreateFavorite(const ApiCall& call, const PathId& id);
  ServiceResponse DestroyFavorite(const ApiCall& call, const PathId& id);

  // Following. Lists are by screen name, 100 to a page.
  ServiceResponse Friends(const ApiCall& call, const PathId& id);
  ServiceResponse Followers(const ApiCall& call, const PathId& id);
  ServiceResponse FriendIds(const ApiCall& call, const PathId& id);
  ServiceResponse FollowerIds(const ApiCall& call, const PathId& id);
  ServiceResponse Follow(const ApiCall& call, const PathId& id);
  ServiceResponse Unfollow(const ApiCall& call, const PathId& id);
  // Whether user_a follows user_b.
  ServiceResponse FriendshipExists(const ApiCall& call);

  // Direct messages: this service has none to show, so an authenticated
  // call gets an empty list.
  ServiceResponse EmptyDirectMessages(const ApiCall& call);
  // The site's name and limits; no sign-in needed.
  ServiceResponse SiteConfig(const ApiCall& call);

  static ServiceResponse Error(const ApiCall& call, unsigned status, std::string_view message);

 private:
  // An endpoint's subject, or the answer that refuses the call.
  template <typename T>
  struct Found {
    std::optional<T> value;
    ServiceResponse refusal;
  };

  std::optional<Account> SignedIn(const ApiCall& call);
  // The signed-in account's id when the call carries valid credentials;
  // nobody otherwise (public endpoints answer anyone).
  std::optional<std::int64_t> Viewer(const ApiCall& call);
  // The account the path or parameters name, else the signed-in one.
  Found<Account> SubjectAccount(const ApiCall& call, const PathId& id);
  std::optional<Account> AccountByIdOrName(const std::string& text);
  Found<Status> SubjectStatus(const ApiCall& call, const PathId& id);
  ServiceResponse StatusDocument(const ApiCall& call, const Status& status,
                                 std::optional<std::int64_t> viewer);
  ServiceResponse StatusList(const ApiCall& call, const std::vector<Status>& statuses,
                             std::optional<std::int64_t> viewer);
  ServiceResponse UserList(const ApiCall& call, const std::vector<Account>& accounts);
  static ServiceResponse Unauthorized(const ApiCall& call);
  static ServiceResponse Document(const ApiCall& call, std::string body);
  std::optional<std::string> CheckProfile(const ApiCall& call, ProfileChange& change) const;

  Store& store_;
  Authenticator& authenticator_;
};

}  // namespace plumwit::server
