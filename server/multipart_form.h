#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plumwit::server {

// A multipart/form-data body that cannot be read; the message says why.
class MultipartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One part of a multipart/form-data body.
struct MultipartPart {
  std::string name;
  std::optional<std::string> filename;  // set for a file part
  std::string content_type;             // as given, empty when absent
  std::string content;                  // raw bytes, in no particular encoding
};

// Reads a multipart/form-data body held whole in memory. Pure: no I/O and
// no dependence on the rest of the service, so it can be driven directly by
// a test or a fuzzer. The caller bounds the body's size; the parts and
// header lines counted here are bounded too, and all work is linear in the
// body's length.
class MultipartForm {
 public:
  static constexpr std::size_t kMaxParts = 256;
  static constexpr std::size_t kMaxHeaderLines = 16;
  static constexpr std::size_t kMaxBoundary = 70;

  // True when the Content-Type value names multipart/form-data.
  static bool IsMultipart(std::string_view content_type);
  // `content_type` is the request's Content-Type value, which carries the
  // boundary. Throws MultipartError for anything malformed.
  static MultipartForm Parse(std::string_view content_type, std::string_view body);

  const std::vector<MultipartPart>& parts() const { return parts_; }

 private:
  std::vector<MultipartPart> parts_;
};

}  // namespace plumwit::server
