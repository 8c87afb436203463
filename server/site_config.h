#pragma once

#include <string>
#include <utility>
#include <vector>

#include "server/site_links.h"

namespace plumwit::server {

// The site description GNU social-style clients read from statusnet/config
// before they post, chiefly for the status length limit (site.textlimit).
// Values are text in both formats, as those services wrote them.
struct SiteConfigSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;
};

std::vector<SiteConfigSection> SiteConfigSections(const SiteLinks& links);

}  // namespace plumwit::server
