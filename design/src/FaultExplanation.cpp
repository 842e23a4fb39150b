#include "korvelin/FaultExplanation.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/InputRemarks.h"

#include <optional>
#include <string_view>

namespace korvelin {
namespace {

// The caption of the field whose text a reading step converts.
std::string_view FieldLabel(CalculationStep step)
{
    switch (step) {
    case CalculationStep::ReadOuterDiameter: return FieldCaption(&FieldTexts::OuterDiameter);
    case CalculationStep::ReadWallThickness: return FieldCaption(&FieldTexts::WallThickness);
    case CalculationStep::ReadUltimateStrength: return FieldCaption(&FieldTexts::UltimateStrength);
    case CalculationStep::ReadYieldStrength: return FieldCaption(&FieldTexts::YieldStrength);
    case CalculationStep::ReadPressure: return FieldCaption(&FieldTexts::Pressure);
    default: return {};
    }
}

std::optional<Criterion> CriterionOf(CalculationStep step)
{
    switch (step) {
    case CalculationStep::StaticSpanSP: return Criterion::StaticSP;
    case CalculationStep::StaticSpanSNiP: return Criterion::StaticSNiP;
    case CalculationStep::DeflectionSpanSP: return Criterion::DeflectionSP;
    case CalculationStep::DeflectionSpanSNiP: return Criterion::DeflectionSNiP;
    default: return std::nullopt;
    }
}

// The criterion's name and its set of rules, for the reader to find the step.
std::string Where(Criterion criterion)
{
    return " (" + std::string(CriterionName(criterion)) + " по " +
           std::string(RuleSetName(RuleSetOf(criterion))) + ")";
}

}  // namespace

// The causes follow from the formulas, for values that are positive and a wall thinner than half
// the diameter (the reading refuses any other):
// - a value read from a field overflows only when its number is beyond the double range;
// - in the static criteria the fourth root of 1 - 0.75 s^2 faults (or s itself overflows) only
//   when the hoop stress of the pressure exceeds the allowable stress by more than 1.15 times;
// - the deflection divides by the moment of inertia, which is zero only for a section so small
//   that it underflows, and overflows only for a deflection beyond the double range;
// - every other step multiplies the inputs, divides by constants or by a load that grows with
//   them: its overflow means inputs too large.
std::string FaultExplanation(const CalculationOutcome& outcome)
{
    const CalculationStep step = outcome.FaultStep;
    const FpFault fault = outcome.Fault;
    if (outcome.Kind != OutcomeKind::Failed || fault == FpFault::None || step == CalculationStep::None) {
        return {};
    }
    if (const std::string_view field = FieldLabel(step); !field.empty()) {
        return fault == FpFault::Overflow
                   ? "число в поле «" + std::string(field) + "» слишком велико для расчета"
                   : std::string();
    }
    if (const std::optional<Criterion> criterion = CriterionOf(step)) {
        const bool isStatic = *criterion == Criterion::StaticSP || *criterion == Criterion::StaticSNiP;
        if (isStatic && (fault == FpFault::InvalidOperation || fault == FpFault::Overflow)) {
            return "давление слишком велико для этой толщины стенки" + Where(*criterion);
        }
        if (!isStatic && fault == FpFault::DivisionByZero) {
            return "сечение трубы слишком мало для расчета: его момент инерции равен нулю" +
                   Where(*criterion);
        }
        if (!isStatic && fault == FpFault::Overflow) {
            return "прогиб вышел за пределы чисел, с которыми ведется расчет: исходные значения "
                   "слишком велики или слишком малы" + Where(*criterion);
        }
        return {};
    }
    return fault == FpFault::Overflow ? "исходные значения слишком велики для расчета" : std::string();
}

std::string ExplainedMessage(const CalculationOutcome& outcome, const FieldTexts& texts,
                             std::string_view decimalSeparator)
{
    if (outcome.Kind == OutcomeKind::Refused && outcome.Message == kIncompleteInputMessage) {
        if (const std::string zero = ZeroFieldsText(texts, decimalSeparator); !zero.empty()) {
            return outcome.Message + " — " + zero;
        }
    }
    return ExplainedMessage(outcome);
}

std::string ExplainedMessage(const CalculationOutcome& outcome)
{
    const std::string explanation = FaultExplanation(outcome);
    return explanation.empty() ? outcome.Message : outcome.Message + " — " + explanation;
}

}  // namespace korvelin
