// The span table's computation: 100 pipes under one set of conditions, as the window recomputes
// them at every change of an input.

#include "korvelin/SpanTable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::vector<korvelin::PipeSize> HundredPipes()
{
    std::vector<korvelin::PipeSize> sizes;
    for (int i = 0; i < 100; ++i) {
        const int outer = 25 + i * 3;  // 25 to 322 mm
        sizes.push_back({std::to_string(outer), outer < 100 ? "3" : (outer < 200 ? "4,5" : "8")});
    }
    return sizes;
}

void BM_SpanTable100Rows(benchmark::State& state)
{
    const std::vector<korvelin::PipeSize> sizes = HundredPipes();
    korvelin::SpanTableConditions conditions;
    conditions.Texts = {"", "", "333", "206", "0,6"};
    int snow = 0;
    for (auto _ : state) {
        conditions.Selectors.SnowRegion = snow++ % 8;
        benchmark::DoNotOptimize(korvelin::ComputeSpanTable(sizes, conditions));
    }
}
BENCHMARK(BM_SpanTable100Rows)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
