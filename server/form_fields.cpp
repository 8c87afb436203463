#include "server/form_fields.h"

namespace plumwit::server {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text, bool plus_is_space) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+' && plus_is_space) {
      decoded += ' ';
      continue;
    }
    if (c == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    decoded += c;
  }
  return decoded;
}

FormFields FormFields::Parse(std::string_view encoded) {
  FormFields fields;
  while (!encoded.empty()) {
    const std::size_t end = encoded.find('&');
    const std::string_view pair = encoded.substr(0, end);
    encoded = end == std::string_view::npos ? std::string_view() : encoded.substr(end + 1);
    if (pair.empty()) continue;
    const std::size_t equals = pair.find('=');
    const std::string_view name = pair.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
    fields.Add(PercentDecode(name, true), PercentDecode(value, true));
  }
  return fields;
}

void FormFields::Add(std::string name, std::string value) {
  entries_.emplace_back(std::move(name), std::move(value));
}

std::optional<std::string> FormFields::Find(std::string_view name) const {
  for (const auto& [key, value] : entries_) {
    if (key == name) return value;
  }
  return std::nullopt;
}

}  // namespace plumwit::server
