#include "korvelin/ParseNumber.h"

#include "korvelin/FpWatch.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <string>

namespace korvelin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number that passed the grammar check.
struct NumberParts {
    bool Negative = false;
    std::string_view IntegerDigits;
    std::string_view FractionDigits;
    bool ExponentNegative = false;
    std::string_view ExponentDigits;
};

// Checks the grammar of the working copy: blanks, an optional sign, digits with an optional
// decimal separator and digits (at least one digit or the separator), an optional exponent with
// at least one digit, blanks.
bool Scan(std::string_view text, std::string_view separator, NumberParts& parts)
{
    std::size_t pos = 0;
    const std::size_t end = text.size();
    auto digitsFrom = [&](std::size_t from) {
        while (pos < end && IsDigit(text[pos])) {
            ++pos;
        }
        return text.substr(from, pos - from);
    };
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        parts.Negative = text[pos] == '-';
        ++pos;
    }
    parts.IntegerDigits = digitsFrom(pos);
    bool hasMark = false;
    const bool atMark = separator.size() == 1
                            ? pos < end && text[pos] == separator.front()
                            : !separator.empty() && text.substr(pos, separator.size()) == separator;
    if (atMark) {
        hasMark = true;
        pos += separator.size();
        parts.FractionDigits = digitsFrom(pos);
    }
    if (parts.IntegerDigits.empty() && parts.FractionDigits.empty() && !hasMark) {
        return false;
    }
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
            parts.ExponentNegative = text[pos] == '-';
            ++pos;
        }
        parts.ExponentDigits = digitsFrom(pos);
        if (parts.ExponentDigits.empty()) {
            return false;
        }
    }
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    return pos == end;
}

