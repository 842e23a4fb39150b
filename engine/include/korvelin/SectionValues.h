#pragma once

#include "korvelin/FpWatch.h"

namespace korvelin {

// The constants of the section formulas, in the precision the formulas compute with; the
// calculation note shows them from here.
inline constexpr long double kPi = 3.14L;                  // π as the formulas take it
inline constexpr long double kSteelDensity = 7900;         // kg/m³
inline constexpr long double kGravity = 9.81L;             // m/s²
inline constexpr long double kGasFactorSP = 100;           // 100 · p · (D − 2t)²
inline constexpr long double kPiGravity = 30.8034L;        // π · g written out as one constant
inline constexpr long double kGasDivisorSNiP = 565966.8L;  // divisor of the SNiP gas weight
inline constexpr long double kPascalsPerMegapascal = 1000000;
inline constexpr long double kUltimateStrengthFactor = 2.6L;  // SP: ultimate / 2.6
inline constexpr long double kYieldStrengthFactor = 1.5L;     // SP: yield / 1.5
inline constexpr long double kMaterialFactorSNiP = 1.15L;     // SNiP: yield / 1.15
inline constexpr long double kInertiaDivisor = 8;             // π · D³ · t / 8

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
double SmallerCandidate(const AllowableStressCandidates& candidates);
double CalcAllowableStress(FpWatch& fp, double ultimate, double yield);
// yield / 1.15
double CalcAllowableStressSNiP(FpWatch& fp, double yield);
// 3.14 * D^3 * t / 8, in m^4.
double CalcInertia(FpWatch& fp, double D, double t);

}  // namespace korvelin
