#pragma once

#include <boost/asio/ssl/context.hpp>

#include <filesystem>
#include <memory>

namespace plumwit::server {

// The server's side of TLS 1.2 and newer: a certificate (with any chain
// certificates after it) and its private key, both PEM. Everything that
// would otherwise only fail at a client's first handshake is checked here,
// so that a wrong file stops the service before it serves anything.
class TlsContext {
 public:
  // Throws std::runtime_error with one line naming the file at fault: one
  // that cannot be read, is not PEM, holds a key that does not belong to the
  // certificate, or a certificate outside its validity period.
  static std::shared_ptr<boost::asio::ssl::context> Load(const std::filesystem::path& certificate,
                                                         const std::filesystem::path& key);
};

}  // namespace plumwit::server
