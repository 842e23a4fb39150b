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

}  // namespace
}  // namespace korvelin
