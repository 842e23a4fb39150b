#include "TestFormat.h"
#include "korvelin/LoadCombinations.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

using test::Shown;

TEST(LoadCombinations, SnowOrIceGovernsTheSPVerticalLoad)
{
    FpWatch fp;
    const CombinedLoadSP snow = SumLoadsSP(fp, 60, 0.5, 14.24, 4.479, 18.099);
    EXPECT_EQ(Shown(snow.Vertical), "74.740");
    EXPECT_EQ(Shown(snow.Total), "76.900");
    const CombinedLoadSP ice = SumLoadsSP(fp, 60, 0.5, 14.24, 29.86, 18.099);
    EXPECT_EQ(Shown(ice.Vertical), "90.360");
    EXPECT_EQ(Shown(ice.Total), "92.155");
    const CombinedLoadSP calm = SumLoadsSP(fp, 60, 0.5, 14.24, 4.479, 0);
    EXPECT_EQ(calm.Total, calm.Vertical);
}

TEST(LoadCombinations, SNiPFactorsAndTheirLines)
{
    FpWatch fp;
    IntermediateReport lines;
    ReportWriter report(lines, ",");
    EXPECT_EQ(Shown(SumLoadsSNiP(fp, 60, 0.5, 28.48, 4.479, report)), "106.422");
    const IntermediateReport expected = {
        "Коэффициент надежости по нагрузке/собственный вес (используется в методике по СНИП)    1,100",
        "Коэффициент надежости внутреннего давления/природный газ (используется в методике по СНИП)    1,100",
        "Коэффициент надежости по нагрузке/снег (используется в методике по СНИП)    1,400",
        "Коэффициент надежости по нагрузке/гололед (используется в методике по СНИП)    1,300",
    };
    EXPECT_EQ(lines, expected);
}

TEST(LoadCombinations, FactoredIceGovernsOnlyWhenLarger)
{
    FpWatch fp;
    IntermediateReport lines;
    ReportWriter report(lines, ",");
    // 1.3 * 100 = 130 against 1.4 * 10 = 14.
    EXPECT_EQ(Shown(SumLoadsSNiP(fp, 10, 10, 10, 100, report)), "152.000");
}

}  // namespace
}  // namespace korvelin
