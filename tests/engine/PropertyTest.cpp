#include "korvelin/NumberFormat.h"
#include "korvelin/RunCalculation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace korvelin {
namespace {

// Random pipes, steels and selections over the range the program is made for, written as a user
// types them (comma as decimal mark). Every third set carries something the engine refuses.
class InputGenerator {
public:
    explicit InputGenerator(unsigned seed) : random_(seed) {}

    FieldTexts Texts()
    {
        const int diameterTenths = Uniform(200, 6000);  // 20.0 .. 600.0 mm
        const int wallTenths = Uniform(5, diameterTenths / 3);
        const int grade = Uniform(0, 2);
        static constexpr const char* kUltimate[] = {"333", "372", "314"};
        static constexpr const char* kYield[] = {"206", "225", "196"};
        return {Decimal(diameterTenths, 1), Decimal(wallTenths, 1), kUltimate[grade], kYield[grade],
                Decimal(Uniform(1, 3000), 3)};
    }

    SelectorIndexes Indexes()
    {
        return {Uniform(0, 2), Uniform(0, 7), Uniform(0, 7), Uniform(0, 4), Uniform(0, 6),
                Uniform(0, 10)};
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // value / 10^decimals with a comma.
    static std::string Decimal(int value, int decimals)
    {
        std::string digits = std::to_string(value);
        if (digits.size() <= static_cast<std::size_t>(decimals)) {
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        }
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ",");
        return digits;
    }

private:
    std::mt19937 random_;
};

constexpr int kRuns = 3000;

TEST(Properties, DeflectionSpanNeverExceedsTheStaticSpan)
{
    InputGenerator generate(1);
    int completed = 0;
    for (int i = 0; i < kRuns; ++i) {
        const CalculationOutcome o = RunCalculation(generate.Texts(), generate.Indexes(), ",");
        if (o.Kind != OutcomeKind::Completed) {
            continue;
        }
        ++completed;
        ASSERT_LE(*o.Spans.DeflectionSpanSP, *o.Spans.StaticSpanSP);
        ASSERT_LE(*o.Spans.DeflectionSpanSNiP, *o.Spans.StaticSpanSNiP);
    }
    EXPECT_GT(completed, kRuns / 2);
}

TEST(Properties, SteeperSlopeNeverShortensTheCondensateSpan)
{
    InputGenerator generate(2);
    for (int i = 0; i < kRuns / 10; ++i) {
        const FieldTexts texts = generate.Texts();
        SelectorIndexes indexes = generate.Indexes();
        double previous = -1;
        for (int slope = 0; slope <= 10; ++slope) {
            indexes.Slope = slope;
            const CalculationOutcome o = RunCalculation(texts, indexes, ",");
            if (!o.Spans.CondensateSpanSP) {
                break;
            }
            ASSERT_GE(*o.Spans.CondensateSpanSP, previous) << texts.OuterDiameter << " " << slope;
            previous = *o.Spans.CondensateSpanSP;
        }
    }
}

TEST(Properties, DoublingThePressureDoublesOnlyTheGasWeights)
{
    InputGenerator generate(3);
    for (int i = 0; i < kRuns; ++i) {
        FieldTexts texts = generate.Texts();
        const int pressure = generate.Uniform(1, 1500);
        texts.Pressure = InputGenerator::Decimal(pressure, 3);
        const SelectorIndexes indexes = generate.Indexes();
        const LoadSummary single = RunCalculation(texts, indexes, ",").Loads;
        texts.Pressure = InputGenerator::Decimal(2 * pressure, 3);
        const LoadSummary doubled = RunCalculation(texts, indexes, ",").Loads;
        if (!single.GasWeightSNiP || !doubled.GasWeightSNiP) {
            continue;
        }
        ASSERT_EQ(*doubled.GasWeightSP, 2 * *single.GasWeightSP);
        ASSERT_EQ(*doubled.GasWeightSNiP, 2 * *single.GasWeightSNiP);
        ASSERT_EQ(doubled.PipeWeight, single.PipeWeight);
        ASSERT_EQ(doubled.SnowLoadSP, single.SnowLoadSP);
        ASSERT_EQ(doubled.SnowLoadSNiP, single.SnowLoadSNiP);
        ASSERT_EQ(doubled.IceLoad, single.IceLoad);
        ASSERT_EQ(doubled.WindLoad, single.WindLoad);
        ASSERT_EQ(doubled.AllowableStressSP, single.AllowableStressSP);
        ASSERT_EQ(doubled.AllowableStressSNiP, single.AllowableStressSNiP);
    }
}

// The height category enters the wind load only: the SNiP column, which has no wind, and the SP
// vertical load with the dynamic span it feeds stay as they are.
TEST(Properties, HeightCategoryChangesOnlyTheWindAndWhatFollowsFromIt)
{
    InputGenerator generate(4);
    for (int i = 0; i < kRuns; ++i) {
        const FieldTexts texts = generate.Texts();
        SelectorIndexes indexes = generate.Indexes();
        indexes.HeightCategory = 0;
        const CalculationOutcome low = RunCalculation(texts, indexes, ",");
        indexes.HeightCategory = generate.Uniform(1, 2);
        const CalculationOutcome high = RunCalculation(texts, indexes, ",");
        if (low.Kind != OutcomeKind::Completed || high.Kind != OutcomeKind::Completed) {
            continue;
        }
        ASSERT_LT(*high.Loads.WindLoad, *low.Loads.WindLoad);
        ASSERT_EQ(high.Loads.PipeWeight, low.Loads.PipeWeight);
        ASSERT_EQ(high.Loads.GasWeightSP, low.Loads.GasWeightSP);
        ASSERT_EQ(high.Loads.SnowLoadSP, low.Loads.SnowLoadSP);
        ASSERT_EQ(high.Loads.IceLoad, low.Loads.IceLoad);
        ASSERT_EQ(high.Loads.VerticalLoadSP, low.Loads.VerticalLoadSP);
        ASSERT_EQ(high.Loads.TotalLoadSNiP, low.Loads.TotalLoadSNiP);
        ASSERT_EQ(high.Spans.DynamicSpanSP, low.Spans.DynamicSpanSP);
        ASSERT_EQ(high.Spans.StaticSpanSNiP, low.Spans.StaticSpanSNiP);
        ASSERT_EQ(high.Spans.DeflectionSpanSNiP, low.Spans.DeflectionSpanSNiP);
    }
}

TEST(Properties, DynamicSpanNeverDependsOnTheSteel)
{
    InputGenerator generate(5);
    for (int i = 0; i < kRuns; ++i) {
        FieldTexts texts = generate.Texts();
        const SelectorIndexes indexes = generate.Indexes();
        const CalculationOutcome first = RunCalculation(texts, indexes, ",");
        texts.UltimateStrength = std::to_string(generate.Uniform(200, 900));
        texts.YieldStrength = std::to_string(generate.Uniform(150, 700));
        const CalculationOutcome second = RunCalculation(texts, indexes, ",");
        if (!first.Spans.DynamicSpanSP || !second.Spans.DynamicSpanSP) {
            continue;
        }
        ASSERT_EQ(*first.Spans.DynamicSpanSP, *second.Spans.DynamicSpanSP);
    }
}

// Spans appear in the order the run shows them: the condensate span first, the three strength
// spans together, the two deflection spans last; a refused run shows none.
TEST(Properties, StoppedRunsShowOnlyWhatTheyComputed)
{
    InputGenerator generate(6);
    int refused = 0;
    int failed = 0;
    for (int i = 0; i < kRuns; ++i) {
        FieldTexts texts = generate.Texts();
        SelectorIndexes indexes = generate.Indexes();
        switch (i % 6) {
        case 0: texts.Pressure = InputGenerator::Decimal(generate.Uniform(5000, 90000), 3); break;
        case 1: indexes.IceRegion = generate.Uniform(5, 7); break;
        case 2: texts.WallThickness = "0"; break;
        case 3: texts.YieldStrength = "2" + std::string(309, '0'); break;
        default: break;
        }
        const CalculationOutcome o = RunCalculation(texts, indexes, ",");
        const SpanResults& s = o.Spans;
        if (o.Kind == OutcomeKind::Refused) {
            ++refused;
            ASSERT_EQ(o.Report.size(), 3u);
            ASSERT_FALSE(s.CondensateSpanSP || s.StaticSpanSP || s.DynamicSpanSP ||
                         s.StaticSpanSNiP || s.DeflectionSpanSP || s.DeflectionSpanSNiP);
            continue;
        }
        if (o.Kind == OutcomeKind::Failed) {
            ++failed;
            ASSERT_FALSE(s.DeflectionSpanSP && s.DeflectionSpanSNiP) << o.Message;
        } else {
            ASSERT_EQ(o.Report.size(), 26u);
        }
        ASSERT_EQ(s.StaticSpanSP.has_value(), s.DynamicSpanSP.has_value());
        ASSERT_EQ(s.StaticSpanSP.has_value(), s.StaticSpanSNiP.has_value());
        ASSERT_EQ(s.DeflectionSpanSP.has_value(), s.DeflectionSpanSNiP.has_value());
        ASSERT_TRUE(!s.StaticSpanSP || s.CondensateSpanSP);
        ASSERT_TRUE(!s.DeflectionSpanSP || s.StaticSpanSP);
    }
    EXPECT_GT(refused, kRuns / 6);
    EXPECT_GT(failed, kRuns / 12);
}

}  // namespace
}  // namespace korvelin
