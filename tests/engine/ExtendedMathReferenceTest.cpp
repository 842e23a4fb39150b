// The engine's logarithm and exponential against MPFR's correctly rounded values, on a million
// arguments generated over every range the calculation meets and more, and on hard ones: each
// result to the last bit, and the status flags each call raises.

#include "korvelin/ExtendedMath.h"

#include <mpfr.h>

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace korvelin {
namespace {

enum class Function { Log, Exp, LogSlowPath, ExpSlowPath };

long double Engine(Function function, long double x)
{
    switch (function) {
    case Function::Log: return ExtendedLog(x);
    case Function::Exp: return ExtendedExp(x);
    case Function::LogSlowPath: return ExtendedLogSlowPath(x);
    case Function::ExpSlowPath: return ExtendedExpSlowPath(x);
    }
    return 0;
}

bool IsLog(Function function) { return function == Function::Log || function == Function::LogSlowPath; }

// MPFR with the exponent range of long double, so that its subnormal rounding is the format's.
class Reference {
public:
    Reference()
    {
        mpfr_set_emin(-16444);
        mpfr_set_emax(16384);
        mpfr_init2(x_, 64);
        mpfr_init2(y_, 64);
    }
    ~Reference()
    {
        mpfr_clear(x_);
        mpfr_clear(y_);
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    long double operator()(Function function, long double x)
    {
        mpfr_set_ld(x_, x, MPFR_RNDN);
        int inexact = IsLog(function) ? mpfr_log(y_, x_, MPFR_RNDN) : mpfr_exp(y_, x_, MPFR_RNDN);
        inexact = mpfr_subnormalize(y_, inexact, MPFR_RNDN);
        return mpfr_get_ld(y_, MPFR_RNDN);
    }

private:
    mpfr_t x_;
    mpfr_t y_;
};

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// A group of arguments: its name, how many, and the i-th of them.
struct Group {
    const char* Name;
    int Count;
    std::function<long double(std::mt19937_64&, int)> Draw;
};

// A random 64-bit mantissa times 2^exponent (its leading bit at 2^exponent).
long double Draw(std::mt19937_64& random, int exponent)
{
    return std::ldexp(static_cast<long double>(random() | (1ULL << 63)), exponent - 63);
}

int Between(std::mt19937_64& random, int low, int high)
{
    // The span in 64 bits: from -1.078e9 to 1.078e9 it is beyond an int.
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<int>(low + static_cast<std::int64_t>(random() % span));
}

// Uniform in [low, high) with every bit of the mantissa random.
long double Uniform(std::mt19937_64& random, long double low, long double high)
{
    const long double unit = static_cast<long double>(random()) * 0x1p-64L;
    return low + (high - low) * unit;
}

long double Sign(std::mt19937_64& random, long double x) { return random() & 1 ? x : -x; }

// x moved by a few units of its last place either way.
long double Nudged(std::mt19937_64& random, long double x)
{
    const int steps = Between(random, -3, 3);
    for (int i = 0; i < steps; ++i)
        x = std::nextafter(x, std::numeric_limits<long double>::infinity());
    for (int i = 0; i > steps; --i)
        x = std::nextafter(x, -std::numeric_limits<long double>::infinity());
    return x;
}

constexpr long double kLn2 = 0xb.17217f7d1cf79acp-4L;

// Every argument compared to MPFR; the flags: none of "invalid", "division by zero", "overflow",
// except "overflow" where the result is infinite. The first differences go into the message.
struct Tally {
    long Arguments = 0;
    long Differences = 0;
    std::string Examples;
};

void Compare(Function function, long double x, Reference& reference, Tally& tally)
{
    ++tally.Arguments;
    std::feclearexcept(FE_ALL_EXCEPT);
    const long double actual = Engine(function, x);
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    std::feclearexcept(FE_ALL_EXCEPT);
    const long double expected = reference(function, x);
    const int allowed = std::isinf(expected) ? FE_OVERFLOW : 0;
    if (SameBits(actual, expected) && raised == allowed)
        return;
    if (++tally.Differences <= 10) {
        std::ostringstream line;
        line << std::hexfloat << (IsLog(function) ? "log(" : "exp(") << x << ") = " << actual
             << ", MPFR " << expected << ", flags " << raised << "\n";
        tally.Examples += line.str();
    }
}

Tally CompareGroups(Function function, const std::vector<Group>& groups, std::uint64_t seed)
{
    Reference reference;
    std::mt19937_64 random(seed);
    Tally tally;
    for (const Group& group : groups)
        for (int i = 0; i < group.Count; ++i)
            Compare(function, group.Draw(random, i), reference, tally);
    return tally;
}

Tally CompareAll(Function function, const std::vector<long double>& arguments)
{
    Reference reference;
    Tally tally;
    for (const long double x : arguments)
        Compare(function, x, reference, tally);
    return tally;
}

// The powers of the calculation take exp(e ln b) with e = 1/2 or 1/4 and b anything an extended
// computation gives: their exponentials lie within +-5700. Around them, the whole range up to
// where the result overflows or vanishes, the small arguments, the two thresholds, and the
// points where the reduction's multiple of ln2/256 changes or where the remainder is zero.
TEST(ExtendedMathReference, ExponentialOfGeneratedArguments)
{
    const std::vector<Group> groups = {
        {"e ln b of the powers", 150000,
         [](std::mt19937_64& r, int) {
             return (r() & 1 ? 0.5L : 0.25L) * ExtendedLog(Draw(r, Between(r, -16445, 16383)));
         }},
        {"the whole range", 100000, [](std::mt19937_64& r, int) { return Uniform(r, -11400, 11400); }},
        {"small arguments", 100000, [](std::mt19937_64& r, int) { return Sign(r, Draw(r, Between(r, -70, 3))); }},
        {"near overflow", 30000, [](std::mt19937_64& r, int) { return Uniform(r, 11350, 11357); }},
        {"subnormal and vanishing results", 30000, [](std::mt19937_64& r, int) { return Uniform(r, -11400, -11350); }},
        {"between two multiples of ln2/256", 50000,
         [](std::mt19937_64& r, int) {
             const auto k = static_cast<long double>(Between(r, -4210000, 4210000));
             return Nudged(r, (k + 0.5L) * (kLn2 / 256));
         }},
        {"at a multiple of ln2/256", 30000,
         [](std::mt19937_64& r, int) {
             return Nudged(r, static_cast<long double>(Between(r, -4210000, 4210000)) * (kLn2 / 256));
         }},
        {"around 2^-67, below which e^x is 1 + x", 10000,
         [](std::mt19937_64& r, int) { return Sign(r, Nudged(r, std::ldexp(1.0L, Between(r, -69, -64)))); }},
        // The second table's steps: the reduction's multiple of ln2/2^16 changes halfway between
        // two of them, where r is largest.
        {"between two multiples of ln2/2^16", 50000,
         [](std::mt19937_64& r, int) {
             const auto k = static_cast<long double>(Between(r, -1078000000, 1078000000));
             return Nudged(r, (k + 0.5L) * (kLn2 / 65536));
         }},
        {"at a multiple of ln2/2^16", 30000,
         [](std::mt19937_64& r, int) {
             return Nudged(r, static_cast<long double>(Between(r, -1078000000, 1078000000)) * (kLn2 / 65536));
         }},
        // Where the multiple leaves zero and |x| 2^144 takes one word (2^-19 to 2^-17), and where
        // the usual arguments end (2^9) and the largest exponent begins (2^13).
        {"at the fast path's limits", 20000,
         [](std::mt19937_64& r, int) {
             const int limits[] = {-19, -18, -17, 9, 13};
             const long double limit = std::ldexp(1.0L, limits[Between(r, 0, 4)]);
             return Sign(r, r() & 1 ? Nudged(r, limit) : Uniform(r, 0.99L * limit, 1.01L * limit));
         }},
    };
    long count = 0;
    for (const Group& group : groups)
        count += group.Count;
    EXPECT_EQ(count, 600000);
    const Tally tally = CompareGroups(Function::Exp, groups, 20240611);
    EXPECT_EQ(tally.Differences, 0) << tally.Examples;
}

TEST(ExtendedMathReference, LogarithmOfGeneratedArguments)
{
    const std::vector<Group> groups = {
        {"the whole range", 150000, [](std::mt19937_64& r, int) { return Draw(r, Between(r, -16445, 16383)); }},
        {"doubles as the fields give them", 80000,
         [](std::mt19937_64& r, int) {
             double d = 0;
             do {
                 const std::uint64_t bits = r() >> 1;
                 std::memcpy(&d, &bits, sizeof d);
             } while (!(d > 0) || std::isinf(d));
             return static_cast<long double>(d);
         }},
        {"bases of the powers", 50000,
         [](std::mt19937_64& r, int) {
             // Sums of squares of loads, ratios of products, 1 - k s^2.
             const long double a = Uniform(r, 0.001L, 20000), b = Uniform(r, 0.001L, 20000);
             switch (r() % 3) {
             case 0: return a * a + b * b;
             case 1: return a * Uniform(r, 0.01L, 2000) / b;
             default: return 1 - 0.75L * Uniform(r, 0, 1.15L) * Uniform(r, 0, 1.15L);
             }
         }},
        {"near 1", 100000,
         [](std::mt19937_64& r, int) { return 1 + Sign(r, Draw(r, Between(r, -64, -1))); }},
        {"at the first table's boundaries", 50000,
         [](std::mt19937_64& r, int) {
             const int i = Between(r, 0, 256);
             return Nudged(r, std::ldexp(1 + i / 256.0L, Between(r, -100, 100)));
         }},
        {"at the second table's boundaries", 20000,
         [](std::mt19937_64& r, int) {
             // m r1 - 1 halfway between multiples of 2^-15, r1 being near 1/m to 13 bits.
             const int i = Between(r, 1, 254);
             const long double reciprocal = std::round(4096 / (1 + (i + 0.5L) / 256)) / 4096;
             const long double m = (1 + (Between(r, -80, 80) + 0.5L) * 0x1p-15L) / reciprocal;
             return Nudged(r, std::ldexp(m, Between(r, -3, 3)));
         }},
        {"powers of two", 16383 + 16445 + 1,
         [](std::mt19937_64&, int i) { return std::ldexp(1.0L, i - 16445); }},
        {"next to powers of two", 20000,
         [](std::mt19937_64& r, int) { return Nudged(r, std::ldexp(1.0L, Between(r, -16381, 16383))); }},
        // Where the third step starts: x - 1 an odd multiple of 2^-24, t1 2^23 halfway between two
        // whole numbers; below 2^-24 the logarithm is taken near 1 in long double pairs.
        {"at the third table's first boundaries", 20000,
         [](std::mt19937_64& r, int) {
             return Nudged(r, 1 + Sign(r, std::ldexp(static_cast<long double>(2 * Between(r, 0, 7) + 1), -24)));
         }},
    };
    long count = 0;
    for (const Group& group : groups)
        count += group.Count;
    EXPECT_GE(count, 500000);
    const Tally tally = CompareGroups(Function::Log, groups, 19480917);
    EXPECT_EQ(tally.Differences, 0) << tally.Examples;
}

// Arguments whose results lie so near the middle between two long doubles that the fast path
// cannot decide them, and exact results.
TEST(ExtendedMathReference, ExponentialOfHardArguments)
{
    std::vector<long double> arguments = {
        0.0L, -0.0L,
        // Found among 90 million random arguments: the fast path leaves them to the slow one.
        -0x9.11db6071576ae1cp+1L, -0x9.b5b2084692d58a8p+1L, -0xc.04824880c88c4acp+8L,
        -0xd.c20adcf50f29d8p+4L, 0x8.5803e2d3ac9c93cp+8L, 0x9.94e6c96670da0d4p+1L, 0xa.42ec58ef421f3ap-4L,
        0xb.146e37f01b6eb64p+10L, 0xb.1470e4d3b3f7bp+10L, 0xb.14cec46741f17f6p+10L, 0xb.14d0df9150a1e94p+10L,
        0xb.15aba62271360acp+10L, 0xe.c4f3bbae3bc9e9p+8L,
        // Found among 300 million random arguments, with the reduction by ln2/2^16.
        -0xa.41728adb10eccb2p-2L, 0x8.8108cc8bca4c0abp+6L, 0xc.ad3f9f33be45b46p+0L, 0x9.676313e2db204bap+6L,
        -0xf.4667edc81f5c723p+3L, 0xd.2728a11acc978eep-5L};
    // Either side of each limit of the fast path: 2^-19, 2^-18 and 2^-17 (the multiple of ln2/2^16
    // leaves zero, |x| 2^144 takes one word), 2^9 (the usual arguments end) and 2^13.
    for (const int e : {-19, -18, -17, 9, 13}) {
        const long double limit = std::ldexp(1.0L, e);
        for (const long double x : {std::nextafter(limit, 0.0L), limit, std::nextafter(limit, 1e5L)}) {
            arguments.push_back(x);
            arguments.push_back(-x);
        }
    }
    // 1 + x exactly in the middle between two neighbours, for x an odd multiple of 2^-64 (above
    // 1) or of 2^-65 (below it): x^2/2, below 2^-84, decides.
    for (std::uint64_t n = 1; n < (1ULL << 21); n = 3 * n + 2) {
        arguments.push_back(std::ldexp(static_cast<long double>(n), -64));
        arguments.push_back(-std::ldexp(static_cast<long double>(n), -65));
    }
    const Tally tally = CompareAll(Function::Exp, arguments);
    EXPECT_EQ(tally.Differences, 0) << tally.Examples;
}

TEST(ExtendedMathReference, LogarithmOfHardArguments)
{
    std::vector<long double> arguments = {1.0L, 0x1p-16445L, std::numeric_limits<long double>::max(),
                                          0x8.00000d6bf94d5e5p-3L, 0x8.3126e978d4fdf3bp-13L,
                                          // Found near 1, where the fast path leaves them to the slow one.
                                          0xf.fffee0f577441f4p-4L, 0xf.ffffe5336752bep-4L, 0x8.00000dc2b0feff7p-3L,
                                          0x8.00003cc59c6fd5fp-3L, 0x8.0001fdd8b4d5462p-3L};
    // log(1 + n 2^-63) = n 2^-63 - n^2 2^-127 + n^3 2^-189/3: for n = 2^a times an odd number in
    // [2^2a, 2^(2a+1)), the first two terms make the middle between two long doubles exactly
    // and only the third decides; the same below 1 with 2^-64.
    for (int a = 0; a <= 15; ++a) {
        for (std::uint64_t odd = 1; odd < (1ULL << (a + 1)); odd += 2) {
            const std::uint64_t n = odd << a;
            if (n < (1ULL << (2 * a)) || n >= (1ULL << (2 * a + 1)) || arguments.size() > 2000)
                continue;
            arguments.push_back(1 + std::ldexp(static_cast<long double>(n), -63));
            arguments.push_back(1 - std::ldexp(static_cast<long double>(n), -64));
        }
    }
    const Tally tally = CompareAll(Function::Log, arguments);
    EXPECT_EQ(tally.Differences, 0) << tally.Examples;
}

// The fixed-point path on its own, which the arguments above reach only where the fast one
// cannot decide: on a sample of each kind, with subnormal and overflowing results.
TEST(ExtendedMathReference, SlowPathsOnArgumentsOfEveryKind)
{
    const std::vector<Group> exponentials = {
        {"the whole range", 1500, [](std::mt19937_64& r, int) { return Uniform(r, -11400, 11400); }},
        {"small arguments", 500, [](std::mt19937_64& r, int) { return Sign(r, Draw(r, Between(r, -67, 3))); }},
        {"near overflow", 300, [](std::mt19937_64& r, int) { return Uniform(r, 11350, 11357); }},
        {"subnormal results", 300, [](std::mt19937_64& r, int) { return Uniform(r, -11400, -11350); }},
    };
    const std::vector<Group> logarithms = {
        {"the whole range", 2000, [](std::mt19937_64& r, int) { return Draw(r, Between(r, -16445, 16383)); }},
        {"near 1", 1000, [](std::mt19937_64& r, int) { return 1 + Sign(r, Draw(r, Between(r, -64, -1))); }},
    };
    const Tally exponential = CompareGroups(Function::ExpSlowPath, exponentials, 7);
    EXPECT_EQ(exponential.Differences, 0) << exponential.Examples;
    const Tally logarithm = CompareGroups(Function::LogSlowPath, logarithms, 8);
    EXPECT_EQ(logarithm.Differences, 0) << logarithm.Examples;
}

}  // namespace
}  // namespace korvelin
