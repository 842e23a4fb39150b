#pragma once

// What the program says about a set of inputs beside the calculation's own results and messages:
// the pipe beyond the inner diameter the condensate criterion covers, a steel whose strengths
// cannot both be right, the fields a refusal of incomplete data is about, and the slope as a
// fraction with its per mille. One text for the windows, the note and korvelin-calc.

#include "korvelin/SpanInput.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The pipe's inner diameter in millimetres, computed as the condensate criterion computes it,
// when it is above the largest inner diameter of the criterion's table of slope coefficients:
// the coefficient is then 0, the condensate span 0, and SP 42-102-2004 gives no governing span.
std::optional<double> InnerDiameterAboveLimit(const SpanInput& input);

// Why SP 42-102-2004 has no governing span for such a pipe while SNiP 2.04.12-86 has one:
// "внутренний диаметр 303 мм больше 300 мм: …".
std::string InnerDiameterAboveLimitText(double innerDiameter, std::string_view decimalSeparator);

// The warning for a yield strength above the ultimate strength: the calculation runs as it
// stands, the designer is asked to check the steel.
inline constexpr std::string_view kSteelStrengthWarning =
    "предел текучести больше предела прочности — проверьте значения стали";
// The warning when the set read has such strengths; empty otherwise.
std::string SteelStrengthWarning(const SpanInput& input);

// The fields whose text reads as zero, which is what the refusal "Введены не все данные" of
// the reading is about: "равно нулю поле «Давление в трубопроводе»", "равны нулю поля
// «Наружный диаметр» и «Толщина стенки трубы»". Empty when no field reads as zero (a selector
// without a row, or a text that does not read at all).
std::string ZeroFieldsText(const FieldTexts& texts, std::string_view decimalSeparator);

// "0,005 (5 ‰)": the slope of item `slope` as the fraction it is and in per mille.
std::string SlopeText(int slope, std::string_view decimalSeparator);

}  // namespace korvelin
