// The command line and the default data folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/command_line.h"
#include "server/data_folder.h"

namespace plumwit::server {
namespace {

using Mode = CommandLineOptions::Mode;

TEST(CommandLineTest, ParsesTheServeAndPasswdForms) {
  const CommandLineOptions defaults = CommandLine::Parse({});
  EXPECT_EQ(defaults.mode, Mode::kServe);
  EXPECT_EQ(defaults.address, "127.0.0.1");
  EXPECT_EQ(defaults.port, 8080);
  EXPECT_FALSE(defaults.data_folder);
  EXPECT_FALSE(defaults.demo);

  const CommandLineOptions serve =
      CommandLine::Parse({"--listen", "0.0.0.0:9000", "--data=/tmp/x", "--demo"});
  EXPECT_EQ(serve.address, "0.0.0.0");
  EXPECT_EQ(serve.port, 9000);
  EXPECT_EQ(*serve.data_folder, "/tmp/x");
  EXPECT_TRUE(serve.demo);

  EXPECT_EQ(CommandLine::Parse({"--listen=[::1]:8081"}).address, "::1");
  EXPECT_EQ(CommandLine::Parse({"--listen", "localhost:0"}).address, "127.0.0.1");

  const CommandLineOptions passwd = CommandLine::Parse({"--data", "/d", "passwd", "alice"});
  EXPECT_EQ(passwd.mode, Mode::kPasswd);
  EXPECT_EQ(passwd.passwd_name, "alice");
  EXPECT_FALSE(defaults.tls_certificate);

  const CommandLineOptions tls = CommandLine::Parse({"--tls-cert", "c.pem", "--tls-key=k.pem"});
  EXPECT_EQ(*tls.tls_certificate, "c.pem");
  EXPECT_EQ(*tls.tls_key, "k.pem");

  EXPECT_EQ(CommandLine::Parse({"--demo", "--help"}).mode, Mode::kHelp);
  EXPECT_EQ(CommandLine::Parse({"--version", "--listen"}).mode, Mode::kVersion);
}

TEST(CommandLineTest, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--listen"},
      {"--listen", "8080"},
      {"--listen", "127.0.0.1:"},
      {"--listen", "127.0.0.1:65536"},
      {"--listen", "127.0.0.1:80x"},
      {"--listen", "no.such.host:80"},
      {"--data"},
      {"--data="},
      {"passwd"},
      {"passwd", "a", "b"},
      {"--demo", "passwd", "a"},
      {"--tls-cert", "c.pem"},
      {"--tls-key", "k.pem"},
      {"--tls-cert=", "--tls-key", "k.pem"},
      {"--tls-cert", "c.pem", "--tls-key"},
      {"--tls-cert", "c.pem", "--tls-key", "k.pem", "passwd", "a"},
      {"--verbose"},
  };
  for (const auto& arguments : bad) {
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_THROW(CommandLine::Parse(arguments), CommandLineError);
  }
}

TEST(DataFolderTest, FollowsXdgDataHomeElseHome) {
  EXPECT_EQ(DataFolder::DefaultFor(std::string("/xdg"), std::string("/home/u")),
            "/xdg/plumwit-server");
  EXPECT_EQ(DataFolder::DefaultFor(std::string("relative"), std::string("/home/u")),
            "/home/u/.local/share/plumwit-server");
  EXPECT_EQ(DataFolder::DefaultFor(std::nullopt, std::string("/home/u")),
            "/home/u/.local/share/plumwit-server");
  EXPECT_THROW(DataFolder::DefaultFor(std::nullopt, std::nullopt), std::runtime_error);
}

}  // namespace
}  // namespace plumwit::server
