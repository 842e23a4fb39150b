// The fast paths of the engine's logarithm and exponential where they can fail: their error
// measured against MPFR, their rounding decision at the middle between two long doubles, and
// arguments whose results lie near such a middle, found beforehand with MPFR by
// tools/find-near-boundaries and kept in tests/data/extended-math-near-boundaries.csv.

#include "ExtendedMathFastPaths.h"
#include "korvelin/ExtendedMath.h"

#include <mpfr.h>
#include "MpfrNumber.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace korvelin {
namespace {

namespace fast = extended_math_fast_paths;

// The bounds the decisions must allow for, in units of the last bit of the fixed point they
// round: the exponential's product in 2^-126, the logarithm's result in 2^-113. The analysis in
// ExtendedMath.cpp proves the errors below 2^32.62 and 11.2 units; the bounds leave a margin.
constexpr std::uint64_t kExpBound = 1ULL << 36;
constexpr std::uint64_t kLogBound = 64;
constexpr double kExpProvenError = 0x1.8974p+32;  // 2^32.62 = 1.53692 * 2^32, rounded up
constexpr double kLogProvenError = 11.2;

// MPFR with its widest exponent range while in scope, so that e^x down to x = -11400 does not
// underflow before it is scaled; the program's other tests narrow the range to long double's.
class WideExponents {
public:
    WideExponents() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax())
    {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
    }
    ~WideExponents()
    {
        mpfr_set_emin(emin_);
        mpfr_set_emax(emax_);
    }
    WideExponents(const WideExponents&) = delete;
    WideExponents& operator=(const WideExponents&) = delete;

private:
    mpfr_exp_t emin_;
    mpfr_exp_t emax_;
};

using Number = MpfrNumber;

// A 128-bit word pair as an exact MPFR number, read as two's complement when `isSigned`.
void SetWords(mpfr_ptr target, fast::Words words, bool isSigned)
{
    mpfr_set_ui(target, 0, MPFR_RNDN);
    const bool negative = isSigned && (words.High >> 63) != 0;
    if (negative) {  // the magnitude: two's complement taken back
        words.Low = ~words.Low + 1;
        words.High = ~words.High + (words.Low == 0 ? 1 : 0);
    }
    Number part(128);
    mpfr_set_ui_2exp(part.get(), static_cast<unsigned long>(words.High), 64, MPFR_RNDN);
    mpfr_add_ui(target, part.get(), static_cast<unsigned long>(words.Low), MPFR_RNDN);
    if (negative)
        mpfr_neg(target, target, MPFR_RNDN);
}

__extension__ typedef unsigned __int128 U128;

fast::Words WordsOf(U128 value)
{
    return {static_cast<std::uint64_t>(value >> 64), static_cast<std::uint64_t>(value)};
}

// x = +-mantissa 2^(exponent - 63), the mantissa's leading bit set, for any finite x but zero.
struct Parts {
    std::uint64_t Mantissa;
    int Exponent;
    bool Negative;
};

Parts PartsOf(long double x)
{
    int exponent = 0;
    const long double m = std::frexp(std::fabs(x), &exponent);
    return {static_cast<std::uint64_t>(std::ldexp(m, 64)), exponent - 1, x < 0};
}

// How far the exponential's product and the logarithm's result lie from the exact values they
// stand for, in units of their last bit.
struct Measured {
    bool OnFixedPath;  // false where the logarithm is taken near 1 in long double pairs
    double Error;
};

Measured ExpError(long double x)
{
    const WideExponents wide;
    const Parts parts = PartsOf(x);
    const fast::ExpValue value = fast::ExpFastValue(parts.Mantissa, parts.Exponent, parts.Negative);
    Number argument(64), exact(400), product(400);
    mpfr_set_ld(argument.get(), x, MPFR_RNDN);
    mpfr_exp(exact.get(), argument.get(), MPFR_RNDN);
    mpfr_mul_2si(exact.get(), exact.get(), 126 - value.Scale, MPFR_RNDN);
    SetWords(product.get(), value.Product, false);
    mpfr_sub(product.get(), product.get(), exact.get(), MPFR_RNDN);
    return {true, std::fabs(mpfr_get_d(product.get(), MPFR_RNDN))};
}

