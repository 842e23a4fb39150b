#pragma once

#include "korvelin/FpWatch.h"

#include <array>

namespace korvelin {

// Span-count coefficient of the dynamic criterion, by the index of the number-of-spans item.
inline constexpr std::array<double, 7> kSpanCountCoefficient = {3.56, 2.46, 2.01, 1.83,
                                                                1.74, 1.69, 1.57};

// The constants of the strength criteria.
inline constexpr long double kStaticFactor = 9.42L;      // 12 · π / 4 with π taken as 3.14
inline constexpr long double kRootOfMega = 1000;          // √10⁶: MPa to Pa under the root
inline constexpr long double kHoopWallFactorSP = 1.2L;    // D − 1.2 · t in the SP hoop stress
inline constexpr long double kHoopReduction = 0.75L;      // 1 − 0.75 · s²
inline constexpr long double kWorkingConditionFactorSNiP = 0.55L;
inline constexpr long double kDynamicFactor = 430;

// Spans in metres. D and t in metres, stresses and p in MPa, loads in N/m.

// The intermediate values of a static criterion: the span at which q * L^2 / 12 equals the
// bending capacity reduced by the hoop stress of the pressure.
struct StaticSpanTerms {
    double A;     // sqrt(9.42 * t * R / q)
    double S;     // hoop stress as a fraction of the allowable stress
    double B;     // (1 - 0.75 * s^2)^(1/4)
    double Span;  // B * A * (D - t) * 1000
};

StaticSpanTerms CalcSpanStaticSPTerms(FpWatch& fp, double D, double t, double R, double q,
                                      double p);
double CalcSpanStaticSP(FpWatch& fp, double D, double t, double R, double q, double p);
// The SNiP variant: stress 0.55 * R', diameter D - 2t in the hoop stress, pressure factor 1.1.
StaticSpanTerms CalcSpanStaticSNiPTerms(FpWatch& fp, double D, double t, double R, double q,
                                        double p);
double CalcSpanStaticSNiP(FpWatch& fp, double D, double t, double R, double q, double p);
// 430 * D * (D * k^2 * t / V)^(1/4); depends only on D, t, the vertical load V and the spans.
struct DynamicSpanTerms {
    double Coefficient;  // k of the number of spans
    double U;            // D * k^2 * t / V
    double Root;         // u^(1/4)
    double Span;
};
DynamicSpanTerms CalcSpanDynamicSPTerms(FpWatch& fp, double D, double t, double vertical,
                                        int spanCount);
double CalcSpanDynamicSP(FpWatch& fp, double D, double t, double vertical, int spanCount);

}  // namespace korvelin
