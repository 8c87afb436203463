#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "server/api_endpoints.h"
#include "server/authenticator.h"
#include "server/service_request.h"
#include "server/store.h"
#include "server/web_pages.h"

namespace plumwit::server {

// Maps each request to its endpoint or page: the interface at the root and
// under /api/, in .xml (also without extension) and .json; the web pages at
// the root only. Never throws.
class Router {
 public:
  // `scheme` ("http" or "https") is how clients reach the service, for the
  // links in its documents; `fallback_host` is the service's own
  // "address:port", used for links when a request's Host header is
  // unusable. `report` receives internal failures (never request contents).
  Router(Store& store, std::string scheme, std::string fallback_host,
         std::function<void(std::string_view)> report);

  ServiceResponse Handle(const RawRequest& raw);
  // The error answer for a request the HTTP layer refused before it could
  // be handled (too large, malformed).
  ServiceResponse Refuse(unsigned status, std::string_view raw_target, std::string_view message);
  // The HTTP layer asks it which requests need a full password check, to
  // handle those off its threads.
  Authenticator& authenticator() { return authenticator_; }

 private:
  ServiceResponse Dispatch(const ServiceRequest& request);

  Store& store_;
  Authenticator authenticator_;
  ApiEndpoints api_;
  WebPages pages_;
  std::string scheme_;
  std::string fallback_host_;
  std::function<void(std::string_view)> report_;
};

}  // namespace plumwit::server
