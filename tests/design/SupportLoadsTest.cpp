// The loads on the supports: the exact reaction factors of continuous beams, the loads of the
// start-up input at the governing spans, the reading of the coefficient of friction.

#include "TestFormat.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/SupportLoads.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace korvelin {
namespace {

using test::Shown;

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

TEST(SupportLoads, ExactFactorsOfOneToSixSpans)
{
    // The end support and the most loaded intermediate one, in units of q·L.
    const struct {
        int Spans;
        Fraction End;
        std::optional<Fraction> Intermediate;
        const char* EndText;
        const char* IntermediateText;
    } cases[] = {
        {1, {1, 2}, std::nullopt, "1/2", ""},
        {2, {3, 8}, Fraction{5, 4}, "3/8", "5/4"},
        {3, {2, 5}, Fraction{11, 10}, "2/5", "11/10"},
        {4, {11, 28}, Fraction{8, 7}, "11/28", "8/7"},
        {5, {15, 38}, Fraction{43, 38}, "15/38", "43/38"},
        {6, {41, 104}, Fraction{59, 52}, "41/104", "59/52"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Spans);
        EXPECT_EQ(EndSupportFactor(c.Spans), c.End);
        EXPECT_EQ(IntermediateSupportFactor(c.Spans), c.Intermediate);
        const BeamFactors factors = ContinuousBeamFactors(c.Spans - 1);
        EXPECT_EQ(factors.Spans, c.Spans);
        // The double nearest to the fraction, to the last bit.
        EXPECT_EQ(Bits(factors.End), Bits(double(c.End.Numerator) / double(c.End.Denominator)));
        EXPECT_EQ(factors.EndText, c.EndText);
        EXPECT_EQ(factors.IntermediateText, c.IntermediateText);
        ASSERT_EQ(factors.Intermediate.has_value(), c.Intermediate.has_value());
        if (c.Intermediate) {
            EXPECT_EQ(Bits(*factors.Intermediate),
                      Bits(double(c.Intermediate->Numerator) / double(c.Intermediate->Denominator)));
        }
    }
}

TEST(SupportLoads, ManySpansAreTheLimitToTheLastBit)
{
    const BeamFactors factors = ContinuousBeamFactors(6);  // ">6"
    EXPECT_EQ(factors.Spans, 0);
    // (3 + √3)/12 = 0.394337567297406441… and 2 − √3/2 = 1.133974596215561353…, rounded once.
    EXPECT_EQ(Bits(factors.End), Bits(0x1.93cd3a2c8198ep-2));
    ASSERT_TRUE(factors.Intermediate.has_value());
    EXPECT_EQ(Bits(*factors.Intermediate), Bits(0x1.224c28bd3d9abp+0));
    EXPECT_EQ(factors.EndText, "(3 + √3)/12");
    EXPECT_EQ(factors.IntermediateText, "2 − √3/2");
}

TEST(SupportLoads, StartUpInputAtTheGoverningSpans)
{
    const CalculationOutcome outcome =
        RunCalculation({"89", "3,2", "333", "206", "0,6"}, {}, ",", ReportMode::Omitted);
    const std::optional<DesignSummary> summary = SummarizeDesign(outcome);
    ASSERT_TRUE(summary.has_value());

    // By hand, SP: one span, so two end supports of k = 1/2; q = 66,813 + 0,409 + 14,240 =
    // 81,463 N/m, L = 3,122 m: 0,5 · 81,463 · 3,122 = 127,163 N; wind 0,5 · 18,099 · 3,122 =
    // 28,253 N; friction 0,3 · 127,163 = 38,149 N.
    const std::optional<SupportLoads>& sp = summary->SP.Supports;
    ASSERT_TRUE(sp.has_value());
    EXPECT_EQ(sp->Span, 3.122);
    EXPECT_EQ(sp->VerticalLoad, *outcome.Loads.VerticalLoadSP);
    EXPECT_FALSE(sp->VerticalIntermediate.has_value());
    EXPECT_FALSE(sp->FrictionIntermediate.has_value());
    EXPECT_EQ(Bits(sp->VerticalEnd), Bits(double(0.5L * *outcome.Loads.VerticalLoadSP * 3.122)));
    EXPECT_EQ(Shown(sp->VerticalEnd), "127.163");
    EXPECT_EQ(Shown(sp->WindEnd), "28.253");
    EXPECT_EQ(Bits(*sp->FrictionEnd), Bits(double(0.3L * sp->VerticalEnd)));
    EXPECT_EQ(Shown(*sp->FrictionEnd), "38.149");

    // SNiP: the factored total 113,631 N/m over the deflection span 9,189 m.
    const std::optional<SupportLoads>& snip = summary->SNiP.Supports;
    ASSERT_TRUE(snip.has_value());
    EXPECT_EQ(snip->VerticalLoad, *outcome.Loads.TotalLoadSNiP);
    EXPECT_EQ(Shown(snip->VerticalEnd), "522.078");
    EXPECT_EQ(Shown(snip->WindEnd), "83.157");
    EXPECT_EQ(Shown(*snip->FrictionEnd), "156.623");
    EXPECT_FALSE(summary->SP.ChosenSupports.has_value());

    // Two spans and a chosen span of 3 m, without friction: the middle support takes 5/4 q·L.
    const CalculationOutcome two =
        RunCalculation({"89", "3,2", "333", "206", "0,6"}, {.SpanCount = 1}, ",", ReportMode::Omitted);
    const std::optional<DesignSummary> chosen =
        SummarizeDesign(two, {.ChosenSpan = 3.0, .Friction = std::nullopt});
    const std::optional<SupportLoads>& at3 = chosen->SP.ChosenSupports;
    ASSERT_TRUE(at3.has_value());
    EXPECT_EQ(Bits(*at3->VerticalIntermediate), Bits(double(1.25L * *two.Loads.VerticalLoadSP * 3.0)));
    EXPECT_EQ(Bits(*at3->WindIntermediate), Bits(double(1.25L * *two.Loads.WindLoad * 3.0)));
    EXPECT_EQ(Bits(at3->VerticalEnd), Bits(double(0.375L * *two.Loads.VerticalLoadSP * 3.0)));
    EXPECT_FALSE(at3->FrictionIntermediate.has_value());
    EXPECT_FALSE(at3->FrictionEnd.has_value());
}

TEST(SupportLoads, FrictionIsReadWithItsRange)
{
    const struct {
        const char* Text;
        std::optional<double> Value;
        const char* Error;
    } cases[] = {
        {"0,3", 0.3, ""},
        {"1", 1.0, ""},
        {"  ", std::nullopt, ""},  // not given
        {"0", 0.0, ""},  // supports without friction
        {"-0", 0.0, ""},
        {"-0,2", std::nullopt, "Коэффициент трения в опорах не может быть отрицательным (введено «-0,2»)"},
        {"1,01", std::nullopt, "Коэффициент трения в опорах должен быть от 0 до 1 (введено «1,01»)"},
        {"0,3,1", std::nullopt, "Коэффициент трения в опорах должен быть числом (введено «0,3,1»)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const FrictionReading reading = ReadFriction(c.Text, ",");
        EXPECT_EQ(reading.Value, c.Value);
        EXPECT_EQ(reading.Error, c.Error);
    }
    EXPECT_EQ(DefaultFrictionText(","), "0,3");
    EXPECT_EQ(ReadFriction(DefaultFrictionText("."), ".").Value, kDefaultFriction);
}

}  // namespace
}  // namespace korvelin
