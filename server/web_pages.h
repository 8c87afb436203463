#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/records.h"
#include "server/service_request.h"
#include "server/site_links.h"
#include "server/store.h"

namespace plumwit::server {

// The service's web pages: what the client's links open in a browser.
class WebPages {
 public:
  explicit WebPages(Store& store);

  ServiceResponse Home(const SiteLinks& links);
  ServiceResponse SignupForm();
  // Creates the account from the form fields, or shows the form again with
  // the reason.
  ServiceResponse Signup(const ServiceRequest& request);
  ServiceResponse ResendPassword();
  ServiceResponse ApiTerms();
  ServiceResponse AccountPage(std::string_view screen_name, const SiteLinks& links);
  // `file_name` is "NAME.svg".
  ServiceResponse Avatar(std::string_view file_name);
  ServiceResponse NotFound();

 private:
  std::string StatusList(const std::vector<StatusView>& statuses, const SiteLinks& links) const;
  static ServiceResponse SignupPage(unsigned status, std::string_view message,
                                    std::string_view screen_name, std::string_view name);

  Store& store_;
};

}  // namespace plumwit::server
