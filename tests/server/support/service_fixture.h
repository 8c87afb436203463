#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "server/http_limits.h"
#include "server/server.h"
#include "support/raw_http_client.h"
#include "support/scratch_folder.h"

namespace plumwit::server::testing {

// How the test service is reached: plain HTTP, or HTTPS with the test
// authority's "good" certificate.
enum class Transport { kPlain, kTls };

// A real server with the demo seeded, on a free loopback port, with its data
// in a temporary folder; requests go through real sockets.
class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { StartServer(); }
  void TearDown() override { StopServer(); }

  void StartServer(const HttpLimits& limits = {}, Transport transport = Transport::kPlain);
  void StopServer();
  // A new server on the same data folder.
  void RestartServer();

  unsigned short Port() const { return server_->Port(); }
  std::filesystem::path DataFolder() const { return data_.Path(); }

  // A new connection in the server's transport (over TLS, the handshake is
  // done and the test authority trusted).
  std::unique_ptr<RawHttpClient> Connect(
      std::chrono::milliseconds timeout = std::chrono::seconds(10));
  static TlsTrust TestTrust();

  // Each on a connection of its own, in the client program's request shapes.
  HttpReply Get(std::string_view target, std::string_view authorization = {});
  HttpReply Post(std::string_view target, std::string_view authorization = {});
  HttpReply PostForm(std::string_view target, std::string_view body,
                     std::string_view authorization = {});
  HttpReply Exchange(std::string_view raw_request);

  static std::string DemoAuth() { return RawHttpClient::BasicAuth("demo", "demo"); }
  // Makes an account through the sign-up page; returns its Authorization value.
  std::string SignUp(const std::string& screen_name, const std::string& password = "secret-1");

  std::vector<std::string> LogLines();

 private:
  plumwit::testing::ScratchFolder data_;
  std::unique_ptr<Server> server_;
  Transport transport_ = Transport::kPlain;
  std::mutex log_mutex_;
  std::vector<std::string> log_;
};

// Parses an XML body; fails the test when it is not well-formed.
pugi::xml_document ParseXml(const std::string& body);
// Names of the element children of `node`, in order.
std::vector<std::string> ChildNames(const pugi::xml_node& node);

}  // namespace plumwit::server::testing
