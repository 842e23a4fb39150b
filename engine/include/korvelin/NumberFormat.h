#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvelin {

// The display format "0.000": three decimals, at least one integer digit, the given decimal
// separator, no grouping, a minus before a negative value that does not round to zero. The value
// is first reduced to 18 significant digits (ties to even), then rounded to three decimals with
// a 5 in the fourth decimal rounding away from zero.
std::string FormatFixed3(double value, std::string_view decimalSeparator);
void AppendFixed3(std::string& out, double value, std::string_view decimalSeparator);
// The same text written at `out`, which has room for kShortFixed3Length characters, for the
// values whose thousandths fit 64 bits (below about 1.8e16) with a separator of at most
// kLongestShortSeparator bytes: returns the text's end, or nullptr, writing nothing, for the
// others, which AppendFixed3 gives.
inline constexpr std::size_t kShortFixed3Length = 32;
inline constexpr std::size_t kLongestShortSeparator = 8;
char* WriteShortFixed3(char* out, double value, std::string_view decimalSeparator) noexcept;
// The value that the "0.000" text of a value stands for, as reading that text back gives it.
double ShownFixed3(double value);

// The general number format: up to 15 significant digits, no trailing zeros, the given decimal
// separator; scientific notation ("1,5E20", "1E-5") for very large or very small values.
std::string FormatGeneral(long double value, std::string_view decimalSeparator);

// A number's text as typed, shown with the given separator: blanks trimmed, the decimal mark (the
// first comma or full stop, as the number is read) replaced.
std::string TypedNumberText(std::string_view text, std::string_view decimalSeparator);
// A value for a formula of the calculation note: `significant` digits (reduced to 18 first, then
// rounded with a 5 away from zero), no trailing zeros, the given separator; very small or large
// values as a mantissa times a power of ten with the exponent raised ("8,85441·10⁻⁷").
std::string FormatSignificant(long double value, int significant,
                              std::string_view decimalSeparator);

}  // namespace korvelin
