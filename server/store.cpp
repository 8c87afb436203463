#include "server/store.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>

#include "server/mention_names.h"
#include "server/sqlite_transaction.h"

namespace plumwit::server {
namespace {

// The first layout; every database starts from it and is brought up to
// Store::kSchemaVersion step by step, so old files and new ones end alike.
constexpr const char* kVersion1Schema[] = {
    "CREATE TABLE IF NOT EXISTS accounts ("
    " id INTEGER PRIMARY KEY,"
    " screen_name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " name TEXT NOT NULL DEFAULT '',"
    " password_hash TEXT NOT NULL,"
    " location TEXT NOT NULL DEFAULT '',"
    " description TEXT NOT NULL DEFAULT '',"
    " url TEXT NOT NULL DEFAULT '',"
    " created_at INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS follows ("
    " follower_id INTEGER NOT NULL REFERENCES accounts(id),"
    " followed_id INTEGER NOT NULL REFERENCES accounts(id),"
    " PRIMARY KEY (follower_id, followed_id)) WITHOUT ROWID",
    "CREATE INDEX IF NOT EXISTS follows_by_followed ON follows(followed_id)",
    "CREATE TABLE IF NOT EXISTS statuses ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " account_id INTEGER NOT NULL REFERENCES accounts(id),"
    " text TEXT NOT NULL,"
    " source TEXT NOT NULL,"
    " created_at INTEGER NOT NULL,"
    " in_reply_to_status_id INTEGER,"
    " in_reply_to_account_id INTEGER)",
    "CREATE INDEX IF NOT EXISTS statuses_by_account ON statuses(account_id, id)",
    "CREATE TABLE IF NOT EXISTS flags (name TEXT PRIMARY KEY) WITHOUT ROWID",
};

// Repeats, favourites, and who each status mentions.
constexpr const char* kVersion2Changes[] = {
    "ALTER TABLE statuses ADD COLUMN repeat_of_id INTEGER REFERENCES statuses(id)",
    "CREATE UNIQUE INDEX statuses_one_repeat ON statuses(repeat_of_id, account_id)"
    " WHERE repeat_of_id IS NOT NULL",
    "CREATE INDEX statuses_by_reply_to_status ON statuses(in_reply_to_status_id)"
    " WHERE in_reply_to_status_id IS NOT NULL",
    "CREATE INDEX statuses_by_reply_to_account ON statuses(in_reply_to_account_id)"
    " WHERE in_reply_to_account_id IS NOT NULL",
    "CREATE TABLE favorites ("
    " account_id INTEGER NOT NULL REFERENCES accounts(id),"
    " status_id INTEGER NOT NULL REFERENCES statuses(id),"
    " created_at INTEGER NOT NULL,"
    " PRIMARY KEY (account_id, status_id)) WITHOUT ROWID",
    "CREATE INDEX favorites_by_status ON favorites(status_id)",
    "CREATE TABLE mentions ("
    " account_id INTEGER NOT NULL REFERENCES accounts(id),"
    " status_id INTEGER NOT NULL REFERENCES statuses(id),"
    " PRIMARY KEY (account_id, status_id)) WITHOUT ROWID",
    "CREATE INDEX mentions_by_status ON mentions(status_id)",
};

constexpr int kLongestReplyChain = 1000;
constexpr int kLargestConversation = 1000;

constexpr const char* kAccountColumns =
    "SELECT id, screen_name, name, password_hash, location, description, url, created_at "
    "FROM accounts ";

constexpr const char* kStatusColumns =
    "SELECT s.id, s.account_id, s.text, s.source, s.created_at, s.in_reply_to_status_id,"
    " s.in_reply_to_account_id, COALESCE(r.screen_name, ''), s.repeat_of_id "
    "FROM statuses s LEFT JOIN accounts r ON r.id = s.in_reply_to_account_id ";

Account ReadAccount(const SqliteStatement& row) {
  Account account;
  account.id = row.Int(0);
  account.screen_name = row.Text(1);
  account.name = row.Text(2);
  account.password_hash = row.Text(3);
  account.location = row.Text(4);
  account.description = row.Text(5);
  account.url = row.Text(6);
  account.created_at = row.Int(7);
  return account;
}

Status ReadStatus(const SqliteStatement& row) {
  Status status;
  status.id = row.Int(0);
  status.account_id = row.Int(1);
  status.text = row.Text(2);
  status.source = row.Text(3);
  status.created_at = row.Int(4);
  status.in_reply_to_status_id = row.OptionalInt(5);
  status.in_reply_to_account_id = row.OptionalInt(6);
  status.in_reply_to_screen_name = row.Text(7);
  status.repeat_of_id = row.OptionalInt(8);
  return status;
}

std::optional<Account> FirstAccount(SqliteStatement& statement) {
  if (!statement.Step()) return std::nullopt;
  return ReadAccount(statement);
}

std::vector<Status> AllStatuses(SqliteStatement& statement) {
  std::vector<Status> statuses;
  while (statement.Step()) statuses.push_back(ReadStatus(statement));
  return statuses;
}

std::vector<std::int64_t> AllIds(SqliteStatement& statement) {
  std::vector<std::int64_t> ids;
  while (statement.Step()) ids.push_back(statement.Int(0));
  return ids;
}

std::string Sql(const char* columns, const char* rest) { return std::string(columns) + rest; }

}  // namespace

Store::Store(const std::filesystem::path& database_file) : database_(database_file) {
  database_.Execute("PRAGMA journal_mode=WAL");
  // Every answered post is on disk, even if the machine stops right after.
  database_.Execute("PRAGMA synchronous=FULL");
  database_.Execute("PRAGMA foreign_keys=ON");
  CreateSchema();
}

void Store::CreateSchema() {
  std::lock_guard lock(mutex_);
  SqliteStatement version_query = database_.Prepare("PRAGMA user_version");
  const std::int64_t version = version_query.Step() ? version_query.Int(0) : 0;
  if (version > kSchemaVersion) {
    throw std::runtime_error("the database was made by a newer version of plumwit-server (layout " +
                             std::to_string(version) + ")");
  }
  if (version == kSchemaVersion) return;
  RunInTransaction([&] {
    for (const char* statement : kVersion1Schema) database_.Execute(statement);
    if (version < 2) MigrateToVersion2();
    database_.Execute("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  });
}

void Store::MigrateToVersion2() {
  for (const char* statement : kVersion2Changes) database_.Execute(statement);
  // Statuses written before mentions were recorded still reach their replies tab.
  SqliteStatement statement = database_.Prepare("SELECT id, text FROM statuses ORDER BY id");
  std::vector<std::pair<std::int64_t, std::string>> statuses;
  while (statement.Step()) statuses.emplace_back(statement.Int(0), statement.Text(1));
  for (const auto& [id, text] : statuses) RecordMentions(id, text);
}

void Store::RecordMentions(std::int64_t status_id, const std::string& text) {
  for (const std::string& name : MentionedNames(text)) {
    SqliteStatement insert = database_.Prepare(
        "INSERT OR IGNORE INTO mentions (account_id, status_id)"
        " SELECT id, ?2 FROM accounts WHERE screen_name = ?1");
    insert.Bind(1, name).Bind(2, status_id);
    insert.Run();
  }
}

std::optional<Account> Store::FindAccount(std::string_view screen_name) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(Sql(kAccountColumns, "WHERE screen_name = ?1"));
  statement.Bind(1, screen_name);
  return FirstAccount(statement);
}

std::optional<Account> Store::FindAccount(std::int64_t id) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(Sql(kAccountColumns, "WHERE id = ?1"));
  statement.Bind(1, id);
  return FirstAccount(statement);
}

std::vector<Account> Store::Accounts(int limit) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement =
      database_.Prepare(Sql(kAccountColumns, "ORDER BY screen_name COLLATE NOCASE LIMIT ?1"));
  statement.Bind(1, std::int64_t{limit});
  std::vector<Account> accounts;
  while (statement.Step()) accounts.push_back(ReadAccount(statement));
  return accounts;
}

std::optional<std::int64_t> Store::CreateAccount(const NewAccount& account) {
  std::lock_guard lock(mutex_);
  SqliteStatement taken = database_.Prepare("SELECT 1 FROM accounts WHERE screen_name = ?1");
  taken.Bind(1, account.screen_name);
  if (taken.Step()) return std::nullopt;
  SqliteStatement insert = database_.Prepare(
      "INSERT INTO accounts (screen_name, name, password_hash, location, description, url,"
      " created_at) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  insert.Bind(1, account.screen_name)
      .Bind(2, account.name)
      .Bind(3, account.password_hash)
      .Bind(4, account.location)
      .Bind(5, account.description)
      .Bind(6, account.url)
      .Bind(7, account.created_at);
  insert.Run();
  return database_.LastInsertId();
}

void Store::SetPasswordHash(std::int64_t account_id, const std::string& password_hash) {
  std::lock_guard lock(mutex_);
  SqliteStatement update =
      database_.Prepare("UPDATE accounts SET password_hash = ?2 WHERE id = ?1");
  update.Bind(1, account_id).Bind(2, password_hash);
  update.Run();
}

bool Store::UpdateProfile(std::int64_t account_id, const ProfileChange& change) {
  std::lock_guard lock(mutex_);
  if (change.screen_name) {
    SqliteStatement taken =
        database_.Prepare("SELECT 1 FROM accounts WHERE screen_name = ?1 AND id <> ?2");
    taken.Bind(1, *change.screen_name).Bind(2, account_id);
    if (taken.Step()) return false;
  }
  // A NULL binding keeps the stored value, so one statement covers every
  // combination of fields. A cleared name falls back to the screen name, as
  // at sign-up: clients read an author without a name as a refused sign-in.
  SqliteStatement update = database_.Prepare(
      "UPDATE accounts SET name = CASE WHEN ?2 = '' THEN COALESCE(?3, screen_name)"
      " ELSE COALESCE(?2, name) END, screen_name = COALESCE(?3, screen_name),"
      " location = COALESCE(?4, location), description = COALESCE(?5, description),"
      " url = COALESCE(?6, url) WHERE id = ?1");
  update.Bind(1, account_id);
  const std::optional<std::string>* fields[] = {&change.name, &change.screen_name, &change.location,
                                                &change.description, &change.url};
  int index = 2;
  for (const auto* field : fields) {
    if (*field) {
      update.Bind(index, std::string_view(**field));
    } else {
      update.Bind(index, std::optional<std::int64_t>());
    }
    ++index;
  }
  update.Run();
  return true;
}

bool Store::Follow(std::int64_t follower_id, std::int64_t followed_id) {
  std::lock_guard lock(mutex_);
  if (Follows(follower_id, followed_id)) return false;
  SqliteStatement insert =
      database_.Prepare("INSERT INTO follows (follower_id, followed_id) VALUES (?1, ?2)");
  insert.Bind(1, follower_id).Bind(2, followed_id);
  insert.Run();
  return true;
}

bool Store::Unfollow(std::int64_t follower_id, std::int64_t followed_id) {
  std::lock_guard lock(mutex_);
  if (!Follows(follower_id, followed_id)) return false;
  SqliteStatement remove =
      database_.Prepare("DELETE FROM follows WHERE follower_id = ?1 AND followed_id = ?2");
  remove.Bind(1, follower_id).Bind(2, followed_id);
  remove.Run();
  return true;
}

bool Store::Follows(std::int64_t follower_id, std::int64_t followed_id) {
  std::lock_guard lock(mutex_);
  SqliteStatement query =
      database_.Prepare("SELECT 1 FROM follows WHERE follower_id = ?1 AND followed_id = ?2");
  query.Bind(1, follower_id).Bind(2, followed_id);
  return query.Step();
}

PostResult Store::PostStatus(const NewStatus& status) {
  std::lock_guard lock(mutex_);
  PostResult result;
  if (std::optional<Status> latest = LatestStatus(status.account_id);
      latest && latest->text == status.text) {
    result.outcome = PostOutcome::kDuplicate;
    result.status = *latest;
    return result;
  }
  std::optional<std::int64_t> reply_to_account;
  std::optional<std::int64_t> reply_to_status;
  if (status.in_reply_to_status_id) {
    if (std::optional<Status> original = FindStatus(*status.in_reply_to_status_id)) {
      reply_to_status = original->id;
      reply_to_account = original->account_id;
    }
  }
  RunInTransaction([&] {
    SqliteStatement insert = database_.Prepare(
        "INSERT INTO statuses (account_id, text, source, created_at, in_reply_to_status_id,"
        " in_reply_to_account_id) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    insert.Bind(1, status.account_id)
        .Bind(2, status.text)
        .Bind(3, status.source)
        .Bind(4, status.created_at)
        .Bind(5, reply_to_status)
        .Bind(6, reply_to_account);
    insert.Run();
    const std::int64_t id = database_.LastInsertId();
    RecordMentions(id, status.text);
    result.status = *FindStatus(id);
  });
  return result;
}

RepeatResult Store::RepeatStatus(std::int64_t account_id, std::int64_t original_id,
                                 const std::string& source, std::int64_t created_at) {
  std::lock_guard lock(mutex_);
  RepeatResult result;
  std::optional<Status> original = FindStatus(original_id);
  if (original && original->repeat_of_id) original = FindStatus(*original->repeat_of_id);
  if (!original) {  // deleted since the caller looked
    result.outcome = RepeatOutcome::kNoSuchStatus;
    return result;
  }
  if (original->account_id == account_id) {
    result.outcome = RepeatOutcome::kOwnStatus;
    return result;
  }
  SqliteStatement existing =
      database_.Prepare("SELECT 1 FROM statuses WHERE repeat_of_id = ?1 AND account_id = ?2");
  existing.Bind(1, original->id).Bind(2, account_id);
  if (existing.Step()) {
    result.outcome = RepeatOutcome::kAlreadyRepeated;
    return result;
  }
  const std::optional<Account> author = FindAccount(original->account_id);
  SqliteStatement insert = database_.Prepare(
      "INSERT INTO statuses (account_id, text, source, created_at, repeat_of_id)"
      " VALUES (?1, ?2, ?3, ?4, ?5)");
  insert.Bind(1, account_id)
      .Bind(2, "RT @" + (author ? author->screen_name : std::string()) + ": " + original->text)
      .Bind(3, source)
      .Bind(4, created_at)
      .Bind(5, original->id);
  insert.Run();
  result.status = *FindStatus(database_.LastInsertId());
  return result;
}

void Store::DeleteStatus(std::int64_t status_id) {
  std::lock_guard lock(mutex_);
  static constexpr const char* kSteps[] = {
      "DELETE FROM favorites WHERE status_id IN"
      " (SELECT id FROM statuses WHERE id = ?1 OR repeat_of_id = ?1)",
      "DELETE FROM mentions WHERE status_id IN"
      " (SELECT id FROM statuses WHERE id = ?1 OR repeat_of_id = ?1)",
      "DELETE FROM statuses WHERE repeat_of_id = ?1",
      "DELETE FROM statuses WHERE id = ?1",
  };
  RunInTransaction([&] {
    for (const char* step : kSteps) {
      SqliteStatement statement = database_.Prepare(step);
      statement.Bind(1, status_id);
      statement.Run();
    }
  });
}

std::optional<Status> Store::FindStatus(std::int64_t id) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(Sql(kStatusColumns, "WHERE s.id = ?1"));
  statement.Bind(1, id);
  if (!statement.Step()) return std::nullopt;
  return ReadStatus(statement);
}

std::optional<Status> Store::LatestStatus(std::int64_t account_id) {
  std::vector<Status> latest = AccountStatuses(account_id, 1);
  if (latest.empty()) return std::nullopt;
  return latest.front();
}

std::vector<Status> Store::Timeline(const char* condition, std::int64_t account_id,
                                    const TimelinePage& page) {
  std::lock_guard lock(mutex_);
  // Walks the statuses newest first and tests each against the condition:
  // no temporary tables or sorting, and it stops at the page.
  SqliteStatement statement =
      database_.Prepare(Sql(kStatusColumns, "WHERE s.id > ?2 AND s.id <= ?3 AND (") + condition +
                        ") ORDER BY s.id DESC LIMIT ?4 OFFSET ?5");
  const std::int64_t count = page.count;
  statement.Bind(1, account_id)
      .Bind(2, page.since_id.value_or(0))
      .Bind(3, page.max_id.value_or(std::numeric_limits<std::int64_t>::max()))
      .Bind(4, count)
      .Bind(5, count * (page.page - 1));
  return AllStatuses(statement);
}

std::vector<Status> Store::HomeTimeline(std::int64_t account_id, const TimelinePage& page) {
  return Timeline(
      "s.account_id = ?1 OR EXISTS"
      " (SELECT 1 FROM follows f WHERE f.follower_id = ?1 AND f.followed_id = s.account_id)",
      account_id, page);
}

std::vector<Status> Store::AccountTimeline(std::int64_t account_id, const TimelinePage& page) {
  return Timeline("s.account_id = ?1", account_id, page);
}

std::vector<Status> Store::Mentions(std::int64_t account_id, const TimelinePage& page) {
  return Timeline(
      "s.id IN (SELECT m.status_id FROM mentions m WHERE m.account_id = ?1"
      " UNION ALL SELECT r.id FROM statuses r WHERE r.in_reply_to_account_id = ?1)",
      account_id, page);
}

std::vector<Status> Store::PublicTimeline(const TimelinePage& page) {
  return Timeline("?1 = 0", 0, page);  // every status
}

std::vector<Status> Store::Favorites(std::int64_t account_id, const TimelinePage& page) {
  return Timeline("s.id IN (SELECT v.status_id FROM favorites v WHERE v.account_id = ?1)",
                  account_id, page);
}

std::vector<Status> Store::RepeatedStatuses(std::int64_t account_id, const TimelinePage& page) {
  return Timeline(
      "s.account_id = ?1 AND EXISTS (SELECT 1 FROM statuses r WHERE r.repeat_of_id = s.id)",
      account_id, page);
}

std::vector<Status> Store::Conversation(std::int64_t status_id) {
  std::lock_guard lock(mutex_);
  std::optional<Status> start = FindStatus(status_id);
  if (!start) return {};
  for (int step = 0; step < kLongestReplyChain && start->in_reply_to_status_id; ++step) {
    std::optional<Status> parent = FindStatus(*start->in_reply_to_status_id);
    if (!parent) break;  // the status it answered was deleted
    start = std::move(parent);
  }
  SqliteStatement statement = database_.Prepare(
      "WITH RECURSIVE thread(id) AS (SELECT ?1 UNION"
      " SELECT r.id FROM statuses r JOIN thread t ON r.in_reply_to_status_id = t.id) " +
      Sql(kStatusColumns, "WHERE s.id IN (SELECT id FROM thread) ORDER BY s.id DESC LIMIT ?2"));
  statement.Bind(1, start->id).Bind(2, std::int64_t{kLargestConversation});
  return AllStatuses(statement);
}

std::vector<Status> Store::AccountStatuses(std::int64_t account_id, int limit) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement =
      database_.Prepare(Sql(kStatusColumns, "WHERE s.account_id = ?1 ORDER BY s.id DESC LIMIT ?2"));
  statement.Bind(1, account_id).Bind(2, std::int64_t{limit});
  return AllStatuses(statement);
}

std::vector<Status> Store::PublicStatuses(int limit) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(Sql(kStatusColumns, "ORDER BY s.id DESC LIMIT ?1"));
  statement.Bind(1, std::int64_t{limit});
  return AllStatuses(statement);
}

