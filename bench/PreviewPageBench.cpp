// Filling the preview page template: a template of many placeholders over a long
// Buttons.dat takes time in proportion to their sizes (the values are indexed once),
// not to their product. Doubling both should roughly double the time.
#include <benchmark/benchmark.h>

#include <string>

#include "export/PreviewPage.h"

namespace {

void BM_ExpandTemplate(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string templ, values;
  for (int i = 0; i < n; ++i) {
    templ += "<td>`Key" + std::to_string(i) + "`</td>";
    values += "Key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(qz::ExpandTemplateText(templ, values));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ExpandTemplate)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