Measured LogError(long double x)
{
    const WideExponents wide;
    const Parts parts = PartsOf(x);
    const fast::LogValue value = fast::LogFastValue(parts.Mantissa, parts.Exponent);
    if (value.NearOne)
        return {false, 0};
    Number argument(64), exact(400), result(400);
    mpfr_set_ld(argument.get(), x, MPFR_RNDN);
    mpfr_log(exact.get(), argument.get(), MPFR_RNDN);
    mpfr_mul_2si(exact.get(), exact.get(), 113, MPFR_RNDN);
    SetWords(result.get(), value.Result, true);
    mpfr_sub(result.get(), result.get(), exact.get(), MPFR_RNDN);
    return {true, std::fabs(mpfr_get_d(result.get(), MPFR_RNDN))};
}

// ---------------------------------------------------------------------------------------------
// The stored arguments near a middle.

enum class Function { Log, Exp };

struct NearBoundary {
    Function Kind;
    long double Argument;
    long double Result;
    bool Underflow;
    double Distance;  // from the middle, in units of the result's last place
};

long double FromBits(const std::string& text)
{
    // "ssss:mmmmmmmmmmmmmmmm": the sign and exponent word, then the mantissa, in hexadecimal.
    const std::uint16_t signExponent = static_cast<std::uint16_t>(std::stoul(text.substr(0, 4), nullptr, 16));
    const std::uint64_t mantissa = std::stoull(text.substr(5), nullptr, 16);
    unsigned char raw[sizeof(long double)] = {};
    std::memcpy(raw, &mantissa, 8);
    std::memcpy(raw + 8, &signExponent, 2);
    long double x;
    std::memcpy(&x, raw, sizeof x);
    return x;
}

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// A hexadecimal floating-point number as printf's "%a" writes it, read without the locale.
double FromHexadecimal(const std::string& text)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t digits = text.find("0x") + 2;
    double value = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(text.data() + digits, text.data() + text.size(), value, std::chars_format::hex);
    return negative ? -value : value;
}

std::vector<NearBoundary> StoredArguments()
{
    std::ifstream file(KORVELIN_TEST_DATA "/extended-math-near-boundaries.csv");
    std::vector<NearBoundary> arguments;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, ',');)
            fields.push_back(field);
        if (fields.size() != 5)
            return {};
        arguments.push_back({fields[0] == "log" ? Function::Log : Function::Exp, FromBits(fields[1]),
                             FromBits(fields[2]), fields[3] == "underflow", FromHexadecimal(fields[4])});
    }
    return arguments;
}

// ---------------------------------------------------------------------------------------------
// Arguments drawn at random.

std::uint64_t Mantissa(std::mt19937_64& random) { return random() | (1ULL << 63); }

long double Draw(std::mt19937_64& random, int exponent)
{
    return std::ldexp(static_cast<long double>(Mantissa(random)), exponent - 63);
}

int Between(std::mt19937_64& random, int low, int high)
{
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<int>(low + static_cast<std::int64_t>(random() % span));
}

long double Uniform(std::mt19937_64& random, long double low, long double high)
{
    return low + (high - low) * (static_cast<long double>(random()) * 0x1p-64L);
}

long double Nudged(std::mt19937_64& random, long double x)
{
    const int steps = Between(random, -3, 3);
    for (int i = 0; i < steps; ++i)
        x = std::nextafter(x, 1e6L);
    for (int i = 0; i > steps; --i)
        x = std::nextafter(x, -1e6L);
    return x;
}

constexpr long double kLn2 = 0xb.17217f7d1cf79acp-4L;

struct Group {
    const char* Name;
    int Count;
    std::function<long double(std::mt19937_64&, int)> Draw;
    // The logarithm's arguments within 2^-24 of 1 go to the pairs instead: which of the group do.
    enum { Fixed, NearOne, Either } Path = Either;
};

