// What the service stores survives a restart, and is stored for its owner only.

#include <gtest/gtest.h>

#include <filesystem>

#include "server/data_folder.h"
#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

using PersistenceTest = ServiceTest;

TEST_F(PersistenceTest, StatusesProfilesAndAccountsSurviveARestartAndTheDemoIsNotSeededTwice) {
  const std::string text = "Still here after a restart — ✓";
  ASSERT_EQ(Post("/statuses/update.xml?status=" + Encode(text), DemoAuth()).status, 200);
  ASSERT_EQ(Post("/account/update_profile.xml?location=" + Encode("Ærø"), DemoAuth()).status, 200);
  const std::string newcomer = SignUp("newcomer", "kept-password");

  RestartServer();  // seeds the demo again if it were not marked as done

  const pugi::xml_document record = ParseXml(Get("/users/show/demo").body);
  EXPECT_STREQ(record.child("user").child_value("location"), "Ærø");
  EXPECT_STREQ(record.child("user").child_value("statuses_count"), "5");
  EXPECT_EQ(record.child("user").child("status").child_value("text"), text);
  EXPECT_EQ(ParseXml(Get("/statuses/home_timeline.xml?count=200", DemoAuth()).body)
                .child("statuses")
                .select_nodes("status")
                .size(),
            32u);
  EXPECT_EQ(Get("/account/verify_credentials.xml", newcomer).status, 200);
}

TEST_F(PersistenceTest, DatabaseIsReadableByItsOwnerOnly) {
  const auto file = DataFolder() / Server::kDatabaseFileName;
  ASSERT_TRUE(std::filesystem::exists(file));
  using std::filesystem::perms;
  EXPECT_EQ(std::filesystem::status(file).permissions() & perms::all,
            perms::owner_read | perms::owner_write);

  const auto nested = DataFolder() / "new" / "plumwit-server";
  plumwit::server::DataFolder::Prepare(nested);
  EXPECT_EQ(std::filesystem::status(nested).permissions() & perms::all, perms::owner_all);
}

}  // namespace
}  // namespace plumwit::server::testing
