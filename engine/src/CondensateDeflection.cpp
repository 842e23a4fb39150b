#include "korvelin/CondensateDeflection.h"

#include <array>
#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

constexpr std::array<double, kSlopeCount> kSlopeBelow100 = {1.00, 1.33, 1.54, 1.72, 1.86, 2.00,
                                                   2.13, 2.26, 2.38, 2.50, 2.61};
constexpr std::array<double, kSlopeCount> kSlopeUpTo300 = {1.00, 1.26, 1.44, 1.58, 1.72, 1.85,
                                                  1.98, 2.10, 2.22, 2.33, 2.44};

}  // namespace

double SlopeCoefficient(int slope, double innerDiameterMm)
{
    const auto row = static_cast<std::size_t>(slope);
    if (innerDiameterMm < kSlopeFirstColumnLimit) {
        return kSlopeBelow100[row];
    }
    if (innerDiameterMm <= kSlopeTableLimit) {
        return kSlopeUpTo300[row];
    }
    return 0;
}

CondensateSpanTerms CalcSpanCondensateTerms(FpWatch& fp, double D, double t, double q, int slope,
                                            ReportWriter& report)
{
    const double inner = fp.Store((Ext{D} - 2 * Ext{t}) * kMillimetresPerMetre);
    const double c = SlopeCoefficient(slope, inner);
    report.AppendValue("Коэффициент, учитыв. уклон трубопровода    ", c);
    const double root = fp.Store(fp.Pow(fp.Div(t, q), 0.25L));
    return {inner, c, root, fp.Store(Ext{root} * (kCondensateFactor * c * D))};
}

double CalcSpanCondensate(FpWatch& fp, double D, double t, double q, int slope,
                          ReportWriter& report)
{
    return CalcSpanCondensateTerms(fp, D, t, q, slope, report).Span;
}

Deflection CalcDeflection(FpWatch& fp, double inertia, double span, double load)
{
    const Ext L = span;
    const double actual =
        fp.Store(fp.Div(kDeflectionLoadFactor * load * L * L * L * L, kDeflectionDivisor * inertia));
    const double limit = fp.Store(L * kDeflectionLimitRatio);
    return {actual, limit};
}

DeflectionSearch SearchSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    DeflectionSearch search;
    if (!(startSpan > 0)) {
        return search;
    }
    search.Start = CalcDeflection(fp, inertia, startSpan, load);
    search.Last = startSpan;
    search.AtLast = search.Start;
    search.Span = startSpan;
    if (fp.MayHaveFaulted() || search.Start.Actual <= search.Start.Limit) {
        return search;
    }
    // Every span of the search is shorter than the start span, so its deflection and limit are
    // smaller than the start's, which were computed without a fault, and the divisor is the
    // same: nothing further can fault, and the search runs without flag tests. (A faulted start
    // could be infinite or not a number, and the search would not end.)
    double span = startSpan;
    for (int steps = 0;; ++steps) {
        const Ext L = span;
        const auto actual = static_cast<double>(kDeflectionLoadFactor * load * L * L * L * L /
                                                (kDeflectionDivisor * inertia));
        const auto limit = static_cast<double>(L * kDeflectionLimitRatio);
        const auto next = static_cast<double>(L - L / kDeflectionStep);
        if (actual <= limit) {
            search.Steps = steps;
            search.Last = span;
            search.AtLast = {actual, limit};
            search.Span = static_cast<double>(Ext{next} * kDeflectionStepUndo);
            return search;
        }
        span = next;
    }
}

double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    return SearchSpanDeflection(fp, inertia, startSpan, load).Span;
}

}  // namespace korvelin
