#include "TestFormat.h"
#include "korvelin/SectionValues.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

using test::Shown;

// The input set shown after start-up: D 89 mm, t 3.2 mm, p 0.6 MPa, steel 333 / 206 MPa.
constexpr double kD = 0.089;
constexpr double kT = 0.0032;
constexpr double kP = 0.6;

TEST(SectionValues, StartUpInput)
{
    FpWatch fp;
    EXPECT_EQ(Shown(CalcPipeWeight(fp, kD, kT)), "66.813");
    EXPECT_EQ(Shown(CalcGasWeightSP(fp, kD, kT, kP)), "0.409");
    EXPECT_EQ(Shown(CalcGasWeightSNiP(fp, 1, kP, kD, kT)), "0.240");
    const auto candidates = CalcAllowableStressCandidates(fp, 333, 206);
    EXPECT_EQ(Shown(candidates.ByUltimate), "128.077");
    EXPECT_EQ(Shown(candidates.ByYield), "137.333");
    EXPECT_EQ(CalcAllowableStress(fp, 333, 206), candidates.ByUltimate);
    EXPECT_EQ(Shown(CalcAllowableStressSNiP(fp, 206)), "179.130");
    EXPECT_EQ(Shown(CalcInertia(fp, kD, kT) * 1e7), "8.854");
    EXPECT_FALSE(fp.Failed());
}

TEST(SectionValues, YieldCandidateGovernsWhenSmaller)
{
    FpWatch fp;
    const auto candidates = CalcAllowableStressCandidates(fp, 372, 200);
    EXPECT_EQ(Shown(candidates.ByUltimate), "143.077");
    EXPECT_EQ(Shown(candidates.ByYield), "133.333");
    EXPECT_EQ(CalcAllowableStress(fp, 372, 200), candidates.ByYield);
}

TEST(SectionValues, SNiPGasWeightIsZeroForOtherFormulas)
{
    FpWatch fp;
    for (int formula : {0, 2, -1, 100}) {
        EXPECT_EQ(CalcGasWeightSNiP(fp, formula, 5, 0.5, 0.01), 0) << formula;
    }
}

TEST(SectionValues, DoublingThePressureDoublesOnlyTheGasWeights)
{
    FpWatch fp;
    EXPECT_EQ(CalcGasWeightSP(fp, kD, kT, 2 * kP), 2 * CalcGasWeightSP(fp, kD, kT, kP));
    EXPECT_EQ(CalcGasWeightSNiP(fp, 1, 2 * kP, kD, kT), 2 * CalcGasWeightSNiP(fp, 1, kP, kD, kT));
}

TEST(SectionValues, OverflowIsReportedWhenStored)
{
    FpWatch fp;
    CalcPipeWeight(fp, 1e300, 1e299);
    EXPECT_EQ(fp.Fault(), FpFault::Overflow);
}

}  // namespace
}  // namespace korvelin
