#include "TestFormat.h"
#include "korvelin/ClimaticLoads.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

using test::Shown;

struct Loads {
    IntermediateReport Lines;
    ReportWriter Report{Lines, ","};
    FpWatch Fp;
};

TEST(ClimaticLoads, StartUpSelections)
{
    Loads l;
    EXPECT_EQ(Shown(CalcSnowLoadSP(l.Fp, 0.089, 0, l.Report)), "14.240");
    EXPECT_EQ(Shown(CalcSnowLoadSNiP(l.Fp, 0.089, 0)), "28.480");
    EXPECT_EQ(Shown(CalcIceLoad(l.Fp, 0.089, 0, l.Report)), "4.479");
    EXPECT_EQ(Shown(CalcWindLoad(l.Fp, 0.089, 0, 0, l.Report)), "18.099");
    const IntermediateReport expected = {
        "Нормируемый вес снега, кН/м2    0,800",
        "Нормируемая толщина гололеда, м    0,003",
        "Нормируемое ветровое давление, кПа    0,170",
    };
    EXPECT_EQ(l.Lines, expected);
}

TEST(ClimaticLoads, SnowFactorChangesAbove600Millimetres)
{
    Loads l;
    EXPECT_EQ(Shown(CalcSnowLoadSP(l.Fp, 0.6, 7, l.Report)), "672.000");
    EXPECT_EQ(Shown(CalcSnowLoadSP(l.Fp, 0.601, 7, l.Report)), "1009.680");
    EXPECT_EQ(Shown(CalcSnowLoadSNiP(l.Fp, 0.6, 7)), "1344.000");
}

TEST(ClimaticLoads, WindFallsAsTheBuildingHeightRises)
{
    Loads l;
    EXPECT_EQ(Shown(CalcWindLoad(l.Fp, 0.089, 2, 7, l.Report)), "67.964");
    EXPECT_EQ(Shown(CalcWindLoad(l.Fp, 0.089, 1, 7, l.Report)), "70.128");
    EXPECT_EQ(Shown(CalcIceLoad(l.Fp, 0.089, 4, l.Report)), "29.860");
}

// The report shows the table value of the selection, whatever the diameter.
TEST(ClimaticLoads, ReportLinesShowTheNormativeValues)
{
    Loads l;
    CalcSnowLoadSP(l.Fp, 1.2, 0, l.Report);
    CalcSnowLoadSP(l.Fp, 0.05, 7, l.Report);
    CalcIceLoad(l.Fp, 0.3, 4, l.Report);
    CalcWindLoad(l.Fp, 0.3, 2, 1, l.Report);
    const IntermediateReport expected = {
        "Нормируемый вес снега, кН/м2    0,800",
        "Нормируемый вес снега, кН/м2    5,600",
        "Нормируемая толщина гололеда, м    0,020",
        "Нормируемое ветровое давление, кПа    0,230",
    };
    EXPECT_EQ(l.Lines, expected);
}

}  // namespace
}  // namespace korvelin
