#include "support/request_framing.h"

#include <cctype>
#include <cstdlib>

namespace plumwit::test {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::size_t CompleteRequestLength(const std::string& input) {
  std::size_t header_end = input.find("\r\n\r\n");
  std::size_t terminator = 4;
  if (header_end == std::string::npos) {
    header_end = input.find("\n\n");
    terminator = 2;
  }
  if (header_end == std::string::npos) return 0;
  const std::string header = Lower(input.substr(0, header_end));
  std::size_t body_length = 0;
  const std::size_t field = header.find("\ncontent-length:");
  if (field != std::string::npos) {
    body_length = std::strtoul(header.c_str() + field + 16, nullptr, 10);
  }
  const std::size_t total = header_end + terminator + body_length;
  return input.size() >= total ? total : 0;
}

}  // namespace plumwit::test
