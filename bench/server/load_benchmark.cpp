// plumwit_server_load: a bounded load run against an in-process service on
// loopback. Each connection asks, keep-alive, for the demo home timeline of
// 20 statuses, the request the client repeats most; the run reports
// requests per second and latency percentiles at 1 and 16 connections, and
// fails when any answer is not a 200 with 20 statuses. A last run repeats
// the single connection while 16 others send wrong passwords as fast as they
// are answered: a password check costs milliseconds of CPU, and such a flood
// must not starve the clients that signed in correctly.

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/detail/base64.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "server/server.h"

namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using Clock = std::chrono::steady_clock;

constexpr int kRequestsPerLevel = 4000;
constexpr auto kTimeBudgetPerLevel = std::chrono::seconds(20);
constexpr int kWarmUpRequests = 50;
constexpr const char* kTarget = "/statuses/home_timeline/demo.xml?count=20";
constexpr const char* kAuthorization = "Basic ZGVtbzpkZW1v";  // demo:demo
constexpr int kFloodConnections = 16;
constexpr auto kFloodTime = std::chrono::seconds(8);

struct LevelResult {
  int connections = 0;
  int requests = 0;
  int errors = 0;
  double seconds = 0;
  std::vector<double> latencies_ms;
};

std::string Base64(const std::string& text) {
  std::string encoded(boost::beast::detail::base64::encoded_size(text.size()), '\0');
  encoded.resize(boost::beast::detail::base64::encode(encoded.data(), text.data(), text.size()));
  return encoded;
}

std::size_t CountStatuses(const std::string& body) {
  std::size_t count = 0;
  for (std::size_t at = body.find("<status>"); at != std::string::npos;
       at = body.find("<status>", at + 1)) {
    ++count;
  }
  return count;
}

// One keep-alive connection issuing requests while the shared budget lasts.
void RunConnection(unsigned short port, std::atomic<int>& budget, Clock::time_point deadline,
                   std::vector<double>& latencies, std::atomic<int>& errors) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  socket.connect({asio::ip::make_address("127.0.0.1"), port});
  socket.set_option(asio::ip::tcp::no_delay(true));
  boost::beast::flat_buffer buffer;
  http::request<http::empty_body> request{http::verb::get, kTarget, 11};
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
  request.set(http::field::authorization, kAuthorization);
  while (budget.fetch_sub(1) > 0 && Clock::now() < deadline) {
    const auto start = Clock::now();
    http::response<http::string_body> response;
    boost::system::error_code error;
    http::write(socket, request, error);
    if (!error) http::read(socket, buffer, response, error);
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (error || response.result_int() != 200 || CountStatuses(response.body()) != 20) {
      ++errors;
      if (error) return;
    }
  }
}

struct FloodCounts {
  std::atomic<int> answers{0};
  std::atomic<int> unauthorized{0};
  std::atomic<int> busy{0};  // 503: the password checks were all taken
  std::atomic<int> other{0};
};

// One connection sending wrong passwords, each a different one, until
// `stop`; reconnects whenever the service closes the connection.
void RunFlooder(unsigned short port, int number, const std::atomic<bool>& stop,
                FloodCounts& counts) {
  asio::io_context io;
  int attempt = 0;
  while (!stop) {
    asio::ip::tcp::socket socket(io);
    boost::system::error_code error;
    socket.connect({asio::ip::make_address("127.0.0.1"), port}, error);
    if (error) continue;
    socket.set_option(asio::ip::tcp::no_delay(true));
    boost::beast::flat_buffer buffer;
    while (!stop && !error) {
      const std::string guess =
          "demo:guess-" + std::to_string(number) + "-" + std::to_string(++attempt);
      http::request<http::empty_body> request{http::verb::get, kTarget, 11};
      request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
      request.set(http::field::authorization, "Basic " + Base64(guess));
      http::response<http::string_body> response;
      http::write(socket, request, error);
      if (!error) http::read(socket, buffer, response, error);
      if (error) break;
      ++counts.answers;
      const unsigned status = response.result_int();
      ++(status == 401 ? counts.unauthorized : status == 503 ? counts.busy : counts.other);
      if (!response.keep_alive()) break;
    }
  }
}

