#pragma once

#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"

#include <array>
#include <cstddef>

namespace korvelin {

// Normative values of the climatic regions, indexed by the selector item.
inline constexpr std::array<double, 8> kSnowWeight = {0.8, 1.2, 1.8, 2.4, 3.2, 4.0, 4.8, 5.6};  // kN/m2
inline constexpr std::array<double, 8> kWindPressure = {0.17, 0.23, 0.30, 0.38,
                                                        0.48, 0.60, 0.73, 0.85};  // kPa
inline constexpr std::array<double, 5> kIceThickness = {0.003, 0.005, 0.010, 0.015, 0.020};  // m

// The value of a region table for a selector index inside it.
template <typename Table>
double RegionValue(const Table& table, int index)
{
    return table[static_cast<std::size_t>(index)];
}

// Height factor k and pulsation factor zeta of the building-height categories.
struct HeightFactors {
    double Height;
    double Pulsation;
};
inline constexpr std::array<HeightFactors, 3> kHeightFactors = {{
    {0.75, 0.85},
    {0.5, 1.22},
    {0.4, 1.78},
}};

// Loads per metre of pipe in N/m from the outer diameter D in metres and the region selections.
// The region indexes must lie inside their tables (the input reading refuses the others).

// mu * S * D * 1000 with mu 0.2 up to 0.6 m and 0.3 above; appends the snow line.
double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report);
// 0.4 * S * D * 1000.
double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion);
// The same with the normative value given, from a table or the site's own: the run's way.
double CalcSnowLoadSPOfWeight(FpWatch& fp, double D, double snowWeight, ReportWriter& report);
double CalcSnowLoadSNiPOfWeight(FpWatch& fp, double D, double snowWeight);
double CalcIceLoadOfThickness(FpWatch& fp, double D, double iceThickness, ReportWriter& report);
double CalcWindLoadOfPressure(FpWatch& fp, double D, int heightCategory, double windPressure,
                              ReportWriter& report);
// 1.9 * b * 8829 * D; appends the ice line.
double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report);
// w0 * D * k * (1 + 0.7 * zeta) * 1000; appends the wind line.
double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report);

}  // namespace korvelin
