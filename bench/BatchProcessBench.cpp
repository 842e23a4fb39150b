// korvelin-calc --batch as the user runs it: the built program started as a process over a
// generated file, its output going to /dev/null.

#include "BatchFile.h"
#include "ChildProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

namespace {

void BM_BatchProcessMillionLines(benchmark::State& state)
{
    constexpr std::size_t kLines = 1000000;
    const auto path = MakeBatchFile(kLines, "korvelin-bench-batch-process.csv");
    const ChildLaunch launch{ExecutableFolder() + "/korvelin-calc", {"--batch", path.string(), "--sep", ","}, {}, {}};
    long peakKiB = -1;
    for (auto _ : state) {
        const ChildResult run = RunChild(launch);
        if (!run.Started || run.ExitCode != 0) {
            state.SkipWithError(("korvelin-calc failed: " + run.Errors).c_str());
            break;
        }
        state.SetIterationTime(run.Seconds);
        peakKiB = std::max(peakKiB, run.PeakResidentKiB);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
    if (peakKiB >= 0)
        state.counters["peak_RSS_MiB"] = double(peakKiB) / 1024;
    std::filesystem::remove(path);
}
BENCHMARK(BM_BatchProcessMillionLines)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