LevelResult RunLevel(unsigned short port, int connections, int requests) {
  LevelResult result;
  result.connections = connections;
  std::atomic<int> budget{requests};
  std::atomic<int> errors{0};
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(connections));
  const auto start = Clock::now();
  const auto deadline = start + kTimeBudgetPerLevel;
  std::vector<std::thread> threads;
  for (int c = 0; c < connections; ++c) {
    threads.emplace_back([&, c] {
      try {
        RunConnection(port, budget, deadline, latencies[static_cast<std::size_t>(c)], errors);
      } catch (const std::exception&) {
        ++errors;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (const auto& part : latencies) {
    result.latencies_ms.insert(result.latencies_ms.end(), part.begin(), part.end());
  }
  result.requests = static_cast<int>(result.latencies_ms.size());
  result.errors = errors.load();
  std::sort(result.latencies_ms.begin(), result.latencies_ms.end());
  return result;
}

// The single correct client while kFloodConnections others guess passwords.
LevelResult RunFlood(unsigned short port, FloodCounts& counts) {
  std::atomic<bool> stop{false};
  std::vector<std::thread> flooders;
  for (int f = 0; f < kFloodConnections; ++f) {
    flooders.emplace_back([&, f] { RunFlooder(port, f, stop, counts); });
  }
  // Let the checks queue up before measuring.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  LevelResult result;
  std::atomic<int> budget{std::numeric_limits<int>::max()};
  std::atomic<int> errors{0};
  const auto start = Clock::now();
  try {
    RunConnection(port, budget, start + kFloodTime, result.latencies_ms, errors);
  } catch (const std::exception&) {
    ++errors;
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  stop = true;
  for (std::thread& flooder : flooders) flooder.join();
  result.connections = 1;
  result.requests = static_cast<int>(result.latencies_ms.size());
  result.errors = errors.load();
  std::sort(result.latencies_ms.begin(), result.latencies_ms.end());
  return result;
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
  return sorted[index];
}

void PrintRow(const std::string& connections, const LevelResult& result) {
  std::printf("%11s %9d %7d %10.0f %9.2f %9.2f\n", connections.c_str(), result.requests,
              result.errors, result.requests / result.seconds,
              Percentile(result.latencies_ms, 0.50), Percentile(result.latencies_ms, 0.99));
}

}  // namespace

int main() {
  char pattern[] = "/tmp/plumwit-load-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::filesystem::path data = pattern;
  int failures = 0;
  {
    plumwit::server::ServerOptions options;
    options.port = 0;
    options.data_folder = data;
    options.seed_demo = true;
    options.log_sink = [](std::string_view) {};  // a log line per request would dominate
    plumwit::server::Server server(options);
    server.Start();

    RunLevel(server.Port(), 1, kWarmUpRequests);
    std::printf("home timeline of 20 statuses, keep-alive, %d requests per level\n",
                kRequestsPerLevel);
    std::printf("%11s %9s %7s %10s %9s %9s\n", "connections", "requests", "errors", "req/s",
                "p50 ms", "p99 ms");
    double unloaded_rate = 0;
    for (const int connections : {1, 16}) {
      const LevelResult result = RunLevel(server.Port(), connections, kRequestsPerLevel);
      PrintRow(std::to_string(result.connections), result);
      if (connections == 1) unloaded_rate = result.requests / result.seconds;
      failures += result.errors;
    }

    FloodCounts counts;
    const LevelResult flood = RunFlood(server.Port(), counts);
    PrintRow("1 + 16 bad", flood);
    const double flood_rate = flood.requests / flood.seconds;
    std::printf(
        "during the wrong-password flood the correct client kept %.0f%% of its unloaded rate;\n"
        "the %d guessing connections got %d answers (%.0f/s): %d x 401, %d x 503, %d other\n",
        unloaded_rate > 0 ? 100 * flood_rate / unloaded_rate : 0.0, kFloodConnections,
        counts.answers.load(), counts.answers.load() / flood.seconds, counts.unauthorized.load(),
        counts.busy.load(), counts.other.load());
    failures += flood.errors + counts.other.load();
  }
  std::filesystem::remove_all(data);
  return failures == 0 ? 0 : 1;
}
