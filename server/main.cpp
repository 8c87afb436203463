// plumwit-server: the bundled microblog service.

#include <unistd.h>

#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "server/command_line.h"
#include "server/data_folder.h"
#include "server/open_file_limit.h"
#include "server/passwd_command.h"
#include "server/server.h"
#include "server/store.h"
#include "server/terminal_echo.h"

namespace {

using plumwit::server::CommandLineOptions;

int RunPasswd(const CommandLineOptions& options, const std::filesystem::path& data_folder) {
  plumwit::server::DataFolder::Prepare(data_folder);
  plumwit::server::Store store(data_folder / plumwit::server::Server::kDatabaseFileName);
  const bool interactive = isatty(STDIN_FILENO) != 0;
  std::optional<plumwit::server::TerminalEcho> quiet;
  if (interactive) quiet.emplace(STDIN_FILENO);
  return plumwit::server::PasswdCommand::Run(store, options.passwd_name, std::cin, std::cerr,
                                             interactive);
}

int RunServer(const CommandLineOptions& options, const std::filesystem::path& data_folder) {
  // Every connection takes a descriptor; the server fits its connections
  // into whatever limit this leaves.
  plumwit::server::OpenFileLimit::RaiseToHard();
  plumwit::server::ServerOptions server_options;
  server_options.address = options.address;
  server_options.port = options.port;
  server_options.data_folder = data_folder;
  server_options.seed_demo = options.demo;
  server_options.tls_certificate = options.tls_certificate.value_or("");
  server_options.tls_key = options.tls_key.value_or("");
  plumwit::server::Server server(server_options);
  const int signal_number = server.RunUntilSignalled([&] {
    std::cerr << "plumwit-server: serving " << server.Scheme() << "://" << server.HostAndPort()
              << "/ with data in " << data_folder.string() << std::endl;
  });
  std::cerr << "plumwit-server: stopped ("
            << (signal_number == SIGINT    ? "SIGINT"
                : signal_number == SIGTERM ? "SIGTERM"
                                           : "?")
            << ")" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A client that goes away mid-answer must not end the service.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    const CommandLineOptions options =
        plumwit::server::CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.mode == CommandLineOptions::Mode::kHelp) {
      std::cout << plumwit::server::CommandLine::Usage();
      return 0;
    }
    if (options.mode == CommandLineOptions::Mode::kVersion) {
      std::cout << plumwit::server::CommandLine::Version();
      return 0;
    }
    const std::filesystem::path data_folder =
        options.data_folder ? *options.data_folder : plumwit::server::DataFolder::Default();
    if (options.mode == CommandLineOptions::Mode::kPasswd) return RunPasswd(options, data_folder);
    return RunServer(options, data_folder);
  } catch (const plumwit::server::CommandLineError& error) {
    std::cerr << "plumwit-server: " << error.what() << "\n\n"
              << plumwit::server::CommandLine::Usage();
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "plumwit-server: " << error.what() << std::endl;
    return 1;
  }
}
