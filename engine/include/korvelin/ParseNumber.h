#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The result of reading the text of a numeric field. WorkingCopy is the text after its first
// comma or full stop was replaced by the decimal separator; the conversion error names it.
struct ParsedNumber {
    bool Ok = false;
    long double Value = 0;
    std::string WorkingCopy;
};

// Reads a number as a user types it: the first comma or full stop is taken as the decimal mark
// whatever the separator in use; blanks may surround the number; a sign, digits with an optional
// fraction (a lone mark reads as 0) and an optional exponent follow. A value beyond the extended
// range is rejected. Of the floating-point status flags it may raise only the inexact one.
ParsedNumber ParseNumber(std::string_view text, std::string_view decimalSeparator);
// The same reading without the working copy: true and the value where ParseNumber gives Ok.
bool ReadNumber(std::string_view text, std::string_view decimalSeparator, long double& value);

// The same text, read by the same rules, as the double nearest to its decimal value times
// 10^decimalShift: one rounding, as the compiler rounds a literal, so that "1,8" gives the double
// of 1.8 and "10" with a shift of -3 the double of 0.010. A value beyond the double range gives
// an infinity, one below it zero; empty when the text is not a number.
std::optional<double> ParseNumberToDouble(std::string_view text, std::string_view decimalSeparator,
                                          int decimalShift = 0);
// Whether a numeric field can hold the text: digits with at most one decimal mark (a comma, or a
// full stop as pasted or as korvelin-calc takes it), nothing else, not empty. What the key filter
// lets the user type, and so what a paste and an input-set file may put into a field.
bool IsFieldNumberText(std::string_view text);

// "'<text>' is not a valid floating point value"
std::string ConversionErrorMessage(std::string_view workingCopy);

}  // namespace korvelin
