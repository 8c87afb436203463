// The client's own core against the real service: its HTTP client, URLs and
// XML reading sign in, read the timeline, post, update the profile and see
// the results, as the program does.

#include <gtest/gtest.h>

#include <string>

#include "core/service/endpoints.h"
#include "core/service/http_client.h"
#include "core/service/people_info.h"
#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"
#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

class EndToEndTest : public ServiceTest {
 protected:
  std::string Host() const { return "127.0.0.1:" + std::to_string(Port()); }

  static void SignInAs(HttpClient& client, const std::string& name, const std::string& password) {
    client.Request.Username = name;
    client.Request.Password = password;
    client.Request.BasicAuthentication = true;
  }

  // The timeline as the refresh reads it: the author's screen name and the
  // text of each status, newest first.
  std::vector<std::pair<std::string, std::string>> ReadTimeline(HttpClient& client) {
    XmlDocument document;
    document.Load(client.Get(HomeTimelineUrl("demo", Host())));
    const XmlNode statuses = document.DocumentElement();
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < statuses.ChildCount(); ++i) {
      const XmlNode status = statuses.Child(i);
      const XmlNode author = FindChild(status, "user");
      entries.emplace_back(ChildText(author, "screen_name"), ChildText(status, "text"));
    }
    return entries;
  }

  PeopleInfo ReadAccount(HttpClient& client, const std::string& name) {
    XmlDocument document;
    document.Load(client.Get(UserRecordUrl(name, Host())));
    return ReadPeopleInfo(document);
  }
};

TEST_F(EndToEndTest, SignsInReadsTheTimelinePostsAndUpdatesTheProfile) {
  HttpClient main_window;
  SignInAs(main_window, "demo", "demo");
  const PeopleInfo signed_in = ReadAccount(main_window, "demo");
  EXPECT_EQ(signed_in.ProfileName, "Demo Account");
  EXPECT_EQ(signed_in.ScreenName, "demo");
  EXPECT_EQ(signed_in.StatusesCount, "4");
  EXPECT_EQ(signed_in.FollowersCount, "2");
  EXPECT_EQ(signed_in.FriendsCount, "3");

  // Every status carries what the page needs, non-ASCII and markup included.
  XmlDocument timeline;
  timeline.Load(main_window.Get(HomeTimelineUrl("demo", Host())));
  EXPECT_EQ(timeline.DocumentElement().ChildCount(), 20u);
  PageLines lines;
  PageContext context;
  context.program_folder = "/opt/plumwit/";
  context.service_host = Host();
  AppendHeadLines(lines, context);
  ASSERT_NO_THROW(AppendStatusLines(lines, timeline, context));
  EXPECT_EQ(lines.size(), 9u + 20u * 17u);

  const std::string text = "From the client: café & <tags>, 100% \"quoted\" + more #e2e?";
  main_window.Post(StatusUpdateUrl(text, Host()));
  const auto entries = ReadTimeline(main_window);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front(), std::make_pair(std::string("demo"), text));
  EXPECT_EQ(ReadAccount(main_window, "demo").StatusesCount, "5");

  HttpClient profile_dialog;
  SignInAs(profile_dialog, "demo", "demo");
  ProfileFields fields;
  fields.name = "Dana Ölund";
  fields.screen_name = "demo";
  fields.location = "Göteborg & Malmö";
  fields.description = "Line one\r\nline two";
  fields.url = "http://example.org/dana?a=1&b=2";
  profile_dialog.Post(ProfileUpdateUrl(fields, Host()));
  const PeopleInfo updated = ReadAccount(main_window, "demo");
  EXPECT_EQ(updated.ProfileName, fields.name);
  EXPECT_EQ(updated.ProfileLocation, fields.location);
  EXPECT_EQ(updated.ProfileDescription, fields.description);
  EXPECT_EQ(updated.ProfileUrl, fields.url);
}

TEST_F(EndToEndTest, WrongPasswordAndUnknownNameComeBackAsTheProgramExpects) {
  HttpClient client;
  SignInAs(client, "demo", "not the password");
  // The 401 document comes back as if it were the timeline; reading it as
  // one gives the conversion error the refresh reports as a wrong password.
  XmlDocument document;
  document.Load(client.Get(HomeTimelineUrl("demo", Host())));
  const XmlNode first = document.DocumentElement().Child(0);
  try {
    ChildText(first, "text");
    ADD_FAILURE() << "no error for a refused sign-in";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), kNullConversionMessage);
  }

  try {
    client.Get(UserRecordUrl("nobody", Host()));
    ADD_FAILURE() << "no error for an unknown account";
  } catch (const HttpStatusError& error) {
    EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
  }
}

}  // namespace
}  // namespace plumwit::server::testing
