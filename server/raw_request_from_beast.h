#pragma once

#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>

#include "server/service_request.h"

namespace plumwit::server {

using BeastRequest = boost::beast::http::request<boost::beast::http::string_body>;

// The parts of a parsed request the service reads; the body is moved out.
RawRequest RawRequestFromBeast(BeastRequest& request);

}  // namespace plumwit::server
