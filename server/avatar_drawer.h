#pragma once

#include <string>

#include "server/records.h"

namespace plumwit::server {

// Draws an account's picture: its initials on a colour chosen from its
// screen name, so every account has a stable, recognisable avatar.
class AvatarDrawer {
 public:
  static std::string Svg(const Account& account);
  // Up to two initials: the first letters of the first two words of the
  // name, or of the screen name when the name is empty.
  static std::string Initials(const Account& account);
};

}  // namespace plumwit::server
