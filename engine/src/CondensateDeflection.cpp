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
    if (innerDiameterMm < 100) {
        return kSlopeBelow100[row];
    }
    if (innerDiameterMm <= 300) {
        return kSlopeUpTo300[row];
    }
    return 0;
}

double CalcSpanCondensate(FpWatch& fp, double D, double t, double q, int slope,
                          ReportWriter& report)
{
    const double inner = fp.Store((Ext{D} - 2 * Ext{t}) * 1000);
    const double c = SlopeCoefficient(slope, inner);
    report.AppendValue("Коэффициент, учитыв. уклон трубопровода    ", c);
    const double root = fp.Store(fp.Pow(fp.Div(t, q), 0.25L));
    return fp.Store(Ext{root} * (875 * Ext{c} * D));
}

Deflection CalcDeflection(FpWatch& fp, double inertia, double span, double load)
{
    const Ext L = span;
    const double actual = fp.Store(fp.Div(5 * Ext{load} * L * L * L * L, 7.9104e13L * inertia));
    const double limit = fp.Store(L * 0.0066666666666666666668L);
    return {actual, limit};
}

double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    if (!(startSpan > 0)) {
        return 0;
    }
    const Deflection start = CalcDeflection(fp, inertia, startSpan, load);
    if (fp.Failed() || start.Actual <= start.Limit) {
        return startSpan;
    }
    // Every span of the search is shorter than the start span, so its deflection and limit are
    // smaller than the start's, which were computed without a fault, and the divisor is the
    // same: nothing further can fault, and the search runs without flag tests.
    double span = startSpan;
    for (;;) {
        const Ext L = span;
        const auto actual = static_cast<double>(5 * Ext{load} * L * L * L * L / (7.9104e13L * inertia));
        const auto limit = static_cast<double>(L * 0.0066666666666666666668L);
        const auto next = static_cast<double>(L - L / 20);
        if (actual <= limit) {
            return static_cast<double>(Ext{next} * 1.0526315789473684211L);
        }
        span = next;
    }
}

}  // namespace korvelin
