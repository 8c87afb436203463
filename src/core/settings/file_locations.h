#pragma once

#include <string>

#include "core/build_config.h"
#include "core/settings/folders.h"

namespace plumwit {

// The program's own folder under the user's configuration folder:
// `config_home` followed by "plumwit/". Empty when `config_home` is empty.
std::string UserConfigFolder(const std::string& config_home = ApplicationDataFolder());

// Where the settings are read and written for a whole run. A "settings.kiv"
// beside the executable makes a portable copy, which keeps its settings
// there; otherwise they follow the user into `user_folder`. Without a user
// folder the program folder is the only place left.
std::string SettingsFileLocation(const std::string& program_folder, const std::string& user_folder);

// The folder, ending in "/", whose "style.css" the timeline page links to:
// the program folder when the stylesheet lies there (a build or portable
// copy), else the installed data folder at `data_folder_from_program` from
// it. The program folder when neither holds one.
std::string StylesheetFolder(
    const std::string& program_folder,
    const std::string& data_folder_from_program = build::kDataFolderFromProgram);

// Creates `folder` and any missing parent, each new one readable only by its
// owner, as befits folders holding a user's settings and password. Returns
// whether the folder exists afterwards.
bool CreatePrivateFolders(const std::string& folder);

}  // namespace plumwit
