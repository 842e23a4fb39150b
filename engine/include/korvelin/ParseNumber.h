#pragma once

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

// Whether a numeric field can hold the text: digits with at most one decimal mark (a comma, or a
// full stop as pasted or as korvelin-calc takes it), nothing else, not empty. What the key filter
// lets the user type, and so what a paste and an input-set file may put into a field.
bool IsFieldNumberText(std::string_view text);

// "'<text>' is not a valid floating point value"
std::string ConversionErrorMessage(std::string_view workingCopy);

}  // namespace korvelin
