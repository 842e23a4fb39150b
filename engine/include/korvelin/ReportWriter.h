#pragma once

#include "korvelin/IntermediateReport.h"

#include <string_view>

namespace korvelin {

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

    void Append(std::string_view line)
    {
        if (lines_ != nullptr) {
            lines_->push_back(line);
        }
    }
    // Blanks followed by a text, or two such pieces.
    void AppendBlanked(std::size_t blanks, std::string_view text, std::size_t moreBlanks = 0,
                       std::string_view moreText = {});
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
