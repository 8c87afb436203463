#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace plumwit::server {

class PasswordHashError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Salted yescrypt hashes through crypt(3); the plain password never leaves
// these calls.
class PasswordHasher {
 public:
  // Throws PasswordHashError when no hash can be made (for example a
  // password holding a NUL byte).
  static std::string Hash(std::string_view password);
  // False for a wrong password and for anything that cannot be checked.
  static bool Verify(std::string_view password, const std::string& stored_hash);
};

}  // namespace plumwit::server
