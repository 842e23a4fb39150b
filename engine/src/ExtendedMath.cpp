#include "korvelin/ExtendedMath.h"

#include "ExtendedMathFastPaths.h"
#include "ExtendedMathTables.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#if !defined(__x86_64__) && !defined(__i386__)
#error "The engine computes in the x87 extended format"
#endif
#if !defined(__SIZEOF_INT128__)
#error "The logarithm and the exponential need the compiler's 128-bit whole numbers"
#endif

// Both functions work on the argument's 64-bit mantissa and exponent in whole numbers: table
// look-ups bring the argument near a point where the function is known to 128 bits, a short
// polynomial in 128-bit fixed point does the rest, and the result, known to about 94 bits or
// more within a proved bound, is rounded to 64 bits when the bound cannot reach the middle
// between two neighbouring long doubles. That leaves out about one exponential in 50 million,
// no logarithm of the calculation's arguments and one in ten million of those within 2^-15 of 1;
// those are computed again in fixed point with 256 bits and more until the rounding is decided.
// Whole-number arithmetic is exact, so every compiler and processor gives the same bits, and it
// is faster here than long double arithmetic, whose values spill from the x87 stack.

namespace korvelin {
namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the x87 extended format");

using namespace extended_math;

__extension__ typedef unsigned __int128 U128;
__extension__ typedef __int128 I128;

constexpr U128 Words(std::uint64_t high, std::uint64_t low) noexcept { return (static_cast<U128>(high) << 64) | low; }

constexpr I128 SignedWords(std::int64_t high, std::uint64_t low) noexcept
{
    return static_cast<I128>(Words(static_cast<std::uint64_t>(high), low));
}

// Bits 64 + shift - 1 down to shift of a 128-bit number, read as a signed 64-bit one. Taken
// through the unsigned shift, which gives the same bits, so that the compiler keeps a product of
// two such words one multiplication instead of a full 128-bit one.
template <int Shift>
constexpr std::int64_t SignedBits(I128 value) noexcept
{
    static_assert(Shift >= 0 && Shift <= 64, "above 64, the unsigned shift would lose the sign");
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<U128>(value) >> Shift));
}

// The product of two signed 64-bit numbers, in full.
constexpr I128 Product(std::int64_t a, std::int64_t b) noexcept { return static_cast<I128>(a) * b; }

constexpr U128 Magnitude(I128 value) noexcept
{
    return value < 0 ? U128{0} - static_cast<U128>(value) : static_cast<U128>(value);
}

// The number of significant bits, 0 for zero.
constexpr int BitLength(U128 value) noexcept
{
    const auto high = static_cast<std::uint64_t>(value >> 64);
    return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<std::uint64_t>(value));
}

// ---------------------------------------------------------------------------------------------
// The extended format: a 64-bit mantissa with its leading bit, then sign and biased exponent.

constexpr int kBias = 16383;
constexpr std::uint64_t kLeadingBit = 1ULL << 63;
// The last bit of the smallest subnormal number is 2^-16445.
constexpr int kSubnormalUnitExponent = -16445;

struct Bits {
    std::uint64_t Mantissa;
    std::uint16_t SignExponent;
};

Bits BitsOf(long double x) noexcept
{
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &x, sizeof x);
    Bits bits;
    std::memcpy(&bits.Mantissa, raw, 8);
    std::memcpy(&bits.SignExponent, raw + 8, 2);
    return bits;
}

long double FromBits(std::uint64_t mantissa, int signExponent) noexcept
{
    unsigned char raw[sizeof(long double)] = {};
    const auto word = static_cast<std::uint16_t>(signExponent);
    std::memcpy(raw, &mantissa, 8);
    std::memcpy(raw + 8, &word, 2);
    long double x;
    std::memcpy(&x, raw, sizeof x);
    return x;
}

// 2^e for e in the normal range.
long double PowerOfTwo(int e) noexcept { return FromBits(kLeadingBit, e + kBias); }

// The results beyond the range, made by the arithmetic itself so that the unit raises the flag.
long double Overflowed() noexcept
{
    volatile long double huge = 0x1p16383L;
    return huge * huge;
}

long double Underflowed() noexcept
{
    volatile long double tiny = 0x1p-16382L;
    return tiny * tiny;
}

// 0/0: raises "invalid"; the unit's not-a-number is negative, the result the positive one.
long double InvalidResult() noexcept
{
    volatile long double zero = 0.0L;
    return std::fabs(zero / zero);
}

// +-mantissa * 2^exponent, exact: a mantissa with its leading bit set, or a subnormal one at the
// subnormal exponent. The mantissa is loaded as a whole number and scaled exactly by powers of
// two; beyond the range the scaling overflows and raises the flag.
// value * 2^exponent: one double factor where 2^exponent is one, two long double ones beyond.
inline long double TimesPowerOfTwo(long double value, int exponent) noexcept
{
    if (exponent >= -1022 && exponent <= 1023) {
        return value * std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
    }
    const int half = exponent / 2;
    return value * PowerOfTwo(half) * PowerOfTwo(exponent - half);
}

inline long double Compose(bool negative, std::uint64_t mantissa, int exponent) noexcept
{
    // mantissa - 2^63 is a signed 64-bit number either way, and adding 2^63 back is exact.
    long double value = static_cast<long double>(static_cast<std::int64_t>(mantissa ^ kLeadingBit)) + 0x1p63L;
    value = TimesPowerOfTwo(value, exponent);
    if ((mantissa & kLeadingBit) == 0) {
        value += Underflowed();  // a subnormal or zero result: raise "underflow" as well
    }
    return negative ? -value : value;
}

// A result rounded in whole numbers: mantissa * 2^unit.
struct Rounded {
    std::uint64_t Mantissa;
    int Unit;
};

