// The rest of the version-1 interface that other clients use: every endpoint
// in both formats at both prefixes, then what each one does, its refusals,
// and the paging of the timelines.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kXmlType = "application/xml; charset=utf-8";
constexpr const char* kJsonType = "application/json; charset=utf-8";

const std::vector<std::string> kStatusFields = {"created_at",
                                                "id",
                                                "text",
                                                "source",
                                                "truncated",
                                                "in_reply_to_status_id",
                                                "in_reply_to_user_id",
                                                "favorited",
                                                "in_reply_to_screen_name",
                                                "user"};

// Demo statuses: 16 is the demo's "Posting from Plumwit works", answered by
// tomasz's 25; 30 is the demo's "Timeline check", answered by margit's 31;
// 33 is amara's last. The demo favours margit's 2 and 13.
constexpr int kDemoReplyOriginal = 16;
constexpr int kAmarasLast = 33;

std::string ErrorOf(const HttpReply& reply) {
  return ParseXml(reply.body).child("hash").child_value("error");
}

std::vector<long long> JsonIds(const HttpReply& reply) {
  std::vector<long long> ids;
  for (const auto& status : nlohmann::json::parse(reply.body)) {
    ids.push_back(status["id"].get<long long>());
  }
  return ids;
}

std::string Send(const std::string& method, const std::string& target,
                 const std::string& authorization) {
  return method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n" +
         (authorization.empty() ? "" : "Authorization: " + authorization + "\r\n") + "\r\n";
}

class EndpointTest : public ServiceTest {
 protected:
  HttpReply Call(const std::string& method, const std::string& target,
                 const std::string& authorization) {
    return Exchange(Send(method, target, authorization));
  }
};

TEST_F(EndpointTest, EveryReadingEndpointAnswersInBothFormatsAtBothPrefixes) {
  enum class Json { kArray, kObject, kBoolean };
  struct Case {
    const char* path;  // before the extension
    const char* query;
    bool needs_sign_in;
    const char* xml_root;
    Json json;
  };
  const Case cases[] = {
      {"help/test", "", false, "ok", Json::kBoolean},
      {"account/verify_credentials", "", true, "user", Json::kObject},
      {"account/rate_limit_status", "", false, "hash", Json::kObject},
      {"statuses/home_timeline", "", true, "statuses", Json::kArray},
      {"statuses/friends_timeline", "", true, "statuses", Json::kArray},
      {"statuses/user_timeline", "", true, "statuses", Json::kArray},
      {"statuses/user_timeline/margit", "", false, "statuses", Json::kArray},
      {"statuses/user_timeline", "?screen_name=margit", false, "statuses", Json::kArray},
      {"statuses/user_timeline", "?user_id=2", false, "statuses", Json::kArray},
      {"statuses/mentions", "", true, "statuses", Json::kArray},
      {"statuses/replies", "", true, "statuses", Json::kArray},
      {"statuses/public_timeline", "", false, "statuses", Json::kArray},
      {"statuses/show/1", "", false, "status", Json::kObject},
      {"statuses/show", "?id=1", false, "status", Json::kObject},
      {"favorites", "", true, "statuses", Json::kArray},
      {"favorites/demo", "", false, "statuses", Json::kArray},
      {"statuses/friends", "", true, "users", Json::kArray},
      {"statuses/friends/demo", "", false, "users", Json::kArray},
      {"statuses/followers", "", true, "users", Json::kArray},
      {"statuses/followers/1", "", false, "users", Json::kArray},
      {"friends/ids", "", true, "ids", Json::kArray},
      {"followers/ids/demo", "", false, "ids", Json::kArray},
      {"friendships/exists", "?user_a=demo&user_b=margit", false, "friends", Json::kBoolean},
      {"users/show/demo", "", false, "user", Json::kObject},
      {"statusnet/config", "", false, "config", Json::kObject},
      {"statusnet/conversation/25", "", false, "statuses", Json::kArray},
  };
  for (const Case& c : cases) {
    for (const std::string prefix : {"", "/api"}) {
      for (const std::string extension : {".xml", ".json"}) {
        const std::string target = prefix + "/" + c.path + extension + c.query;
        SCOPED_TRACE(target);
        const HttpReply reply = Get(target, DemoAuth());
        ASSERT_EQ(reply.status, 200) << reply.body;
        if (extension == ".xml") {
          EXPECT_EQ(reply.Header("Content-Type"), kXmlType);
          EXPECT_EQ(ParseXml(reply.body).document_element().name(), std::string(c.xml_root));
        } else {
          EXPECT_EQ(reply.Header("Content-Type"), kJsonType);
          const nlohmann::json document = nlohmann::json::parse(reply.body);
          EXPECT_EQ(document.is_array(), c.json == Json::kArray);
          EXPECT_EQ(document.is_object(), c.json == Json::kObject);
          EXPECT_EQ(document.is_boolean(), c.json == Json::kBoolean);
        }
        EXPECT_EQ(Get(target).status, c.needs_sign_in ? 401 : 200);
        EXPECT_EQ(Get(target, RawHttpClient::BasicAuth("demo", "wrong")).status,
                  c.needs_sign_in ? 401 : 200);
      }
    }
  }
}

