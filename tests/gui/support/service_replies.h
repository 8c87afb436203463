#pragma once

#include <string>

namespace plumwit::test {

// Answers shaped like the service's.
std::string UserRecord(const std::string& name, const std::string& screen_name,
                       const std::string& statuses, const std::string& followers,
                       const std::string& friends);

// A timeline of one status by "bob", whose picture lives at `picture_url`.
std::string OneStatusTimeline(const std::string& text, const std::string& picture_url);

// The service's refusal of a wrong password.
std::string RefusalDocument();

}  // namespace plumwit::test
