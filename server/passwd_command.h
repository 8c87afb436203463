#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "server/store.h"

namespace plumwit::server {

// Sets an account's password from the command line; creates the account
// when there is none of that name.
class PasswdCommand {
 public:
  // With `interactive` the password is asked for twice (the caller turns
  // echo off); otherwise one line is read. Returns the exit status.
  static int Run(Store& store, const std::string& screen_name, std::istream& input,
                 std::ostream& messages, bool interactive);
};

}  // namespace plumwit::server
