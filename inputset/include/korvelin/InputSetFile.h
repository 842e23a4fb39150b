#pragma once

#include "korvelin/InputSet.h"

#include <cstdint>
#include <string>

namespace korvelin {

inline constexpr std::uintmax_t kMaxInputSetFileSize = 1024 * 1024;

struct InputSetReading {
    std::optional<InputSet> Set;
    std::string Message;  // when Set is empty: one Russian sentence naming the file and the problem
};

// Reads a set from a file: a missing, unreadable, empty or over-large file, a folder or a device
// is refused before its bytes are parsed.
InputSetReading ReadInputSetFile(const std::string& path);

// Writes a set to a file atomically: the bytes go to a temporary file beside it, which then
// replaces the file; on any failure the old file stays as it was and no temporary file remains.
// Returns an empty string or one Russian sentence naming the file and the problem. A set that
// InputSetProblem refuses is not written.
std::string WriteInputSetFile(const std::string& path, const InputSet& set);

// The reason of a failed system call (an errno value), in Russian whatever the locale: "файл или
// папка не найдены", "нет прав доступа", "на диске нет места", …
std::string SystemErrorText(int error);

}  // namespace korvelin
