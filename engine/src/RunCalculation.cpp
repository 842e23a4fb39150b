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
     static_cast<double>(kMaterialFactorSNiP)},
    {"Коэффициент условия работы трубопроводов/по транспортируемой среде (используется в "
     "методике по СНИП)    ",
     static_cast<double>(kWorkingConditionFactorSNiP)},
    {"Коэффициент надежости по материалу трубы/температуре (используется в методике по СНИП)    ",
     static_cast<double>(kTemperatureFactorSNiP)},
};

// A completed run's report: its lines, and room for their text (about 2,300 bytes with the
// longest numbers).
constexpr std::size_t kReportLines = 26;
constexpr std::size_t kReportCharacters = 3072;

// Ends the run with the message of the first floating-point fault, at the step that raised it.
void Fail(CalculationOutcome& outcome, const FpWatch& fp, CalculationStep step)
{
    outcome.Trace.reset();
    outcome.Kind = OutcomeKind::Failed;
    outcome.Message = FpFaultMessage(fp.Fault());
    outcome.FaultStep = step;
    outcome.Fault = fp.Fault();
}

void AppendLoadTable(ReportWriter& report, const LoadSummary& loads, double pressure)
{
    if (!report.Writes()) {
        return;
    }
    report.AppendBlanked(84, "по СП:", 18, "по СНиП");
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
    if (!report.Writes()) {
        return;
    }
    report.AppendBlanked(75, kTitle);
    report.Append({});
    report.Append({});
}

// Every step after the reading of the input, in order; each stores its value, then the run stops
// at the first fault. The terms of every formula go into the trace as they are computed; the
// outcome keeps them when asked to and the run completes.
void Calculate(const SpanInput& in, FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome,
               bool keepTrace)
{
    const double D = in.OuterDiameter;
    const double t = in.WallThickness;
    LoadSummary& loads = outcome.Loads;
    // The trace is written where the outcome keeps it, and dropped again when the run fails.
    CalculationTrace unkept;
    CalculationTrace& trace = keepTrace ? outcome.Trace.emplace() : unkept;
    trace.Input = in;
    outcome.Input = in;
    // Each normative value is the site's own where given, else the table value of its region.
    NormativeValues& normative = outcome.Normative;

    loads.AllowableStressSNiP = trace.AllowableStressSNiP =
        CalcAllowableStressSNiP(fp, in.YieldStrength);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::AllowableStressSNiP);
    trace.Candidates = CalcAllowableStressCandidates(fp, in.UltimateStrength, in.YieldStrength);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::AllowableStressSP);
    loads.AllowableStressSP = trace.AllowableStressSP = SmallerCandidate(trace.Candidates);
    loads.PipeWeight = trace.PipeWeight = CalcPipeWeight(fp, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::PipeWeight);
    loads.GasWeightSP = trace.GasWeightSP = CalcGasWeightSP(fp, D, t, in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::GasWeightSP);
    loads.GasWeightSNiP = trace.GasWeightSNiP = CalcGasWeightSNiP(fp, 1, in.Pressure, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::GasWeightSNiP);
    normative.SnowWeight = in.Own.SnowWeight.value_or(RegionValue(kSnowWeight, in.SnowRegion));
    trace.SnowSP = CalcSnowLoadSPTerms(fp, D, *normative.SnowWeight, report);
    loads.SnowLoadSP = trace.SnowSP.Load;
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SnowLoadSP);
    trace.SnowSNiP = CalcSnowLoadSNiPTerms(fp, D, *normative.SnowWeight);
    loads.SnowLoadSNiP = trace.SnowSNiP.Load;
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SnowLoadSNiP);
    normative.IceThickness = in.Own.IceThickness.value_or(RegionValue(kIceThickness, in.IceRegion));
    trace.Ice = CalcIceLoadTerms(fp, D, *normative.IceThickness, report);
    loads.IceLoad = trace.Ice.Load;
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::IceLoad);
    normative.WindPressure = in.Own.WindPressure.value_or(RegionValue(kWindPressure, in.WindRegion));
    trace.Wind = CalcWindLoadTerms(fp, D, in.HeightCategory, *normative.WindPressure, report);
    loads.WindLoad = trace.Wind.Load;
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::WindLoad);
    const CombinedLoadSP sp = trace.LoadSP =
        SumLoadsSP(fp, *loads.PipeWeight, *loads.GasWeightSP, *loads.SnowLoadSP, *loads.IceLoad,
                   *loads.WindLoad);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SumLoadsSP);
    loads.TotalLoadSP = sp.Total;
    loads.VerticalLoadSP = sp.Vertical;
    trace.LoadSNiP = SumLoadsSNiPTerms(fp, *loads.PipeWeight, *loads.GasWeightSNiP,
                                       *loads.SnowLoadSNiP, *loads.IceLoad, report);
    loads.TotalLoadSNiP = trace.LoadSNiP.Total;
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::SumLoadsSNiP);

    trace.Condensate = CalcSpanCondensateTerms(fp, D, t, sp.Total, in.Slope, report);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::CondensateSpanSP);
    outcome.Spans.CondensateSpanSP = trace.Condensate.Span;

    for (const auto& coefficient : kFixedCoefficients) {
        report.AppendValue(coefficient.Label, coefficient.Value);
    }
    report.Append({});
    report.Append({});
    AppendLoadTable(report, loads, in.Pressure);

    trace.StaticSP =
        CalcSpanStaticSPTerms(fp, D, t, *loads.AllowableStressSP, sp.Total, in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::StaticSpanSP);
    trace.DynamicSP = CalcSpanDynamicSPTerms(fp, D, t, sp.Vertical, in.SpanCount);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DynamicSpanSP);
    trace.StaticSNiP = CalcSpanStaticSNiPTerms(fp, D, t, *loads.AllowableStressSNiP,
                                               *loads.TotalLoadSNiP, in.Pressure);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::StaticSpanSNiP);
    outcome.Spans.DynamicSpanSP = trace.DynamicSP.Span;
    outcome.Spans.StaticSpanSP = trace.StaticSP.Span;
    outcome.Spans.StaticSpanSNiP = trace.StaticSNiP.Span;

    outcome.MomentOfInertia = trace.Inertia = CalcInertia(fp, D, t);
    if (fp.Failed()) return Fail(outcome, fp, CalculationStep::MomentOfInertia);
    if (fp.Mode() == FpWatch::Checks::AtTheEnd) {
        // Checked at the end, the run does not stop between the two searches: they go side by side.
        const auto searches =
            SearchSpanDeflections(fp, trace.Inertia, {trace.StaticSP.Span, trace.StaticSNiP.Span},
                                  {sp.Total, *loads.TotalLoadSNiP});
        trace.DeflectionSP = searches[0];
        trace.DeflectionSNiP = searches[1];
    } else {
        trace.DeflectionSP = SearchSpanDeflection(fp, trace.Inertia, trace.StaticSP.Span, sp.Total);
        if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DeflectionSpanSP);
        trace.DeflectionSNiP = SearchSpanDeflection(fp, trace.Inertia, trace.StaticSNiP.Span,
                                                    *loads.TotalLoadSNiP);
        if (fp.Failed()) return Fail(outcome, fp, CalculationStep::DeflectionSpanSNiP);
    }
    outcome.Spans.DeflectionSpanSP = trace.DeflectionSP.Span;
    outcome.Spans.DeflectionSpanSNiP = trace.DeflectionSNiP.Span;
    outcome.Kind = OutcomeKind::Completed;
}

