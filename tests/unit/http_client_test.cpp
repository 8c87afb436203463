#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>

#include "core/service/http_client.h"
#include "support/scripted_http_server.h"

namespace plumwit {
namespace {

using namespace std::chrono_literals;
using test::ClosedLoopbackPort;
using test::ScriptedHttpServer;
using test::ScriptedReply;

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
const std::string kAccept = "Accept: text/html, */*\r\n";
const std::string kUserAgent = "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";

std::string HostLine(const ScriptedHttpServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
}

void SignIn(HttpClient& client, const std::string& user, const std::string& password) {
  client.Request.Username = user;
  client.Request.Password = password;
  client.Request.BasicAuthentication = true;
}

// ---- What goes on the wire ----

TEST(HttpClientRequest, FirstGetCarriesExactlyTheFiveHeaders) {
  ScriptedHttpServer server({ScriptedReply::Send(kOk)});
  HttpClient client;
  SignIn(client, "bob", "secret");
  EXPECT_EQ(client.Get(server.Url("/users/show/bob")), "ok");
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].bytes, "GET /users/show/bob HTTP/1.1\r\n" + HostLine(server) +
                                            kAccept + "Accept-Encoding: identity\r\n" + kUserAgent +
                                            "Authorization: Basic Ym9iOnNlY3JldA==\r\n\r\n");
}

TEST(HttpClientRequest, PostIsHttp10OnANewConnectionAndLeavesItsSettingsForLaterGets) {
  ScriptedHttpServer server(
      {ScriptedReply::Send(kOk),
       ScriptedReply::Send("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/\r\n"
                           "Content-Length: 0\r\n\r\n"),
       ScriptedReply::Send(kOk)});
  HttpClient client;
  SignIn(client, "bob", "secret");
  client.Get(server.Url("/users/show/bob"));
  client.Request.From = "Plumwit";
  client.Request.Referer = "Plumwit";
  EXPECT_EQ(client.Post(server.Url("/statuses/update.xml?status=hi")), "");
  SignIn(client, "ann", "pw");
  EXPECT_EQ(client.Get(server.Url("/x")), "ok");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].bytes,
            "POST /statuses/update.xml?status=hi HTTP/1.0\r\n"
            "Connection: keep-alive\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n"
            "Content-Length: 0\r\n" +
                HostLine(server) + kAccept +
                "Accept-Encoding: identity\r\nFrom: Plumwit\r\nReferer: Plumwit\r\n" + kUserAgent +
                "Authorization: Basic Ym9iOnNlY3JldA==\r\n\r\n");
  EXPECT_EQ(requests[2].bytes,
            "GET /x HTTP/1.1\r\n"
            "Connection: keep-alive\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n" +
                HostLine(server) + kAccept +
                "Accept-Encoding: identity\r\nFrom: Plumwit\r\nReferer: Plumwit\r\n" + kUserAgent +
                "Authorization: Basic YW5uOnB3\r\nCookie: sid=abc\r\n\r\n");
  // The POST left the GET's kept connection for a new one; the reply to it
  // did not ask to keep its own.
  EXPECT_EQ(requests[0].connection, 1);
  EXPECT_EQ(requests[1].connection, 2);
  EXPECT_EQ(requests[2].connection, 3);
}

TEST(HttpClientRequest, CookiesOfEveryHeaderBlockAreSentBack) {
  ScriptedHttpServer server(
      {ScriptedReply::Send("HTTP/1.1 100 Continue\r\nSet-Cookie: early=1\r\n\r\n"
                           "HTTP/1.1 200 OK\r\nset-cookie2: late=2\r\nContent-Length: 0\r\n\r\n"),
       ScriptedReply::Send(kOk)});
  HttpClient client;
  client.Get(server.Url("/"));
  client.Get(server.Url("/"));
  const std::string second = server.Requests().at(1).bytes;
  EXPECT_NE(second.find(kUserAgent + "Cookie: early=1; late=2\r\n\r\n"), std::string::npos)
      << second;
}

