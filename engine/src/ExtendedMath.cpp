#include "korvelin/ExtendedMath.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if !defined(__x86_64__) && !defined(__i386__)
#error "The engine computes in the x87 extended format"
#endif

namespace korvelin {
namespace {

// The sign and biased exponent of an extended value (the 16 bits above the 64-bit mantissa).
std::uint16_t SignAndExponent(long double x) noexcept
{
    std::uint16_t word = 0;
    std::memcpy(&word, reinterpret_cast<const unsigned char*>(&x) + 8, sizeof word);
    return word;
}

long double LoadLn2() noexcept
{
    long double ln2;
    asm("fldln2" : "=t"(ln2));
    return ln2;
}

long double LoadLog2E() noexcept
{
    long double log2e;
    asm("fldl2e" : "=t"(log2e));
    return log2e;
}

// y * log2(x) in one rounding.
long double YLog2X(long double x, long double y) noexcept
{
    long double result;
    asm volatile("fyl2x" : "=t"(result) : "0"(x), "u"(y) : "st(1)");
    return result;
}

// y * log2(1 + x) in one rounding, accurate for small x.
long double YLog2XPlus1(long double x, long double y) noexcept
{
    long double result;
    asm volatile("fyl2xp1" : "=t"(result) : "0"(x), "u"(y) : "st(1)");
    return result;
}

// Rounds to a whole number in the current rounding mode (to nearest in the engine).
long double RoundWhole(long double x) noexcept
{
    long double result;
    asm("frndint" : "=t"(result) : "0"(x));
    return result;
}

// 2^x - 1 for |x| <= 1.
long double TwoPowerMinusOne(long double x) noexcept
{
    long double result;
    asm volatile("f2xm1" : "=t"(result) : "0"(x));
    return result;
}

// x * 2^trunc(n).
long double Scale(long double x, long double n) noexcept
{
    long double result;
    asm volatile("fscale" : "=t"(result) : "0"(x), "u"(n));
    return result;
}

// log2(e) = c0 + c1: c0 has only 15 significant bits, so c0 times a whole number below 2^15 is
// exact, and c1 carries the rest of log2(e) to extended precision.
constexpr long double kLog2EHigh = 0xb8aap-15L;
constexpr long double kLog2ELow = 0xeca5705fc2eefa20p-81L;

// Below 2^-67 in magnitude, e^x rounds to 1 + x.
constexpr std::uint16_t kTinyExponent = 0x3fbc;
// From 2^15 on, e^x is beyond the extended range; such arguments are clamped to +-2^15, which
// still overflows or underflows in the same way.
constexpr std::uint16_t kHugeExponent = 0x400d;
constexpr long double kClampedArgument = 32768.0L;

}  // namespace

long double ExtendedLog(long double x) noexcept
{
    if (std::isnan(x)) {
        return x + x;
    }
    const long double ln2 = LoadLn2();
    // Below zero the unit raises "invalid" and gives a negative not-a-number; the result is the
    // positive one, as the C library's logarithm returns.
    if (x < 0) {
        return std::fabs(YLog2X(x, ln2));
    }
    // Near 1, log(x) = log(1 + (x - 1)) keeps the low bits that x itself no longer has.
    long double nearOne = x - 1.0L;
    if (!(std::fabs(nearOne) > static_cast<long double>(0.29))) {
        if (nearOne == 0) {
            nearOne = 0.0L;  // log(1) is +0
        }
        return YLog2XPlus1(nearOne, ln2);
    }
    return YLog2X(x, ln2);
}

long double ExtendedExp(long double x) noexcept
{
    const std::uint16_t exponent = SignAndExponent(x) & 0x7fffU;
    if (exponent > kHugeExponent) {
        if (std::isnan(x)) {
            return x + x;
        }
        if (std::isinf(x)) {
            return x > 0 ? x : 0.0L;
        }
        x = x > 0 ? kClampedArgument : -kClampedArgument;
    } else if (exponent < kTinyExponent) {
        return 1.0L + x;
    }
    // e^x = 2^(x log2 e) = 2^i * 2^f with i whole and |f| <= 1/2. To keep f exact to extended
    // precision, x is split into a whole part xi and a rest xf, and
    //   f = (c0 xi - i) + c0 xf + c1 x,
    // where c0 xi is exact and so is its difference with i.
    const long double whole = RoundWhole(x * LoadLog2E());
    const long double xWhole = RoundWhole(x);
    long double fraction = kLog2EHigh * xWhole - whole;
    fraction = fraction + kLog2EHigh * (x - xWhole);
    fraction = fraction + kLog2ELow * x;
    const long double power = TwoPowerMinusOne(fraction) + 1.0L;
    return Scale(power, whole);
}

}  // namespace korvelin
