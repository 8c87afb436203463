#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plumwit::server {

// The screen names a status text mentions as "@name": the "@" starts a word
// and the name runs to the end of that word. Letters outside ASCII count as
// word characters, so "café@demo" and "@demoé" mention nobody. Each name
// once, in the order first mentioned, as written.
std::vector<std::string> MentionedNames(std::string_view text);

}  // namespace plumwit::server