// The header lines are read, so their cookies count, whatever the body does
// afterwards.
TEST(HttpClientRequest, CookiesOfAReplyWhoseBodyFailsAreKept) {
  const std::string header = "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc\r\n";
  ScriptedHttpServer server(
      {ScriptedReply::SendAndClose(header + "Transfer-Encoding: chunked\r\n\r\n10\r\ncut"),
       ScriptedReply::Send(kOk)});
  HttpClient client;
  EXPECT_THROW(client.Get(server.Url("/")), ConnectionClosedError);
  client.Get(server.Url("/"));
  const std::string second = server.Requests().at(1).bytes;
  EXPECT_NE(second.find("Cookie: sid=abc\r\n"), std::string::npos) << second;
}

TEST(HttpClientRequest, PostSendsItsFormWithEachValueEncoded) {
  ScriptedHttpServer server({ScriptedReply::Send(kOk)});
  HttpClient client;
  client.Post(server.Url("/f"), {" a=b c&d \r\n", "e"});
  const std::string request = server.Requests().at(0).bytes;
  EXPECT_NE(request.find("\r\nContent-Length: 13\r\n"), std::string::npos) << request;
  EXPECT_EQ(request.substr(request.size() - 13), "a=b%20c%26d&e");
}

TEST(HttpClientRequest, UserInformationInTheUrlIsNeverSent) {
  ScriptedHttpServer server({ScriptedReply::Send(kOk)});
  HttpClient client;
  client.Get("http://bob:pw@127.0.0.1:" + std::to_string(server.Port()) + "/a\\b");
  EXPECT_EQ(server.Requests().at(0).bytes, "GET /a/b HTTP/1.1\r\n" + HostLine(server) + kAccept +
                                               "Accept-Encoding: identity\r\n" + kUserAgent +
                                               "\r\n");
}

TEST(HttpClientRequest, RefusesToSendLineBreaksOrBlanksInTheRequestLineOrHeaders) {
  ScriptedHttpServer server({ScriptedReply::Send(kOk)});
  HttpClient client;
  EXPECT_THROW(client.Get(server.Url("/a b")), HttpRequestError);
  EXPECT_THROW(client.Get(server.Url("/a\r\nX-Injected: 1")), HttpRequestError);
  EXPECT_THROW(client.Get(server.Url("/a?q=\n")), HttpRequestError);
  client.Request.Referer = "Plumwit\r\nX-Injected: 1";
  EXPECT_THROW(client.Get(server.Url("/")), HttpRequestError);
  client.Request.Referer.clear();
  client.Request.From = "a\nb";
  EXPECT_THROW(client.Post(server.Url("/")), HttpRequestError);
  EXPECT_EQ(server.RequestCount(), 0u);

  client.Request.From.clear();
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
}

// ---- How replies are read and classified ----

enum class Outcome { kBody, kStatusError, kClosed, kSocketError, kReplyError };

struct ReplyCase {
  const char* name;
  ScriptedReply reply;
  Outcome outcome;
  std::string text;  // the body, or the error's message
  bool post = false;
  const char* username = "bob";
  const char* password = "secret";
};

class HttpClientReply : public testing::TestWithParam<ReplyCase> {};

TEST_P(HttpClientReply, IsReadAndClassified) {
  const ReplyCase& expected = GetParam();
  ScriptedHttpServer server({expected.reply, ScriptedReply::Send(kOk)});
  HttpClient client;
  SignIn(client, expected.username, expected.password);
  const std::string url = server.Url("/r");
  std::optional<std::string> body;
  try {
    body = expected.post ? client.Post(url) : client.Get(url);
    EXPECT_EQ(expected.outcome, Outcome::kBody);
    EXPECT_EQ(*body, expected.text);
  } catch (const HttpStatusError& error) {
    EXPECT_EQ(expected.outcome, Outcome::kStatusError);
    EXPECT_EQ(error.what(), expected.text);
  } catch (const ConnectionClosedError& error) {
    EXPECT_EQ(expected.outcome, Outcome::kClosed);
    EXPECT_EQ(error.what(), expected.text);
  } catch (const SocketError& error) {
    EXPECT_EQ(expected.outcome, Outcome::kSocketError);
    EXPECT_EQ(error.what(), expected.text);
  } catch (const HttpReplyError& error) {
    EXPECT_EQ(expected.outcome, Outcome::kReplyError);
    EXPECT_EQ(error.what(), expected.text);
  }
  // Whatever happened, the client goes on working.
  EXPECT_EQ(client.Get(server.Url("/next")), "ok");
}

