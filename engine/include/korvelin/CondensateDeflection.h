#pragma once

#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"

#include <cstddef>

namespace korvelin {

// Number of slope items: item i stands for a slope of i per mille.
inline constexpr std::size_t kSlopeCount = 11;

// Slope coefficient c by the slope index and the inner diameter d in millimetres: the first
// column below 100 mm, the second from 100 to 300 mm, 0 above.
double SlopeCoefficient(int slope, double innerDiameterMm);

// (t / q)^(1/4) * (875 * c * D) in metres; appends the slope coefficient line first.
double CalcSpanCondensate(FpWatch& fp, double D, double t, double q, int slope,
                          ReportWriter& report);

// The deflection 5 * w * L^4 / (384 * E * I) at span L and its limit L / 150, both as stored.
struct Deflection {
    double Actual;
    double Limit;
};
Deflection CalcDeflection(FpWatch& fp, double inertia, double span, double load);

// Searches down from the start span in steps of 1/20 for the first span whose deflection stays
// within 1/150 of the span. A start span that is not positive gives 0.
double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load);

}  // namespace korvelin
