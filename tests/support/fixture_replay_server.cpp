#include "support/fixture_replay_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/loopback_listener.h"

namespace plumwit::test {
namespace {

constexpr int kPollMs = 50;
constexpr std::size_t kMostRequestBytes = 1 << 20;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::string DecodeBase64(const std::string& text) {
  std::string bytes;
  // Only the bits not yet handed out are kept, so a long text cannot
  // overflow the accumulator.
  unsigned bits = 0;
  int collected = 0;
  for (const char c : text) {
    const int value = Base64Value(c);
    if (value < 0) break;
    bits = ((bits << 6) | static_cast<unsigned>(value)) & 0xFFFFu;
    collected += 6;
    if (collected >= 8) {
      collected -= 8;
      bytes += static_cast<char>((bits >> collected) & 0xFF);
    }
  }
  return bytes;
}

// The value of the first header of that name in a raw request, or nothing.
bool FindHeader(const std::string& request, const std::string& name, std::string& value) {
  const std::string lower = Lower(request.substr(0, request.find("\r\n\r\n")));
  const std::size_t at = lower.find("\r\n" + Lower(name) + ":");
  if (at == std::string::npos) return false;
  const std::size_t start = request.find_first_not_of(' ', at + name.size() + 3);
  value = start == std::string::npos ? std::string()
                                     : request.substr(start, request.find("\r\n", start) - start);
  return true;
}

Credentials CredentialsOf(const std::string& request) {
  std::string authorization;
  if (!FindHeader(request, "Authorization", authorization)) return Credentials::kNone;
  const std::string pair = DecodeBase64(authorization.substr(authorization.find(' ') + 1));
  const std::size_t colon = pair.find(':');
  const std::string user = pair.substr(0, colon);
  if (user != FixtureReplayServer::kAccount) return Credentials::kUnknownUser;
  const bool right =
      colon != std::string::npos && pair.substr(colon + 1) == FixtureReplayServer::kPassword;
  return right ? Credentials::kRight : Credentials::kWrong;
}

struct CaptureSet {
  const char* right;
  const char* wrong;
  const char* unknown_user;
  const char* none;
};

std::string Pick(const CaptureSet& set, Credentials credentials) {
  switch (credentials) {
    case Credentials::kRight:
      return set.right;
    case Credentials::kWrong:
      return set.wrong;
    case Credentials::kUnknownUser:
      return set.unknown_user;
    case Credentials::kNone:
      return set.none;
  }
  return set.none;
}

// Where a capture for exactly this case is missing, the set holds the one
// the server gives alike: a public site shows every read to any
// credentials, and refuses every write with the same document.
std::string GetCapture(const std::string& path, const std::string& query, Credentials who) {
  const std::string account = FixtureReplayServer::kAccount;
  if (path == "/api/users/show.xml") {
    return query == "screen_name=" + account ? "users-show-q.txt" : "users-show-xml-unknown.txt";
  }
  if (path == "/api/users/show/" + account + ".xml") {
    return Pick({"users-show-xml.txt", "users-show-xml-badpw.txt", "users-show-xml-badpw.txt",
                 "users-show-xml-noauth.txt"},
                who);
  }
  if (StartsWith(path, "/api/users/show/")) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".xml") == 0) {
      return "users-show-xml-unknown.txt";
    }
    // Without an extension the route does not exist, whoever asks.
    return Pick({"users-show-noext.txt", "users-show-noext-badpw.txt",
                 "users-show-noext-unknown.txt", "users-show-noext.txt"},
                who);
  }
  if (path == "/api/account/verify_credentials.xml") {
    return Pick({"vc.txt", "vc-badpw.txt", "vc-unknown.txt", "vc-unknown.txt"}, who);
  }
  // Without a name the timeline is the credentials' own, so it is refused
  // to any that do not sign in.
  if (path == "/api/statuses/home_timeline.xml") {
    return who == Credentials::kRight ? "home.txt" : "first-401.txt";
  }
  if (path == "/api/statuses/home_timeline/" + account + ".xml") {
    return Pick({"home.txt", "home-badpw.txt", "home-badpw.txt", "home-noauth.txt"}, who);
  }
  if (StartsWith(path, "/api/statuses/home_timeline/")) return "home-unknown.txt";
  return "first-404-method.txt";
}

std::string PostCapture(const std::string& path, Credentials who) {
  const bool right = who == Credentials::kRight;
  if (path == "/api/statuses/update.xml") return right ? "update-query.txt" : "update-badpw.txt";
  if (path == "/api/account/update_profile.xml") {
    return right ? "profile-query.txt" : "update-badpw.txt";
  }
  return "first-404-method.txt";
}

std::size_t ContentLength(const std::string& request) {
  std::string value;
  return FindHeader(request, "Content-Length", value) ? std::strtoul(value.c_str(), nullptr, 10)
                                                      : 0;
}

bool RequestComplete(const std::string& request) {
  const std::size_t head_end = request.find("\r\n\r\n");
  return head_end != std::string::npos && request.size() >= head_end + 4 + ContentLength(request);
}

std::string RequestLineOf(const std::string& request) {
  return request.substr(0, request.find("\r\n"));
}

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string CaptureFor(const std::string& method, const std::string& target,
                       Credentials credentials) {
  const std::size_t question = target.find('?');
  const std::string path = target.substr(0, question);
  const std::string query = question == std::string::npos ? "" : target.substr(question + 1);
  if (method == "GET") return GetCapture(path, query, credentials);
  if (method == "POST") return PostCapture(path, credentials);
  return "first-404-method.txt";
}

std::string CaptureBytes(const std::string& file) {
  std::ifstream in(std::string(PLUMWIT_GNUSOCIAL_CAPTURES) + "/" + file, std::ios::binary);
  if (!in) throw std::runtime_error("no capture " + file);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string CaptureBody(const std::string& file) {
  const std::string bytes = CaptureBytes(file);
  return bytes.substr(bytes.find("\r\n\r\n") + 4);
}

FixtureReplayServer::FixtureReplayServer() {
  listener_ = testing::ListenOnLoopback(port_);
  thread_ = std::thread([this] { Serve(); });
}

FixtureReplayServer::~FixtureReplayServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string FixtureReplayServer::Host() const {
  return "127.0.0.1:" + std::to_string(port_) + "/api";
}

std::vector<std::string> FixtureReplayServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<std::string> FixtureReplayServer::RequestLines() const {
  std::vector<std::string> lines;
  for (const std::string& request : Requests()) lines.push_back(RequestLineOf(request));
  return lines;
}

void FixtureReplayServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Answer(connection);
    ::shutdown(connection, SHUT_WR);
    ::close(connection);
  }
}

void FixtureReplayServer::Answer(int connection) {
  std::string request;
  char buffer[4096];
  while (!RequestComplete(request) && request.size() < kMostRequestBytes && !stopping_) {
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  if (!RequestComplete(request)) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  const std::string line = RequestLineOf(request);
  const std::size_t first_blank = line.find(' ');
  const std::size_t second_blank = line.find(' ', first_blank + 1);
  const std::string method = line.substr(0, first_blank);
  const std::string target = line.substr(first_blank + 1, second_blank - first_blank - 1);
  SendAll(connection, CaptureBytes(CaptureFor(method, target, CredentialsOf(request))));
}

}  // namespace plumwit::test
