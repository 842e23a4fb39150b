#pragma once

#include "korvelin/ClimaticLoads.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/LoadCombinations.h"
#include "korvelin/SectionValues.h"
#include "korvelin/SpanInput.h"
#include "korvelin/StrengthCriteria.h"

namespace korvelin {

// The factors of the SNiP rules that the report lists without a formula of their own: the
// material factor is the divisor of the SNiP allowable stress, the working-condition factor
// multiplies it in the static criterion, the temperature factor is 1.
inline constexpr long double kTemperatureFactorSNiP = 1.0L;

// Every formula of a completed run with the values it was evaluated with, in the order of the
// calculation: the input in the units of the formulas, the normative values read from the tables
// and every stored intermediate value. The calculation note shows the method from it, so that it
// shows what the run computed, not a second calculation.
struct CalculationTrace {
    SpanInput Input;
    double AllowableStressSNiP = 0;
    AllowableStressCandidates Candidates{};
    double AllowableStressSP = 0;
    double PipeWeight = 0;
    double GasWeightSP = 0;
    double GasWeightSNiP = 0;
    SnowLoad SnowSP{};
    SnowLoad SnowSNiP{};
    IceLoad Ice{};
    WindLoad Wind{};
    CombinedLoadSP LoadSP{};
    CombinedLoadSNiP LoadSNiP{};
    CondensateSpanTerms Condensate{};
    StaticSpanTerms StaticSP{};
    DynamicSpanTerms DynamicSP{};
    StaticSpanTerms StaticSNiP{};
    double Inertia = 0;
    DeflectionSearch DeflectionSP;
    DeflectionSearch DeflectionSNiP;
};

}  // namespace korvelin
