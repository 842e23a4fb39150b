#include "korvelin/InputRemarks.h"

#include "korvelin/CondensateDeflection.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"

#include <array>
#include <vector>

namespace korvelin {

std::optional<double> InnerDiameterAboveLimit(const SpanInput& input)
{
    // The condensate criterion's own expression, stored as a double as the run stores it.
    const double inner = static_cast<double>(
        (static_cast<long double>(input.OuterDiameter) - 2 * static_cast<long double>(input.WallThickness)) *
        kMillimetresPerMetre);
    return inner > kSlopeTableLimit ? std::optional(inner) : std::nullopt;
}

std::string InnerDiameterAboveLimitText(double innerDiameter, std::string_view decimalSeparator)
{
    return "внутренний диаметр " + FormatGeneral(innerDiameter, decimalSeparator) + " мм больше " +
           FormatGeneral(kSlopeTableLimit, decimalSeparator) + " мм — для таких труб " +
           std::string(RuleSetName(RuleSet::SP)) +
           " не дает пролета по условию образования конденсата; определяющий пролет — по " +
           std::string(RuleSetName(RuleSet::SNiP));
}

std::string SteelStrengthWarning(const SpanInput& input)
{
    return input.YieldStrength > input.UltimateStrength ? std::string(kSteelStrengthWarning) : std::string();
}

std::string ZeroFieldsText(const FieldTexts& texts, std::string_view decimalSeparator)
{
    struct Field {
        std::string FieldTexts::*Text;
        bool Millimetres;
    };
    // In the order the calculation reads them, each converted as it converts it.
    constexpr std::array<Field, 5> kFields = {{{&FieldTexts::OuterDiameter, true},
                                               {&FieldTexts::WallThickness, true},
                                               {&FieldTexts::UltimateStrength, false},
                                               {&FieldTexts::YieldStrength, false},
                                               {&FieldTexts::Pressure, false}}};
    std::vector<std::string> zero;
    for (const Field& field : kFields) {
        const ParsedNumber parsed = ParseNumber(texts.*field.Text, decimalSeparator);
        const double value = static_cast<double>(field.Millimetres ? parsed.Value / 1000 : parsed.Value);
        if (parsed.Ok && value == 0) {
            zero.push_back("«" + std::string(FieldCaption(field.Text)) + "»");
        }
    }
    if (zero.empty()) {
        return {};
    }
    if (zero.size() == 1) {
        return "равно нулю поле " + zero.front();
    }
    std::string text = "равны нулю поля " + zero.front();
    for (std::size_t i = 1; i < zero.size(); ++i) {
        text += (i + 1 == zero.size() ? " и " : ", ") + zero[i];
    }
    return text;
}

std::string SlopeText(int slope, std::string_view decimalSeparator)
{
    return FormatFixed3(slope / 1000.0, decimalSeparator) + " (" + std::to_string(slope) + " ‰)";
}

}  // namespace korvelin
