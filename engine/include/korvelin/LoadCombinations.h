#pragma once

#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"

namespace korvelin {

struct CombinedLoadSP {
    double Total;     // sqrt(wind^2 + V^2)
    double Vertical;  // V = pipe + gas + the larger of snow and ice
};

// Normative loads without factors; the wind at right angles to the vertical loads.
CombinedLoadSP SumLoadsSP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                          double wind);
// 1.1 * pipe + 1.1 * gas + the larger of 1.4 * snow and 1.3 * ice; appends the four factor lines.
double SumLoadsSNiP(FpWatch& fp, double pipe, double gas, double snow, double ice,
                    ReportWriter& report);

}  // namespace korvelin