const char kClosedText[] = "Connection Closed Gracefully.";

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpClientReply,
    testing::Values(
        ReplyCase{"ContentLength",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"),
                  Outcome::kBody, "hello"},
        ReplyCase{"Chunked",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                      "4\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\n"),
                  Outcome::kBody, "Wikipedia"},
        ReplyCase{"ChunkedInOtherCase",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n"
                                      "3\r\nabc\r\n0\r\n\r\n"),
                  Outcome::kBody, "abc"},
        ReplyCase{"UntilClose", ScriptedReply::SendAndClose("HTTP/1.0 200 OK\r\n\r\nall of it"),
                  Outcome::kBody, "all of it"},
        ReplyCase{"CutShortOfItsLength",
                  ScriptedReply::SendAndClose("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npart"),
                  Outcome::kBody, "part"},
        ReplyCase{"NoContentHasNoBody", ScriptedReply::Send("HTTP/1.1 204 No Content\r\n\r\n"),
                  Outcome::kBody, ""},
        ReplyCase{"ContinueIsPassedOver",
                  ScriptedReply::Send("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n"
                                      "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi"),
                  Outcome::kBody, "hi"},
        ReplyCase{"StatusLineWithoutReason",
                  ScriptedReply::Send("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nhi"),
                  Outcome::kBody, "hi"},
        ReplyCase{"ErrorStatusLineWithoutReason",
                  ScriptedReply::Send("HTTP/1.1 404\r\nContent-Length: 0\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 404"},
        ReplyCase{"StatusLineWithEmptyReason",
                  ScriptedReply::Send("HTTP/1.1 200 \r\nContent-Length: 2\r\n\r\nhi"),
                  Outcome::kBody, "hi"},
        ReplyCase{"BlanksBeforeTheColon",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\nContent-Length \t : 2\r\n"
                                      "Connection : close\r\n\r\nhi"),
                  Outcome::kBody, "hi"},
        ReplyCase{"BareLineFeeds", ScriptedReply::Send("HTTP/1.1 200 OK\nContent-Length: 2\n\nhi"),
                  Outcome::kBody, "hi"},
        ReplyCase{"ClosedInTheHeaderLines",
                  ScriptedReply::SendAndClose("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nCont"),
                  Outcome::kBody, ""},
        ReplyCase{"UnauthorizedGetWithCredentials",
                  ScriptedReply::Send("HTTP/1.1 401 Unauthorized\r\nContent-Length: 7\r\n\r\n"
                                      "<hash/>"),
                  Outcome::kBody, "<hash/>"},
        ReplyCase{"UnauthorizedGetWithBlankPassword",
                  ScriptedReply::Send("HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 401 Unauthorized", false, "bob", " \t\x01"},
        ReplyCase{"UnauthorizedGetWithoutUserName",
                  ScriptedReply::Send("HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 401 Unauthorized", false, "", "secret"},
        ReplyCase{"UnauthorizedPostWithCredentials",
                  ScriptedReply::Send("HTTP/1.1 401 Unauthorized\r\nContent-Length: 7\r\n\r\n"
                                      "<hash/>"),
                  Outcome::kStatusError, "HTTP/1.1 401 Unauthorized", true},
        ReplyCase{"RedirectIsNotFollowed",
                  ScriptedReply::Send("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/\r\n"
                                      "Content-Length: 0\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 302 Found"},
        ReplyCase{"OkWithLocation",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\n"
                                      "Content-Length: 2\r\n\r\nhi"),
                  Outcome::kStatusError, "HTTP/1.1 200 OK"},
        ReplyCase{"NotModified", ScriptedReply::Send("HTTP/1.1 304 Not Modified\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 304 Not Modified"},
        ReplyCase{"NotFound",
                  ScriptedReply::Send("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nnop"),
                  Outcome::kStatusError, "HTTP/1.1 404 Not Found"},
        ReplyCase{"ProxyAuthentication",
                  ScriptedReply::Send("HTTP/1.1 407 Proxy Authentication Required\r\n"
                                      "Content-Length: 0\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 407 Proxy Authentication Required"},
        ReplyCase{"StatusLineKeptAsReceived",
                  ScriptedReply::SendAndClose("HTTP/1.0 500  Odd  reason \r\n\r\noops"),
                  Outcome::kStatusError, "HTTP/1.0 500  Odd  reason "},
        ReplyCase{"SwitchingProtocols",
                  ScriptedReply::Send("HTTP/1.1 101 Switching Protocols\r\n\r\n"),
                  Outcome::kStatusError, "HTTP/1.1 101 Switching Protocols"},
        ReplyCase{"NotHttpAtAll", ScriptedReply::SendAndClose("SSH-2.0-OpenSSH_9.2\r\n"),
                  Outcome::kStatusError, "SSH-2.0-OpenSSH_9.2"},
        ReplyCase{"ClosedBeforeTheStatusLineEnds", ScriptedReply::SendAndClose("HTTP/1.1 200"),
                  Outcome::kClosed, kClosedText},
        ReplyCase{"ClosedWithoutAReply", ScriptedReply::CloseImmediately(), Outcome::kClosed,
                  kClosedText},
        ReplyCase{"ClosedInAChunk",
                  ScriptedReply::SendAndClose("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n"
                                              "\r\n10\r\nonly part"),
                  Outcome::kClosed, kClosedText},
        ReplyCase{"Reset", ScriptedReply::Reset(), Outcome::kSocketError,
                  "Socket Error # 10054\r\nConnection reset by peer."},
        ReplyCase{"MalformedHeader",
                  ScriptedReply::Send("HTTP/1.1 200 OK\r\nno colon here\r\n\r\n"),
                  Outcome::kReplyError, "The server's reply is not valid HTTP."}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(HttpClientStatusError, CarriesTheCodeAndTheBody) {
  ScriptedHttpServer server(
      {ScriptedReply::Send("HTTP/1.1 404 Not Found\r\nContent-Length: 8\r\n\r\nno bob\r\n")});
  HttpClient client;
  try {
    client.Get(server.Url("/users/show/bob"));
    FAIL() << "no error";
  } catch (const HttpStatusError& error) {
    EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(error.Code(), 404);
    EXPECT_EQ(error.Body(), "no bob\r\n");
  }
}

// ---- Connection failures ----

template <class Error>
std::string ErrorText(const std::function<void()>& request, int* code = nullptr) {
  try {
    request();
  } catch (const Error& error) {
    if constexpr (std::is_same_v<Error, SocketError>) {
      if (code) *code = error.Code();
    }
    return error.what();
  }
  return "no error";
}

TEST(HttpClientFailure, RefusedConnection) {
  HttpClient client;
  int code = 0;
  const std::string url = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/";
  EXPECT_EQ(ErrorText<SocketError>([&] { client.Get(url); }, &code),
            "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(code, 10061);
}

TEST(HttpClientFailure, UnresolvableHost) {
  HttpClient client;
  int code = 0;
  EXPECT_EQ(ErrorText<SocketError>([&] { client.Get("http://no-such-host.invalid/x"); }, &code),
            "Socket Error # 11001\r\nHost not found.");
  EXPECT_EQ(code, 11001);
}

TEST(HttpClientFailure, ServerThatStopsAnsweringTimesOut) {
  HttpClientLimits limits;
  limits.timeout = 200ms;
  const char* kTimedOut = "Socket Error # 10060\r\nConnection timed out.";
  for (const ScriptedReply& stall :
       {ScriptedReply::Stall(), ScriptedReply::Stall("HTTP/1.1 200 OK\r\nContent-Len"),
        ScriptedReply::Stall("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc")}) {
    SCOPED_TRACE(stall.bytes);
    ScriptedHttpServer server({stall, ScriptedReply::Send(kOk)});
    HttpClient client(limits);
    EXPECT_EQ(ErrorText<SocketError>([&] { client.Get(server.Url("/")); }), kTimedOut);
    EXPECT_EQ(client.Get(server.Url("/")), "ok");
    EXPECT_EQ(server.ConnectionCount(), 2);
  }
}

// Each byte arrives well within the time-out, but the reply as a whole would
// take far longer than it: the request is bounded as a whole.
TEST(HttpClientFailure, ServerThatDribblesItsReplyTimesOutAsAWhole) {
  HttpClientLimits limits;
  limits.timeout = 300ms;
  const std::string body(100, 'x');
  ScriptedHttpServer server(
      {ScriptedReply::Dribble("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + body, 20ms),
       ScriptedReply::Send(kOk)});
  HttpClient client(limits);
  EXPECT_EQ(ErrorText<SocketError>([&] { client.Get(server.Url("/")); }),
            "Socket Error # 10060\r\nConnection timed out.");
  // The next request has a time-out of its own.
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
}

TEST(HttpClientFailure, ASlowButTimelyReplyIsRead) {
  HttpClientLimits limits;
  limits.timeout = 5s;
  ScriptedHttpServer server(
      {ScriptedReply::Dribble("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 2ms)});
  HttpClient client(limits);
  EXPECT_EQ(client.Get(server.Url("/")), "ok");
}

struct LimitCase {
  const char* name;
  std::string reply;
  std::string error;  // empty: the reply is accepted
};

TEST(HttpClientFailure, RepliesOverTheLimitsFailClearly) {
  HttpClientLimits limits;
  limits.max_reply_bytes = 1024;
  limits.max_header_bytes = 512;
  const std::string header = "HTTP/1.1 200 OK\r\nContent-Length: 984\r\n\r\n";  // 40 bytes
  const LimitCase cases[] = {
      {"exactly the limit", header + std::string(984, 'x'), ""},
      {"declared length", "HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n",
       "The reply is larger than 1 KiB."},
      {"until close", "HTTP/1.0 200 OK\r\n\r\n" + std::string(2000, 'x'),
       "The reply is larger than 1 KiB."},
      {"chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n258\r\n" + std::string(600, 'x') +
           "\r\n258\r\n" + std::string(600, 'x') + "\r\n0\r\n\r\n",
       "The reply is larger than 1 KiB."},
      {"header", "HTTP/1.1 200 OK\r\nX-Big: " + std::string(600, 'h') + "\r\n\r\n",
       "The reply's header is larger than 512 bytes."},
  };
  for (const LimitCase& limit_case : cases) {
    SCOPED_TRACE(limit_case.name);
    ScriptedHttpServer server(
        {ScriptedReply::SendAndClose(limit_case.reply), ScriptedReply::Send(kOk)});
    HttpClient client(limits);
    if (limit_case.error.empty()) {
      EXPECT_EQ(client.Get(server.Url("/")), std::string(984, 'x'));
    } else {
      EXPECT_EQ(ErrorText<HttpReplyError>([&] { client.Get(server.Url("/")); }), limit_case.error);
    }
    EXPECT_EQ(client.Get(server.Url("/")), "ok");
  }
}

TEST(HttpClientFailure, DefaultLimitsAre16MiBAnd64KiB) {
  const std::string header_block = "HTTP/1.1 200 OK\r\nX-Big: " + std::string(64 * 1024, 'h');
  const std::string cases[][2] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n", "The reply is larger than 16 MiB."},
      {"HTTP/1.0 200 OK\r\n\r\n" + std::string(16 * 1024 * 1024, 'x'),
       "The reply is larger than 16 MiB."},
      {header_block + "\r\n\r\n", "The reply's header is larger than 64 KiB."},
  };
  for (const auto& [reply, error] : cases) {
    ScriptedHttpServer server({ScriptedReply::SendAndClose(reply)});
    HttpClient client;
    EXPECT_EQ(ErrorText<HttpReplyError>([&] { client.Get(server.Url("/")); }), error);
  }
}

// ---- Keeping connections ----

TEST(HttpClientConnection, GetsShareAConnectionUntilTheServerSaysClose) {
  ScriptedHttpServer server(
      {ScriptedReply::Send(kOk), ScriptedReply::Send(kOk),
       ScriptedReply::Send("HTTP/1.1 200 OK\r\nConnection:  CLOSE \r\nContent-Length: 2\r\n\r\nok"),
       ScriptedReply::Send(kOk)});
  HttpClient client;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(client.Get(server.Url("/")), "ok");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].connection, 1);
  EXPECT_EQ(requests[1].connection, 1);
  EXPECT_EQ(requests[2].connection, 1);
  EXPECT_EQ(requests[3].connection, 2);
}

TEST(HttpClientConnection, PostKeepsItsConnectionOnlyWhenAskedTo) {
  const std::string keep_alive =
      "HTTP/1.1 200 OK\r\nConnection: keep-alive\r\nContent-Length: 2\r\n\r\nok";
  ScriptedHttpServer server({ScriptedReply::Send(kOk), ScriptedReply::Send(kOk),
                             ScriptedReply::Send(kOk), ScriptedReply::Send(keep_alive),
                             ScriptedReply::Send(kOk)});
  HttpClient client;
  client.Get(server.Url("/"));   // 1, kept
  client.Post(server.Url("/"));  // 2: a POST never reuses; not kept
  client.Get(server.Url("/"));   // 3
  client.Post(server.Url("/"));  // 4, kept
  client.Get(server.Url("/"));   // 4
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 5u);
  const int expected[] = {1, 2, 3, 4, 4};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(requests[i].connection, expected[i]) << i;
}

TEST(HttpClientConnection, ReconnectsOnceWhenTheServerDroppedTheKeptConnection) {
  for (const auto then : {ScriptedReply::Then::kClose, ScriptedReply::Then::kReset}) {
    ScriptedHttpServer server({ScriptedReply{kOk, then}, ScriptedReply::Send(kOk)});
    HttpClient client;
    EXPECT_EQ(client.Get(server.Url("/")), "ok");
    EXPECT_EQ(client.Get(server.Url("/")), "ok");
    EXPECT_EQ(server.RequestCount(), 2u);
    EXPECT_EQ(server.ConnectionCount(), 2);
  }
}

TEST(HttpClientConnection, DoesNotRetryOnceAnyOfTheReplyArrived) {
  ScriptedHttpServer server({ScriptedReply::Send(kOk), ScriptedReply::SendAndClose("HTTP/1.1 20")});
  HttpClient client;
  client.Get(server.Url("/"));
  EXPECT_THROW(client.Get(server.Url("/")), ConnectionClosedError);
  EXPECT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.ConnectionCount(), 1);
}

TEST(HttpClientConnection, NeverSendsAPostTwice) {
  ScriptedHttpServer server({ScriptedReply::CloseImmediately(), ScriptedReply::Send(kOk)});
  HttpClient client;
  EXPECT_THROW(client.Post(server.Url("/statuses/update.xml?status=once")), ConnectionClosedError);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(HttpClientConnection, AnotherHostOrPortGetsItsOwnConnection) {
  ScriptedHttpServer first({ScriptedReply::Send(kOk), ScriptedReply::Send(kOk)});
  ScriptedHttpServer second({ScriptedReply::Send(kOk)});
  HttpClient client;
  client.Get(first.Url("/"));
  client.Get(second.Url("/"));
  client.Get(first.Url("/"));
  EXPECT_EQ(first.ConnectionCount(), 2);
  EXPECT_EQ(second.ConnectionCount(), 1);
}

}  // namespace
}  // namespace plumwit
