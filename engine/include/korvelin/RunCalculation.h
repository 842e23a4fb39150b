#pragma once

#include "korvelin/CalculationTrace.h"
#include "korvelin/CalculationStep.h"
#include "korvelin/FpWatch.h"
#include "korvelin/ReportWriter.h"
#include "korvelin/SpanInput.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// Loads per metre (N/m) and allowable stresses (MPa) of one run; a field is empty until the run
// has computed it.
struct LoadSummary {
    std::optional<double> PipeWeight;
    std::optional<double> GasWeightSP;
    std::optional<double> GasWeightSNiP;
    std::optional<double> SnowLoadSP;
    std::optional<double> SnowLoadSNiP;
    std::optional<double> IceLoad;
    std::optional<double> WindLoad;
    std::optional<double> VerticalLoadSP;
    std::optional<double> TotalLoadSP;
    std::optional<double> TotalLoadSNiP;
    std::optional<double> AllowableStressSP;
    std::optional<double> AllowableStressSNiP;
};

// The six spans in metres; a span is present once the run has produced it for display.
struct SpanResults {
    std::optional<double> StaticSpanSP;        // Edit6
    std::optional<double> DynamicSpanSP;       // Edit7
    std::optional<double> CondensateSpanSP;    // Edit8
    std::optional<double> DeflectionSpanSP;    // Edit9
    std::optional<double> StaticSpanSNiP;      // Edit11
    std::optional<double> DeflectionSpanSNiP;  // Edit13
};

// Snow weight S (kN/m2), wind pressure w0 (kPa) and ice wall thickness b (m) that a run used.
struct NormativeValues {
    std::optional<double> SnowWeight;
    std::optional<double> WindPressure;
    std::optional<double> IceThickness;
};

enum class OutcomeKind {
    Completed,
    Refused,  // incomplete or impossible input: a plain message
    Failed,   // a conversion or arithmetic error: an error message
};

struct CalculationOutcome {
    OutcomeKind Kind = OutcomeKind::Completed;
    std::string Message;  // empty on completion
    IntermediateReport Report;
    SpanResults Spans;
    LoadSummary Loads;
    std::optional<double> MomentOfInertia;  // m^4
    // The input set as read, and the normative values the loads were computed with: the table
    // values of the regions or the site's own values (Input->Own says which).
    std::optional<SpanInput> Input;
    NormativeValues Normative;
    // The terms of every formula, for the calculation note: present when the run completed with
    // its report written.
    std::optional<CalculationTrace> Trace;
    // For a run that a floating-point fault ended: the step and the fault.
    CalculationStep FaultStep = CalculationStep::None;
    FpFault Fault = FpFault::None;
};

enum class ReportMode {
    Written,  // the outcome carries the intermediate report
    Omitted,  // only results and messages: for tables of many runs that show no report
};

// Runs the whole calculation on the texts of the five numeric fields and the six selector
// indexes. The decimal separator is the one of the user's locale: it is accepted in the texts
// (beside "," and ".") and used in every number of the report.
CalculationOutcome RunCalculation(const FieldTexts& texts, const SelectorIndexes& indexes,
                                  std::string_view decimalSeparator,
                                  ReportMode reportMode = ReportMode::Written);

// The same with the site's own climatic values in place of the table values they replace (read
// with ReadOwnClimate); with none, the same run as above, to the last bit.
CalculationOutcome RunCalculation(const FieldTexts& texts, const SelectorIndexes& indexes,
                                  const OwnClimate& own, std::string_view decimalSeparator,
                                  ReportMode reportMode = ReportMode::Written);

// Runs the calculation on an input set that is read already, from the section values on. None of
// the refusals of the reading applies: the indexes must have rows in the tables, but the values
// may be ones the fields never give (a negative wall, for one).
CalculationOutcome RunCalculation(const SpanInput& input, std::string_view decimalSeparator,
                                  ReportMode reportMode = ReportMode::Written);

}  // namespace korvelin
