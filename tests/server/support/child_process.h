#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace plumwit::server::testing {

// A program run with the given arguments, standard input and extra
// environment; its standard output and error are read through one pipe.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& standard_input = {},
               const std::map<std::string, std::string>& environment = {});
  ~ChildProcess();  // kills the program if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of output (without its line end); "" at end or time-out.
  std::string ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Everything until the program closes its output.
  std::string ReadRest(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  void Signal(int signal_number);
  pid_t Pid() const { return pid_; }
  // The exit status, or -1 when it did not end in time (it is then killed)
  // or ended by a signal.
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));

 private:
  bool Fill(std::chrono::milliseconds timeout);

  pid_t pid_ = -1;
  int output_ = -1;
  std::string buffer_;
  bool waited_ = false;
};

}  // namespace plumwit::server::testing
