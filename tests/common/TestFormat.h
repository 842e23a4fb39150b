#pragma once

#include "korvelin/IntermediateReport.h"
#include "korvelin/NumberFormat.h"

#include <ostream>
#include <string>

namespace korvelin {

// A report as a failed comparison prints it: one quoted line after another.
inline void PrintTo(const IntermediateReport& report, std::ostream* out)
{
    *out << "{";
    for (const std::string_view line : report) {
        *out << "\n  \"" << line << '"';
    }
    *out << (report.empty() ? "}" : "\n}");
}

namespace test {

// A value as the program shows it, with a full stop.
inline std::string Shown(double value) { return FormatFixed3(value, "."); }

}  // namespace test
}  // namespace korvelin
