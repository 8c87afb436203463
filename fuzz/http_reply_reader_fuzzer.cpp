// The reply reader against a fake peer: the input is what the server sends,
// handed over in pieces of random size (the split points come from the
// input too), so every way a reply can be cut up arrives at the reader.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>

#include <boost/asio/error.hpp>

#include "core/service/http_reply_reader.h"
#include "fuzz_support.h"

namespace plumwit {
namespace {

class FakePeer : public ReplySource {
 public:
  FakePeer(FuzzedDataProvider& input, std::size_t buffer_limit)
      : input_(input), buffer_(buffer_limit) {}

  boost::system::error_code ReadSome() override {
    fuzz::Require(BufferHasRoom(), "the reader reads only with room in the buffer");
    if (input_.remaining_bytes() == 0) return boost::asio::error::eof;
    const std::size_t wanted = input_.ConsumeIntegralInRange<std::size_t>(1, 4096);
    const std::string piece =
        input_.ConsumeBytesAsString(std::min(wanted, buffer_.max_size() - buffer_.size()));
    if (piece.empty()) return boost::asio::error::eof;
    auto target = buffer_.prepare(piece.size());
    std::memcpy(target.data(), piece.data(), piece.size());
    buffer_.commit(piece.size());
    return {};
  }
  boost::beast::flat_buffer& Buffer() override { return buffer_; }
  bool BufferHasRoom() const override { return buffer_.size() < buffer_.max_size(); }

 private:
  FuzzedDataProvider& input_;
  boost::beast::flat_buffer buffer_;
};

}  // namespace
}  // namespace plumwit

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  FuzzedDataProvider input(data, size);
  HttpClientLimits limits;
  limits.max_reply_bytes = 64 * 1024;
  limits.max_header_bytes = 4 * 1024;
  FakePeer peer(input, limits.max_header_bytes + 8 * 1024);
  // Replies follow each other on a kept connection until one fails.
  for (int reply_number = 0; reply_number < 4; ++reply_number) {
    std::size_t cookies = 0;
    HttpReplyReader reader(peer, limits, [&](const std::string&) { ++cookies; });
    try {
      const HttpReply reply = reader.Read();
      fuzz::Require(reply.body.size() <= limits.max_reply_bytes, "the body keeps to the limit");
      fuzz::Require(reply.code == StatusCodeOf(reply.status_line), "the code is the status line's");
      fuzz::Require(reply.status_line.find('\n') == std::string::npos, "one status line");
      (void)reply.Field("Connection");
      if (reply.server_closed) break;
    } catch (const Error&) {
      break;
    }
  }
  return 0;
}
