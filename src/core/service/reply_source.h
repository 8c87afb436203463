#pragma once

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/system/error_code.hpp>

namespace plumwit {

// Where the bytes of a reply come from: a connection to the server, or, in
// the fuzzing harness, a fake peer that hands out pieces of its input.
class ReplySource {
 public:
  virtual ~ReplySource() = default;

  // Appends what arrives next to Buffer(); `eof` when the peer closed. The
  // buffer must have room left (BufferHasRoom()).
  virtual boost::system::error_code ReadSome() = 0;
  virtual boost::beast::flat_buffer& Buffer() = 0;
  virtual bool BufferHasRoom() const = 0;
};

}  // namespace plumwit
