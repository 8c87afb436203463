#include "server/site_config.h"

#include "server/profile_rules.h"

namespace plumwit::server {

std::vector<SiteConfigSection> SiteConfigSections(const SiteLinks& links) {
  const std::string status_limit = std::to_string(ProfileRules::kMaxStatus);
  return {
      {"site",
       {{"name", "Plumwit"},
        {"server", links.Host()},
        {"path", ""},
        {"fancy", "1"},
        {"language", "en"},
        {"timezone", "UTC"},
        {"closed", "0"},
        {"inviteonly", "0"},
        {"private", "0"},
        {"textlimit", status_limit},
        {"ssl", links.Scheme() == "https" ? "always" : "never"}}},
      {"profile", {{"biolimit", std::to_string(ProfileRules::kMaxDescription)}}},
      {"notice", {{"contentlimit", status_limit}}},
  };
}

}  // namespace plumwit::server
