#include "server/basic_authorization.h"

#include <cctype>

#include "server/ascii_case.h"

namespace plumwit::server {
namespace {

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') {
    ++padding;
  }
  std::string decoded;
  decoded.reserve(text.size() / 4 * 3);
  unsigned buffer = 0;
  int bits = 0;
  for (std::size_t i = 0; i < text.size() - padding; ++i) {
    const int value = Base64Value(text[i]);
    if (value < 0) return std::nullopt;
    buffer = (buffer << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      decoded += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  return decoded;
}

BasicAuthorization BasicAuthorization::Parse(const std::optional<std::string>& header) {
  BasicAuthorization result;
  if (!header) return result;
  const std::string_view value = TrimBlanks(*header);
  const std::size_t blank = value.find(' ');
  const std::string_view scheme = value.substr(0, blank);
  if (!EqualsIgnoringCase(scheme, "Basic")) {
    result.state_ = scheme.empty() ? State::kMalformed : State::kOtherScheme;
    return result;
  }
  result.state_ = State::kMalformed;
  if (blank == std::string_view::npos) return result;
  const std::optional<std::string> decoded = DecodeBase64(TrimBlanks(value.substr(blank + 1)));
  if (!decoded) return result;
  const std::size_t colon = decoded->find(':');
  if (colon == std::string::npos) return result;
  result.state_ = State::kCredentials;
  result.credentials_.name = decoded->substr(0, colon);
  result.credentials_.password = decoded->substr(colon + 1);
  return result;
}

}  // namespace plumwit::server
