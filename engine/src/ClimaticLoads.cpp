#include "korvelin/ClimaticLoads.h"

#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

}  // namespace

SnowLoad CalcSnowLoadSPTerms(FpWatch& fp, double D, double snow, ReportWriter& report)
{
    const double mu = D <= kSnowFactorThreshold ? kSnowFactorSP : kSnowFactorSPLarge;
    report.AppendValue("Нормируемый вес снега, кН/м2    ", snow);
    return {mu, snow, fp.Store(Ext{mu} * snow * D * kNewtonsPerKilonewton)};
}

double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report)
{
    return CalcSnowLoadSPTerms(fp, D, RegionValue(kSnowWeight, snowRegion), report).Load;
}

SnowLoad CalcSnowLoadSNiPTerms(FpWatch& fp, double D, double snow)
{
    return {static_cast<double>(kSnowFactorSNiP), snow,
            fp.Store(kSnowFactorSNiP * snow * D * kNewtonsPerKilonewton)};
}

double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion)
{
    return CalcSnowLoadSNiPTerms(fp, D, RegionValue(kSnowWeight, snowRegion)).Load;
}

IceLoad CalcIceLoadTerms(FpWatch& fp, double D, double ice, ReportWriter& report)
{
    report.AppendValue("Нормируемая толщина гололеда, м    ", ice);
    return {ice, fp.Store(kIceFactor * ice * kIceUnitWeight * D)};
}

double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report)
{
    return CalcIceLoadTerms(fp, D, RegionValue(kIceThickness, iceRegion), report).Load;
}

WindLoad CalcWindLoadTerms(FpWatch& fp, double D, int heightCategory, double pressure, ReportWriter& report)
{
    const HeightFactors factors = kHeightFactors[static_cast<std::size_t>(heightCategory)];
    report.AppendValue("Нормируемое ветровое давление, кПа    ", pressure);
    return {pressure, factors,
            fp.Store(Ext{pressure} * D * factors.Height * (1 + kPulsationWeight * factors.Pulsation) *
                     kNewtonsPerKilonewton)};
}

double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report)
{
    return CalcWindLoadTerms(fp, D, heightCategory, RegionValue(kWindPressure, windRegion), report).Load;
}

}  // namespace korvelin
