#include <benchmark/benchmark.h>

#include <string>

#include "core/timeline/page_builder.h"

namespace plumwit {
namespace {

// A timeline shaped like the service's: every status with its author record,
// and texts holding the entities and addresses the page has to handle.
std::string TimelineOf(int statuses) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n";
  for (int i = 0; i < statuses; ++i) {
    const std::string n = std::to_string(i);
    xml += "<status>\n  <created_at>Tue Mar 10 08:15:00 +0000 2009</created_at>\n  <id>" + n +
           "</id>\n  <text>Status " + n + ": reading http://example.org/item?id=" + n +
           "&amp;amp;ref=home &amp;lt;3 &amp;quot;quoted&amp;quot;</text>\n"
           "  <source>web</source>\n  <truncated>false</truncated>\n  <favorited>false"
           "</favorited>\n  <user>\n    <id>" +
           n + "</id>\n    <name>Author " + n + "</name>\n    <screen_name>author" + n +
           "</screen_name>\n    <location>Somewhere</location>\n    <description>About me"
           "</description>\n    <profile_image_url>http://a0.example/" +
           n +
           ".png</profile_image_url>\n    <url>http://author.example/</url>\n"
           "    <followers_count>10</followers_count>\n"
           "    <created_at>Mon Jan 05 10:00:00 +0000 2009</created_at>\n  </user>\n"
           "</status>\n";
  }
  return xml + "</statuses>\n";
}

PageContext BenchContext() {
  PageContext context;
  context.program_folder = "/usr/lib/plumwit/";
  return context;
}

void BM_BuildPage(benchmark::State& state) {
  XmlDocument timeline;
  timeline.Load(TimelineOf(static_cast<int>(state.range(0))));
  const PageContext context = BenchContext();
  for (auto _ : state) {
    PageLines lines;
    AppendHeadLines(lines, context);
    AppendStatusLines(lines, timeline, context);
    AppendClosingLine(lines);
    benchmark::DoNotOptimize(JoinPageLines(lines));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildPage)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);

// What a refresh does with the reply before building lines: load it and
// read the six values of every status.
void BM_LoadAndReadTimeline(benchmark::State& state) {
  const std::string reply = TimelineOf(20);
  XmlDocument timeline;
  for (auto _ : state) {
    timeline.Load(reply);
    const XmlNode root = timeline.DocumentElement();
    const std::size_t count = root.ChildCount();
    for (std::size_t i = 0; i < count; ++i) {
      const XmlNode status = root.Child(i);
      const XmlNode author = FindChild(status, "user");
      benchmark::DoNotOptimize(ChildText(status, "text"));
      benchmark::DoNotOptimize(ChildText(author, "screen_name"));
      benchmark::DoNotOptimize(ChildText(author, "name"));
      benchmark::DoNotOptimize(ChildText(author, "profile_image_url"));
      benchmark::DoNotOptimize(ChildText(status, "created_at"));
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_LoadAndReadTimeline)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plumwit
