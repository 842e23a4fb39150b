#pragma once

#include "korvelin/CalculationStep.h"
#include "korvelin/FpWatch.h"
#include "korvelin/OwnClimate.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The texts of the five numeric fields, exactly as typed (millimetres and MPa).
struct FieldTexts {
    std::string OuterDiameter;     // Edit2, mm
    std::string WallThickness;     // Edit3, mm
    std::string UltimateStrength;  // Edit4, MPa
    std::string YieldStrength;     // Edit5, MPa
    std::string Pressure;          // Edit1, MPa
};

// The caption of a numeric field as the main window shows it: "Наружный диаметр", "Толщина
// стенки трубы", "Предел сопротивления", "Предел текучести", "Давление в трубопроводе".
std::string_view FieldCaption(std::string FieldTexts::*field);

// The item indexes of the six selectors, counted from 0.
struct SelectorIndexes {
    int HeightCategory = 0;  // ComboBox1
    int SnowRegion = 0;      // ComboBox2
    int WindRegion = 0;      // ComboBox3
    int IceRegion = 0;       // ComboBox7
    int SpanCount = 0;       // ComboBox4
    int Slope = 0;           // ComboBox5
};

// The input set of one calculation, in the units of the formulas.
struct SpanInput {
    double OuterDiameter = 0;     // m
    double WallThickness = 0;     // m
    double UltimateStrength = 0;  // MPa
    double YieldStrength = 0;     // MPa
    double Pressure = 0;          // MPa
    int HeightCategory = 0;
    int SnowRegion = 0;
    int WindRegion = 0;
    int IceRegion = 0;
    int SpanCount = 0;
    int Slope = 0;
    OwnClimate Own;  // the site's own values, used in place of the regions' table values
};

enum class ReadStatus { Read, Refused, Failed };

struct InputReading {
    ReadStatus Status = ReadStatus::Read;
    SpanInput Input;
    std::string Message;  // the refusal or the error, when not read
    // The field whose value overflowed when it was stored, and the fault.
    CalculationStep FaultStep = CalculationStep::None;
    FpFault Fault = FpFault::None;
};

inline constexpr std::string_view kIncompleteInputMessage = "Введены не все данные";
inline constexpr std::string_view kNegativeValueMessage = "Значения должны быть больше нуля";
inline constexpr std::string_view kWallTooThickMessage =
    "Толщина стенки должна быть меньше половины наружного диаметра";

// The program is made for pipes of an inner diameter up to 300 mm: the main window corrects a
// larger outer diameter with this message, the span table refuses such a pipe with it.
inline constexpr long double kMaxInnerDiameter = 300;  // mm
inline constexpr std::string_view kDiameterLimitMessage =
    "Программа предназначена для расчета трубопроводов с Ду не более 300 мм. Наружный диаметр "
    "трубопровода выбран исходя из этого условия";

// The inner-diameter limit for an outer diameter and a wall (mm) as read from their texts: the
// text of the outer diameter at which the inner diameter is exactly the limit (twice the wall
// plus 300 mm, in the general number format with the separator) when the inner diameter exceeds
// it; none otherwise. That text itself always passes, whatever the rounding of its digits.
std::optional<std::string> DiameterLimitCorrection(long double outerDiameter, long double wallThickness,
                                                   std::string_view outerDiameterText,
                                                   std::string_view decimalSeparator);

// Parses the five texts in the order diameter, wall, ultimate strength, yield strength, pressure
// (the first unreadable one ends the reading), converts millimetres to metres, then refuses a
// zero value, a negative value, a wall of half the diameter or more and a selector index that
// has no table row, in that order.
InputReading ReadSpanInput(const FieldTexts& texts, const SelectorIndexes& indexes,
                           std::string_view decimalSeparator, FpWatch& fp);

}  // namespace korvelin
