#include "core/timeline/page_builder.h"

#include <algorithm>

#include "core/service/endpoints.h"
#include "core/timeline/page_escaping.h"

namespace plumwit {

namespace {

constexpr std::size_t kLinesPerStatus = 17;
// The client asks for 20; a service that sends far more (a 16 MiB reply can
// hold tens of thousands) would otherwise make a page that takes the view
// minutes and gigabytes to show.
constexpr std::size_t kMostStatusesShown = 200;

constexpr const char* kLinkPatternLine =
    "var exp = /(\\b(https?|ftp|file):\\/\\/[-A-Z0-9+&@#\\/%?=~_|!:,.;]*"
    "[-A-Z0-9+&@#\\/%=~_|])/ig;";

struct StatusValues {
  std::string text;
  std::string screen_name;
  std::string display_name;
  std::string picture_address;
  std::string date;
};

// The reads keep this order, so the error of the first missing value is the
// one reported. A status without a "user" element fails at its first author
// read with the missing-node error, not with the null conversion error.
StatusValues ReadStatus(XmlNode status) {
  const XmlNode author = FindChild(status, "user");
  StatusValues values;
  values.text = ChildText(status, "text");
  values.screen_name = ChildText(author, "screen_name");
  values.display_name = ChildText(author, "name");
  values.picture_address = ChildText(author, "profile_image_url");
  values.date = ChildText(status, "created_at");
  return values;
}

std::string PercentEncodePath(std::string_view path) {
  std::string encoded;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = path.find('/', start);
    encoded += PercentEncode(path.substr(start, slash - start));
    if (slash == std::string_view::npos) return encoded;
    encoded += '/';
    start = slash + 1;
  }
}

// The page is shown with the program folder as its base, but an absolute
// file URL finds the stylesheet whatever the base, and percent-encoding keeps
// a "#", "?" or "%" in a folder name from cutting the path short.
std::string StylesheetAddress(std::string_view program_folder) {
  const std::string path = PercentEncodePath(program_folder) + "style.css";
  if (!program_folder.empty() && program_folder.front() == '/') return "file://" + path;
  return path;
}

// The profile page at the service's site, at the root of its host whatever
// path the interface lives under. The screen name is percent-encoded so that
// it stays one path segment whatever it holds.
std::string ProfileAddress(const PageContext& context, std::string_view screen_name) {
  const ServiceLocation site(context.service_scheme, context.service_host,
                             ServiceDialect::kClassic);
  return site.SitePage("/" + PercentEncode(screen_name));
}

void AppendStatusBlock(PageLines& lines, const StatusValues& values, const PageContext& context) {
  lines.push_back("<div id=\"tweet\"><img src=\"" + EscapeHtml(values.picture_address) +
                  "\" id=\"tweetimage\">");
  lines.push_back("<div id=\"tweetuser\">");
  lines.push_back("By: " + EscapeHtml(values.display_name) + " ( <a href=\"" +
                  EscapeHtml(ProfileAddress(context, values.screen_name)) +
                  "\" target=\"_blank\">" + EscapeHtml(values.screen_name) + "</a> )");
  lines.push_back("</div><div id=\"tweetdate\">");
  lines.push_back("Tweeted on: " + EscapeHtml(values.date));
  lines.push_back("</div>");
  lines.push_back("<div id=\"tweettext\">  ");
  lines.push_back("<script  type=\"text/javascript\">");
  lines.push_back("function text_to_link(text)");
  lines.push_back("{");
  lines.push_back(kLinkPatternLine);
  lines.push_back(context.script_line);
  lines.push_back("}");
  lines.push_back("var linkdata=text_to_link(\"" + StatusTextForScript(values.text) + "\");");
  lines.push_back("document.write(linkdata);");
  lines.push_back("</script>");
  lines.push_back("</div></div><div id=\"tweetsseparator\"></div>");
}

}  // namespace

void AppendHeadLines(PageLines& lines, const PageContext& context) {
  lines.push_back(
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
  lines.push_back("<html xmlns=\"http://www.w3.org/1999/xhtml\">");
  lines.push_back("<head>");
  lines.push_back("<META HTTP-EQUIV=\"PRAGMA\" CONTENT=\"NO-CACHE\">");
  lines.push_back("<meta http-equiv=\"expires\" content=\"-1\" />");
  lines.push_back("<meta http-equiv=\"cache-control\" content=\"no-cache\" />");
  // The values are UTF-8 text, so that is what the page declares.
  lines.push_back("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />");
  lines.push_back("<link href=\"" + EscapeHtml(StylesheetAddress(context.program_folder)) +
                  "\" rel=\"stylesheet\" type=\"text/css\" />");
  lines.push_back("</head><body><div id=\"wrap\"><div id=\"contents\">");
}

void AppendStatusLines(PageLines& lines, const XmlDocument& timeline, const PageContext& context) {
  const XmlNode root = timeline.DocumentElement();
  const std::size_t count = std::min(root.ChildCount(), kMostStatusesShown);
  lines.reserve(lines.size() + count * kLinesPerStatus + 1);
  for (std::size_t i = 0; i < count; ++i) {
    AppendStatusBlock(lines, ReadStatus(root.Child(i)), context);
  }
}

void AppendClosingLine(PageLines& lines) { lines.push_back("</div></div></body></html>"); }

std::string JoinPageLines(const PageLines& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string page;
  page.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) page += "\r\n";
    page += lines[i];
  }
  return page;
}

}  // namespace plumwit
