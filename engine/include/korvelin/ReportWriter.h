#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// The lines that the intermediate-data window shows, in order, empty lines included.
using IntermediateReport = std::vector<std::string>;

// Appends lines to an intermediate report, numbers in the format "0.000" with the separator of
// the run. A writer without a report (for callers that need only the results) writes nothing.
class ReportWriter {
public:
    ReportWriter(IntermediateReport* lines, std::string_view decimalSeparator)
        : lines_(lines), separator_(decimalSeparator)
    {
    }
    ReportWriter(IntermediateReport& lines, std::string_view decimalSeparator)
        : ReportWriter(&lines, decimalSeparator)
    {
    }

    void Append(std::string line)
    {
        if (lines_ != nullptr) {
            lines_->push_back(std::move(line));
        }
    }
    // Whether lines are kept: a caller may skip building a line nobody reads.
    bool Writes() const { return lines_ != nullptr; }
    // A label (which ends in its own blanks) followed directly by the value.
    void AppendValue(std::string_view label, double value);
    // A label, the given number of blanks, the SP value, 18 blanks and the SNiP value.
    void AppendTwoColumns(std::string_view label, int blanks, double valueSP, double valueSNiP);

private:
    IntermediateReport* lines_;
    std::string_view separator_;
};

}  // namespace korvelin
