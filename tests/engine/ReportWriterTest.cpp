#include "korvelin/ReportWriter.h"

#include "TestFormat.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace korvelin {
namespace {

// Lines of any length, and numbers beyond the short form, are written whole and in order.
TEST(ReportWriter, WritesShortAndLongLinesAlike)
{
    IntermediateReport lines;
    ReportWriter report(lines, ",");
    const std::string longLabel(600, 'x');
    report.AppendValue("a    ", 1.5);
    report.AppendValue(longLabel, -2.25);
    report.AppendTwoColumns("b", 3, 1e17, 0.0625);
    report.AppendTwoColumns(longLabel, 2, 7, 8);
    report.AppendBlanked(2, "c", 1, "d");
    report.Append({});
    const IntermediateReport expected = {
        "a    1,500",
        longLabel + "-2,250",
        "b   100000000000000000,000" + std::string(18, ' ') + "0,063",
        longLabel + "  7,000" + std::string(18, ' ') + "8,000",
        "  c d",
        "",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_THROW(static_cast<void>(lines.at(6)), std::out_of_range);

    IntermediateReport none;
    ReportWriter silent(nullptr, ",");
    silent.AppendValue("a", 1);
    EXPECT_FALSE(silent.Writes());
    EXPECT_TRUE(none.empty());
}

// Two reports are equal line by line, not only in their text run together.
TEST(ReportWriter, ReportsCompareLineByLine)
{
    const IntermediateReport report = {"ab", "c"};
    EXPECT_NE(report, (IntermediateReport{"a", "bc"}));
    EXPECT_NE(report, (IntermediateReport{"ab", "c", ""}));
    EXPECT_EQ(report, (IntermediateReport{"ab", "c"}));
    std::string joined;
    for (const std::string_view line : report) {
        joined += std::string(line) + '|';
    }
    EXPECT_EQ(joined, "ab|c|");
}

}  // namespace
}  // namespace korvelin
