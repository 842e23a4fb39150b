#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/RunCalculation.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ParseNumber(benchmark::State& state)
{
    const char* texts[] = {"89", "3,2", "333", "206", "0.6", "1,5e-3"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvelin::ParseNumber(texts[i++ % 6], ","));
    }
}
BENCHMARK(BM_ParseNumber);

void BM_FormatFixed3(benchmark::State& state)
{
    const double values[] = {66.81301, 0.40912, 18.44113, 128.07692, 1.15, 113.6314};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvelin::FormatFixed3(values[i++ % 6], ","));
    }
}
BENCHMARK(BM_FormatFixed3);

void BM_RunCalculation(benchmark::State& state)
{
    const korvelin::FieldTexts texts{"89", "3,2", "333", "206", "0,6"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvelin::RunCalculation(texts, {}, ","));
    }
}
BENCHMARK(BM_RunCalculation)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
