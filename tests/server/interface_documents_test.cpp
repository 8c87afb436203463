// The interface's documents: paths, status lines and the exact shape of the
// XML (and the JSON beside it).

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <string>
#include <vector>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

const std::vector<std::string> kUserFields = {"id",
                                              "name",
                                              "screen_name",
                                              "location",
                                              "description",
                                              "profile_image_url",
                                              "url",
                                              "protected",
                                              "followers_count",
                                              "friends_count",
                                              "created_at",
                                              "favourites_count",
                                              "utc_offset",
                                              "time_zone",
                                              "statuses_count"};

const std::vector<std::string> kStatusFields = {"created_at",
                                                "id",
                                                "text",
                                                "source",
                                                "truncated",
                                                "in_reply_to_status_id",
                                                "in_reply_to_user_id",
                                                "favorited",
                                                "in_reply_to_screen_name"};

constexpr const char* kXmlType = "application/xml; charset=utf-8";
constexpr const char* kJsonType = "application/json; charset=utf-8";
constexpr int kDemoTimelineSize = 31;  // demo's own statuses and those of the three it follows

std::vector<std::string> With(std::vector<std::string> names, const std::string& last) {
  names.push_back(last);
  return names;
}

std::vector<long long> StatusIds(const pugi::xml_node& statuses) {
  std::vector<long long> ids;
  for (const pugi::xml_node& status : statuses.children("status")) {
    ids.push_back(status.child("id").text().as_llong());
  }
  return ids;
}

using UserRecordTest = ServiceTest;

