#pragma once

namespace korvelin {

// The step of a run at which a floating-point fault ended it: the reading of one of the five
// field texts, or one of the computations in the order the run makes them.
enum class CalculationStep {
    None,
    ReadOuterDiameter,
    ReadWallThickness,
    ReadUltimateStrength,
    ReadYieldStrength,
    ReadPressure,
    AllowableStressSNiP,
    AllowableStressSP,
    PipeWeight,
    GasWeightSP,
    GasWeightSNiP,
    SnowLoadSP,
    SnowLoadSNiP,
    IceLoad,
    WindLoad,
    SumLoadsSP,
    SumLoadsSNiP,
    CondensateSpanSP,
    StaticSpanSP,
    DynamicSpanSP,
    StaticSpanSNiP,
    MomentOfInertia,
    DeflectionSpanSP,
    DeflectionSpanSNiP,
};

}  // namespace korvelin