// The largest errors seen on these arguments: the exponential's 0x1.878fd529p+32 units of 2^-126
// (2^32.613), halfway between two multiples of ln2/2^16, where r and the terms from r^5 on that
// the fast path leaves out are largest: the proof's 2^32.62 is all but reached, and the
// decision's 2^36 leaves a factor of 10.4. The logarithm's 0x1.2ea44b33p+3 units of 2^-113
// (9.46), against the proof's 11.2 and the decision's 64.
TEST(ExtendedMathFastPaths, ErrorStaysWithinTheBound)
{
    const std::vector<NearBoundary> stored = StoredArguments();
    ASSERT_FALSE(stored.empty());
    const auto storedOf = [&](Function kind) {
        std::vector<long double> arguments;
        for (const NearBoundary& entry : stored)
            if (entry.Kind == kind)
                arguments.push_back(entry.Argument);
        return arguments;
    };
    const std::vector<long double> storedExp = storedOf(Function::Exp);
    const std::vector<long double> storedLog = storedOf(Function::Log);

    // |x| = mantissa 2^(exponent - 63), exponent from -67 (below, e^x is 1 + x) to 13 (up to 11400).
    const std::vector<Group> exponentials = {
        {"every exponent of the fast path, either sign", 2 * 81 * 80,
         [](std::mt19937_64& r, int i) {
             const int exponent = -67 + (i / 2) % 81;
             const long double x = exponent == 13 ? Uniform(r, 8192, 11400) : Draw(r, exponent);
             return i % 2 == 0 ? x : -x;
         }},
        {"halfway between two multiples of ln2/2^16, r largest", 10000,
         [](std::mt19937_64& r, int) {
             const auto k = static_cast<long double>(Between(r, -1078000000, 1078000000));
             return Nudged(r, (k + 0.5L) * (kLn2 / 65536));
         }},
        {"either side of a multiple of ln2/256, the coarse table's index moving", 4000,
         [](std::mt19937_64& r, int) {
             const auto k = static_cast<long double>(256 * Between(r, -4210000, 4210000) + Between(r, -1, 1));
             return Nudged(r, k * (kLn2 / 65536) + Uniform(r, -0x1p-18L, 0x1p-18L));
         }},
        {"either side of ln 2 times a whole number, the power of two moving", 3000,
         [](std::mt19937_64& r, int) {
             return Nudged(r, Between(r, -16400, 16400) * kLn2 + Uniform(r, -0x1p-16L, 0x1p-16L));
         }},
        {"either side of 2^-19, 2^-18, 2^-17 (the multiple leaves zero) and of 2^9 and 2^13", 1000,
         [](std::mt19937_64& r, int i) {
             const int limits[] = {-19, -18, -17, 9, 13};
             const long double x = Nudged(r, std::ldexp(1.0L, limits[i % 5]));
             return i % 2 == 0 ? x : -x;
         }},
        {"subnormal results and the largest ones", 3000,
         [](std::mt19937_64& r, int i) { return i % 2 == 0 ? Uniform(r, -11400, -11355) : Uniform(r, 11350, 11356); }},
        {"near a middle (stored)", static_cast<int>(storedExp.size()),
         [&](std::mt19937_64&, int i) { return storedExp[static_cast<std::size_t>(i)]; }},
    };
    const std::vector<Group> logarithms = {
        {"every binade, subnormal ones too", 25000,
         [](std::mt19937_64& r, int) { return Draw(r, Between(r, -16445, 16383)); }},
        {"either side of the first table's boundaries", 8000,
         [](std::mt19937_64& r, int) {
             return Nudged(r, std::ldexp(1 + Between(r, 0, 256) / 256.0L, Between(r, -100, 100)));
         }},
        {"either side of 1 + 106/256, where log 2r replaces log r", 500,
         [](std::mt19937_64& r, int) { return Nudged(r, std::ldexp(1 + 106 / 256.0L, Between(r, -3, 3))); }},
        {"at the second table's boundaries", 6000,
         [](std::mt19937_64& r, int) {
             const int i = Between(r, 1, 254);
             const long double reciprocal = std::round(4096 / (1 + (i + 0.5L) / 256)) / 4096;
             const long double m = (1 + (Between(r, -80, 80) + 0.5L) * 0x1p-15L) / reciprocal;
             return Nudged(r, std::ldexp(m, Between(r, -3, 3)));
         }},
        {"either side of 1 and of 2, the whole multiple of ln 2 moving", 3000,
         [](std::mt19937_64& r, int i) {
             return (i % 2 == 0 ? 1.0L : 2.0L) + Uniform(r, -0x1p-8L, 0x1p-8L);
         }},
        {"near 1, on the fixed path", 8000,
         [](std::mt19937_64& r, int) {
             const long double d = Draw(r, Between(r, -23, -1));
             return r() % 2 == 0 ? 1 + d : 1 - d;
         },
         Group::Fixed},
        {"within 2^-25 of 1, in long double pairs", 500,
         [](std::mt19937_64& r, int) {
             const long double d = Draw(r, Between(r, -60, -26));
             return r() % 2 == 0 ? 1 + d : 1 - d;
         },
         Group::NearOne},
        {"near a middle (stored)", static_cast<int>(storedLog.size()),
         [&](std::mt19937_64&, int i) { return storedLog[static_cast<std::size_t>(i)]; }, Group::Fixed},
    };

    struct Case {
        const char* Name;
        const std::vector<Group>& Groups;
        std::function<Measured(long double)> Measure;
        std::uint64_t Bound;
        double Proven;
        std::uint64_t Seed;
    };
    const Case cases[] = {
        {"exponential", exponentials, ExpError, fast::ExpErrorBound(), kExpProvenError, 20261209},
        {"logarithm", logarithms, LogError, fast::LogErrorBound(), kLogProvenError, 19700101},
    };
    for (const Case& c : cases) {
        std::mt19937_64 random(c.Seed);
        double largest = 0;
        for (const Group& group : c.Groups) {
            double largestOfGroup = 0;
            long worstOfGroup = -1;
            int onFixedPath = 0;
            for (int i = 0; i < group.Count; ++i) {
                const long double x = group.Draw(random, i);
                const Measured measured = c.Measure(x);
                onFixedPath += measured.OnFixedPath ? 1 : 0;
                if (measured.Error > largestOfGroup) {
                    largestOfGroup = measured.Error;
                    worstOfGroup = i;
                }
            }
            if (group.Path == Group::Fixed) {
                EXPECT_EQ(onFixedPath, group.Count) << c.Name << ", " << group.Name;
            } else if (group.Path == Group::NearOne) {
                EXPECT_EQ(onFixedPath, 0) << c.Name << ", " << group.Name;
            }
            EXPECT_LE(largestOfGroup, static_cast<double>(c.Bound))
                << c.Name << ", " << group.Name << ": argument " << worstOfGroup;
            EXPECT_LE(largestOfGroup, c.Proven) << c.Name << ", " << group.Name << ": argument " << worstOfGroup;
            largest = std::max(largest, largestOfGroup);
        }
        std::printf("%s: largest error %a units (bound %a)\n", c.Name, largest, static_cast<double>(c.Bound));
    }
}


