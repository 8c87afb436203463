#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plumwit::server {

// Decodes %XX escapes; a "%" not followed by two hex digits stays as it is.
// Query strings and form bodies also take "+" for a space; paths do not.
std::string PercentDecode(std::string_view text, bool plus_is_space);

// Name-value pairs of a query string or an application/x-www-form-urlencoded
// body, decoded, in the order received.
class FormFields {
 public:
  static FormFields Parse(std::string_view encoded);

  void Add(std::string name, std::string value);
  // The first value given for `name`.
  std::optional<std::string> Find(std::string_view name) const;
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace plumwit::server
