#include "server/profile_rules.h"

#include <cctype>

#include "server/ascii_case.h"
#include "server/utf8.h"

namespace plumwit::server {
namespace {

constexpr const char* kReservedNames[] = {
    "account", "api",   "avatars", "direct_messages", "favicon", "help",     "home",  "login",
    "logout",  "pages", "search",  "settings",        "signup",  "statuses", "users",
};

std::optional<std::string> CheckLength(std::string_view value, std::size_t limit,
                                       const char* field) {
  if (CountCodePoints(value) <= limit) return std::nullopt;
  return std::string(field) + " is too long (maximum is " + std::to_string(limit) + " characters).";
}

}  // namespace

std::optional<std::string> ProfileRules::CheckScreenName(std::string_view screen_name) {
  if (screen_name.empty()) return std::string("Screen name can't be blank.");
  for (const char c : screen_name) {
    const bool allowed = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    if (!allowed || static_cast<unsigned char>(c) >= 0x80) {
      return std::string("Screen name can only contain letters, numbers and underscores.");
    }
  }
  if (auto too_long = CheckLength(screen_name, kMaxScreenName, "Screen name")) return too_long;
  if (IsReserved(screen_name)) return std::string("Screen name is reserved.");
  return std::nullopt;
}

std::optional<std::string> ProfileRules::CheckName(std::string_view name) {
  return CheckLength(name, kMaxName, "Name");
}

std::optional<std::string> ProfileRules::CheckLocation(std::string_view location) {
  return CheckLength(location, kMaxLocation, "Location");
}

std::optional<std::string> ProfileRules::CheckDescription(std::string_view description) {
  return CheckLength(description, kMaxDescription, "Description");
}

std::optional<std::string> ProfileRules::CheckUrl(std::string_view url) {
  return CheckLength(url, kMaxUrl, "Url");
}

std::optional<std::string> ProfileRules::CheckPassword(std::string_view password) {
  if (password.size() < kMinPassword) {
    return "Password is too short (minimum is " + std::to_string(kMinPassword) + " characters).";
  }
  if (password.size() > kMaxPassword) {
    return "Password is too long (maximum is " + std::to_string(kMaxPassword) + " bytes).";
  }
  if (password.find('\0') != std::string_view::npos) {
    return std::string("Password cannot contain a NUL character.");
  }
  return std::nullopt;
}

bool ProfileRules::IsReserved(std::string_view screen_name) {
  for (const char* reserved : kReservedNames) {
    if (EqualsIgnoringCase(screen_name, reserved)) return true;
  }
  return false;
}

}  // namespace plumwit::server