std::vector<Account> Store::Friends(std::int64_t account_id, int limit, int offset) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(
      "SELECT a.id, a.screen_name, a.name, a.password_hash, a.location, a.description, a.url,"
      " a.created_at FROM follows f JOIN accounts a ON a.id = f.followed_id"
      " WHERE f.follower_id = ?1 ORDER BY a.screen_name COLLATE NOCASE LIMIT ?2 OFFSET ?3");
  statement.Bind(1, account_id).Bind(2, std::int64_t{limit}).Bind(3, std::int64_t{offset});
  std::vector<Account> friends;
  while (statement.Step()) friends.push_back(ReadAccount(statement));
  return friends;
}

std::vector<Account> Store::Followers(std::int64_t account_id, int limit, int offset) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(
      "SELECT a.id, a.screen_name, a.name, a.password_hash, a.location, a.description, a.url,"
      " a.created_at FROM follows f JOIN accounts a ON a.id = f.follower_id"
      " WHERE f.followed_id = ?1 ORDER BY a.screen_name COLLATE NOCASE LIMIT ?2 OFFSET ?3");
  statement.Bind(1, account_id).Bind(2, std::int64_t{limit}).Bind(3, std::int64_t{offset});
  std::vector<Account> followers;
  while (statement.Step()) followers.push_back(ReadAccount(statement));
  return followers;
}

