#include <gtest/gtest.h>

#include <openssl/x509_vfy.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/service/http_client.h"
#include "core/service/tls_errors.h"
#include "support/scripted_http_server.h"
#include "support/test_authority.h"
#include "support/tls_http_server.h"

namespace plumwit {
namespace {

using namespace std::chrono_literals;
using test::ScriptedHttpServer;
using test::ScriptedReply;
using test::TlsHttpServer;
using test::TlsScriptedReply;
using test::TlsServerOptions;
using testing::TrustTestAuthority;

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
const std::string kOkAndClose =
    "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok";
const std::string kPostReply =
    "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/\r\n"
    "Content-Length: 0\r\n\r\n";

void SignIn(HttpClient& client) {
  client.Request.Username = "bob";
  client.Request.Password = "secret";
  client.Request.BasicAuthentication = true;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// A sign-in, a post and a refresh, as the program makes them, against
// `base` ("http://127.0.0.1:PORT" or "https://...").
void SignInPostAndRefresh(const std::string& base) {
  HttpClient client;
  SignIn(client);
  EXPECT_EQ(client.Get(base + "/users/show/bob"), "ok");
  client.Request.From = "Plumwit";
  client.Request.Referer = "Plumwit";
  EXPECT_EQ(client.Post(base + "/statuses/update.xml?status=hi"), "");
  EXPECT_EQ(client.Get(base + "/statuses/home_timeline/bob.xml?count=20"), "ok");
}

// ---- A certificate the client trusts ----

TEST(HttpsClient, SendsInsideTlsExactlyTheBytesOfPlainHttp) {
  TrustTestAuthority trust;
  ScriptedHttpServer plain(
      {ScriptedReply::Send(kOk), ScriptedReply::Send(kPostReply), ScriptedReply::Send(kOk)});
  TlsHttpServer secure({TlsScriptedReply::Send(kOk), TlsScriptedReply::Send(kPostReply),
                        TlsScriptedReply::Send(kOk)});
  SignInPostAndRefresh(plain.Url(""));
  SignInPostAndRefresh(secure.Url(""));

  const auto plain_requests = plain.Requests();
  const auto secure_requests = secure.Requests();
  ASSERT_EQ(plain_requests.size(), 3u);
  ASSERT_EQ(secure_requests.size(), 3u);
  const std::string plain_host = "Host: 127.0.0.1:" + std::to_string(plain.Port()) + "\r\n";
  const std::string secure_host = "Host: 127.0.0.1:" + std::to_string(secure.Port()) + "\r\n";
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(secure_requests[i].bytes.find(secure_host), std::string::npos);
    EXPECT_EQ(secure_requests[i].bytes,
              ReplaceAll(plain_requests[i].bytes, plain_host, secure_host));
    EXPECT_EQ(secure_requests[i].connection, plain_requests[i].connection);
  }
}

TEST(HttpsClient, ChecksAHostNameAsWellAsAnAddressAndNamesOnlyTheName) {
  TrustTestAuthority trust;
  TlsHttpServer server({TlsScriptedReply::SendAndClose(kOk), TlsScriptedReply::Send(kOk)});
  HttpClient client;
  EXPECT_EQ(client.Get("https://localhost:" + std::to_string(server.Port()) + "/"), "ok");
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
  EXPECT_EQ(server.ServerNames(), (std::vector<std::string>{"localhost", ""}));
}

TEST(HttpsClient, GetsShareTheSecureConnectionAndItEndsWithCloseNotify) {
  TrustTestAuthority trust;
  TlsHttpServer server({TlsScriptedReply::Send(kOk), TlsScriptedReply::Send(kOkAndClose),
                        TlsScriptedReply::Send(kOk)});
  {
    HttpClient client;
    EXPECT_EQ(client.Get(server.Url("/a")), "ok");
    EXPECT_EQ(client.Get(server.Url("/b")), "ok");  // the server then asks to close
    EXPECT_EQ(client.Get(server.Url("/c")), "ok");
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].connection, 1);
  EXPECT_EQ(requests[1].connection, 1);
  EXPECT_EQ(requests[2].connection, 2);
  // Both the close the server asked for and the one at the client's end.
  const auto give_up = std::chrono::steady_clock::now() + 2s;
  while (server.CloseNotifyCount() < 2 && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(server.CloseNotifyCount(), 2);
}

TEST(HttpsClient, AnHttpsUrlNeverTakesTheConnectionOfAnHttpOne) {
  TrustTestAuthority trust;
  ScriptedHttpServer server({ScriptedReply::Send(kOk)});
  HttpClientLimits limits;
  limits.timeout = 300ms;
  HttpClient client(limits);
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
  const std::string same_place = "https://127.0.0.1:" + std::to_string(server.Port()) + "/";
  // The plain server takes the handshake for the start of a request and
  // waits for the rest.
  EXPECT_THROW(client.Get(same_place), SocketError);
  EXPECT_EQ(server.ConnectionCount(), 2);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(HttpsClient, StatusErrorsAndTheNonError401AreAsOverPlainHttp) {
  TrustTestAuthority trust;
  TlsHttpServer server(
      {TlsScriptedReply::Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"),
       TlsScriptedReply::Send("HTTP/1.1 401 Unauthorized\r\nContent-Length: 6\r\n\r\n<err/>")});
  HttpClient client;
  SignIn(client);
  try {
    client.Get(server.Url("/users/show/nobody"));
    FAIL() << "no error";
  } catch (const HttpStatusError& error) {
    EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
  }
  EXPECT_EQ(client.Get(server.Url("/statuses/home_timeline/bob.xml")), "<err/>");
}

// ---- Refusals, each with the words a user sees ----

struct RefusalCase {
  const char* name;
  TlsServerOptions options;
  bool trust;
  std::vector<TlsScriptedReply> script;
  std::string message;
  bool timed_out = false;  // a SocketError rather than a TlsError
};

std::ostream& operator<<(std::ostream& out, const RefusalCase& refusal) {
  return out << refusal.name;
}

TlsServerOptions Showing(const std::string& certificate) {
  TlsServerOptions options;
  options.certificate = certificate;
  return options;
}

TlsServerOptions Tls10Only() {
  TlsServerOptions options;
  options.tls10_only = true;
  return options;
}

TlsServerOptions PlainHttp() {
  TlsServerOptions options;
  options.plain = true;
  return options;
}

TlsServerOptions TricklingHandshake() {
  TlsServerOptions options;
  options.handshake_pace = 10ms;
  return options;
}

const std::string kUntrusted =
    "TLS Error\r\nThe server's certificate is not signed by a trusted authority.";
const std::string kTruncated =
    "TLS Error\r\nThe server ended the secure connection without closing it properly; the reply "
    "may be incomplete.";

class HttpsRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(HttpsRefusal, FailsWithAPlainMessage) {
  const RefusalCase& refusal = GetParam();
  std::optional<TrustTestAuthority> trust;
  if (refusal.trust) trust.emplace();
  TlsHttpServer server(refusal.script, refusal.options);
  HttpClientLimits limits;
  limits.timeout = 500ms;
  HttpClient client(limits);
  const auto started = std::chrono::steady_clock::now();
  try {
    client.Get(server.Url("/users/show/bob"));
    FAIL() << "no error";
  } catch (const TlsError& error) {
    EXPECT_FALSE(refusal.timed_out);
    EXPECT_EQ(error.what(), refusal.message);
  } catch (const SocketError& error) {
    EXPECT_TRUE(refusal.timed_out) << error.what();
    EXPECT_EQ(error.what(), refusal.message);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpsRefusal,
    ::testing::Values(
        RefusalCase{"AuthorityNotTrusted", {}, false, {}, kUntrusted},
        RefusalCase{"UnknownAuthority", Showing("unknown-ca"), true, {}, kUntrusted},
        RefusalCase{"Expired",
                    Showing("expired"),
                    true,
                    {},
                    "TLS Error\r\nThe server's certificate has expired."},
        RefusalCase{"WrongName",
                    Showing("wrong-name"),
                    true,
                    {},
                    "TLS Error\r\nThe server's certificate is not valid for 127.0.0.1."},
        RefusalCase{"SelfSigned",
                    Showing("self-signed"),
                    true,
                    {},
                    "TLS Error\r\nThe server's certificate is self-signed."},
        RefusalCase{"Tls10Only",
                    Tls10Only(),
                    true,
                    {},
                    "TLS Error\r\nThe secure connection could not be set up: the server offers no "
                    "TLS version this program accepts (1.2 or newer)."},
        RefusalCase{"PlainHttpOnTheTlsPort",
                    PlainHttp(),
                    true,
                    {TlsScriptedReply::Send("HTTP/1.1 400 Bad Request\r\n"
                                            "Content-Length: 0\r\n\r\n")},
                    "TLS Error\r\nThe server did not answer in TLS; it may speak plain HTTP on "
                    "this port."},
        RefusalCase{"DroppedInsideTheBody",
                    {},
                    true,
                    {TlsScriptedReply::SendAndDrop("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n"
                                                   "half")},
                    kTruncated},
        RefusalCase{"DroppedAtTheEndOfABodyUntilClose",
                    {},
                    true,
                    {TlsScriptedReply::SendAndDrop("HTTP/1.1 200 OK\r\n\r\nall of it?")},
                    kTruncated},
        RefusalCase{"DroppedInsideTheHeader",
                    {},
                    true,
                    {TlsScriptedReply::SendAndDrop("HTTP/1.1 200 OK\r\nContent-Le")},
                    kTruncated},
        RefusalCase{"DroppedWithoutAReply", {}, true, {}, kTruncated},
        RefusalCase{"HandshakeTrickles",
                    TricklingHandshake(),
                    true,
                    {},
                    "Socket Error # 10060\r\nConnection timed out.",
                    true}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// ---- A close without close_notify after a whole reply ----

TEST(HttpsClient, AWholeReplyIsTakenWhateverTheCloseAfterIt) {
  TrustTestAuthority trust;
  TlsHttpServer server(
      {TlsScriptedReply::SendAndDrop(kOk),
       TlsScriptedReply::SendAndDrop("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                     "2\r\nok\r\n0\r\n\r\n"),
       TlsScriptedReply::SendAndClose("HTTP/1.1 200 OK\r\n\r\nuntil close_notify")});
  HttpClient client;
  EXPECT_EQ(client.Get(server.Url("/length")), "ok");
  // The dropped connection was kept: the next request finds it dead and
  // opens another.
  EXPECT_EQ(client.Get(server.Url("/chunked")), "ok");
  EXPECT_EQ(client.Get(server.Url("/close")), "until close_notify");
  EXPECT_EQ(server.ConnectionCount(), 3);
}

TEST(HttpsClient, StaysUsableAfterATlsFailure) {
  TrustTestAuthority trust;
  TlsHttpServer refused({}, Showing("wrong-name"));
  TlsHttpServer good({TlsScriptedReply::Send(kOk)});
  HttpClient client;
  SignIn(client);
  EXPECT_THROW(client.Get(refused.Url("/")), TlsError);
  EXPECT_EQ(client.Get(good.Url("/")), "ok");
  EXPECT_NE(good.Requests().at(0).bytes.find("Authorization: Basic Ym9iOnNlY3JldA==\r\n"),
            std::string::npos);
}

TEST(TlsErrors, ACertificateNotValidYetIsNamed) {
  EXPECT_STREQ(HandshakeFailure({}, X509_V_ERR_CERT_NOT_YET_VALID, "h").what(),
               "TLS Error\r\nThe server's certificate is not valid yet.");
}

}  // namespace
}  // namespace plumwit
