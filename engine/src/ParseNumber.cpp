#include "korvelin/ParseNumber.h"

#include "korvelin/FpWatch.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace korvelin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that the conversion never depends on the process's locale.
locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

// Checks the grammar of the working copy and rewrites it with a full stop as the decimal
// mark; returns false when the text is not a number.
bool ToClassicText(std::string_view text, std::string_view separator, std::string& out)
{
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') {
            out += '-';
        }
        ++pos;
    }
    const std::size_t integerStart = pos;
    while (pos < end && IsDigit(text[pos])) {
        ++pos;
    }
    std::string_view integerDigits = text.substr(integerStart, pos - integerStart);
    bool hasMark = false;
    std::string_view fractionDigits;
    if (!separator.empty() && text.substr(pos, separator.size()) == separator) {
        hasMark = true;
        pos += separator.size();
        const std::size_t fractionStart = pos;
        while (pos < end && IsDigit(text[pos])) {
            ++pos;
        }
        fractionDigits = text.substr(fractionStart, pos - fractionStart);
    }
    if (integerDigits.empty() && fractionDigits.empty() && !hasMark) {
        return false;
    }
    out += integerDigits.empty() ? std::string_view("0") : integerDigits;
    out += '.';
    out += fractionDigits.empty() ? std::string_view("0") : fractionDigits;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        out += 'e';
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
            out += text[pos];
            ++pos;
        }
        const std::size_t exponentStart = pos;
        while (pos < end && IsDigit(text[pos])) {
            ++pos;
        }
        if (pos == exponentStart) {
            return false;
        }
        out += text.substr(exponentStart, pos - exponentStart);
    }
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    return pos == end;
}

}  // namespace

ParsedNumber ParseNumber(std::string_view text, std::string_view decimalSeparator)
{
    ParsedNumber result;
    result.WorkingCopy.reserve(text.size() + decimalSeparator.size());
    const std::size_t mark = text.find_first_of(",.");
    if (mark == std::string_view::npos) {
        result.WorkingCopy = text;
    } else {
        result.WorkingCopy.append(text.substr(0, mark));
        result.WorkingCopy.append(decimalSeparator);
        result.WorkingCopy.append(text.substr(mark + 1));
    }

    std::string classic;
    classic.reserve(result.WorkingCopy.size() + 4);
    if (!ToClassicText(result.WorkingCopy, decimalSeparator, classic)) {
        return result;
    }

    FpFlagsKept flagsKept;
    const int savedErrno = errno;
    errno = 0;
    const long double value = strtold_l(classic.c_str(), nullptr, ClassicLocale());
    const bool outOfRange = errno == ERANGE && std::isinf(value);
    errno = savedErrno;
    if (outOfRange) {
        return result;
    }
    result.Ok = true;
    result.Value = value;
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

}  // namespace korvelin