TEST_F(UserRecordTest, ListsTheFieldsInOrderThenTheLatestStatusWithoutAuthor) {
  const HttpReply reply = Get("/users/show/demo");
  EXPECT_EQ(reply.status_line, "HTTP/1.1 200 OK");
  EXPECT_EQ(reply.Header("Content-Type"), kXmlType);
  EXPECT_EQ(reply.body.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<user>\n  <id>", 0), 0u)
      << reply.body;

  const pugi::xml_document document = ParseXml(reply.body);
  const pugi::xml_node user = document.child("user");
  EXPECT_EQ(ChildNames(user), With(kUserFields, "status"));
  EXPECT_EQ(ChildNames(user.child("status")), kStatusFields);
  EXPECT_STREQ(user.child_value("screen_name"), "demo");
  EXPECT_STREQ(user.child_value("friends_count"), "3");
  EXPECT_STREQ(user.child_value("followers_count"), "2");
  EXPECT_STREQ(user.child_value("statuses_count"), "4");
  EXPECT_STREQ(user.child_value("profile_image_url"), "http://127.0.0.1/avatars/demo.svg");
  EXPECT_TRUE(std::regex_match(
      user.child_value("created_at"),
      std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \+0000 \d{4})")))
      << user.child_value("created_at");
}

TEST_F(UserRecordTest, WritesTheExactShapeWithCharacterReferencesAndEmptyElements) {
  const std::string auth = SignUp("shape");
  ASSERT_EQ(Post("/account/update_profile.xml?name=" + Encode("Calçado & <Co>") +
                     "&location=" + Encode("São Paulo") +
                     "&description=" + Encode("\"Quotes\" 🙂 line\r\nbreak") + "&url=",
                 auth)
                .status,
            200);
  const HttpReply reply = Get("/users/show/shape");
  const std::string body = std::regex_replace(
      reply.body, std::regex("<created_at>[^<]*</created_at>"), "<created_at>DATE</created_at>");
  EXPECT_EQ(body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<user>\n"
            "  <id>6</id>\n"
            "  <name>Cal&#231;ado &amp; &lt;Co&gt;</name>\n"
            "  <screen_name>shape</screen_name>\n"
            "  <location>S&#227;o Paulo</location>\n"
            "  <description>&quot;Quotes&quot; &#128578; line&#13;\nbreak</description>\n"
            "  <profile_image_url>http://127.0.0.1/avatars/shape.svg</profile_image_url>\n"
            "  <url></url>\n"
            "  <protected>false</protected>\n"
            "  <followers_count>0</followers_count>\n"
            "  <friends_count>0</friends_count>\n"
            "  <created_at>DATE</created_at>\n"
            "  <favourites_count>0</favourites_count>\n"
            "  <utc_offset>0</utc_offset>\n"
            "  <time_zone>UTC</time_zone>\n"
            "  <statuses_count>0</statuses_count>\n"
            "</user>\n");
}

TEST_F(UserRecordTest, AnswersEveryPathFormInXmlAndJson) {
  struct Case {
    const char* target;
    const char* content_type;
  };
  const Case cases[] = {
      {"/users/show/demo", kXmlType},           {"/users/show/demo.xml", kXmlType},
      {"/users/show/DEMO.xml", kXmlType},       {"/api/users/show/demo", kXmlType},
      {"/api/users/show/demo.xml", kXmlType},   {"/users/show/demo.json", kJsonType},
      {"/api/users/show/demo.json", kJsonType}, {"/users/show.xml?screen_name=demo", kXmlType},
      {"/api/users/show.json?id=1", kJsonType}, {"/users/show.json?user_id=1", kJsonType},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const HttpReply reply = Get(c.target);
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.Header("Content-Type"), c.content_type);
    if (std::string(c.content_type) == kJsonType) {
      const nlohmann::json user = nlohmann::json::parse(reply.body);
      EXPECT_EQ(user["screen_name"], "demo");
      EXPECT_EQ(user["id_str"], "1");
      EXPECT_FALSE(user["status"].contains("user"));
    } else {
      EXPECT_STREQ(ParseXml(reply.body).child("user").child_value("screen_name"), "demo");
    }
  }
}

TEST_F(UserRecordTest, UnknownNameIs404WithTheErrorDocument) {
  const HttpReply reply = Get("/users/show/nobody");
  EXPECT_EQ(reply.status_line, "HTTP/1.1 404 Not Found");
  EXPECT_EQ(reply.Header("Content-Type"), kXmlType);
  EXPECT_EQ(reply.body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<hash>\n"
            "  <request>/users/show/nobody</request>\n  <error>Not found</error>\n</hash>\n");

  const HttpReply spaced = Get("/users/show/no%20body");
  EXPECT_EQ(spaced.status, 404);
  EXPECT_STREQ(ParseXml(spaced.body).child("hash").child_value("request"), "/users/show/no%20body");

  const nlohmann::json json = nlohmann::json::parse(Get("/users/show/nobody.json").body);
  EXPECT_EQ(json["error"], "Not found");
  EXPECT_EQ(json["request"], "/users/show/nobody.json");
}

TEST_F(UserRecordTest, LinksFollowTheHostTheClientUsedAndIgnoreAForgedOne) {
  const std::string forged = "GET /users/show/demo.xml HTTP/1.1\r\nHost: evil\"><script>\r\n\r\n";
  const pugi::xml_document document = ParseXml(Exchange(forged).body);
  const std::string url = document.child("user").child_value("profile_image_url");
  EXPECT_EQ(url, "http://127.0.0.1:" + std::to_string(Port()) + "/avatars/demo.svg");

  const std::string proper = "GET /users/show/demo.xml HTTP/1.1\r\nHost: localhost:8080\r\n\r\n";
  EXPECT_STREQ(ParseXml(Exchange(proper).body).child("user").child_value("profile_image_url"),
               "http://localhost:8080/avatars/demo.svg");
}

using HomeTimelineTest = ServiceTest;

TEST_F(HomeTimelineTest, HoldsOwnAndFollowedStatusesNewestFirstWithAuthors) {
  const HttpReply reply = Get("/statuses/home_timeline/demo.xml?count=20", DemoAuth());
  ASSERT_EQ(reply.status_line, "HTTP/1.1 200 OK");
  EXPECT_EQ(reply.Header("Content-Type"), kXmlType);
  const pugi::xml_document document = ParseXml(reply.body);
  const pugi::xml_node statuses = document.child("statuses");
  EXPECT_STREQ(statuses.attribute("type").value(), "array");

  const std::vector<long long> ids = StatusIds(statuses);
  ASSERT_EQ(ids.size(), 20u);
  EXPECT_TRUE(std::is_sorted(ids.rbegin(), ids.rend()));
  for (const pugi::xml_node& status : statuses.children()) {
    ASSERT_EQ(ChildNames(status), With(kStatusFields, "user"));
    EXPECT_EQ(ChildNames(status.child("user")), kUserFields);
    EXPECT_STRNE(status.child("user").child_value("screen_name"), "quiet_one");
    EXPECT_STRNE(status.child_value("text"), "");
  }
}

TEST_F(HomeTimelineTest, CountDefaultsTo20AndIsCappedAt200) {
  struct Case {
    const char* query;
    std::size_t expected;
  };
  const Case cases[] = {{"", 20},
                        {"?count=5", 5},
                        {"?count=0", 20},
                        {"?count=abc", 20},
                        {"?count=-3", 20},
                        {"?count=1000", kDemoTimelineSize},
                        {"?count=200", kDemoTimelineSize}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    const HttpReply reply = Get(std::string("/statuses/home_timeline.xml") + c.query, DemoAuth());
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(StatusIds(ParseXml(reply.body).child("statuses")).size(), c.expected);
  }
}

TEST_F(HomeTimelineTest, AnswersEveryPathForm) {
  const char* xml_paths[] = {"/statuses/home_timeline.xml", "/statuses/home_timeline/demo.xml",
                             "/api/statuses/home_timeline.xml", "/statuses/home_timeline",
                             "/api/statuses/home_timeline/demo.xml"};
  for (const char* path : xml_paths) {
    SCOPED_TRACE(path);
    const HttpReply reply = Get(path, DemoAuth());
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(StatusIds(ParseXml(reply.body).child("statuses")).size(), 20u);
  }
  for (const char* path : {"/statuses/home_timeline.json", "/api/statuses/home_timeline.json",
                           "/api/statuses/home_timeline/demo.json"}) {
    SCOPED_TRACE(path);
    const HttpReply reply = Get(path, DemoAuth());
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.Header("Content-Type"), kJsonType);
    const nlohmann::json statuses = nlohmann::json::parse(reply.body);
    ASSERT_EQ(statuses.size(), 20u);
    EXPECT_TRUE(statuses[0]["user"].contains("screen_name"));
    EXPECT_EQ(statuses[0]["in_reply_to_status_id"], nullptr);
  }
}

