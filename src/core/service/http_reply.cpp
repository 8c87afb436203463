#include "core/service/http_reply.h"

#include "core/service/ascii_text.h"

namespace plumwit {

bool HttpReply::HasField(std::string_view name) const {
  for (const auto& field : fields) {
    if (EqualsIgnoringCase(field.first, name)) return true;
  }
  return false;
}

std::string HttpReply::Field(std::string_view name) const {
  for (const auto& field : fields) {
    if (EqualsIgnoringCase(field.first, name)) return field.second;
  }
  return {};
}

int StatusCodeOf(std::string_view status_line) {
  const std::size_t blank = status_line.find(' ');
  if (blank == std::string_view::npos) return -1;
  std::string_view number = status_line.substr(blank + 1);
  number = number.substr(0, number.find(' '));
  if (number.empty() || number.size() > 9) return -1;
  int code = 0;
  for (char c : number) {
    if (c < '0' || c > '9') return -1;
    code = code * 10 + (c - '0');
  }
  return code;
}

}  // namespace plumwit
