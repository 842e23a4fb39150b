#include "korvelin/StrengthCriteria.h"

#include "korvelin/LoadCombinations.h"

#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

// (1 - 0.75 * s^2)^(1/4), then the span B * A * (D - t) * 1000.
StaticSpanTerms FinishStaticSpan(FpWatch& fp, double D, double t, double A, double s)
{
    const double B = fp.Store(fp.Pow(1 - kHoopReduction * (Ext{s} * s), 0.25L));
    const double span = fp.Store(Ext{B} * A * (Ext{D} - t) * kRootOfMega);
    return {A, s, B, span};
}

}  // namespace

StaticSpanTerms CalcSpanStaticSPTerms(FpWatch& fp, double D, double t, double R, double q,
                                      double p)
{
    const double A = fp.Store(fp.Pow(fp.Div(kStaticFactor * t * R, q), 0.5L));
    const double s = fp.Store(fp.Div((Ext{D} - kHoopWallFactorSP * t) * p, 2 * Ext{t} * R));
    return FinishStaticSpan(fp, D, t, A, s);
}

double CalcSpanStaticSP(FpWatch& fp, double D, double t, double R, double q, double p)
{
    return CalcSpanStaticSPTerms(fp, D, t, R, q, p).Span;
}

StaticSpanTerms CalcSpanStaticSNiPTerms(FpWatch& fp, double D, double t, double R, double q,
                                        double p)
{
    const double A =
        fp.Store(fp.Pow(fp.Div(kStaticFactor * t * R * kWorkingConditionFactorSNiP, q), 0.5L));
    const double s =
        fp.Store(fp.Div(kPressureFactorSNiP * p * (Ext{D} - 2 * Ext{t}),
                         2 * Ext{t} * R * kWorkingConditionFactorSNiP));
    return FinishStaticSpan(fp, D, t, A, s);
}

double CalcSpanStaticSNiP(FpWatch& fp, double D, double t, double R, double q, double p)
{
    return CalcSpanStaticSNiPTerms(fp, D, t, R, q, p).Span;
}

DynamicSpanTerms CalcSpanDynamicSPTerms(FpWatch& fp, double D, double t, double vertical,
                                        int spanCount)
{
    const double k = kSpanCountCoefficient[static_cast<std::size_t>(spanCount)];
    const double u = fp.Store(fp.Div(Ext{D} * k * k * t, vertical));
    const double root = fp.Store(fp.Pow(u, 0.25L));
    return {k, u, root, fp.Store(kDynamicFactor * D * root)};
}

double CalcSpanDynamicSP(FpWatch& fp, double D, double t, double vertical, int spanCount)
{
    return CalcSpanDynamicSPTerms(fp, D, t, vertical, spanCount).Span;
}

}  // namespace korvelin
