#pragma once

#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"

namespace korvelin {

// The load factors of the SNiP combination; the pressure factor also multiplies the working
// pressure in the SNiP static criterion.
inline constexpr long double kOwnWeightFactorSNiP = 1.1L;
inline constexpr long double kPressureFactorSNiP = 1.1L;
inline constexpr long double kSnowLoadFactorSNiP = 1.4L;
inline constexpr long double kIceLoadFactorSNiP = 1.3L;

struct CombinedLoadSP {
    double Total;     // sqrt(wind^2 + V^2)
    double Vertical;  // V = pipe + gas + the larger of snow and ice
    double Larger;    // the larger of snow and ice (the snow on a tie)
    bool SnowGoverns;
};

struct CombinedLoadSNiP {
    double FactoredSnow;  // 1.4 * snow
    double FactoredIce;   // 1.3 * ice
    bool SnowGoverns;     // the factored snow is the larger (on a tie too)
    double Total;
};

// Normative loads without factors; the wind at right angles to the vertical loads.
CombinedLoadSP SumLoadsSP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                          double wind);

// 1.1 * pipe + 1.1 * gas + the larger of 1.4 * snow and 1.3 * ice; appends the four factor lines.
CombinedLoadSNiP SumLoadsSNiPTerms(FpWatch& fp, double pipe, double gas, double snow, double ice,
                                   ReportWriter& report);
double SumLoadsSNiP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                    ReportWriter& report);

}  // namespace korvelin
