#include "korvelin/NumberFormat.h"

#include "korvelin/FpWatch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace korvelin {
namespace {

// A non-negative finite value as Digits (no leading zero, trailing zeros kept) times
// 10^(Exponent + 1 - Digits.size()): the first digit stands for 10^Exponent.
struct Decimal {
    std::string Digits;
    int Exponent = 0;
};

// Exact decimal digits of a double rounded to `significant` digits, ties to even, through the
// standard conversion (which is exact for long double).
Decimal ToDecimalSlow(long double magnitude, int significant)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, significant - 1);
    Decimal decimal;
    const char* p = buffer.data();
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            decimal.Digits += *p;
        }
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, decimal.Exponent);
    return decimal;
}

__extension__ using Uint128 = unsigned __int128;

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (auto& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// 18 significant digits of a double in [1e-5, 2^52), computed exactly with 128-bit integers:
// the value is m * 2^-s, and round(m * 10^k / 2^s) with ties to even gives the digits as one
// integer in [10^17, 10^18) whose first digit stands for 10^decimalExponent.
bool ToDecimal18Fast(double magnitude, std::uint64_t& digits, int& decimalExponent)
{
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0) {
        return false;  // subnormal
    }
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = biased - 1075;  // magnitude = mantissa * 2^binaryExponent
    const int shift = -binaryExponent;
    if (shift <= 0 || shift >= 127) {
        return false;
    }
    // floor(log10(2^(e+52))), exact or one too small; corrected below.
    int exponent = ((binaryExponent + 52) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 17 - exponent;
        if (scale < 0 || scale > 22) {
            return false;
        }
        Uint128 scaled = mantissa;
        if (scale > 19) {
            scaled *= kPowersOfTen[19];
            scaled *= kPowersOfTen[static_cast<std::size_t>(scale - 19)];
        } else {
            scaled *= kPowersOfTen[static_cast<std::size_t>(scale)];
        }
        const Uint128 one = 1;
        Uint128 quotient = scaled >> shift;
        const Uint128 remainder = scaled & ((one << shift) - 1);
        const Uint128 half = one << (shift - 1);
        if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
            ++quotient;
        }
        if (quotient >= kPowersOfTen[18]) {
            ++exponent;
            continue;
        }
        if (quotient < kPowersOfTen[17]) {
            --exponent;
            continue;
        }
        digits = static_cast<std::uint64_t>(quotient);
        decimalExponent = exponent;
        return true;
    }
    return false;
}

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
// The bits of the double nearest to 1e-5: below it every value shows as zero.
const std::uint64_t kBitsOfOneHundredThousandth = std::bit_cast<std::uint64_t>(1e-5);

