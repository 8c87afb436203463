#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/basic_authorization.h"
#include "server/form_fields.h"

namespace plumwit::server {

// What the HTTP layer hands over: the parts of a request the service reads.
struct RawRequest {
  std::string method;
  std::string target;  // path and query exactly as received
  std::optional<std::string> authorization;
  std::string host;
  std::string content_type;
  std::string body;
};

struct ServiceResponse {
  unsigned status = 200;
  std::string content_type;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// Input the service refuses with 400; the message is shown in the answer.
class BadRequest : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A request with its path, query and form decoded and checked.
class ServiceRequest {
 public:
  // Throws BadRequest when a decoded part is not valid UTF-8 or holds a
  // character no document can carry, or when a multipart body is malformed.
  static ServiceRequest Decode(const RawRequest& raw);

  const std::string& method() const { return method_; }
  // The path as received (without the query), with every byte outside
  // printable ASCII written as %XX: safe for documents and the log.
  const std::string& display_path() const { return display_path_; }
  // Decoded path segments: "/users/show/a%20b" gives users, show, "a b".
  const std::vector<std::string>& segments() const { return segments_; }
  // A parameter from the form body (urlencoded or the text fields of a
  // multipart one), else from the query.
  std::optional<std::string> Param(std::string_view name) const;
  const BasicAuthorization& authorization() const { return authorization_; }
  const std::string& host() const { return host_; }

  // The display form of a raw path (see display_path()).
  static std::string DisplayPath(std::string_view raw_target);

 private:
  std::string method_;
  std::string display_path_;
  std::vector<std::string> segments_;
  FormFields query_;
  FormFields form_;
  BasicAuthorization authorization_;
  std::string host_;
};

}  // namespace plumwit::server
