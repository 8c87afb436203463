#pragma once

#include <string>

namespace plumwit {

// What the main window knows about the account: the credentials of the last
// sign-in, the values of the last account record read, and the refresh
// options. Sign-out clears none of it.
struct AccountState {
  std::string AccountName;
  std::string AccountPassword;
  std::string ProfileName;
  std::string ScreenName;
  std::string ProfileLocation;
  std::string ProfileDescription;
  std::string ProfileUrl;
  std::string StatusesCount;
  std::string FollowersCount;
  std::string FriendsCount;
  int RefreshMinutes = 0;
  bool ManualRefresh = false;
};

}  // namespace plumwit
