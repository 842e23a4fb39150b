#include "korvelin/StrengthCriteria.h"

#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

// (1 - 0.75 * s^2)^(1/4), then the span B * A * (D - t) * 1000.
StaticSpanTerms FinishStaticSpan(FpWatch& fp, double D, double t, double A, double s)
{
    const double B = fp.Store(fp.Pow(1 - 0.75L * (Ext{s} * s), 0.25L));
    const double span = fp.Store(Ext{B} * A * (Ext{D} - t) * 1000);
    return {A, s, B, span};
}

}  // namespace

StaticSpanTerms CalcSpanStaticSPTerms(FpWatch& fp, double D, double t, double R, double q,
                                      double p)
{
    const double A = fp.Store(fp.Pow(fp.Div(9.42L * t * R, q), 0.5L));
    const double s = fp.Store(fp.Div((Ext{D} - 1.2L * t) * p, 2 * Ext{t} * R));
    return FinishStaticSpan(fp, D, t, A, s);
}

double CalcSpanStaticSP(FpWatch& fp, double D, double t, double R, double q, double p)
{
    return CalcSpanStaticSPTerms(fp, D, t, R, q, p).Span;
}

StaticSpanTerms CalcSpanStaticSNiPTerms(FpWatch& fp, double D, double t, double R, double q,
                                        double p)
{
    const double A = fp.Store(fp.Pow(fp.Div(9.42L * t * R * 0.55L, q), 0.5L));
    const double s =
        fp.Store(fp.Div(1.1L * p * (Ext{D} - 2 * Ext{t}), 2 * Ext{t} * R * 0.55L));
    return FinishStaticSpan(fp, D, t, A, s);
}

double CalcSpanStaticSNiP(FpWatch& fp, double D, double t, double R, double q, double p)
{
    return CalcSpanStaticSNiPTerms(fp, D, t, R, q, p).Span;
}

double CalcSpanDynamicSP(FpWatch& fp, double D, double t, double vertical, int spanCount)
{
    const double k = kSpanCountCoefficient[static_cast<std::size_t>(spanCount)];
    const double u = fp.Store(fp.Div(Ext{D} * k * k * t, vertical));
    const double root = fp.Store(fp.Pow(u, 0.25L));
    return fp.Store(430 * Ext{D} * root);
}

}  // namespace korvelin