// ---------------------------------------------------------------------------------------------
// The decision.

long double Correct(Function kind, long double x)
{
    const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
    mpfr_set_emin(-16444);
    mpfr_set_emax(16384);
    Number argument(64), y(64);
    mpfr_set_ld(argument.get(), x, MPFR_RNDN);
    int inexact = kind == Function::Log ? mpfr_log(y.get(), argument.get(), MPFR_RNDN)
                                        : mpfr_exp(y.get(), argument.get(), MPFR_RNDN);
    inexact = mpfr_subnormalize(y.get(), inexact, MPFR_RNDN);
    const long double result = mpfr_get_ld(y.get(), MPFR_RNDN);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return result;
}

enum class Decider { UsualExp, LargeExp, Log };

fast::Decision Decide(Decider decider, fast::Words value, int scale)
{
    switch (decider) {
    case Decider::UsualExp: return fast::DecideUsualExp(value, scale);
    case Decider::LargeExp: return fast::DecideLargeExp(value, scale);
    case Decider::Log: return fast::DecideLog(value);
    }
    return {};
}

long double Composed(std::uint64_t mantissa, int unit) { return std::ldexp(static_cast<long double>(mantissa), unit); }

// A middle between two neighbours, written out by hand: the fixed point's value there is
// Below 2^Dropped + 2^(Dropped - 1), the neighbours Below 2^Unit and Above 2^AboveUnit.
struct Middle {
    const char* Name;
    Decider Which;
    int Scale;  // the exponential's: e^x = product 2^(Scale - 126)
    std::uint64_t Below;
    int Dropped;
    int Unit;
    std::uint64_t Above;
    int AboveUnit;
};

