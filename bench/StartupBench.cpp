// From the start of the real `korvelin` process to its main window shown (exposed and painted)
// on the offscreen platform, and the process's peak resident memory. The program is started
// unchanged; the start-up probe, preloaded, reports the moment the window is shown.

#include "ChildProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The peak the probe read when the window was shown: "... VmHWM 30472 kB".
long ReportedPeakKiB(const std::string& line)
{
    const std::size_t at = line.rfind("VmHWM ");
    return at == std::string::npos ? 0 : std::stol(line.substr(at + 6));
}

double Max(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void BM_StartupToWindowShown(benchmark::State& state)
{
    const std::string folder = ExecutableFolder();
    const ChildLaunch launch{folder + "/korvelin",
                         {},
                         {"QT_QPA_PLATFORM=offscreen", "LD_PRELOAD=" KORVELIN_STARTUP_PROBE},
                         "korvelin-startup-probe: shown"};
    for (auto _ : state) {
        const ChildResult run = RunChild(launch);
        if (!run.Started || run.MarkerSeconds < 0 || run.ExitCode != 0) {
            state.SkipWithError(("korvelin did not report its window shown: " + run.Errors).c_str());
            break;
        }
        state.SetIterationTime(run.MarkerSeconds);
        if (run.PeakResidentKiB >= 0)
            state.counters["peak_RSS_MiB"] = double(run.PeakResidentKiB) / 1024;
        state.counters["RSS_at_shown_MiB"] = double(ReportedPeakKiB(run.MarkerLine)) / 1024;
        state.SetLabel(run.MarkerLine.substr(launch.Marker.size() + 1));
    }
}
BENCHMARK(BM_StartupToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->ComputeStatistics("max", Max)
    ->ReportAggregatesOnly(true);

}  // namespace
