#include "BatchRun.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

namespace {

// Writes a batch file of `lines` calculations over a range of pipes and selections.
std::filesystem::path MakeBatchFile(std::size_t lines)
{
    const auto path = std::filesystem::temp_directory_path() / "korvelin-bench-batch.csv";
    std::ofstream out(path, std::ios::binary);
    out << "diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n";
    for (std::size_t i = 0; i < lines; ++i) {
        out << 57 + i % 250 << ";" << 3 + i % 4 << ",5;333;206;0," << 1 + i % 9 << ';' << i % 3
            << ';' << i % 8 << ';' << i % 8 << ';' << i % 5 << ';' << i % 7 << ';' << i % 11
            << '\n';
    }
    return path;
}

// Counts what it is given and keeps nothing.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int overflow(int c) override { return c; }
};

void BM_BatchMillionLines(benchmark::State& state)
{
    constexpr std::size_t kLines = 1000000;
    const auto path = MakeBatchFile(kLines);
    NullBuffer nothing;
    std::ostream out(&nothing);
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        benchmark::DoNotOptimize(korvelin::cli::RunBatch(in, out, out, ",", false));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
    std::filesystem::remove(path);
}
BENCHMARK(BM_BatchMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
