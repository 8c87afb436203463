// Input the service must refuse without harm: oversized parts, text that is
// not UTF-8, SQL metacharacters, unknown paths and wrong methods.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

std::string ErrorOf(const HttpReply& reply) {
  return ParseXml(reply.body).child("hash").child_value("error");
}

using LimitsTest = ServiceTest;

TEST_F(LimitsTest, OversizedRequestLineHeadersAndBodyAreRefusedAndTheConnectionClosed) {
  struct Case {
    const char* label;
    std::string request;
    const char* status_line;
    const char* message;
  };
  std::string many_headers;
  for (int i = 0; i < 100; ++i)
    many_headers += "X-Filler-" + std::to_string(i) + ": " + std::string(200, 'f') + "\r\n";
  const Case cases[] = {
      {"request line over 8 KiB", "GET /" + std::string(9000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n",
       "HTTP/1.1 400 Bad Request", "Request line is too long."},
      {"request line beyond every limit",
       "GET /users/show/demo?" + std::string(40000, 'q') + " HTTP/1.1\r\n\r\n",
       "HTTP/1.1 400 Bad Request", "Request line is too long."},
      {"headers over 16 KiB", "GET /users/show/demo HTTP/1.1\r\n" + many_headers + "\r\n",
       "HTTP/1.1 431 Request Header Fields Too Large", "Request header fields are too large."},
      {"declared body over 64 KiB",
       "POST /statuses/update.xml HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
       "Content-Length: 100000\r\n\r\n" +
           std::string(100000, 'b'),
       "HTTP/1.1 413 Payload Too Large", "Request body is too large."},
      {"chunked body over 64 KiB",
       "POST /signup HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n10000\r\n" +
           std::string(0x10000, 'c') + "\r\n10\r\n" + std::string(16, 'c') + "\r\n0\r\n\r\n",
       "HTTP/1.1 413 Payload Too Large", "Request body is too large."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RawHttpClient client(Port());
    const HttpReply reply = client.Exchange(c.request);
    EXPECT_EQ(reply.status_line, c.status_line);
    EXPECT_EQ(ErrorOf(reply), c.message);
    EXPECT_EQ(reply.Header("Connection"), "close");
    EXPECT_TRUE(client.ServerClosed());
  }
  EXPECT_EQ(Get("/users/show/demo").status, 200);
}

TEST_F(LimitsTest, PartsJustInsideTheLimitsAreServed) {
  const std::string long_query = "/users/show/demo?pad=" + std::string(8000, 'p');
  EXPECT_EQ(Get(long_query).status, 200);
  const std::string body = "status=fits&pad=" + std::string(60000, 'p');
  EXPECT_EQ(PostForm("/statuses/update.xml", body, DemoAuth()).status, 200);
}

using BadInputTest = ServiceTest;

TEST_F(BadInputTest, TextThatIsNotUtf8OrCannotBeStoredIsRefusedWith400) {
  const char* targets[] = {
      "/users/show/%FF",
      "/users/show/%C0%AF",  // overlong "/"
      "/statuses/update.xml?status=%C3%28",
      "/statuses/update.xml?status=%ED%A0%80",     // a surrogate
      "/statuses/update.xml?status=%F4%90%80%80",  // beyond U+10FFFF
      "/statuses/update.xml?status=bell%07",
      "/statuses/update.xml?status=nul%00byte",
      "/account/update_profile.xml?name=%EF%BF%BF",  // U+FFFF
      "/account/update_profile.xml?%FF=name",
  };
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    const HttpReply reply = Post(target, DemoAuth());
    EXPECT_EQ(reply.status_line, "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(ErrorOf(reply),
              "Request holds text that is not valid UTF-8 or characters that cannot be stored.");
  }
  const HttpReply form = PostForm("/statuses/update.xml", "status=%80%80", DemoAuth());
  EXPECT_EQ(form.status, 400);
  const HttpReply raw_byte = Exchange("GET /users/show/\xFF\xFE HTTP/1.1\r\n\r\n");
  EXPECT_EQ(raw_byte.status, 400);
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("statuses_count"),
               "4");
}

TEST_F(BadInputTest, MalformedRequestsAreRefusedWith400) {
  const char* requests[] = {
      "GARBAGE\r\n\r\n",
      "GET /users/show/demo HTTP/9.9\r\n\r\n",
      "GET /users/show/demo HTTP/1.1\r\nNo colon here\r\n\r\n",
      "POST /statuses/update.xml HTTP/1.1\r\nContent-Length: abc\r\n\r\n",
      "POST /statuses/update.xml HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
  };
  for (const char* request : requests) {
    SCOPED_TRACE(request);
    RawHttpClient client(Port());
    const HttpReply reply = client.Exchange(request);
    EXPECT_EQ(reply.status, 400);
    EXPECT_TRUE(client.ServerClosed());
  }
}

