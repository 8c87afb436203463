// More than the service takes on at once: connections beyond what its
// open-file limit leaves room for, and password checks beyond its queue.
// Either is answered 503 at once, and service resumes as soon as the load
// goes.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_folder.h"
#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

// The error document every refusal of this kind carries.
void ExpectBusyAnswer(const HttpReply& reply, const std::string& message) {
  EXPECT_EQ(reply.status_line, "HTTP/1.1 503 Service Unavailable");
  EXPECT_EQ(reply.Header("Retry-After"), "1");
  EXPECT_STREQ(ParseXml(reply.body).child("hash").child_value("error"), message.c_str());
}

// The port named in the executable's start line, or 0.
unsigned short PortFromStartLine(ChildProcess& server) {
  std::smatch match;
  const std::string start_line = server.ReadLine();
  if (!std::regex_search(start_line, match, std::regex(R"(127\.0\.0\.1:(\d+)/)"))) {
    ADD_FAILURE() << "unexpected start line: " << start_line;
    return 0;
  }
  return static_cast<unsigned short>(std::stoi(match[1]));
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Polls with new connections until one is served, for a few seconds at most.
int StatusOnceServed(unsigned short port) {
  int status = 0;
  for (int attempt = 0; attempt < 50 && status != 200; ++attempt) {
    try {
      RawHttpClient again(port, std::chrono::milliseconds(500));
      status = again
                   .Exchange(RawHttpClient::ClientGet("/statuses/home_timeline/demo.xml",
                                                      RawHttpClient::BasicAuth("demo", "demo")))
                   .status;
    } catch (const std::runtime_error&) {
      status = 0;
    }
    if (status != 200) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return status;
}

TEST(OpenFileLimitTest, ConnectionsBeyondTheRoomAreRefusedAndServiceResumesWhenTheyClose) {
  // Started with a soft limit of 64 and a hard one of 128: the service raises
  // its own limit, so it serves more connections than the soft limit allowed,
  // and refuses before the hard limit runs out.
  constexpr int kSoft = 64;
  constexpr int kHard = 128;
  plumwit::testing::ScratchFolder data;
  ChildProcess server(
      "/usr/bin/prlimit",
      {"--nofile=" + std::to_string(kSoft) + ":" + std::to_string(kHard), "--",
       PLUMWIT_SERVER_BINARY, "--listen", "127.0.0.1:0", "--data", data.Path(), "--demo"});
  const unsigned short port = PortFromStartLine(server);
  ASSERT_NE(port, 0);

  // Keep-alive connections, each answered once, until the first refusal.
  std::vector<std::unique_ptr<RawHttpClient>> served;
  HttpReply refusal;
  while (served.size() < kHard) {
    auto client = std::make_unique<RawHttpClient>(port);
    const HttpReply reply = client->Exchange(RawHttpClient::ClientGet("/users/show/demo"));
    if (reply.status != 200) {
      refusal = reply;
      EXPECT_TRUE(client->ServerClosed());
      break;
    }
    served.push_back(std::move(client));
  }
  EXPECT_GT(served.size(), static_cast<std::size_t>(kSoft));
  ASSERT_LT(served.size(), static_cast<std::size_t>(kHard));
  ExpectBusyAnswer(refusal, "Too many connections; try again shortly.");
  EXPECT_EQ(refusal.Header("Connection"), "close");

  // Still refusing, promptly, while the served ones stay open; and those
  // still answer.
  for (int i = 0; i < 3; ++i) {
    RawHttpClient extra(port);
    EXPECT_EQ(extra.Exchange(RawHttpClient::ClientGet("/users/show/demo.json")).status, 503);
  }
  EXPECT_EQ(served.front()->Exchange(RawHttpClient::ClientGet("/users/show/demo")).status, 200);

  // Closing a few makes room again; the service notices the close at once.
  served.resize(served.size() - 3);
  EXPECT_EQ(StatusOnceServed(port), 200);

  served.clear();
  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(), 0);
  const std::string output = server.ReadRest();
  EXPECT_EQ(output.find("accept failed"), std::string::npos) << output;
  EXPECT_EQ(output.find(" 500 "), std::string::npos) << output;
}

TEST(OpenFileLimitTest, RunningOutOfDescriptorsPausesAcceptingUntilSomeAreFree) {
  plumwit::testing::ScratchFolder data;
  ChildProcess server(PLUMWIT_SERVER_BINARY,
                      {"--listen", "127.0.0.1:0", "--data", data.Path(), "--demo"});
  const unsigned short port = PortFromStartLine(server);
  ASSERT_NE(port, 0);
  // Lowered under the running service, the limit runs out long before the
  // connections it made room for at start: accepting fails for want of
  // descriptors.
  ChildProcess lower("/usr/bin/prlimit", {"--pid", std::to_string(server.Pid()), "--nofile=24"});
  ASSERT_EQ(lower.Wait(), 0) << lower.ReadRest();

  std::vector<std::unique_ptr<RawHttpClient>> clients;
  for (int i = 0; i < 24; ++i) {
    clients.push_back(std::make_unique<RawHttpClient>(port, std::chrono::milliseconds(300)));
    clients.back()->Send(RawHttpClient::ClientGet("/users/show/demo"));
  }
  int answered = 0;
  int waiting = 0;
  for (auto& client : clients) {
    try {
      if (client->Read().status == 200) ++answered;
    } catch (const std::runtime_error&) {
      ++waiting;  // still in the listen queue
    }
  }
  EXPECT_GT(answered, 0);
  EXPECT_GT(waiting, 0);

  // Descriptors free again: the listener takes up accepting by itself.
  clients.clear();
  EXPECT_EQ(StatusOnceServed(port), 200);

  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(), 0);
  const std::string output = server.ReadRest();
  // Said once, not for each retry.
  EXPECT_EQ(Occurrences(output, "accept failed: Too many open files; retrying"), 1u) << output;
  EXPECT_EQ(Occurrences(output, "accepting connections again"), 1u) << output;
}

