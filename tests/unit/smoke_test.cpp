#include <gtest/gtest.h>

#include "core/build_config.h"

TEST(BuildConfig, DefaultsPointAtTheBundledService) {
  EXPECT_STREQ(plumwit::build::kAppTitle, "Plumwit 1.7.2");
}