TEST_F(BadInputTest, SqlMetacharactersInEveryParameterAreJustText) {
  const std::string attacks[] = {
      "x'); DROP TABLE statuses;--",
      "\" OR \"1\"=\"1",
      "%' OR '1'='1",
      "demo' --",
  };
  int posted = 0;
  for (const std::string& attack : attacks) {
    SCOPED_TRACE(attack);
    const std::string encoded = Encode(attack);
    // Names in paths, query and credentials.
    EXPECT_EQ(Get("/users/show/" + encoded).status, 404);
    EXPECT_EQ(Get("/users/show.xml?screen_name=" + encoded).status, 404);
    EXPECT_EQ(Get("/statuses/home_timeline/" + encoded + ".xml", DemoAuth()).status, 401);
    EXPECT_EQ(Get("/statuses/home_timeline.xml", RawHttpClient::BasicAuth(attack, "demo")).status,
              401);
    EXPECT_EQ(Get("/statuses/home_timeline.xml", RawHttpClient::BasicAuth("demo", attack)).status,
              401);
    EXPECT_EQ(Get("/" + encoded).status, 404);
    EXPECT_EQ(Get("/avatars/" + encoded + ".svg").status, 404);
    // Numbers.
    EXPECT_EQ(Get("/api/statuses/home_timeline.json?count=" + encoded + "&since_id=" + encoded +
                      "&max_id=" + encoded + "&page=" + encoded,
                  DemoAuth())
                  .status,
              200);
    // Stored text comes back exactly as sent.
    const HttpReply status = Post("/statuses/update.xml?status=" + encoded + "&source=" + encoded +
                                      "&in_reply_to_status_id=" + encoded,
                                  DemoAuth());
    ASSERT_EQ(status.status, 200) << status.body;
    ++posted;
    EXPECT_EQ(ParseXml(status.body).child("status").child_value("text"), attack);
    const HttpReply profile =
        Post("/account/update_profile.xml?name=" + Encode(attack.substr(0, 20)) +
                 "&location=" + encoded + "&description=" + encoded + "&url=" + encoded,
             DemoAuth());
    ASSERT_EQ(profile.status, 200) << profile.body;
    EXPECT_EQ(ParseXml(profile.body).child("user").child_value("description"), attack);
    // Screen names refuse them outright.
    EXPECT_EQ(Post("/account/update_profile.xml?screen_name=" + encoded, DemoAuth()).status, 403);
    const HttpReply signup =
        PostForm("/signup", "screen_name=" + encoded +
                                "&password=longenough&password_confirmation=longenough");
    EXPECT_EQ(signup.status, 400);
  }
  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  EXPECT_STREQ(record.child("user").child_value("statuses_count"),
               std::to_string(4 + posted).c_str());
  EXPECT_EQ(ParseXml(Get("/statuses/home_timeline.xml?count=200", DemoAuth()).body)
                .child("statuses")
                .select_nodes("status")
                .size(),
            31u + posted);
  EXPECT_EQ(Get("/users/show/margit").status, 200);
}

TEST_F(BadInputTest, UnknownPathsAre404WithAnErrorDocument) {
  struct Case {
    const char* target;
    const char* content_type;
  };
  const Case cases[] = {
      {"/statuses/unknown.xml", "application/xml; charset=utf-8"},
      {"/users", "text/html; charset=utf-8"},
      {"/users/show/", "application/xml; charset=utf-8"},
      {"/api/", "application/xml; charset=utf-8"},
      {"/api/signup", "application/xml; charset=utf-8"},
      {"/api/demo", "application/xml; charset=utf-8"},
      {"/statuses/home_timeline/demo/extra.xml", "application/xml; charset=utf-8"},
      {"/api/statuses/no_such_timeline.json", "application/json; charset=utf-8"},
      {"/nobody", "text/html; charset=utf-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const HttpReply reply = Get(c.target, DemoAuth());
    EXPECT_EQ(reply.status_line, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(reply.Header("Content-Type"), c.content_type);
  }
  EXPECT_EQ(nlohmann::json::parse(Get("/api/statuses/no_such_timeline.json").body)["error"],
            "Not found");
}

TEST_F(BadInputTest, WrongMethodsAre405WithTheAllowedOnes) {
  struct Case {
    const char* method;
    const char* target;
    const char* allow;
  };
  const Case cases[] = {
      {"DELETE", "/users/show/demo", "GET, HEAD"},
      {"POST", "/users/show/demo.xml", "GET, HEAD"},
      {"GET", "/statuses/update.xml", "POST"},
      {"PUT", "/account/update_profile.xml", "POST"},
      {"POST", "/statuses/home_timeline/demo.xml", "GET, HEAD"},
      {"PATCH", "/api/account/verify_credentials.xml", "GET, HEAD"},
      {"DELETE", "/signup", "GET, HEAD, POST"},
      {"POST", "/", "GET, HEAD"},
      {"BREW", "/avatars/demo.svg", "GET, HEAD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.target);
    const HttpReply reply =
        Exchange(std::string(c.method) + " " + c.target +
                 " HTTP/1.1\r\nContent-Length: 0\r\nAuthorization: " + DemoAuth() + "\r\n\r\n");
    EXPECT_EQ(reply.status_line, "HTTP/1.1 405 Method Not Allowed");
    EXPECT_EQ(reply.Header("Allow"), c.allow);
    EXPECT_EQ(ErrorOf(reply), "Method not allowed.");
  }
}

}  // namespace
}  // namespace plumwit::server::testing
