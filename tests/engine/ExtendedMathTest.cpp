#include "korvelin/ExtendedMath.h"
#include "korvelin/FpWatch.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace korvelin {
namespace {

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

struct MathCase {
    long double Argument;
    long double Expected;
};

// The correctly rounded values (MPFR gives the same), on every system and processor. Some are
// one unit from what the C library's x87 expl and logl give: exp(-20.5), log(0x8.3126...p-13),
// and near 1 the unit's fyl2xp1, which differs between processors.
TEST(ExtendedMath, ExponentialToTheLastBit)
{
    const MathCase cases[] = {
        {0x8p-4L, 0xd.3094c70f034de4cp-3L},    {-0x8p-4L, 0x9.b4597e37cb04ff4p-4L},
        {0x8p-3L, 0xa.df85458a2bb4a9bp-2L},    {0x9.35d8dddaaa8ac17p-2L, 0xap+0L},
        {0xap+0L, 0xa.c14ee7ca82afcf8p+11L},   {-0xa.4p+1L, 0xa.bd1d7f768055a7fp-33L},
        {0xb.17p+10L, 0x9.7ae01b5ed4a38fcp+16380L},
        {0xd.be6fecebdedd5bfp-37L, 0x8.000000036f9bfb4p-3L},
        {0x9.99999999999999ap-6L, 0x9.4b6fc05f209122fp-3L}, {-0xe.8p-1L, 0xb.a2aff191fd7ea9ep-14L},
        {0x1p-70L, 1.0L + 0x1p-70L}, {0.0L, 1.0L}, {-0.0L, 1.0L},
        // 1 + x is the middle between two neighbours and x^2/2 decides: these take the slow path.
        {0x3p-64L, 0x8.000000000000002p-3L}, {-0x3p-65L, 0xf.fffffffffffffffp-4L},
        // An argument the fast path leaves open, found among 50 million random ones.
        {-0x9.11db6071576ae1cp+1L, 0xe.3942fd2f024167ap-30L},
        // Either side of the overflow threshold 16384 ln 2, and subnormal results.
        {0xb.17217f7d1cf79abp+10L, 0xf.fffffffffffcd87p+16380L},
        {0xb.17217f7d1cf79acp+10L, std::numeric_limits<long double>::infinity()},
        {0xb.15aba62271360acp+10L, 0xb.e5e6ea7ba65cea2p+16372L},
        {-0xb.17p+10L, 0x3.6022fbac6caf9d6p-16385L}, {-0xb.1ep+10L, 0x0.000000000290f4fp-16385L},
        {-11400.0L, 0.0L}};
    for (const MathCase& c : cases)
        EXPECT_TRUE(SameBits(ExtendedExp(c.Argument), c.Expected)) << std::hexfloat << c.Argument;
}

TEST(ExtendedMath, LogarithmToTheLastBit)
{
    const MathCase cases[] = {
        {0x8p-2L, 0xb.17217f7d1cf79acp-4L},    {0x8p-4L, -0xb.17217f7d1cf79acp-4L},
        {0xcp-4L, -0x9.34b1089a6dc93c2p-5L},   {0xap-3L, 0xe.47fbe3cd4d10d61p-6L},
        {0xa.b70fe17c79ac6cap-1000L, -0xa.cb1a23fc3fda9abp+6L},
        {0xf.12064fdf3b645a2p+13L, 0xb.b940e56c5421dffp+0L},
        {0x8.3126e978d4fdf3bp-13L, -0xd.d0c54cc7ffd0222p-1L},
        {0xa.51eb851eb851eb8p-3L, 0x8.260770030dad715p-5L},
        {0xb.5c28f5c28f5c28fp-4L, -0xa.f5ae3c83f264698p-5L}, {1.0L, 0.0L},
        {0x8.00000d6bf94d5e5p-3L, 0xd.6bf9421c0249474p-27L},
        // log(1 + 6 2^-63) = 6 2^-63 - 4.5 2^-124 + 72 2^-189: just above a middle (slow path).
        {0x8.000000000000006p-3L, 0xb.ffffffffffffffcp-64L},
        {0xf.fffffffffffffffp-4L, -0x8p-67L}, {0xf.ffffffffffffffdp-4L, -0xc.000000000000001p-66L},
        // The extremes of the range: the smallest subnormal number and the largest finite one.
        {0x1p-16445L, -0xb.21b38b6aa03736cp+10L}, {0xf.fffffffffffffffp+16380L, 0xb.17217f7d1cf79acp+10L}};
    for (const MathCase& c : cases)
        EXPECT_TRUE(SameBits(ExtendedLog(c.Argument), c.Expected)) << std::hexfloat << c.Argument;
    EXPECT_FALSE(std::signbit(ExtendedLog(1.0L)));
}

// Both functions rely on the unit rounding to nearest with 64-bit mantissas, as Linux and MinGW
// programs start.
TEST(ExtendedMath, TheUnitRoundsToNearestWithAFullMantissa)
{
    unsigned short control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    EXPECT_EQ(control & 0x300, 0x300) << "precision control";
    EXPECT_EQ(control & 0xc00, 0) << "rounding control";
}

struct FlagCase {
    const char* Name;
    long double (*Function)(long double) noexcept;
    long double Argument;
    int Raised;
};

// The faults a calculation must see: they decide the message that ends it.
TEST(ExtendedMath, RaisesTheFlagsOfTheFaults)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const FlagCase cases[] = {
        {"log(-1)", ExtendedLog, -1.0L, FE_INVALID},   {"log(-5)", ExtendedLog, -5.0L, FE_INVALID},
        {"log(-inf)", ExtendedLog, -inf, FE_INVALID},  {"log(0)", ExtendedLog, 0.0L, FE_DIVBYZERO},
        {"log(nan)", ExtendedLog, nan, 0},             {"log(inf)", ExtendedLog, inf, 0},
        {"log(2)", ExtendedLog, 2.0L, 0},              {"exp(12000)", ExtendedExp, 12000.0L, FE_OVERFLOW},
        {"exp(1e6)", ExtendedExp, 1e6L, FE_OVERFLOW},  {"exp(-1e6)", ExtendedExp, -1e6L, 0},
        {"exp(inf)", ExtendedExp, inf, 0},             {"exp(-inf)", ExtendedExp, -inf, 0},
        {"exp(nan)", ExtendedExp, nan, 0},             {"exp(3)", ExtendedExp, 3.0L, 0},
        {"exp(16384 ln 2 - ulp)", ExtendedExp, 0xb.17217f7d1cf79abp+10L, 0},
        {"exp(16384 ln 2 + ulp)", ExtendedExp, 0xb.17217f7d1cf79acp+10L, FE_OVERFLOW},
        {"exp(-11380) subnormal", ExtendedExp, -11380.0L, 0},
        {"exp(3 2^-64) slow", ExtendedExp, 0x3p-64L, 0},
        {"log(min subnormal)", ExtendedLog, 0x1p-16445L, 0},
        {"log(-0)", ExtendedLog, -0.0L, FE_DIVBYZERO},
        {"log(-min subnormal)", ExtendedLog, -0x1p-16445L, FE_INVALID},
        {"log(1 + 6 2^-63) slow", ExtendedLog, 0x8.000000000000006p-3L, 0}};
    for (const FlagCase& c : cases) {
        std::feclearexcept(FE_ALL_EXCEPT);
        volatile long double result = c.Function(c.Argument);
        static_cast<void>(result);
        EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), c.Raised) << c.Name;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    // A negative argument gives the positive not-a-number, as the C library's logarithm does.
    EXPECT_TRUE(std::isnan(ExtendedLog(-1.0L)));
    EXPECT_FALSE(std::signbit(ExtendedLog(-1.0L)));
    EXPECT_EQ(ExtendedLog(0.0L), -inf);
    EXPECT_EQ(ExtendedExp(1e6L), inf);
    EXPECT_EQ(ExtendedExp(-1e6L), 0.0L);
    EXPECT_EQ(ExtendedExp(-inf), 0.0L);
    std::feclearexcept(FE_ALL_EXCEPT);
}

