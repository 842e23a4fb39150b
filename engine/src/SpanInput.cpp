#include "korvelin/SpanInput.h"

#include "korvelin/ClimaticLoads.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/StrengthCriteria.h"

#include <string>

namespace korvelin {
namespace {

bool InRange(int index, std::size_t count)
{
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

bool IndexesHaveRows(const SelectorIndexes& indexes)
{
    return InRange(indexes.HeightCategory, kHeightFactors.size()) &&
           InRange(indexes.SnowRegion, kSnowWeight.size()) &&
           InRange(indexes.WindRegion, kWindPressure.size()) &&
           InRange(indexes.IceRegion, kIceThickness.size()) &&
           InRange(indexes.SpanCount, kSpanCountCoefficient.size()) &&
           InRange(indexes.Slope, kSlopeCount);
}

InputReading Stop(ReadStatus status, std::string message)
{
    InputReading reading;
    reading.Status = status;
    reading.Message = std::move(message);
    return reading;
}

}  // namespace

std::string_view FieldCaption(std::string FieldTexts::*field)
{
    if (field == &FieldTexts::OuterDiameter) {
        return "Наружный диаметр";
    }
    if (field == &FieldTexts::WallThickness) {
        return "Толщина стенки трубы";
    }
    if (field == &FieldTexts::UltimateStrength) {
        return "Предел сопротивления";
    }
    if (field == &FieldTexts::YieldStrength) {
        return "Предел текучести";
    }
    return "Давление в трубопроводе";
}

std::optional<std::string> DiameterLimitCorrection(long double outerDiameter, long double wallThickness,
                                                   std::string_view outerDiameterText,
                                                   std::string_view decimalSeparator)
{
    std::string limit = FormatGeneral(wallThickness * 2 + kMaxInnerDiameter, decimalSeparator);
    if (outerDiameter - wallThickness * 2 > kMaxInnerDiameter && outerDiameterText != limit) {
        return limit;
    }
    return std::nullopt;
}

InputReading ReadSpanInput(const FieldTexts& texts, const SelectorIndexes& indexes,
                           std::string_view decimalSeparator, FpWatch& fp)
{
    InputReading reading;
    SpanInput& in = reading.Input;
    struct Field {
        const std::string& text;
        double& target;
        bool millimetres;
        CalculationStep step;
    };
    const Field fields[] = {
        {texts.OuterDiameter, in.OuterDiameter, true, CalculationStep::ReadOuterDiameter},
        {texts.WallThickness, in.WallThickness, true, CalculationStep::ReadWallThickness},
        {texts.UltimateStrength, in.UltimateStrength, false, CalculationStep::ReadUltimateStrength},
        {texts.YieldStrength, in.YieldStrength, false, CalculationStep::ReadYieldStrength},
        {texts.Pressure, in.Pressure, false, CalculationStep::ReadPressure},
    };
    for (const Field& field : fields) {
        long double value = 0;
        if (!ReadNumber(field.text, decimalSeparator, value)) {
            return Stop(ReadStatus::Failed,
                        ConversionErrorMessage(ParseNumber(field.text, decimalSeparator).WorkingCopy));
        }
        field.target = fp.Store(field.millimetres ? fp.Div(value, 1000) : value);
        if (fp.Failed()) {
            InputReading failed = Stop(ReadStatus::Failed, std::string(FpFaultMessage(fp.Fault())));
            failed.FaultStep = field.step;
            failed.Fault = fp.Fault();
            return failed;
        }
    }

    const double values[] = {in.OuterDiameter, in.WallThickness, in.UltimateStrength,
                             in.YieldStrength, in.Pressure};
    for (double value : values) {
        if (value == 0) {
            return Stop(ReadStatus::Refused, std::string(kIncompleteInputMessage));
        }
    }
    for (double value : values) {
        if (value < 0) {
            return Stop(ReadStatus::Refused, std::string(kNegativeValueMessage));
        }
    }
    if (in.WallThickness >= in.OuterDiameter / 2) {
        return Stop(ReadStatus::Refused, std::string(kWallTooThickMessage));
    }
    if (!IndexesHaveRows(indexes)) {
        return Stop(ReadStatus::Refused, std::string(kIncompleteInputMessage));
    }
    in.HeightCategory = indexes.HeightCategory;
    in.SnowRegion = indexes.SnowRegion;
    in.WindRegion = indexes.WindRegion;
    in.IceRegion = indexes.IceRegion;
    in.SpanCount = indexes.SpanCount;
    in.Slope = indexes.Slope;
    return reading;
}

}  // namespace korvelin
