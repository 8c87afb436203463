#include "core/service/tls_client_setup.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <boost/asio/ip/address.hpp>

#include "core/service/tls_errors.h"

namespace plumwit {

namespace {

bool IsAddressLiteral(const std::string& host) {
  boost::system::error_code not_literal;
  boost::asio::ip::make_address(host, not_literal);
  return !not_literal;
}

[[noreturn]] void ThrowUncheckableHost(const std::string& host) {
  throw UncheckableHostError(host);
}

}  // namespace

boost::asio::ssl::context MakeTlsClientContext() {
  boost::asio::ssl::context context(boost::asio::ssl::context::tls_client);
  SSL_CTX_set_min_proto_version(context.native_handle(), TLS1_2_VERSION);
  context.set_options(boost::asio::ssl::context::default_workarounds |
                      boost::asio::ssl::context::no_compression);
  context.set_default_verify_paths();
  context.set_verify_mode(boost::asio::ssl::verify_peer);
  return context;
}

void ExpectCertificateFor(SSL* ssl, const std::string& host) {
  if (IsAddressLiteral(host)) {
    if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str()) != 1) {
      ThrowUncheckableHost(host);
    }
    return;
  }
  SSL_set_hostflags(ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
  if (SSL_set_tlsext_host_name(ssl, host.c_str()) != 1 || SSL_set1_host(ssl, host.c_str()) != 1) {
    ThrowUncheckableHost(host);
  }
}

}  // namespace plumwit
