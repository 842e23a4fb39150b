// Runs computed by a second implementation of the same rules, written independently, compared
// with the engine to the last bit of every value.

#include "korvelin/RunCalculation.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace korvelin {
namespace {

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(line);
    while (std::getline(stream, field, ';'))
        fields.push_back(field);
    if (!line.empty() && line.back() == ';')
        fields.emplace_back();
    return fields;
}

std::string Hex(const std::optional<double>& value)
{
    if (!value)
        return "";
    char text[40];
    std::snprintf(text, sizeof text, "%a", *value);
    return text;
}

// True when both are empty or both hold the same bits.
bool SameBits(const std::string& expected, const std::optional<double>& actual)
{
    if (expected.empty() || !actual)
        return expected.empty() && !actual;
    return std::bit_cast<std::uint64_t>(std::strtod(expected.c_str(), nullptr)) ==
           std::bit_cast<std::uint64_t>(*actual);
}

const char* KindName(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Completed: return "completed";
    case OutcomeKind::Refused: return "refused";
    case OutcomeKind::Failed: return "failed";
    }
    return "?";
}

int Index(const std::string& text) { return std::stoi(text); }

TEST(GoldenRuns, EveryValueMatchesBitForBit)
{
    std::ifstream file(KORVELIN_TEST_DATA "/golden-runs.csv");
    ASSERT_TRUE(file) << "no golden runs in " KORVELIN_TEST_DATA;
    std::string line;
    std::getline(file, line);
    const std::vector<std::string> header = SplitFields(line);
    ASSERT_EQ(header.size(), 32u);

    int runs = 0;
    while (std::getline(file, line)) {
        ++runs;
        const std::vector<std::string> f = SplitFields(line);
        ASSERT_EQ(f.size(), 32u) << "line " << runs + 1;
        const FieldTexts texts{f[0], f[1], f[2], f[3], f[4]};
        const SelectorIndexes indexes{Index(f[5]), Index(f[6]), Index(f[7]),
                                      Index(f[8]), Index(f[9]), Index(f[10])};
        const CalculationOutcome o = RunCalculation(texts, indexes, ",", ReportMode::Omitted);

        SCOPED_TRACE("line " + std::to_string(runs + 1) + ": " + line.substr(0, line.find(";completed")));
        EXPECT_EQ(KindName(o.Kind), f[11]);
        EXPECT_EQ(o.Message, f[12]);
        const SpanResults& s = o.Spans;
        const LoadSummary& l = o.Loads;
        const std::optional<double> values[] = {
            s.StaticSpanSP, s.DynamicSpanSP, s.CondensateSpanSP, s.DeflectionSpanSP,
            s.StaticSpanSNiP, s.DeflectionSpanSNiP, l.PipeWeight, l.GasWeightSP, l.GasWeightSNiP,
            l.SnowLoadSP, l.SnowLoadSNiP, l.IceLoad, l.WindLoad, l.VerticalLoadSP, l.TotalLoadSP,
            l.TotalLoadSNiP, l.AllowableStressSP, l.AllowableStressSNiP, o.MomentOfInertia};
        // The file holds the loads and the moment of inertia of completed runs only.
        const std::size_t compared = o.Kind == OutcomeKind::Completed ? std::size(values) : 6;
        for (std::size_t i = 0; i < compared; ++i) {
            const std::string& expected = f[13 + i];
            EXPECT_TRUE(SameBits(expected, values[i]))
                << header[13 + i] << ": expected " << (expected.empty() ? "none" : expected)
                << ", got " << (values[i] ? Hex(values[i]) : "none");
        }
    }
    EXPECT_EQ(runs, 1500);
}

}  // namespace
}  // namespace korvelin
