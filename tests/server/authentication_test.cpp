// Basic authentication: right, wrong, missing and malformed credentials, and
// what the log keeps of them (nothing).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

using AuthenticationTest = ServiceTest;

TEST_F(AuthenticationTest, TimelineAnswersEachKindOfAuthorization) {
  struct Case {
    const char* label;
    std::string authorization;
    int status;
  };
  const Case cases[] = {
      {"right", RawHttpClient::BasicAuth("demo", "demo"), 200},
      {"name in other case", RawHttpClient::BasicAuth("DeMo", "demo"), 200},
      {"lower-case scheme", "basic " + RawHttpClient::BasicAuth("demo", "demo").substr(6), 200},
      {"wrong password", RawHttpClient::BasicAuth("demo", "Demo"), 401},
      {"empty password", RawHttpClient::BasicAuth("demo", ""), 401},
      {"unknown account", RawHttpClient::BasicAuth("nobody", "demo"), 401},
      {"empty name", RawHttpClient::BasicAuth("", "demo"), 401},
      {"seeded account without a password", RawHttpClient::BasicAuth("margit", "!"), 401},
      {"missing", "", 401},
      {"other scheme", "Bearer abcdef", 401},
      {"scheme alone", "Basic", 400},
      {"not Base64", "Basic !!!!", 400},
      {"bad Base64 length", "Basic ZGVtbzpkZW1v=", 400},
      {"no colon", "Basic ZGVtbw==", 400},
      {"blank value", " ", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const HttpReply reply = Get("/statuses/home_timeline/demo.xml?count=20", c.authorization);
    ASSERT_EQ(reply.status, c.status) << reply.body;
    if (c.status == 401) {
      EXPECT_EQ(reply.status_line, "HTTP/1.1 401 Unauthorized");
      EXPECT_EQ(reply.Header("WWW-Authenticate"), "Basic realm=\"Plumwit\"");
      // The client tells a wrong password by a document without statuses.
      const pugi::xml_document document = ParseXml(reply.body);
      EXPECT_EQ(ChildNames(document.child("hash")), (std::vector<std::string>{"request", "error"}));
      EXPECT_STREQ(document.child("hash").child_value("error"), "Could not authenticate you.");
      EXPECT_STREQ(document.child("hash").child_value("request"),
                   "/statuses/home_timeline/demo.xml");
    }
    if (c.status == 400) {
      EXPECT_STREQ(ParseXml(reply.body).child("hash").child_value("error"),
                   "Malformed Authorization header.");
    }
  }
}

TEST_F(AuthenticationTest, PathNameMustBeTheSignedInAccount) {
  const HttpReply reply = Get("/statuses/home_timeline/margit.xml", DemoAuth());
  EXPECT_EQ(reply.status, 401);
  EXPECT_EQ(Get("/statuses/home_timeline/Demo.xml", DemoAuth()).status, 200);
}

TEST_F(AuthenticationTest, EveryAccountEndpointRefusesMissingOrWrongCredentials) {
  const std::string wrong = RawHttpClient::BasicAuth("demo", "nope");
  for (const std::string& authorization : {std::string(), wrong}) {
    SCOPED_TRACE(authorization);
    EXPECT_EQ(Post("/statuses/update.xml?status=hi", authorization).status, 401);
    EXPECT_EQ(Post("/account/update_profile.xml?name=x", authorization).status, 401);
    EXPECT_EQ(Get("/account/verify_credentials.xml", authorization).status, 401);
    EXPECT_EQ(Get("/api/statuses/home_timeline.json", authorization).status, 401);
  }
  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  EXPECT_STREQ(record.child("user").child_value("statuses_count"), "4");
  EXPECT_STREQ(record.child("user").child_value("name"), "Demo Account");
}

TEST_F(AuthenticationTest, MalformedHeaderIsRefusedEvenWhereNoSignInIsNeeded) {
  EXPECT_EQ(Get("/users/show/demo", "Basic !!!!").status, 400);
  // The client sends its credentials with the user record request.
  EXPECT_EQ(Get("/users/show/demo", DemoAuth()).status, 200);
  EXPECT_EQ(Get("/users/show/demo", RawHttpClient::BasicAuth("demo", "wrong")).status, 200);
}

TEST_F(AuthenticationTest, LogHasOneLinePerRequestWithoutQueryOrCredentials) {
  const std::size_t before = LogLines().size();
  Post("/statuses/update.xml?status=" + Encode("secret words"), DemoAuth());
  Get("/statuses/home_timeline/demo.xml?count=20", RawHttpClient::BasicAuth("demo", "hunter2"));
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), before + 2);
  EXPECT_NE(lines[before].find(" POST /statuses/update.xml 200 "), std::string::npos)
      << lines[before];
  EXPECT_NE(lines[before + 1].find(" GET /statuses/home_timeline/demo.xml 401 "), std::string::npos)
      << lines[before + 1];
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("secret"), std::string::npos) << line;
    EXPECT_EQ(line.find("count="), std::string::npos) << line;
    EXPECT_EQ(line.find("hunter2"), std::string::npos) << line;
    EXPECT_EQ(line.find(DemoAuth().substr(6)), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace plumwit::server::testing
