// Replies with very many children, as a hostile or broken service may send:
// every read of a loaded document is linear in its size, so 100,000
// children take milliseconds (the goal: well under 50 ms each).
#include <benchmark/benchmark.h>

#include <string>

#include "core/service/people_info.h"
#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"

namespace plumwit {
namespace {

std::string AccountWithEmptyChildren(int children) {
  std::string xml = "<user><name>Ann</name>";
  for (int i = 0; i < children; ++i) xml += "<x/>";
  return xml + "<followers_count>3</followers_count></user>";
}

std::string TimelineOfMinimalStatuses(int statuses) {
  std::string xml = "<statuses>";
  for (int i = 0; i < statuses; ++i) {
    xml +=
        "<status><text>t</text><created_at>d</created_at><user><screen_name>s</screen_name>"
        "<name>n</name><profile_image_url>p</profile_image_url></user></status>";
  }
  return xml + "</statuses>";
}

void BM_LoadAccountOfManyChildren(benchmark::State& state) {
  XmlDocument document;
  const std::string reply = AccountWithEmptyChildren(static_cast<int>(state.range(0)));
  for (auto _ : state) document.Load(reply);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadAccountOfManyChildren)->Arg(100000)->Unit(benchmark::kMillisecond);

// The reads alone, each on a freshly loaded document, so that nothing
// learnt by an earlier read helps.
void BM_ReadAccountOfManyChildren(benchmark::State& state) {
  XmlDocument document;
  const std::string reply = AccountWithEmptyChildren(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    document.Load(reply);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ReadPeopleInfo(document));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAccountOfManyChildren)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ChildrenByIndex(benchmark::State& state) {
  XmlDocument document;
  const std::string reply = AccountWithEmptyChildren(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    document.Load(reply);
    state.ResumeTiming();
    const XmlNode root = document.DocumentElement();
    const std::size_t count = root.ChildCount();
    for (std::size_t i = 0; i < count; ++i) benchmark::DoNotOptimize(root.Child(i));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChildrenByIndex)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BuildPageOfManyStatuses(benchmark::State& state) {
  XmlDocument timeline;
  timeline.Load(TimelineOfMinimalStatuses(static_cast<int>(state.range(0))));
  PageContext context;
  context.program_folder = "/usr/lib/plumwit/";
  for (auto _ : state) {
    PageLines lines;
    AppendStatusLines(lines, timeline, context);
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildPageOfManyStatuses)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plumwit
