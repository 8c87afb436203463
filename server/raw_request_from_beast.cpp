#include "server/raw_request_from_beast.h"

#include <utility>

namespace plumwit::server {

namespace http = boost::beast::http;

RawRequest RawRequestFromBeast(BeastRequest& request) {
  RawRequest raw;
  raw.method = std::string(request.method_string());
  raw.target = std::string(request.target());
  if (const auto found = request.find(http::field::authorization); found != request.end()) {
    raw.authorization = std::string(found->value());
  }
  raw.host = std::string(request[http::field::host]);
  raw.content_type = std::string(request[http::field::content_type]);
  raw.body = std::move(request.body());
  return raw;
}

}  // namespace plumwit::server
