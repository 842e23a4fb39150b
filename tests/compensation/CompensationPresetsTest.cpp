#include "korvelin/CompensationPresets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvelin {
namespace {

// Every shape from its typed dimensions is the shape of its builder, turning to the side asked.
TEST(CompensationPresets, ShapesReadFromTheirDimensions)
{
    struct Case {
        SectionShape Shape;
        std::vector<std::string> Texts;
        TurnSide Side;
        CompensationSection Expected;
    };
    const std::vector<Case> cases = {
        {SectionShape::Straight, {"20"}, TurnSide::Left, StraightSection(20)},
        {SectionShape::LShaped, {"10", "5,5"}, TurnSide::Right, LShapedSection(10, 5.5, TurnSide::Right)},
        {SectionShape::ZShaped, {"10", "4", "12.5"}, TurnSide::Left, ZShapedSection(10, 4, 12.5, TurnSide::Left)},
        {SectionShape::UCompensator, {"30", "6", "4", "25"}, TurnSide::Right,
         UCompensatorSection(30, 6, 4, 25, TurnSide::Right)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(SectionShapeName(c.Shape)));
        ASSERT_EQ(SectionShapeDimensions(c.Shape).size(), c.Texts.size());
        const SectionReading reading = ReadSectionShape(c.Shape, c.Texts, c.Side, ",", "Узел 3");
        ASSERT_TRUE(reading.Ok()) << reading.Message;
        CompensationSection expected = c.Expected;
        expected.Name = "Узел 3";
        EXPECT_EQ(*reading.Section, expected);
    }
}

// A dimension refused is named with what was typed, in the words of its field.
TEST(CompensationPresets, RefusalsNameTheDimension)
{
    struct Case {
        SectionShape Shape;
        std::vector<std::string> Texts;
        CompensationRefusal Refusal;
        std::string Message;
    };
    const std::vector<Case> cases = {
        {SectionShape::UCompensator, {"30", "0", "4", "25"}, CompensationRefusal::LengthNotPositive,
         "Участок «Узел 3», П-образный компенсатор: вылет H должен быть больше нуля (введено «0»)"},
        {SectionShape::UCompensator, {"30", "6", "ширина", "25"}, CompensationRefusal::LengthNotANumber,
         "Участок «Узел 3», П-образный компенсатор: ширина B должна быть числом (введено «ширина»)"},
        {SectionShape::UCompensator, {"30", "6", "4", "10000,5"}, CompensationRefusal::LengthTooLarge,
         "Участок «Узел 3», П-образный компенсатор: плечо после компенсатора должно быть не больше 10 000 м "
         "(введено «10000,5»)"},
        {SectionShape::LShaped, {"10"}, CompensationRefusal::LengthNotANumber,
         "Участок «Узел 3», Г-образный участок: плечо 2 должно быть числом (введено «»)"},
        {SectionShape::Straight, {"-5"}, CompensationRefusal::LengthNotPositive,
         "Участок «Узел 3», прямой участок: длина должна быть больше нуля (введено «-5»)"},
    };
    for (const Case& c : cases) {
        const SectionReading reading = ReadSectionShape(c.Shape, c.Texts, TurnSide::Left, ",", "Узел 3");
        EXPECT_FALSE(reading.Ok());
        EXPECT_EQ(reading.Refusal, c.Refusal);
        EXPECT_EQ(reading.Message, c.Message);
    }
}

}  // namespace
}  // namespace korvelin
