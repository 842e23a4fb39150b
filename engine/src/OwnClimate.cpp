#include "korvelin/OwnClimate.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/ValueReading.h"

namespace korvelin {
namespace {

struct ValueTexts {
    ClimateValueInfo Info;
    int DecimalShift;  // from the unit typed to the unit of the tables
    ValueMessages Messages;
};

// The ranges hold every value of the region tables with room for mountain areas.
const std::array<ValueTexts, 3> kValues = {{
    {{"Нормативный вес снегового покрова", "S", "кН/м²", 20, &OwnClimateTexts::SnowWeight,
      &OwnClimate::SnowWeight},
     0,
     {"Нормативный вес снегового покрова не задан", "Нормативный вес снегового покрова должен быть числом",
      "", "Нормативный вес снегового покрова не может быть отрицательным",
      "Нормативный вес снегового покрова должен быть от 0 до 20 кН/м²"}},
    {{"Нормативное ветровое давление", "w0", "кПа", 5, &OwnClimateTexts::WindPressure,
      &OwnClimate::WindPressure},
     0,
     {"Нормативное ветровое давление не задано", "Нормативное ветровое давление должно быть числом", "",
      "Нормативное ветровое давление не может быть отрицательным",
      "Нормативное ветровое давление должно быть от 0 до 5 кПа"}},
    {{"Толщина стенки гололеда", "b", "мм", 100, &OwnClimateTexts::IceThickness,
      &OwnClimate::IceThickness},
     -3,
     {"Толщина стенки гололеда не задана", "Толщина стенки гололеда должна быть числом", "",
      "Толщина стенки гололеда не может быть отрицательной",
      "Толщина стенки гололеда должна быть от 0 до 100 мм"}},
}};

const ValueTexts& TextsOf(ClimateValue which) { return kValues[static_cast<std::size_t>(which)]; }

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
}

}  // namespace

const ClimateValueInfo& InfoOf(ClimateValue which) { return TextsOf(which).Info; }

OwnValueReading ReadOwnClimateValue(ClimateValue which, std::string_view text,
                                    std::string_view decimalSeparator)
{
    const ValueTexts& value = TextsOf(which);
    const ValueReading reading = ReadValueInRange(text, decimalSeparator, value.Info.Maximum,
                                                  value.Messages, value.DecimalShift);
    return {reading.Value, reading.Error};
}

OwnClimateReading ReadOwnClimate(const OwnClimateTexts& texts, std::string_view decimalSeparator)
{
    OwnClimateReading reading;
    for (const ClimateValue which : kClimateValues) {
        const ClimateValueInfo& info = InfoOf(which);
        const OwnClimateEntry& entry = texts.*info.Entry;
        if (!entry.InForce) {
            continue;
        }
        OwnValueReading value = ReadOwnClimateValue(which, entry.Value, decimalSeparator);
        if (!value.Ok()) {
            return {{}, std::move(value.Error)};
        }
        reading.Values.*info.Value = value.Value;
    }
    return reading;
}

std::string OwnValueText(ClimateValue which, const OwnClimateEntry& entry,
                         std::string_view decimalSeparator, bool withSource)
{
    const ClimateValueInfo& info = InfoOf(which);
    std::string text = std::string(info.Symbol) + " = " + TypedNumberText(entry.Value, decimalSeparator) +
                       " " + std::string(info.Unit);
    if (const std::string source = Trimmed(entry.Source); withSource && !source.empty()) {
        text += " (" + source + ")";
    }
    return text;
}

std::string OwnClimateText(const OwnClimateTexts& texts, std::string_view decimalSeparator,
                           bool withSources)
{
    std::string text;
    for (const ClimateValue which : kClimateValues) {
        const OwnClimateEntry& entry = texts.*InfoOf(which).Entry;
        if (entry.InForce) {
            text += text.empty() ? "" : "; ";
            text += OwnValueText(which, entry, decimalSeparator, withSources);
        }
    }
    return text;
}

}  // namespace korvelin
