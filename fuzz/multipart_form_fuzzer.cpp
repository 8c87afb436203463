// The service's multipart/form-data reader: the first line of the input is
// the request's Content-Type value, the rest its body.
#include "fuzz_support.h"
#include "server/multipart_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit::server;
  const std::string_view text = plumwit::fuzz::AsText(data, size);
  const std::size_t line_end = text.find('\n');
  const std::string_view content_type = text.substr(0, line_end);
  const std::string_view body =
      line_end == std::string_view::npos ? std::string_view() : text.substr(line_end + 1);
  (void)MultipartForm::IsMultipart(content_type);
  try {
    const MultipartForm form = MultipartForm::Parse(content_type, body);
    plumwit::fuzz::Require(form.parts().size() <= MultipartForm::kMaxParts, "parts are bounded");
    std::size_t content = 0;
    for (const MultipartPart& part : form.parts()) content += part.content.size();
    plumwit::fuzz::Require(content <= body.size(), "parts come from the body");
  } catch (const MultipartError&) {
  }
  return 0;
}
