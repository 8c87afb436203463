// The real plumwit-server executable: start, serve, stop on a signal, the
// passwd command and its command-line errors.

#include <gtest/gtest.h>

#include <csignal>
#include <regex>
#include <string>

#include "support/child_process.h"
#include "support/scratch_folder.h"
#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kBinary = PLUMWIT_SERVER_BINARY;

// Waits for the start line and returns the port it names, or 0.
unsigned short PortFromStartLine(ChildProcess& server) {
  const std::string line = server.ReadLine();
  std::smatch match;
  if (!std::regex_search(line, match, std::regex(R"(serving http://127\.0\.0\.1:(\d+)/)"))) {
    ADD_FAILURE() << "unexpected start line: " << line;
    return 0;
  }
  return static_cast<unsigned short>(std::stoi(match[1]));
}

TEST(ExecutableTest, ServesUntilASignalAndKeepsTheDataForTheNextRun) {
  plumwit::testing::ScratchFolder data;
  const std::string folder = data.Path();
  {
    ChildProcess server(kBinary, {"--listen", "127.0.0.1:0", "--data", folder, "--demo"});
    const unsigned short port = PortFromStartLine(server);
    ASSERT_NE(port, 0);
    RawHttpClient client(port);
    ASSERT_EQ(client
                  .Exchange(RawHttpClient::ClientPost(
                      "/statuses/update.xml?status=from%20the%20first%20run",
                      RawHttpClient::BasicAuth("demo", "demo")))
                  .status,
              200);
    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0);
    const std::string output = server.ReadRest();
    EXPECT_NE(output.find(" POST /statuses/update.xml 200 "), std::string::npos) << output;
    EXPECT_NE(output.find("stopped (SIGTERM)"), std::string::npos) << output;
  }
  ChildProcess server(kBinary, {"--listen=127.0.0.1:0", "--data=" + folder});
  const unsigned short port = PortFromStartLine(server);
  ASSERT_NE(port, 0);
  RawHttpClient client(port);
  const HttpReply record = client.Exchange(RawHttpClient::ClientGet("/users/show/demo"));
  EXPECT_NE(record.body.find("<text>from the first run</text>"), std::string::npos);
  server.Signal(SIGINT);
  EXPECT_EQ(server.Wait(), 0);
  EXPECT_NE(server.ReadRest().find("stopped (SIGINT)"), std::string::npos);
}

TEST(ExecutableTest, DataFolderDefaultsToXdgDataHome) {
  plumwit::testing::ScratchFolder xdg;
  ChildProcess server(kBinary, {"--listen", "127.0.0.1:0"}, {}, {{"XDG_DATA_HOME", xdg.Path()}});
  ASSERT_NE(PortFromStartLine(server), 0);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(xdg.Path()) / "plumwit-server" /
                                      "plumwit.sqlite3"));
  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(), 0);
}

TEST(ExecutableTest, CommandLineErrorsExitWithUsage) {
  ChildProcess unknown(kBinary, {"--frobnicate"});
  EXPECT_EQ(unknown.Wait(), 2);
  EXPECT_NE(unknown.ReadRest().find("Usage: plumwit-server"), std::string::npos);

  ChildProcess help(kBinary, {"--help"});
  EXPECT_EQ(help.Wait(), 0);
  EXPECT_NE(help.ReadRest().find("passwd NAME"), std::string::npos);

  ChildProcess version(kBinary, {"--version"});
  EXPECT_EQ(version.Wait(), 0);
  EXPECT_EQ(version.ReadRest(), "plumwit-server 1.7.2\n");
}

class PasswdCommandTest : public ServiceTest {
 protected:
  // Runs "plumwit-server --data DIR passwd NAME" with `input` on standard
  // input; returns the exit status and keeps the output.
  int Passwd(const std::string& name, const std::string& input) {
    ChildProcess command(kBinary, {"--data", DataFolder().string(), "passwd", name}, input);
    const int status = command.Wait();
    output_ = command.ReadRest();
    return status;
  }
  std::string output_;
};

TEST_F(PasswdCommandTest, SetsThePasswordOfARunningServicesAccountAtOnce) {
  ASSERT_EQ(Get("/account/verify_credentials.xml", DemoAuth()).status, 200);
  ASSERT_EQ(Passwd("demo", "brand-new-secret\n"), 0) << output_;
  EXPECT_NE(output_.find("Password changed for demo."), std::string::npos);
  EXPECT_EQ(output_.find("brand-new-secret"), std::string::npos);

  EXPECT_EQ(Get("/account/verify_credentials.xml", DemoAuth()).status, 401);
  EXPECT_EQ(
      Get("/account/verify_credentials.xml", RawHttpClient::BasicAuth("demo", "brand-new-secret"))
          .status,
      200);

  // A seeded account without a password gets one; an unknown name becomes an account.
  ASSERT_EQ(Passwd("margit", "margit-pass\r\n"), 0) << output_;
  EXPECT_EQ(
      Get("/account/verify_credentials.xml", RawHttpClient::BasicAuth("margit", "margit-pass"))
          .status,
      200);
  ASSERT_EQ(Passwd("created_here", "created-pass\n"), 0) << output_;
  EXPECT_NE(output_.find("Created account created_here."), std::string::npos);
  EXPECT_EQ(Get("/statuses/home_timeline/created_here.xml",
                RawHttpClient::BasicAuth("created_here", "created-pass"))
                .status,
            200);
}

TEST_F(PasswdCommandTest, RefusesBadNamesAndPasswordsAndChangesNothing) {
  EXPECT_EQ(Passwd("bad name", "long-enough\n"), 1);
  EXPECT_NE(output_.find("letters, numbers and underscores"), std::string::npos) << output_;
  EXPECT_EQ(Passwd("demo", "short\n"), 1);
  EXPECT_NE(output_.find("Password is too short"), std::string::npos) << output_;
  EXPECT_EQ(Passwd("demo", ""), 1);
  EXPECT_NE(output_.find("No password read"), std::string::npos) << output_;
  EXPECT_EQ(Get("/account/verify_credentials.xml", DemoAuth()).status, 200);
}

TEST_F(PasswdCommandTest, AnAddressInUseEndsTheExecutableWithAnError) {
  ChildProcess second(kBinary, {"--listen", "127.0.0.1:" + std::to_string(Port()), "--data",
                                DataFolder().string()});
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_NE(second.ReadRest().find("plumwit-server: "), std::string::npos);
  EXPECT_EQ(Get("/users/show/demo").status, 200);
}

}  // namespace
}  // namespace plumwit::server::testing
