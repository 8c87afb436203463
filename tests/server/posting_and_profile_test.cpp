// Posting a status and updating the profile, in the client's request shape
// (data in the query, empty form) and as form bodies.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kNoStatus = "Client must provide a 'status' parameter with a value.";
constexpr const char* kOver140 = "Status is over 140 characters.";

std::string ErrorOf(const HttpReply& reply) {
  return ParseXml(reply.body).child("hash").child_value("error");
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

using PostingTest = ServiceTest;

TEST_F(PostingTest, ClientShapedPostCreatesTheStatusAndAnswersWithIt) {
  const std::string text = "Tea & <cake> at 5 ☕ = \"yes\" #really?";
  const HttpReply reply = Post("/statuses/update.xml?status=" + Encode(text), DemoAuth());
  ASSERT_EQ(reply.status_line, "HTTP/1.1 200 OK") << reply.body;
  const pugi::xml_document document = ParseXml(reply.body);
  const pugi::xml_node status = document.child("status");
  EXPECT_EQ(status.child_value("text"), text);
  EXPECT_STREQ(status.child_value("source"), "web");
  EXPECT_STREQ(status.child("user").child_value("screen_name"), "demo");
  EXPECT_STREQ(status.child("user").child_value("statuses_count"), "5");

  const pugi::xml_document timeline =
      ParseXml(Get("/statuses/home_timeline/demo.xml?count=20", DemoAuth()).body);
  EXPECT_EQ(timeline.child("statuses").first_child().child_value("text"), text);
  EXPECT_STREQ(timeline.child("statuses").first_child().child_value("id"),
               status.child_value("id"));
}

TEST_F(PostingTest, FormBodyTakesPlusAsSpaceAndASource) {
  const HttpReply reply =
      PostForm("/api/statuses/update.json", "status=plus+means+space%21&source=Choqok", DemoAuth());
  ASSERT_EQ(reply.status, 200) << reply.body;
  const nlohmann::json status = nlohmann::json::parse(reply.body);
  EXPECT_EQ(status["text"], "plus means space!");
  EXPECT_EQ(status["source"], "Choqok");
  EXPECT_EQ(status["user"]["screen_name"], "demo");
}

TEST_F(PostingTest, RefusesEmptyOverlongAndDuplicateStatusesWith403) {
  const std::string exactly_140 = Repeat("é", 139) + "!";
  ASSERT_EQ(Post("/statuses/update.xml?status=" + Encode(exactly_140), DemoAuth()).status, 200);

  struct Case {
    std::string target;
    const char* message;
  };
  const Case cases[] = {
      {"/statuses/update.xml?status=", kNoStatus},
      {"/statuses/update.xml", kNoStatus},
      {"/statuses/update.xml?status=%20%20%0D%0A%09", kNoStatus},
      {"/statuses/update.xml?status=" + Encode(Repeat("é", 141)), kOver140},
      {"/statuses/update.xml?status=" + Encode(Repeat("a", 141)), kOver140},
      {"/statuses/update.xml?status=" + Encode(exactly_140), "Status is a duplicate."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const HttpReply reply = Post(c.target, DemoAuth());
    EXPECT_EQ(reply.status_line, "HTTP/1.1 403 Forbidden");
    const pugi::xml_document document = ParseXml(reply.body);
    EXPECT_EQ(ChildNames(document.child("hash")), (std::vector<std::string>{"request", "error"}));
    EXPECT_STREQ(document.child("hash").child_value("request"), "/statuses/update.xml");
    EXPECT_EQ(ErrorOf(reply), c.message);
  }
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("statuses_count"),
               "5");
}

TEST_F(PostingTest, ReplyNamesTheStatusAndAuthorItAnswers) {
  const pugi::xml_document timeline =
      ParseXml(Get("/statuses/home_timeline.xml?count=1", DemoAuth()).body);
  const pugi::xml_node original = timeline.child("statuses").child("status");
  const HttpReply reply = PostForm(
      "/statuses/update.xml",
      std::string("status=Agreed&in_reply_to_status_id=") + original.child_value("id"), DemoAuth());
  ASSERT_EQ(reply.status, 200);
  const pugi::xml_document answer = ParseXml(reply.body);
  const pugi::xml_node status = answer.child("status");
  EXPECT_STREQ(status.child_value("in_reply_to_status_id"), original.child_value("id"));
  EXPECT_STREQ(status.child_value("in_reply_to_screen_name"),
               original.child("user").child_value("screen_name"));
}

using ProfileTest = ServiceTest;

TEST_F(ProfileTest, ClientShapedUpdateReplacesAllFiveFieldsAndAnswersTheUser) {
  const HttpReply reply = Post("/account/update_profile.xml?name=" + Encode("Dana Demo") +
                                   "&screen_name=demo&location=" + Encode("Łódź, PL") +
                                   "&description=" + Encode("Two\r\nlines & more") +
                                   "&url=" + Encode("http://example.org/dana"),
                               DemoAuth());
  ASSERT_EQ(reply.status_line, "HTTP/1.1 200 OK") << reply.body;
  const pugi::xml_document answer = ParseXml(reply.body);
  const pugi::xml_node answered = answer.child("user");
  EXPECT_STREQ(answered.child_value("name"), "Dana Demo");

  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  const pugi::xml_node user = record.child("user");
  EXPECT_STREQ(user.child_value("name"), "Dana Demo");
  EXPECT_STREQ(user.child_value("location"), "Łódź, PL");
  EXPECT_STREQ(user.child_value("description"), "Two\r\nlines & more");
  EXPECT_STREQ(user.child_value("url"), "http://example.org/dana");
}

TEST_F(ProfileTest, EmptyValueClearsAndAbsentValueKeeps) {
  ASSERT_EQ(Post("/account/update_profile.xml?location=&name=Only%20Name", DemoAuth()).status, 200);
  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  EXPECT_STREQ(record.child("user").child_value("location"), "");
  EXPECT_STREQ(record.child("user").child_value("name"), "Only Name");
  EXPECT_STREQ(record.child("user").child_value("description"), "The account to try Plumwit with.");
  EXPECT_NE(Get("/users/show/demo").body.find("<location></location>"), std::string::npos);
}

TEST_F(ProfileTest, RefusesAValueOverItsLimitNamingTheFieldAndChangesNothing) {
  struct Case {
    std::string query;
    const char* message;
  };
  const Case cases[] = {
      {"name=" + Encode(Repeat("ä", 21)), "Name is too long (maximum is 20 characters)."},
      {"screen_name=" + Repeat("a", 16), "Screen name is too long (maximum is 15 characters)."},
      {"screen_name=bad%20name", "Screen name can only contain letters, numbers and underscores."},
      {"screen_name=" + Encode("dëmo"),
       "Screen name can only contain letters, numbers and underscores."},
      {"screen_name=", "Screen name can't be blank."},
      {"screen_name=signup", "Screen name is reserved."},
      {"screen_name=MARGIT", "Screen name has already been taken."},
      {"location=" + Repeat("l", 31), "Location is too long (maximum is 30 characters)."},
      {"description=" + Repeat("d", 161), "Description is too long (maximum is 160 characters)."},
      {"url=http://" + Repeat("u", 94), "Url is too long (maximum is 100 characters)."},
      {"name=Changed&location=" + Repeat("l", 31),
       "Location is too long (maximum is 30 characters)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    const HttpReply reply = Post("/account/update_profile.xml?" + c.query, DemoAuth());
    EXPECT_EQ(reply.status, 403);
    EXPECT_EQ(ErrorOf(reply), c.message);
  }
  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  EXPECT_STREQ(record.child("user").child_value("name"), "Demo Account");
  EXPECT_STREQ(record.child("user").child_value("location"), "Right here");

  const std::string at_limits = "name=" + Encode(Repeat("ä", 20)) + "&location=" + Repeat("l", 30) +
                                "&description=" + Repeat("d", 160) + "&url=http://" +
                                Repeat("u", 93) + "&screen_name=" + Repeat("z", 15);
  EXPECT_EQ(Post("/account/update_profile.xml?" + at_limits, DemoAuth()).status, 200);
}

TEST_F(ProfileTest, RenamedAccountAnswersUnderTheNewNameOnly) {
  ASSERT_EQ(PostForm("/account/update_profile.json", "screen_name=dana_2", DemoAuth()).status, 200);
  EXPECT_EQ(Get("/users/show/demo").status, 404);
  EXPECT_EQ(Get("/users/show/dana_2").status, 200);
  const std::string renamed = RawHttpClient::BasicAuth("dana_2", "demo");
  EXPECT_EQ(Get("/statuses/home_timeline/dana_2.xml", renamed).status, 200);
  EXPECT_EQ(Get("/statuses/home_timeline/demo.xml", renamed).status, 401);
  EXPECT_EQ(Get("/statuses/home_timeline/demo.xml", DemoAuth()).status, 401);
}

}  // namespace
}  // namespace plumwit::server::testing
