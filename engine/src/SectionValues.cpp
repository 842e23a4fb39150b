#include "korvelin/SectionValues.h"

namespace korvelin {

// Products and quotients run left to right in extended precision; the decimal constants are
// extended literals.
using Ext = long double;

double CalcPipeWeight(FpWatch& fp, double D, double t)
{
    return fp.Store(kPi * kSteelDensity * kGravity * (Ext{D} - t) * t);
}

double CalcGasWeightSP(FpWatch& fp, double D, double t, double p)
{
    const Ext inner = Ext{D} - 2 * Ext{t};
    return fp.Store(kGasFactorSP * p * inner * inner);
}

double CalcGasWeightSNiP(FpWatch& fp, int formula, double p, double D, double t)
{
    if (formula != 1) {
        return 0;
    }
    const Ext mean = Ext{D} - t;
    return fp.Store(fp.Div(kPiGravity * p * mean * mean, kGasDivisorSNiP) * kPascalsPerMegapascal);
}

AllowableStressCandidates CalcAllowableStressCandidates(FpWatch& fp, double ultimate,
                                                        double yield)
{
    const double byUltimate = fp.Store(fp.Div(ultimate, kUltimateStrengthFactor));
    const double byYield = fp.Store(fp.Div(yield, kYieldStrengthFactor));
    return {byUltimate, byYield};
}

double SmallerCandidate(const AllowableStressCandidates& candidates)
{
    return candidates.ByUltimate < candidates.ByYield ? candidates.ByUltimate : candidates.ByYield;
}

double CalcAllowableStress(FpWatch& fp, double ultimate, double yield)
{
    return SmallerCandidate(CalcAllowableStressCandidates(fp, ultimate, yield));
}

double CalcAllowableStressSNiP(FpWatch& fp, double yield)
{
    return fp.Store(fp.Div(yield, kMaterialFactorSNiP));
}

double CalcInertia(FpWatch& fp, double D, double t)
{
    return fp.Store(fp.Div(kPi * D * D * D * t, kInertiaDivisor));
}

}  // namespace korvelin
