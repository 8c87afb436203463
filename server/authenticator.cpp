#include "server/authenticator.h"

#include <boost/uuid/detail/sha1.hpp>

#include <random>

#include "server/password_hasher.h"

namespace plumwit::server {
namespace {

std::string RandomSalt() {
  std::random_device device;
  std::string salt;
  for (int i = 0; i < 32; ++i) salt += static_cast<char>(device() & 0xFF);
  return salt;
}

void AddField(boost::uuids::detail::sha1& hash, const std::string& field) {
  const std::string length = std::to_string(field.size()) + ':';
  hash.process_bytes(length.data(), length.size());
  hash.process_bytes(field.data(), field.size());
}

}  // namespace

Authenticator::Authenticator(Store& store) : store_(store), salt_(RandomSalt()) {}

std::optional<Account> Authenticator::Authenticate(const Credentials& credentials) {
  std::optional<Account> account = store_.FindAccount(credentials.name);
  if (!account) return std::nullopt;
  const std::string digest = Digest(credentials, account->password_hash);
  {
    std::lock_guard lock(mutex_);
    if (verified_.count(digest) != 0) return account;
  }
  if (!PasswordHasher::Verify(credentials.password, account->password_hash)) return std::nullopt;
  std::lock_guard lock(mutex_);
  if (verified_.size() >= kMaxRemembered) verified_.clear();
  verified_.insert(digest);
  return account;
}

bool Authenticator::NeedsFullCheck(const Credentials& credentials) {
  const std::optional<Account> account = store_.FindAccount(credentials.name);
  if (!account || account->password_hash.empty()) return false;
  const std::string digest = Digest(credentials, account->password_hash);
  std::lock_guard lock(mutex_);
  return verified_.count(digest) == 0;
}

std::string Authenticator::Digest(const Credentials& credentials,
                                  const std::string& stored_hash) const {
  boost::uuids::detail::sha1 hash;
  AddField(hash, salt_);
  AddField(hash, credentials.name);
  AddField(hash, credentials.password);
  AddField(hash, stored_hash);
  boost::uuids::detail::sha1::digest_type digest;
  hash.get_digest(digest);
  std::string bytes;
  for (const unsigned int word : digest) bytes += std::to_string(word) + '.';
  return bytes;
}

}  // namespace plumwit::server
