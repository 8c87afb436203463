#include "core/service/cookie_date.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace plumwit {

namespace {

struct DateFields {
  std::optional<int> hour, minute, second, day, month, year;
};

bool IsDelimiter(unsigned char c) {
  return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) ||
         (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

std::vector<std::string_view> DateTokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || IsDelimiter(static_cast<unsigned char>(text[i]))) {
      if (i > start) tokens.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return tokens;
}

// Reads `min_digits` to `max_digits` digits at `pos`; they must not be
// followed by another digit.
std::optional<int> ReadDigits(std::string_view token, std::size_t& pos, std::size_t min_digits,
                              std::size_t max_digits) {
  int value = 0;
  std::size_t count = 0;
  while (pos < token.size() && std::isdigit(static_cast<unsigned char>(token[pos]))) {
    if (++count > max_digits) return std::nullopt;
    value = value * 10 + (token[pos++] - '0');
  }
  if (count < min_digits) return std::nullopt;
  return value;
}

bool ReadTime(std::string_view token, DateFields& fields) {
  std::size_t pos = 0;
  std::array<std::optional<int>, 3> parts;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 && (pos >= token.size() || token[pos++] != ':')) return false;
    parts[i] = ReadDigits(token, pos, 1, 2);
    if (!parts[i]) return false;
  }
  fields.hour = parts[0];
  fields.minute = parts[1];
  fields.second = parts[2];
  return true;
}

bool ReadNumber(std::string_view token, std::size_t min_digits, std::size_t max_digits,
                std::optional<int>& field) {
  std::size_t pos = 0;
  const std::optional<int> value = ReadDigits(token, pos, min_digits, max_digits);
  if (!value) return false;
  field = value;
  return true;
}

bool ReadMonth(std::string_view token, DateFields& fields) {
  static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
  if (token.size() < 3) return false;
  std::string prefix;
  for (std::size_t i = 0; i < 3; ++i) {
    prefix += static_cast<char>(std::tolower(static_cast<unsigned char>(token[i])));
  }
  for (int month = 0; month < 12; ++month) {
    if (prefix == kMonths[month]) {
      fields.month = month + 1;
      return true;
    }
  }
  return false;
}

void ReadToken(std::string_view token, DateFields& fields) {
  if (!fields.hour && ReadTime(token, fields)) return;
  if (!fields.day && ReadNumber(token, 1, 2, fields.day)) return;
  if (!fields.month && ReadMonth(token, fields)) return;
  if (!fields.year) ReadNumber(token, 2, 4, fields.year);
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

bool IsValid(const DateFields& fields) {
  return fields.hour && fields.day && fields.month && fields.year && *fields.day >= 1 &&
         *fields.day <= 31 && *fields.year >= 1601 && *fields.hour <= 23 && *fields.minute <= 59 &&
         *fields.second <= 59;
}

}  // namespace

std::optional<std::chrono::system_clock::time_point> ParseCookieDate(std::string_view text) {
  DateFields fields;
  for (std::string_view token : DateTokens(text)) ReadToken(token, fields);
  if (fields.year && *fields.year >= 70 && *fields.year <= 99) *fields.year += 1900;
  if (fields.year && *fields.year >= 0 && *fields.year <= 69) *fields.year += 2000;
  if (!IsValid(fields)) return std::nullopt;

  // The clock's range ends in 2262: later dates mean "never expires", earlier
  // than 1970 means "already expired", and both are kept inside the range.
  if (*fields.year > 2200) fields = DateFields{0, 0, 0, 1, 1, 2200};
  if (*fields.year < 1970) fields = DateFields{0, 0, 0, 1, 1, 1970};
  const std::int64_t days = DaysFromCivil(*fields.year, *fields.month, *fields.day);
  const std::int64_t seconds =
      days * 86400 + *fields.hour * 3600 + *fields.minute * 60 + *fields.second;
  return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
}

}  // namespace plumwit
