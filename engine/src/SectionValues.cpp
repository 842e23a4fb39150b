#include "korvelin/SectionValues.h"

namespace korvelin {

// Products and quotients run left to right in extended precision; the decimal constants are
// extended literals.
using Ext = long double;

double CalcPipeWeight(FpWatch& fp, double D, double t)
{
    return fp.Store(3.14L * 7900 * 9.81L * (Ext{D} - t) * t);
}

double CalcGasWeightSP(FpWatch& fp, double D, double t, double p)
{
    const Ext inner = Ext{D} - 2 * Ext{t};
    return fp.Store(100 * Ext{p} * inner * inner);
}

double CalcGasWeightSNiP(FpWatch& fp, int formula, double p, double D, double t)
{
    if (formula != 1) {
        return 0;
    }
    const Ext mean = Ext{D} - t;
    return fp.Store(fp.Div(30.8034L * p * mean * mean, 565966.8L) * 1000000);
}

AllowableStressCandidates CalcAllowableStressCandidates(FpWatch& fp, double ultimate,
                                                        double yield)
{
    const double byUltimate = fp.Store(fp.Div(ultimate, 2.6L));
    const double byYield = fp.Store(fp.Div(yield, 1.5L));
    return {byUltimate, byYield};
}

double CalcAllowableStress(FpWatch& fp, double ultimate, double yield)
{
    const auto candidates = CalcAllowableStressCandidates(fp, ultimate, yield);
    return candidates.ByUltimate < candidates.ByYield ? candidates.ByUltimate : candidates.ByYield;
}

double CalcAllowableStressSNiP(FpWatch& fp, double yield)
{
    return fp.Store(fp.Div(yield, 1.15L));
}

double CalcInertia(FpWatch& fp, double D, double t)
{
    return fp.Store(fp.Div(3.14L * D * D * D * t, 8));
}

}  // namespace korvelin
