#pragma once

// The usual shapes of a section filled from their dimensions as the user types them: a straight
// run, Г, Z and a П-compensator between two straight legs. The window offers them; the shapes
// themselves are those of CompensationSection.h.

#include "korvelin/CompensationSection.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

enum class SectionShape { Straight, LShaped, ZShaped, UCompensator };
inline constexpr std::array<SectionShape, 4> kSectionShapes = {
    SectionShape::Straight, SectionShape::LShaped, SectionShape::ZShaped, SectionShape::UCompensator};

// "Прямой участок", "Г-образный участок", "Z-образный участок", "П-образный компенсатор".
std::string_view SectionShapeName(SectionShape shape);

// One dimension of a shape, m: its caption beside a field ("Вылет H, м") and its name in a
// message ("вылет H"), with the verb's form that agrees with it ("должен").
struct ShapeDimension {
    std::string_view Caption;
    std::string_view Subject;
    std::string_view Must;
};
// In the order of the legs they make: the straight run its length; Г and Z their legs; the
// П-compensator the leg before it, its reach H, its width B and the leg after it.
std::span<const ShapeDimension> SectionShapeDimensions(SectionShape shape);

// Reads the dimensions (one text for each, decimal comma or full stop) and builds the shape
// turning first to `side` (a straight run does not turn). Refuses a dimension that is not a
// number, not above zero or above kMaxLegLength, naming the dimension and the text typed.
SectionReading ReadSectionShape(SectionShape shape, const std::vector<std::string>& dimensions, TurnSide side,
                                std::string_view decimalSeparator, std::string_view name = {});

}  // namespace korvelin
