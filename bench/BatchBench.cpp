#include "BatchFile.h"
#include "BatchRun.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

namespace {

// Counts what it is given and keeps nothing.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int overflow(int c) override { return c; }
};

void BM_BatchMillionLines(benchmark::State& state)
{
    constexpr std::size_t kLines = 1000000;
    const auto path = MakeBatchFile(kLines, "korvelin-bench-batch.csv");
    NullBuffer nothing;
    std::ostream out(&nothing);
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        benchmark::DoNotOptimize(korvelin::cli::RunBatch(in, out, out, ",", korvelin::cli::BatchOutput::Columns));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
    std::filesystem::remove(path);
}
BENCHMARK(BM_BatchMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
