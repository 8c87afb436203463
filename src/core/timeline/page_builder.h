#pragma once

#include <string>
#include <vector>

#include "core/build_config.h"
#include "core/service/xml_document.h"

namespace plumwit {

using PageLines = std::vector<std::string>;

// The body line of the page's link-making script function.
inline constexpr const char* kScripttempText =
    "return text.replace(exp,\"<a href='$1' target='_blank'>$1</a>\");";

struct PageContext {
  // Ends in "/" and holds "style.css": the program folder, or an installed
  // program's data folder. The page links it as a file URL, so it is found
  // whatever base URL the view shows the page with.
  std::string program_folder;
  std::string service_host = build::kServiceHost;
  std::string service_scheme = build::kServiceScheme;
  std::string script_line = kScripttempText;
};

// Builds the timeline page in three steps, so a failure while reading the
// statuses leaves the lines built so far, as the refresh expects.
void AppendHeadLines(PageLines& lines, const PageContext& context);
// 17 lines per child of the document element, for at most the first 200
// children (the client asks for 20, so more is a service's fault); throws at the first missing
// value with the lines of the earlier statuses already appended. Every value
// is escaped for where it stands (the status text for HTML, so that the
// script's addresses stay exact and its line breaks show, and then for the
// script's string literal), so service data never acts as markup or script;
// the date is the status's own "created_at".
void AppendStatusLines(PageLines& lines, const XmlDocument& timeline, const PageContext& context);
void AppendClosingLine(PageLines& lines);

// The lines joined by CR LF, with no line break after the last.
std::string JoinPageLines(const PageLines& lines);

}  // namespace plumwit
