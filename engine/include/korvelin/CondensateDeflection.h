#pragma once

#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"

#include <array>
#include <cstddef>

namespace korvelin {

// Number of slope items: item i stands for a slope of i per mille.
inline constexpr std::size_t kSlopeCount = 11;

// The constants of the condensate and deflection criteria.
inline constexpr long double kCondensateFactor = 875;
inline constexpr long double kMillimetresPerMetre = 1000;
inline constexpr double kSlopeFirstColumnLimit = 100;  // mm: the first column holds below it
inline constexpr double kSlopeTableLimit = 300;        // mm: c = 0 above it
inline constexpr long double kDeflectionLoadFactor = 5;     // 5 · w · L⁴ / (384 · E · I)
inline constexpr long double kDeflectionDenominator = 384;
inline constexpr long double kElasticModulus = 2.06e11L;    // E of steel, Pa
inline constexpr long double kDeflectionDivisor = kDeflectionDenominator * kElasticModulus;
static_assert(kDeflectionDivisor == 7.9104e13L);
inline constexpr long double kDeflectionLimitRatio = 0.0066666666666666666668L;  // 1/150
inline constexpr long double kDeflectionStep = 20;  // each step takes 1/20 off the span
inline constexpr long double kDeflectionStepUndo = 1.0526315789473684211L;  // 20/19

// Slope coefficient c by the slope index and the inner diameter d in millimetres: the first
// column below 100 mm, the second from 100 to 300 mm, 0 above.
double SlopeCoefficient(int slope, double innerDiameterMm);

// (t / q)^(1/4) * (875 * c * D) in metres; appends the slope coefficient line first.
struct CondensateSpanTerms {
    double InnerDiameter;  // (D - 2t) * 1000, mm
    double Coefficient;    // c
    double Root;           // (t / q)^(1/4)
    double Span;
};
CondensateSpanTerms CalcSpanCondensateTerms(FpWatch& fp, double D, double t, double q, int slope,
                                            ReportWriter& report);
double CalcSpanCondensate(FpWatch& fp, double D, double t, double q, int slope,
                          ReportWriter& report);

// The deflection 5 * w * L^4 / (384 * E * I) at span L and its limit L / 150, both as stored.
struct Deflection {
    double Actual;
    double Limit;
};
Deflection CalcDeflection(FpWatch& fp, double inertia, double span, double load);

// The search of the deflection criterion: the start, the number of reductions made and the
// span it stopped at (the first whose deflection stays within the limit), and the result.
struct DeflectionSearch {
    Deflection Start;
    int Steps = 0;        // reductions from the start span to Last
    double Last = 0;      // the span the search stopped at (the start when it passed)
    Deflection AtLast{};  // its deflection and limit
    double Span = 0;      // the result
};
DeflectionSearch SearchSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load);

// Both searches of a run, the same as two searches made one after the other, their steps taking
// turns. Only for a run checked at the end (FpWatch::Checks::AtTheEnd), which does not stop
// between them.
std::array<DeflectionSearch, 2> SearchSpanDeflections(FpWatch& fp, double inertia,
                                                      const std::array<double, 2>& startSpans,
                                                      const std::array<double, 2>& loads);

// The next span of the search: span - span/20 in extended precision, rounded to double.
double NextDeflectionSpan(double span);

// Searches down from the start span in steps of 1/20 for the first span whose deflection stays
// within 1/150 of the span. A start span that is not positive gives 0.
double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load);

}  // namespace korvelin
