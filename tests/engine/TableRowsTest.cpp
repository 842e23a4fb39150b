// Every row of every table of the calculation, each with an exact expected value, and the texts
// and runs that reach the edges of the reading and of the run: twenty digits, a decimal separator
// of several bytes, a fault in the condensate step.
#include "korvelin/ClimaticLoads.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/Selectors.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

struct Loads {
    IntermediateReport Lines;
    ReportWriter Report{Lines, ","};
    FpWatch Fp;
};

// Loads of a pipe of 1 m outer diameter, where each is its table value times its factors.
TEST(TableRows, SnowRegions)
{
    const struct {
        const char* Shown;
        double SP, SNiP;
    } rows[] = {{"0,800", 240, 320},   {"1,200", 360, 480},   {"1,800", 540, 720},
                {"2,400", 720, 960},   {"3,200", 960, 1280},  {"4,000", 1200, 1600},
                {"4,800", 1440, 1920}, {"5,600", 0x1.a3fffffffffffp+10, 2240}};
    // 0.3 and 5.6 are held as doubles, both a little below their decimal values: the SP load of
    // region VIII is one unit in the last place below 1680.
    ASSERT_EQ(std::size(rows), SnowRegionItems().size());
    for (int region = 0; region < static_cast<int>(std::size(rows)); ++region) {
        SCOPED_TRACE(region);
        Loads l;
        EXPECT_EQ(CalcSnowLoadSP(l.Fp, 1, region, l.Report), rows[region].SP);
        EXPECT_EQ(CalcSnowLoadSNiP(l.Fp, 1, region), rows[region].SNiP);
        EXPECT_EQ(l.Lines.at(0), std::string("Нормируемый вес снега, кН/м2    ") + rows[region].Shown);
    }
}

TEST(TableRows, WindRegionsAndHeightCategories)
{
    // k * (1 + 0.7 * zeta) * 1000 = 1196.25 for the first category.
    const struct {
        const char* Shown;
        double Load;
    } rows[] = {{"0,170", 203.3625}, {"0,230", 275.1375}, {"0,300", 358.875}, {"0,380", 454.575},
                // 0.48 and 0.73 as doubles lie far enough below their decimals to give the
                // double below the nearest one of 574.2 and 873.2625.
                {"0,480", 0x1.1f19999999999p+9}, {"0,600", 717.75},
                {"0,730", 0x1.b4a1999999999p+9}, {"0,850", 1016.8125}};
    ASSERT_EQ(std::size(rows) + 1, WindRegionItems().size());  // the last item has no row
    for (int region = 0; region < static_cast<int>(std::size(rows)); ++region) {
        SCOPED_TRACE(region);
        Loads l;
        EXPECT_EQ(CalcWindLoad(l.Fp, 1, 0, region, l.Report), rows[region].Load);
        EXPECT_EQ(l.Lines.at(0), std::string("Нормируемое ветровое давление, кПа    ") + rows[region].Shown);
    }
    const double byCategory[] = {203.3625, 157.59, 152.728};  // 0.17 kPa times 1196.25, 927, 898.4
    ASSERT_EQ(std::size(byCategory), HeightCategoryItems().size());
    for (int category = 0; category < 3; ++category) {
        Loads l;
        EXPECT_EQ(CalcWindLoad(l.Fp, 1, category, 0, l.Report), byCategory[category]) << category;
    }
}

TEST(TableRows, IceRegions)
{
    const struct {
        const char* Shown;
        double Load;  // 1.9 * b * 8829
    } rows[] = {{"0,003", 50.3253}, {"0,005", 83.8755}, {"0,010", 167.751}, {"0,015", 251.6265},
                {"0,020", 335.502}};
    ASSERT_EQ(std::size(rows) + 3, IceRegionItems().size());  // three items have no row
    for (int region = 0; region < static_cast<int>(std::size(rows)); ++region) {
        SCOPED_TRACE(region);
        Loads l;
        EXPECT_EQ(CalcIceLoad(l.Fp, 1, region, l.Report), rows[region].Load);
        EXPECT_EQ(l.Lines.at(0), std::string("Нормируемая толщина гололеда, м    ") + rows[region].Shown);
    }
}

