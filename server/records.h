#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace plumwit::server {

// Rows of the store, as the documents and pages show them.

struct Account {
  std::int64_t id = 0;
  std::string screen_name;
  std::string name;
  std::string password_hash;
  std::string location;
  std::string description;
  std::string url;
  std::int64_t created_at = 0;
};

struct AccountCounts {
  std::int64_t followers = 0;  // accounts that follow this one
  std::int64_t friends = 0;    // accounts this one follows
  std::int64_t statuses = 0;
  std::int64_t favourites = 0;  // statuses this one has marked as favourites
};

struct Status {
  std::int64_t id = 0;
  std::int64_t account_id = 0;
  std::string text;
  std::string source;
  std::int64_t created_at = 0;
  std::optional<std::int64_t> in_reply_to_status_id;
  std::optional<std::int64_t> in_reply_to_account_id;
  std::string in_reply_to_screen_name;       // empty when not a reply
  std::optional<std::int64_t> repeat_of_id;  // the original when this is a repeat
};

// What a user document shows: the account, its counts and, for the user
// record itself, its latest status.
struct UserView {
  Account account;
  AccountCounts counts;
  std::optional<Status> latest;
};

// A status with its author, as timelines show it, seen by one asking user.
struct StatusView {
  Status status;
  UserView author;
  bool favorited = false;  // one of the asking user's favourites
  // For a repeat: the original as its own view (never itself a repeat).
  std::shared_ptr<const StatusView> repeat_of;
};

}  // namespace plumwit::server
