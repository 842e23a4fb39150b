#include "korvelin/ValueReading.h"

#include "korvelin/ParseNumber.h"

namespace korvelin {
namespace {

std::string WithText(std::string_view message, std::string_view text)
{
    return std::string(message) + " (введено «" + std::string(text) + "»)";
}

}  // namespace

ValueReading ReadValueInRange(std::string_view text, std::string_view decimalSeparator,
                              double maximum, const ValueMessages& messages, int decimalShift)
{
    ValueReading reading;
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        reading.Error = messages.Blank;
        return reading;
    }
    // Checked in the unit typed, the value taken in the unit of the formulas: two readings of
    // the same text, each rounded once.
    const std::optional<double> typed = ParseNumberToDouble(text, decimalSeparator);
    if (!typed || *typed != *typed) {
        reading.Error = WithText(messages.NotANumber, text);
    } else if (*typed < 0) {
        reading.Error = WithText(messages.Negative, text);
    } else if (*typed == 0 && !messages.Zero.empty()) {
        reading.Error = messages.Zero;
    } else if (*typed > maximum) {
        reading.Error = WithText(messages.Range, text);
    } else {
        // "-0" is the 0 of the tables.
        reading.Value = *typed == 0 ? 0.0
                        : decimalShift == 0
                            ? *typed
                            : *ParseNumberToDouble(text, decimalSeparator, decimalShift);
    }
    return reading;
}

}  // namespace korvelin
