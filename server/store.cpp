#include "server/store.h"

#include <limits>
#include <map>

#include "server/sqlite_transaction.h"

namespace plumwit::server {
namespace {

constexpr int kSchemaVersion = 1;

constexpr const char* kSchema[] = {
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

constexpr const char* kAccountColumns =
    "SELECT id, screen_name, name, password_hash, location, description, url, created_at "
    "FROM accounts ";

constexpr const char* kStatusColumns =
    "SELECT s.id, s.account_id, s.text, s.source, s.created_at, s.in_reply_to_status_id,"
    " s.in_reply_to_account_id, COALESCE(r.screen_name, '') "
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
  SqliteTransaction transaction(database_);
  for (const char* statement : kSchema) database_.Execute(statement);
  database_.Execute("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  transaction.Commit();
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
  // combination of fields.
  SqliteStatement update = database_.Prepare(
      "UPDATE accounts SET name = COALESCE(?2, name), screen_name = COALESCE(?3, screen_name),"
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

void Store::Follow(std::int64_t follower_id, std::int64_t followed_id) {
  std::lock_guard lock(mutex_);
  SqliteStatement insert =
      database_.Prepare("INSERT OR IGNORE INTO follows (follower_id, followed_id) VALUES (?1, ?2)");
  insert.Bind(1, follower_id).Bind(2, followed_id);
  insert.Run();
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
  result.status = *FindStatus(database_.LastInsertId());
  return result;
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

std::vector<Status> Store::HomeTimeline(std::int64_t account_id, const TimelinePage& page) {
  std::lock_guard lock(mutex_);
  // Walks the statuses newest first and checks each author against the
  // follows key: no temporary tables or sorting, and it stops at the page.
  SqliteStatement statement = database_.Prepare(
      Sql(kStatusColumns,
          "WHERE s.id > ?2 AND s.id <= ?3 AND (s.account_id = ?1 OR EXISTS"
          " (SELECT 1 FROM follows f WHERE f.follower_id = ?1 AND f.followed_id = s.account_id))"
          " ORDER BY s.id DESC LIMIT ?4 OFFSET ?5"));
  const std::int64_t count = page.count;
  statement.Bind(1, account_id)
      .Bind(2, page.since_id.value_or(0))
      .Bind(3, page.max_id.value_or(std::numeric_limits<std::int64_t>::max()))
      .Bind(4, count)
      .Bind(5, count * (page.page - 1));
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

AccountCounts Store::Counts(std::int64_t account_id) {
  SqliteStatement statement = database_.Prepare(
      "SELECT (SELECT COUNT(*) FROM follows WHERE followed_id = ?1),"
      " (SELECT COUNT(*) FROM follows WHERE follower_id = ?1),"
      " (SELECT COUNT(*) FROM statuses WHERE account_id = ?1)");
  statement.Bind(1, account_id);
  AccountCounts counts;
  if (statement.Step()) {
    counts.followers = statement.Int(0);
    counts.friends = statement.Int(1);
    counts.statuses = statement.Int(2);
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

std::vector<StatusView> Store::ViewsOf(const std::vector<Status>& statuses) {
  std::lock_guard lock(mutex_);
  std::map<std::int64_t, UserView> authors;
  std::vector<StatusView> views;
  views.reserve(statuses.size());
  for (const Status& status : statuses) {
    auto author = authors.find(status.account_id);
    if (author == authors.end()) {
      std::optional<Account> account = FindAccount(status.account_id);
      if (!account) continue;  // cannot happen while foreign keys hold
      author = authors.emplace(status.account_id, ViewOf(*account, false)).first;
    }
    views.push_back(StatusView{status, author->second});
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
  SqliteTransaction transaction(database_);
  work();
  transaction.Commit();
}

}  // namespace plumwit::server
