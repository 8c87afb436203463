#include "support/test_authority.h"

#include <cstdlib>
#include <stdexcept>

namespace plumwit::testing {

TestAuthority::TestAuthority() {
  const std::string command =
      std::string("'") + PLUMWIT_MAKE_TEST_AUTHORITY + "' '" + folder_.Path() + "'";
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("make_test_authority failed: " + command);
  }
}

const TestAuthority& TestAuthority::Shared() {
  static const TestAuthority authority;
  return authority;
}

TrustTestAuthority::TrustTestAuthority() {
  setenv("SSL_CERT_FILE", TestAuthority::Shared().AuthorityFile().c_str(), 1);
  setenv("SSL_CERT_DIR", empty_folder_.Path().c_str(), 1);
}

TrustTestAuthority::~TrustTestAuthority() {
  unsetenv("SSL_CERT_FILE");
  unsetenv("SSL_CERT_DIR");
}

}  // namespace plumwit::testing
