#pragma once

#include <string>

namespace plumwit {

// Folder of the running executable, ending in "/"; the settings file and the
// page's stylesheet live there. Empty when the executable cannot be located.
std::string ProgramFolder();

// The user's application-data folder: $XDG_CONFIG_HOME, else ~/.config.
// Empty when neither can be worked out.
std::string ApplicationDataFolder();

}  // namespace plumwit
