#include "korvelin/ClimaticLoads.h"

#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

template <typename Table>
double At(const Table& table, int index)
{
    return table[static_cast<std::size_t>(index)];
}

}  // namespace

SnowLoad CalcSnowLoadSPTerms(FpWatch& fp, double D, int snowRegion, ReportWriter& report)
{
    const double mu = D <= kSnowFactorThreshold ? kSnowFactorSP : kSnowFactorSPLarge;
    const double snow = At(kSnowWeight, snowRegion);
    report.AppendValue("Нормируемый вес снега, кН/м2    ", snow);
    return {mu, snow, fp.Store(Ext{mu} * snow * D * kNewtonsPerKilonewton)};
}

double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report)
{
    return CalcSnowLoadSPTerms(fp, D, snowRegion, report).Load;
}

SnowLoad CalcSnowLoadSNiPTerms(FpWatch& fp, double D, int snowRegion)
{
    const double snow = At(kSnowWeight, snowRegion);
    return {static_cast<double>(kSnowFactorSNiP), snow,
            fp.Store(kSnowFactorSNiP * snow * D * kNewtonsPerKilonewton)};
}

double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion)
{
    return CalcSnowLoadSNiPTerms(fp, D, snowRegion).Load;
}

IceLoad CalcIceLoadTerms(FpWatch& fp, double D, int iceRegion, ReportWriter& report)
{
    const double ice = At(kIceThickness, iceRegion);
    report.AppendValue("Нормируемая толщина гололеда, м    ", ice);
    return {ice, fp.Store(kIceFactor * ice * kIceUnitWeight * D)};
}

double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report)
{
    return CalcIceLoadTerms(fp, D, iceRegion, report).Load;
}

WindLoad CalcWindLoadTerms(FpWatch& fp, double D, int heightCategory, int windRegion,
                           ReportWriter& report)
{
    const HeightFactors factors = kHeightFactors[static_cast<std::size_t>(heightCategory)];
    const double pressure = At(kWindPressure, windRegion);
    report.AppendValue("Нормируемое ветровое давление, кПа    ", pressure);
    return {pressure, factors,
            fp.Store(Ext{pressure} * D * factors.Height * (1 + kPulsationWeight * factors.Pulsation) *
                     kNewtonsPerKilonewton)};
}

double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report)
{
    return CalcWindLoadTerms(fp, D, heightCategory, windRegion, report).Load;
}

}  // namespace korvelin
