#include "TestFormat.h"
#include "korvelin/RunCalculation.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace korvelin {
namespace {

using test::Shown;

// The texts and selections shown after start-up.
FieldTexts StartUpTexts() { return {"89", "3,2", "333", "206", "0,6"}; }

std::string Blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

const std::string kTitleLine = Blanks(75) + "Промежуточные расчетный  данные:";

TEST(RunCalculation, StartUpInputInACommaLocale)
{
    const CalculationOutcome outcome = RunCalculation(StartUpTexts(), {}, ",");
    ASSERT_EQ(outcome.Kind, OutcomeKind::Completed);
    EXPECT_EQ(outcome.Message, "");
    const IntermediateReport expected = {
        kTitleLine,
        "",
        "",
        "Нормируемый вес снега, кН/м2    0,800",
        "Нормируемая толщина гололеда, м    0,003",
        "Нормируемое ветровое давление, кПа    0,170",
        "Коэффициент надежости по нагрузке/собственный вес (используется в методике по СНИП)    1,100",
        "Коэффициент надежости внутреннего давления/природный газ (используется в методике по СНИП)    1,100",
        "Коэффициент надежости по нагрузке/снег (используется в методике по СНИП)    1,400",
        "Коэффициент надежости по нагрузке/гололед (используется в методике по СНИП)    1,300",
        "Коэффициент, учитыв. уклон трубопровода    1,000",
        "Коэффициент надежости по материалу трубы/технологии (используется в методике по СНИП)    1,150",
        "Коэффициент условия работы трубопроводов/по транспортируемой среде (используется в методике по СНИП)    0,550",
        "Коэффициент надежости по материалу трубы/температуре (используется в методике по СНИП)    1,000",
        "",
        "",
        Blanks(84) + "по СП:" + Blanks(18) + "по СНиП",
        "",
        "вес трубы, н/м" + Blanks(58) + "66,813" + Blanks(18) + "66,813",
        "вес газа, н/м" + Blanks(60) + "0,409" + Blanks(18) + "0,240",
        "снег, н/м" + Blanks(66) + "14,240" + Blanks(18) + "28,480",
        "гололед, н/м" + Blanks(61) + "4,479" + Blanks(18) + "4,479",
        "ветер, н/м" + Blanks(61) + "18,099" + Blanks(18) + "18,099",
        "Допустимое напряжение, МПА" + Blanks(31) + "128,077" + Blanks(18) + "179,130",
        "сумма нагрузок, Н" + Blanks(50) + "83,449" + Blanks(18) + "113,631",
        "Рабочее давление газ, МПа" + Blanks(36) + "0,600" + Blanks(18) + "0,600",
    };
    EXPECT_EQ(outcome.Report, expected);

    const SpanResults& s = outcome.Spans;
    EXPECT_EQ(FormatFixed3(s.StaticSpanSP.value(), ","), "18,441");
    EXPECT_EQ(FormatFixed3(s.DynamicSpanSP.value(), ","), "3,122");
    EXPECT_EQ(FormatFixed3(s.CondensateSpanSP.value(), ","), "6,128");
    EXPECT_EQ(FormatFixed3(s.DeflectionSpanSP.value(), ","), "9,965");
    EXPECT_EQ(FormatFixed3(s.StaticSpanSNiP.value(), ","), "13,851");
    EXPECT_EQ(FormatFixed3(s.DeflectionSpanSNiP.value(), ","), "9,189");

    const LoadSummary& l = outcome.Loads;
    EXPECT_EQ(Shown(l.VerticalLoadSP.value()), "81.463");
    EXPECT_EQ(Shown(outcome.MomentOfInertia.value() * 1e7), "8.854");
}

TEST(RunCalculation, FullStopLocaleReadsCommasAndShowsFullStops)
{
    const CalculationOutcome outcome = RunCalculation(StartUpTexts(), {}, ".");
    ASSERT_EQ(outcome.Kind, OutcomeKind::Completed);
    ASSERT_EQ(outcome.Report.size(), 26u);
    EXPECT_EQ(outcome.Report[18], "вес трубы, н/м" + Blanks(58) + "66.813" + Blanks(18) + "66.813");
    EXPECT_EQ(outcome.Report[25], "Рабочее давление газ, МПа" + Blanks(36) + "0.600" + Blanks(18) + "0.600");
    EXPECT_EQ(FormatFixed3(outcome.Spans.StaticSpanSP.value(), "."), "18.441");
    EXPECT_EQ(FormatFixed3(outcome.Spans.DeflectionSpanSNiP.value(), "."), "9.189");
    const CalculationOutcome same = RunCalculation({"89", "3.2", "333", "206", "0.6"}, {}, ".");
    EXPECT_EQ(same.Spans.StaticSpanSP, outcome.Spans.StaticSpanSP);
}

void ExpectStoppedBeforeAnyLoad(const CalculationOutcome& outcome)
{
    const IntermediateReport header = {kTitleLine, "", ""};
    EXPECT_EQ(outcome.Report, header);
    EXPECT_FALSE(outcome.Spans.CondensateSpanSP || outcome.Spans.StaticSpanSP ||
                 outcome.Spans.DynamicSpanSP || outcome.Spans.DeflectionSpanSP ||
                 outcome.Spans.StaticSpanSNiP || outcome.Spans.DeflectionSpanSNiP);
    EXPECT_FALSE(outcome.Loads.PipeWeight);
}

struct StopCase {
    const char* Name;
    FieldTexts Texts;
    SelectorIndexes Indexes;
    OutcomeKind Kind;
    const char* Message;
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.Name; }

class RunStopsWhileReading : public ::testing::TestWithParam<StopCase> {};

TEST_P(RunStopsWhileReading, WithItsMessage)
{
    const StopCase& c = GetParam();
    const CalculationOutcome outcome = RunCalculation(c.Texts, c.Indexes, ",");
    EXPECT_EQ(outcome.Kind, c.Kind);
    EXPECT_EQ(outcome.Message, c.Message);
    ExpectStoppedBeforeAnyLoad(outcome);
}

constexpr const char* kIncomplete = "Введены не все данные";
constexpr const char* kNegative = "Значения должны быть больше нуля";
constexpr const char* kThickWall = "Толщина стенки должна быть меньше половины наружного диаметра";

SelectorIndexes With(int SelectorIndexes::*field, int value)
{
    SelectorIndexes indexes;
    indexes.*field = value;
    return indexes;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RunStopsWhileReading,
    ::testing::Values(
        StopCase{"ZeroDiameter", {"0", "3,2", "333", "206", "0,6"}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"ZeroWall", {"89", "0,0", "333", "206", "0,6"}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"OwnSteelNotTyped", {"89", "3,2", "0", "0", "0,6"}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"LoneMarkPressure", {"89", "3,2", "333", "206", ","}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"MinusZero", {"89", "3,2", "333", "-0", "0,6"}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"ZeroWinsOverNegative", {"-89", "3,2", "0", "206", "0,6"}, {}, OutcomeKind::Refused, kIncomplete},
        StopCase{"NegativeDiameter", {"-89", "3,2", "333", "206", "0,6"}, {}, OutcomeKind::Refused, kNegative},
        StopCase{"NegativePressure", {"89", "3,2", "333", "206", "-0,6"}, {}, OutcomeKind::Refused, kNegative},
        StopCase{"NegativeWinsOverWall", {"89", "50", "-333", "206", "0,6"}, {}, OutcomeKind::Refused, kNegative},
        StopCase{"WallOfHalfTheDiameter", {"89", "44,5", "333", "206", "0,6"}, {}, OutcomeKind::Refused, kThickWall},
        StopCase{"WallThickerThanTheDiameter", {"89", "100", "333", "206", "0,6"}, {}, OutcomeKind::Refused, kThickWall},
        StopCase{"WallWinsOverSelector", {"89", "50", "333", "206", "0,6"}, With(&SelectorIndexes::WindRegion, 8), OutcomeKind::Refused, kThickWall},
        StopCase{"EmptyWindItem", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::WindRegion, 8), OutcomeKind::Refused, kIncomplete},
        StopCase{"EmptyIceItem5", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::IceRegion, 5), OutcomeKind::Refused, kIncomplete},
        StopCase{"EmptyIceItem7", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::IceRegion, 7), OutcomeKind::Refused, kIncomplete},
        StopCase{"NoHeightSelected", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::HeightCategory, -1), OutcomeKind::Refused, kIncomplete},
        StopCase{"SnowBeyondItems", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::SnowRegion, 8), OutcomeKind::Refused, kIncomplete},
        StopCase{"SpansBeyondItems", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::SpanCount, 7), OutcomeKind::Refused, kIncomplete},
        StopCase{"SlopeBeyondItems", {"89", "3,2", "333", "206", "0,6"}, With(&SelectorIndexes::Slope, 11), OutcomeKind::Refused, kIncomplete},
        StopCase{"EmptyText", {"89", "3,2", "333", "206", ""}, {}, OutcomeKind::Failed, "'' is not a valid floating point value"},
        StopCase{"ConversionBeforeZeroCheck", {"0", "3,2", "333", "206", "abc"}, {}, OutcomeKind::Failed, "'abc' is not a valid floating point value"},
        StopCase{"DiameterReadFirst", {"x1", "y2", "333", "206", "0,6"}, {}, OutcomeKind::Failed, "'x1' is not a valid floating point value"},
        StopCase{"TwoMarks", {"89", "1,2.3", "333", "206", "0,6"}, {}, OutcomeKind::Failed, "'1,2.3' is not a valid floating point value"},
        StopCase{"MarkShownAsSeparator", {"89", "3,2", "3.3.3", "206", "0,6"}, {}, OutcomeKind::Failed, "'3,3.3' is not a valid floating point value"},
        StopCase{"DiameterBeyondDouble", {"1e400", "x", "333", "206", "0,6"}, {}, OutcomeKind::Failed, "Floating point overflow"},
        StopCase{"YieldBeyondDouble", {"89", "3,2", "333", "2e308", "0,6"}, {}, OutcomeKind::Failed, "Floating point overflow"},
        StopCase{"BeyondExtended", {"89", "3,2", "333", "206", "1e5000"}, {}, OutcomeKind::Failed, "'1e5000' is not a valid floating point value"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A fault in a later step keeps what was produced before it: lines, loads and shown spans.
struct FaultCase {
    const char* Name;
    FieldTexts Texts;
    SelectorIndexes Indexes;
    const char* Message;
    std::size_t ReportLines;
    bool CondensateShown;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.Name; }

class RunFailsAtAStep : public ::testing::TestWithParam<FaultCase> {};

TEST_P(RunFailsAtAStep, KeepingWhatCameBefore)
{
    const FaultCase& c = GetParam();
    const CalculationOutcome outcome = RunCalculation(c.Texts, c.Indexes, ",");
    EXPECT_EQ(outcome.Kind, OutcomeKind::Failed);
    EXPECT_EQ(outcome.Message, c.Message);
    EXPECT_EQ(outcome.Report.size(), c.ReportLines);
    EXPECT_EQ(outcome.Spans.CondensateSpanSP.has_value(), c.CondensateShown);
    EXPECT_FALSE(outcome.Spans.StaticSpanSP || outcome.Spans.DynamicSpanSP ||
                 outcome.Spans.StaticSpanSNiP || outcome.Spans.DeflectionSpanSP ||
                 outcome.Spans.DeflectionSpanSNiP);
}

SelectorIndexes Regions(int snow, int wind)
{
    SelectorIndexes indexes;
    indexes.SnowRegion = snow;
    indexes.WindRegion = wind;
    return indexes;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RunFailsAtAStep,
    ::testing::Values(
        // The pipe weight of a gigantic pipe is beyond double: no line yet.
        FaultCase{"PipeWeight", {"1e300", "1e299", "333", "206", "0,6"}, {}, "Floating point overflow", 3, false},
        // The SP snow load overflows after its line was written.
        FaultCase{"SnowLoad", {"1,7e308", "1", "333", "206", "1e-320"}, Regions(7, 0), "Floating point overflow", 4, false},
        // The wind load overflows after the snow, ice and wind lines.
        FaultCase{"WindLoad", {"1,79e308", "1", "333", "206", "1e-320"}, Regions(0, 7), "Floating point overflow", 6, false},
        // The factored SNiP snow overflows: the four factor lines are not written.
        FaultCase{"FactoredSnow", {"7e307", "1", "333", "206", "1e-320"}, Regions(7, 0), "Floating point overflow", 6, false},
        // A pressure that breaks the SP static criterion: the condensate span is shown, no other.
        FaultCase{"StaticSP", {"89", "3,2", "333", "206", "12"}, {}, "Invalid floating point operation", 26, true},
        // A pressure that breaks only the SNiP criterion still stops before any strength span.
        FaultCase{"StaticSNiPOnly", {"89", "3,2", "333", "206", "9"}, {}, "Invalid floating point operation", 26, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RunCalculation, OmittedReportLeavesTheResultsAlone)
{
    const CalculationOutcome written = RunCalculation(StartUpTexts(), {}, ",");
    const CalculationOutcome omitted = RunCalculation(StartUpTexts(), {}, ",", ReportMode::Omitted);
    EXPECT_TRUE(omitted.Report.empty());
    EXPECT_EQ(omitted.Kind, OutcomeKind::Completed);
    EXPECT_EQ(omitted.Spans.StaticSpanSP, written.Spans.StaticSpanSP);
    EXPECT_EQ(omitted.Spans.DeflectionSpanSNiP, written.Spans.DeflectionSpanSNiP);
    const CalculationOutcome failed =
        RunCalculation({"89", "3,2", "333", "206", "12"}, {}, ",", ReportMode::Omitted);
    EXPECT_EQ(failed.Message, "Invalid floating point operation");
    EXPECT_TRUE(failed.Report.empty());
}

TEST(RunCalculation, EveryRunStartsWithAnEmptyReport)
{
    const CalculationOutcome first = RunCalculation(StartUpTexts(), {}, ",");
    const CalculationOutcome second = RunCalculation(StartUpTexts(), {}, ",");
    EXPECT_EQ(first.Report, second.Report);
    EXPECT_EQ(second.Report.size(), 26u);
}

TEST(RunCalculation, SafeOnSeveralThreadsAtOnce)
{
    const CalculationOutcome expected = RunCalculation(StartUpTexts(), {}, ",");
    const CalculationOutcome failing = RunCalculation({"89", "3,2", "333", "206", "12"}, {}, ",");
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            for (int k = 0; k < 2000; ++k) {
                const bool fail = (k + i) % 3 == 0;
                const CalculationOutcome outcome =
                    fail ? RunCalculation({"89", "3,2", "333", "206", "12"}, {}, ",")
                         : RunCalculation(StartUpTexts(), {}, ",");
                const CalculationOutcome& want = fail ? failing : expected;
                if (outcome.Report != want.Report || outcome.Message != want.Message ||
                    outcome.Spans.StaticSpanSP != want.Spans.StaticSpanSP) {
                    ++mismatches[static_cast<std::size_t>(i)];
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

// The SP static span's hoop term D - 1.2 t takes 1.2 in extended precision: held in double, the
// last bit of these spans changes (the static span of every run is stored to the last bit).
TEST(RunCalculation, StaticSpanSPKeepsTheExtendedConstantToTheLastBit)
{
    const struct {
        FieldTexts Texts;
        SelectorIndexes Indexes;
        std::uint64_t Bits;
    } cases[] = {
        {{"136,5", "4,2", "333", "206", "1,9"}, {1, 0, 2, 2, 6, 4}, 0x4036e6fde9697b5c},  // 22.902311886074457 m
        {{"208,6", "3,2", "333", "206", "2,9"}, {1, 0, 1, 3, 1, 7}, 0x40378d60be84e702},  // 23.552257449576253 m
    };
    for (const auto& c : cases) {
        const CalculationOutcome outcome = RunCalculation(c.Texts, c.Indexes, ",");
        ASSERT_TRUE(outcome.Spans.StaticSpanSP.has_value()) << c.Texts.OuterDiameter;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*outcome.Spans.StaticSpanSP), c.Bits) << c.Texts.OuterDiameter;
    }
}

}  // namespace
}  // namespace korvelin
