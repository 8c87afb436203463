#pragma once

#include <string>

#include "support/scratch_folder.h"

namespace plumwit::testing {

// The certificates of make_test_authority, made once per test program in a
// scratch folder. Tests that trust the authority point SSL_CERT_FILE at
// AuthorityFile(), as any OpenSSL program's user would.
class TestAuthority {
 public:
  static const TestAuthority& Shared();

  // The authority the client is to trust.
  std::string AuthorityFile() const { return folder_.File("ca.pem"); }
  // "good", "expired", "wrong-name", "self-signed" or "unknown-ca".
  std::string CertificateFile(const std::string& name) const { return folder_.File(name + ".pem"); }
  std::string KeyFile(const std::string& name) const { return folder_.File(name + ".key"); }

 private:
  TestAuthority();
  ScratchFolder folder_;
};

// Sets SSL_CERT_FILE to the test authority for as long as it lives (and
// SSL_CERT_DIR to an empty folder, so the system's authorities are not
// trusted meanwhile).
class TrustTestAuthority {
 public:
  TrustTestAuthority();
  ~TrustTestAuthority();
  TrustTestAuthority(const TrustTestAuthority&) = delete;
  TrustTestAuthority& operator=(const TrustTestAuthority&) = delete;

 private:
  ScratchFolder empty_folder_;
};

}  // namespace plumwit::testing
