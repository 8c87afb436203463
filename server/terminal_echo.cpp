#include "server/terminal_echo.h"

#include <unistd.h>

namespace plumwit::server {

TerminalEcho::TerminalEcho(int descriptor) : descriptor_(descriptor) {
  if (tcgetattr(descriptor_, &saved_) != 0) return;
  termios quiet = saved_;
  quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
  changed_ = tcsetattr(descriptor_, TCSAFLUSH, &quiet) == 0;
}

TerminalEcho::~TerminalEcho() {
  if (changed_) tcsetattr(descriptor_, TCSAFLUSH, &saved_);
}

}  // namespace plumwit::server
