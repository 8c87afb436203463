#include <gtest/gtest.h>

#include <cerrno>

#include <boost/asio/error.hpp>
#include <boost/beast/core/error.hpp>

#include "core/service/socket_errors.h"

namespace plumwit {
namespace {

TEST(SocketErrorMessage, IsTheNumberThenTheTextAfterALineBreak) {
  EXPECT_EQ(SocketErrorMessage(11001), "Socket Error # 11001\r\nHost not found.");
  EXPECT_EQ(SocketErrorMessage(10061), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(SocketErrorMessage(10060), "Socket Error # 10060\r\nConnection timed out.");
  EXPECT_EQ(SocketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
  EXPECT_EQ(SocketErrorMessage(10004), "Socket Error # 10004\r\nInterrupted system call.");
  // A number the table lacks has nothing after the line break.
  EXPECT_EQ(SocketErrorMessage(10001), "Socket Error # 10001\r\n");
}

TEST(WsaCodeFor, MapsPlatformFailuresToTheirWindowsNumbers) {
  namespace error = boost::asio::error;
  const struct {
    boost::system::error_code platform;
    int wsa;
  } cases[] = {
      {error::host_not_found, 11001},
      {error::host_not_found_try_again, 11001},
      {error::no_data, 11001},
      {error::no_recovery, 11001},
      {error::service_not_found, 11001},
      {error::connection_refused, 10061},
      {error::timed_out, 10060},
      {boost::beast::error::timeout, 10060},
      {error::connection_reset, 10054},
      {error::broken_pipe, 10054},
      {error::connection_aborted, 10053},
      {error::network_unreachable, 10051},
      {error::host_unreachable, 10065},
      {error::network_down, 10050},
      {error::address_in_use, 10048},
      {error::no_buffer_space, 10055},
      {error::not_connected, 10057},
      {boost::system::error_code(EHOSTDOWN, boost::system::system_category()), 10064},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.platform.message());
    EXPECT_EQ(WsaCodeFor(entry.platform), entry.wsa);
  }
}

TEST(MakeSocketError, CarriesTheNumberAndTheMessage) {
  const SocketError error = MakeSocketError(boost::asio::error::connection_refused);
  EXPECT_EQ(error.Code(), 10061);
  EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
}

}  // namespace
}  // namespace plumwit
