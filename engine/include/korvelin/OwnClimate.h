#pragma once

// The site's own normative climatic values: a snow weight, a wind pressure or an ice wall
// thickness that replaces the table value of the selected region (a site survey, a mountain
// area, a newer edition of the loads code). Each is switched on separately and carries the text
// of its source; the run uses it exactly as it uses a table value.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The values in the units of the region tables.
struct OwnClimate {
    std::optional<double> SnowWeight;    // S, kN/m2
    std::optional<double> WindPressure;  // w0, kPa
    std::optional<double> IceThickness;  // b, m
    bool Any() const { return SnowWeight || WindPressure || IceThickness; }
    bool operator==(const OwnClimate&) const = default;
};

// One value as the user gives it: switched on or not, the number as typed (b in millimetres) and
// its source, e.g. "СП 20.13330.2016, табл. К.1".
struct OwnClimateEntry {
    bool InForce = false;
    std::string Value;
    std::string Source;
    bool operator==(const OwnClimateEntry&) const = default;
};

struct OwnClimateTexts {
    OwnClimateEntry SnowWeight;
    OwnClimateEntry WindPressure;
    OwnClimateEntry IceThickness;
    bool Any() const { return SnowWeight.InForce || WindPressure.InForce || IceThickness.InForce; }
    bool operator==(const OwnClimateTexts&) const = default;
};

enum class ClimateValue { SnowWeight, WindPressure, IceThickness };
inline constexpr std::array<ClimateValue, 3> kClimateValues = {
    ClimateValue::SnowWeight, ClimateValue::WindPressure, ClimateValue::IceThickness};

// What the program says of a value: its name for sentences, its symbol and unit as typed, the
// upper end of its range (in the unit typed; the lower end is 0), and its members.
struct ClimateValueInfo {
    std::string_view Name;    // "Нормативный вес снегового покрова"
    std::string_view Symbol;  // "S"
    std::string_view Unit;    // "кН/м²"
    double Maximum;
    OwnClimateEntry OwnClimateTexts::*Entry;
    std::optional<double> OwnClimate::*Value;
};
const ClimateValueInfo& InfoOf(ClimateValue which);

// Reads one value as typed: the double nearest to it in the units of the tables (b from mm to m
// in the same rounding, so that "10" is the table's 0.010). A blank text, one that is not a
// number, a negative one or one beyond the range gets a message that names the value.
struct OwnValueReading {
    std::optional<double> Value;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};
OwnValueReading ReadOwnClimateValue(ClimateValue which, std::string_view text,
                                    std::string_view decimalSeparator);

// Reads the values in force, all or none: the first refusal ends the reading with its message.
struct OwnClimateReading {
    OwnClimate Values;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};
OwnClimateReading ReadOwnClimate(const OwnClimateTexts& texts, std::string_view decimalSeparator);

// "S = 1,8 кН/м²", the value as typed with the given separator, and "(source)" when there is one
// and it is asked for.
std::string OwnValueText(ClimateValue which, const OwnClimateEntry& entry,
                         std::string_view decimalSeparator, bool withSource = true);
// The values in force, joined by "; ", or an empty text.
std::string OwnClimateText(const OwnClimateTexts& texts, std::string_view decimalSeparator,
                           bool withSources = true);

}  // namespace korvelin
