#include "server/multipart_form.h"

#include <utility>

namespace plumwit::server {
namespace {

constexpr std::string_view kCrLf = "\r\n";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A header value's first word and its ";"-separated name=value parameters,
// values given as tokens or quoted strings (with backslash escapes).
struct HeaderValue {
  std::string_view main;
  std::vector<std::pair<std::string, std::string>> parameters;

  std::optional<std::string> Parameter(std::string_view name) const {
    for (const auto& [key, value] : parameters) {
      if (SameLetters(key, name)) return value;
    }
    return std::nullopt;
  }
};

std::string ReadParameterValue(std::string_view& rest) {
  rest = Trim(rest);
  std::string value;
  if (rest.empty() || rest.front() != '"') {
    const std::size_t end = rest.find(';');
    value = std::string(Trim(rest.substr(0, end)));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    return value;
  }
  std::size_t i = 1;
  for (; i < rest.size() && rest[i] != '"'; ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
    value += rest[i];
  }
  if (i >= rest.size()) throw MultipartError("a quoted parameter value is not closed");
  rest.remove_prefix(i + 1);
  rest = Trim(rest);
  if (!rest.empty() && rest.front() != ';') {
    throw MultipartError("text follows a quoted parameter value");
  }
  return value;
}

HeaderValue ParseHeaderValue(std::string_view text) {
  HeaderValue header;
  const std::size_t semicolon = text.find(';');
  header.main = Trim(text.substr(0, semicolon));
  std::string_view rest =
      semicolon == std::string_view::npos ? std::string_view() : text.substr(semicolon);
  while (!rest.empty()) {
    rest.remove_prefix(1);  // the ";"
    rest = Trim(rest);
    if (rest.empty()) break;
    if (rest.front() == ';') continue;
    const std::size_t equals = rest.find('=');
    const std::size_t next = rest.find(';');
    if (equals == std::string_view::npos || (next != std::string_view::npos && next < equals)) {
      throw MultipartError("a header parameter has no value");
    }
    const std::string name(Trim(rest.substr(0, equals)));
    if (name.empty()) throw MultipartError("a header parameter has no name");
    rest.remove_prefix(equals + 1);
    std::string value = ReadParameterValue(rest);
    header.parameters.emplace_back(name, std::move(value));
  }
  return header;
}

bool IsBoundaryCharacter(char c) {
  static constexpr std::string_view kOthers = "'()+_,-./:=? ";
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         kOthers.find(c) != std::string_view::npos;
}

std::string BoundaryOf(std::string_view content_type) {
  const std::optional<std::string> boundary = ParseHeaderValue(content_type).Parameter("boundary");
  if (!boundary || boundary->empty()) throw MultipartError("the boundary is missing");
  if (boundary->size() > MultipartForm::kMaxBoundary)
    throw MultipartError("the boundary is too long");
  for (const char c : *boundary) {
    if (!IsBoundaryCharacter(c)) throw MultipartError("the boundary holds a character it may not");
  }
  if (boundary->back() == ' ') throw MultipartError("the boundary ends in a space");
  return *boundary;
}

// Reads the header lines of one part into `part`.
void ReadPartHeaders(std::string_view headers, MultipartPart& part) {
  bool has_disposition = false;
  std::size_t lines = 0;
  while (!headers.empty()) {
    const std::size_t end = headers.find(kCrLf);
    const std::string_view line = headers.substr(0, end);
    headers = end == std::string_view::npos ? std::string_view() : headers.substr(end + 2);
    if (++lines > MultipartForm::kMaxHeaderLines)
      throw MultipartError("a part has too many headers");
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      throw MultipartError("a part header is not a name and a value");
    }
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = line.substr(colon + 1);
    if (SameLetters(name, "Content-Disposition")) {
      if (has_disposition) throw MultipartError("a part has two Content-Disposition headers");
      has_disposition = true;
      const HeaderValue disposition = ParseHeaderValue(value);
      if (!SameLetters(disposition.main, "form-data")) {
        throw MultipartError("a part is not form-data");
      }
      std::optional<std::string> field = disposition.Parameter("name");
      if (!field) throw MultipartError("a part has no name");
      part.name = std::move(*field);
      part.filename = disposition.Parameter("filename");
      if (!part.filename) part.filename = disposition.Parameter("filename*");
    } else if (SameLetters(name, "Content-Type")) {
      part.content_type = std::string(Trim(value));
    }
  }
  if (!has_disposition) throw MultipartError("a part has no Content-Disposition header");
}

MultipartPart ReadPart(std::string_view part_text) {
  MultipartPart part;
  std::string_view headers;
  std::string_view content;
  if (part_text.substr(0, 2) == kCrLf) {
    content = part_text.substr(2);
  } else {
    const std::size_t blank = part_text.find("\r\n\r\n");
    if (blank == std::string_view::npos) throw MultipartError("a part's headers do not end");
    headers = part_text.substr(0, blank);
    content = part_text.substr(blank + 4);
  }
  ReadPartHeaders(headers, part);
  part.content = std::string(content);
  return part;
}

}  // namespace

bool MultipartForm::IsMultipart(std::string_view content_type) {
  const std::string_view type = Trim(content_type.substr(0, content_type.find(';')));
  return SameLetters(type, "multipart/form-data");
}

MultipartForm MultipartForm::Parse(std::string_view content_type, std::string_view body) {
  if (!IsMultipart(content_type)) throw MultipartError("the body is not multipart/form-data");
  const std::string delimiter = "--" + BoundaryOf(content_type);
  const std::string inner_delimiter = "\r\n" + delimiter;

  // The first delimiter opens the body or follows a preamble on a line of its own.
  std::size_t at = 0;
  if (body.substr(0, delimiter.size()) != delimiter) {
    at = body.find(inner_delimiter);
    if (at == std::string_view::npos) throw MultipartError("the opening boundary is missing");
    at += 2;
  }
  MultipartForm form;
  while (true) {
    at += delimiter.size();
    if (body.substr(at, 2) == "--") return form;  // the close delimiter; the rest is epilogue
    while (at < body.size() && (body[at] == ' ' || body[at] == '\t')) ++at;
    if (body.substr(at, 2) != kCrLf) throw MultipartError("a boundary line holds other text");
    at += 2;
    const std::size_t end = body.find(inner_delimiter, at);
    if (end == std::string_view::npos) throw MultipartError("the closing boundary is missing");
    if (form.parts_.size() == kMaxParts) throw MultipartError("the body has too many parts");
    form.parts_.push_back(ReadPart(body.substr(at, end - at)));
    at = end + 2;
  }
}

}  // namespace plumwit::server
