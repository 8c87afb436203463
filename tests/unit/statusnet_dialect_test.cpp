// The client's requests in the dialect of GNU social and Friendica, against
// the replayed answers of a real GNU social 1.20 server.
#include <gtest/gtest.h>

#include <string>

#include "core/service/endpoints.h"
#include "core/service/http_client.h"
#include "core/service/people_info.h"
#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"
#include "support/fixture_replay_server.h"
#include "support/scripted_http_server.h"

namespace plumwit {
namespace {

using test::CaptureBody;
using test::FixtureReplayServer;

const std::string kAccount = FixtureReplayServer::kAccount;
const std::string kRightPassword = FixtureReplayServer::kPassword;
const std::string kRefusal = "<error>Could not authenticate you.</error>";

class StatusNetDialect : public ::testing::Test {
 protected:
  void SignIn(const std::string& user, const std::string& password) {
    client_.Request.Username = user;
    client_.Request.Password = password;
    client_.Request.BasicAuthentication = true;
  }
  ServiceLocation Service() const {
    return ServiceLocation("http", server_.Host(), ServiceDialect::kStatusNet);
  }
  std::string LastRequestLine() const { return server_.RequestLines().back(); }

  FixtureReplayServer server_;
  HttpClient client_;
};

struct Loaded {
  explicit Loaded(const std::string& text) { document.Load(text); }
  XmlDocument document;
};

// A public site shows the record to a wrong password as to the right one, so
// the record alone proves nothing about the password.
TEST_F(StatusNetDialect, UserRecordIsShownToAnyPassword) {
  for (const std::string& password : {kRightPassword, std::string("wrong-password")}) {
    SCOPED_TRACE(password);
    SignIn(kAccount, password);
    const std::string record = client_.Get(UserRecordUrl(kAccount, Service()));
    EXPECT_EQ(client_.LastReplyCode(), 200);
    EXPECT_EQ(record, CaptureBody("users-show-q.txt"));
    EXPECT_EQ(LastRequestLine(), "GET /api/users/show.xml?screen_name=alice HTTP/1.1");
    const PeopleInfo info = ReadPeopleInfo(Loaded(record).document);
    EXPECT_EQ(info.ScreenName, "alice");
    EXPECT_EQ(info.StatusesCount, "2");
    EXPECT_EQ(info.FollowersCount, "1");
    EXPECT_EQ(info.FriendsCount, "1");
  }
}

TEST_F(StatusNetDialect, UnknownUserIsA404CarryingTheServersDocument) {
  SignIn("nosuchuser", "whatever");
  try {
    client_.Get(UserRecordUrl("nosuchuser", Service()));
    FAIL() << "no error";
  } catch (const HttpStatusError& error) {
    EXPECT_EQ(error.Code(), 404);
    EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
    EXPECT_NE(error.Body().find("<error>User not found.</error>"), std::string::npos);
  }
  EXPECT_EQ(client_.LastReplyCode(), 404);
}

TEST_F(StatusNetDialect, TimelineOfTheRightPasswordBuildsEveryStatus) {
  SignIn(kAccount, kRightPassword);
  const std::string timeline = client_.Get(HomeTimelineUrl(kAccount, Service()));
  EXPECT_EQ(LastRequestLine(), "GET /api/statuses/home_timeline.xml?count=20 HTTP/1.1");
  EXPECT_EQ(client_.LastReplyCode(), 200);
  EXPECT_EQ(timeline, CaptureBody("home.txt"));
  PageLines lines;
  AppendStatusLines(lines, Loaded(timeline).document, PageContext());
  EXPECT_EQ(lines.size(), 6u * 17u);
}

// The client hands the 401's body back as the answer: only the status code
// tells it from a timeline, and reading it as one meets the null conversion.
TEST_F(StatusNetDialect, TimelineRefusesWrongPasswordAndUnknownUserWithA401Body) {
  for (const auto& [user, password] :
       {std::pair<std::string, std::string>{kAccount, "wrong"}, {"nosuchuser", "whatever"}}) {
    SCOPED_TRACE(user);
    SignIn(user, password);
    const std::string refusal = client_.Get(HomeTimelineUrl(user, Service()));
    EXPECT_EQ(client_.LastReplyCode(), 401);
    EXPECT_NE(refusal.find(kRefusal), std::string::npos);
    PageLines lines;
    try {
      AppendStatusLines(lines, Loaded(refusal).document, PageContext());
      ADD_FAILURE() << "read as a timeline";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), kNullConversionMessage);
    }
  }
}

TEST_F(StatusNetDialect, TimelineWithoutAPasswordIsAStatusError) {
  SignIn("", "");
  try {
    client_.Get(HomeTimelineUrl("", Service()));
    FAIL() << "no error";
  } catch (const HttpStatusError& error) {
    EXPECT_EQ(error.Code(), 401);
    EXPECT_STREQ(error.what(), "HTTP/1.1 401 Unauthorized");
  }
}

TEST_F(StatusNetDialect, StatusUpdateIsPostedAndAWrongPasswordIsRefused) {
  SignIn(kAccount, kRightPassword);
  EXPECT_NE(client_.Post(StatusUpdateUrl("query string post", Service())).find("<status "),
            std::string::npos);
  EXPECT_EQ(LastRequestLine(),
            "POST /api/statuses/update.xml?status=query%20string%20post HTTP/1.0");
  SignIn(kAccount, "wrong");
  try {
    client_.Post(StatusUpdateUrl("x", Service()));
    FAIL() << "no error";
  } catch (const HttpStatusError& error) {
    EXPECT_STREQ(error.what(), "HTTP/1.1 401 Unauthorized");
    EXPECT_NE(error.Body().find(kRefusal), std::string::npos);
  }
  EXPECT_EQ(client_.LastReplyCode(), 401);
}

TEST_F(StatusNetDialect, ProfileUpdateAnswersTheRecordAndAWrongPasswordIsRefused) {
  ProfileFields fields{"Alice A.", "alice", "Lagos & co", "Set by query", ""};
  SignIn(kAccount, kRightPassword);
  const std::string record = client_.Post(ProfileUpdateUrl(fields, Service()));
  EXPECT_EQ(ReadPeopleInfo(Loaded(record).document).ProfileName, "Alice A.");
  EXPECT_EQ(LastRequestLine(),
            "POST /api/account/update_profile.xml?name=Alice%20A.&screen_name=alice"
            "&location=Lagos%20%26%20co&description=Set%20by%20query&url= HTTP/1.0");
  SignIn(kAccount, "wrong");
  EXPECT_THROW(client_.Post(ProfileUpdateUrl(fields, Service())), HttpStatusError);
  EXPECT_EQ(client_.LastReplyCode(), 401);
}

// A stale code would make a later failure look like a refused password.
TEST_F(StatusNetDialect, ARequestWithoutAReplyLeavesNoCode) {
  SignIn(kAccount, "wrong");
  client_.Get(HomeTimelineUrl(kAccount, Service()));
  ASSERT_EQ(client_.LastReplyCode(), 401);
  const ServiceLocation closed("http", "127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()),
                               ServiceDialect::kStatusNet);
  EXPECT_THROW(client_.Get(HomeTimelineUrl(kAccount, closed)), SocketError);
  EXPECT_EQ(client_.LastReplyCode(), -1);
}

}  // namespace
}  // namespace plumwit
