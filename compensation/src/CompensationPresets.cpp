#include "korvelin/CompensationPresets.h"

#include "korvelin/ParseNumber.h"

#include <cmath>

namespace korvelin {
namespace {

constexpr std::array<ShapeDimension, 1> kStraight = {{{"Длина, м", "длина", "должна"}}};
constexpr std::array<ShapeDimension, 2> kLShaped = {{
    {"Плечо 1, м", "плечо 1", "должно"},
    {"Плечо 2, м", "плечо 2", "должно"},
}};
constexpr std::array<ShapeDimension, 3> kZShaped = {{
    {"Плечо 1, м", "плечо 1", "должно"},
    {"Плечо 2, м", "плечо 2", "должно"},
    {"Плечо 3, м", "плечо 3", "должно"},
}};
constexpr std::array<ShapeDimension, 4> kUCompensator = {{
    {"До компенсатора, м", "плечо до компенсатора", "должно"},
    {"Вылет H, м", "вылет H", "должен"},
    {"Ширина B, м", "ширина B", "должна"},
    {"После компенсатора, м", "плечо после компенсатора", "должно"},
}};

SectionReading Refused(CompensationRefusal refusal, std::string message)
{
    SectionReading reading;
    reading.Refusal = refusal;
    reading.Message = std::move(message);
    return reading;
}

}  // namespace

std::string_view SectionShapeName(SectionShape shape)
{
    switch (shape) {
    case SectionShape::Straight:
        return "Прямой участок";
    case SectionShape::LShaped:
        return "Г-образный участок";
    case SectionShape::ZShaped:
        return "Z-образный участок";
    case SectionShape::UCompensator:
        return "П-образный компенсатор";
    }
    return {};
}

std::span<const ShapeDimension> SectionShapeDimensions(SectionShape shape)
{
    switch (shape) {
    case SectionShape::Straight:
        return kStraight;
    case SectionShape::LShaped:
        return kLShaped;
    case SectionShape::ZShaped:
        return kZShaped;
    case SectionShape::UCompensator:
        return kUCompensator;
    }
    return {};
}

SectionReading ReadSectionShape(SectionShape shape, const std::vector<std::string>& dimensions, TurnSide side,
                                std::string_view decimalSeparator, std::string_view name)
{
    const std::span<const ShapeDimension> asked = SectionShapeDimensions(shape);
    // "Участок «Узел 3», П-образный компенсатор: вылет H …", as the section's own messages begin.
    const std::string prefix = (name.empty() ? std::string("Участок") : "Участок «" + std::string(name) + "»")
                               + ", " + std::string(shape == SectionShape::Straight ? "прямой участок" : SectionShapeName(shape))
                               + ": ";
    std::vector<double> values;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const std::string text = i < dimensions.size() ? dimensions[i] : std::string();
        const std::string subject = prefix + std::string(asked[i].Subject) + " " + std::string(asked[i].Must);
        const std::optional<double> value = ParseNumberToDouble(text, decimalSeparator);
        if (!value || std::isnan(*value)) {
            return Refused(CompensationRefusal::LengthNotANumber,
                           subject + " быть числом (введено «" + text + "»)");
        }
        if (*value <= 0) {
            return Refused(CompensationRefusal::LengthNotPositive,
                           subject + " быть больше нуля (введено «" + text + "»)");
        }
        if (*value > kMaxLegLength) {
            return Refused(CompensationRefusal::LengthTooLarge,
                           subject + " быть не больше 10 000 м (введено «" + text + "»)");
        }
        values.push_back(*value);
    }
    CompensationSection section;
    switch (shape) {
    case SectionShape::Straight:
        section = StraightSection(values[0]);
        break;
    case SectionShape::LShaped:
        section = LShapedSection(values[0], values[1], side);
        break;
    case SectionShape::ZShaped:
        section = ZShapedSection(values[0], values[1], values[2], side);
        break;
    case SectionShape::UCompensator:
        section = UCompensatorSection(values[0], values[1], values[2], values[3], side);
        break;
    }
    section.Name = std::string(name);
    return CheckSection(std::move(section));
}

}  // namespace korvelin
