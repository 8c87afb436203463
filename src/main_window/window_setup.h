#pragma once

#include <functional>
#include <string>

#include <QSize>

#include "core/build_config.h"
#include "core/service/http_client.h"
#include "core/service/service_location.h"
#include "core/settings/file_locations.h"

namespace plumwit {

// Where the program's windows find their files and the service. The defaults
// are the real ones; tests give their own folders, host and screen.
struct WindowSetup {
  // Ends in "/": the executable's folder.
  std::string program_folder = ProgramFolder();
  // The user's own folder of the program: holds "remember.xml", and the
  // settings unless the program folder is a portable copy.
  std::string application_data_folder = UserConfigFolder();
  // Worked out once, so every reader and writer of the settings uses it.
  std::string settings_file = SettingsFileLocation(program_folder, application_data_folder);
  // Ends in "/": holds the "style.css" the timeline page links to.
  std::string stylesheet_folder = StylesheetFolder(program_folder);
  std::string service_host = build::kServiceHost;
  std::string service_scheme = build::kServiceScheme;
  ServiceDialect service_dialect = DialectNamed(build::kServiceDialect);
  HttpClientLimits http_limits;
  // The screen size the start-up requirement check looks at; empty means the
  // primary screen's.
  std::function<QSize()> screen_size;
  // The executable's file name, shown in the requirement warning's caption.
  std::string executable_name = "plumwit";
  // The timeline's view module; empty means the one beside the program.
  std::string view_module_file;

  ServiceLocation Service() const { return {service_scheme, service_host, service_dialect}; }
};

}  // namespace plumwit
