// The web pages behind the client's links, and the avatars.

#include <gtest/gtest.h>

#include <string>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kHtmlType = "text/html; charset=utf-8";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

using PagesTest = ServiceTest;

TEST_F(PagesTest, FixedPagesAnswerWithHtml) {
  struct Case {
    const char* path;
    const char* must_contain;
  };
  const Case cases[] = {
      {"/", "href=\"/signup\""},
      {"/signup", "<form method=\"post\" action=\"/signup\">"},
      {"/account/resend_password", "plumwit-server passwd NAME"},
      {"/pages/api_terms", "Terms of the interface"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const HttpReply reply = Get(c.path);
    EXPECT_EQ(reply.status_line, "HTTP/1.1 200 OK");
    EXPECT_EQ(reply.Header("Content-Type"), kHtmlType);
    EXPECT_TRUE(Contains(reply.body, c.must_contain)) << reply.body;
  }
}

TEST_F(PagesTest, HomeListsAccountsAndLatestStatusesEscaped) {
  const std::string home = Get("/").body;
  EXPECT_TRUE(Contains(home, "<a href=\"/margit\">margit</a>"));
  EXPECT_TRUE(Contains(home, "Deploying on a Friday? &lt;b&gt;No&lt;/b&gt;."));
  EXPECT_FALSE(Contains(home, "<b>No</b>"));
}

TEST_F(PagesTest, AccountPageShowsTheProfileAndStatusesWithLinks) {
  const HttpReply page = Get("/amara");
  ASSERT_EQ(page.status, 200);
  EXPECT_TRUE(Contains(page.body, "<h1>Amara Nwosu</h1>"));
  EXPECT_TRUE(Contains(page.body, "<a href=\"https://example.net/amara\" rel=\"nofollow\">"));
  EXPECT_TRUE(Contains(page.body,
                       "<a href=\"http://radio.example.net/live\" rel=\"nofollow\">"
                       "http://radio.example.net/live</a> while coding."));
  EXPECT_TRUE(Contains(page.body, "src=\"http://127.0.0.1/avatars/amara.svg\""));
  EXPECT_FALSE(Contains(page.body, "Nobody reads this one"));

  // A profile address that is not a web address is shown, not linked.
  ASSERT_EQ(
      Post("/account/update_profile.xml?url=" + Encode("javascript:alert(1)"), DemoAuth()).status,
      200);
  const std::string demo = Get("/demo").body;
  EXPECT_TRUE(Contains(demo, "<p>javascript:alert(1)</p>"));
  EXPECT_FALSE(Contains(demo, "href=\"javascript"));

  const HttpReply missing = Get("/nobody");
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(missing.Header("Content-Type"), kHtmlType);
}

TEST_F(PagesTest, SignupCreatesAnAccountThatCanSignIn) {
  const HttpReply reply = PostForm("/signup",
                                   "screen_name=new_user&name=N%C3%A9e+User&password=pa%26ss+word"
                                   "&password_confirmation=pa%26ss+word");
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_TRUE(Contains(reply.body, "Welcome, new_user"));

  const pugi::xml_document record = ParseXml(Get("/users/show/new_user").body);
  EXPECT_STREQ(record.child("user").child_value("name"), "Née User");
  EXPECT_EQ(Get("/statuses/home_timeline/new_user.xml",
                RawHttpClient::BasicAuth("new_user", "pa&ss word"))
                .status,
            200);

  // Without a name the account is named after its screen name.
  SignUp("nameless");
  EXPECT_STREQ(ParseXml(Get("/users/show/nameless").body).child("user").child_value("name"),
               "nameless");
}

TEST_F(PagesTest, SignupRefusalsShowTheFormAgainWithTheReason) {
  struct Case {
    const char* body;
    const char* message;
  };
  const Case cases[] = {
      {"screen_name=MARGIT&password=secret1&password_confirmation=secret1",
       "Screen name has already been taken."},
      {"screen_name=bad+name&password=secret1&password_confirmation=secret1",
       "Screen name can only contain letters, numbers and underscores."},
      {"screen_name=signup&password=secret1&password_confirmation=secret1",
       "Screen name is reserved."},
      {"screen_name=&password=secret1&password_confirmation=secret1",
       "Screen name can&#39;t be blank."},
      {"screen_name=fresh&password=short&password_confirmation=short",
       "Password is too short (minimum is 6 characters)."},
      {"screen_name=fresh&password=secret1&password_confirmation=secret2",
       "The two passwords differ."},
      {"screen_name=fresh&name=%3Cscript%3E123456789012345678&password=secret1"
       "&password_confirmation=secret1",
       "Name is too long (maximum is 20 characters)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    const HttpReply reply = PostForm("/signup", c.body);
    EXPECT_EQ(reply.status, 400);
    EXPECT_TRUE(Contains(reply.body, c.message)) << reply.body;
    EXPECT_FALSE(Contains(reply.body, "<script>"));
    EXPECT_FALSE(Contains(reply.body, "secret1"));
  }
  EXPECT_EQ(Get("/users/show/fresh").status, 404);
}

TEST_F(PagesTest, AvatarsAreSvgWithTheInitials) {
  const pugi::xml_document record = ParseXml(Get("/users/show/margit").body);
  const std::string url = record.child("user").child_value("profile_image_url");
  const std::string path = url.substr(url.find("/avatars/"));
  const HttpReply avatar = Get(path);
  ASSERT_EQ(avatar.status, 200);
  EXPECT_EQ(avatar.Header("Content-Type"), "image/svg+xml");
  const pugi::xml_document svg = ParseXml(avatar.body);
  EXPECT_STREQ(svg.child("svg").child_value("text"), "MÖ");

  ASSERT_EQ(Post("/account/update_profile.xml?name=" + Encode("<&> x"), DemoAuth()).status, 200);
  EXPECT_STREQ(ParseXml(Get("/avatars/demo.svg").body).child("svg").child_value("text"), "<X");

  EXPECT_EQ(Get("/avatars/nobody.svg").status, 404);
  EXPECT_EQ(Get("/avatars/margit.png").status, 404);
}

}  // namespace
}  // namespace plumwit::server::testing
