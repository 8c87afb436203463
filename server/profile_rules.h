#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plumwit::server {

// The limits every account field obeys, wherever it is set (interface,
// sign-up page, command line). Lengths are in characters (code points).
class ProfileRules {
 public:
  static constexpr std::size_t kMaxName = 20;
  static constexpr std::size_t kMaxScreenName = 15;
  static constexpr std::size_t kMaxLocation = 30;
  static constexpr std::size_t kMaxDescription = 160;
  static constexpr std::size_t kMaxUrl = 100;
  static constexpr std::size_t kMaxStatus = 140;
  static constexpr std::size_t kMinPassword = 6;
  static constexpr std::size_t kMaxPassword = 256;  // bytes

  // Each returns nullopt when the value is acceptable, else the message.
  static std::optional<std::string> CheckScreenName(std::string_view screen_name);
  static std::optional<std::string> CheckName(std::string_view name);
  static std::optional<std::string> CheckLocation(std::string_view location);
  static std::optional<std::string> CheckDescription(std::string_view description);
  static std::optional<std::string> CheckUrl(std::string_view url);
  static std::optional<std::string> CheckPassword(std::string_view password);

  // Names that would hide one of the service's own pages.
  static bool IsReserved(std::string_view screen_name);
};

}  // namespace plumwit::server
