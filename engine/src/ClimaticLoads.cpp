#include "korvelin/ClimaticLoads.h"

#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

}  // namespace

double CalcSnowLoadSPOfWeight(FpWatch& fp, double D, double snow, ReportWriter& report)
{
    const double mu = D <= 0.6 ? 0.2 : 0.3;
    report.AppendValue("Нормируемый вес снега, кН/м2    ", snow);
    return fp.Store(Ext{mu} * snow * D * 1000);
}

double CalcSnowLoadSNiPOfWeight(FpWatch& fp, double D, double snow)
{
    return fp.Store(0.4L * snow * D * 1000);
}

double CalcIceLoadOfThickness(FpWatch& fp, double D, double ice, ReportWriter& report)
{
    report.AppendValue("Нормируемая толщина гололеда, м    ", ice);
    return fp.Store(1.9L * ice * 8829 * D);
}

double CalcWindLoadOfPressure(FpWatch& fp, double D, int heightCategory, double pressure,
                              ReportWriter& report)
{
    const HeightFactors factors = kHeightFactors[static_cast<std::size_t>(heightCategory)];
    report.AppendValue("Нормируемое ветровое давление, кПа    ", pressure);
    return fp.Store(Ext{pressure} * D * factors.Height * (1 + 0.7L * factors.Pulsation) * 1000);
}

double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report)
{
    return CalcSnowLoadSPOfWeight(fp, D, RegionValue(kSnowWeight, snowRegion), report);
}

double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion)
{
    return CalcSnowLoadSNiPOfWeight(fp, D, RegionValue(kSnowWeight, snowRegion));
}

double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report)
{
    return CalcIceLoadOfThickness(fp, D, RegionValue(kIceThickness, iceRegion), report);
}

double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report)
{
    return CalcWindLoadOfPressure(fp, D, heightCategory, RegionValue(kWindPressure, windRegion), report);
}

}  // namespace korvelin