// Starts the outcome's report (kept only when it is written), then runs the body on it.
template <typename Body>
void Attempt(CalculationOutcome& outcome, FpWatch& fp, std::string_view decimalSeparator,
             ReportMode reportMode, Body& body)
{
    const bool written = reportMode == ReportMode::Written;
    if (written) {
        outcome.Report.reserve(kReportLines, kReportCharacters);
    }
    ReportWriter report(written ? &outcome.Report : nullptr, decimalSeparator);
    StartReport(report);
    body(fp, report, outcome, written);
}

// Runs the body with the flags read once, at the end. A run with no flag raised is the run that
// checks each operation, to the last bit. Otherwise the run is made again operation by operation:
// it stops at the first fault with its step and message, as runs always have; faulted runs are
// rare, and take twice the time.
template <typename Body>
CalculationOutcome Run(std::string_view decimalSeparator, ReportMode reportMode, Body&& body)
{
    CalculationOutcome outcome;
    {
        FpWatch fp(FpWatch::Checks::AtTheEnd);
        Attempt(outcome, fp, decimalSeparator, reportMode, body);
        if (!fp.MayHaveFaulted()) {
            return outcome;
        }
    }
    outcome = CalculationOutcome{};
    FpWatch fp;
    Attempt(outcome, fp, decimalSeparator, reportMode, body);
    return outcome;
}

}  // namespace

CalculationOutcome RunCalculation(const FieldTexts& texts, const SelectorIndexes& indexes,
                                  std::string_view decimalSeparator, ReportMode reportMode)
{
    return RunCalculation(texts, indexes, OwnClimate{}, decimalSeparator, reportMode);
}

CalculationOutcome RunCalculation(const FieldTexts& texts, const SelectorIndexes& indexes,
                                  const OwnClimate& own, std::string_view decimalSeparator,
                                  ReportMode reportMode)
{
    return Run(decimalSeparator, reportMode,
               [&](FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome, bool keepTrace) {
                   const InputReading reading = ReadSpanInput(texts, indexes, decimalSeparator, fp);
                   if (reading.Status != ReadStatus::Read) {
                       outcome.Kind = reading.Status == ReadStatus::Refused ? OutcomeKind::Refused
                                                                            : OutcomeKind::Failed;
                       outcome.Message = reading.Message;
                       outcome.FaultStep = reading.FaultStep;
                       outcome.Fault = reading.Fault;
                       return;
                   }
                   SpanInput input = reading.Input;
                   input.Own = own;
                   Calculate(input, fp, report, outcome, keepTrace);
               });
}

CalculationOutcome RunCalculation(const SpanInput& input, std::string_view decimalSeparator,
                                  ReportMode reportMode)
{
    return Run(decimalSeparator, reportMode,
               [&](FpWatch& fp, ReportWriter& report, CalculationOutcome& outcome, bool keepTrace) {
                   Calculate(input, fp, report, outcome, keepTrace);
               });
}

}  // namespace korvelin
