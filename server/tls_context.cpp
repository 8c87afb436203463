#include "server/tls_context.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace plumwit::server {

namespace ssl = boost::asio::ssl;

namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct X509Free {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Bio = std::unique_ptr<BIO, BioFree>;
using Certificate = std::unique_ptr<X509, X509Free>;
using PrivateKey = std::unique_ptr<EVP_PKEY, KeyFree>;

std::string ReadFile(const std::filesystem::path& path, const std::string& what) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  if (file) contents << file.rdbuf();
  if (!file || file.bad()) {
    throw std::runtime_error("Cannot read the " + what + " " + path.string() + ": " +
                             std::strerror(errno));
  }
  return contents.str();
}

Bio MemoryBio(const std::string& contents) {
  return Bio(BIO_new_mem_buf(contents.data(), static_cast<int>(contents.size())));
}

// A key protected by a passphrase must not make the service wait for
// someone to type one at start.
int NoPassphrase(char*, int, int, void*) { return 0; }

std::string TimeText(const ASN1_TIME* time) {
  Bio text(BIO_new(BIO_s_mem()));
  ASN1_TIME_print(text.get(), time);
  char* data = nullptr;
  const long size = BIO_get_mem_data(text.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

void CheckValidityPeriod(X509* certificate, const std::filesystem::path& path) {
  const ASN1_TIME* not_before = X509_get0_notBefore(certificate);
  const ASN1_TIME* not_after = X509_get0_notAfter(certificate);
  if (X509_cmp_current_time(not_before) >= 0) {
    throw std::runtime_error("The TLS certificate " + path.string() + " is not valid before " +
                             TimeText(not_before) + ".");
  }
  if (X509_cmp_current_time(not_after) <= 0) {
    throw std::runtime_error("The TLS certificate " + path.string() + " expired on " +
                             TimeText(not_after) + ".");
  }
}

void UseCertificateChain(SSL_CTX* context, const std::filesystem::path& path) {
  ERR_clear_error();
  const std::string contents = ReadFile(path, "TLS certificate");
  const Bio input = MemoryBio(contents);
  Certificate leaf(PEM_read_bio_X509(input.get(), nullptr, NoPassphrase, nullptr));
  if (!leaf) {
    throw std::runtime_error("The TLS certificate " + path.string() + " holds no PEM certificate.");
  }
  CheckValidityPeriod(leaf.get(), path);
  SSL_CTX_use_certificate(context, leaf.get());
  // Certificates after the first are the chain up to the authority.
  while (Certificate next{PEM_read_bio_X509(input.get(), nullptr, NoPassphrase, nullptr)}) {
    SSL_CTX_add1_chain_cert(context, next.get());
  }
  ERR_clear_error();  // the loop ends on "no start line"
}

void UsePrivateKey(SSL_CTX* context, const std::filesystem::path& path,
                   const std::filesystem::path& certificate_path) {
  const std::string contents = ReadFile(path, "TLS key");
  const Bio input = MemoryBio(contents);
  const PrivateKey key(PEM_read_bio_PrivateKey(input.get(), nullptr, NoPassphrase, nullptr));
  ERR_clear_error();
  if (!key) {
    throw std::runtime_error("The TLS key " + path.string() +
                             " holds no PEM private key without a passphrase.");
  }
  if (SSL_CTX_use_PrivateKey(context, key.get()) != 1 || SSL_CTX_check_private_key(context) != 1) {
    ERR_clear_error();
    throw std::runtime_error("The TLS key " + path.string() + " does not match the certificate " +
                             certificate_path.string() + ".");
  }
}

}  // namespace

std::shared_ptr<ssl::context> TlsContext::Load(const std::filesystem::path& certificate,
                                               const std::filesystem::path& key) {
  auto context = std::make_shared<ssl::context>(ssl::context::tls_server);
  SSL_CTX* native = context->native_handle();
  // OpenSSL's own cipher choice at these versions is sound; renegotiation
  // only gives a client a way to make the server work harder.
  SSL_CTX_set_min_proto_version(native, TLS1_2_VERSION);
  SSL_CTX_set_options(native, SSL_OP_NO_RENEGOTIATION | SSL_OP_CIPHER_SERVER_PREFERENCE);
  UseCertificateChain(native, certificate);
  UsePrivateKey(native, key, certificate);
  return context;
}

}  // namespace plumwit::server
