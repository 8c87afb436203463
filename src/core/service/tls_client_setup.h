#pragma once

#include <string>

#include <boost/asio/ssl/context.hpp>

namespace plumwit {

// A client context that speaks TLS 1.2 or newer and checks the server's
// certificate against the system's authorities (SSL_CERT_FILE and
// SSL_CERT_DIR apply, as in every OpenSSL program).
boost::asio::ssl::context MakeTlsClientContext();

// Makes the connection `ssl` ask for `host` (SNI, for host names only) and
// accept only a certificate made out to it: the name, or the address for an
// IP literal. Throws TlsError for a host that cannot be checked.
void ExpectCertificateFor(SSL* ssl, const std::string& host);

}  // namespace plumwit
