#include "korvelin/FileName.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <climits>
#endif

namespace korvelin {

#ifdef _WIN32
std::optional<std::wstring> WideFileName(std::string_view utf8)
{
    if (utf8.empty()) {
        return std::wstring();
    }
    if (utf8.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), needed);
    // A NUL inside would cut the name short in every system call.
    if (wide.find(L'\0') != std::wstring::npos) {
        return std::nullopt;
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide)
{
    if (wide.empty() || wide.size() > INT_MAX / 3) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    }
    return utf8;
}

std::filesystem::path FileSystemPath(const std::string& name)
{
    const std::optional<std::wstring> wide = WideFileName(name);
    return wide ? std::filesystem::path(*wide) : std::filesystem::path();
}
#else
std::filesystem::path FileSystemPath(const std::string& name) { return std::filesystem::path(name); }
#endif

}  // namespace korvelin
