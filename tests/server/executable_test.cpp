// The real plumwit-server executable: start, serve, stop on a signal, the
// passwd command and its command-line errors.

#include <gtest/gtest.h>

#include <csignal>
#include <regex>
#include <string>

#include "support/child_process.h"
#include "support/scratch_folder.h"
#include "support/service_fixture.h"
#include "support/test_authority.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kBinary = PLUMWIT_SERVER_BINARY;

using plumwit::testing::TestAuthority;

// Waits for the start line and returns the port it names, or 0.
unsigned short PortFromStartLine(ChildProcess& server, const std::string& scheme = "http") {
  const std::string line = server.ReadLine();
  std::smatch match;
  if (!std::regex_search(line, match,
                         std::regex("serving " + scheme + R"(://127\.0\.0\.1:(\d+)/)"))) {
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
  const std::string usage = help.ReadRest();
  EXPECT_NE(usage.find("passwd NAME"), std::string::npos);
  EXPECT_NE(usage.find("--tls-cert FILE"), std::string::npos);
  EXPECT_NE(usage.find("--tls-key FILE"), std::string::npos);

  ChildProcess version(kBinary, {"--version"});
  EXPECT_EQ(version.Wait(), 0);
  EXPECT_EQ(version.ReadRest(), "plumwit-server 1.7.2\n");
}

TEST(ExecutableTest, ServesHttpsWithACertificateAndItsKey) {
  plumwit::testing::ScratchFolder data;
  const TestAuthority& authority = TestAuthority::Shared();
  ChildProcess server(kBinary,
                      {"--listen", "127.0.0.1:0", "--data", data.Path(), "--tls-cert",
                       authority.CertificateFile("good"), "--tls-key", authority.KeyFile("good")});
  const unsigned short port = PortFromStartLine(server, "https");
  ASSERT_NE(port, 0);
  const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/help/test.xml";
  ChildProcess curl("/usr/bin/curl",
                    {"-sS", "--noproxy", "*", "--cacert", authority.AuthorityFile(), url});
  EXPECT_EQ(curl.Wait(), 0);
  EXPECT_EQ(curl.ReadRest(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ok>true</ok>\n");

  RawHttpClient client(port, TlsTrust{authority.AuthorityFile()});
  EXPECT_EQ(client.Exchange(RawHttpClient::ClientGet("/statuses/public_timeline.xml")).status, 200);
  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(), 0);
  const std::string output = server.ReadRest();
  EXPECT_NE(output.find(" GET /help/test.xml 200 "), std::string::npos) << output;
}

TEST(ExecutableTest, ABadCertificateOrKeyEndsItBeforeServing) {
  const TestAuthority& authority = TestAuthority::Shared();
  struct Case {
    std::vector<std::string> tls_arguments;
    int status;
    std::string says;
  };
  const std::string missing = "/nonexistent/cert.pem";
  const Case cases[] = {
      {{"--tls-cert", missing, "--tls-key", authority.KeyFile("good")},
       1,
       "Cannot read the TLS certificate " + missing + ": No such file or directory"},
      {{"--tls-cert", authority.CertificateFile("good"), "--tls-key",
        authority.KeyFile("unknown-ca")},
       1,
       "The TLS key " + authority.KeyFile("unknown-ca") + " does not match the certificate"},
      {{"--tls-cert", authority.CertificateFile("expired"), "--tls-key",
        authority.KeyFile("expired")},
       1,
       "The TLS certificate " + authority.CertificateFile("expired") + " expired on"},
      {{"--tls-cert", authority.CertificateFile("good")}, 2, "give both or neither"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    plumwit::testing::ScratchFolder scratch;
    const std::string data = scratch.File("data");
    std::vector<std::string> arguments = {"--listen", "127.0.0.1:0", "--data", data};
    arguments.insert(arguments.end(), c.tls_arguments.begin(), c.tls_arguments.end());
    ChildProcess server(kBinary, arguments);
    EXPECT_EQ(server.Wait(), c.status);
    const std::string output = server.ReadRest();
    EXPECT_EQ(output.rfind("plumwit-server: ", 0), 0u) << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
    if (c.status == 1) {
      EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    }
    EXPECT_EQ(output.find("serving"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(data));
  }
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
