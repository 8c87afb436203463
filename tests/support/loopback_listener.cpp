#include "support/loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace plumwit::testing {
namespace {

[[noreturn]] void Fail(int fd, const char* call) {
  const std::string reason = std::strerror(errno);
  if (fd >= 0) ::close(fd);
  throw std::runtime_error(std::string("loopback listener: ") + call + ": " + reason);
}

}  // namespace

int ListenOnLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail(fd, "socket");
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Fail(fd, "bind");
  if (::listen(fd, 16) != 0) Fail(fd, "listen");
  socklen_t length = sizeof address;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Fail(fd, "getsockname");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace plumwit::testing
