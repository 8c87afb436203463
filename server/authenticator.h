#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

#include "server/basic_authorization.h"
#include "server/records.h"
#include "server/store.h"

namespace plumwit::server {

// Checks credentials against the stored hashes. A yescrypt check costs
// milliseconds, so credentials that passed once are remembered for this
// process as a salted digest (never the password), bound to the stored hash
// so that a new password invalidates them. Wrong passwords are always checked
// in full.
class Authenticator {
 public:
  explicit Authenticator(Store& store);

  std::optional<Account> Authenticate(const Credentials& credentials);
  // Whether Authenticate() would run a full check for these credentials (an
  // account with a password, credentials not remembered), so the caller can
  // run it where milliseconds of CPU hold up nobody.
  bool NeedsFullCheck(const Credentials& credentials);

 private:
  std::string Digest(const Credentials& credentials, const std::string& stored_hash) const;

  static constexpr std::size_t kMaxRemembered = 10000;

  Store& store_;
  std::string salt_;
  std::mutex mutex_;
  std::unordered_set<std::string> verified_;
};

}  // namespace plumwit::server