// The fixed-point values k units either side of each middle: decided, and to the nearer
// neighbour, exactly when k exceeds the bound.
TEST(ExtendedMathFastPaths, DecisionAtTheMiddle)
{
    const Middle middles[] = {
        {"e^x in [1, 2), a product of 127 bits", Decider::UsualExp, 0, 0xb17217f7d1cf79ab, 63, -63,
         0xb17217f7d1cf79ac, -63},
        {"e^x in [1/2, 1), a product of 126 bits", Decider::UsualExp, 0, 0xc90fdaa22168c234, 62, -64,
         0xc90fdaa22168c235, -64},
        {"e^x just below 2^5, above it the power itself", Decider::UsualExp, 5, 0xffffffffffffffff, 62, -59,
         0x8000000000000000, -58},
        {"e^x just above 2^738, the usual range's largest", Decider::UsualExp, 738, 0x8000000000000000, 63, 675,
         0x8000000000000001, 675},
        {"e^x near 2^-740, the usual range's smallest", Decider::UsualExp, -739, 0xfedcba9876543210, 62, -803,
         0xfedcba9876543211, -803},
        {"a product of 125 bits, left to the generic rounding", Decider::UsualExp, 0, 0x8000000000000001, 61, -65,
         0x8000000000000002, -65},
        {"e^x near 2^16000", Decider::LargeExp, 16000, 0xd49a784bcd1b8afe, 63, 15937, 0xd49a784bcd1b8aff, 15937},
        {"e^x in the smallest normal binade", Decider::LargeExp, -16381, 0x8000000000000000, 62, -16445,
         0x8000000000000001, -16445},
        {"a subnormal e^x, its last place 2^-16445", Decider::LargeExp, -16400, 0x3c1f0e8d2b57, 81, -16445,
         0x3c1f0e8d2b58, -16445},
        {"the largest subnormal e^x, above it the smallest normal", Decider::LargeExp, -16382, 0x7fffffffffffffff,
         63, -16445, 0x8000000000000000, -16445},
        {"log x near 11356, a result of 127 bits", Decider::Log, 0, 0xb17217f7d1cf79ab, 63, -50, 0xb17217f7d1cf79ac,
         -50},
        {"log x in [1/2, 1)", Decider::Log, 0, 0xb8aa3b295c17f0bc, 49, -64, 0xb8aa3b295c17f0bd, -64},
        {"log x near 2^-25, the fixed path's smallest", Decider::Log, 0, 0x8000000000000000, 25, -88,
         0x8000000000000001, -88},
        {"a result of 88 bits, left to the generic rounding", Decider::Log, 0, 0xffffffffffffffff, 24, -89,
         0x8000000000000000, -88},
    };
    // Around each bound, and far from it (within a quarter of the places, for the shortest).
    const std::uint64_t expOffsets[] = {0,           1,       1ULL << 35, (1ULL << 36) - 1, 1ULL << 36,
                                        (1ULL << 36) + 1, 1ULL << 37, 1ULL << 58};
    const std::uint64_t logOffsets[] = {0, 1, 32, 63, 64, 65, 128, 1ULL << 20};
    int decided = 0, open = 0;
    for (const Middle& middle : middles) {
        const bool isLog = middle.Which == Decider::Log;
        const std::uint64_t bound = isLog ? kLogBound : kExpBound;
        const U128 at =
            (static_cast<U128>(middle.Below) << middle.Dropped) + (static_cast<U128>(1) << (middle.Dropped - 1));
        for (const std::uint64_t k : isLog ? std::vector<std::uint64_t>(std::begin(logOffsets), std::end(logOffsets))
                                           : std::vector<std::uint64_t>(std::begin(expOffsets), std::end(expOffsets))) {
            for (const bool up : {false, true}) {
                const fast::Decision decision = Decide(middle.Which, WordsOf(up ? at + k : at - k), middle.Scale);
                const std::string where = std::string(middle.Name) + (up ? ", " : ", minus ") + std::to_string(k);
                ASSERT_EQ(decision.Decided, k > bound) << where;
                if (!decision.Decided) {
                    ++open;
                    continue;
                }
                ++decided;
                EXPECT_EQ(decision.Mantissa, up ? middle.Above : middle.Below) << where;
                EXPECT_EQ(decision.Unit, up ? middle.AboveUnit : middle.Unit) << where;
            }
        }
    }
    EXPECT_EQ(decided, 14 * 2 * 3);
    EXPECT_EQ(open, 14 * 2 * 5);

    // The stored arguments near a middle, as the fast path meets them: its value's distance from
    // the middle decides whether it rounds (to MPFR's result) or leaves x to the slow path, whose
    // result, the function's then, is MPFR's.
    const std::vector<NearBoundary> stored = StoredArguments();
    ASSERT_FALSE(stored.empty());
    int openExp = 0, openLog = 0;
    for (const NearBoundary& entry : stored) {
        const long double x = entry.Argument;
        const Parts parts = PartsOf(x);
        const bool isLog = entry.Kind == Function::Log;
        fast::Words value{};
        int scale = 0;
        if (isLog) {
            const fast::LogValue log = fast::LogFastValue(parts.Mantissa, parts.Exponent);
            ASSERT_FALSE(log.NearOne);
            value = log.Result;
            if ((value.High >> 63) != 0)
                value = WordsOf(0 - ((static_cast<U128>(value.High) << 64) | value.Low));
        } else {
            const fast::ExpValue exp = fast::ExpFastValue(parts.Mantissa, parts.Exponent, parts.Negative);
            value = exp.Product;
            scale = exp.Scale;
        }
        // The distance in units of the fixed point: below the result's last place, 64 bits under
        // the leading one or 2^-16445, how far the rest lies from one half.
        const U128 v = (static_cast<U128>(value.High) << 64) | value.Low;
        const int fraction = isLog ? 113 : 126 - scale;
        int length = 0;
        while (length < 128 && (v >> length) != 0)
            ++length;
        const int dropped = std::max(length - 64 - fraction, -16445) + fraction;
        const U128 rest = v & ((static_cast<U128>(1) << dropped) - 1);
        const U128 half = static_cast<U128>(1) << (dropped - 1);
        const U128 distance = rest > half ? rest - half : half - rest;
        const std::uint64_t bound = isLog ? kLogBound : kExpBound;

        const Decider decider = isLog ? Decider::Log : std::fabs(x) < 512 ? Decider::UsualExp : Decider::LargeExp;
        const fast::Decision decision = Decide(decider, value, scale);
        const long double expected = Correct(entry.Kind, x);
        std::ostringstream where;
        where << std::hexfloat << (isLog ? "log " : "exp ") << x;
        ASSERT_EQ(decision.Decided, distance > bound) << where.str();
        if (decision.Decided) {
            EXPECT_TRUE(SameBits(std::fabs(expected), Composed(decision.Mantissa, decision.Unit))) << where.str();
        } else {
            ++(isLog ? openLog : openExp);
            EXPECT_TRUE(SameBits(isLog ? ExtendedLog(x) : ExtendedExp(x), expected)) << where.str();
            EXPECT_TRUE(SameBits(isLog ? ExtendedLogSlowPath(x) : ExtendedExpSlowPath(x), expected)) << where.str();
        }
    }
    // Every exponential found but the subnormal results, whose places are coarser than the
    // search's closeness, and the logarithms near 1.
    EXPECT_GE(openExp, 16);
    EXPECT_GE(openLog, 8);
}

