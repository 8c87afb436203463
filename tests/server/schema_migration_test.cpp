// A database written by the service's first layout opens with every account
// and status kept, and gains what the newer endpoints need.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/password_hasher.h"
#include "server/server.h"
#include "support/raw_http_client.h"
#include "support/scratch_folder.h"

namespace plumwit::server::testing {
namespace {

// The first layout exactly as the service wrote it, with a few rows.
std::vector<std::string> FirstLayoutDatabase(const std::string& password_hash) {
  return {
      "PRAGMA journal_mode=WAL",
      "CREATE TABLE accounts (id INTEGER PRIMARY KEY,"
      " screen_name TEXT NOT NULL UNIQUE COLLATE NOCASE, name TEXT NOT NULL DEFAULT '',"
      " password_hash TEXT NOT NULL, location TEXT NOT NULL DEFAULT '',"
      " description TEXT NOT NULL DEFAULT '', url TEXT NOT NULL DEFAULT '',"
      " created_at INTEGER NOT NULL)",
      "CREATE TABLE follows (follower_id INTEGER NOT NULL REFERENCES accounts(id),"
      " followed_id INTEGER NOT NULL REFERENCES accounts(id),"
      " PRIMARY KEY (follower_id, followed_id)) WITHOUT ROWID",
      "CREATE INDEX follows_by_followed ON follows(followed_id)",
      "CREATE TABLE statuses (id INTEGER PRIMARY KEY AUTOINCREMENT,"
      " account_id INTEGER NOT NULL REFERENCES accounts(id), text TEXT NOT NULL,"
      " source TEXT NOT NULL, created_at INTEGER NOT NULL, in_reply_to_status_id INTEGER,"
      " in_reply_to_account_id INTEGER)",
      "CREATE INDEX statuses_by_account ON statuses(account_id, id)",
      "CREATE TABLE flags (name TEXT PRIMARY KEY) WITHOUT ROWID",
      "INSERT INTO accounts VALUES (1, 'Elder', 'Old Timer', '" + password_hash +
          "', 'Ærø', '', '', 1200000000)",
      "INSERT INTO accounts VALUES (7, 'younger', 'Young One', '" + password_hash +
          "', '', 'kept', 'http://example.org', 1200000100)",
      "INSERT INTO follows VALUES (7, 1)",
      "INSERT INTO statuses VALUES (1, 1, 'First words — ✓', 'web', 1200000200, NULL, NULL)",
      "INSERT INTO statuses VALUES (2, 7, 'Hello @ELDER, and @nobody', 'Choqok', 1200000300,"
      " NULL, NULL)",
      "INSERT INTO statuses VALUES (5, 1, 'Answer', 'web', 1200000400, 2, 7)",
      "INSERT INTO flags VALUES ('demo_seeded')",
      "PRAGMA user_version=1",
  };
}

void WriteDatabase(const std::string& file, const std::vector<std::string>& statements) {
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &database), SQLITE_OK);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(database, sqlite3_close);
  for (const std::string& statement : statements) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(database, statement.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << statement << ": " << (error ? error : "");
  }
}

long long UserVersion(const std::string& file) {
  sqlite3* database = nullptr;
  sqlite3_open(file.c_str(), &database);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(database, "PRAGMA user_version", -1, &statement, nullptr);
  sqlite3_step(statement);
  const long long version = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  sqlite3_close(database);
  return version;
}

class SchemaMigrationTest : public ::testing::Test {
 protected:
  std::unique_ptr<Server> Open() {
    ServerOptions options;
    options.port = 0;
    options.data_folder = folder_.Path();
    options.seed_demo = true;  // marked as done in the old file: seeds nothing
    options.log_sink = [](std::string_view) {};
    auto server = std::make_unique<Server>(options);
    server->Start();
    return server;
  }

  HttpReply Get(const Server& server, const std::string& target,
                const std::string& authorization = {}) {
    RawHttpClient client(server.Port());
    return client.Exchange(RawHttpClient::ClientGet(target, authorization));
  }

  std::string File() const { return folder_.File(Server::kDatabaseFileName); }

