#include "core/service/http_reply_reader.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include <boost/asio/buffer.hpp>
#include <boost/asio/error.hpp>
#include <boost/beast/http/error.hpp>

#include "core/service/ascii_text.h"
#include "core/service/socket_errors.h"

namespace plumwit {

namespace {

namespace http = boost::beast::http;

std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kKiB = 1024;
  constexpr std::size_t kMiB = 1024 * kKiB;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + " bytes";
}

std::string_view AsStd(boost::beast::string_view text) { return {text.data(), text.size()}; }

bool IsCookieField(std::string_view name) {
  return EqualsIgnoringCase(name, "Set-Cookie") || EqualsIgnoringCase(name, "Set-Cookie2");
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A status line may end right after its code: the reason phrase is optional.
// The parser wants the blank before it even when it is empty.
std::string StatusLineForParser(const std::string& line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string::npos || blank + 1 == line.size()) return line;
  const std::string_view rest = std::string_view(line).substr(blank + 1);
  const bool only_code = rest.find_first_not_of("0123456789") == std::string_view::npos;
  return only_code ? line + " " : line;
}

// Blanks before a header line's colon are not part of its name: the parser
// would refuse the line, and we read it as the server meant it. Folded
// continuation lines (starting with a blank) are left for the parser.
std::string HeaderLineForParser(const std::string& line) {
  if (line.empty() || IsBlank(line.front())) return line;
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0 || !IsBlank(line[colon - 1])) return line;
  std::size_t name_end = colon;
  while (name_end > 0 && IsBlank(line[name_end - 1])) --name_end;
  if (name_end == 0) return line;
  return line.substr(0, name_end) + line.substr(colon);
}

std::string TextForParser(const std::vector<std::string>& lines) {
  std::string text = StatusLineForParser(lines.front()) + "\r\n";
  for (std::size_t i = 1; i < lines.size(); ++i) text += HeaderLineForParser(lines[i]) + "\r\n";
  text += "\r\n";
  return text;
}

}  // namespace

HttpReplyReader::HttpReplyReader(ReplySource& connection, const HttpClientLimits& limits,
                                 CookieSink cookie_sink)
    : connection_(connection), limits_(limits), cookie_sink_(std::move(cookie_sink)) {}

HttpReply HttpReplyReader::Read() {
  HttpReply reply;
  while (true) {
    HeaderBlock block = ReadHeaderBlock();
    reply.status_line = block.lines.front();
    reply.code = StatusCodeOf(reply.status_line);
    Parser parser;
    ParseHeader(parser, block);
    for (const auto& field : parser.get()) {
      if (cookie_sink_ && IsCookieField(AsStd(field.name_string()))) {
        cookie_sink_(std::string(AsStd(field.value())));
      }
    }
    if (reply.code == 100 && !block.closed) continue;

    ReadBody(parser, block.closed);
    reply.server_closed = block.closed;
    for (const auto& field : parser.get()) {
      reply.fields.emplace_back(AsStd(field.name_string()), AsStd(field.value()));
    }
    reply.body = std::move(parser.get().body());
    return reply;
  }
}

HttpReplyReader::HeaderBlock HttpReplyReader::ReadHeaderBlock() {
  HeaderBlock block;
  std::size_t block_bytes = 0;
  while (true) {
    std::optional<std::string> line = NextLine(block_bytes);
    if (!line) {
      // A status line is needed; header lines cut off by a close are taken
      // as the whole header.
      if (block.lines.empty()) throw ConnectionClosedError();
      block.closed = true;
      return block;
    }
    if (!block.lines.empty() && line->empty()) return block;
    block.lines.push_back(std::move(*line));
  }
}

std::optional<std::string> HttpReplyReader::NextLine(std::size_t& block_bytes) {
  auto& buffer = connection_.Buffer();
  while (true) {
    const std::string_view data(static_cast<const char*>(buffer.data().data()), buffer.size());
    const std::size_t line_feed = data.find('\n');
    if (line_feed != std::string_view::npos) {
      block_bytes += line_feed + 1;
      if (block_bytes > limits_.max_header_bytes) ThrowHeaderTooLarge();
      std::string line(data.substr(0, line_feed));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      buffer.consume(line_feed + 1);
      CountReplyBytes(line_feed + 1);
      return line;
    }
    if (block_bytes + data.size() > limits_.max_header_bytes || !connection_.BufferHasRoom()) {
      ThrowHeaderTooLarge();
    }
    if (!Receive()) return std::nullopt;
  }
}

void HttpReplyReader::ParseHeader(Parser& parser, const HeaderBlock& block) {
  const std::string text = TextForParser(block.lines);

  parser.eager(true);
  parser.header_limit(static_cast<std::uint32_t>(
      std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max())));
  parser.body_limit(limits_.max_reply_bytes - std::min(reply_bytes_, limits_.max_reply_bytes));
  boost::system::error_code error;
  parser.put(boost::asio::buffer(text), error);
  if (error == http::error::body_limit) ThrowTooLarge();
  if (error || !parser.is_header_done()) {
    const std::string& status_line = block.lines.front();
    if (StatusCodeOf(status_line) < 0) throw HttpStatusError(status_line, -1, "");
    throw HttpReplyError("The server's reply is not valid HTTP.");
  }
}

void HttpReplyReader::ReadBody(Parser& parser, bool& closed) {
  while (!parser.is_done()) {
    if (closed) return FinishAtClose(parser);
    if (FeedBuffered(parser)) continue;
    if (!connection_.BufferHasRoom()) ThrowTooLarge();
    closed = !Receive();
  }
}

// Hands the buffered bytes to the parser; false when it needs more first.
bool HttpReplyReader::FeedBuffered(Parser& parser) {
  auto& buffer = connection_.Buffer();
  if (buffer.size() == 0) return false;
  boost::system::error_code error;
  const std::size_t used = parser.put(buffer.data(), error);
  buffer.consume(used);
  CountReplyBytes(used);
  if (error == http::error::need_more) return used > 0;
  if (error == http::error::body_limit) ThrowTooLarge();
  if (error) throw HttpReplyError("The server's reply is not valid HTTP.");
  return used > 0 || parser.is_done();
}

void HttpReplyReader::FinishAtClose(Parser& parser) {
  boost::system::error_code error;
  parser.put_eof(error);
  if (!error) return;
  if (error != http::error::partial_message) {
    throw HttpReplyError("The server's reply is not valid HTTP.");
  }
  // A body cut short of its Content-Length is taken as it is; a chunked one
  // cut short is a failure.
  if (parser.chunked()) throw ConnectionClosedError();
}

bool HttpReplyReader::Receive() {
  const boost::system::error_code error = connection_.ReadSome();
  if (error == boost::asio::error::eof) return false;
  if (error) throw MakeSocketError(error);
  received_anything_ = true;
  return true;
}

void HttpReplyReader::CountReplyBytes(std::size_t bytes) {
  reply_bytes_ += bytes;
  if (reply_bytes_ > limits_.max_reply_bytes) ThrowTooLarge();
}

void HttpReplyReader::ThrowTooLarge() const {
  throw HttpReplyError("The reply is larger than " + SizeText(limits_.max_reply_bytes) + ".");
}

void HttpReplyReader::ThrowHeaderTooLarge() const {
  throw HttpReplyError("The reply's header is larger than " + SizeText(limits_.max_header_bytes) +
                       ".");
}

}  // namespace plumwit
