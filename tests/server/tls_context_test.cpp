// Loading the service's certificate and key: what is refused at start, and
// that the message names the file at fault.

#include <gtest/gtest.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "server/server.h"
#include "server/tls_context.h"
#include "support/scratch_folder.h"
#include "support/test_authority.h"

namespace plumwit::server {
namespace {

using plumwit::testing::ReadBytes;
using plumwit::testing::ScratchFolder;
using plumwit::testing::TestAuthority;
using plumwit::testing::WriteBytes;

const TestAuthority& Authority() { return TestAuthority::Shared(); }

// A certificate for the good key that becomes valid only tomorrow; the test
// authority has none, since openssl's x509 command cannot date one ahead.
void WriteNotYetValidCertificate(const std::string& path) {
  std::FILE* key_file = std::fopen(Authority().KeyFile("good").c_str(), "r");
  ASSERT_NE(key_file, nullptr);
  EVP_PKEY* key = PEM_read_PrivateKey(key_file, nullptr, nullptr, nullptr);
  std::fclose(key_file);
  ASSERT_NE(key, nullptr);
  X509* certificate = X509_new();
  X509_set_version(certificate, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), 7);
  X509_gmtime_adj(X509_getm_notBefore(certificate), 24 * 60 * 60);
  X509_gmtime_adj(X509_getm_notAfter(certificate), 2 * 24 * 60 * 60);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(certificate, name);
  X509_set_pubkey(certificate, key);
  X509_sign(certificate, key, EVP_sha256());
  std::FILE* out = std::fopen(path.c_str(), "w");
  ASSERT_NE(out, nullptr);
  PEM_write_X509(out, certificate);
  std::fclose(out);
  X509_free(certificate);
  EVP_PKEY_free(key);
}

std::string LoadError(const std::string& certificate, const std::string& key) {
  try {
    TlsContext::Load(certificate, key);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "(loaded)";
}

TEST(TlsContextTest, RefusesEachBadFileNamingIt) {
  ScratchFolder folder;
  const std::string not_pem = folder.File("notes.txt");
  WriteBytes(not_pem, "This is not a certificate.\n");
  const std::string ahead = folder.File("ahead.pem");
  WriteNotYetValidCertificate(ahead);
  const std::string good = Authority().CertificateFile("good");
  const std::string good_key = Authority().KeyFile("good");
  const std::string missing = folder.File("missing.pem");

  struct Case {
    std::string certificate;
    std::string key;
    std::string named;
    std::string says;
  };
  const Case cases[] = {
      {missing, good_key, missing, "Cannot read the TLS certificate"},
      {good, missing, missing, "Cannot read the TLS key"},
      {not_pem, good_key, not_pem, "holds no PEM certificate"},
      {good_key, good_key, good_key, "holds no PEM certificate"},
      {good, not_pem, not_pem, "holds no PEM private key"},
      {good, good, good, "holds no PEM private key"},
      {good, Authority().KeyFile("unknown-ca"), Authority().KeyFile("unknown-ca"),
       "does not match the certificate " + good},
      {Authority().CertificateFile("expired"), Authority().KeyFile("expired"),
       Authority().CertificateFile("expired"), "expired on Jan  2 00:00:00 2020 GMT"},
      {ahead, good_key, ahead, "is not valid before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.certificate + " + " + c.key);
    const std::string message = LoadError(c.certificate, c.key);
    EXPECT_NE(message.find(c.named), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

TEST(TlsContextTest, TakesACertificateAloneOrFollowedByItsChain) {
  EXPECT_EQ(LoadError(Authority().CertificateFile("good"), Authority().KeyFile("good")),
            "(loaded)");
  ScratchFolder folder;
  const std::string chain = folder.File("chain.pem");
  WriteBytes(chain, ReadBytes(Authority().CertificateFile("good")) +
                        ReadBytes(Authority().AuthorityFile()));
  EXPECT_EQ(LoadError(chain, Authority().KeyFile("good")), "(loaded)");
}

TEST(TlsContextTest, AServerWithABadCertificateLeavesItsDataFolderUntouched) {
  ScratchFolder folder;
  ServerOptions options;
  options.port = 0;
  options.data_folder = folder.File("data");
  options.tls_certificate = Authority().CertificateFile("expired");
  options.tls_key = Authority().KeyFile("expired");
  EXPECT_THROW(Server{options}, std::runtime_error);
  options.tls_certificate.clear();
  EXPECT_THROW(Server{options}, std::invalid_argument);
  EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace plumwit::server