// One password check at a time and one waiting: a third arriving meanwhile
// finds the queue full.
class PasswordCheckQueueTest : public ServiceTest {
 protected:
  void SetUp() override {
    HttpLimits limits;
    limits.password_check_threads = 1;
    limits.max_waiting_password_checks = 1;
    StartServer(limits);
  }

  // Connections that each sent a wrong password at the same moment.
  std::vector<std::unique_ptr<RawHttpClient>> SendWrongPasswords(int count) {
    std::vector<std::unique_ptr<RawHttpClient>> clients;
    for (int i = 0; i < count; ++i) clients.push_back(std::make_unique<RawHttpClient>(Port()));
    for (int i = 0; i < count; ++i) {
      clients[i]->Send(
          RawHttpClient::ClientGet("/statuses/home_timeline.xml",
                                   RawHttpClient::BasicAuth("demo", "guess-" + std::to_string(i))));
    }
    return clients;
  }
};

TEST_F(PasswordCheckQueueTest, AFullQueueAnswers503WhileRememberedSignInsAreServed) {
  // Checked once, the right password is remembered and needs no queue.
  ASSERT_EQ(Get("/statuses/home_timeline.xml", DemoAuth()).status, 200);

  constexpr int kGuessers = 8;
  std::vector<std::unique_ptr<RawHttpClient>> guessers = SendWrongPasswords(kGuessers);
  int busy = 0;
  for (auto& guesser : guessers) {
    const HttpReply reply = guesser->Read();
    if (reply.status == 503) {
      ++busy;
      ExpectBusyAnswer(reply, "Too many sign-ins at once; try again shortly.");
      // Only the check was refused: the connection stays and serves a
      // remembered sign-in straight away.
      EXPECT_EQ(reply.Header("Connection"), "keep-alive");
      EXPECT_EQ(
          guesser->Exchange(RawHttpClient::ClientGet("/statuses/home_timeline.xml", DemoAuth()))
              .status,
          200);
    } else {
      EXPECT_EQ(reply.status, 401) << reply.body;
    }
  }
  EXPECT_GT(busy, 0);
  EXPECT_LT(busy, kGuessers);
}

TEST_F(PasswordCheckQueueTest, ClientsLeavingMidCheckAndAStopWithChecksWaitingAreHarmless) {
  ASSERT_EQ(Get("/statuses/home_timeline.xml", DemoAuth()).status, 200);
  {
    std::vector<std::unique_ptr<RawHttpClient>> leaving = SendWrongPasswords(4);
  }  // all closed before their checks end
  EXPECT_EQ(Get("/statuses/home_timeline.xml", DemoAuth()).status, 200);
  // Once a new check is answered, the ones queued before it are done too.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int status = 503;
  while (status == 503 && std::chrono::steady_clock::now() < deadline) {
    status = Get("/statuses/home_timeline.xml", RawHttpClient::BasicAuth("demo", "x")).status;
    if (status == 503) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(status, 401);

  // Stopped with checks running or waiting, their clients still there: each
  // gets its answer (401, or 503 if the queue was full as it came) or a
  // closed connection, and nothing hangs.
  std::vector<std::unique_ptr<RawHttpClient>> waiting = SendWrongPasswords(2);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  StopServer();
  for (auto& client : waiting) {
    if (client->ServerClosed()) continue;
    const int answered = client->Read().status;
    EXPECT_TRUE(answered == 401 || answered == 503) << answered;
    EXPECT_TRUE(client->ServerClosed());
  }
}

}  // namespace
}  // namespace plumwit::server::testing
