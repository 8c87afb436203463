#pragma once

#include "server/store.h"

namespace plumwit::server {

// Fills a store, once in its life, with the demo: the account "demo"
// (password "demo") following three other accounts, and a timeline of varied
// statuses that exercises what clients must get right (addresses,
// non-ASCII text, quotes, "&", "<", exactly 140 characters).
class DemoSeeder {
 public:
  explicit DemoSeeder(Store& store) : store_(store) {}

  // Does nothing when the demo was seeded before, even if it was changed
  // since; returns whether it seeded now.
  bool SeedOnce();

  static constexpr const char* kDemoName = "demo";
  static constexpr const char* kDemoPassword = "demo";

 private:
  void Seed();

  Store& store_;
};

}  // namespace plumwit::server
