// A reply loaded into the document object, then read every way the program
// reads one: the account record, the timeline page, and a walk over every
// node by index.
#include <vector>

#include "core/service/people_info.h"
#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"
#include "fuzz_support.h"

namespace plumwit {
namespace {

void RequireUtf8(const std::string& text) {
  fuzz::Require(fuzz::IsValidUtf8(text), "text read from a document is valid UTF-8");
}

// Iterative, so a deeply nested reply cannot exhaust the stack here.
void WalkEveryNode(XmlNode root) {
  std::vector<XmlNode> pending{root};
  while (!pending.empty()) {
    const XmlNode node = pending.back();
    pending.pop_back();
    RequireUtf8(node.Name());
    try {
      if (const auto text = NodeText(node)) RequireUtf8(*text);
    } catch (const Error&) {
    }
    const std::size_t count = node.ChildCount();
    for (std::size_t i = 0; i < count; ++i) pending.push_back(node.Child(i));
    try {
      node.Child(count);
      fuzz::Require(false, "a child past the last is refused");
    } catch (const Error&) {
    }
  }
}

void BuildPage(const XmlDocument& document) {
  PageContext context;
  context.program_folder = "/usr/lib/plumwit/";
  PageLines lines;
  AppendHeadLines(lines, context);
  try {
    AppendStatusLines(lines, document, context);
    AppendClosingLine(lines);
  } catch (const Error&) {
  }
  for (const std::string& line : lines) {
    fuzz::Require(line.find_first_of("\r\n") == std::string::npos, "a page line is one line");
  }
  (void)JoinPageLines(lines);
}

}  // namespace
}  // namespace plumwit

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  XmlDocument document;
  try {
    document.Load(std::string(fuzz::AsText(data, size)));
  } catch (const Error& error) {
    fuzz::Require(!document.Active(), "a refused text leaves the document off");
    RequireUtf8(error.what());
    return 0;
  }
  try {
    const PeopleInfo info = ReadPeopleInfo(document);
    RequireUtf8(info.ProfileName);
    RequireUtf8(info.ProfileDescription);
  } catch (const Error&) {
  }
  BuildPage(document);
  try {
    WalkEveryNode(document.DocumentElement());
  } catch (const Error&) {
  }
  return 0;
}