std::vector<std::int64_t> Store::FriendIds(std::int64_t account_id) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(
      "SELECT followed_id FROM follows WHERE follower_id = ?1 ORDER BY followed_id");
  statement.Bind(1, account_id);
  return AllIds(statement);
}

std::vector<std::int64_t> Store::FollowerIds(std::int64_t account_id) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare(
      "SELECT follower_id FROM follows WHERE followed_id = ?1 ORDER BY follower_id");
  statement.Bind(1, account_id);
  return AllIds(statement);
}

bool Store::AddFavorite(std::int64_t account_id, std::int64_t status_id, std::int64_t created_at) {
  std::lock_guard lock(mutex_);
  if (IsFavorite(account_id, status_id)) return false;
  SqliteStatement insert = database_.Prepare(
      "INSERT INTO favorites (account_id, status_id, created_at) VALUES (?1, ?2, ?3)");
  insert.Bind(1, account_id).Bind(2, status_id).Bind(3, created_at);
  insert.Run();
  return true;
}

bool Store::RemoveFavorite(std::int64_t account_id, std::int64_t status_id) {
  std::lock_guard lock(mutex_);
  if (!IsFavorite(account_id, status_id)) return false;
  SqliteStatement remove =
      database_.Prepare("DELETE FROM favorites WHERE account_id = ?1 AND status_id = ?2");
  remove.Bind(1, account_id).Bind(2, status_id);
  remove.Run();
  return true;
}

