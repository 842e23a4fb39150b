#include "korvelin/ReportWriter.h"

#include "korvelin/NumberFormat.h"

namespace korvelin {

void ReportWriter::AppendValue(std::string_view label, double value)
{
    if (lines_ == nullptr) {
        return;
    }
    std::string line;
    line.reserve(label.size() + 16);
    line += label;
    AppendFixed3(line, value, separator_);
    lines_->push_back(std::move(line));
}

void ReportWriter::AppendTwoColumns(std::string_view label, int blanks, double valueSP,
                                    double valueSNiP)
{
    if (lines_ == nullptr) {
        return;
    }
    constexpr std::size_t kColumnGap = 18;
    std::string line;
    line.reserve(label.size() + static_cast<std::size_t>(blanks) + kColumnGap + 32);
    line += label;
    line.append(static_cast<std::size_t>(blanks), ' ');
    AppendFixed3(line, valueSP, separator_);
    line.append(kColumnGap, ' ');
    AppendFixed3(line, valueSNiP, separator_);
    lines_->push_back(std::move(line));
}

}  // namespace korvelin
