#pragma once

#include <termios.h>

namespace plumwit::server {

// Turns echo off on a terminal for as long as it lives, so a typed password
// is not shown.
class TerminalEcho {
 public:
  explicit TerminalEcho(int descriptor);
  ~TerminalEcho();
  TerminalEcho(const TerminalEcho&) = delete;
  TerminalEcho& operator=(const TerminalEcho&) = delete;

 private:
  int descriptor_;
  bool changed_ = false;
  termios saved_{};
};

}  // namespace plumwit::server
