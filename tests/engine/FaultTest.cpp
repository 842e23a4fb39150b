#include "korvelin/FpWatch.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/StrengthCriteria.h"

#include <gtest/gtest.h>

#include <cfenv>
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

// Checked at the end, the operations run on after a fault and the flags tell of it once asked;
// the values are those of the watch that checks each operation, to the last bit.
TEST(FpWatch, CheckedAtTheEndRunsOnAndTellsAtTheEnd)
{
    FpWatch each;
    FpWatch atEnd(FpWatch::Checks::AtTheEnd);
    for (FpWatch* fp : {&each, &atEnd}) {
        EXPECT_EQ(fp->Store(fp->Div(2, 3)), 2.0 / 3);
        EXPECT_EQ(fp->Pow(16, 0.25L), each.Pow(16, 0.25L));
        EXPECT_EQ(fp->Pow(-2, 3), -8);
        EXPECT_EQ(fp->Pow(0, 0.5L), 0);
        EXPECT_FALSE(fp->MayHaveFaulted());
    }
    volatile long double beyondDouble = 1e400L;  // not a constant the compiler could fold
    EXPECT_TRUE(std::isinf(atEnd.Store(beyondDouble)));
    EXPECT_FALSE(atEnd.Failed());
    EXPECT_EQ(atEnd.Fault(), FpFault::None);
    EXPECT_TRUE(atEnd.MayHaveFaulted());
}

// A watch starts from clear flags, whatever the caller's arithmetic raised in either unit before.
TEST(FpWatch, StartsFromClearFlags)
{
    volatile long double extendedZero = 0;
    volatile double doubleZero = 0;
    volatile long double extendedQuotient = 1 / extendedZero;
    volatile double doubleQuotient = doubleZero / doubleZero;
    static_cast<void>(extendedQuotient);
    static_cast<void>(doubleQuotient);
    ASSERT_NE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID), 0);
    FpWatch fp(FpWatch::Checks::AtTheEnd);
    EXPECT_FALSE(fp.MayHaveFaulted());
    EXPECT_EQ(RunCalculation(FieldTexts{"89", "3,2", "333", "206", "0,6"}, SelectorIndexes{}, ",").Kind,
              OutcomeKind::Completed);
}

// A step that faults twice ends with its first fault, not the one a reading of all its flags at
// once would name. In the SP static step a negative allowable stress makes the square root
// invalid first, then the hoop stress over a tiny stress overflows: both flags are up at the
// step's end, and overflow would be named before invalid.
TEST(FpWatch, AStepWithTwoFaultsEndsWithTheFirst)
{
    FpWatch fp;
    CalcSpanStaticSPTerms(fp, 0.089, 0.0032, -1e-300, 1000, 1e20);
    EXPECT_EQ(fp.Fault(), FpFault::InvalidOperation);

    FpWatch atEnd(FpWatch::Checks::AtTheEnd);
    CalcSpanStaticSPTerms(atEnd, 0.089, 0.0032, -1e-300, 1000, 1e20);
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO), FE_INVALID | FE_OVERFLOW);

    SpanInput input;
    input.OuterDiameter = 0.089;
    input.WallThickness = 0.0032;
    input.UltimateStrength = 333;
    input.YieldStrength = -1.5e-300;  // the allowable stress -1e-300
    input.Pressure = 1e20;
    for (const ReportMode mode : {ReportMode::Written, ReportMode::Omitted}) {
        const CalculationOutcome outcome = RunCalculation(input, ",", mode);
        EXPECT_EQ(outcome.Kind, OutcomeKind::Failed);
        EXPECT_EQ(outcome.Message, "Invalid floating point operation");
        EXPECT_EQ(outcome.FaultStep, CalculationStep::StaticSpanSP);
        EXPECT_EQ(outcome.Report.size(), mode == ReportMode::Written ? 26u : 0u);
        EXPECT_TRUE(outcome.Spans.CondensateSpanSP.has_value());
        EXPECT_FALSE(outcome.Spans.StaticSpanSP.has_value());
        EXPECT_FALSE(outcome.Trace.has_value());
    }
}

}  // namespace
}  // namespace korvelin
