#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plumwit::server {

struct Credentials {
  std::string name;
  std::string password;
};

// What a request's Authorization header says.
class BasicAuthorization {
 public:
  enum class State {
    kAbsent,       // no header
    kCredentials,  // "Basic" with a well-formed name:password
    kOtherScheme,  // a scheme this service does not offer
    kMalformed,    // "Basic" with broken Base64 or no colon
  };

  static BasicAuthorization Parse(const std::optional<std::string>& header);

  State state() const { return state_; }
  const Credentials& credentials() const { return credentials_; }

 private:
  State state_ = State::kAbsent;
  Credentials credentials_;
};

// Strict RFC 4648 Base64 with padding; nullopt for anything else.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace plumwit::server
