// The site's own climatic values: the texts of the table rows read to the table's doubles, a run
// with own values equal to the table rows is the run of the tables to the last bit, the refusals.

#include "korvelin/ClimaticLoads.h"
#include "korvelin/OwnClimate.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/RunCalculation.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace korvelin {
namespace {

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// The table rows as a designer types them from the region tables (ice in millimetres).
const char* const kSnowTexts[] = {"0,8", "1,2", "1,8", "2,4", "3,2", "4", "4,8", "5,6"};
const char* const kWindTexts[] = {"0,17", "0,23", "0,3", "0,38", "0,48", "0,6", "0,73", "0,85"};
const char* const kIceTexts[] = {"3", "5", "10", "15", "20"};

TEST(OwnClimate, TableRowsReadToTheTablesDoubles)
{
    const struct {
        ClimateValue Which;
        std::span<const char* const> Texts;
        std::span<const double> Table;
    } values[] = {
        {ClimateValue::SnowWeight, kSnowTexts, kSnowWeight},
        {ClimateValue::WindPressure, kWindTexts, kWindPressure},
        {ClimateValue::IceThickness, kIceTexts, kIceThickness},
    };
    for (const auto& v : values) {
        ASSERT_EQ(v.Texts.size(), v.Table.size());
        for (std::size_t i = 0; i < v.Texts.size(); ++i) {
            SCOPED_TRACE(v.Texts[i]);
            const OwnValueReading reading = ReadOwnClimateValue(v.Which, v.Texts[i], ",");
            ASSERT_TRUE(reading.Value.has_value()) << reading.Error;
            EXPECT_EQ(Bits(*reading.Value), Bits(v.Table[i]));
        }
    }
    // Millimetres to metres in one rounding: 4,1 mm is the double of 0.0041, which 4.1 / 1000 in
    // doubles misses by one unit in the last place.
    EXPECT_EQ(Bits(*ReadOwnClimateValue(ClimateValue::IceThickness, "4,1", ",").Value), Bits(0.0041));
    EXPECT_NE(Bits(4.1 / 1000), Bits(0.0041));
    // Every digit counts, beyond the 19 of the quick conversion; beyond the range is not a value.
    EXPECT_EQ(ParseNumberToDouble("0,1000000000000000055511151231257827", ","), 0.1);
    EXPECT_EQ(ParseNumberToDouble("1e400", ","), HUGE_VAL);
    EXPECT_EQ(ParseNumberToDouble("-1e-400", ","), -0.0);
    EXPECT_EQ(ParseNumberToDouble("1,5 1", ","), std::nullopt);
}

TEST(OwnClimate, RefusalsNameTheValue)
{
    const struct {
        ClimateValue Which;
        const char* Text;
        const char* Error;
    } cases[] = {
        {ClimateValue::SnowWeight, "", "Нормативный вес снегового покрова не задан"},
        {ClimateValue::SnowWeight, "20,01",
         "Нормативный вес снегового покрова должен быть от 0 до 20 кН/м² (введено «20,01»)"},
        {ClimateValue::SnowWeight, "1,8кПа",
         "Нормативный вес снегового покрова должен быть числом (введено «1,8кПа»)"},
        {ClimateValue::WindPressure, "-0,1",
         "Нормативное ветровое давление не может быть отрицательным (введено «-0,1»)"},
        {ClimateValue::IceThickness, "101", "Толщина стенки гололеда должна быть от 0 до 100 мм (введено «101»)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const OwnValueReading reading = ReadOwnClimateValue(c.Which, c.Text, ",");
        EXPECT_FALSE(reading.Value.has_value());
        EXPECT_EQ(reading.Error, c.Error);
    }
    // The ends of the ranges are values; "-0" is the table's 0.
    EXPECT_EQ(ReadOwnClimateValue(ClimateValue::SnowWeight, "20", ",").Value, 20.0);
    EXPECT_EQ(Bits(*ReadOwnClimateValue(ClimateValue::WindPressure, "-0", ",").Value), Bits(0.0));
    EXPECT_EQ(ReadOwnClimateValue(ClimateValue::IceThickness, "100", ",").Value, 0.1);

    // All or nothing: one refused value in force leaves none; a value switched off is not read.
    OwnClimateTexts texts;
    texts.SnowWeight = {true, "1,8", "СП 20.13330.2016, табл. К.1"};
    texts.WindPressure = {true, "9", ""};
    texts.IceThickness = {false, "oops", ""};
    const OwnClimateReading refused = ReadOwnClimate(texts, ",");
    EXPECT_EQ(refused.Error, "Нормативное ветровое давление должно быть от 0 до 5 кПа (введено «9»)");
    EXPECT_FALSE(refused.Values.Any());
    texts.WindPressure.InForce = false;
    const OwnClimateReading read = ReadOwnClimate(texts, ",");
    EXPECT_TRUE(read.Ok());
    EXPECT_EQ(read.Values, (OwnClimate{1.8, std::nullopt, std::nullopt}));
    EXPECT_EQ(OwnClimateText(texts, ","), "S = 1,8 кН/м² (СП 20.13330.2016, табл. К.1)");
}

// Every value of two outcomes, to the bit, and the report line by line.
void ExpectSameOutcome(const CalculationOutcome& a, const CalculationOutcome& b)
{
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Message, b.Message);
    EXPECT_EQ(a.Report, b.Report);
    const auto values = [](const CalculationOutcome& o) {
        const SpanResults& s = o.Spans;
        const LoadSummary& l = o.Loads;
        const NormativeValues& n = o.Normative;
        return std::vector<std::optional<double>>{
            s.StaticSpanSP, s.DynamicSpanSP, s.CondensateSpanSP, s.DeflectionSpanSP, s.StaticSpanSNiP,
            s.DeflectionSpanSNiP, l.PipeWeight, l.GasWeightSP, l.GasWeightSNiP, l.SnowLoadSP, l.SnowLoadSNiP,
            l.IceLoad, l.WindLoad, l.VerticalLoadSP, l.TotalLoadSP, l.TotalLoadSNiP, l.AllowableStressSP,
            l.AllowableStressSNiP, o.MomentOfInertia, n.SnowWeight, n.WindPressure, n.IceThickness};
    };
    const std::vector<std::optional<double>> va = values(a);
    const std::vector<std::optional<double>> vb = values(b);
    for (std::size_t i = 0; i < va.size(); ++i) {
        ASSERT_EQ(va[i].has_value(), vb[i].has_value()) << "value " << i;
        if (va[i]) {
            EXPECT_EQ(Bits(*va[i]), Bits(*vb[i])) << "value " << i;
        }
    }
}

TEST(OwnClimate, SnowOfRegionThreeTypedInRegionOneIsTheRunOfRegionThree)
{
    const FieldTexts texts{"89", "3,2", "333", "206", "0,6"};
    const CalculationOutcome table = RunCalculation(texts, {.SnowRegion = 2}, ",");
    const CalculationOutcome own = RunCalculation(texts, {.SnowRegion = 0}, {1.8, std::nullopt, std::nullopt}, ",");
    ExpectSameOutcome(own, table);
    EXPECT_EQ(own.Report[3], "Нормируемый вес снега, кН/м2    1,800");
    EXPECT_TRUE(own.Input->Own.SnowWeight.has_value());
    // Without own values the overload is the run of the tables.
    ExpectSameOutcome(RunCalculation(texts, {}, OwnClimate{}, ","), RunCalculation(texts, {}, ","));
}

// The inputs of the golden runs, each computed again with all three of its region values typed in
// as own values while the selectors stand on the first regions: the same outcome in every value.
TEST(OwnClimate, EveryGoldenRunWithItsTableValuesTypedIn)
{
    std::ifstream file(KORVELIN_TEST_DATA "/golden-runs.csv");
    ASSERT_TRUE(file);
    std::string line;
    std::getline(file, line);
    int compared = 0;
    while (std::getline(file, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ';');)
            f.push_back(field);
        ASSERT_GE(f.size(), 11u);
        const FieldTexts texts{f[0], f[1], f[2], f[3], f[4]};
        const SelectorIndexes indexes{std::stoi(f[5]), std::stoi(f[6]), std::stoi(f[7]),
                                      std::stoi(f[8]), std::stoi(f[9]), std::stoi(f[10])};
        const auto row = [](int index, std::size_t rows) { return index >= 0 && std::size_t(index) < rows; };
        if (!row(indexes.SnowRegion, 8) || !row(indexes.WindRegion, 8) || !row(indexes.IceRegion, 5))
            continue;
        OwnClimateTexts own;
        own.SnowWeight = {true, kSnowTexts[indexes.SnowRegion], ""};
        own.WindPressure = {true, kWindTexts[indexes.WindRegion], ""};
        own.IceThickness = {true, kIceTexts[indexes.IceRegion], ""};
        const OwnClimateReading values = ReadOwnClimate(own, ",");
        ASSERT_TRUE(values.Ok());
        SelectorIndexes first = indexes;
        first.SnowRegion = first.WindRegion = first.IceRegion = 0;
        SCOPED_TRACE(line.substr(0, 60));
        ExpectSameOutcome(RunCalculation(texts, first, values.Values, ","), RunCalculation(texts, indexes, ","));
        ++compared;
    }
    EXPECT_GT(compared, 1000);
}

}  // namespace
}  // namespace korvelin
