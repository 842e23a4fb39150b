#pragma once

#include <string>
#include <vector>

// What to start: the program, its arguments, variables added to this process's environment
// (NAME=value, replacing one of the same name), and a text that the child writes as a line on
// standard error to mark a moment worth timing.
struct ChildLaunch {
    std::string Program;
    std::vector<std::string> Arguments;
    std::vector<std::string> Environment;
    std::string Marker;
};

// GNU time, which reports the peak memory of the program it starts.
inline constexpr const char* kTimeProgram = "/usr/bin/time";

// How the child went. Standard input and output are /dev/null; standard error is read here.
struct ChildResult {
    bool Started = false;
    int ExitCode = -1;            // -1 unless the child exited normally
    double Seconds = 0;           // from the start to the child's end
    double CpuSeconds = 0;        // the processor time of the child and of what it waited for
    double MarkerSeconds = -1;    // from the start to the marker line; -1 when none came
    std::string MarkerLine;       // the whole marker line, without its end of line
    std::string Errors;           // everything else written to standard error
    long PeakResidentKiB = -1;    // the child's peak resident memory; -1 without GNU time
};

// Starts the child, waits for its end and measures it with a monotonic clock. The peak memory
// comes from GNU time, which starts the program for it: the kernel counts into a child's peak
// the memory of the process it was started from, which for this benchmark is large, while time
// itself is small. Without time the program is started directly and its peak is not measured.
ChildResult RunChild(const ChildLaunch& launch);

// The folder of the running executable: the programs being measured are built beside it.
std::string ExecutableFolder();
