// Connections: keep-alive in both protocol versions, pipelining, HEAD,
// 100-continue, many clients at once, slow and idle clients.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

using ConnectionTest = ServiceTest;

TEST_F(ConnectionTest, ClientShapedGetsAndPostsShareOneConnection) {
  RawHttpClient client(Port());
  const HttpReply get = client.Exchange(RawHttpClient::ClientGet("/users/show/demo", DemoAuth()));
  EXPECT_EQ(get.status, 200);
  EXPECT_EQ(get.Header("Connection"), "keep-alive");

  // HTTP/1.0 with "Connection: keep-alive": the answer must say keep-alive,
  // or the client closes.
  const HttpReply post =
      client.Exchange(RawHttpClient::ClientPost("/statuses/update.xml?status=kept", DemoAuth()));
  EXPECT_EQ(post.status, 200);
  EXPECT_EQ(post.Header("Connection"), "keep-alive");

  const HttpReply again =
      client.Exchange(RawHttpClient::ClientGet("/statuses/home_timeline/demo.xml", DemoAuth()));
  EXPECT_EQ(again.status, 200);
  EXPECT_NE(again.body.find("<text>kept</text>"), std::string::npos);
}

TEST_F(ConnectionTest, ClosesWhenTheRequestAsksOrTheVersionDefaultsToClose) {
  const char* requests[] = {
      "GET /users/show/demo HTTP/1.0\r\n\r\n",
      "GET /users/show/demo HTTP/1.1\r\nConnection: close\r\n\r\n",
      "POST /statuses/update.xml?status=x HTTP/1.0\r\nContent-Length: 0\r\n\r\n",
  };
  for (const char* request : requests) {
    SCOPED_TRACE(request);
    RawHttpClient client(Port());
    const HttpReply reply = client.Exchange(request);
    EXPECT_EQ(reply.status_line.substr(0, 9), "HTTP/1.1 ");
    EXPECT_EQ(reply.Header("Connection"), "close");
    EXPECT_TRUE(client.ServerClosed());
  }
}

TEST_F(ConnectionTest, PipelinedRequestsAreAnsweredInOrder) {
  RawHttpClient client(Port());
  client.Send(RawHttpClient::ClientGet("/users/show/margit") +
              RawHttpClient::ClientGet("/users/show/nobody") +
              RawHttpClient::ClientGet("/users/show/tomasz"));
  EXPECT_NE(client.Read().body.find("<screen_name>margit</screen_name>"), std::string::npos);
  EXPECT_EQ(client.Read().status, 404);
  EXPECT_NE(client.Read().body.find("<screen_name>tomasz</screen_name>"), std::string::npos);
}

TEST_F(ConnectionTest, HeadAnswersHeadersWithoutBody) {
  RawHttpClient client(Port());
  client.Send("HEAD /users/show/demo HTTP/1.1\r\n\r\nGET /users/show/nobody HTTP/1.1\r\n\r\n");
  const HttpReply head = client.ReadHeaders();
  EXPECT_EQ(head.status, 200);
  EXPECT_GT(std::stoul(head.Header("Content-Length")), 100u);
  // Had a body followed the HEAD answer, this would read it instead.
  EXPECT_EQ(client.Read().status_line, "HTTP/1.1 404 Not Found");
}

TEST_F(ConnectionTest, ExpectContinueGetsAnInterimAnswerBeforeTheBody) {
  RawHttpClient client(Port());
  const std::string body = "status=after+continue";
  client.Send(
      "POST /statuses/update.xml HTTP/1.1\r\nExpect: 100-continue\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
      std::to_string(body.size()) + "\r\nAuthorization: " + DemoAuth() + "\r\n\r\n");
  EXPECT_EQ(client.ReadHeaders().status_line, "HTTP/1.1 100 Continue");
  client.Send(body);
  const HttpReply reply = client.Read();
  EXPECT_EQ(reply.status, 200);
  EXPECT_NE(reply.body.find("<text>after continue</text>"), std::string::npos);
}

TEST_F(ConnectionTest, ASlowClientHoldsUpNobodyElse) {
  RawHttpClient slow(Port());
  slow.Send("GET /statuses/home_timeline/demo.xml HTTP/1.1\r\nAuthor");
  // Another connection that asks for the largest answer and does not read it yet.
  RawHttpClient stalled(Port());
  stalled.Send(RawHttpClient::ClientGet("/statuses/home_timeline.xml?count=200", DemoAuth()));

  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Get("/statuses/home_timeline.xml", DemoAuth()).status, 200);
  }
  slow.Send("ization: " + DemoAuth() + "\r\n\r\n");
  EXPECT_EQ(slow.Read().status, 200);
  EXPECT_EQ(stalled.Read().status, 200);
}

TEST_F(ConnectionTest, ManyClientsAtOnceAreAllServed) {
  constexpr int kClients = 16;
  constexpr int kRequestsEach = 10;
  std::atomic<int> served{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      RawHttpClient client(Port());
      for (int r = 0; r < kRequestsEach; ++r) {
        const std::string target =
            (c + r) % 2 == 0 ? "/statuses/home_timeline/demo.xml?count=20" : "/users/show/margit";
        if (client.Exchange(RawHttpClient::ClientGet(target, DemoAuth())).status == 200) ++served;
      }
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(served.load(), kClients * kRequestsEach);
}

class IdleConnectionTest : public ServiceTest {
 protected:
  void SetUp() override {
    HttpLimits limits;
    limits.timeout = std::chrono::milliseconds(300);
    StartServer(limits);
  }
};

TEST_F(IdleConnectionTest, SilentOrTricklingClientsAreDisconnected) {
  RawHttpClient silent(Port());
  RawHttpClient trickling(Port());
  trickling.Send("GET /users/show/demo HTTP/1.1\r\n");
  RawHttpClient idle_after_answer(Port());
  EXPECT_EQ(idle_after_answer.Exchange(RawHttpClient::ClientGet("/users/show/demo")).status, 200);

  EXPECT_TRUE(silent.ServerClosed());
  EXPECT_TRUE(trickling.ServerClosed());
  EXPECT_TRUE(idle_after_answer.ServerClosed());
  EXPECT_EQ(Get("/users/show/demo").status, 200);
}

}  // namespace
}  // namespace plumwit::server::testing
