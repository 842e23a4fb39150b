#include "TestFormat.h"
#include "korvelin/CondensateDeflection.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace korvelin
