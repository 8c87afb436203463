#include <gtest/gtest.h>

#include "core/service/base64.h"

namespace plumwit {
namespace {

TEST(EncodeBase64, MatchesTheStandardVectors) {
  EXPECT_EQ(EncodeBase64(""), "");
  EXPECT_EQ(EncodeBase64("f"), "Zg==");
  EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
  EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
  EXPECT_EQ(EncodeBase64("foob"), "Zm9vYg==");
  EXPECT_EQ(EncodeBase64("fooba"), "Zm9vYmE=");
  EXPECT_EQ(EncodeBase64("foobar"), "Zm9vYmFy");
}

TEST(EncodeBase64, EncodesHighBytesAndStaysOnOneLine) {
  EXPECT_EQ(EncodeBase64(std::string_view("\xff\xfe\x00\x80", 4)), "//4AgA==");
  EXPECT_EQ(EncodeBase64(std::string(100, 'a')).find('\n'), std::string::npos);
}

}  // namespace
}  // namespace plumwit
