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

double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report)
{
    const double mu = D <= 0.6 ? 0.2 : 0.3;
    const double snow = At(kSnowWeight, snowRegion);
    report.AppendValue("Нормируемый вес снега, кН/м2    ", snow);
    return fp.Store(Ext{mu} * snow * D * 1000);
}

double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion)
{
    const double snow = At(kSnowWeight, snowRegion);
    return fp.Store(0.4L * snow * D * 1000);
}

double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report)
{
    const double ice = At(kIceThickness, iceRegion);
    report.AppendValue("Нормируемая толщина гололеда, м    ", ice);
    return fp.Store(1.9L * ice * 8829 * D);
}

double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report)
{
    const HeightFactors factors = kHeightFactors[static_cast<std::size_t>(heightCategory)];
    const double pressure = At(kWindPressure, windRegion);
    report.AppendValue("Нормируемое ветровое давление, кПа    ", pressure);
    return fp.Store(Ext{pressure} * D * factors.Height * (1 + 0.7L * factors.Pulsation) * 1000);
}

}  // namespace korvelin
