#pragma once

#include <string>

#include <boost/system/error_code.hpp>

#include "core/service/http_client.h"

namespace plumwit {

// The error for a handshake that failed with `error`. `verify_result` is the
// certificate check's outcome (SSL_get_verify_result); a refused certificate
// is named by what is wrong with it, `host` being the URL's host.
TlsError HandshakeFailure(const boost::system::error_code& error, long verify_result,
                          const std::string& host);

// `host` is no name or address a certificate could be checked against.
TlsError UncheckableHostError(const std::string& host);

// The server ended the secure connection without close_notify before its
// reply was complete.
TlsError TruncatedReplyError();

// Whether `error` comes from the TLS layer rather than from the socket.
bool IsTlsFailure(const boost::system::error_code& error);

// Whether `error` says the peer closed the connection without close_notify.
bool IsCloseWithoutNotify(const boost::system::error_code& error);

// Throws the TlsError or SocketError that `error`, a failed write or read on
// an open connection, stands for.
[[noreturn]] void ThrowTransferFailure(const boost::system::error_code& error);

}  // namespace plumwit