// Rounds magnitude * 2^-fraction to nearest, to 64 significant bits and to the last bit of the
// subnormal numbers where that is coarser; false when `error` units of the last place of
// magnitude may move it across the middle between two neighbours. (The caller composes the
// long double, so that it is returned in the unit's register rather than through memory.)
inline bool RoundFixed(U128 magnitude, int fraction, std::uint64_t error, Rounded& rounded) noexcept
{
    const int length = BitLength(magnitude);
    int unit = length - 64 - fraction;  // the exponent of the result's last bit
    if (unit < kSubnormalUnitExponent) {
        unit = kSubnormalUnitExponent;
    }
    const int dropped = unit + fraction;  // bits of magnitude below the result's last bit
    if (dropped < 2 || dropped > 128) {
        return false;
    }
    const U128 rest = dropped == 128 ? magnitude : magnitude & ((U128{1} << dropped) - 1);
    const U128 half = U128{1} << (dropped - 1);
    if ((rest > half ? rest - half : half - rest) <= error) {
        return false;
    }
    std::uint64_t mantissa = dropped == 128 ? 0 : static_cast<std::uint64_t>(magnitude >> dropped);
    if (rest > half && ++mantissa == 0) {  // carried out of 64 bits
        mantissa = kLeadingBit;
        ++unit;
    }
    rounded = {mantissa, unit};
    return true;
}

// The fast paths' rounding, for a normal result whose leading bit lies in the upper word of
// magnitude, at most MaxShift places below its top. One shift brings the leading bit to the top:
// the upper word is then the mantissa truncated, the lower one the part below it in units of
// 2^-64 of its last place, and the error bound moves by the same shift. It must stay below 2^62,
// a quarter of the last place, so that a value just below a power of two, where the places halve,
// still rounds the way the test decides. An upper word below 2^(63 - MaxShift) goes to the
// generic rounding. False when the error may reach the middle between two neighbours.
template <int MaxShift>
inline bool RoundNormal(U128 magnitude, int fraction, std::uint64_t error, Rounded& rounded) noexcept
{
    const auto high = static_cast<std::uint64_t>(magnitude >> 64);
    const auto low = static_cast<std::uint64_t>(magnitude);
    if (high < (1ULL << (63 - MaxShift))) {
        return RoundFixed(magnitude, fraction, error, rounded);
    }
    const int shift = std::countl_zero(high);
    // (low >> 1) >> (63 - shift): the bits moving up into the mantissa, none for a zero shift.
    std::uint64_t mantissa = (high << shift) | ((low >> 1) >> (63 - shift));
    const std::uint64_t rest = low << shift;
    const std::uint64_t bound = error << shift;
    if (rest - (kLeadingBit - bound) <= 2 * bound) {  // the rest within the bound of 2^63
        return false;
    }
    int unit = 64 - shift - fraction;
    mantissa += rest >> 63;
    if (mantissa == 0) {  // carried out of 64 bits
        mantissa = kLeadingBit;
        ++unit;
    }
    rounded = {mantissa, unit};
    return true;
}

// +-mantissa 2^exponent for a mantissa with its leading bit set and 2^exponent a normal double,
// as the fast paths' results are: exact, one load and two operations that raise no flag.
inline long double ComposeNormal(std::uint64_t mantissa, int exponent) noexcept
{
    const long double value = static_cast<long double>(static_cast<std::int64_t>(mantissa ^ kLeadingBit)) + 0x1p63L;
    return value * std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
}

// ---------------------------------------------------------------------------------------------
// Error-free transformations in long double (Knuth, Dekker), for the logarithm near 1.

struct Pair {
    long double High;
    long double Low;
};

// Only for |a| >= |b| or a == 0.
inline Pair FastTwoSum(long double a, long double b) noexcept
{
    const long double s = a + b;
    return {s, b - (s - a)};
}

// a = High + Low, each of at most 32 significant bits (Veltkamp's splitting).
inline Pair Split(long double a) noexcept
{
    constexpr double kSplitter = 4294967297.0;  // 2^32 + 1
    const long double c = kSplitter * a;
    const long double high = c - (c - a);
    return {high, a - high};
}

inline Pair TwoSquare(long double a) noexcept
{
    const Pair s = Split(a);
    const long double p = a * a;
    return {p, ((s.High * s.High - p) + 2 * s.High * s.Low) + s.Low * s.Low};
}

// True when every value within bound * |high| of high + low rounds to high: low pushed away
// from zero by the bound must still round to high, which the unit itself decides with the
// spacing of the numbers on that side of high. The bound's margin covers the two roundings.
inline bool RoundsToHigh(long double high, long double low, long double bound) noexcept
{
    const long double margin = bound * std::fabs(high);
    return high + (low < 0 ? low - margin : low + margin) == high;
}

// ---------------------------------------------------------------------------------------------
// Fixed-point numbers of 32-bit limbs, for the rare arguments whose rounding the fast path
// leaves open: one limb before the point, `fraction` after it, least significant first.

constexpr int kMaxFractionLimbs = 128;

class Fixed {
public:
    explicit Fixed(int fraction) noexcept : fraction_(fraction) {}

    static Fixed Whole(int fraction, std::uint32_t value) noexcept
    {
        Fixed f(fraction);
        f.limb_[static_cast<std::size_t>(fraction)] = value;
        return f;
    }

    // mantissa * 2^exponent, truncated to the fraction's last bit; below 2^32.
    static Fixed Scaled(int fraction, std::uint64_t mantissa, int exponent) noexcept
    {
        Fixed f(fraction);
        int position = exponent + 32 * fraction;
        if (position < 0) {
            mantissa = -position >= 64 ? 0 : mantissa >> -position;
            position = 0;
        }
        for (int bit = 0; bit < 64; ++bit) {
            if ((mantissa >> bit) & 1) {
                f.SetBit(position + bit);
            }
        }
        return f;
    }

    int FractionBits() const noexcept { return 32 * fraction_; }

    bool IsZero() const noexcept
    {
        for (int i = 0; i < Limbs(); ++i) {
            if (limb_[Index(i)] != 0) {
                return false;
            }
        }
        return true;
    }

    int Compare(const Fixed& other) const noexcept
    {
        for (int i = Limbs() - 1; i >= 0; --i) {
            if (limb_[Index(i)] != other.limb_[Index(i)]) {
                return limb_[Index(i)] < other.limb_[Index(i)] ? -1 : 1;
            }
        }
        return 0;
    }

