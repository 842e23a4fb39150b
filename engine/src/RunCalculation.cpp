#include "korvelin/RunCalculation.h"

#include "korvelin/ClimaticLoads.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/LoadCombinations.h"
#include "korvelin/SectionValues.h"
#include "korvelin/StrengthCriteria.h"

#include <string>

namespace korvelin {
namespace {

constexpr std::string_view kTitle = "Промежуточные расчетный  данные:";

// The fixed SNiP coefficients that the report lists after the condensate line.
constexpr struct {
    std::string_view Label;
    double Value;
} kFixedCoefficients[] = {
    {"Коэффициент надежости по материалу трубы/технологии (используется в методике по СНИП)    ",
     1.15},
    {"Коэффициент условия работы трубопроводов/по транспортируемой среде (используется в "
     "методике по СНИП)    ",
     0.55},
    {"Коэффициент надежости по материалу трубы/температуре (используется в методике по СНИП)    ",
     1.0},
};

// Ends the run with the message of the first floating-point fault, at the step that raised it.
void Fail(CalculationOutcome& outcome, const FpWatch& fp, CalculationStep step)
{
    outcome.Kind = OutcomeKind::Failed;
    outcome.Message = FpFaultMessage(fp.Fault());
    outcome.FaultStep = step;
    outcome.Fault = fp.Fault();
}

void AppendLoadTable(ReportWriter& report, const LoadSummary& loads, double pressure)
{
    report.Append(std::string(84, ' ') + "по СП:" + std::string(18, ' ') + "по СНиП");
    report.Append({});
    report.AppendTwoColumns("вес трубы, н/м", 58, *loads.PipeWeight, *loads.PipeWeight);
    report.AppendTwoColumns("вес газа, н/м", 60, *loads.GasWeightSP, *loads.GasWeightSNiP);
    report.AppendTwoColumns("снег, н/м", 66, *loads.SnowLoadSP, *loads.SnowLoadSNiP);
    report.AppendTwoColumns("гололед, н/м", 61, *loads.IceLoad, *loads.IceLoad);
    report.AppendTwoColumns("ветер, н/м", 61, *loads.WindLoad, *loads.WindLoad);
    report.AppendTwoColumns("Допустимое напряжение, МПА", 31, *loads.AllowableStressSP,
                            *loads.AllowableStressSNiP);
    report.AppendTwoColumns("сумма нагрузок, Н", 50, *loads.TotalLoadSP, *loads.TotalLoadSNiP);
    report.AppendTwoColumns("Рабочее давление газ, МПа", 36, pressure, pressure);
}

// The report's title line and two empty lines, written before the input is read.
void StartReport(ReportWriter& report)
{
    report.Append(std::string(75, ' ') + std::string(kTitle));
    report.Append({});
    report.Append({});
}

// Every step after the reading of the input, in order; each stores its value, then the run stops
// at the first fault.
void Calculate(const SpanInput& in, FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome)
{
    const double D = in.OuterDiameter;
    const double t = in.WallThickness;
    LoadSummary& loads = outcome.Loads;

    loads.AllowableStressSNiP = CalcAllowableStressSNiP(fp, in.YieldStrength);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::AllowableStressSNiP);
    loads.AllowableStressSP = CalcAllowableStress(fp, in.UltimateStrength, in.YieldStrength);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::AllowableStressSP);
    loads.PipeWeight = CalcPipeWeight(fp, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::PipeWeight);
    loads.GasWeightSP = CalcGasWeightSP(fp, D, t, in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::GasWeightSP);
    loads.GasWeightSNiP = CalcGasWeightSNiP(fp, 1, in.Pressure, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::GasWeightSNiP);
    loads.SnowLoadSP = CalcSnowLoadSP(fp, D, in.SnowRegion, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SnowLoadSP);
    loads.SnowLoadSNiP = CalcSnowLoadSNiP(fp, D, in.SnowRegion);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SnowLoadSNiP);
    loads.IceLoad = CalcIceLoad(fp, D, in.IceRegion, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::IceLoad);
    loads.WindLoad = CalcWindLoad(fp, D, in.HeightCategory, in.WindRegion, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::WindLoad);
    const CombinedLoadSP sp =
        SumLoadsSP(fp, *loads.PipeWeight, *loads.GasWeightSP, *loads.SnowLoadSP, *loads.IceLoad,
                   *loads.WindLoad);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SumLoadsSP);
    loads.TotalLoadSP = sp.Total;
    loads.VerticalLoadSP = sp.Vertical;
    loads.TotalLoadSNiP = SumLoadsSNiP(fp, *loads.PipeWeight, *loads.GasWeightSNiP,
                                       *loads.SnowLoadSNiP, *loads.IceLoad, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SumLoadsSNiP);

    const double condensate = CalcSpanCondensate(fp, D, t, sp.Total, in.Slope, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::CondensateSpanSP);
    outcome.Spans.CondensateSpanSP = condensate;

    for (const auto& coefficient : kFixedCoefficients) {
        report.AppendValue(coefficient.Label, coefficient.Value);
    }
    report.Append({});
    report.Append({});
    AppendLoadTable(report, loads, in.Pressure);

    const double staticSP = CalcSpanStaticSP(fp, D, t, *loads.AllowableStressSP, sp.Total,
                                             in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::StaticSpanSP);
    const double dynamicSP = CalcSpanDynamicSP(fp, D, t, sp.Vertical, in.SpanCount);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DynamicSpanSP);
    const double staticSNiP = CalcSpanStaticSNiP(fp, D, t, *loads.AllowableStressSNiP,
                                                 *loads.TotalLoadSNiP, in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::StaticSpanSNiP);
    outcome.Spans.DynamicSpanSP = dynamicSP;
    outcome.Spans.StaticSpanSP = staticSP;
    outcome.Spans.StaticSpanSNiP = staticSNiP;

    outcome.MomentOfInertia = CalcInertia(fp, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::MomentOfInertia);
    const double deflectionSP = CalcSpanDeflection(fp, *outcome.MomentOfInertia, staticSP,
                                                   sp.Total);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DeflectionSpanSP);
    const double deflectionSNiP = CalcSpanDeflection(fp, *outcome.MomentOfInertia, staticSNiP,
                                                     *loads.TotalLoadSNiP);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DeflectionSpanSNiP);
    outcome.Spans.DeflectionSpanSP = deflectionSP;
    outcome.Spans.DeflectionSpanSNiP = deflectionSNiP;
    outcome.Kind = OutcomeKind::Completed;
}

