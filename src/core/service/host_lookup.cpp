#include "core/service/host_lookup.h"

#include <future>
#include <memory>
#include <thread>

#include <boost/asio/io_context.hpp>

#include "core/service/socket_errors.h"

namespace plumwit {

namespace {

using Endpoints = std::vector<boost::asio::ip::tcp::endpoint>;

Endpoints ResolveBlocking(const std::string& host, std::uint16_t port) {
  boost::asio::io_context io;
  boost::asio::ip::tcp::resolver resolver(io);
  boost::system::error_code error;
  const auto results = resolver.resolve(host, std::to_string(port),
                                        boost::asio::ip::resolver_base::numeric_service, error);
  Endpoints endpoints;
  if (!error) {
    for (const auto& entry : results) endpoints.push_back(entry.endpoint());
  }
  return endpoints;
}

}  // namespace

Endpoints LookUpHost(const std::string& host, std::uint16_t port,
                     std::chrono::milliseconds timeout) {
  boost::system::error_code not_literal;
  const auto address = boost::asio::ip::make_address(host, not_literal);
  if (!not_literal) return {boost::asio::ip::tcp::endpoint(address, port)};
  if (host.empty()) throw MakeWsaSocketError(kWsaHostNotFound);

  auto answer = std::make_shared<std::promise<Endpoints>>();
  std::future<Endpoints> result = answer->get_future();
  std::thread([answer, host, port] {
    try {
      answer->set_value(ResolveBlocking(host, port));
    } catch (...) {
      answer->set_value({});
    }
  }).detach();
  if (result.wait_for(timeout) != std::future_status::ready) {
    throw MakeWsaSocketError(kWsaTimedOut);
  }
  Endpoints endpoints = result.get();
  if (endpoints.empty()) throw MakeWsaSocketError(kWsaHostNotFound);
  return endpoints;
}

}  // namespace plumwit
