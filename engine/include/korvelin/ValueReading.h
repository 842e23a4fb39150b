#pragma once

// Reading of an optional input value with a range, for the values that are typed beside the
// calculation's fields (the own climatic values, the coefficient of friction): one reading, one
// set of messages that name the value.

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The messages of a value, each a whole sentence that names it (in its grammatical gender).
// NotANumber and Range are followed by the text typed, in «».
struct ValueMessages {
    std::string_view Blank;       // for a blank text; empty: a blank text is "not given"
    std::string_view NotANumber;  // "… должен быть числом"
    std::string_view Zero;        // for 0 when 0 is outside the range; empty: 0 is allowed
    std::string_view Negative;    // "… не может быть отрицательным"
    std::string_view Range;       // "… должен быть от 0 до 20 кН/м²"
};

struct ValueReading {
    std::optional<double> Value;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

// The text read with ParseNumberToDouble and checked against 0 (included when Zero is empty) and
// `maximum` in the unit typed; the value is the double nearest to the typed number times
// 10^decimalShift.
ValueReading ReadValueInRange(std::string_view text, std::string_view decimalSeparator,
                              double maximum, const ValueMessages& messages, int decimalShift = 0);

}  // namespace korvelin
