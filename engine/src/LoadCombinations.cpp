#include "korvelin/LoadCombinations.h"

namespace korvelin {

using Ext = long double;

CombinedLoadSP SumLoadsSP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                          double wind)
{
    const bool snowGoverns = snow >= ice;
    const double larger = snowGoverns ? snow : ice;
    const double vertical = fp.Store(Ext{pipe} + gas + larger);
    const double total = fp.Store(fp.Pow(Ext{wind} * wind + Ext{vertical} * vertical, 0.5L));
    return {total, vertical, larger, snowGoverns};
}

CombinedLoadSNiP SumLoadsSNiPTerms(FpWatch& fp, double pipe, double gas, double snow, double ice,
                                   ReportWriter& report)
{
    const double factoredSnow = fp.Store(kSnowLoadFactorSNiP * snow);
    const double factoredIce = fp.Store(kIceLoadFactorSNiP * ice);
    const bool snowGoverns = factoredSnow >= factoredIce;
    const double larger = snowGoverns ? factoredSnow : factoredIce;
    const double total =
        fp.Store(kOwnWeightFactorSNiP * pipe + kPressureFactorSNiP * gas + larger);
    const CombinedLoadSNiP sum{factoredSnow, factoredIce, snowGoverns, total};
    if (fp.Failed()) {
        return sum;  // the factor lines follow only a completed sum
    }
    report.AppendValue(
        "Коэффициент надежости по нагрузке/собственный вес (используется в методике по СНИП)    ",
        static_cast<double>(kOwnWeightFactorSNiP));
    report.AppendValue("Коэффициент надежости внутреннего давления/природный газ (используется в "
                       "методике по СНИП)    ",
                       static_cast<double>(kPressureFactorSNiP));
    report.AppendValue("Коэффициент надежости по нагрузке/снег (используется в методике по СНИП)    ",
                       static_cast<double>(kSnowLoadFactorSNiP));
    report.AppendValue(
        "Коэффициент надежости по нагрузке/гололед (используется в методике по СНИП)    ",
        static_cast<double>(kIceLoadFactorSNiP));
    return sum;
}

double SumLoadsSNiP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                    ReportWriter& report)
{
    return SumLoadsSNiPTerms(fp, pipe, gas, snow, ice, report).Total;
}

}  // namespace korvelin