// Starts the outcome's report (kept only when it is written), then runs the body on it.
template <typename Body>
CalculationOutcome Run(std::string_view decimalSeparator, ReportMode reportMode, Body&& body)
{
    CalculationOutcome outcome;
    const bool written = reportMode == ReportMode::Written;
    if (written) {
        outcome.Report.reserve(26);
    }
    ReportWriter report(written ? &outcome.Report : nullptr, decimalSeparator);
    StartReport(report);
    FpWatch fp;
    body(fp, report, outcome);
    return outcome;
}

}  // namespace

CalculationOutcome RunCalculation(const FieldTexts& texts, const SelectorIndexes& indexes,
                                  std::string_view decimalSeparator, ReportMode reportMode)
{
    return Run(decimalSeparator, reportMode,
               [&](FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome) {
                   const InputReading reading = ReadSpanInput(texts, indexes, decimalSeparator, fp);
                   if (reading.Status != ReadStatus::Read) {
                       outcome.Kind = reading.Status == ReadStatus::Refused ? OutcomeKind::Refused
                                                                            : OutcomeKind::Failed;
                       outcome.Message = reading.Message;
                       outcome.FaultStep = reading.FaultStep;
                       outcome.Fault = reading.Fault;
                       return;
                   }
                   Calculate(reading.Input, fp, report, outcome);
               });
}

CalculationOutcome RunCalculation(const SpanInput& input, std::string_view decimalSeparator,
                                  ReportMode reportMode)
{
    return Run(decimalSeparator, reportMode,
               [&](FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome) {
                   Calculate(input, fp, report, outcome);
               });
}

}  // namespace korvelin
