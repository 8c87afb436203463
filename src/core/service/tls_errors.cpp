#include "core/service/tls_errors.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <boost/asio/error.hpp>
#include <boost/asio/ssl/error.hpp>

#include "core/service/socket_errors.h"

namespace plumwit {

namespace {

// Every text a user may see for a TLS failure, so they read alike.
constexpr char kFirstLine[] = "TLS Error\r\n";
constexpr char kUntrusted[] = "The server's certificate is not signed by a trusted authority.";
constexpr char kSelfSigned[] = "The server's certificate is self-signed.";
constexpr char kExpired[] = "The server's certificate has expired.";
constexpr char kNotYetValid[] = "The server's certificate is not valid yet.";
constexpr char kWrongHostStart[] = "The server's certificate is not valid for ";
constexpr char kSetupFailedStart[] = "The secure connection could not be set up: ";
constexpr char kNotTls[] =
    "The server did not answer in TLS; it may speak plain HTTP on this port.";
constexpr char kTruncated[] =
    "The server ended the secure connection without closing it properly; the reply may be "
    "incomplete.";
constexpr char kBrokenStart[] = "The secure connection failed: ";

constexpr char kOldProtocol[] =
    "the server offers no TLS version this program accepts (1.2 or newer)";
constexpr char kNoCommonCipher[] = "the server and this program have no cipher in common";
constexpr char kRefusedHandshake[] = "the server refused the handshake";
constexpr char kClosedInHandshake[] = "the server closed the connection during the handshake";

TlsError MakeTlsError(const std::string& sentence) { return TlsError(kFirstLine + sentence); }

TlsError SetupFailed(const std::string& reason) {
  return MakeTlsError(kSetupFailedStart + reason + ".");
}

int ReasonOf(const boost::system::error_code& error) {
  return ERR_GET_REASON(static_cast<unsigned long>(error.value()));
}

// OpenSSL's own words for a failure no sentence above covers, without a
// final full stop of their own.
std::string OpenSslReason(const boost::system::error_code& error) {
  const char* reason = ERR_reason_error_string(static_cast<unsigned long>(error.value()));
  std::string text = reason ? reason : error.message();
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text.empty() ? "unknown reason" : text;
}

const char* CertificateSentence(long verify_result) {
  switch (verify_result) {
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
      return kSelfSigned;
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return kExpired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return kNotYetValid;
    default:
      return kUntrusted;
  }
}

bool IsWrongHost(long verify_result) {
  return verify_result == X509_V_ERR_HOSTNAME_MISMATCH ||
         verify_result == X509_V_ERR_IP_ADDRESS_MISMATCH;
}

TlsError CertificateRefused(long verify_result, const std::string& host) {
  if (IsWrongHost(verify_result)) return MakeTlsError(kWrongHostStart + host + ".");
  return MakeTlsError(CertificateSentence(verify_result));
}

// What the handshake's protocol failure, `error`, means to a user.
TlsError ProtocolFailure(const boost::system::error_code& error) {
  switch (ReasonOf(error)) {
    case SSL_R_WRONG_VERSION_NUMBER:
    case SSL_R_PACKET_LENGTH_TOO_LONG:
    case SSL_R_RECORD_LENGTH_MISMATCH:
      return MakeTlsError(kNotTls);
    case SSL_R_UNSUPPORTED_PROTOCOL:
    case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
    case SSL_R_VERSION_TOO_LOW:
    case SSL_R_NO_PROTOCOLS_AVAILABLE:
      return SetupFailed(kOldProtocol);
    case SSL_R_NO_SHARED_CIPHER:
    case SSL_R_NO_CIPHERS_AVAILABLE:
      return SetupFailed(kNoCommonCipher);
    case SSL_R_SSLV3_ALERT_HANDSHAKE_FAILURE:
      return SetupFailed(kRefusedHandshake);
    case SSL_R_UNEXPECTED_EOF_WHILE_READING:
      return SetupFailed(kClosedInHandshake);
    default:
      return SetupFailed(OpenSslReason(error));
  }
}

}  // namespace

TlsError HandshakeFailure(const boost::system::error_code& error, long verify_result,
                          const std::string& host) {
  if (verify_result != X509_V_OK) return CertificateRefused(verify_result, host);
  if (error == boost::asio::error::eof || IsCloseWithoutNotify(error)) {
    return SetupFailed(kClosedInHandshake);
  }
  if (error.category() == boost::asio::error::get_ssl_category()) return ProtocolFailure(error);
  return SetupFailed(OpenSslReason(error));
}

TlsError UncheckableHostError(const std::string& host) {
  return SetupFailed("\"" + host + "\" is no name a certificate could be checked against");
}

TlsError TruncatedReplyError() { return MakeTlsError(kTruncated); }

bool IsTlsFailure(const boost::system::error_code& error) {
  return error.category() == boost::asio::error::get_ssl_category() ||
         error.category() == boost::asio::ssl::error::get_stream_category();
}

bool IsCloseWithoutNotify(const boost::system::error_code& error) {
  if (error == boost::asio::ssl::error::stream_truncated) return true;
  return error.category() == boost::asio::error::get_ssl_category() &&
         ReasonOf(error) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

void ThrowTransferFailure(const boost::system::error_code& error) {
  if (IsTlsFailure(error)) throw MakeTlsError(kBrokenStart + OpenSslReason(error) + ".");
  throw MakeSocketError(error);
}

}  // namespace plumwit
