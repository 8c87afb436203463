#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plumwit {

// A reply as the client read it.
struct HttpReply {
  std::string status_line;  // exactly as received, without its line end
  int code = -1;            // the number after the first blank; -1 if none
  std::vector<std::pair<std::string, std::string>> fields;
  std::string body;
  bool server_closed = false;

  bool HasField(std::string_view name) const;
  // The first field of that name (compared without case); empty if none.
  std::string Field(std::string_view name) const;
};

// The status code of a status line: the decimal number after its first
// blank, or -1.
int StatusCodeOf(std::string_view status_line);

}  // namespace plumwit
