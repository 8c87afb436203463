#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace plumwit {

// Reads the date of a cookie's "Expires" attribute the lenient way browsers
// do: any of the usual formats ("Wed, 09 Jun 2021 10:18:14 GMT",
// "Wednesday, 09-Jun-21 10:18:14 GMT", asctime) is accepted, always as UTC.
// Returns nothing for text that holds no valid date.
std::optional<std::chrono::system_clock::time_point> ParseCookieDate(std::string_view text);

}  // namespace plumwit