// A wall of 62.5 mm under a load of 1 N/m makes the fourth root 1/2: the span is 437.5 * c * D.
TEST(TableRows, SlopeCoefficientsOfBothColumns)
{
    const struct {
        const char* ShownA;
        double SpanA;  // D = 200 mm, inner diameter 75 mm
        const char* ShownB;
        double SpanB;  // D = 300 mm, inner diameter 175 mm
    } rows[] = {{"1,000", 87.5, "1,000", 131.25},
                // 1.33 and 1.86 as doubles lie above their decimals: one unit in the last place
                // above 116.375 and 162.75.
                {"1,330", 0x1.d180000000001p+6, "1,260", 165.375},
                {"1,540", 134.75, "1,440", 189},      {"1,720", 150.5, "1,580", 207.375},
                {"1,860", 0x1.4580000000001p+7, "1,720", 225.75},   {"2,000", 175, "1,850", 242.8125},
                {"2,130", 186.375, "1,980", 259.875}, {"2,260", 197.75, "2,100", 275.625},
                {"2,380", 208.25, "2,220", 291.375},  {"2,500", 218.75, "2,330", 305.8125},
                {"2,610", 228.375, "2,440", 320.25}};
    ASSERT_EQ(std::size(rows), SlopeItems().size());
    const std::string label = "Коэффициент, учитыв. уклон трубопровода    ";
    for (int slope = 0; slope < static_cast<int>(std::size(rows)); ++slope) {
        SCOPED_TRACE(slope);
        Loads l;
        EXPECT_EQ(CalcSpanCondensate(l.Fp, 0.2, 0.0625, 1, slope, l.Report), rows[slope].SpanA);
        EXPECT_EQ(CalcSpanCondensate(l.Fp, 0.3, 0.0625, 1, slope, l.Report), rows[slope].SpanB);
        EXPECT_EQ(CalcSpanCondensate(l.Fp, 0.5, 0.0625, 1, slope, l.Report), 0);  // above 300 mm
        const IntermediateReport expected = {label + rows[slope].ShownA, label + rows[slope].ShownB,
                                             label + "0,000"};
        EXPECT_EQ(l.Lines, expected);
        EXPECT_FALSE(l.Fp.Failed());
    }
}

// Each grade's strengths through a whole run: the allowable stresses are the smaller of
// ultimate / 2.6 and yield / 1.5, and yield / 1.15.
TEST(TableRows, SteelGrades)
{
    const struct {
        const char* Name;
        const char* Ultimate;
        const char* Yield;
        double SP, SNiP;
    } rows[] = {
        {"ст2сп/ГОСТ 10705-80", "333", "206", 128.0769230769230769, 179.1304347826086957},
        {"ст3сп/ГОСТ 10705-80", "372", "225", 143.0769230769230769, 195.6521739130434783},
        {"08/ГОСТ 10705-80", "314", "196", 120.7692307692307692, 170.4347826086956522},
        {"10/ГОСТ 10705-80", "314", "196", 120.7692307692307692, 170.4347826086956522},
        {"15/ГОСТ 10705-80", "333", "206", 128.0769230769230769, 179.1304347826086957},
        {"20/ГОСТ 10705-80", "372", "225", 143.0769230769230769, 195.6521739130434783},
    };
    ASSERT_EQ(std::size(rows) + 1, SteelGradeItems().size());
    for (int index = 0; index < static_cast<int>(std::size(rows)); ++index) {
        SCOPED_TRACE(rows[index].Name);
        const SteelGrade* grade = FindSteelGrade(index);
        ASSERT_NE(grade, nullptr);
        EXPECT_EQ(SteelGradeItems()[static_cast<std::size_t>(index)], rows[index].Name);
        EXPECT_EQ(grade->UltimateStrength, rows[index].Ultimate);
        EXPECT_EQ(grade->YieldStrength, rows[index].Yield);
        EXPECT_FALSE(grade->UserDefined);
        const CalculationOutcome outcome = RunCalculation(
            {"89", "3,2", std::string(grade->UltimateStrength), std::string(grade->YieldStrength), "0,6"},
            {}, ",");
        EXPECT_EQ(outcome.Loads.AllowableStressSP, rows[index].SP);
        EXPECT_EQ(outcome.Loads.AllowableStressSNiP, rows[index].SNiP);
    }
    const SteelGrade* own = FindSteelGrade(6);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(SteelGradeItems()[6], "Свой");
    EXPECT_TRUE(own->UserDefined);
    EXPECT_EQ(RunCalculation({"89", "3,2", std::string(own->UltimateStrength),
                              std::string(own->YieldStrength), "0,6"}, {}, ",").Message,
              kIncompleteInputMessage);
    EXPECT_EQ(FindSteelGrade(7), nullptr);
    EXPECT_EQ(FindSteelGrade(-1), nullptr);
}

void ExpectSameResults(const CalculationOutcome& a, const CalculationOutcome& b)
{
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Spans.StaticSpanSP, b.Spans.StaticSpanSP);
    EXPECT_EQ(a.Spans.DynamicSpanSP, b.Spans.DynamicSpanSP);
    EXPECT_EQ(a.Spans.CondensateSpanSP, b.Spans.CondensateSpanSP);
    EXPECT_EQ(a.Spans.DeflectionSpanSP, b.Spans.DeflectionSpanSP);
    EXPECT_EQ(a.Spans.StaticSpanSNiP, b.Spans.StaticSpanSNiP);
    EXPECT_EQ(a.Spans.DeflectionSpanSNiP, b.Spans.DeflectionSpanSNiP);
    EXPECT_EQ(a.Loads.GasWeightSP, b.Loads.GasWeightSP);
    EXPECT_EQ(a.MomentOfInertia, b.MomentOfInertia);
}