  plumwit::testing::ScratchFolder folder_;
};

TEST_F(SchemaMigrationTest, FirstLayoutKeepsItsAccountsStatusesAndFollowsAndGainsMentions) {
  WriteDatabase(File(), FirstLayoutDatabase(PasswordHasher::Hash("old-password")));
  const std::unique_ptr<Server> server = Open();
  EXPECT_EQ(UserVersion(File()), 2);
  const std::string elder = RawHttpClient::BasicAuth("elder", "old-password");
  const std::string younger = RawHttpClient::BasicAuth("younger", "old-password");

  const HttpReply me = Get(*server, "/api/account/verify_credentials.json", elder);
  ASSERT_EQ(me.status, 200) << me.body;
  const nlohmann::json user = nlohmann::json::parse(me.body);
  EXPECT_EQ(user["screen_name"], "Elder");
  EXPECT_EQ(user["location"], "Ærø");
  EXPECT_EQ(user["statuses_count"], 2);
  EXPECT_EQ(user["followers_count"], 1);
  EXPECT_EQ(user["favourites_count"], 0);
  EXPECT_EQ(user["status"]["text"], "Answer");

  const nlohmann::json home =
      nlohmann::json::parse(Get(*server, "/api/statuses/home_timeline.json", younger).body);
  ASSERT_EQ(home.size(), 3u);
  EXPECT_EQ(home[0]["in_reply_to_status_id"], 2);
  EXPECT_EQ(home[0]["in_reply_to_screen_name"], "younger");
  EXPECT_EQ(home[1]["source"], "Choqok");
  EXPECT_EQ(home[2]["text"], "First words — ✓");

  // Mentions in old statuses were found when the layout was brought up to date.
  const nlohmann::json mentions =
      nlohmann::json::parse(Get(*server, "/api/statuses/mentions.json", elder).body);
  ASSERT_EQ(mentions.size(), 1u);
  EXPECT_EQ(mentions[0]["id"], 2);
  const nlohmann::json replies =
      nlohmann::json::parse(Get(*server, "/api/statuses/replies.json", younger).body);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["id"], 5);

  // The demo was marked as seeded and is not made now.
  EXPECT_EQ(Get(*server, "/users/show/demo.xml").status, 404);
}

TEST_F(SchemaMigrationTest, UpdatedDatabaseTakesNewDataAndReopensUnchanged) {
  WriteDatabase(File(), FirstLayoutDatabase(PasswordHasher::Hash("old-password")));
  const std::string younger = RawHttpClient::BasicAuth("younger", "old-password");
  {
    const std::unique_ptr<Server> server = Open();
    RawHttpClient client(server->Port());
    ASSERT_EQ(client.Exchange(RawHttpClient::ClientPost("/favorites/create/1.xml", younger)).status,
              200);
    ASSERT_EQ(client.Exchange(RawHttpClient::ClientPost("/statuses/retweet/5.xml", younger)).status,
              200);
    // New statuses continue after the highest id the old file used.
    const HttpReply posted =
        client.Exchange(RawHttpClient::ClientPost("/statuses/update.json?status=new", younger));
    EXPECT_EQ(nlohmann::json::parse(posted.body)["id"], 7);
  }
  const std::unique_ptr<Server> server = Open();
  const nlohmann::json home =
      nlohmann::json::parse(Get(*server, "/api/statuses/home_timeline.json", younger).body);
  ASSERT_EQ(home.size(), 5u);
  EXPECT_EQ(home[1]["retweeted_status"]["id"], 5);
  EXPECT_EQ(home[4]["favorited"], true);
}

TEST_F(SchemaMigrationTest, DatabaseFromANewerVersionIsRefusedAndLeftAlone) {
  WriteDatabase(File(), {"CREATE TABLE future (x)", "PRAGMA user_version=99"});
  ServerOptions options;
  options.port = 0;
  options.data_folder = folder_.Path();
  options.log_sink = [](std::string_view) {};
  EXPECT_THROW(Server{options}, std::runtime_error);
  EXPECT_EQ(UserVersion(File()), 99);
}

}  // namespace
}  // namespace plumwit::server::testing