// The usual arguments take the fast path, whose result is composed exactly: no flag at all, not
// even "inexact", so that a watch that has just cleared the flags finds them as it left them.
TEST(ExtendedMath, TheFastPathRaisesNoFlag)
{
    const FlagCase cases[] = {
        {"log(2)", ExtendedLog, 2.0L, 0},           {"log(1e12)", ExtendedLog, 1e12L, 0},
        {"log(1e-6)", ExtendedLog, 1e-6L, 0},       {"log(0.75)", ExtendedLog, 0.75L, 0},
        {"exp(3)", ExtendedExp, 3.0L, 0},           {"exp(-7.3)", ExtendedExp, -7.3L, 0},
        {"exp(0.25 ln 1e12)", ExtendedExp, 6.9L, 0}, {"exp(2^-20)", ExtendedExp, 0x1p-20L, 0}};
    for (const FlagCase& c : cases) {
        std::feclearexcept(FE_ALL_EXCEPT);
        volatile long double result = c.Function(c.Argument);
        static_cast<void>(result);
        EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), c.Raised) << c.Name;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

// The roots through the logarithm, handed over in whole numbers, are the two functions in turn to
// the bit and the flag: over arguments of every magnitude, near 1 (where the logarithm leaves its
// fixed point), where the exponential leaves its fast path, and the special ones.
TEST(ExtendedMath, HalvedLogarithmIsBothFunctionsInTurn)
{
    std::vector<long double> arguments = {1.0L, 0x1.0000001p0L, 0x0.ffffffp0L, 0x1p-16445L, 0x1p-16382L,
                                          0x1p16383L, 0.0L, -0.0L, -2.0L, std::numeric_limits<long double>::infinity(),
                                          std::numeric_limits<long double>::quiet_NaN(), 1e-300L, 1e300L};
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> magnitude(-40.0, 40.0);
    std::uniform_int_distribution<int> nearOne(-1 << 20, 1 << 20);
    for (int i = 0; i < 200000; ++i) {
        arguments.push_back(std::pow(10.0L, static_cast<long double>(magnitude(random))));
        arguments.push_back(1.0L + nearOne(random) * 0x1p-40L);
    }
    for (const long double x : arguments) {
        for (const int halvings : {1, 2}) {
            std::feclearexcept(FE_ALL_EXCEPT);
            const long double expected = ExtendedExp(ExtendedLog(x) * (halvings == 1 ? 0.5L : 0.25L));
            const int expectedFlags = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW | FE_UNDERFLOW);
            std::feclearexcept(FE_ALL_EXCEPT);
            const long double result = ExtendedExpOfHalvedLog(x, halvings);
            const int flags = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW | FE_UNDERFLOW);
            ASSERT_TRUE(SameBits(result, expected) || (std::isnan(result) && std::isnan(expected)))
                << static_cast<double>(x) << " / 2^" << halvings;
            ASSERT_EQ(flags, expectedFlags) << static_cast<double>(x);
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

unsigned int Mxcsr()
{
    unsigned int csr = 0;
    asm volatile("stmxcsr %0" : "=m"(csr));
    return csr;
}

// Work inside the guard cannot add flags, nor clear those raised before it, in either unit; and
// the exception masks stay as they were (MinGW's fesetexceptflag clears the SSE masks, after
// which the next inexact operation ended the program).
TEST(FpFlagsKept, RestoresTheFlagsOfBothUnitsAndKeepsTheMasks)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    const unsigned int masks = Mxcsr() & ~0x3fU;
    volatile long double zero = 0;
    volatile double one = 1;
    {
        const FpFlagsKept kept;
        volatile long double quotient = 1 / zero;   // x87: division by zero
        volatile double product = one * 1e308 * 10;  // SSE: overflow
        static_cast<void>(quotient);
        static_cast<void>(product);
    }
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), 0);
    EXPECT_EQ(Mxcsr() & ~0x3fU, masks);

    volatile long double x87Zero = 0;
    volatile long double raised = x87Zero / x87Zero;  // x87 "invalid" before the guard
    static_cast<void>(raised);
    {
        const FpFlagsKept kept;
        std::feclearexcept(FE_ALL_EXCEPT);
    }
    EXPECT_EQ(std::fetestexcept(FE_INVALID), FE_INVALID);
    EXPECT_EQ(Mxcsr() & ~0x3fU, masks);
    volatile double afterwards = one / 3;  // an inexact SSE operation runs on as before
    EXPECT_GT(afterwards, 0.3);
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace korvelin
