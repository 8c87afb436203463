// One GET round trip on loopback: this client beside the curl tool against
// the same scripted server. Every run reports "us_per_request"; the curl runs
// also report "x_plumwit", their time per request divided by the client's
// on a kept connection.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/service/http_client.h"
#include "support/scripted_http_server.h"

extern char** environ;

namespace {

using plumwit::HttpClient;
using plumwit::test::ScriptedHttpServer;
using plumwit::test::ScriptedReply;

constexpr int kRequestsPerCurlProcess = 100;

// Microseconds per request of the client on a kept connection, once measured.
double client_us_per_request = 0;

// A reply the size of a user record.
std::string UserRecordReply() {
  std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<user>\n";
  for (int i = 0; i < 24; ++i) {
    const std::string name = "field" + std::to_string(i);
    body += "  <" + name + ">some value of the record</" + name + ">\n";
  }
  body += "</user>\n";
  return "HTTP/1.1 200 OK\r\nContent-Type: application/xml\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Serves the same reply to every request and keeps only the last few.
ScriptedHttpServer& Server() {
  static ScriptedHttpServer server;
  static const bool configured = [] {
    server.SetFallback(ScriptedReply::Send(UserRecordReply()));
    server.LimitRecording(8);
    return true;
  }();
  (void)configured;
  return server;
}

// Runs curl on `urls` with its output thrown away; false if it failed.
bool RunCurl(const std::vector<std::string>& urls) {
  std::vector<std::string> arguments = {"curl", "-q", "--silent", "--fail", "--noproxy", "*"};
  arguments.insert(arguments.end(), urls.begin(), urls.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "curl", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Times the loop itself so the per-request figure of one run can be
// compared with another's.
template <class Body>
double MicrosecondsPerRequest(benchmark::State& state, int requests_per_iteration, Body body) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (!body()) {
      state.SkipWithError("request failed");
      return 0;
    }
  }
  const std::chrono::duration<double, std::micro> elapsed =
      std::chrono::steady_clock::now() - start;
  const double requests = static_cast<double>(state.iterations()) * requests_per_iteration;
  state.SetItemsProcessed(static_cast<std::int64_t>(requests));
  const double per_request = requests > 0 ? elapsed.count() / requests : 0;
  state.counters["us_per_request"] = per_request;
  return per_request;
}

void ReportAgainstClient(benchmark::State& state, double us_per_request) {
  if (client_us_per_request > 0) {
    state.counters["x_plumwit"] = us_per_request / client_us_per_request;
  }
}

void BM_HttpGet_Plumwit_KeptConnection(benchmark::State& state) {
  HttpClient client;
  const std::string url = Server().Url("/users/show/bob");
  client_us_per_request = MicrosecondsPerRequest(state, 1, [&] {
    benchmark::DoNotOptimize(client.Get(url));
    return true;
  });
}
BENCHMARK(BM_HttpGet_Plumwit_KeptConnection)->UseRealTime();

void BM_HttpGet_Plumwit_NewConnection(benchmark::State& state) {
  const std::string url = Server().Url("/users/show/bob");
  const double us = MicrosecondsPerRequest(state, 1, [&] {
    HttpClient client;
    benchmark::DoNotOptimize(client.Get(url));
    return true;
  });
  ReportAgainstClient(state, us);
}
BENCHMARK(BM_HttpGet_Plumwit_NewConnection)->UseRealTime();

// What a caller pays for curl as a separate program: a process per request.
void BM_HttpGet_Curl_ProcessPerRequest(benchmark::State& state) {
  const std::vector<std::string> urls = {Server().Url("/users/show/bob")};
  const double us = MicrosecondsPerRequest(state, 1, [&] { return RunCurl(urls); });
  ReportAgainstClient(state, us);
}
BENCHMARK(BM_HttpGet_Curl_ProcessPerRequest)->Unit(benchmark::kMillisecond)->UseRealTime();

// curl's own round trip: many requests on one kept connection, so the
// process start is spread over all of them.
void BM_HttpGet_Curl_KeptConnection(benchmark::State& state) {
  const std::vector<std::string> urls(kRequestsPerCurlProcess, Server().Url("/users/show/bob"));
  const double us =
      MicrosecondsPerRequest(state, kRequestsPerCurlProcess, [&] { return RunCurl(urls); });
  ReportAgainstClient(state, us);
}
BENCHMARK(BM_HttpGet_Curl_KeptConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
