#include "support/service_fixture.h"

#include "support/test_authority.h"

namespace plumwit::server::testing {

using plumwit::testing::TestAuthority;

void ServiceTest::StartServer(const HttpLimits& limits, Transport transport) {
  transport_ = transport;
  ServerOptions options;
  options.address = "127.0.0.1";
  options.port = 0;
  options.data_folder = data_.Path();
  options.seed_demo = true;
  options.limits = limits;
  options.log_sink = [this](std::string_view line) {
    std::lock_guard lock(log_mutex_);
    log_.emplace_back(line);
  };
  if (transport == Transport::kTls) {
    options.tls_certificate = TestAuthority::Shared().CertificateFile("good");
    options.tls_key = TestAuthority::Shared().KeyFile("good");
  }
  server_ = std::make_unique<Server>(options);
  server_->Start();
}

void ServiceTest::StopServer() { server_.reset(); }

void ServiceTest::RestartServer() {
  StopServer();
  StartServer({}, transport_);
}

std::unique_ptr<RawHttpClient> ServiceTest::Connect(std::chrono::milliseconds timeout) {
  if (transport_ == Transport::kTls) {
    return std::make_unique<RawHttpClient>(Port(), TestTrust(), timeout);
  }
  return std::make_unique<RawHttpClient>(Port(), timeout);
}

TlsTrust ServiceTest::TestTrust() { return {TestAuthority::Shared().AuthorityFile()}; }

HttpReply ServiceTest::Get(std::string_view target, std::string_view authorization) {
  return Exchange(RawHttpClient::ClientGet(target, authorization));
}

HttpReply ServiceTest::Post(std::string_view target, std::string_view authorization) {
  return Exchange(RawHttpClient::ClientPost(target, authorization));
}

HttpReply ServiceTest::PostForm(std::string_view target, std::string_view body,
                                std::string_view authorization) {
  return Exchange(RawHttpClient::FormPost(target, body, authorization));
}

HttpReply ServiceTest::Exchange(std::string_view raw_request) {
  return Connect()->Exchange(raw_request);
}

std::string ServiceTest::SignUp(const std::string& screen_name, const std::string& password) {
  const HttpReply reply = PostForm("/signup", "screen_name=" + Encode(screen_name) +
                                                  "&name=&password=" + Encode(password) +
                                                  "&password_confirmation=" + Encode(password));
  EXPECT_EQ(reply.status, 200) << reply.body;
  return RawHttpClient::BasicAuth(screen_name, password);
}

std::vector<std::string> ServiceTest::LogLines() {
  std::lock_guard lock(log_mutex_);
  return log_;
}

pugi::xml_document ParseXml(const std::string& body) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer(body.data(), body.size());
  EXPECT_TRUE(result) << result.description() << "\n" << body;
  return document;
}

std::vector<std::string> ChildNames(const pugi::xml_node& node) {
  std::vector<std::string> names;
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() == pugi::node_element) names.emplace_back(child.name());
  }
  return names;
}

}  // namespace plumwit::server::testing
