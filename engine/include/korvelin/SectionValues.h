#pragma once

#include "korvelin/FpWatch.h"

namespace korvelin {

// Values of the cross-section and the steel. D is the outer diameter and t the wall in metres,
// p the working pressure and the strengths in MPa; weights are in N/m.

// 3.14 * 7900 * 9.81 * (D - t) * t: the wall at the mean diameter times steel density and gravity.
double CalcPipeWeight(FpWatch& fp, double D, double t);
// 100 * p * (D - 2t)^2: the gas in the inner diameter.
double CalcGasWeightSP(FpWatch& fp, double D, double t, double p);
// 30.8034 * p * (D - t)^2 / 565966.8 * 1000000 for formula 1, else 0.
double CalcGasWeightSNiP(FpWatch& fp, int formula, double p, double D, double t);

struct AllowableStressCandidates {
    double ByUltimate;  // ultimate / 2.6
    double ByYield;     // yield / 1.5
};
AllowableStressCandidates CalcAllowableStressCandidates(FpWatch& fp, double ultimate,
                                                        double yield);
// The smaller candidate (the yield one on a tie).
double CalcAllowableStress(FpWatch& fp, double ultimate, double yield);
// yield / 1.15
double CalcAllowableStressSNiP(FpWatch& fp, double yield);
// 3.14 * D^3 * t / 8, in m^4.
double CalcInertia(FpWatch& fp, double D, double t);

}  // namespace korvelin
