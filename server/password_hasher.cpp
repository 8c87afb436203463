#include "server/password_hasher.h"

#include <crypt.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace plumwit::server {
namespace {

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};

// crypt_ra's scratch area; wiped before it is released because it held the
// password.
class CryptScratch {
 public:
  CryptScratch() = default;
  CryptScratch(const CryptScratch&) = delete;
  CryptScratch& operator=(const CryptScratch&) = delete;
  ~CryptScratch() {
    if (data_ != nullptr) {
      explicit_bzero(data_, static_cast<std::size_t>(size_));
      std::free(data_);
    }
  }
  // The hash of `password` with `setting`, or an empty string on failure.
  std::string Run(const std::string& password, const char* setting) {
    const char* result = crypt_ra(password.c_str(), setting, &data_, &size_);
    if (result == nullptr || result[0] == '*') return {};
    return result;
  }

 private:
  void* data_ = nullptr;
  int size_ = 0;
};

bool HasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

bool ConstantTimeEquals(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  }
  return difference == 0;
}

}  // namespace

std::string PasswordHasher::Hash(std::string_view password) {
  if (HasNul(password)) throw PasswordHashError("A password cannot hold a NUL character.");
  std::unique_ptr<char, FreeDeleter> setting(crypt_gensalt_ra("$y$", 0, nullptr, 0));
  if (!setting) throw PasswordHashError("No salt could be made for the password hash.");
  std::string plain(password);
  CryptScratch scratch;
  std::string hash = scratch.Run(plain, setting.get());
  explicit_bzero(plain.data(), plain.size());
  if (hash.empty()) throw PasswordHashError("The password could not be hashed.");
  return hash;
}

bool PasswordHasher::Verify(std::string_view password, const std::string& stored_hash) {
  if (HasNul(password) || stored_hash.empty()) return false;
  std::string plain(password);
  CryptScratch scratch;
  const std::string hash = scratch.Run(plain, stored_hash.c_str());
  explicit_bzero(plain.data(), plain.size());
  return !hash.empty() && ConstantTimeEquals(hash, stored_hash);
}

}  // namespace plumwit::server
