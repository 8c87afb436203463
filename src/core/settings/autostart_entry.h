#pragma once

#include <string>

namespace plumwit {

// The machine-wide configuration folder that autostart entries live under:
// the first absolute directory of $XDG_CONFIG_DIRS, else "/etc/xdg".
std::string SystemConfigFolder();

// Makes the program start at every user's login: writes "Plumwit.desktop"
// into the "autostart" folder of `config_folder`, creating the folder when
// missing, with the command `program_folder` followed by "plumwit".
// Throws plumwit::Error "Failed to create key <autostart folder>" when the
// folder cannot be created, and "Failed to set data for 'Plumwit'" when the
// entry cannot be written; an existing entry is then left as it was.
void AddRunEntry(const std::string& program_folder,
                 const std::string& config_folder = SystemConfigFolder());

// Removes the entry. Never throws: every outcome is one of three messages for
// the user, which this returns: "Registry Key not found." when the autostart
// folder is missing or may not be changed, "Plumwit will not start with
// Windows anymore." after removing the entry, "Plumwit Registry Key not
// found." when there was no entry to remove.
std::string RemoveRunEntry(const std::string& config_folder = SystemConfigFolder());

}  // namespace plumwit