    void Add(const Fixed& other) noexcept
    {
        std::uint64_t carry = 0;
        for (int i = 0; i < Limbs(); ++i) {
            carry += static_cast<std::uint64_t>(limb_[Index(i)]) + other.limb_[Index(i)];
            limb_[Index(i)] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
    }

    // Only for other <= *this.
    void Subtract(const Fixed& other) noexcept
    {
        std::uint64_t borrow = 0;
        for (int i = 0; i < Limbs(); ++i) {
            const std::uint64_t taken = static_cast<std::uint64_t>(other.limb_[Index(i)]) + borrow;
            borrow = limb_[Index(i)] < taken ? 1 : 0;
            limb_[Index(i)] = static_cast<std::uint32_t>((borrow << 32) + limb_[Index(i)] - taken);
        }
    }

    // The product must stay below 2^32.
    void MultiplySmall(std::uint32_t factor) noexcept
    {
        std::uint64_t carry = 0;
        for (int i = 0; i < Limbs(); ++i) {
            carry += static_cast<std::uint64_t>(limb_[Index(i)]) * factor;
            limb_[Index(i)] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
    }

    // Truncated: the result is at most one unit of the last place below the quotient.
    void DivideSmall(std::uint32_t divisor) noexcept
    {
        std::uint64_t remainder = 0;
        for (int i = Limbs() - 1; i >= 0; --i) {
            const std::uint64_t current = (remainder << 32) | limb_[Index(i)];
            limb_[Index(i)] = static_cast<std::uint32_t>(current / divisor);
            remainder = current % divisor;
        }
    }

    // Truncated like DivideSmall; the product must stay below 2^32.
    Fixed Times(const Fixed& other) const noexcept
    {
        std::array<std::uint32_t, 2 * (kMaxFractionLimbs + 1)> product{};
        const int n = Limbs();
        for (int i = 0; i < n; ++i) {
            std::uint64_t carry = 0;
            for (int j = 0; j < n; ++j) {
                carry += static_cast<std::uint64_t>(limb_[Index(i)]) * other.limb_[Index(j)] + product[Index(i + j)];
                product[Index(i + j)] = static_cast<std::uint32_t>(carry);
                carry >>= 32;
            }
            product[Index(i + n)] = static_cast<std::uint32_t>(carry);
        }
        Fixed result(fraction_);
        for (int i = 0; i < n; ++i) {
            result.limb_[Index(i)] = product[Index(i + fraction_)];
        }
        return result;
    }

    // The index of the highest bit set, -1 for zero.
    int TopBit() const noexcept
    {
        for (int i = Limbs() - 1; i >= 0; --i) {
            const std::uint32_t limb = limb_[Index(i)];
            if (limb != 0) {
                int bit = 31;
                while (((limb >> bit) & 1) == 0) {
                    --bit;
                }
                return 32 * i + bit;
            }
        }
        return -1;
    }

    bool Bit(int index) const noexcept
    {
        if (index < 0 || index >= 32 * Limbs()) {
            return false;
        }
        return ((limb_[Index(index / 32)] >> (index % 32)) & 1) != 0;
    }

    // The 64 bits from the given one up.
    std::uint64_t BitsFrom(int low) const noexcept
    {
        std::uint64_t bits = 0;
        for (int i = 63; i >= 0; --i) {
            bits = (bits << 1) | (Bit(low + i) ? 1 : 0);
        }
        return bits;
    }

    // The number made of the bits below the given one.
    Fixed Below(int bit) const noexcept
    {
        Fixed low(fraction_);
        for (int i = 0; i < Limbs() && 32 * i < bit; ++i) {
            const int kept = bit - 32 * i;
            low.limb_[Index(i)] = kept >= 32 ? limb_[Index(i)] : limb_[Index(i)] & ((1U << kept) - 1);
        }
        return low;
    }

private:
    static std::size_t Index(int i) noexcept { return static_cast<std::size_t>(i); }
    int Limbs() const noexcept { return fraction_ + 1; }
    void SetBit(int index) noexcept
    {
        if (index < 32 * Limbs()) {
            limb_[Index(index / 32)] |= 1U << (index % 32);
        }
    }

    int fraction_;
    std::array<std::uint32_t, kMaxFractionLimbs + 1> limb_{};
};

// A fixed-point number with its sign.
struct SignedFixed {
    Fixed Magnitude;
    bool Negative = false;
};

void AddTo(SignedFixed& sum, const Fixed& term, bool negative) noexcept
{
    if (sum.Negative == negative) {
        sum.Magnitude.Add(term);
    } else if (sum.Magnitude.Compare(term) >= 0) {
        sum.Magnitude.Subtract(term);
    } else {
        Fixed difference = term;
        difference.Subtract(sum.Magnitude);
        sum.Magnitude = difference;
        sum.Negative = negative;
    }
    if (sum.Magnitude.IsZero()) {
        sum.Negative = false;
    }
}

// A value in fixed point and the bound of its error, in units of its last place.
struct Approximation {
    Fixed Value;
    std::uint64_t Error;
};

// ln 2 = 2 atanh(1/3) = 2 sum 1 / ((2i + 1) 3^(2i + 1)). Each power of 1/3 carries at most 9/8
// of an error unit, each term at most 2.2, the tail left out at most 1.3 before the doubling.
Approximation Ln2(int fraction) noexcept
{
    Fixed sum(fraction);
    Fixed power = Fixed::Whole(fraction, 1);
    power.DivideSmall(3);
    std::uint64_t terms = 0;
    for (std::uint32_t i = 0; !power.IsZero(); ++i, ++terms) {
        Fixed term = power;
        term.DivideSmall(2 * i + 1);
        sum.Add(term);
        power.DivideSmall(9);
    }
    sum.Add(Fixed(sum));
    return {sum, 5 * terms + 3};
}

// Rounds magnitude * 2^scale to nearest: to 64 significant bits, and to the subnormal numbers'
// last bit where that is coarser. Gives nothing when the error bound reaches the middle between
// two neighbours; with `force` it rounds anyway.
std::optional<long double> RoundToExtended(const Fixed& magnitude, std::uint64_t error, int scale, bool negative,
                                           bool force) noexcept
{
    const int point = magnitude.FractionBits();
    const int top = magnitude.TopBit();
    if (top < 0) {
        return negative ? -0.0L : 0.0L;
    }
    const int leading = top - point + scale;
    const int unit = leading - 63 > kSubnormalUnitExponent ? leading - 63 : kSubnormalUnitExponent;
    const int unitBit = unit - scale + point;
    if (unitBit < 2) {
        return std::nullopt;
    }
    const bool aboveHalf = magnitude.Bit(unitBit - 1);
    if (!force) {
        Fixed rest = magnitude.Below(unitBit - 1);
        const Fixed bound = Fixed::Scaled(point / 32, error, -point);
        if (aboveHalf) {
            if (rest.Compare(bound) <= 0) {
                return std::nullopt;
            }
        } else {
            rest.Add(bound);
            if (rest.Bit(unitBit - 1)) {
                return std::nullopt;
            }
        }
    }
    std::uint64_t mantissa = magnitude.BitsFrom(unitBit);
    int exponent = unit;
    if (aboveHalf) {
        ++mantissa;
        if (mantissa == 0) {  // carried out of 64 bits
            mantissa = kLeadingBit;
            ++exponent;
        }
    }
    const int sign = negative ? 0x8000 : 0;
    if (mantissa == 0) {
        return FromBits(0, sign) + Underflowed();
    }
    if ((mantissa & kLeadingBit) == 0) {
        // Only on the subnormal unit: the value is mantissa * 2^-16445, exponent field zero.
        return FromBits(mantissa, sign) + Underflowed();
    }
    const int biased = exponent + 63 + kBias;
    if (biased >= 0x7fff) {
        return negative ? -Overflowed() : Overflowed();
    }
    return FromBits(mantissa, sign | biased);
}

// exp(x) for 2^-67 <= |x| <= 11400: x = k ln 2 + r with 0 <= r < ln 2, exp(r) by its Taylor
// series (each term within 4 error units), exp(x) = 2^k exp(r).
std::optional<long double> TryExp(long double x, int fraction, bool force) noexcept
{
    const Approximation ln2 = Ln2(fraction);
    const Bits bits = BitsOf(x);
    const int exponent = (bits.SignExponent & 0x7fff) - kBias;
    SignedFixed r{Fixed::Scaled(fraction, bits.Mantissa, exponent - 63), x < 0};
    // The multiple of ln 2 below x, first estimated in long double and then corrected.
    int k = static_cast<int>(x * 0xb8aa3b295c17f0bcp-63L);
    Fixed multiple = ln2.Value;
    multiple.MultiplySmall(static_cast<std::uint32_t>(k < 0 ? -k : k));
    AddTo(r, multiple, k > 0);
    std::uint64_t error = static_cast<std::uint64_t>(k < 0 ? -k : k) * ln2.Error;
    while (r.Negative) {
        AddTo(r, ln2.Value, false);
        --k;
        error += ln2.Error;
    }
    while (r.Magnitude.Compare(ln2.Value) >= 0) {
        r.Magnitude.Subtract(ln2.Value);
        ++k;
        error += ln2.Error;
    }
    Fixed sum = Fixed::Whole(fraction, 1);
    Fixed term = sum;
    std::uint64_t terms = 0;
    for (std::uint32_t n = 1;; ++n, ++terms) {
        term = term.Times(r.Magnitude);
        term.DivideSmall(n);
        if (term.IsZero()) {
            break;
        }
        sum.Add(term);
    }
    // exp grows at most twice as fast as its argument below ln 2 plus the argument's error.
    return RoundToExtended(sum, 4 * terms + 8 + 3 * error, k, false, force);
}

// log x for x = m 2^e, m in [1, 2): with r = Scaled / 4096 of the first table step,
// log x = (e + shift) ln 2 - log(2^shift r) + log(1 + t), t = m r - 1 exactly. log(2^shift r),
// a ratio of small whole numbers a / b, is 2 atanh((a - b) / (a + b)); log(1 + t), |t| < 2^-8,
// its Taylor series.
std::optional<long double> TryLog(std::uint64_t mantissa, int exponent, int fraction, bool force) noexcept
{
    const unsigned index = static_cast<unsigned>(mantissa >> 55) & 0xff;
    const auto scaled = static_cast<std::uint32_t>(kLogCoarse[index].Scaled);
    const bool shift = index >= kLogShiftIndex;
    const int whole = exponent + (shift ? 1 : 0);

    SignedFixed t{Fixed::Scaled(fraction, mantissa, -63 - 12), false};
    t.Magnitude.MultiplySmall(scaled);
    AddTo(t, Fixed::Whole(fraction, 1), true);

    // log(1 + t): the powers of |t| within 1.01 error units, each term within 2.01.
    SignedFixed logOnePlusT{Fixed(fraction), false};
    Fixed power = t.Magnitude;
    std::uint64_t terms = 0;
    for (std::uint32_t n = 1; !power.IsZero(); ++n, ++terms) {
        Fixed term = power;
        term.DivideSmall(n);
        AddTo(logOnePlusT, term, t.Negative || n % 2 == 0);
        power = power.Times(t.Magnitude);
    }
    std::uint64_t error = 3 * terms + 2;

    // log(a / b) with z = (a - b) / (a + b), |z| < 0.18: the odd powers of z within 1.04 error
    // units, each term within 2.04, doubled.
    const std::int32_t a = static_cast<std::int32_t>(scaled);
    const std::int32_t b = shift ? 2048 : 4096;
    const auto difference = static_cast<std::uint32_t>(a > b ? a - b : b - a);
    const auto total = static_cast<std::uint32_t>(a + b);
    Fixed odd = Fixed::Whole(fraction, difference);
    odd.DivideSmall(total);
    Fixed atanh(fraction);
    terms = 0;
    for (std::uint32_t i = 0; !odd.IsZero(); ++i, ++terms) {
        Fixed term = odd;
        term.DivideSmall(2 * i + 1);
        atanh.Add(term);
        odd.MultiplySmall(difference * difference);
        odd.DivideSmall(total * total);
    }
    atanh.Add(Fixed(atanh));
    error += 5 * terms + 4;

    SignedFixed result = logOnePlusT;
    AddTo(result, atanh, a > b);  // minus log(a / b)
    if (whole != 0) {
        const Approximation ln2 = Ln2(fraction);
        Fixed multiple = ln2.Value;
        const auto count = static_cast<std::uint32_t>(whole < 0 ? -whole : whole);
        multiple.MultiplySmall(count);
        AddTo(result, multiple, whole < 0);
        error += count * ln2.Error;
    }
    return RoundToExtended(result.Magnitude, error, 0, result.Negative, force);
}

// From 256 bits on, doubling; 4096 bits decide every case met so far with a wide margin, and at
// that length the rounding is taken as it falls.
constexpr int kFirstFractionLimbs = 8;

// (A forced rounding gives nothing only when the result has fewer bits than the fixed point,
// which cannot happen at these lengths; the not-a-number after the loops is never returned.)
long double SlowExp(long double x) noexcept
{
    for (int fraction = kFirstFractionLimbs; fraction <= kMaxFractionLimbs; fraction *= 2) {
        if (const std::optional<long double> result = TryExp(x, fraction, fraction == kMaxFractionLimbs)) {
            return *result;
        }
    }
    return std::numeric_limits<long double>::quiet_NaN();
}

long double SlowLog(std::uint64_t mantissa, int exponent) noexcept
{
    for (int fraction = kFirstFractionLimbs; fraction <= kMaxFractionLimbs; fraction *= 2) {
        if (const std::optional<long double> result =
                TryLog(mantissa, exponent, fraction, fraction == kMaxFractionLimbs)) {
            return *result;
        }
    }
    return std::numeric_limits<long double>::quiet_NaN();
}

// Below 2^-67 in magnitude, e^x rounds as 1 + x does.
constexpr int kTinyExponent = kBias - 67;
// Beyond +-11400, e^x rounds to +inf and to +0; 11400 is 0xb220 * 2^-2.
constexpr int kLimitBiased = kBias + 13;
// Below 2^9 in magnitude, e^x is 2^(k >> 16) times a number in (0.99, 2) with |k >> 16| <= 739,
// and the power of two is a double.
constexpr int kUsualBiased = kBias + 9;
constexpr std::uint64_t kLimitMantissa = 11400ULL << 50;

// The error bounds of the fast paths, in units of the last bit of the fixed point they round.
// The logarithm's result is within 11.2 units of 2^-113: the sum within 2^17.1 units of 2^-127,
// nearly all of it the part of t^2 left out, shifted within one unit more; whole ln 2 within 1.51
// (ln 2 2^127 is within half a unit, times up to 16446 and shifted by 14 bits, and the product
// of the fraction within one). The exponential's product is within 2^32.62 units of 2^-126,
// nearly all of it the terms from r^5 on, which it leaves out. Both with a wide margin.
constexpr std::uint64_t kLogError = 64;
constexpr std::uint64_t kExpError = 1ULL << 36;
// How far below the top of the upper word the leading bit may lie: the logarithm's result, at
// least 2^88.9999 units, has it at bit 24 of the upper word or above; the exponential's product,
// at least 2^125.99, at bit 61 or above. The error bounds, so shifted, stay below 2^62.
constexpr int kLogMaxShift = 39;
constexpr int kExpMaxShift = 2;
static_assert(kLogError << kLogMaxShift < (1ULL << 62) && kExpError << kExpMaxShift < (1ULL << 62));
// Near 1, the logarithm in long double pairs: within 2^-106 of the result.
constexpr long double kLogNearOneBound = 0x1p-100L;

// log(1 + t) for t = d 2^-75, |t| < 2^-23.9: t - t^2/2 exactly as a pair, the terms from t^3 on,
// below 2^-47 t, in long double.
long double LogNearOne(std::int64_t d, std::uint64_t mantissa, int exponent) noexcept
{
    const long double t = static_cast<long double>(d) * 0x1p-75L;
    const Pair square = TwoSquare(t);
    const Pair head = FastTwoSum(t, -0.5L * square.High);
    const long double higher =
        square.High * t * (0x1.5555555555555p-2 + t * (-0.25 + t * (0x1.999999999999ap-3 + t * -0x1.5555555555555p-3)));
    const Pair result = FastTwoSum(head.High, (head.Low - 0.5L * square.Low) + higher);
    if (RoundsToHigh(result.High, result.Low, kLogNearOneBound)) {
        return result.High;
    }
    return SlowLog(mantissa, exponent);
}

// How the fast path of the logarithm ended: with its result rounded, with x within 2^-24 of 1
// (the logarithm too small for its fixed point), or with the rounding left open.
enum class LogEnd { Rounded, NearOne, Open };

// The fast path's decisions, each with its error bound: the logarithm's result in 2^-113; the
// exponential's product, e^x 2^(126 - scale), for the usual arguments and for 2^9 <= |x| <= 11400.
[[gnu::always_inline]] inline bool RoundLogResult(U128 magnitude, Rounded& rounded) noexcept
{
    return RoundNormal<kLogMaxShift>(magnitude, 113, kLogError, rounded);
}

[[gnu::always_inline]] inline bool RoundUsualExpProduct(U128 product, int scale, Rounded& rounded) noexcept
{
    return RoundNormal<kExpMaxShift>(product, 126 - scale, kExpError, rounded);
}

[[gnu::always_inline]] inline bool RoundLargeExpProduct(U128 product, int scale, Rounded& rounded) noexcept
{
    return RoundFixed(product, 126 - scale, kExpError, rounded);
}

// The fast path of log x for x = mantissa 2^(exponent - 63), the mantissa's leading bit set:
// finish(log x 2^113) with the result before its rounding, or for x near 1, NearOne with
// nearOne = t1 2^75 (see below).
template <typename Finish>
[[gnu::always_inline]] inline LogEnd LogOfNormalValue(std::uint64_t mantissa, std::int64_t exponent,
                                                     std::int64_t& nearOne, Finish finish) noexcept
{
    // x = m 2^exponent, m = mantissa 2^-63 in [1, 2). Three steps multiply m by short
    // approximations r1 = R1 2^-12, r2 = R2 2^-24, r3 = R3 2^-32 of reciprocals, each chosen from
    // the leading bits of the previous product, so that t = m r1 r2 r3 - 1, exact in whole
    // numbers, ends below 2^-23.9 and log x = whole ln 2 - log r1 - log r2 - log r3 + log(1 + t).
    // The products: P1 = M R1 = (1 + t1) 2^75 with |t1| < 2^-8, P2 = P1 R2 = (1 + t2) 2^99 with
    // |t2| < 2^-15.99, P3 = P2 R3 = (1 + t) 2^131, taken modulo 2^128: t 2^131 is below 2^107.1.
    // The table values -log r add up in 2^-127 as the steps go.
    const unsigned index = static_cast<unsigned>(mantissa >> 55) & 0xff;
    const LogEntry& coarse = kLogCoarse[index];
    const std::int64_t whole = exponent + (index >= kLogShiftIndex ? 1 : 0);
    I128 sum = SignedWords(coarse.High, coarse.Low);
    const U128 p1 = static_cast<U128>(mantissa) * static_cast<std::uint64_t>(coarse.Scaled);
    const int j2 = static_cast<int>((static_cast<std::uint64_t>(p1 >> 12) + (1ULL << 47)) >> 48) - (1 << 15);
    const LogEntry& fine = kLogFine[j2 + kLogFineHalf];
    sum += SignedWords(fine.High, fine.Low);
    const U128 p2 = p1 * static_cast<std::uint64_t>(fine.Scaled);
    const int j3 = static_cast<int>((p2 + (U128{1} << 75)) >> 76) - (1 << 23);
    const LogEntry& finest = kLogFinest[j3 + kLogFinestHalf];
    sum += SignedWords(finest.High, finest.Low);
    const auto t3 = static_cast<I128>(p2 * static_cast<std::uint64_t>(finest.Scaled));

    if (whole == 0 && (index == 0 || index == 255) && j2 == 0 && j3 == 0) {
        // x within 2^-24 of 1: r1 is 1 or 1/2, r2 = r3 = 1, and the logarithm is log(1 + t1)
        // alone, too small for a fixed point.
        nearOne = static_cast<std::int64_t>(p1 - (U128{1} << 75));
        return LogEnd::NearOne;
    }

    // log(1 + t) 2^127 = t - t^2/2 + t^3 (1/3 - t/4); the terms from t^5 on are below 2^-121.8
    // (36.3 units). t3 = t 2^131; th = floor(t 2^86), below 2^62.1 in magnitude. t 2^127 is t3
    // shifted, within one unit; t^2/2 2^127 the square of th shifted, within 2^17.1 units (th
    // times the 45 bits of t3 below it, left out); the cubic term from 64-bit values within 1.2
    // units. With the tables' 1.5 units, the sum is within 2^17.1 units.
    const std::int64_t th = SignedBits<45>(t3);
    const I128 thSquare = Product(th, th);                                            // t^2 2^172
    const std::int64_t cube = SignedBits<64>(Product(SignedBits<64>(thSquare), th));  // t^3 2^130
    constexpr std::int64_t kThird = 0x2aaaaaaaaaaaaaaa;                               // 2^63 / 3
    const std::int64_t factor = kThird - (th >> 25);                                  // (1/3 - t/4) 2^63
    sum += (t3 >> 4) - static_cast<I128>(static_cast<U128>(thSquare) >> 46) +
           (SignedBits<64>(Product(cube, factor)) >> 2);

    // With whole ln 2 (below 2^14 in magnitude), in 2^-113: ln 2 2^113 is ln 2 2^127 shifted, a
    // high word below 2^49 and a low one, written signed so that the products are signed ones,
    // and 14 bits of fraction; whole times the fraction and the sum are shifted, each within one
    // unit. The result is at least 2^-24.0001 in magnitude (2^88.9999 units).
    constexpr std::uint64_t ln2Middle = (kLn2High << 50) | (kLn2Low >> 14);
    constexpr auto ln2Low = static_cast<std::int64_t>(ln2Middle);
    constexpr auto ln2High = static_cast<std::int64_t>((kLn2High >> 14) + (ln2Middle >> 63));
    constexpr auto ln2Fraction = static_cast<std::int64_t>(kLn2Low & 0x3fff);
    const I128 result = (static_cast<I128>(whole * ln2High) << 64) + Product(whole, ln2Low) +
                        ((whole * ln2Fraction) >> 14) + (sum >> 14);
    return finish(result);
}

// The fast path of log x for x = mantissa 2^(exponent - 63), the mantissa's leading bit set: the
// rounded result as +-rounded, or for x near 1, nearOne = t1 2^75.
[[gnu::always_inline]] inline LogEnd LogOfNormalFixed(std::uint64_t mantissa, std::int64_t exponent, Rounded& rounded,
                                                     bool& negative, std::int64_t& nearOne) noexcept
{
    return LogOfNormalValue(mantissa, exponent, nearOne, [&](I128 result) __attribute__((always_inline)) {
        negative = result < 0;
        return RoundLogResult(Magnitude(result), rounded) ? LogEnd::Rounded : LogEnd::Open;
    });
}

// log x for x = mantissa 2^(exponent - 63), the mantissa's leading bit set.
[[gnu::always_inline]] inline long double LogOfNormal(std::uint64_t mantissa, std::int64_t exponent) noexcept
{
    Rounded rounded;
    bool negative = false;
    std::int64_t nearOne = 0;
    switch (LogOfNormalFixed(mantissa, exponent, rounded, negative, nearOne)) {
    case LogEnd::Rounded: {
        const long double value = ComposeNormal(rounded.Mantissa, rounded.Unit);
        return negative ? -value : value;
    }
    case LogEnd::NearOne:
        return nearOne == 0 ? 0.0L : LogNearOne(nearOne, mantissa, static_cast<int>(exponent));
    case LogEnd::Open:
        break;
    }
    return SlowLog(mantissa, static_cast<int>(exponent));
}

// The logarithm of every argument but a positive normal number.
[[gnu::noinline]] long double LogOfOther(long double x) noexcept
{
    const Bits bits = BitsOf(x);
    const int biased = bits.SignExponent & 0x7fff;
    const bool negative = (bits.SignExponent & 0x8000) != 0;
    if (biased == 0x7fff) {
        if ((bits.Mantissa << 1) != 0) {  // not a number
            return x + x;
        }
        return negative ? InvalidResult() : x;
    }
    if (biased == 0 && bits.Mantissa == 0) {
        return -1.0L / std::fabs(x);
    }
    if (negative || biased != 0) {
        // Negative, or an exponent without the mantissa's leading bit, which the unit refuses.
        return InvalidResult();
    }
    // Subnormal: made normal by an exact scaling.
    const Bits scaled = BitsOf(x * 0x1p64L);
    return LogOfNormal(scaled.Mantissa, (scaled.SignExponent & 0x7fff) - kBias - 64);
}

// The exponential's reduction and product: for |x| = mantissa 2^(exponent - 63), exponent from
// -67 to 13, x = k ln2/2^16 + r with k whole and |r| <= ln2/2^17 (1 + 2^-32), and
// e^x = 2^(k >> 16) 2^((k & 0xffff)/2^16) exp(r). Product holds 2^((k & 0xffff)/2^16) exp(r) in
// 2^-126, within 2^32.62 units; Scale is k >> 16.
struct ExpProduct {
    U128 Product;
    int Scale;
};

[[gnu::always_inline]] inline ExpProduct ExpReduced(std::uint64_t mantissa, int exponent, bool negative) noexcept
{
    // k = round(|x| 2^16 / ln 2), below 2^30: |x| 2^16 / ln 2 = mantissa * kExpInverseStep
    // 2^(exponent - 110); twice that, truncated to a whole number, plus one, halved. Below 2^-18,
    // |x| 2^16 / ln 2 < 0.37 and k = 0.
    // And |x| 2^144 modulo 2^128, which from 2^-17 on, the usual case, is its upper word alone.
    std::uint64_t k = 0;
    U128 scaled = 0;
    if (exponent >= -17) {
        const auto high = static_cast<std::uint64_t>((static_cast<U128>(mantissa) * kExpInverseStep) >> 64);
        k = ((high >> (45 - exponent)) + 1) >> 1;
        scaled = static_cast<U128>(mantissa << (exponent + 17)) << 64;
    } else {
        if (exponent == -18) {
            const auto high = static_cast<std::uint64_t>((static_cast<U128>(mantissa) * kExpInverseStep) >> 64);
            k = ((high >> 63) + 1) >> 1;
        }
        scaled = static_cast<U128>(mantissa) << (exponent + 81);
    }
    // rho = r 2^144: |x| 2^144 - k ln2 2^128, computed modulo 2^128 (the difference is below
    // 2^126.5), k ln2 2^128 from three words of ln 2 within 1 + 2^-34 units; then signed as x.
    const U128 step = (static_cast<U128>(k * kExpStepHigh) << 64) + static_cast<U128>(k) * kExpStepLow +
                      ((static_cast<U128>(k) * kExpStepFraction) >> 64);
    const U128 difference = scaled - step;
    const I128 rho = negative ? -static_cast<I128>(difference) : static_cast<I128>(difference);
    const std::int64_t signedK = negative ? -static_cast<std::int64_t>(k) : static_cast<std::int64_t>(k);

    // exp(r) 2^127 = 2^127 + r + r^2/2 + r^3 (1/3! + r/4!); the terms from r^5 on, left out, are
    // below 2^-94.55 (2^32.45 units). rh = floor(r 2^80), below 2^62.48 in magnitude. r 2^127 is
    // rho shifted, within 1.0001 units; r^2/2 the square of rh, within 2^29.48 units; the cubic
    // term from 64-bit values (r^2 2^96 and r^3 2^112 within 1.8 units, the factor within 1.6
    // units of 2^-65), within 2^13.7 units.
    const std::int64_t rh = SignedBits<64>(rho);
    const I128 rhSquare = Product(rh, rh);                                                   // r^2 2^160
    const std::int64_t square = SignedBits<64>(rhSquare);                                    // r^2 2^96
    const std::int64_t cube = SignedBits<64>(Product(square, rh));                           // r^3 2^112
    const std::int64_t factor = kExpCoefficient3 + (SignedBits<64>(Product(rh, kExpCoefficient4)) >> 16);  // 2^65
    const I128 terms = (rho >> 17) + (rhSquare >> 34) + (Product(cube, factor) >> 50);
    const std::uint64_t powerHigh = static_cast<std::uint64_t>(SignedBits<64>(terms)) + kLeadingBit;  // with 2^127
    const auto powerLow = static_cast<std::uint64_t>(terms);

    // 2^((k & 0xffff)/2^16) = 2^(i/256) 2^(j/2^16), i and j the two bytes of k above and below the
    // 8th bit: a = 2^(i/256) + 2^(i/256) (2^(j/2^16) - 1) in 2^-127, within 4 units (the table
    // values half a unit each, the product's three truncated words three).
    const ExpEntry& coarse = kExp[static_cast<std::size_t>((signedK >> 8) & 0xff)];
    const ExpEntry& fine = kExpFine[static_cast<std::size_t>(signedK & 0xff)];
    const U128 a = Words(coarse.High, coarse.Low) + static_cast<U128>(coarse.High) * fine.High +
                   ((static_cast<U128>(coarse.High) * fine.Low) >> 64) +
                   ((static_cast<U128>(coarse.Low) * fine.High) >> 64);

    // a exp(r) in 2^-126: the upper 128 bits of the product, within three units more and those
    // of a and of the power.
    const auto aHigh = static_cast<std::uint64_t>(a >> 64);
    const auto aLow = static_cast<std::uint64_t>(a);
    const U128 product = static_cast<U128>(aHigh) * powerHigh + ((static_cast<U128>(aHigh) * powerLow) >> 64) +
                         ((static_cast<U128>(aLow) * powerHigh) >> 64);
    return {product, static_cast<int>(signedK >> 16)};
}

// The exponential of every argument outside 2^-67 <= |x| < 2^9: the special ones, those too
// small or too large, and the large ones, whose result may overflow or be subnormal.
[[gnu::noinline]] long double ExpOfOther(long double x) noexcept
{
    const Bits bits = BitsOf(x);
    const int biased = bits.SignExponent & 0x7fff;
    const bool negative = (bits.SignExponent & 0x8000) != 0;
    const std::uint64_t mantissa = bits.Mantissa;
    if (biased == 0x7fff) {
        if ((mantissa << 1) != 0) {  // not a number
            return x + x;
        }
        return negative ? 0.0L : x;
    }
    if (biased < kTinyExponent) {
        return 1.0L + x;
    }
    if (biased > kLimitBiased || (biased == kLimitBiased && mantissa > kLimitMantissa)) {
        return negative ? Underflowed() : Overflowed();
    }
    // 2^9 <= |x| <= 11400: the generic rounding decides, to the subnormal numbers' last bit.
    const ExpProduct reduced = ExpReduced(mantissa, biased - kBias, negative);
    Rounded rounded;
    if (RoundLargeExpProduct(reduced.Product, reduced.Scale, rounded)) {
        return Compose(false, rounded.Mantissa, rounded.Unit);
    }
    return SlowExp(x);
}

// A positive normal number: sign bit clear, biased exponent from 1 to 0x7ffe and the mantissa's
// leading bit set; the logarithm's usual argument.
inline bool IsPositiveNormal(const Bits& bits) noexcept
{
    return static_cast<unsigned>(bits.SignExponent) - 1 < 0x7ffe && (bits.Mantissa & kLeadingBit) != 0;
}

// Whether a biased exponent puts the exponential's argument in its usual range, 2^-67 <= |x| <
// 2^9: the product, at least 2^125.99 and below 2^127, is rounded to a mantissa times
// 2^(scale - 126 + 64 - shift), scale - 126 being from -865 to 612: a normal double.
inline bool IsUsualExpArgument(int biased) noexcept
{
    return static_cast<unsigned>(biased - kTinyExponent) < static_cast<unsigned>(kUsualBiased - kTinyExponent);
}

// The exponential of an argument of the usual range, +-mantissa 2^(exponent - 63): false when the
// fast path leaves the rounding open.
[[gnu::always_inline]] inline bool ExpOfUsual(std::uint64_t mantissa, int exponent, bool negative,
                                              long double& result) noexcept
{
    const ExpProduct reduced = ExpReduced(mantissa, exponent, negative);
    Rounded rounded;
    if (!RoundUsualExpProduct(reduced.Product, reduced.Scale, rounded)) {
        return false;
    }
    result = ComposeNormal(rounded.Mantissa, rounded.Unit);
    return true;
}

}  // namespace

long double ExtendedLog(long double x) noexcept
{
    // The arguments are told apart by their bits, without loading x into the unit.
    const Bits bits = BitsOf(x);
    if (IsPositiveNormal(bits)) {
        return LogOfNormal(bits.Mantissa, static_cast<std::int64_t>(bits.SignExponent) - kBias);
    }
    return LogOfOther(x);
}

long double ExtendedExp(long double x) noexcept
{
    const Bits bits = BitsOf(x);
    const int biased = bits.SignExponent & 0x7fff;
    if (IsUsualExpArgument(biased)) {
        long double result;
        if (ExpOfUsual(bits.Mantissa, biased - kBias, (bits.SignExponent & 0x8000) != 0, result)) {
            return result;
        }
        return SlowExp(x);
    }
    return ExpOfOther(x);
}

long double ExtendedExpOfHalvedLog(long double x, int halvings) noexcept
{
    // A positive normal x whose logarithm the fast path rounds: log x = +-mantissa 2^unit, the
    // mantissa's leading bit set, and log x / 2^halvings the long double with the same mantissa
    // and the exponent lowered, exact. Where the exponential's fast path takes that argument, it
    // is handed over as whole numbers; the result is the one the two functions give in turn.
    const Bits bits = BitsOf(x);
    if ((halvings == 1 || halvings == 2) && IsPositiveNormal(bits)) {
        Rounded logarithm;
        bool negative = false;
        std::int64_t nearOne = 0;
        if (LogOfNormalFixed(bits.Mantissa, static_cast<std::int64_t>(bits.SignExponent) - kBias, logarithm,
                             negative, nearOne) == LogEnd::Rounded) {
            const int exponent = logarithm.Unit + 63 - halvings;
            long double result;
            if (IsUsualExpArgument(exponent + kBias) && ExpOfUsual(logarithm.Mantissa, exponent, negative, result)) {
                return result;
            }
        }
    }
    return ExtendedExp(ExtendedLog(x) * (halvings == 1 ? 0.5L : halvings == 2 ? 0.25L : 1.0L));
}

long double ExtendedLogSlowPath(long double x) noexcept
{
    Bits bits = BitsOf(x);
    int exponent = (bits.SignExponent & 0x7fff) - kBias;
    if ((bits.SignExponent & 0x7fff) == 0) {
        bits = BitsOf(x * 0x1p64L);
        exponent = (bits.SignExponent & 0x7fff) - kBias - 64;
    }
    return SlowLog(bits.Mantissa, exponent);
}

long double ExtendedExpSlowPath(long double x) noexcept { return SlowExp(x); }

namespace extended_math_fast_paths {
namespace {

constexpr U128 FromWords(Words words) noexcept { return (static_cast<U128>(words.High) << 64) | words.Low; }

constexpr Words ToWords(U128 value) noexcept
{
    return {static_cast<std::uint64_t>(value >> 64), static_cast<std::uint64_t>(value)};
}

constexpr Decision Decided(bool decided, const Rounded& rounded) noexcept
{
    return decided ? Decision{true, rounded.Mantissa, rounded.Unit} : Decision{false, 0, 0};
}

}  // namespace

ExpValue ExpFastValue(std::uint64_t mantissa, int exponent, bool negative) noexcept
{
    const ExpProduct reduced = ExpReduced(mantissa, exponent, negative);
    return {ToWords(reduced.Product), reduced.Scale};
}

LogValue LogFastValue(std::uint64_t mantissa, std::int64_t exponent) noexcept
{
    I128 result = 0;
    std::int64_t nearOne = 0;
    const LogEnd end = LogOfNormalValue(mantissa, exponent, nearOne, [&](I128 value) {
        result = value;
        return LogEnd::Open;
    });
    return {end == LogEnd::NearOne, ToWords(static_cast<U128>(result))};
}

std::uint64_t ExpErrorBound() noexcept { return kExpError; }
std::uint64_t LogErrorBound() noexcept { return kLogError; }

Decision DecideUsualExp(Words product, int scale) noexcept
{
    Rounded rounded{};
    const bool decided = RoundUsualExpProduct(FromWords(product), scale, rounded);
    return Decided(decided, rounded);
}

Decision DecideLargeExp(Words product, int scale) noexcept
{
    Rounded rounded{};
    const bool decided = RoundLargeExpProduct(FromWords(product), scale, rounded);
    return Decided(decided, rounded);
}

Decision DecideLog(Words magnitude) noexcept
{
    Rounded rounded{};
    const bool decided = RoundLogResult(FromWords(magnitude), rounded);
    return Decided(decided, rounded);
}

}  // namespace extended_math_fast_paths
}  // namespace korvelin