// The stored arguments, each to the last bit and with its flags: "underflow" where the result is
// subnormal, never "invalid", "division by zero" or "overflow". The file itself is checked too:
// each result is MPFR's, each argument as near a middle as it says.
TEST(ExtendedMathFastPaths, ArgumentsNearAMiddleGiveTheStoredResults)
{
    const std::vector<NearBoundary> stored = StoredArguments();
    int logarithms = 0, exponentials = 0, subnormal = 0;
    for (const NearBoundary& entry : stored) {
        const bool isLog = entry.Kind == Function::Log;
        ++(isLog ? logarithms : exponentials);
        subnormal += entry.Underflow ? 1 : 0;
        std::ostringstream where;
        where << std::hexfloat << (isLog ? "log " : "exp ") << entry.Argument;

        std::feclearexcept(FE_ALL_EXCEPT);
        const long double actual = isLog ? ExtendedLog(entry.Argument) : ExtendedExp(entry.Argument);
        const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW);
        std::feclearexcept(FE_ALL_EXCEPT);
        EXPECT_TRUE(SameBits(actual, entry.Result)) << where.str();
        EXPECT_EQ(raised, entry.Underflow ? FE_UNDERFLOW : 0) << where.str();

        EXPECT_TRUE(SameBits(Correct(entry.Kind, entry.Argument), entry.Result)) << where.str();
        const WideExponents wide;
        Number argument(64), y(256);
        mpfr_set_ld(argument.get(), entry.Argument, MPFR_RNDN);
        isLog ? mpfr_log(y.get(), argument.get(), MPFR_RNDN) : mpfr_exp(y.get(), argument.get(), MPFR_RNDN);
        mpfr_abs(y.get(), y.get(), MPFR_RNDN);
        const long unit = std::max(static_cast<long>(mpfr_get_exp(y.get())) - 64, -16445L);
        mpfr_mul_2si(y.get(), y.get(), -unit, MPFR_RNDN);
        mpfr_frac(y.get(), y.get(), MPFR_RNDN);
        const double distance = mpfr_get_d(y.get(), MPFR_RNDN) - 0.5;
        EXPECT_LT(std::fabs(distance), 0x1p-28) << where.str();
        EXPECT_NEAR(distance, entry.Distance, 0x1p-40) << where.str();
    }
    EXPECT_GE(logarithms, 12);
    EXPECT_GE(exponentials, 12);
    EXPECT_GE(subnormal, 2);
}

}  // namespace
}  // namespace korvelin
