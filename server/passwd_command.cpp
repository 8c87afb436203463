#include "server/passwd_command.h"

#include <optional>

#include "server/password_hasher.h"
#include "server/profile_rules.h"
#include "server/service_time.h"

namespace plumwit::server {
namespace {

std::optional<std::string> ReadLine(std::istream& input) {
  std::string line;
  if (!std::getline(input, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> ReadPassword(std::istream& input, std::ostream& messages,
                                        bool interactive) {
  if (!interactive) return ReadLine(input);
  messages << "New password: " << std::flush;
  const std::optional<std::string> first = ReadLine(input);
  messages << "\nRetype new password: " << std::flush;
  const std::optional<std::string> second = ReadLine(input);
  messages << '\n';
  if (!first || !second) return std::nullopt;
  if (*first != *second) {
    messages << "The two passwords differ; nothing changed.\n";
    return std::nullopt;
  }
  return first;
}

}  // namespace

int PasswdCommand::Run(Store& store, const std::string& screen_name, std::istream& input,
                       std::ostream& messages, bool interactive) {
  const std::optional<Account> existing = store.FindAccount(screen_name);
  if (!existing) {
    if (auto refusal = ProfileRules::CheckScreenName(screen_name)) {
      messages << *refusal << '\n';
      return 1;
    }
  }
  const std::optional<std::string> password = ReadPassword(input, messages, interactive);
  if (!password) {
    messages << "No password read; nothing changed.\n";
    return 1;
  }
  if (auto refusal = ProfileRules::CheckPassword(*password)) {
    messages << *refusal << '\n';
    return 1;
  }
  const std::string hash = PasswordHasher::Hash(*password);
  if (existing) {
    store.SetPasswordHash(existing->id, hash);
    messages << "Password changed for " << existing->screen_name << ".\n";
    return 0;
  }
  NewAccount account;
  account.screen_name = screen_name;
  account.name = screen_name;
  account.password_hash = hash;
  account.created_at = NowSeconds();
  if (!store.CreateAccount(account)) {
    messages << "Screen name has already been taken.\n";
    return 1;
  }
  messages << "Created account " << screen_name << ".\n";
  return 0;
}

}  // namespace plumwit::server
