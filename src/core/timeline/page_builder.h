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
  std::string program_folder;  // ends in "/", holds "style.css"
  std::string service_host = build::kServiceHost;
  std::string script_line = kScripttempText;
};

// Builds the timeline page in three steps, so a failure while reading the
// statuses leaves the lines built so far, as the refresh expects.
void AppendHeadLines(PageLines& lines, const PageContext& context);
// 17 lines per child of the document element; throws at the first missing
// value with the lines of the earlier statuses already appended.
void AppendStatusLines(PageLines& lines, const XmlDocument& timeline,
                       const PageContext& context);
void AppendClosingLine(PageLines& lines);

// The lines joined by CR LF, with no line break after the last.
std::string JoinPageLines(const PageLines& lines);

}  // namespace plumwit
