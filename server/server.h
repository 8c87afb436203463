#pragma once

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/http_limits.h"
#include "server/password_check_pool.h"
#include "server/request_log.h"
#include "server/router.h"
#include "server/store.h"

namespace plumwit::server {

class HttpListener;

struct ServerOptions {
  std::string address = "127.0.0.1";
  unsigned short port = 8080;  // 0 picks a free port
  std::filesystem::path data_folder;
  bool seed_demo = false;
  int threads = 2;
  HttpLimits limits;          // max_connections 0: as many as the open-file limit leaves room for
  RequestLog::Sink log_sink;  // empty: standard error
  // PEM files; with both the service speaks only HTTPS, with neither only
  // HTTP.
  std::filesystem::path tls_certificate;
  std::filesystem::path tls_key;
};

// The whole service: the store in the data folder, the router and the HTTP
// listener with its worker threads.
class Server {
 public:
  // Loads the TLS certificate and key if given, opens (or creates) the
  // data, seeds the demo if asked, and binds the address; throws when any
  // of that fails. Serves nothing until Start().
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  void Start();
  // Stops accepting and serving, and waits for the worker threads.
  void Stop();
  // Start(), then wait for SIGINT or SIGTERM, then Stop(). Returns the
  // signal. `on_serving` runs once the signals are caught and the service
  // answers.
  int RunUntilSignalled(const std::function<void()>& on_serving = {});

  unsigned short Port() const { return port_; }
  // "address:port", as clients reach it.
  std::string HostAndPort() const;
  // "https" when serving TLS, else "http".
  std::string Scheme() const;

  static constexpr const char* kDatabaseFileName = "plumwit.sqlite3";
  // Descriptors kept free beyond those open at start, for the database's
  // journal and temporary files, the listener, signals and timers.
  static constexpr std::size_t kSpareDescriptors = 16;

  // `limits` with max_connections set when it is 0: the open-file limit less
  // what is open now, the spares and the refusals.
  static HttpLimits FitToOpenFiles(HttpLimits limits);

 private:
  ServerOptions options_;
  RequestLog log_;
  std::shared_ptr<boost::asio::ssl::context> tls_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Router> router_;
  std::unique_ptr<PasswordCheckPool> password_checks_;
  boost::asio::io_context io_;
  std::optional<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>> work_;
  std::shared_ptr<HttpListener> listener_;
  std::vector<std::thread> threads_;
  unsigned short port_ = 0;
  bool started_ = false;
  bool stopped_ = false;
};

}  // namespace plumwit::server
