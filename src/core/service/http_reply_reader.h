#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include "core/service/http_client.h"
#include "core/service/http_reply.h"
#include "core/service/reply_source.h"

namespace plumwit {

// Reads one reply from a connection. The status line and header lines are
// read here, line by line (so the status line is kept as received and a
// bare LF ends a line too); Beast's parser then checks the header and frames
// the body. Every wait for data has the connection's deadline.
class HttpReplyReader {
 public:
  // Receives the value of every "Set-Cookie" and "Set-Cookie2" line as soon
  // as its header block is read, so the cookies of a reply whose body then
  // fails are kept too.
  using CookieSink = std::function<void(const std::string& value)>;

  HttpReplyReader(ReplySource& connection, const HttpClientLimits& limits,
                  CookieSink cookie_sink = {});

  // Reads the next reply, passing over "100 Continue" replies. Throws
  // ConnectionClosedError, SocketError, HttpReplyError, or HttpStatusError
  // for a status line that is not HTTP.
  HttpReply Read();

  // Whether any byte of the reply arrived before a failure.
  bool ReceivedAnything() const { return received_anything_; }

 private:
  using Parser = boost::beast::http::response_parser<boost::beast::http::string_body>;

  struct HeaderBlock {
    std::vector<std::string> lines;  // the status line first
    bool closed = false;             // the server closed inside the block
  };

  HeaderBlock ReadHeaderBlock();
  std::optional<std::string> NextLine(std::size_t& block_bytes);
  void ParseHeader(Parser& parser, const HeaderBlock& block);
  void ReadBody(Parser& parser, bool& closed);
  bool FeedBuffered(Parser& parser);
  void FinishAtClose(Parser& parser);
  bool Receive();
  void CountReplyBytes(std::size_t bytes);
  [[noreturn]] void ThrowTooLarge() const;
  [[noreturn]] void ThrowHeaderTooLarge() const;

  ReplySource& connection_;
  const HttpClientLimits& limits_;
  CookieSink cookie_sink_;
  std::size_t reply_bytes_ = 0;
  bool received_anything_ = false;
};

}  // namespace plumwit