TEST_F(EndpointTest, SmallDocumentsHaveTheirExactShapes) {
  EXPECT_EQ(Get("/help/test.xml").body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ok>true</ok>\n");
  EXPECT_EQ(Get("/api/help/test.json").body, "true");
  EXPECT_EQ(Get("/friendships/exists.json?user_a=margit&user_b=quiet_one").body, "false");
  EXPECT_EQ(Get("/friendships/exists.xml?user_a=margit&user_b=demo").body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<friends>true</friends>\n");
  EXPECT_EQ(Get("/api/friends/ids.json", DemoAuth()).body, "[2,3,4]");
  EXPECT_EQ(
      Get("/followers/ids/demo.xml").body,
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ids>\n  <id>2</id>\n  <id>3</id>\n</ids>\n");

  const pugi::xml_document limit = ParseXml(Get("/account/rate_limit_status.xml").body);
  EXPECT_EQ(ChildNames(limit.child("hash")),
            (std::vector<std::string>{"remaining-hits", "hourly-limit", "reset-time-in-seconds",
                                      "reset-time"}));
  EXPECT_STREQ(limit.child("hash").child("hourly-limit").attribute("type").value(), "integer");
  const nlohmann::json json =
      nlohmann::json::parse(Get("/api/account/rate_limit_status.json").body);
  EXPECT_GT(json["remaining_hits"].get<long long>(), 1000);
  EXPECT_EQ(json["remaining_hits"], json["hourly_limit"]);
  EXPECT_GT(json["reset_time_in_seconds"].get<long long>(), 0);
}

TEST_F(EndpointTest, UnknownSubjectsAre404AndMissingOnes403WithTheErrorDocument) {
  struct Case {
    const char* method;
    const char* target;
    int status;
  };
  const Case cases[] = {
      {"GET", "/statuses/show/9999.xml", 404},
      {"GET", "/statuses/show/abc.xml", 404},
      {"GET", "/statuses/show.xml", 404},
      {"GET", "/statuses/user_timeline/nobody.xml", 404},
      {"GET", "/statuses/user_timeline.xml?user_id=abc", 404},
      {"GET", "/favorites/nobody.xml", 404},
      {"GET", "/statuses/friends/nobody.xml", 404},
      {"GET", "/friends/ids/nobody.xml", 404},
      {"GET", "/statusnet/conversation/9999.xml", 404},
      {"GET", "/friendships/exists.xml?user_a=demo&user_b=nobody", 404},
      {"GET", "/friendships/exists.xml?user_a=demo", 403},
      {"POST", "/statuses/destroy/9999.xml", 404},
      {"POST", "/statuses/retweet/9999.xml", 404},
      {"POST", "/favorites/create/9999.xml", 404},
      {"POST", "/favorites/destroy.xml?id=9999", 404},
      {"POST", "/friendships/create/nobody.xml", 404},
      {"POST", "/friendships/destroy.xml?screen_name=nobody", 404},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const HttpReply reply = Call(c.method, c.target, DemoAuth());
    EXPECT_EQ(reply.status, c.status);
    const pugi::xml_document document = ParseXml(reply.body);
    EXPECT_EQ(ChildNames(document.child("hash")), (std::vector<std::string>{"request", "error"}));
  }
}

TEST_F(EndpointTest, ChangingEndpointsNeedSignInAndTheirMethods) {
  struct Case {
    const char* target;
    const char* allow;
  };
  const Case cases[] = {
      {"/statuses/destroy/1.xml", "POST, DELETE"},  {"/statuses/retweet/33.json", "POST"},
      {"/favorites/create/33.xml", "POST"},         {"/favorites/destroy/2.json", "POST, DELETE"},
      {"/friendships/create/5.xml", "POST"},        {"/friendships/destroy/2.json", "POST, DELETE"},
      {"/api/favorites/create.json?id=33", "POST"}, {"/api/statuses/retweet.xml?id=33", "POST"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(Call("POST", c.target, "").status, 401);
    EXPECT_EQ(Call("POST", c.target, RawHttpClient::BasicAuth("demo", "wrong")).status, 401);
    const HttpReply wrong_method = Call("GET", c.target, DemoAuth());
    EXPECT_EQ(wrong_method.status, 405);
    EXPECT_EQ(wrong_method.Header("Allow"), c.allow);
  }
  // Nothing changed.
  EXPECT_EQ(Get("/statuses/show/1.xml").status, 200);
  EXPECT_EQ(Get("/api/favorites.json", DemoAuth()).body.find("\"id\":33,"), std::string::npos);
}

using StatusEndpointTest = EndpointTest;

TEST_F(StatusEndpointTest, ShowAnswersOneStatusWithFavoritedForTheAskingUser) {
  const pugi::xml_document reply = ParseXml(Get("/statuses/show/25.xml", DemoAuth()).body);
  const pugi::xml_node status = reply.child("status");
  EXPECT_EQ(ChildNames(status), kStatusFields);
  EXPECT_STREQ(status.child_value("in_reply_to_status_id"), "16");
  EXPECT_STREQ(status.child_value("in_reply_to_user_id"), "1");
  EXPECT_STREQ(status.child_value("in_reply_to_screen_name"), "demo");
  EXPECT_STREQ(status.child("user").child_value("screen_name"), "tomasz");

  EXPECT_EQ(nlohmann::json::parse(Get("/api/statuses/show/2.json", DemoAuth()).body)["favorited"],
            true);
  // Favourites belong to the asker: anonymous callers and others see false.
  EXPECT_EQ(nlohmann::json::parse(Get("/api/statuses/show/2.json").body)["favorited"], false);
  const std::string other = SignUp("other");
  EXPECT_EQ(nlohmann::json::parse(Get("/api/statuses/show/2.json", other).body)["favorited"],
            false);
}

TEST_F(StatusEndpointTest, DestroyRemovesOnlyTheAskersOwnStatus) {
  const HttpReply others = Call("POST", "/statuses/destroy/2.xml", DemoAuth());
  EXPECT_EQ(others.status, 403);
  EXPECT_EQ(ErrorOf(others), "You may not delete another user's status.");

  for (const std::string method : {"POST", "DELETE"}) {
    SCOPED_TRACE(method);
    const HttpReply posted =
        Post("/statuses/update.xml?status=" + Encode("soon gone " + method), DemoAuth());
    const std::string id = ParseXml(posted.body).child("status").child_value("id");
    const HttpReply destroyed = Call(method, "/api/statuses/destroy/" + id + ".json", DemoAuth());
    ASSERT_EQ(destroyed.status, 200) << destroyed.body;
    EXPECT_EQ(nlohmann::json::parse(destroyed.body)["text"], "soon gone " + method);
    EXPECT_EQ(Get("/statuses/show/" + id + ".xml").status, 404);
    EXPECT_EQ(Call(method, "/statuses/destroy/" + id + ".xml", DemoAuth()).status, 404);
  }
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("statuses_count"),
               "4");
}

TEST_F(StatusEndpointTest, RepeatCarriesTheOriginalAndIsRefusedForOwnOrTwice) {
  const HttpReply repeat = Call("POST", "/statuses/retweet/33.xml", DemoAuth());
  ASSERT_EQ(repeat.status, 200) << repeat.body;
  const pugi::xml_document document = ParseXml(repeat.body);
  const pugi::xml_node status = document.child("status");
  std::vector<std::string> with_original = kStatusFields;
  with_original.push_back("retweeted_status");
  EXPECT_EQ(ChildNames(status), with_original);
  EXPECT_STREQ(status.child("user").child_value("screen_name"), "demo");
  EXPECT_STREQ(status.child_value("text"),
               "RT @amara: The end of the demo timeline. Post something!");
  const pugi::xml_node original = status.child("retweeted_status");
  EXPECT_EQ(ChildNames(original), kStatusFields);
  EXPECT_STREQ(original.child_value("id"), "33");
  EXPECT_STREQ(original.child("user").child_value("screen_name"), "amara");
  const std::string repeat_id = status.child_value("id");

  struct Refusal {
    std::string target;
    std::string message;
  };
  const Refusal refusals[] = {
      {"/statuses/retweet/33.xml", "Status already repeated."},
      {"/statuses/retweet/" + repeat_id + ".xml", "Status already repeated."},  // of the repeat
      {"/statuses/retweet.xml?id=16", "Cannot repeat your own status."},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.target);
    const HttpReply reply = Call("POST", r.target, DemoAuth());
    EXPECT_EQ(reply.status, 403);
    EXPECT_EQ(ErrorOf(reply), r.message);
  }

  // Followers of the demo see the repeat in their timeline, with the original.
  const std::string follower = SignUp("follower");
  ASSERT_EQ(Call("POST", "/friendships/create/demo.xml", follower).status, 200);
  const nlohmann::json timeline =
      nlohmann::json::parse(Get("/api/statuses/home_timeline.json?count=1", follower).body);
  ASSERT_EQ(timeline.size(), 1u);
  EXPECT_EQ(timeline[0]["id_str"], repeat_id);
  EXPECT_EQ(timeline[0]["retweeted_status"]["id"], kAmarasLast);

  // The demo's own statuses that others repeated.
  ASSERT_EQ(Call("POST", "/statuses/retweet/16.xml", follower).status, 200);
  EXPECT_EQ(JsonIds(Get("/api/statuses/retweets_of_me.json", DemoAuth())),
            (std::vector<long long>{16}));

  // Deleting the repeat lets it be repeated again.
  ASSERT_EQ(Call("POST", "/statuses/destroy/" + repeat_id + ".xml", DemoAuth()).status, 200);
  EXPECT_EQ(Call("POST", "/api/statuses/retweet/33.json", DemoAuth()).status, 200);
}

TEST_F(StatusEndpointTest, FavoritesAreMarkedListedCountedAndRemoved) {
  // By path and by parameter, as clients differ.
  const HttpReply by_parameter = Call("POST", "/api/favorites/create.json?id=31", DemoAuth());
  ASSERT_EQ(by_parameter.status, 200) << by_parameter.body;
  EXPECT_EQ(nlohmann::json::parse(by_parameter.body)["favorited"], true);
  ASSERT_EQ(Call("POST", "/favorites/create/16.xml", DemoAuth()).status, 200);
  const HttpReply twice = Call("POST", "/favorites/create/16.xml", DemoAuth());
  EXPECT_EQ(twice.status, 403);
  EXPECT_EQ(ErrorOf(twice), "This status is already a favorite.");

  EXPECT_EQ(JsonIds(Get("/api/favorites.json", DemoAuth())),
            (std::vector<long long>{31, 16, 13, 2}));
  EXPECT_EQ(JsonIds(Get("/api/favorites/demo.json?count=2")), (std::vector<long long>{31, 16}));
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("favourites_count"),
               "4");
  for (const auto& status :
       nlohmann::json::parse(Get("/api/statuses/home_timeline.json?count=200", DemoAuth()).body)) {
    const long long id = status["id"];
    EXPECT_EQ(status["favorited"], id == 31 || id == 16 || id == 13 || id == 2) << id;
  }

  const HttpReply removed = Call("DELETE", "/favorites/destroy/16.xml", DemoAuth());
  ASSERT_EQ(removed.status, 200);
  EXPECT_STREQ(ParseXml(removed.body).child("status").child_value("favorited"), "false");
  const HttpReply again = Call("POST", "/api/favorites/destroy.json?id=16", DemoAuth());
  EXPECT_EQ(again.status, 403);
  EXPECT_EQ(nlohmann::json::parse(again.body)["error"], "That status is not a favorite.");
  EXPECT_EQ(JsonIds(Get("/api/favorites.json", DemoAuth())), (std::vector<long long>{31, 13, 2}));
}

TEST_F(StatusEndpointTest, MentionsAreWordBoundedInAnyCaseAndRepliesToTheUsersStatuses) {
  const std::string writer = SignUp("writer");
  struct Case {
    std::string text;
    bool mentions_demo;
  };
  const Case cases[] = {
      {"hello @demo", true},
      {"(@DeMo) in brackets", true},
      {"@demo's page", true},
      {"ends with @demo.", true},
      {"mail me at x@demo.org", false},
      {"@demonstration is longer", false},
      {"@demo_two is someone else", false},
      {"café@demo", false},
      {"@@demo doubled", false},
      {"no mention at all", false},
  };
  std::vector<long long> expected;
  for (const Case& c : cases) {
    const HttpReply reply = Post("/statuses/update.xml?status=" + Encode(c.text), writer);
    ASSERT_EQ(reply.status, 200) << c.text;
    if (c.mentions_demo) {
      expected.insert(expected.begin(),
                      ParseXml(reply.body).child("status").child("id").text().as_llong());
    }
  }
  // A reply without a mention still reaches the replies tab.
  const HttpReply reply =
      Post("/statuses/update.xml?status=agreed&in_reply_to_status_id=1", writer);
  expected.insert(expected.begin(),
                  ParseXml(reply.body).child("status").child("id").text().as_llong());
  expected.push_back(31);  // the seeded ones
  expected.push_back(25);

  EXPECT_EQ(JsonIds(Get("/api/statuses/mentions.json?count=200", DemoAuth())), expected);
  EXPECT_EQ(JsonIds(Get("/api/statuses/replies.json?count=200", DemoAuth())), expected);
  EXPECT_TRUE(JsonIds(Get("/api/statuses/mentions.json", writer)).empty());
}

TEST_F(StatusEndpointTest, ConversationIsTheWholeThreadFromAnyOfItsStatuses) {
  const std::string writer = SignUp("writer");
  const HttpReply answer =
      Post("/statuses/update.xml?status=deeper&in_reply_to_status_id=25", writer);
  const long long deeper = ParseXml(answer.body).child("status").child("id").text().as_llong();
  Post("/statuses/update.xml?status=unrelated", writer);
  const std::vector<long long> thread = {deeper, 25, kDemoReplyOriginal};
  for (const std::string& id : {std::string("16"), std::string("25"), std::to_string(deeper)}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(JsonIds(Get("/api/statusnet/conversation/" + id + ".json")), thread);
  }
  const pugi::xml_document xml = ParseXml(Get("/statusnet/conversation/16.xml").body);
  EXPECT_EQ(xml.child("statuses").select_nodes("status").size(), 3u);
  EXPECT_EQ(JsonIds(Get("/api/statusnet/conversation/1.json")), (std::vector<long long>{1}));
}

using FollowingTest = EndpointTest;

TEST_F(FollowingTest, FollowAndUnfollowChangeTheTimelineAndTheLists) {
  const HttpReply followed = Call("POST", "/api/friendships/create/quiet_one.json", DemoAuth());
  ASSERT_EQ(followed.status, 200) << followed.body;
  EXPECT_EQ(nlohmann::json::parse(followed.body)["screen_name"], "quiet_one");
  EXPECT_EQ(Get("/friends/ids.json", DemoAuth()).body, "[2,3,4,5]");
  EXPECT_EQ(Get("/friendships/exists.json?user_a=1&user_b=quiet_one").body, "true");
  const nlohmann::json timeline =
      nlohmann::json::parse(Get("/api/statuses/home_timeline.json?count=200", DemoAuth()).body);
  EXPECT_EQ(timeline.size(), 33u);

  struct Refusal {
    const char* method;
    const char* target;
    const char* message;
  };
  const Refusal refusals[] = {
      {"POST", "/friendships/create/quiet_one.xml",
       "Could not follow user: quiet_one is already on your list."},
      {"POST", "/friendships/create.xml?screen_name=demo", "You cannot follow yourself."},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.target);
    const HttpReply reply = Call(r.method, r.target, DemoAuth());
    EXPECT_EQ(reply.status, 403);
    EXPECT_EQ(ErrorOf(reply), r.message);
  }

  ASSERT_EQ(Call("DELETE", "/friendships/destroy/5.xml", DemoAuth()).status, 200);
  const HttpReply not_following = Call("POST", "/friendships/destroy.xml?user_id=5", DemoAuth());
  EXPECT_EQ(not_following.status, 403);
  EXPECT_EQ(ErrorOf(not_following), "You are not friends with the specified user.");
  EXPECT_EQ(Get("/friends/ids.json", DemoAuth()).body, "[2,3,4]");

  std::vector<std::string> followers;
  for (const auto& user :
       nlohmann::json::parse(Get("/api/statuses/followers.json", DemoAuth()).body)) {
    followers.push_back(user["screen_name"]);
  }
  EXPECT_EQ(followers, (std::vector<std::string>{"margit", "tomasz"}));
}

