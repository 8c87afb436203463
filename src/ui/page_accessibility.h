#pragma once

namespace plumwit {

// Screen readers on Linux see into the timeline page only when the web
// engine's accessibility is switched on, which the engine reads from its
// environment when it starts. Must run before the application object exists.
void SwitchOnPageAccessibility();

}  // namespace plumwit
