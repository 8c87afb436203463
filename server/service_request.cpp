#include "server/service_request.h"

#include <cctype>

#include "server/multipart_form.h"
#include "server/utf8.h"

namespace plumwit::server {
namespace {

constexpr const char* kInvalidText =
    "Request holds text that is not valid UTF-8 or characters that cannot be stored.";

std::string_view PathOf(std::string_view target) {
  target = target.substr(0, target.find('?'));
  // An absolute-form target (http://host/path) names the same path.
  if (target.substr(0, 7) == "http://") {
    const std::size_t slash = target.find('/', 7);
    target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
  }
  return target;
}

std::string_view QueryOf(std::string_view target) {
  const std::size_t question = target.find('?');
  return question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
}

std::vector<std::string> DecodeSegments(std::string_view path) {
  std::vector<std::string> segments;
  if (!path.empty() && path.front() == '/') path.remove_prefix(1);
  if (path.empty()) return segments;
  while (true) {
    const std::size_t slash = path.find('/');
    segments.push_back(PercentDecode(path.substr(0, slash), false));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return segments;
}

bool IsFormBody(std::string_view content_type) {
  const std::string_view type = content_type.substr(0, content_type.find(';'));
  std::string lowered;
  for (const char c : type) {
    if (c != ' ' && c != '\t')
      lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return lowered == "application/x-www-form-urlencoded";
}

void RequireStorable(std::string_view text) {
  if (!IsStorableText(text)) throw BadRequest(kInvalidText);
}

void RequireStorable(const FormFields& fields) {
  for (const auto& [name, value] : fields.Entries()) {
    RequireStorable(name);
    RequireStorable(value);
  }
}

// The text fields of a multipart body. File parts are read (so a malformed
// one is refused) but not kept: the service stores no uploads.
FormFields MultipartFields(std::string_view content_type, std::string_view body) {
  FormFields fields;
  try {
    const MultipartForm form = MultipartForm::Parse(content_type, body);
    for (const MultipartPart& part : form.parts()) {
      if (!part.filename) fields.Add(part.name, part.content);
    }
  } catch (const MultipartError& error) {
    throw BadRequest(std::string("Malformed multipart/form-data body: ") + error.what() + ".");
  }
  return fields;
}

}  // namespace

ServiceRequest ServiceRequest::Decode(const RawRequest& raw) {
  ServiceRequest request;
  request.method_ = raw.method;
  request.display_path_ = DisplayPath(raw.target);
  request.host_ = raw.host;
  request.authorization_ = BasicAuthorization::Parse(raw.authorization);
  request.segments_ = DecodeSegments(PathOf(raw.target));
  for (const std::string& segment : request.segments_) RequireStorable(segment);
  request.query_ = FormFields::Parse(QueryOf(raw.target));
  RequireStorable(request.query_);
  if (IsFormBody(raw.content_type)) {
    request.form_ = FormFields::Parse(raw.body);
  } else if (MultipartForm::IsMultipart(raw.content_type)) {
    request.form_ = MultipartFields(raw.content_type, raw.body);
  }
  RequireStorable(request.form_);
  return request;
}

std::optional<std::string> ServiceRequest::Param(std::string_view name) const {
  if (std::optional<std::string> value = form_.Find(name)) return value;
  return query_.Find(name);
}

std::string ServiceRequest::DisplayPath(std::string_view raw_target) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string_view path = raw_target.substr(0, raw_target.find('?'));
  std::string display;
  display.reserve(path.size());
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      display += c;
    } else {
      display += '%';
      display += kHex[byte >> 4];
      display += kHex[byte & 0xF];
    }
  }
  return display;
}

}  // namespace plumwit::server