using TimelinePagingTest = EndpointTest;

TEST_F(TimelinePagingTest, EveryTimelineTakesSinceMaxCountAndPage) {
  // A timeline with more than the largest page: 210 statuses of one account.
  const std::string writer = SignUp("writer");
  RawHttpClient client(Port());
  for (int i = 0; i < 210; ++i) {
    ASSERT_EQ(client
                  .Exchange(RawHttpClient::FormPost("/statuses/update.xml",
                                                    "status=number+" + std::to_string(i), writer))
                  .status,
              200);
  }
  struct Timeline {
    const char* path;
    std::size_t size;
  };
  const Timeline timelines[] = {{"/api/statuses/user_timeline/writer.json", 210},
                                {"/api/statuses/public_timeline.json", 210 + 33},
                                {"/api/statuses/home_timeline.json", 210}};
  for (const auto& [timeline, size] : timelines) {
    SCOPED_TRACE(timeline);
    const auto ids = [&](const std::string& query) {
      return JsonIds(Get(std::string(timeline) + query, writer));
    };
    const std::vector<long long> largest = ids("?count=1000");
    ASSERT_EQ(largest.size(), 200u);
    EXPECT_EQ(ids("").size(), 20u);
    EXPECT_EQ(ids("?count=0").size(), 20u);
    EXPECT_EQ(ids("?count=-1").size(), 20u);
    EXPECT_EQ(ids("?count=200&page=2").size(), size - 200);
    EXPECT_EQ(ids("?count=3&page=2"),
              std::vector<long long>(largest.begin() + 3, largest.begin() + 6));
    EXPECT_EQ(ids("?count=3&page=0"), std::vector<long long>(largest.begin(), largest.begin() + 3));
    EXPECT_TRUE(ids("?page=100000").empty());
    EXPECT_TRUE(ids("?since_id=" + std::to_string(largest[0])).empty());
    EXPECT_EQ(ids("?since_id=" + std::to_string(largest[3])),
              std::vector<long long>(largest.begin(), largest.begin() + 3));
    EXPECT_EQ(ids("?count=2&max_id=" + std::to_string(largest[3])),
              std::vector<long long>(largest.begin() + 3, largest.begin() + 5));
    EXPECT_EQ(
        ids("?max_id=" + std::to_string(largest[4]) + "&since_id=" + std::to_string(largest[6])),
        std::vector<long long>(largest.begin() + 4, largest.begin() + 6));
    EXPECT_TRUE(
        ids("?max_id=" + std::to_string(largest[6]) + "&since_id=" + std::to_string(largest[4]))
            .empty());
    EXPECT_EQ(ids("?since_id=abc&max_id=-4").size(), 20u);  // ignored
  }
  // The same parameters bound the lists that hold few statuses.
  ASSERT_EQ(Call("POST", "/favorites/create/2.xml", writer).status, 200);
  ASSERT_EQ(Call("POST", "/favorites/create/13.xml", writer).status, 200);
  EXPECT_EQ(JsonIds(Get("/api/favorites.json?since_id=2", writer)), (std::vector<long long>{13}));
  EXPECT_EQ(JsonIds(Get("/api/favorites.json?max_id=12", writer)), (std::vector<long long>{2}));
  EXPECT_EQ(JsonIds(Get("/api/statuses/mentions.json?count=1", DemoAuth())),
            (std::vector<long long>{31}));
  EXPECT_EQ(JsonIds(Get("/api/statuses/mentions.json?count=1&page=2", DemoAuth())),
            (std::vector<long long>{25}));
  EXPECT_EQ(JsonIds(Get("/api/statuses/mentions.json?max_id=30", DemoAuth())),
            (std::vector<long long>{25}));
}

}  // namespace
}  // namespace plumwit::server::testing
