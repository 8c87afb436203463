#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <boost/asio/ip/tcp.hpp>

namespace plumwit {

// The addresses of `host` (a name or a literal address), with `port`.
// Throws SocketError: "Host not found." (11001) when the name does not
// resolve, "Connection timed out." (10060) when the lookup takes longer than
// `timeout`. The system's lookup cannot be cancelled, so a late one is left
// to finish on its own thread and its answer dropped.
std::vector<boost::asio::ip::tcp::endpoint> LookUpHost(const std::string& host, std::uint16_t port,
                                                       std::chrono::milliseconds timeout);

}  // namespace plumwit
