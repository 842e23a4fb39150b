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
    if (start.Actual <= start.Limit || fp.Failed()) {
        return startSpan;
    }
    double span = startSpan;
    for (;;) {
        const Deflection current = CalcDeflection(fp, inertia, span, load);
        const double next = fp.Store(Ext{span} - fp.Div(span, 20));
        if (fp.Failed()) {
            return next;
        }
        if (current.Actual <= current.Limit) {
            return fp.Store(Ext{next} * 1.0526315789473684211L);
        }
        span = next;
    }
}

}  // namespace korvelin
