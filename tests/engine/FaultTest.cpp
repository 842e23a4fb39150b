#include "korvelin/FaultExplanation.h"
#include "korvelin/FpWatch.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace korvelin {
namespace {

// The optimised build must keep each fault at the operation that raised it.
TEST(FpWatch, RecordsTheFirstFaultOnly)
{
    FpWatch fp;
    EXPECT_EQ(fp.Fault(), FpFault::None);
    fp.Div(1, 0);
    EXPECT_EQ(fp.Fault(), FpFault::DivisionByZero);
    fp.Pow(-1, 0.5L);
    fp.Store(1e400L);
    EXPECT_EQ(fp.Fault(), FpFault::DivisionByZero);
}

TEST(FpWatch, EachFaultHasItsMessage)
{
    FpWatch division;
    division.Div(5, 0);
    EXPECT_EQ(FpFaultMessage(division.Fault()), "Floating point division by zero");

    FpWatch invalid;
    invalid.Pow(-16, 0.25L);
    EXPECT_EQ(FpFaultMessage(invalid.Fault()), "Invalid floating point operation");

    FpWatch zeroByZero;
    zeroByZero.Div(0, 0);
    EXPECT_EQ(zeroByZero.Fault(), FpFault::InvalidOperation);

    FpWatch overflow;
    overflow.Store(static_cast<long double>(DBL_MAX) * 2);
    EXPECT_EQ(FpFaultMessage(overflow.Fault()), "Floating point overflow");
}

TEST(FpWatch, UnderflowAndInexactPassSilently)
{
    FpWatch fp;
    EXPECT_EQ(fp.Store(1e-400L), 0.0);
    EXPECT_GT(fp.Store(1e-310L), 0.0);
    fp.Div(1, 3);
    EXPECT_FALSE(fp.Failed());
}

TEST(FpWatch, PowerRules)
{
    FpWatch fp;
    EXPECT_EQ(fp.Pow(-5, 0), 1);
    EXPECT_EQ(fp.Pow(0, 0.25L), 0);
    EXPECT_EQ(fp.Pow(-3, 2), 9);
    EXPECT_EQ(fp.Pow(-2, 3), -8);
    EXPECT_EQ(fp.Pow(2, -2), 0.25L);
    EXPECT_NEAR(static_cast<double>(fp.Pow(16, 0.25L)), 2.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(fp.Pow(2, 0.5L)), std::sqrt(2.0), 1e-15);
    EXPECT_FALSE(fp.Failed());
    fp.Pow(-2, 0.5L);
    EXPECT_EQ(fp.Fault(), FpFault::InvalidOperation);
}

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