// The value times 1000 rounded as the format rounds it, straight from the binary value, for the
// values in [1e-5, 2^49) whose result is certain. The value is m * 2^-s with m < 2^53, so
// m * 1000 < 2^63 is exact, and its quotient N and remainder R by 2^s are the thousandths and
// the part beyond them. The format rounds the 18-digit form of the value, not the value: that
// form lies within half a unit of the 18th digit, at most 0.5e-17 * v away, which is at most
// 0.5e-14 * m units of 2^-s once multiplied by 1000, and m >> 40 is more than that. Away from the
// half by more than this margin, the 18-digit form rounds the same way as the value itself (a
// shift across a whole number changes nothing: both sides of it round to it). Below 2^49 (about
// 5.6e14) the 18-digit form has at least three decimals, so its rounding is made at the fourth.
// Near a half, the exact paths below decide.
inline bool ThousandthsDirect(std::uint64_t magnitudeBits, std::uint64_t& thousandths)
{
    const int biased = static_cast<int>(magnitudeBits >> 52);
    const int shift = 1075 - biased;  // the value is mantissa * 2^-shift
    if (shift < 4 || biased == 0) {
        return false;  // 2^49 and above, or subnormal (below 1e-5 and handled before)
    }
    if (shift > 63) {
        // Below 2^-11 the value times 1000 is under 0.49: it rounds to zero whatever its form.
        thousandths = 0;
        return true;
    }
    const std::uint64_t mantissa = (magnitudeBits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const std::uint64_t scaled = mantissa * 1000;
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t margin = (mantissa >> 40) + 1;
    // Both are below 2^63: their difference fits a signed word. No branch on the side of the
    // half, which is as likely one way as the other.
    const auto fromHalf = static_cast<std::int64_t>(remainder) - static_cast<std::int64_t>(half);
    const std::uint64_t distance =
        fromHalf < 0 ? -static_cast<std::uint64_t>(fromHalf) : static_cast<std::uint64_t>(fromHalf);
    thousandths = whole + (fromHalf > 0 ? 1 : 0);
    return distance > margin;
}

// The value times 1000 rounded half away from zero from its 18-digit form, when it fits.
[[gnu::noinline]] bool ThousandthsFast(double magnitude, std::uint64_t& thousandths)
{
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!ToDecimal18Fast(magnitude, digits, exponent)) {
        return false;
    }
    // Digit i of the 18 stands for 10^(exponent - i): keep those down to 10^-3 (`kept` of them)
    // and round at the next one.
    const int kept = exponent + 4;
    if (kept < 0) {
        thousandths = 0;
    } else if (kept >= 18) {
        thousandths = digits * kPowersOfTen[static_cast<std::size_t>(kept - 18)];
    } else {
        const std::uint64_t withRounding = digits / kPowersOfTen[static_cast<std::size_t>(17 - kept)];
        thousandths = withRounding / 10 + (withRounding % 10 >= 5 ? 1 : 0);
    }
    return true;
}

// Increments a string of decimal digits by one unit in its last place; returns true when the
// carry ran out of the leftmost digit (the caller then prepends a "1").
bool IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

// The value times 1000, rounded, as decimal digits, for the values the shortcut leaves.
std::string ThousandthsSlow(double magnitude)
{
    const Decimal decimal = ToDecimalSlow(magnitude, 18);
    const int kept = decimal.Exponent + 4;
    const int digitCount = static_cast<int>(decimal.Digits.size());
    std::string scaled;
    for (int i = 0; i < kept; ++i) {
        scaled += i < digitCount ? decimal.Digits[static_cast<std::size_t>(i)] : '0';
    }
    const char roundingDigit =
        (kept >= 0 && kept < digitCount) ? decimal.Digits[static_cast<std::size_t>(kept)] : '0';
    if (roundingDigit >= '5' && IncrementDigits(scaled)) {
        scaled.insert(scaled.begin(), '1');
    }
    return scaled;
}

// A non-zero finite magnitude reduced to 18 digits, then to `significant` with a 5 rounding away
// from zero, trailing zeros dropped.
Decimal RoundedDecimal(long double magnitude, int significant)
{
    Decimal decimal = ToDecimalSlow(magnitude, 18);
    std::string digits = decimal.Digits.substr(0, static_cast<std::size_t>(significant));
    if (decimal.Digits[static_cast<std::size_t>(significant)] >= '5' && IncrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++decimal.Exponent;
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    decimal.Digits = std::move(digits);
    return decimal;
}

// The digits in plain positional notation, the mark after `pointPosition` of them.
void AppendPositional(std::string& out, const std::string& digits, int pointPosition,
                      std::string_view decimalSeparator)
{
    if (pointPosition <= 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<std::size_t>(-pointPosition), '0');
        out += digits;
        return;
    }
    const auto integerDigits = static_cast<std::size_t>(pointPosition);
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
        return;
    }
    out.append(digits, 0, integerDigits);
    out += decimalSeparator;
    out.append(digits, integerDigits);
}

