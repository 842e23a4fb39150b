#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// File names are UTF-8 inside the program. Windows takes them as UTF-16 in its wide calls (the
// narrow ones would pass them through the ANSI code page, which changes or loses every character
// outside it); Linux takes the bytes as they are.
#ifdef _WIN32
// The UTF-16 name of a UTF-8 name; empty when the bytes are not UTF-8.
std::optional<std::wstring> WideFileName(std::string_view utf8);
// The UTF-8 text of a UTF-16 one (a file name, an argument); an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);
#endif

// The name as the standard library's streams and std::filesystem take it. On Windows, bytes that
// are not UTF-8 give an empty path, which no stream opens.
std::filesystem::path FileSystemPath(const std::string& name);

}  // namespace korvelin
