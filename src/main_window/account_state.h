#pragma once

#include <string>

#include "core/service/people_info.h"

namespace plumwit {

// What the main window knows about the account: the credentials of the last
// sign-in, the values of the last account record read (the PeopleInfo part),
// and the refresh options. Sign-out clears none of it.
struct AccountState : PeopleInfo {
  std::string AccountName;
  std::string AccountPassword;
  int RefreshMinutes = 0;
  bool ManualRefresh = false;
};

}  // namespace plumwit
