#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// How GNU time writes the peak resident memory, in KiB, on the program's standard error.
constexpr std::string_view kPeakPrefix = "korvelin-bench-peak-kib ";

// This process's environment with the given variables added or replaced.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> result;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& added : extra)
            replaced = replaced || added.compare(0, name.size(), name) == 0;
        if (!replaced)
            result.push_back(entry);
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildResult RunChild(const ChildLaunch& launch)
{
    using Clock = std::chrono::steady_clock;
    ChildResult result;

    const bool timed = access(kTimeProgram, X_OK) == 0;
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    if (timed) {
        // The added variables reach the program through env, not time: a preloaded library
        // would otherwise be loaded into time as well and slow its start.
        arguments = {kTimeProgram, "-f", std::string(kPeakPrefix) + "%M", "/usr/bin/env"};
        arguments.insert(arguments.end(), launch.Environment.begin(), launch.Environment.end());
        environment = ChildEnvironment({});
    } else {
        environment = ChildEnvironment(launch.Environment);
    }
    arguments.push_back(launch.Program);
    arguments.insert(arguments.end(), launch.Arguments.begin(), launch.Arguments.end());
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(environment);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(errorPipe[1]);
    if (spawned != 0) {
        close(errorPipe[0]);
        result.Errors = std::strerror(spawned);
        return result;
    }
    result.Started = true;

    // Standard error line by line until the child closes it, timing the marker as it arrives.
    std::string pending;
    char buffer[4096];
    for (ssize_t count; (count = read(errorPipe[0], buffer, sizeof buffer)) != 0;) {
        if (count < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        const Clock::time_point now = Clock::now();
        pending.append(buffer, std::size_t(count));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            const std::string line = pending.substr(0, end);
            if (!launch.Marker.empty() && result.MarkerSeconds < 0 && line.find(launch.Marker) != std::string::npos) {
                result.MarkerSeconds = std::chrono::duration<double>(now - start).count();
                result.MarkerLine = line;
            } else if (timed && line.starts_with(kPeakPrefix)) {
                result.PeakResidentKiB = std::stol(line.substr(kPeakPrefix.size()));
            } else {
                result.Errors += line + '\n';
            }
        }
    }
    result.Errors += pending;
    close(errorPipe[0]);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    result.CpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    // time exits with the program's status; a program that did not exit gives another one.
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ExecutableFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}
