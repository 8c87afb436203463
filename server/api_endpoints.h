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

// The interface's endpoints. Each returns the complete answer, errors
// included, as the documents the clients of this interface expect.
class ApiEndpoints {
 public:
  ApiEndpoints(Store& store, Authenticator& authenticator);

  ServiceResponse ShowUser(const ApiCall& call, std::string_view screen_name);
  // users/show with the account named by a screen_name, user_id or id parameter.
  ServiceResponse ShowUserByParameter(const ApiCall& call);
  // `path_name` is the NAME of statuses/home_timeline/NAME, which must be the
  // authenticated account.
  ServiceResponse HomeTimeline(const ApiCall& call, const std::optional<std::string>& path_name);
  ServiceResponse VerifyCredentials(const ApiCall& call);
  ServiceResponse UpdateStatus(const ApiCall& call);
  ServiceResponse UpdateProfile(const ApiCall& call);
  // Everybody's statuses, newest first; no sign-in needed.
  ServiceResponse PublicTimeline(const ApiCall& call);
  // The accounts the signed-in account follows, 100 to a page.
  ServiceResponse Friends(const ApiCall& call);
  // Replies, mentions, favourites, repeats: this service has none to show,
  // so an authenticated call gets an empty list.
  ServiceResponse EmptyStatuses(const ApiCall& call);
  ServiceResponse EmptyDirectMessages(const ApiCall& call);
  // The site's name and limits; no sign-in needed.
  ServiceResponse SiteConfig(const ApiCall& call);

  static ServiceResponse Error(const ApiCall& call, unsigned status, std::string_view message);

 private:
  std::optional<Account> SignedIn(const ApiCall& call);
  static ServiceResponse Unauthorized(const ApiCall& call);
  static ServiceResponse Document(const ApiCall& call, std::string body);
  std::optional<std::string> CheckProfile(const ApiCall& call, ProfileChange& change) const;

  Store& store_;
  Authenticator& authenticator_;
};

}  // namespace plumwit::server
