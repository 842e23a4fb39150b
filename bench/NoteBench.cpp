// The calculation note of two compensation sections written as a PDF and as an ODT by
// korvelin-calc, as the user runs it: the built program started as a process. The figure is
// the process's processor time (user and system), the measure of the note's target; the wall
// time is reported beside it.

#include "ChildProcess.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> TwoSectionsNote(const std::string& option, const std::string& path)
{
    return {"--section", "20 Л 8 П 15", "--section", "10 Л 5", "--t-closing", "0", "--t-min", "-40",
            "--t-max", "50", "--designation", "123-2026-ГСН.РР", option, path};
}

std::vector<std::string> ThreePipesNote(const std::string& option, const std::string& path)
{
    return {"--pipes", "57x3; 108x4; 159x4,5", "--designation", "123-2026-ГСН.РР", option, path};
}

void RunNote(benchmark::State& state, const std::vector<std::string>& arguments)
{
    const ChildLaunch launch{ExecutableFolder() + "/korvelin-calc", arguments, {}, {}};
    double wall = 0;
    for (auto _ : state) {
        const ChildResult run = RunChild(launch);
        if (!run.Started || run.ExitCode != 0) {
            state.SkipWithError(("korvelin-calc failed: " + run.Errors).c_str());
            break;
        }
        state.SetIterationTime(run.CpuSeconds);
        wall += run.Seconds;
    }
    if (state.iterations() > 0)
        state.counters["wall_ms"] = 1000 * wall / double(state.iterations());
}

std::string OutputPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_NoteTwoSectionsPdf(benchmark::State& state)
{
    const std::string path = OutputPath("korvelin-bench-note.pdf");
    RunNote(state, TwoSectionsNote("--pdf", path));
    std::filesystem::remove(path);
}

void BM_NoteTwoSectionsOdt(benchmark::State& state)
{
    const std::string path = OutputPath("korvelin-bench-note.odt");
    RunNote(state, TwoSectionsNote("--odt", path));
    std::filesystem::remove(path);
}

void BM_NoteThreePipesPdf(benchmark::State& state)
{
    const std::string path = OutputPath("korvelin-bench-pipes.pdf");
    RunNote(state, ThreePipesNote("--pdf", path));
    std::filesystem::remove(path);
}

// The process without a note: what starting the program and computing cost by themselves.
void BM_NoteTwoSectionsWithoutFile(benchmark::State& state)
{
    std::vector<std::string> arguments = TwoSectionsNote("--sep", ",");
    RunNote(state, arguments);
}

}  // namespace

BENCHMARK(BM_NoteTwoSectionsPdf)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_NoteTwoSectionsOdt)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_NoteThreePipesPdf)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_NoteTwoSectionsWithoutFile)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
