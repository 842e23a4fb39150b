#include "korvelin/LoadCombinations.h"

namespace korvelin {

using Ext = long double;

CombinedLoadSP SumLoadsSP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                          double wind)
{
    const double larger = snow >= ice ? snow : ice;
    const double vertical = fp.Store(Ext{pipe} + gas + larger);
    const double total = fp.Store(fp.Pow(Ext{wind} * wind + Ext{vertical} * vertical, 0.5L));
    return {total, vertical};
}

double SumLoadsSNiP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                    ReportWriter& report)
{
    const double factoredSnow = fp.Store(1.4L * snow);
    const double factoredIce = fp.Store(1.3L * ice);
    const double larger = factoredSnow >= factoredIce ? factoredSnow : factoredIce;
    const double total = fp.Store(1.1L * pipe + 1.1L * gas + larger);
    if (fp.Failed()) {
        return total;  // the factor lines follow only a completed sum
    }
    report.AppendValue(
        "Коэффициент надежости по нагрузке/собственный вес (используется в методике по СНИП)    ",
        1.1);
    report.AppendValue("Коэффициент надежости внутреннего давления/природный газ (используется в "
                       "методике по СНИП)    ",
                       1.1);
    report.AppendValue("Коэффициент надежости по нагрузке/снег (используется в методике по СНИП)    ",
                       1.4);
    report.AppendValue(
        "Коэффициент надежости по нагрузке/гололед (используется в методике по СНИП)    ", 1.3);
    return total;
}

}  // namespace korvelin
