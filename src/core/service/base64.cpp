#include "core/service/base64.h"

#include <cstdint>

namespace plumwit {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

char SextetAt(std::uint32_t group, int shift) { return kAlphabet[(group >> shift) & 0x3F]; }

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16 |
                                static_cast<std::uint8_t>(bytes[i + 1]) << 8 |
                                static_cast<std::uint8_t>(bytes[i + 2]);
    out += {SextetAt(group, 18), SextetAt(group, 12), SextetAt(group, 6), SextetAt(group, 0)};
  }
  const std::size_t rest = bytes.size() - i;
  if (rest == 1) {
    const std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
    out += {SextetAt(group, 18), SextetAt(group, 12), '=', '='};
  } else if (rest == 2) {
    const std::uint32_t group =
        static_cast<std::uint8_t>(bytes[i]) << 16 | static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    out += {SextetAt(group, 18), SextetAt(group, 12), SextetAt(group, 6), '='};
  }
  return out;
}

}  // namespace plumwit