// "⁻¹²": an exponent in superscript characters.
std::string Superscript(int exponent)
{
    static constexpr std::string_view kDigits[] = {"⁰", "¹", "²", "³", "⁴",
                                                   "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string out = exponent < 0 ? "⁻" : "";
    for (const char digit : std::to_string(exponent < 0 ? -exponent : exponent)) {
        out += kDigits[digit - '0'];
    }
    return out;
}

// The value times 1000 as the format rounds it, when it fits 64 bits: straight from the binary
// value where that is certain, else from the exact 18-digit form.
inline bool ThousandthsOf(std::uint64_t magnitudeBits, std::uint64_t& thousandths)
{
    if (magnitudeBits < kBitsOfOneHundredThousandth) {
        thousandths = 0;  // below 1e-5 the value rounds to zero whatever its 18-digit form
        return true;
    }
    return ThousandthsDirect(magnitudeBits, thousandths) ||
           ThousandthsFast(std::bit_cast<double>(magnitudeBits), thousandths);
}

// "000" to "999": three digits at a time, one load instead of a chain of divisions.
constexpr auto kThreeDigits = [] {
    std::array<std::array<char, 3>, 1000> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = {static_cast<char>('0' + i / 100), static_cast<char>('0' + i / 10 % 10),
                    static_cast<char>('0' + i % 10)};
    }
    return table;
}();

// A "0.000" text of the short form, before it is written: the value's thousandths, the minus,
// the text's length.
struct ShortText {
    std::uint64_t Thousandths = 0;
    bool Minus = false;
    std::size_t Length = 0;
};

// The text of a value whose thousandths fit 64 bits and whose separator is at most 8 bytes: a
// minus, up to 17 integer digits, the separator, three decimals, at most 29 characters in all.
inline bool MeasureShort(double value, std::string_view decimalSeparator, ShortText& text) noexcept
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (decimalSeparator.size() > kLongestShortSeparator || !ThousandthsOf(bits & ~kSignBit, text.Thousandths)) {
        return false;
    }
    const std::uint64_t whole = text.Thousandths / 1000;
    // The digits of the whole part without a branch: the bit length gives the number of digits
    // or one less, which one comparison settles; zero has one digit.
    const auto guess = static_cast<std::size_t>((64 - std::countl_zero(whole | 1)) * 1233) >> 12;
    const std::size_t integerDigits = guess + (whole >= kPowersOfTen[guess] ? 1 : 0) + (whole == 0 ? 1 : 0);
    text.Minus = (bits & kSignBit) != 0 && text.Thousandths != 0;
    text.Length = (text.Minus ? 1 : 0) + integerDigits + decimalSeparator.size() + 3;
    return true;
}

// "-12,345": the measured text written at `out`, right to left from its end, which it returns.
// Written in place: a text put together in a buffer of its own and then copied would be read
// back while its bytes are still on their way to memory, which stalls the processor longer than
// the whole formatting takes.
inline char* WriteShort(char* out, const ShortText& text, std::string_view decimalSeparator) noexcept
{
    const std::uint64_t thousandths = text.Thousandths;
    char* const end = out + text.Length;
    std::uint64_t whole = thousandths / 1000;
    char* p = end - 3;
    std::memcpy(p, kThreeDigits[thousandths - whole * 1000].data(), 3);
    if (decimalSeparator.size() == 1) {
        *--p = decimalSeparator.front();
    } else {
        p -= decimalSeparator.size();
        std::memcpy(p, decimalSeparator.data(), decimalSeparator.size());
    }
    while (whole >= 1000) {
        const std::uint64_t higher = whole / 1000;
        p -= 3;
        std::memcpy(p, kThreeDigits[whole - higher * 1000].data(), 3);
        whole = higher;
    }
    // The leading group without its leading zeros: the last one, two or three of its digits.
    const char* const digits = kThreeDigits[whole].data();
    const std::size_t leading = whole >= 100 ? 3 : whole >= 10 ? 2 : 1;
    p -= leading;
    p[leading - 1] = digits[2];
    if (leading > 1) {
        p[leading - 2] = digits[1];
    }
    if (leading > 2) {
        p[0] = digits[0];
    }
    if (text.Minus) {
        *--p = '-';
    }
    return end;
}

