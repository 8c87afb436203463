// The client's own exchanges over both transports, plain HTTP and HTTPS,
// through the real listener; then what only TLS has: the handshake under the
// header deadline, and close_notify on a clean close.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <string>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

std::string TransportName(const ::testing::TestParamInfo<Transport>& info) {
  return info.param == Transport::kTls ? "Tls" : "Plain";
}

class TransportTest : public ServiceTest, public ::testing::WithParamInterface<Transport> {
 protected:
  void SetUp() override { StartServer({}, GetParam()); }

  std::string Scheme() const { return GetParam() == Transport::kTls ? "https" : "http"; }
};

TEST_P(TransportTest, SignInRecordTimelinePostAndProfileUpdate) {
  const HttpReply record = Get("/users/show/demo", DemoAuth());
  ASSERT_EQ(record.status, 200) << record.body;
  EXPECT_STREQ(ParseXml(record.body).child("user").child_value("screen_name"), "demo");

  const HttpReply posted =
      Post("/statuses/update.xml?status=" + Encode("over " + Scheme()), DemoAuth());
  ASSERT_EQ(posted.status, 200) << posted.body;

  const HttpReply timeline = Get("/statuses/home_timeline/demo.xml?count=20", DemoAuth());
  ASSERT_EQ(timeline.status, 200);
  EXPECT_STREQ(ParseXml(timeline.body).child("statuses").child("status").child_value("text"),
               ("over " + Scheme()).c_str());

  const HttpReply profile = Post("/account/update_profile.xml?name=" + Encode("Dana Demo") +
                                     "&screen_name=demo&location=&description=&url=",
                                 DemoAuth());
  ASSERT_EQ(profile.status, 200) << profile.body;
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("name"),
               "Dana Demo");
}

TEST_P(TransportTest, LinksInDocumentsUseTheServedScheme) {
  const pugi::xml_document record = ParseXml(Get("/users/show/demo.xml").body);
  EXPECT_EQ(std::string(record.child("user").child_value("profile_image_url")),
            Scheme() + "://127.0.0.1/avatars/demo.svg");
  const nlohmann::json json = nlohmann::json::parse(Get("/api/users/show/demo.json").body);
  EXPECT_EQ(json["statusnet_profile_url"], Scheme() + "://127.0.0.1/demo");

  const nlohmann::json config = nlohmann::json::parse(Get("/api/statusnet/config.json").body);
  EXPECT_EQ(config["site"]["server"], "127.0.0.1");
  EXPECT_EQ(config["site"]["ssl"], GetParam() == Transport::kTls ? "always" : "never");
}

TEST_P(TransportTest, KeepAliveServesSeveralRequestsOnOneConnection) {
  const std::unique_ptr<RawHttpClient> client = Connect();
  const HttpReply first =
      client->Exchange(RawHttpClient::ClientGet("/users/show/demo", DemoAuth()));
  EXPECT_EQ(first.status, 200);
  EXPECT_EQ(first.Header("Connection"), "keep-alive");
  // The client's posts are HTTP/1.0 asking for keep-alive.
  const HttpReply post =
      client->Exchange(RawHttpClient::ClientPost("/statuses/update.xml?status=kept", DemoAuth()));
  EXPECT_EQ(post.status, 200);
  EXPECT_EQ(post.Header("Connection"), "keep-alive");
  const HttpReply again =
      client->Exchange(RawHttpClient::ClientGet("/statuses/home_timeline/demo.xml", DemoAuth()));
  EXPECT_NE(again.body.find("<text>kept</text>"), std::string::npos);
}

TEST_P(TransportTest, AnsweringWithCloseEndsTheConnectionCleanly) {
  const std::unique_ptr<RawHttpClient> client = Connect();
  const HttpReply reply =
      client->Exchange("GET /help/test.xml HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.Header("Connection"), "close");
  EXPECT_TRUE(client->ServerClosed());
  if (GetParam() == Transport::kTls) {
    EXPECT_TRUE(client->ReceivedCloseNotify());
  }
}

INSTANTIATE_TEST_SUITE_P(PlainAndTls, TransportTest,
                         ::testing::Values(Transport::kPlain, Transport::kTls), TransportName);

// Room for one connection only: the next is answered 503 in the same
// transport and closed.
class FullServiceTest : public ServiceTest, public ::testing::WithParamInterface<Transport> {
 protected:
  void SetUp() override {
    HttpLimits limits;
    limits.max_connections = 1;
    StartServer(limits, GetParam());
  }
};

TEST_P(FullServiceTest, AConnectionBeyondTheRoomIsRefusedInTheSameTransport) {
  const std::unique_ptr<RawHttpClient> holding = Connect();
  ASSERT_EQ(holding->Exchange(RawHttpClient::ClientGet("/help/test.xml")).status, 200);

  const std::unique_ptr<RawHttpClient> refused = Connect();
  const HttpReply reply = refused->Exchange(RawHttpClient::ClientGet("/help/test.xml"));
  EXPECT_EQ(reply.status, 503);
  EXPECT_EQ(reply.Header("Retry-After"), "1");
  EXPECT_TRUE(refused->ServerClosed());
  EXPECT_EQ(refused->ReceivedCloseNotify(), GetParam() == Transport::kTls);
}

INSTANTIATE_TEST_SUITE_P(PlainAndTls, FullServiceTest,
                         ::testing::Values(Transport::kPlain, Transport::kTls), TransportName);

class TlsDeadlineTest : public ServiceTest {
 protected:
  void SetUp() override {
    HttpLimits limits;
    limits.timeout = std::chrono::milliseconds(300);
    StartServer(limits, Transport::kTls);
  }
};

TEST_F(TlsDeadlineTest, ClientsStallingInTheHandshakeAreDroppedByTheHeaderDeadline) {
  // The opening of a ClientHello: a record header announcing 512 bytes and
  // the start of the handshake message, then nothing.
  const std::string half_hello("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11);
  const auto started = std::chrono::steady_clock::now();
  RawHttpClient silent(Port(), std::chrono::seconds(5));
  RawHttpClient halfway(Port(), std::chrono::seconds(5));
  halfway.Send(half_hello);
  // Handshake done, then only part of a request head.
  const std::unique_ptr<RawHttpClient> trickling = Connect(std::chrono::seconds(5));
  trickling->Send("GET /users/show/demo HTTP/1.1\r\n");

  EXPECT_TRUE(silent.ReadsToClose());
  EXPECT_TRUE(halfway.ReadsToClose());
  EXPECT_TRUE(trickling->ReadsToClose());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
  EXPECT_EQ(Get("/users/show/demo").status, 200);
}

TEST_F(TlsDeadlineTest, PlainHttpSentToTheTlsPortIsDropped) {
  RawHttpClient plain(Port(), std::chrono::seconds(5));
  plain.Send(RawHttpClient::ClientGet("/users/show/demo"));
  EXPECT_TRUE(plain.ReadsToClose());
  EXPECT_EQ(Get("/help/test.xml").status, 200);
}

}  // namespace
}  // namespace plumwit::server::testing
