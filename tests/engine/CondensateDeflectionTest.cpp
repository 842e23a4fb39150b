#include "TestFormat.h"
#include "korvelin/CondensateDeflection.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace korvelin {
namespace {

using test::Shown;

struct CondensateCase {
    double D;
    double T;
    int Slope;
    const char* Line;
    const char* Span;
};

void PrintTo(const CondensateCase& c, std::ostream* os)
{
    *os << "D=" << c.D << " t=" << c.T << " slope=" << c.Slope;
}

class Condensate : public ::testing::TestWithParam<CondensateCase> {};

TEST_P(Condensate, SlopeCoefficientByInnerDiameter)
{
    const CondensateCase& c = GetParam();
    FpWatch fp;
    IntermediateReport lines;
    ReportWriter report(lines, ",");
    EXPECT_EQ(Shown(CalcSpanCondensate(fp, c.D, c.T, 150, c.Slope, report)), c.Span);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string("Коэффициент, учитыв. уклон трубопровода    ") + c.Line);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, Condensate,
    ::testing::Values(CondensateCase{0.089, 0.0032, 0, "1,000", "5.293"},
                      CondensateCase{0.089, 0.0032, 1, "1,330", "7.039"},
                      CondensateCase{0.089, 0.0032, 10, "2,610", "13.813"},
                      CondensateCase{0.159, 0.0045, 0, "1,000", "10.296"},
                      CondensateCase{0.159, 0.0045, 1, "1,260", "12.973"},
                      // Inner diameter exactly 100 and 300 mm: the second column.
                      CondensateCase{0.1064, 0.0032, 10, "2,440", "15.438"},
                      CondensateCase{0.3064, 0.0032, 1, "1,260", "22.958"},
                      // Above 300 mm no slope coefficient applies and the span is 0.
                      CondensateCase{0.4, 0.0032, 5, "0,000", "0.000"}));

TEST(Deflection, WorkedExample)
{
    FpWatch fp;
    const double inertia = 8.85441064e-7;
    const Deflection start = CalcDeflection(fp, inertia, 14.035216, 150);
    EXPECT_NEAR(start.Actual, 0.415508, 5e-7);
    EXPECT_NEAR(start.Limit, 0.093568, 5e-7);
    const double span = CalcSpanDeflection(fp, inertia, 14.035216, 150);
    EXPECT_EQ(Shown(span), "8.403");
    EXPECT_NEAR(span, 14.035216 * std::pow(0.95, 10), 1e-9);
    EXPECT_EQ(CalcSpanDeflection(fp, inertia, 3, 150), 3);
    EXPECT_FALSE(fp.Failed());
}

TEST(Deflection, NonPositiveStartGivesZero)
{
    FpWatch fp;
    EXPECT_EQ(CalcSpanDeflection(fp, 8.85e-7, 0, 150), 0);
    EXPECT_EQ(CalcSpanDeflection(fp, 8.85e-7, -14.0, 150), 0);
    EXPECT_FALSE(fp.Failed());
}

TEST(Deflection, NeverExceedsTheStartSpan)
{
    FpWatch fp;
    for (double start = 0.5; start < 400; start *= 1.37) {
        for (double load : {1.0, 80.0, 5000.0}) {
            EXPECT_LE(CalcSpanDeflection(fp, 8.85e-7, start, load), start);
        }
    }
}

// The next span is span - span/20 in extended precision, rounded to double, to the last bit:
// spans whose mantissa 5 divides (exact in extended), the step into the binade below, the
// smallest normal spans and the subnormal ones (left to extended arithmetic).
TEST(Deflection, NextSpanIsTheExtendedStepToTheLastBit)
{
    const auto extended = [](double span) {
        const long double L = span;
        return static_cast<double>(L - L / 20);
    };
    std::vector<double> spans = {14.035216, 1, 0.95, 20.0 / 19, 0x1.0000000000005p+0,
                                 0x1.0d79435e50d79p+0, 0x1.0d79435e50d7ap+0, 0x1.fffffffffffffp+0,
                                 0x1p-1021, 0x1p-1022, 0x1.8p-1022, 0x1p-1060, 0x1.fffffffffffffp+1023};
    std::mt19937_64 random(19);
    for (int i = 0; i < 1000000; ++i) {
        const std::uint64_t mantissa = (random() >> 12) | (std::uint64_t{1} << 52);
        const int exponent = static_cast<int>(random() % 80) - 60;
        spans.push_back(std::ldexp(static_cast<double>(i % 2 == 0 ? mantissa - mantissa % 5 : mantissa), exponent - 52));
    }
    for (const double span : spans) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(NextDeflectionSpan(span)),
                  std::bit_cast<std::uint64_t>(extended(span)))
            << std::hexfloat << span;
    }
}

// The search as the formulas state it, every span computed: the engine's search (which passes
// over the spans surely above the limit) and the two searches side by side give the same steps,
// values and result to the last bit.
TEST(Deflection, SearchesGiveEverySpanAsTheFormulasDo)
{
    const auto stated = [](double inertia, double startSpan, double load) {
        const auto at = [&](double span) {
            const long double L = span;
            return Deflection{static_cast<double>(5.0L * load * L * L * L * L / (7.9104e13L * inertia)),
                              static_cast<double>(L * kDeflectionLimitRatio)};
        };
        DeflectionSearch search;
        search.Start = search.AtLast = at(startSpan);
        search.Last = search.Span = startSpan;
        if (search.Start.Actual <= search.Start.Limit) {
            return search;
        }
        double span = startSpan;
        for (int steps = 0;; ++steps) {
            const long double L = span;
            const auto next = static_cast<double>(L - L / 20);
            if (const Deflection d = at(span); d.Actual <= d.Limit) {
                search.Steps = steps;
                search.Last = span;
                search.AtLast = d;
                search.Span = static_cast<double>(next * kDeflectionStepUndo);
                return search;
            }
            span = next;
        }
    };
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    const auto same = [&](const DeflectionSearch& a, const DeflectionSearch& b) {
        return a.Steps == b.Steps && bits(a.Last) == bits(b.Last) && bits(a.Span) == bits(b.Span) &&
               bits(a.AtLast.Actual) == bits(b.AtLast.Actual) &&
               bits(a.AtLast.Limit) == bits(b.AtLast.Limit) &&
               bits(a.Start.Actual) == bits(b.Start.Actual);
    };
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(-12, 12);
    const auto any = [&] { return std::pow(10.0, exponent(random)); };
    for (int i = 0; i < 20000; ++i) {
        const double inertia = any() * 1e-6;
        const std::array<double, 2> starts = {any(), any()};
        const std::array<double, 2> loads = {any(), any()};
        FpWatch fp;
        FpWatch atEnd(FpWatch::Checks::AtTheEnd);
        const auto together = SearchSpanDeflections(atEnd, inertia, starts, loads);
        for (std::size_t k = 0; k < 2; ++k) {
            const DeflectionSearch expected = stated(inertia, starts[k], loads[k]);
            ASSERT_TRUE(same(SearchSpanDeflection(fp, inertia, starts[k], loads[k]), expected))
                << std::hexfloat << inertia << " " << starts[k] << " " << loads[k];
            ASSERT_TRUE(same(together[k], expected)) << std::hexfloat << inertia << " " << starts[k];
        }
        ASSERT_FALSE(fp.Failed());
        ASSERT_FALSE(atEnd.MayHaveFaulted());
    }
}

}  // namespace
}  // namespace korvelin