TEST_F(HomeTimelineTest, JsonFormPagesBySinceIdMaxIdAndPage) {
  const auto ids = [&](const std::string& query) {
    std::vector<long long> found;
    for (const auto& status :
         nlohmann::json::parse(Get("/api/statuses/home_timeline.json" + query, DemoAuth()).body)) {
      found.push_back(status["id"].get<long long>());
    }
    return found;
  };
  const std::vector<long long> all = ids("?count=200");
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kDemoTimelineSize));
  EXPECT_EQ(ids("?since_id=" + std::to_string(all[5])),
            std::vector<long long>(all.begin(), all.begin() + 5));
  EXPECT_EQ(ids("?count=3&max_id=" + std::to_string(all[5])),
            std::vector<long long>(all.begin() + 5, all.begin() + 8));
  EXPECT_EQ(ids("?count=5&page=2"), std::vector<long long>(all.begin() + 5, all.begin() + 10));
  EXPECT_TRUE(ids("?count=5&page=100").empty());
}

using OtherListsTest = ServiceTest;

TEST_F(OtherListsTest, DirectMessagesAndRepeatsOfMineStartEmptyAndNeedSignIn) {
  struct Case {
    const char* path;
    const char* body;
  };
  const Case cases[] = {
      {"/api/statuses/retweets_of_me.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\"></statuses>\n"},
      {"/direct_messages.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
       "<direct-messages type=\"array\"></direct-messages>\n"},
      {"/api/direct_messages/sent.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
       "<direct-messages type=\"array\"></direct-messages>\n"},
      {"/api/direct_messages.json", "[]"},
      {"/api/direct_messages/sent.json", "[]"},
      {"/api/statuses/retweets_of_me.json", "[]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const HttpReply reply = Get(c.path, DemoAuth());
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, c.body);
    EXPECT_EQ(Get(c.path).status, 401);
  }
}