std::set<std::int64_t> Store::FavoritesAmong(std::optional<std::int64_t> viewer,
                                             const std::vector<Status>& statuses) {
  std::set<std::int64_t> favorites;
  if (!viewer || statuses.empty()) return favorites;
  // One range read of the viewer's favourites instead of a look-up per status.
  std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
  std::int64_t highest = 0;
  for (const Status& status : statuses) {
    for (const std::int64_t id : {status.id, status.repeat_of_id.value_or(status.id)}) {
      lowest = std::min(lowest, id);
      highest = std::max(highest, id);
    }
  }
  SqliteStatement query = database_.Prepare(
      "SELECT status_id FROM favorites WHERE account_id = ?1 AND status_id BETWEEN ?2 AND ?3");
  query.Bind(1, *viewer).Bind(2, lowest).Bind(3, highest);
  while (query.Step()) favorites.insert(query.Int(0));
  return favorites;
}

bool Store::IsFavorite(std::int64_t account_id, std::int64_t status_id) {
  std::lock_guard lock(mutex_);
  SqliteStatement query =
      database_.Prepare("SELECT 1 FROM favorites WHERE account_id = ?1 AND status_id = ?2");
  query.Bind(1, account_id).Bind(2, status_id);
  return query.Step();
}

AccountCounts Store::Counts(std::int64_t account_id) {
  SqliteStatement statement = database_.Prepare(
      "SELECT (SELECT COUNT(*) FROM follows WHERE followed_id = ?1),"
      " (SELECT COUNT(*) FROM follows WHERE follower_id = ?1),"
      " (SELECT COUNT(*) FROM statuses WHERE account_id = ?1),"
      " (SELECT COUNT(*) FROM favorites WHERE account_id = ?1)");
  statement.Bind(1, account_id);
  AccountCounts counts;
  if (statement.Step()) {
    counts.followers = statement.Int(0);
    counts.friends = statement.Int(1);
    counts.statuses = statement.Int(2);
    counts.favourites = statement.Int(3);
  }
  return counts;
}

