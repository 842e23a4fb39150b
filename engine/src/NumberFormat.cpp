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

// The value times 1000 rounded half away from zero from its 18-digit form, when it fits.
bool ThousandthsFast(double magnitude, std::uint64_t& thousandths)
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

}  // namespace

void AppendFixed3(std::string& out, double value, std::string_view decimalSeparator)
{
    const double magnitude = std::fabs(value);
    // The value times 1000, rounded, as decimal digits.
    char buffer[24];
    std::string slow;
    std::string_view scaled;
    std::uint64_t thousandths = 0;
    // Below 1e-5 the value rounds to zero whatever its 18-digit form.
    if (magnitude < 1e-5 || ThousandthsFast(magnitude, thousandths)) {
        char* end = buffer + sizeof buffer;
        char* begin = end;
        do {
            *--begin = static_cast<char>('0' + thousandths % 10);
            thousandths /= 10;
        } while (thousandths != 0);
        scaled = std::string_view(begin, static_cast<std::size_t>(end - begin));
    } else {
        slow = ThousandthsSlow(magnitude);
        scaled = slow;
    }
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
