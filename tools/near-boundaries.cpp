// Finds arguments of the natural logarithm and the exponential whose exact results lie near the
// middle between two neighbouring long doubles, and writes them with their correctly rounded
// results and status flags as MPFR gives them (see tools/find-near-boundaries).
//
// The search walks blocks of 2^16 consecutive long doubles x0 + i u, u the last place of x0. On a
// block, f(x0 + i u) in units of the result's last place is a cubic in i to far better than
// 2^-40 of a unit (the fourth differences are below 2^-90 of a unit in every range searched),
// so four MPFR values give its forward differences, and adding them walks the block in 128-bit
// whole numbers, 96 bits below the result's last place. Wherever the part below the last place
// comes within 2^-24 of one half, MPFR computes the value again at 256 bits and decides.

#include <mpfr.h>
#include "../tests/common/MpfrNumber.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

__extension__ typedef unsigned __int128 U128;

constexpr int kBlock = 1 << 16;
constexpr int kFractionBits = 96;  // kept below the result's last place while walking
constexpr int kSubnormalUnit = -16445;

using Number = MpfrNumber;

enum class Function { Log, Exp };

void Evaluate(Function function, mpfr_ptr y, mpfr_srcptr x)
{
    if (function == Function::Log)
        mpfr_log(y, x, MPFR_RNDN);
    else
        mpfr_exp(y, x, MPFR_RNDN);
}

// The exponent of the last place of the long double nearest |y|: 63 below the leading bit, and
// the subnormal numbers' last place where that is coarser.
long UnitOf(mpfr_srcptr y)
{
    const long unit = static_cast<long>(mpfr_get_exp(y)) - 64;
    return std::max(unit, static_cast<long>(kSubnormalUnit));
}

// |y| 2^(96 - unit) rounded to a whole number, modulo 2^128.
U128 Walked(mpfr_srcptr y, long unit)
{
    Number scaled(512);
    mpfr_abs(scaled.get(), y, MPFR_RNDN);
    mpfr_mul_2si(scaled.get(), scaled.get(), kFractionBits - unit, MPFR_RNDN);
    mpz_t whole;
    mpz_init(whole);
    mpfr_get_z(whole, scaled.get(), MPFR_RNDN);
    mpz_fdiv_r_2exp(whole, whole, 128);
    U128 value = 0;
    for (int word = 1; word >= 0; --word) {
        mpz_t part;
        mpz_init(part);
        mpz_fdiv_q_2exp(part, whole, 64 * word);
        mpz_fdiv_r_2exp(part, part, 64);
        value = (value << 64) | static_cast<std::uint64_t>(mpz_get_ui(part));
        mpz_clear(part);
    }
    mpz_clear(whole);
    return value;
}

// The signed distance of |f(x)| from the middle between its two neighbours, in units of their
// spacing, at 256 bits.
double Distance(Function function, long double x)
{
    Number argument(64), y(256), part(256);
    mpfr_set_ld(argument.get(), x, MPFR_RNDN);
    Evaluate(function, y.get(), argument.get());
    mpfr_abs(y.get(), y.get(), MPFR_RNDN);
    mpfr_mul_2si(part.get(), y.get(), -UnitOf(y.get()), MPFR_RNDN);
    mpfr_frac(part.get(), part.get(), MPFR_RNDN);
    return mpfr_get_d(part.get(), MPFR_RNDN) - 0.5;
}

// The correctly rounded result with the exponent range of long double, and MPFR's flags.
struct Result {
    long double Value;
    bool Underflow;
    bool Overflow;
};

Result Rounded(Function function, long double x)
{
    const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
    mpfr_set_emin(-16444);
    mpfr_set_emax(16384);
    Number argument(64), y(64);
    mpfr_set_ld(argument.get(), x, MPFR_RNDN);
    mpfr_clear_flags();
    int inexact = function == Function::Log ? mpfr_log(y.get(), argument.get(), MPFR_RNDN)
                                            : mpfr_exp(y.get(), argument.get(), MPFR_RNDN);
    inexact = mpfr_subnormalize(y.get(), inexact, MPFR_RNDN);
    const Result result{mpfr_get_ld(y.get(), MPFR_RNDN), mpfr_underflow_p() != 0, mpfr_overflow_p() != 0};
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return result;
}

struct Found {
    long double X;
    double Distance;
};

