#include "server/command_line.h"

#include <boost/asio/ip/address.hpp>

#include <charconv>

namespace plumwit::server {
namespace {

unsigned short ParsePort(const std::string& text, const std::string& listen) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || last != end || value > 65535) {
    throw CommandLineError("Bad port in --listen " + listen + ": give ADDRESS:PORT.");
  }
  return static_cast<unsigned short>(value);
}

void ParseListen(const std::string& listen, CommandLineOptions& options) {
  const std::size_t colon = listen.rfind(':');
  if (colon == std::string::npos) {
    throw CommandLineError("Bad --listen " + listen + ": give ADDRESS:PORT.");
  }
  std::string host = listen.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty() || host == "localhost") host = "127.0.0.1";
  boost::system::error_code error;
  boost::asio::ip::make_address(host, error);
  if (error) throw CommandLineError("Bad address in --listen " + listen + ": " + host);
  options.address = host;
  options.port = ParsePort(listen.substr(colon + 1), listen);
}

// The value of "--name VALUE" or "--name=VALUE"; advances `index` past it.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments,
                                       std::size_t& index, const std::string& name) {
  const std::string& argument = arguments[index];
  if (argument == name) {
    if (index + 1 >= arguments.size()) throw CommandLineError(name + " needs a value.");
    return arguments[++index];
  }
  if (argument.rfind(name + "=", 0) == 0) return argument.substr(name.size() + 1);
  return std::nullopt;
}

std::filesystem::path FileValue(const std::string& value, const std::string& name) {
  if (value.empty()) throw CommandLineError(name + " needs a file.");
  return value;
}

}  // namespace

CommandLineOptions CommandLine::Parse(const std::vector<std::string>& arguments) {
  CommandLineOptions options;
  bool listen_given = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.mode = CommandLineOptions::Mode::kHelp;
      return options;
    }
    if (argument == "--version") {
      options.mode = CommandLineOptions::Mode::kVersion;
      return options;
    }
    if (argument == "--demo") {
      options.demo = true;
    } else if (auto listen = OptionValue(arguments, i, "--listen")) {
      ParseListen(*listen, options);
      listen_given = true;
    } else if (auto certificate = OptionValue(arguments, i, "--tls-cert")) {
      options.tls_certificate = FileValue(*certificate, "--tls-cert");
    } else if (auto key = OptionValue(arguments, i, "--tls-key")) {
      options.tls_key = FileValue(*key, "--tls-key");
    } else if (auto data = OptionValue(arguments, i, "--data")) {
      if (data->empty()) throw CommandLineError("--data needs a folder.");
      options.data_folder = *data;
    } else if (argument == "passwd") {
      if (i + 2 != arguments.size()) throw CommandLineError("Use: passwd NAME");
      options.mode = CommandLineOptions::Mode::kPasswd;
      options.passwd_name = arguments[++i];
    } else {
      throw CommandLineError("Unknown argument: " + argument);
    }
  }
  const bool tls_given = options.tls_certificate || options.tls_key;
  if (options.mode == CommandLineOptions::Mode::kPasswd &&
      (listen_given || options.demo || tls_given)) {
    throw CommandLineError("passwd takes only --data.");
  }
  if (options.tls_certificate.has_value() != options.tls_key.has_value()) {
    throw CommandLineError("--tls-cert and --tls-key go together: give both or neither.");
  }
  return options;
}

std::string CommandLine::Version() {
  return std::string("plumwit-server ") + PLUMWIT_SERVER_VERSION + "\n";
}

std::string CommandLine::Usage() {
  return "Usage: plumwit-server [--listen ADDRESS:PORT] [--data DIR] [--demo]\n"
         "                      [--tls-cert FILE --tls-key FILE]\n"
         "       plumwit-server [--data DIR] passwd NAME\n"
         "       plumwit-server --help | --version\n"
         "\n"
         "Serves the version-1 microblog interface (XML and JSON, also under /api/)\n"
         "and its web pages.\n"
         "\n"
         "  --listen ADDRESS:PORT  where to listen (default 127.0.0.1:8080)\n"
         "  --data DIR             data folder (default $XDG_DATA_HOME/plumwit-server,\n"
         "                         else ~/.local/share/plumwit-server)\n"
         "  --demo                 create, once, the account demo (password demo) with a\n"
         "                         demo timeline\n"
         "  --tls-cert FILE        serve HTTPS (TLS 1.2 or newer) instead of HTTP with this\n"
         "                         PEM certificate, followed by any chain certificates\n"
         "  --tls-key FILE         the PEM private key of --tls-cert (no passphrase)\n"
         "  passwd NAME            set the password of account NAME (created if new),\n"
         "                         read from the terminal or one line of standard input\n";
}

}  // namespace plumwit::server