UserView Store::ViewOf(const Account& account, bool with_latest_status) {
  std::lock_guard lock(mutex_);
  UserView view;
  view.account = account;
  view.counts = Counts(account.id);
  if (with_latest_status) view.latest = LatestStatus(account.id);
  return view;
}

std::vector<StatusView> Store::ViewsOf(const std::vector<Status>& statuses,
                                       std::optional<std::int64_t> viewer) {
  std::lock_guard lock(mutex_);
  std::map<std::int64_t, UserView> authors;
  const auto author_of = [&](const Status& status) -> const UserView* {
    auto author = authors.find(status.account_id);
    if (author == authors.end()) {
      std::optional<Account> account = FindAccount(status.account_id);
      if (!account) return nullptr;  // cannot happen while foreign keys hold
      author = authors.emplace(status.account_id, ViewOf(*account, false)).first;
    }
    return &author->second;
  };
  const std::set<std::int64_t> favorites = FavoritesAmong(viewer, statuses);
  const auto view_of = [&](const Status& status) -> std::optional<StatusView> {
    const UserView* author = author_of(status);
    if (author == nullptr) return std::nullopt;
    StatusView view;
    view.status = status;
    view.author = *author;
    view.favorited = favorites.count(status.id) > 0;
    return view;
  };
  std::vector<StatusView> views;
  views.reserve(statuses.size());
  for (const Status& status : statuses) {
    std::optional<StatusView> view = view_of(status);
    if (!view) continue;
    if (status.repeat_of_id) {
      if (std::optional<Status> original = FindStatus(*status.repeat_of_id)) {
        if (std::optional<StatusView> original_view = view_of(*original)) {
          view->repeat_of = std::make_shared<const StatusView>(std::move(*original_view));
        }
      }
    }
    views.push_back(std::move(*view));
  }
  return views;
}

bool Store::HasFlag(std::string_view key) {
  std::lock_guard lock(mutex_);
  SqliteStatement statement = database_.Prepare("SELECT 1 FROM flags WHERE name = ?1");
  statement.Bind(1, key);
  return statement.Step();
}

void Store::SetFlag(std::string_view key) {
  std::lock_guard lock(mutex_);
  SqliteStatement insert = database_.Prepare("INSERT OR IGNORE INTO flags (name) VALUES (?1)");
  insert.Bind(1, key);
  insert.Run();
}

void Store::RunInTransaction(const std::function<void()>& work) {
  std::lock_guard lock(mutex_);
  if (transaction_depth_ > 0) return work();  // already inside one
  SqliteTransaction transaction(database_);
  ++transaction_depth_;
  try {
    work();
  } catch (...) {
    --transaction_depth_;
    throw;
  }
  --transaction_depth_;
  transaction.Commit();
}

}  // namespace plumwit::server
