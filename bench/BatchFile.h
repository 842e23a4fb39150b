#pragma once

#include <cstddef>
#include <filesystem>

// Writes a batch file of `lines` calculations over a range of pipes and selections, in the
// temporary folder, and returns its path.
std::filesystem::path MakeBatchFile(std::size_t lines, const char* name);