// Walks blocks from the starts `pick` draws until `kept` arguments whose distance from the middle
// is below 2^-closeness are found or `blocks` blocks are walked.
template <typename Pick>
std::vector<Found> Search(Function function, std::mt19937_64& random, Pick pick, int blocks, int closeness,
                          std::size_t kept)
{
    std::vector<Found> found;
    const U128 half = U128{1} << (kFractionBits - 1);
    const U128 fraction = (U128{1} << kFractionBits) - 1;
    const U128 near = U128{1} << (kFractionBits - 24);
    for (int b = 0; b < blocks && found.size() < kept; ++b) {
        const long double x0 = pick(random);
        // The last place of x0, fixed among the subnormal numbers; the block must not leave the
        // binade of x0, where it changes.
        int exponent = 0;
        std::frexp(x0, &exponent);
        const bool subnormal = std::fabs(x0) < 0x1p-16382L;
        const long double u = std::copysign(subnormal ? 0x1p-16445L : std::ldexp(1.0L, exponent - 64), x0);
        int last = 0;
        std::frexp(x0 + (kBlock - 1) * u, &last);
        if (subnormal ? std::fabs(x0 + (kBlock - 1) * u) >= 0x1p-16382L : last != exponent)
            continue;

        Number argument(64), y(256);
        long unit = 0;
        U128 values[4];
        bool sameBinade = true;
        for (int j = 0; j <= 4 && sameBinade; ++j) {
            mpfr_set_ld(argument.get(), x0 + (j == 4 ? kBlock - 1 : j) * u, MPFR_RNDN);
            Evaluate(function, y.get(), argument.get());
            if (!mpfr_regular_p(y.get()) || mpfr_get_exp(y.get()) > 16384) {
                sameBinade = false;  // zero, or beyond the range of long double
                break;
            }
            if (j == 0)
                unit = UnitOf(y.get());
            if (UnitOf(y.get()) != unit)
                sameBinade = false;
            else if (j < 4)
                values[j] = Walked(y.get(), unit);
        }
        if (!sameBinade)
            continue;
        U128 value = values[0];
        U128 first = values[1] - values[0];
        U128 second = values[2] - 2 * values[1] + values[0];
        const U128 third = values[3] - 3 * values[2] + 3 * values[1] - values[0];
        for (int i = 0; i < kBlock; ++i) {
            const U128 part = value & fraction;
            if ((part > half ? part - half : half - part) < near) {
                const long double x = x0 + i * u;
                const double distance = Distance(function, x);
                if (std::fabs(distance) < std::ldexp(1.0, -closeness))
                    found.push_back({x, distance});
            }
            value += first;
            first += second;
            second += third;
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return std::fabs(a.Distance) < std::fabs(b.Distance); });
    found.resize(std::min(found.size(), kept));
    return found;
}

// +-a random 64-bit mantissa 2^(exponent - 63), the exponent drawn from [low, high].
long double Draw(std::mt19937_64& random, int low, int high)
{
    const int exponent = low + static_cast<int>(random() % static_cast<std::uint64_t>(high - low + 1));
    return std::ldexp(static_cast<long double>(random() | (1ULL << 63)), exponent - 63);
}

long double Uniform(std::mt19937_64& random, long double low, long double high)
{
    return low + (high - low) * (static_cast<long double>(random()) * 0x1p-64L);
}

std::string Bits(long double x)
{
    unsigned char raw[sizeof x];
    std::memcpy(raw, &x, sizeof x);
    std::uint64_t mantissa = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&mantissa, raw, 8);
    std::memcpy(&signExponent, raw + 8, 2);
    char text[40];
    std::snprintf(text, sizeof text, "%04x:%016" PRIx64, signExponent, mantissa);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::uint64_t seed = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20261209;
    std::mt19937_64 random(seed);
    std::printf("# function,argument,result,flags,distance\n");
    // One range of the search: 2^16 arguments a block make about 2^(17 - closeness) blocks a hit.
    const auto range = [&](Function function, const char* name, int closeness, std::size_t kept, auto pick) {
        const std::vector<Found> found = Search(function, random, pick, 1 << 16, closeness, kept);
        std::fprintf(stderr, "%s: %zu\n", name, found.size());
        for (const Found& f : found) {
            const Result result = Rounded(function, f.X);
            const char* flags = result.Underflow ? "underflow" : result.Overflow ? "overflow" : "";
            std::printf("%s,%s,%s,%s,%a\n", function == Function::Log ? "log" : "exp", Bits(f.X).c_str(),
                        Bits(result.Value).c_str(), flags, f.Distance);
        }
    };
    // The exponential's fast path leaves open what lies within 2^-26 of the middle, so 2^-28 is
    // left to the slow path; the logarithm's, only there near 1.
    range(Function::Exp, "exp, 1/2 to 512", 28, 4, [](std::mt19937_64& r) { return Draw(r, -1, 8); });
    range(Function::Exp, "exp, -512 to -1/2", 28, 4, [](std::mt19937_64& r) { return -Draw(r, -1, 8); });
    range(Function::Exp, "exp, 2^-40 to 1/2", 28, 3, [](std::mt19937_64& r) { return Draw(r, -40, -2); });
    range(Function::Exp, "exp, -1/2 to -2^-40", 28, 3, [](std::mt19937_64& r) { return -Draw(r, -40, -2); });
    range(Function::Exp, "exp, 512 to 11356", 28, 3, [](std::mt19937_64& r) { return Uniform(r, 512, 11356); });
    range(Function::Exp, "exp, subnormal results", 28, 3,
          [](std::mt19937_64& r) { return -Uniform(r, 11356, 11395); });
    range(Function::Log, "log, 1 + 2^-24 to 1 + 2^-15", 28, 4,
          [](std::mt19937_64& r) { return 1 + Draw(r, -23, -16); });
    range(Function::Log, "log, 1 - 2^-15 to 1 - 2^-24", 28, 4,
          [](std::mt19937_64& r) { return 1 - Draw(r, -23, -16); });
    range(Function::Log, "log, 1/2 to 4", 28, 4, [](std::mt19937_64& r) { return Draw(r, -1, 1); });
    range(Function::Log, "log, the whole range", 28, 4, [](std::mt19937_64& r) { return Draw(r, -16381, 16383); });
    range(Function::Log, "log, subnormal arguments", 28, 2, [](std::mt19937_64& r) { return Draw(r, -16445, -16383); });
    return 0;
}
