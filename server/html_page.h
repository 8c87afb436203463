#pragma once

#include <string>
#include <string_view>

#include "server/service_request.h"

namespace plumwit::server {

// The frame every web page of the service shares.
class HtmlPage {
 public:
  // `title` is plain text; `body` is HTML the caller has already escaped.
  static ServiceResponse Render(unsigned status, std::string_view title, std::string_view body);
};

}  // namespace plumwit::server
