#include "server/server.h"

#include <boost/asio/ip/address.hpp>
#include <boost/asio/signal_set.hpp>

#include <csignal>
#include <future>
#include <stdexcept>

#include "server/data_folder.h"
#include "server/demo_seeder.h"
#include "server/http_listener.h"
#include "server/open_file_limit.h"
#include "server/tls_context.h"

namespace plumwit::server {

namespace asio = boost::asio;

namespace {

std::string JoinHostPort(const std::string& address, unsigned short port) {
  const bool ipv6 = address.find(':') != std::string::npos;
  return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

std::shared_ptr<asio::ssl::context> LoadTls(const std::filesystem::path& certificate,
                                            const std::filesystem::path& key) {
  if (certificate.empty() && key.empty()) return nullptr;
  if (certificate.empty() || key.empty()) {
    throw std::invalid_argument("TLS needs both a certificate and its key.");
  }
  return TlsContext::Load(certificate, key);
}

}  // namespace

Server::Server(ServerOptions options) : options_(std::move(options)), log_(options_.log_sink) {
  // First, so that a wrong certificate leaves the data untouched.
  tls_ = LoadTls(options_.tls_certificate, options_.tls_key);
  DataFolder::Prepare(options_.data_folder);
  store_ = std::make_unique<Store>(options_.data_folder / kDatabaseFileName);
  if (options_.seed_demo) DemoSeeder(*store_).SeedOnce();

  options_.limits = FitToOpenFiles(options_.limits);
  password_checks_ = std::make_unique<PasswordCheckPool>(
      options_.limits.password_check_threads, options_.limits.max_waiting_password_checks);

  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options_.address), options_.port);
  // The router's links need the port actually bound, so bind first.
  listener_ = std::make_shared<HttpListener>(io_, endpoint, log_, options_.limits, tls_);
  port_ = listener_->LocalEndpoint().port();
  router_ = std::make_unique<Router>(*store_, Scheme(), HostAndPort(),
                                     [this](std::string_view text) { log_.Note(text); });
}

Server::~Server() { Stop(); }

std::string Server::HostAndPort() const { return JoinHostPort(options_.address, port_); }

std::string Server::Scheme() const { return tls_ ? "https" : "http"; }

void Server::Start() {
  if (started_) return;
  started_ = true;
  work_.emplace(io_.get_executor());
  listener_->Start(*router_, *password_checks_);
  const int count = std::max(1, options_.threads);
  for (int i = 0; i < count; ++i) threads_.emplace_back([this] { io_.run(); });
}

void Server::Stop() {
  if (stopped_) return;
  stopped_ = true;
  if (listener_) listener_->Stop();
  work_.reset();
  io_.stop();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
  // After the I/O threads: a check finishing now posts its answer to a
  // stopped io_context, and the connections of the dropped ones close while
  // it still exists.
  if (password_checks_) password_checks_->Stop();
}

HttpLimits Server::FitToOpenFiles(HttpLimits limits) {
  if (limits.max_connections != 0) return limits;
  const std::size_t available = OpenFileLimit::Current();
  const std::size_t reserved =
      OpenFileLimit::OpenNow() + kSpareDescriptors + limits.max_refused_connections;
  limits.max_connections = available > reserved ? available - reserved : 1;
  return limits;
}

int Server::RunUntilSignalled(const std::function<void()>& on_serving) {
  asio::signal_set signals(io_, SIGINT, SIGTERM);
  std::promise<int> caught;
  signals.async_wait([&caught](const boost::system::error_code& error, int number) {
    caught.set_value(error ? 0 : number);
  });
  Start();
  if (on_serving) on_serving();
  const int signal_number = caught.get_future().get();
  Stop();
  return signal_number;
}

}  // namespace plumwit::server
