#include "korvelin/FaultExplanation.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

// Typed numbers of 10^k (k < 0: a decimal fraction), as the fields can hold them.
std::string Power(int k)
{
    return k >= 0 ? "1" + std::string(std::size_t(k), '0') : "0," + std::string(std::size_t(-k - 1), '0') + "1";
}

// The run names the step that faulted, and the cause is explained where it follows from the
// formulas; refusals, conversion errors and completed runs get no explanation.
TEST(FaultExplanation, NamesTheStepAndTheCause)
{
    const struct {
        const char* Name;
        FieldTexts Texts;
        CalculationStep Step;
        FpFault Fault;
        std::string Explanation;
    } cases[] = {
        {"pressure beyond the SP static criterion", {"89", "3,2", "333", "206", "12"}, CalculationStep::StaticSpanSP,
         FpFault::InvalidOperation,
         "давление слишком велико для этой толщины стенки (статический расчет на прочность по СП 42-102-2004)"},
        {"pressure beyond the SNiP static criterion only", {"89", "3,2", "333", "206", "9"},
         CalculationStep::StaticSpanSNiP, FpFault::InvalidOperation,
         "давление слишком велико для этой толщины стенки (статический расчет на прочность по СНиП 2.04.12-86)"},
        {"diameter beyond double", {Power(400), "3", "333", "206", "0,6"}, CalculationStep::ReadOuterDiameter,
         FpFault::Overflow, "число в поле «Наружный диаметр» слишком велико для расчета"},
        {"pipe weight beyond double", {Power(200), Power(160), "333", "206", "0,6"}, CalculationStep::PipeWeight,
         FpFault::Overflow, "исходные значения слишком велики для расчета"},
        {"section too small", {Power(-300), Power(-301), "333", "206", Power(-300)}, CalculationStep::DeflectionSpanSP,
         FpFault::DivisionByZero,
         "сечение трубы слишком мало для расчета: его момент инерции равен нулю (предельный прогиб по СП 42-102-2004)"},
        {"refused", {"89", "0", "333", "206", "0,6"}, CalculationStep::None, FpFault::None, ""},
        {"completed", {"89", "3,2", "333", "206", "0,6"}, CalculationStep::None, FpFault::None, ""},
    };
    for (const auto& c : cases) {
        const CalculationOutcome outcome = RunCalculation(c.Texts, SelectorIndexes{}, ",");
        EXPECT_EQ(outcome.FaultStep, c.Step) << c.Name;
        EXPECT_EQ(outcome.Fault, c.Fault) << c.Name;
        EXPECT_EQ(FaultExplanation(outcome), c.Explanation) << c.Name;
        EXPECT_EQ(ExplainedMessage(outcome),
                  c.Explanation.empty() ? outcome.Message : outcome.Message + " — " + c.Explanation)
            << c.Name;
    }
}

}  // namespace
}  // namespace korvelin
