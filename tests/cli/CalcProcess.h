#pragma once

// korvelin-calc run as a process, as a script runs it: its status, output and errors.

#include <filesystem>
#include <string>

namespace calc {

struct Result {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const std::filesystem::path& path);

// Runs korvelin-calc with the given arguments (shell-quoted by the caller) and optional input,
// without a display and in the C locale, as on a build server.
Result Calc(const std::string& arguments, const std::string& input = {});

}  // namespace calc
