#include "TestFormat.h"
#include "korvelin/StrengthCriteria.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

using test::Shown;

TEST(StrengthCriteria, StaticSPWorkedExample)
{
    FpWatch fp;
    const StaticSpanTerms terms = CalcSpanStaticSPTerms(fp, 0.089, 0.0032, 133.3333, 150, 0.6);
    EXPECT_NEAR(terms.A, 0.163691, 5e-7);
    EXPECT_NEAR(terms.S, 0.059878, 5e-7);
    EXPECT_NEAR(terms.B, 0.999327, 5e-7);
    EXPECT_EQ(Shown(terms.Span), "14.035");
    EXPECT_EQ(CalcSpanStaticSP(fp, 0.089, 0.0032, 133.3333, 150, 0.6), terms.Span);
    EXPECT_FALSE(fp.Failed());
}

TEST(StrengthCriteria, StaticSNiPWorkedExample)
{
    FpWatch fp;
    EXPECT_EQ(Shown(CalcSpanStaticSNiP(fp, 0.089, 0.0032, 173.9130, 180, 0.6)), "10.843");
}

TEST(StrengthCriteria, NoPressureMeansNoReduction)
{
    FpWatch fp;
    const StaticSpanTerms terms = CalcSpanStaticSPTerms(fp, 0.089, 0.0032, 133.3333, 150, 0);
    EXPECT_EQ(terms.S, 0);
    EXPECT_EQ(terms.B, 1);
}

class DynamicSpan : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(DynamicSpan, FollowsTheSpanCount)
{
    FpWatch fp;
    EXPECT_EQ(Shown(CalcSpanDynamicSP(fp, 0.089, 0.0032, 140, GetParam().first)), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(SpanCounts, DynamicSpan,
                         ::testing::Values(std::pair{0, "2.727"}, std::pair{1, "2.267"},
                                           std::pair{2, "2.049"}, std::pair{3, "1.955"},
                                           std::pair{4, "1.906"}, std::pair{5, "1.879"},
                                           std::pair{6, "1.811"}));

// A hoop stress above about 1.15 times the allowable stress takes the fourth root of a negative
// value: SP faults above about 11.57 MPa, SNiP above about 7.78 MPa for this pipe.
TEST(StrengthCriteria, ExcessivePressureIsAnInvalidOperation)
{
    FpWatch sp;
    CalcSpanStaticSP(sp, 0.089, 0.0032, 133.33, 150, 11.5);
    EXPECT_FALSE(sp.Failed());
    CalcSpanStaticSP(sp, 0.089, 0.0032, 133.33, 150, 11.6);
    EXPECT_EQ(sp.Fault(), FpFault::InvalidOperation);

    FpWatch snip;
    CalcSpanStaticSNiP(snip, 0.089, 0.0032, 173.91, 180, 7.7);
    EXPECT_FALSE(snip.Failed());
    CalcSpanStaticSNiP(snip, 0.089, 0.0032, 173.91, 180, 7.8);
    EXPECT_EQ(snip.Fault(), FpFault::InvalidOperation);
}

TEST(StrengthCriteria, ZeroLoadIsADivisionByZero)
{
    FpWatch fp;
    CalcSpanStaticSP(fp, 0.089, 0.0032, 133.33, 0, 0.6);
    EXPECT_EQ(fp.Fault(), FpFault::DivisionByZero);
    FpWatch dynamic;
    CalcSpanDynamicSP(dynamic, 0.089, 0.0032, 0, 0);
    EXPECT_EQ(dynamic.Fault(), FpFault::DivisionByZero);
}

}  // namespace
}  // namespace korvelin
