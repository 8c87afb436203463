#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace plumwit::server::testing {
namespace {

std::vector<std::string> Environment(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (overrides.count(text.substr(0, text.find('='))) == 0) entries.push_back(text);
  }
  for (const auto& [name, value] : overrides) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& standard_input,
                           const std::map<std::string, std::string>& environment) {
  int input[2];
  int output[2];
  if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);

  std::vector<std::string> argv_texts = {program};
  argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env_texts = Environment(environment);
  std::vector<char*> argv = Pointers(argv_texts);
  std::vector<char*> envp = Pointers(env_texts);
  const int error =
      posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  output_ = output[0];
  if (error != 0) {
    ::close(input[1]);
    throw std::runtime_error(std::string("spawn failed: ") + std::strerror(error));
  }
  // A child that exits before reading all its input (a refused command)
  // closes the pipe: the write then fails with EPIPE instead of the signal
  // ending the test program.
  ::signal(SIGPIPE, SIG_IGN);
  const char* data = standard_input.data();
  std::size_t left = standard_input.size();
  while (left > 0) {
    const ssize_t written = ::write(input[1], data, left);
    if (written <= 0) break;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  ::close(input[1]);
}

ChildProcess::~ChildProcess() {
  if (!waited_ && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::close(output_);
}

bool ChildProcess::Fill(std::chrono::milliseconds timeout) {
  pollfd readable{output_, POLLIN, 0};
  if (::poll(&readable, 1, static_cast<int>(timeout.count())) <= 0) return false;
  char chunk[4096];
  const ssize_t count = ::read(output_, chunk, sizeof chunk);
  if (count <= 0) return false;
  buffer_.append(chunk, static_cast<std::size_t>(count));
  return true;
}

std::string ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  std::size_t end;
  while ((end = buffer_.find('\n')) == std::string::npos) {
    if (!Fill(timeout)) return {};
  }
  std::string line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  return line;
}

std::string ChildProcess::ReadRest(std::chrono::milliseconds timeout) {
  while (Fill(timeout)) {
  }
  return std::move(buffer_);
}

void ChildProcess::Signal(int signal_number) { ::kill(pid_, signal_number); }

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      waited_ = true;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  waited_ = true;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace plumwit::server::testing