TEST_F(OtherListsTest, FriendsListTheFollowedAccountsAndThePublicTimelineEveryone) {
  const HttpReply friends = Get("/api/statuses/friends.json", DemoAuth());
  ASSERT_EQ(friends.status, 200);
  std::vector<std::string> names;
  for (const auto& user : nlohmann::json::parse(friends.body)) {
    names.push_back(user["screen_name"]);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"amara", "margit", "tomasz"}));
  EXPECT_EQ(ChildNames(ParseXml(Get("/statuses/friends.xml", DemoAuth()).body).child("users")),
            (std::vector<std::string>{"user", "user", "user"}));
  EXPECT_EQ(Get("/statuses/friends.xml?page=2", DemoAuth()).body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<users type=\"array\"></users>\n");
  EXPECT_EQ(Get("/api/statuses/friends.json").status, 401);

  const HttpReply everyone = Get("/api/statuses/public_timeline.json?count=200");
  ASSERT_EQ(everyone.status, 200);
  EXPECT_EQ(nlohmann::json::parse(everyone.body).size(), 33u);
}

TEST_F(OtherListsTest, VerifyCredentialsAnswersTheSignedInUser) {
  const HttpReply xml = Get("/account/verify_credentials.xml", DemoAuth());
  ASSERT_EQ(xml.status, 200);
  EXPECT_STREQ(ParseXml(xml.body).child("user").child_value("screen_name"), "demo");

  const HttpReply json = Get("/api/account/verify_credentials.json", DemoAuth());
  ASSERT_EQ(json.status, 200);
  const nlohmann::json user = nlohmann::json::parse(json.body);
  EXPECT_EQ(user["screen_name"], "demo");
  EXPECT_EQ(user["statusnet_profile_url"], "http://127.0.0.1/demo");

  EXPECT_EQ(Get("/api/account/verify_credentials.json").status, 401);
}

// GNU social-style clients read the status limit from here when an account is
// set up, before signing in; a 404 left them guessing.
TEST_F(OtherListsTest, SiteConfigGivesTheStatusLimitWithoutSignIn) {
  const HttpReply json = Get("/api/statusnet/config.json");
  ASSERT_EQ(json.status, 200) << json.body;
  EXPECT_EQ(json.Header("Content-Type"), kJsonType);
  const nlohmann::json config = nlohmann::json::parse(json.body);
  EXPECT_EQ(config["site"]["textlimit"], "140");
  EXPECT_EQ(config["site"]["server"], "127.0.0.1");
  EXPECT_EQ(config["notice"]["contentlimit"], "140");
  EXPECT_EQ(config["profile"]["biolimit"], "160");

  const HttpReply xml = Get("/statusnet/config.xml");
  ASSERT_EQ(xml.status, 200);
  const pugi::xml_document document = ParseXml(xml.body);
  EXPECT_EQ(ChildNames(document.child("config")),
            (std::vector<std::string>{"site", "profile", "notice"}));
  EXPECT_STREQ(document.child("config").child("site").child_value("textlimit"), "140");

  EXPECT_EQ(Get("/api/statusnet/config.json", "Basic ZGVtbzpkZW1v").status, 200);
  EXPECT_EQ(Post("/api/statusnet/config.json").status, 405);
}

}  // namespace
}  // namespace plumwit::server::testing