// The values the 64-bit paths leave (2^52 and above, infinities): the digits as text.
[[gnu::noinline]] void AppendFixed3Slow(std::string& out, double value, std::string_view decimalSeparator)
{
    std::string slow = ThousandthsSlow(std::fabs(value));
    std::string_view scaled = slow;
    const std::size_t firstNonZero = scaled.find_first_not_of('0');
    if (firstNonZero == std::string_view::npos) {
        scaled = {};
    } else {
        scaled.remove_prefix(firstNonZero);
        if (value < 0) {
            out += '-';
        }
    }
    // At least one integer digit and three decimals.
    char padded[4];
    if (scaled.size() < 4) {
        const std::size_t padding = 4 - scaled.size();
        std::memset(padded, '0', padding);
        std::copy(scaled.begin(), scaled.end(), padded + padding);
        scaled = std::string_view(padded, 4);
    }
    out.append(scaled.substr(0, scaled.size() - 3));
    out += decimalSeparator;
    out.append(scaled.substr(scaled.size() - 3));
}

}  // namespace

char* WriteShortFixed3(char* out, double value, std::string_view decimalSeparator) noexcept
{
    ShortText text;
    return MeasureShort(value, decimalSeparator, text) ? WriteShort(out, text, decimalSeparator) : nullptr;
}

void AppendFixed3(std::string& out, double value, std::string_view decimalSeparator)
{
    ShortText text;
    if (MeasureShort(value, decimalSeparator, text)) {
        // The string grows by the text's length, and the text is written into that room.
        const std::size_t start = out.size();
        out.resize(start + text.Length);
        WriteShort(out.data() + start, text, decimalSeparator);
        return;
    }
    AppendFixed3Slow(out, value, decimalSeparator);
}

double ShownFixed3(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::uint64_t thousandths = 0;
    if (ThousandthsOf(bits & ~kSignBit, thousandths) && thousandths <= (std::uint64_t{1} << 53)) {
        // The text's value is thousandths / 1000 exactly; both are exact doubles, and the
        // division rounds their quotient as reading the text does.
        const double shown = static_cast<double>(thousandths) / 1000;
        return (bits & kSignBit) != 0 && thousandths != 0 ? -shown : shown;
    }
    const std::string text = FormatFixed3(value, ".");
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}

std::string FormatFixed3(double value, std::string_view decimalSeparator)
{
    std::string out;
    AppendFixed3(out, value, decimalSeparator);
    return out;
}

std::string FormatSignificant(long double value, int significant,
                              std::string_view decimalSeparator)
{
    FpFlagsKept flagsKept;
    if (value == 0 || !std::isfinite(value)) {
        return "0";
    }
    const Decimal decimal = RoundedDecimal(std::fabs(value), std::clamp(significant, 1, 17));
    std::string out = value < 0 ? "−" : "";
    const int pointPosition = decimal.Exponent + 1;
    if (pointPosition > 9 || pointPosition < -3) {
        AppendPositional(out, decimal.Digits, 1, decimalSeparator);
        out += "·10";
        out += Superscript(decimal.Exponent);
        return out;
    }
    AppendPositional(out, decimal.Digits, pointPosition, decimalSeparator);
    return out;
}

std::string FormatGeneral(long double value, std::string_view decimalSeparator)
{
    FpFlagsKept flagsKept;
    if (value == 0 || !std::isfinite(value)) {
        return "0";
    }
    const Decimal decimal = RoundedDecimal(std::fabs(value), 15);
    const std::string& digits = decimal.Digits;
    const int exponent = decimal.Exponent;

    std::string out;
    if (value < 0) {
        out += '-';
    }
    const int pointPosition = exponent + 1;  // digits before the decimal mark
    if (pointPosition > 15 || pointPosition < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    AppendPositional(out, digits, pointPosition, decimalSeparator);
    return out;
}

std::string TypedNumberText(std::string_view text, std::string_view decimalSeparator)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    std::string out(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
    const std::size_t mark = out.find_first_of(",.");
    if (mark != std::string::npos) {
        out.replace(mark, 1, decimalSeparator);
    }
    return out;
}

}  // namespace korvelin
