// The service's reading of a request: the bytes a client sends go through
// the HTTP parser with the service's limits, then become the request the
// service works with (request line, headers, authorization, form fields).
#include <boost/asio/buffer.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include "fuzz_support.h"
#include "server/basic_authorization.h"
#include "server/form_fields.h"
#include "server/http_limits.h"
#include "server/raw_request_from_beast.h"
#include "server/service_request.h"

namespace http = boost::beast::http;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit::server;
  const HttpLimits limits;
  http::request_parser<http::string_body> parser;
  parser.header_limit(
      static_cast<std::uint32_t>(limits.max_request_line + limits.max_header_bytes));
  parser.body_limit(limits.max_body_bytes);
  parser.eager(true);
  boost::system::error_code error;
  parser.put(boost::asio::buffer(data, size), error);
  if (!error && !parser.is_done()) parser.put_eof(error);

  if (parser.is_header_done()) {
    const RawRequest raw = RawRequestFromBeast(parser.get());
    try {
      const ServiceRequest decoded = ServiceRequest::Decode(raw);
      for (const char c : decoded.display_path()) {
        plumwit::fuzz::Require(c > 0x20 && c < 0x7F, "the shown path is printable ASCII");
      }
      (void)decoded.Param("status");
    } catch (const BadRequest&) {
    }
  }
  // The parts on their own, on the raw bytes.
  const std::string_view text = plumwit::fuzz::AsText(data, size);
  (void)BasicAuthorization::Parse(std::string(text));
  const FormFields fields = FormFields::Parse(text);
  for (const auto& [name, value] : fields.Entries()) (void)fields.Find(name);
  (void)DecodeBase64(text);
  (void)PercentDecode(text, true);
  return 0;
}