// Exact powers of ten in extended precision: 10^27 = 5^27 * 2^27 still fits 64 mantissa bits.
constexpr int kExactPowers = 27;
constexpr std::array<long double, kExactPowers + 1> kPowersOfTen = [] {
    std::array<long double, kExactPowers + 1> powers{};
    long double power = 1;
    for (auto& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// A number of at most 19 significant digits and a small exponent is one exact integer times or
// divided by one exact power of ten: a single correctly rounded operation, the same value the
// full conversion gives.
bool ConvertFast(const NumberParts& parts, long double& value)
{
    std::uint64_t mantissa = 0;
    int digitCount = 0;
    const auto append = [&](std::string_view digits) {
        for (char c : digits) {
            if (digitCount == 0 && c == '0') {
                continue;  // leading zeros carry no digit
            }
            if (++digitCount > 19) {
                return false;
            }
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return true;
    };
    if (!append(parts.IntegerDigits) || !append(parts.FractionDigits)) {
        return false;
    }
    if (parts.ExponentDigits.size() > 4) {
        return false;
    }
    int exponent = 0;
    for (char c : parts.ExponentDigits) {
        exponent = exponent * 10 + (c - '0');
    }
    if (parts.ExponentNegative) {
        exponent = -exponent;
    }
    exponent -= static_cast<int>(parts.FractionDigits.size());
    if (mantissa == 0) {
        value = parts.Negative ? -0.0L : 0.0L;
        return true;
    }
    if (exponent < -kExactPowers || exponent > kExactPowers) {
        return false;
    }
    const long double integer = static_cast<long double>(mantissa);
    value = exponent >= 0 ? integer * kPowersOfTen[static_cast<std::size_t>(exponent)]
                          : integer / kPowersOfTen[static_cast<std::size_t>(-exponent)];
    if (parts.Negative) {
        value = -value;
    }
    return true;
}

// Exponents are read up to this size; anything larger already sends every text of realistic
// length beyond the extended range, to infinity or to zero.
constexpr long long kExponentCap = 999'999'999;

// Any other number: the C library's conversion (correctly rounded) of all the digits as one whole
// number with a decimal exponent, "314159e-5". That text has no decimal point, so it reads the same
// in every locale and on every system. A value beyond the extended range is rejected.
bool ConvertSlow(const NumberParts& parts, long double& value)
{
    long long exponent = 0;
    for (char c : parts.ExponentDigits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    if (parts.ExponentNegative) {
        exponent = -exponent;
    }
    exponent -= static_cast<long long>(parts.FractionDigits.size());
    std::string whole;
    whole.reserve(parts.IntegerDigits.size() + parts.FractionDigits.size() + 24);
    if (parts.Negative) {
        whole += '-';
    }
    whole += parts.IntegerDigits;
    whole += parts.FractionDigits;
    if (parts.IntegerDigits.empty() && parts.FractionDigits.empty()) {
        whole += '0';
    }
    whole += 'e';
    whole += std::to_string(exponent);
    FpFlagsKept flagsKept;
    const int savedErrno = errno;
    errno = 0;
    value = std::strtold(whole.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE && std::isinf(value);
    errno = savedErrno;
    return !outOfRange;
}

// The position of the first comma or full stop, or npos.
std::size_t FirstMark(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',' || text[i] == '.') {
            return i;
        }
    }
    return std::string_view::npos;
}

// The working copy of a text, written into `copy`: its first comma or full stop replaced by the
// decimal separator.
void WriteWorkingCopy(std::string& copy, std::string_view text, std::string_view decimalSeparator)
{
    const std::size_t mark = FirstMark(text);
    if (mark == std::string_view::npos) {
        copy.assign(text);
        return;
    }
    if (decimalSeparator.size() == 1) {
        copy.assign(text);
        copy[mark] = decimalSeparator.front();
        return;
    }
    copy.clear();
    copy.reserve(text.size() + decimalSeparator.size());
    copy.append(text.substr(0, mark));
    copy.append(decimalSeparator);
    copy.append(text.substr(mark + 1));
}

std::string WorkingCopyOf(std::string_view text, std::string_view decimalSeparator)
{
    std::string copy;
    WriteWorkingCopy(copy, text, decimalSeparator);
    return copy;
}

}  // namespace

std::optional<double> ParseNumberToDouble(std::string_view text, std::string_view decimalSeparator,
                                          int decimalShift)
{
    const std::string copy = WorkingCopyOf(text, decimalSeparator);
    NumberParts parts;
    if (!Scan(copy, decimalSeparator, parts)) {
        return std::nullopt;
    }
    long long exponent = 0;
    for (char c : parts.ExponentDigits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    if (parts.ExponentNegative) {
        exponent = -exponent;
    }
    exponent += decimalShift - static_cast<long long>(parts.FractionDigits.size());
    // All the digits as one whole number with a decimal exponent, converted in one rounding.
    std::string whole(parts.IntegerDigits);
    whole += parts.FractionDigits;
    if (whole.empty()) {
        whole.push_back('0');
    }
    whole += 'e';
    whole += std::to_string(exponent);
    FpFlagsKept flagsKept;
    double value = 0;
    const auto result = std::from_chars(whole.data(), whole.data() + whole.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the range either way: the place of its first significant digit tells which.
        const std::size_t digits = whole.find('e') - whole.find_first_not_of('0');
        value = static_cast<long long>(digits) + exponent > 0 ? HUGE_VAL : 0.0;
    }
    return parts.Negative ? -value : value;
}

bool ReadNumber(std::string_view text, std::string_view decimalSeparator, long double& value)
{
    // The working copy of a short text with a one-character separator on the stack; any other
    // goes the way of ParseNumber.
    std::array<char, 64> copy;
    if (decimalSeparator.size() != 1 || text.size() > copy.size()) {
        const ParsedNumber parsed = ParseNumber(text, decimalSeparator);
        value = parsed.Value;
        return parsed.Ok;
    }
    std::copy(text.begin(), text.end(), copy.begin());
    if (const std::size_t mark = FirstMark(text); mark != std::string_view::npos) {
        copy[mark] = decimalSeparator.front();
    }
    NumberParts parts;
    value = 0;
    if (!Scan(std::string_view(copy.data(), text.size()), decimalSeparator, parts)) {
        return false;
    }
    return ConvertFast(parts, value) || ConvertSlow(parts, value);
}

ParsedNumber ParseNumber(std::string_view text, std::string_view decimalSeparator)
{
    ParsedNumber result;
    WriteWorkingCopy(result.WorkingCopy, text, decimalSeparator);
    NumberParts parts;
    if (!Scan(result.WorkingCopy, decimalSeparator, parts)) {
        return result;
    }
    result.Ok = ConvertFast(parts, result.Value) || ConvertSlow(parts, result.Value);
    return result;
}

std::string ConversionErrorMessage(std::string_view workingCopy)
{
    std::string message;
    message.reserve(workingCopy.size() + 40);
    message += '\'';
    message += workingCopy;
    message += "' is not a valid floating point value";
    return message;
}

bool IsFieldNumberText(std::string_view text)
{
    int marks = 0;
    for (const char c : text) {
        if (c == ',' || c == '.') {
            ++marks;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty() && marks <= 1;
}

}  // namespace korvelin
