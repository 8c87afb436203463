#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plumwit::server {

class CommandLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLineOptions {
  enum class Mode { kServe, kPasswd, kHelp, kVersion };
  Mode mode = Mode::kServe;
  std::string address = "127.0.0.1";
  unsigned short port = 8080;
  std::optional<std::filesystem::path> data_folder;  // nullopt: the default one
  bool demo = false;
  // Both set (PEM files) to serve HTTPS; Parse refuses one alone.
  std::optional<std::filesystem::path> tls_certificate;
  std::optional<std::filesystem::path> tls_key;
  std::string passwd_name;
};

// plumwit-server [--listen ADDRESS:PORT] [--data DIR] [--demo]
//                [--tls-cert FILE --tls-key FILE]
// plumwit-server [--data DIR] passwd NAME
class CommandLine {
 public:
  // `arguments` excludes the program name. Throws CommandLineError.
  static CommandLineOptions Parse(const std::vector<std::string>& arguments);
  static std::string Usage();
  // "plumwit-server " and the version, one line.
  static std::string Version();
};

}  // namespace plumwit::server
