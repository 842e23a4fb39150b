#pragma once

#include <QString>

#include <string_view>

// A text of the engine or the input-set file (UTF-8) as the windows show it.
inline QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
