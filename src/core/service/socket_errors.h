#pragma once

#include <string>

#include <boost/system/error_code.hpp>

#include "core/service/http_client.h"

namespace plumwit {

// Windows Sockets numbers that the program's callers and users know.
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnectionRefused = 10061;
inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaHostNotFound = 11001;

// "Socket Error # N" CR LF and the table's text for N (nothing after the
// line break when the table lacks N).
std::string SocketErrorMessage(int wsa_code);

// The Windows Sockets number for a platform failure; failed name lookups
// give 11001. A failure with no Windows counterpart keeps its own number.
int WsaCodeFor(const boost::system::error_code& error);

SocketError MakeWsaSocketError(int wsa_code);
SocketError MakeSocketError(const boost::system::error_code& error);

}  // namespace plumwit
