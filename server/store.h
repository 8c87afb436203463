#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "server/records.h"
#include "server/sqlite_database.h"

namespace plumwit::server {

struct NewAccount {
  std::string screen_name;
  std::string name;
  std::string password_hash;
  std::string location;
  std::string description;
  std::string url;
  std::int64_t created_at = 0;
};

// Fields that are present replace the stored value.
struct ProfileChange {
  std::optional<std::string> name;
  std::optional<std::string> screen_name;
  std::optional<std::string> location;
  std::optional<std::string> description;
  std::optional<std::string> url;
};

struct NewStatus {
  std::int64_t account_id = 0;
  std::string text;
  std::string source;
  std::int64_t created_at = 0;
  std::optional<std::int64_t> in_reply_to_status_id;
};

// Which part of a timeline to read; ids bound it the way the interface's
// since_id and max_id do.
struct TimelinePage {
  int count = 20;
  std::optional<std::int64_t> since_id;  // only statuses newer than this
  std::optional<std::int64_t> max_id;    // only this status and older ones
  int page = 1;
};

enum class PostOutcome { kPosted, kDuplicate };

enum class RepeatOutcome { kRepeated, kNoSuchStatus, kOwnStatus, kAlreadyRepeated };

struct RepeatResult {
  RepeatOutcome outcome = RepeatOutcome::kRepeated;
  Status status;  // the new repeat
};

struct PostResult {
  PostOutcome outcome = PostOutcome::kPosted;
  Status status;  // the new status, or the latest one it duplicates
};

// The service's data in one SQLite file. Every method is safe to call from
// any thread; values reach SQL only through statement bindings.
class Store {
 public:
  // Opens the file, creating the tables or bringing an older layout up to
  // date without losing what it holds. Throws for a file made by a newer
  // version of the service.
  explicit Store(const std::filesystem::path& database_file);

  static constexpr int kSchemaVersion = 2;

  std::optional<Account> FindAccount(std::string_view screen_name);  // case-insensitive
  std::optional<Account> FindAccount(std::int64_t id);
  std::vector<Account> Accounts(int limit);
  // The new account's id, or nullopt when the screen name is taken.
  std::optional<std::int64_t> CreateAccount(const NewAccount& account);
  void SetPasswordHash(std::int64_t account_id, const std::string& password_hash);
  // False when the new screen name belongs to another account.
  bool UpdateProfile(std::int64_t account_id, const ProfileChange& change);
  // Each returns false when there was nothing to change.
  bool Follow(std::int64_t follower_id, std::int64_t followed_id);
  bool Unfollow(std::int64_t follower_id, std::int64_t followed_id);
  bool Follows(std::int64_t follower_id, std::int64_t followed_id);

  // Refuses a text equal to the account's latest status.
  PostResult PostStatus(const NewStatus& status);
  // A repeat of `original_id` (or of what it repeats) by the account.
  RepeatResult RepeatStatus(std::int64_t account_id, std::int64_t original_id,
                            const std::string& source, std::int64_t created_at);
  // Removes the status with its repeats and the favourites of both.
  void DeleteStatus(std::int64_t status_id);
  std::optional<Status> FindStatus(std::int64_t id);

  // Timelines, newest first, bounded by the page.
  // The account's own statuses and those of the accounts it follows.
  std::vector<Status> HomeTimeline(std::int64_t account_id, const TimelinePage& page);
  std::vector<Status> AccountTimeline(std::int64_t account_id, const TimelinePage& page);
  // Statuses that mention the account or reply to one of its statuses.
  std::vector<Status> Mentions(std::int64_t account_id, const TimelinePage& page);
  std::vector<Status> PublicTimeline(const TimelinePage& page);
  std::vector<Status> Favorites(std::int64_t account_id, const TimelinePage& page);
  // The account's own statuses that others have repeated.
  std::vector<Status> RepeatedStatuses(std::int64_t account_id, const TimelinePage& page);
  // The thread `status_id` belongs to: the status it starts from and every
  // reply to it, at any depth.
  std::vector<Status> Conversation(std::int64_t status_id);
  std::vector<Status> AccountStatuses(std::int64_t account_id, int limit);
  std::vector<Status> PublicStatuses(int limit);

  // False when it was a favourite already / was none.
  bool AddFavorite(std::int64_t account_id, std::int64_t status_id, std::int64_t created_at);
  bool RemoveFavorite(std::int64_t account_id, std::int64_t status_id);
  bool IsFavorite(std::int64_t account_id, std::int64_t status_id);

  // The accounts `account_id` follows / that follow it, by screen name.
  std::vector<Account> Friends(std::int64_t account_id, int limit, int offset);
  std::vector<Account> Followers(std::int64_t account_id, int limit, int offset);
  std::vector<std::int64_t> FriendIds(std::int64_t account_id);
  std::vector<std::int64_t> FollowerIds(std::int64_t account_id);

  UserView ViewOf(const Account& account, bool with_latest_status);
  // `viewer` is the asking account, whose favourites are marked.
  std::vector<StatusView> ViewsOf(const std::vector<Status>& statuses,
                                  std::optional<std::int64_t> viewer = std::nullopt);

  bool HasFlag(std::string_view key);
  void SetFlag(std::string_view key);

  // Runs `work` as one transaction; the store's own methods may be used inside.
  void RunInTransaction(const std::function<void()>& work);

 private:
  void CreateSchema();
  void MigrateToVersion2();
  void RecordMentions(std::int64_t status_id, const std::string& text);
  // Which of the statuses (and the originals they repeat) `viewer` favours.
  std::set<std::int64_t> FavoritesAmong(std::optional<std::int64_t> viewer,
                                        const std::vector<Status>& statuses);
  std::vector<Status> Timeline(const char* condition, std::int64_t account_id,
                               const TimelinePage& page);
  std::optional<Status> LatestStatus(std::int64_t account_id);
  AccountCounts Counts(std::int64_t account_id);

  std::recursive_mutex mutex_;
  SqliteDatabase database_;
  int transaction_depth_ = 0;
};

}  // namespace plumwit::server
