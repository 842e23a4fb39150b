#include "korvelin/NumberFormat.h"

#include "korvelin/FpWatch.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
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
// the value is m * 2^-s, and round(m * 10^k / 2^s) with ties to even gives the digits.
bool ToDecimal18Fast(double magnitude, Decimal& decimal)
{
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - binaryExponent;
    if (shift <= 0 || shift >= 127) {
        return false;
    }
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 17 - exponent;
        if (scale < 0 || scale > 22) {
            return false;
        }
        unsigned __int128 scaled = mantissa;
        if (scale > 19) {
            scaled *= kPowersOfTen[19];
            scaled *= kPowersOfTen[scale - 19];
        } else {
            scaled *= kPowersOfTen[scale];
        }
        const unsigned __int128 one = 1;
        unsigned __int128 quotient = scaled >> shift;
        const unsigned __int128 remainder = scaled & ((one << shift) - 1);
        const unsigned __int128 half = one << (shift - 1);
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
        std::array<char, 24> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          static_cast<std::uint64_t>(quotient));
        decimal.Digits.assign(buffer.data(), result.ptr);
        decimal.Exponent = exponent;
        return true;
    }
    return false;
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

}  // namespace

void AppendFixed3(std::string& out, double value, std::string_view decimalSeparator)
{
    FpFlagsKept flagsKept;
    const double magnitude = std::fabs(value);
    // Below 1e-5 the value rounds to zero whatever its 18-digit form.
    std::string scaled;  // the value times 1000, rounded, as decimal digits
    if (magnitude >= 1e-5) {
        Decimal decimal;
        if (!ToDecimal18Fast(magnitude, decimal)) {
            decimal = ToDecimalSlow(magnitude, 18);
        }
        // Digit i stands for 10^(Exponent - i); keep those down to 10^-3, round at 10^-4.
        const int kept = decimal.Exponent + 4;
        const int digitCount = static_cast<int>(decimal.Digits.size());
        if (kept > 0) {
            if (kept <= digitCount) {
                scaled.assign(decimal.Digits, 0, static_cast<std::size_t>(kept));
            } else {
                scaled = decimal.Digits;
                scaled.append(static_cast<std::size_t>(kept - digitCount), '0');
            }
        }
        const char roundingDigit = (kept >= 0 && kept < digitCount) ? decimal.Digits[static_cast<std::size_t>(kept)] : '0';
        if (roundingDigit >= '5') {
            if (scaled.empty()) {
                scaled = "1";
            } else if (IncrementDigits(scaled)) {
                scaled.insert(scaled.begin(), '1');
            }
        }
    }
    if (scaled.find_first_not_of('0') == std::string::npos) {
        scaled.clear();
    } else if (value < 0) {
        out += '-';
    }
    if (scaled.size() < 4) {
        scaled.insert(0, 4 - scaled.size(), '0');
    }
    out.append(scaled, 0, scaled.size() - 3);
    out += decimalSeparator;
    out.append(scaled, scaled.size() - 3, 3);
}

std::string FormatFixed3(double value, std::string_view decimalSeparator)
{
    std::string out;
    AppendFixed3(out, value, decimalSeparator);
    return out;
}

std::string FormatGeneral(long double value, std::string_view decimalSeparator)
{
    FpFlagsKept flagsKept;
    if (value == 0 || !std::isfinite(value)) {
        return "0";
    }
    // Reduce to 18 digits first, then to 15 with a 5 rounding away from zero.
    Decimal decimal = ToDecimalSlow(std::fabs(value), 18);
    std::string digits = decimal.Digits.substr(0, 15);
    int exponent = decimal.Exponent;
    if (decimal.Digits[15] >= '5' && IncrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

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
    if (pointPosition <= 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<std::size_t>(-pointPosition), '0');
        out += digits;
        return out;
    }
    const auto integerDigits = static_cast<std::size_t>(pointPosition);
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
        return out;
    }
    out.append(digits, 0, integerDigits);
    out += decimalSeparator;
    out.append(digits, integerDigits);
    return out;
}

}  // namespace korvelin