// Twenty-digit texts give the values of their short forms, to the last bit.
TEST(FieldTexts, TwentyDigits)
{
    ExpectSameResults(RunCalculation({"159,00000000000000001", "4,5000000000000000000", "372",
                                      "225", "0,60000000000000000000"}, {}, ","),
                      RunCalculation({"159", "4,5", "372", "225", "0,6"}, {}, ","));
    // This pressure lies just above the midpoint between 0.6 and the double below it, but within
    // the extended precision it is the midpoint itself, which is stored as the even double below:
    // the text is read once, in extended precision, and only then rounded to double.
    const CalculationOutcome tie =
        RunCalculation({"89", "3,2", "333", "206", "0,59999999999999992229"}, {}, ",");
    ExpectSameResults(tie, RunCalculation({"89", "3,2", "333", "206", "0,5999999999999999"}, {}, ","));
    EXPECT_NE(tie.Loads.GasWeightSP, RunCalculation({"89", "3,2", "333", "206", "0,6"}, {}, ",").Loads.GasWeightSP);
}

// A separator of two bytes (U+066B) in the texts, the report and the messages.
TEST(FieldTexts, SeparatorOfSeveralBytes)
{
    const std::string sep = "٫";
    const CalculationOutcome outcome = RunCalculation({"89", "3٫2", "333", "206", "0.6"}, {}, sep);
    ExpectSameResults(outcome, RunCalculation({"89", "3,2", "333", "206", "0,6"}, {}, ","));
    ASSERT_EQ(outcome.Report.size(), 26u);
    EXPECT_EQ(outcome.Report[3], "Нормируемый вес снега, кН/м2    0٫800");
    EXPECT_EQ(outcome.Report[18],
              "вес трубы, н/м" + std::string(58, ' ') + "66٫813" + std::string(18, ' ') + "66٫813");
    EXPECT_EQ(outcome.Report[23], "Допустимое напряжение, МПА" + std::string(31, ' ') + "128٫077" +
                                      std::string(18, ' ') + "179٫130");
    EXPECT_EQ(RunCalculation({"89", "1.2,3", "333", "206", "0,6"}, {}, sep).Message,
              "'1٫2,3' is not a valid floating point value");
    EXPECT_EQ(RunCalculation({"89", "3٫2٫", "333", "206", "0,6"}, {}, sep).Message,
              "'3٫2٫' is not a valid floating point value");
    // Half of the separator is not a decimal mark.
    EXPECT_EQ(RunCalculation({"89", "3\xd9", "333", "206", "0,6"}, {}, sep).Kind, OutcomeKind::Failed);
}

// A negative wall, which the reading refuses, is the one way to a fault in the condensate step:
// t / q is negative under the fourth root. Every load is kept, the condensate line is the last
// line of the report and no span is produced.
TEST(RunFromAnInputSet, FaultInTheCondensateStep)
{
    SpanInput input;
    input.OuterDiameter = 0.089;
    input.WallThickness = -0.0032;
    input.UltimateStrength = 333;
    input.YieldStrength = 206;
    input.Pressure = 0.6;
    input.Slope = 2;
    const CalculationOutcome outcome = RunCalculation(input, ",");
    EXPECT_EQ(outcome.Kind, OutcomeKind::Failed);
    EXPECT_EQ(outcome.Message, "Invalid floating point operation");
    ASSERT_EQ(outcome.Report.size(), 11u);
    EXPECT_EQ(outcome.Report[9],
              "Коэффициент надежости по нагрузке/гололед (используется в методике по СНИП)    1,300");
    EXPECT_EQ(outcome.Report[10], "Коэффициент, учитыв. уклон трубопровода    1,540");
    const LoadSummary& l = outcome.Loads;
    EXPECT_TRUE(l.PipeWeight && l.GasWeightSP && l.GasWeightSNiP && l.SnowLoadSP &&
                l.SnowLoadSNiP && l.IceLoad && l.WindLoad && l.VerticalLoadSP &&
                l.TotalLoadSP && l.TotalLoadSNiP && l.AllowableStressSP && l.AllowableStressSNiP);
    EXPECT_LT(*l.PipeWeight, 0);
    const SpanResults& s = outcome.Spans;
    EXPECT_FALSE(s.CondensateSpanSP || s.StaticSpanSP || s.DynamicSpanSP || s.DeflectionSpanSP ||
                 s.StaticSpanSNiP || s.DeflectionSpanSNiP);
    EXPECT_FALSE(outcome.MomentOfInertia);

    // The same input set with a positive wall completes as the texts do.
    input.WallThickness = 0.0032;
    ExpectSameResults(RunCalculation(input, ","),
                      RunCalculation({"89", "3,2", "333", "206", "0,6"}, {0, 0, 0, 0, 0, 2}, ","));
}

}  // namespace
}  // namespace korvelin
