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

// The constants of the load formulas.
inline constexpr double kSnowFactorSP = 0.2;          // μ up to the threshold diameter
inline constexpr double kSnowFactorSPLarge = 0.3;     // μ above it
inline constexpr double kSnowFactorThreshold = 0.6;   // m
inline constexpr long double kSnowFactorSNiP = 0.4L;
inline constexpr long double kIceFactor = 1.9L;
inline constexpr long double kIceUnitWeight = 8829;   // N/m³: 900 kg/m³ · 9.81 m/s²
inline constexpr long double kPulsationWeight = 0.7L;  // weight of the pulsation factor
inline constexpr long double kNewtonsPerKilonewton = 1000;

// A load with the normative values it was computed from.
struct SnowLoad {
    double Factor;  // μ (SP) or the SNiP factor
    double Weight;  // S, kN/m²
    double Load;    // N/m
};
struct IceLoad {
    double Thickness;  // b, m
    double Load;       // N/m
};
struct WindLoad {
    double Pressure;  // w0, kPa
    HeightFactors Factors;
    double Load;  // N/m
};

// Loads per metre of pipe in N/m from the outer diameter D in metres and the normative value of
// the ...Terms functions (a table value or the site's own, as the run takes it), which give the
// load with its terms; the others look the value up for a region index inside its table (the
// input reading refuses the others).
// mu * S * D * 1000 with mu 0.2 up to 0.6 m and 0.3 above; appends the snow line.
SnowLoad CalcSnowLoadSPTerms(FpWatch& fp, double D, double snowWeight, ReportWriter& report);
double CalcSnowLoadSP(FpWatch& fp, double D, int snowRegion, ReportWriter& report);
// 0.4 * S * D * 1000.
SnowLoad CalcSnowLoadSNiPTerms(FpWatch& fp, double D, double snowWeight);
double CalcSnowLoadSNiP(FpWatch& fp, double D, int snowRegion);
// 1.9 * b * 8829 * D; appends the ice line.
IceLoad CalcIceLoadTerms(FpWatch& fp, double D, double iceThickness, ReportWriter& report);
double CalcIceLoad(FpWatch& fp, double D, int iceRegion, ReportWriter& report);
// w0 * D * k * (1 + 0.7 * zeta) * 1000; appends the wind line.
WindLoad CalcWindLoadTerms(FpWatch& fp, double D, int heightCategory, double windPressure,
                           ReportWriter& report);
double CalcWindLoad(FpWatch& fp, double D, int heightCategory, int windRegion,
                    ReportWriter& report);

}  // namespace korvelin
