// The section between fixed supports: its route text, its rows, its presets and their refusals.

#include "korvelin/CompensationSection.h"

#include <gtest/gtest.h>

namespace korvelin {
namespace {

using enum TurnSide;

TEST(CompensationSection, RouteTextsThatRead)
{
    const struct {
        const char* Route;
        std::vector<double> Legs;
        std::vector<TurnSide> Turns;
    } cases[] = {
        {"20 Л 8 П 15", {20, 8, 15}, {Left, Right}},
        {"20Л8П15", {20, 8, 15}, {Left, Right}},
        {" 20 L 8 R 15 ", {20, 8, 15}, {Left, Right}},
        {"20 л 8,5 п 1.25", {20, 8.5, 1.25}, {Left, Right}},
        {"20 l\t8 r 15", {20, 8, 15}, {Left, Right}},
        {"0,1", {0.1}, {}},
        {"10000", {10000}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Route);
        const SectionReading reading = ParseSectionRoute(c.Route, ",", "Узел");
        ASSERT_TRUE(reading.Ok()) << reading.Message;
        EXPECT_EQ(reading.Section->Legs, c.Legs);
        EXPECT_EQ(reading.Section->Turns, c.Turns);
        EXPECT_EQ(reading.Section->Name, "Узел");
        // The route text and the rows read back to the same section.
        EXPECT_EQ(ParseSectionRoute(SectionRouteText(*reading.Section, ","), ",", "Узел").Section,
                  reading.Section);
        EXPECT_EQ(ReadSectionTexts(SectionToTexts(*reading.Section, "."), ".").Section,
                  reading.Section);
    }
    EXPECT_EQ(SectionRouteText(*ParseSectionRoute("20 L 8,5 R 15", ",").Section, ","),
              "20 Л 8,5 П 15");
}

TEST(CompensationSection, RouteTextsThatAreRefused)
{
    const struct {
        const char* Route;
        CompensationRefusal Refusal;
        const char* Message;
    } cases[] = {
        {"", CompensationRefusal::NoLegs, "Участок «У1»: не задано ни одно плечо"},
        {"  ", CompensationRefusal::NoLegs, "Участок «У1»: не задано ни одно плечо"},
        {"0 Л 5", CompensationRefusal::LengthNotPositive,
         "Участок «У1»: длина плеча 1 должна быть больше нуля (введено «0»)"},
        {"10 Л -5", CompensationRefusal::LengthNotPositive,
         "Участок «У1»: длина плеча 2 должна быть больше нуля (введено «-5»)"},
        {"10 Л 5,5,5", CompensationRefusal::LengthNotANumber,
         "Участок «У1»: длина плеча 2 должна быть числом (введено «5,5,5»)"},
        {"10 Л Л 5", CompensationRefusal::LengthNotANumber,
         "Участок «У1»: длина плеча 2 должна быть числом (введено «Л»)"},
        {"10 Л 10000,5", CompensationRefusal::LengthTooLarge,
         "Участок «У1»: длина плеча 2 должна быть не больше 10 000 м (введено «10000,5»)"},
        {"10 Х 5", CompensationRefusal::BadTurn,
         "Участок «У1»: поворот после плеча 1 должен быть Л или П (L или R) (введено «Х»)"},
        {"10 лево 5", CompensationRefusal::BadTurn,
         "Участок «У1»: поворот после плеча 1 должен быть Л или П (L или R) (введено «лево»)"},
        {"10 5", CompensationRefusal::MissingTurn,
         "Участок «У1»: после плеча 1 не указан поворот (Л или П)"},
        {"10 Л 5 П", CompensationRefusal::EndsInTurn,
         "Участок «У1»: после последнего поворота нет плеча"},
        {"10 Л 10 Л 10 Л 10", CompensationRefusal::EndAtStart,
         "Участок «У1»: конец участка совпадает с его началом, опоры А и Б оказались в одной точке"},
        {"5 П 2 П 5 П 2", CompensationRefusal::EndAtStart,
         "Участок «У1»: конец участка совпадает с его началом, опоры А и Б оказались в одной точке"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Route);
        const SectionReading reading = ParseSectionRoute(c.Route, ",", "У1");
        EXPECT_FALSE(reading.Ok());
        EXPECT_EQ(reading.Refusal, c.Refusal);
        EXPECT_EQ(reading.Message, c.Message);
    }
    // A route that comes back to its start only on the way is a section.
    EXPECT_TRUE(ParseSectionRoute("10 Л 10 Л 10 Л 10 П 5", ",").Ok());
    // The limit of legs: 100 read, 101 not.
    std::string route = "1";
    for (int i = 1; i < 100; ++i) {
        route += " Л 1";
    }
    route[route.size() - 1] = '2';  // the last leg longer, so that the end is not the start
    EXPECT_TRUE(ParseSectionRoute(route, ",").Ok());
    EXPECT_EQ(ParseSectionRoute(route + " П 1", ",").Refusal, CompensationRefusal::TooManyLegs);
    EXPECT_EQ(ParseSectionRoute("10", ",").Message, "");
    EXPECT_EQ(ParseSectionRoute("", ",").Message, "Не задано ни одно плечо");
    EXPECT_EQ(ParseSectionRoute("10 Р 5", ",").Message,
              "Поворот после плеча 1 должен быть Л или П (L или R) (введено «Р»)");
}

TEST(CompensationSection, RowsOfTheWindowsTable)
{
    SectionTexts texts{"П-1", {{"20", "Л"}, {"3", " п "}, {"4", "П"}, {"3", "L"}, {"20", ""}}};
    SectionReading reading = ReadSectionTexts(texts, ",");
    ASSERT_TRUE(reading.Ok()) << reading.Message;
    CompensationSection expected = UCompensatorSection(20, 3, 4, 20, Left);
    expected.Name = "П-1";
    EXPECT_EQ(*reading.Section, expected);

    const struct {
        std::vector<SectionLegTexts> Rows;
        CompensationRefusal Refusal;
        const char* Message;
    } refused[] = {
        {{}, CompensationRefusal::NoLegs, "Участок «П-1»: не задано ни одно плечо"},
        {{{"20", ""}, {"5", ""}}, CompensationRefusal::MissingTurn,
         "Участок «П-1»: после плеча 1 не указан поворот (Л или П)"},
        {{{"20", "Л"}, {"5", "П"}}, CompensationRefusal::EndsInTurn,
         "Участок «П-1»: после последнего поворота нет плеча"},
        {{{"20", "вверх"}, {"5", ""}}, CompensationRefusal::BadTurn,
         "Участок «П-1»: поворот после плеча 1 должен быть Л или П (L или R) (введено «вверх»)"},
        {{{"", "Л"}, {"5", ""}}, CompensationRefusal::LengthNotANumber,
         "Участок «П-1»: длина плеча 1 должна быть числом (введено «»)"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.Message);
        texts.Legs = c.Rows;
        reading = ReadSectionTexts(texts, ",");
        EXPECT_FALSE(reading.Ok());
        EXPECT_EQ(reading.Refusal, c.Refusal);
        EXPECT_EQ(reading.Message, c.Message);
    }
}

TEST(CompensationSection, PresetsAndTheirCorners)
{
    const struct {
        CompensationSection Section;
        const char* Route;
        std::vector<SectionPoint> Nodes;
    } cases[] = {
        {StraightSection(20), "20", {{0, 0}, {20, 0}}},
        {LShapedSection(10, 5, Left), "10 Л 5", {{0, 0}, {10, 0}, {10, 5}}},
        {LShapedSection(10, 5, Right), "10 П 5", {{0, 0}, {10, 0}, {10, -5}}},
        {ZShapedSection(10, 4, 6, Right), "10 П 4 Л 6", {{0, 0}, {10, 0}, {10, -4}, {16, -4}}},
        {UCompensatorSection(20, 3, 4.5, 15, Left), "20 Л 3 П 4,5 П 3 Л 15",
         {{0, 0}, {20, 0}, {20, 3}, {24.5, 3}, {24.5, 0}, {39.5, 0}}},
        {UCompensatorSection(20, 3, 4, 20, Right), "20 П 3 Л 4 Л 3 П 20",
         {{0, 0}, {20, 0}, {20, -3}, {24, -3}, {24, 0}, {44, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Route);
        EXPECT_EQ(SectionRouteText(c.Section, ","), c.Route);
        EXPECT_EQ(SectionNodes(c.Section), c.Nodes);
        EXPECT_TRUE(CheckSection(c.Section).Ok());
    }
    // A full turn: the direction after four left turns is the first one again.
    const std::vector<LegDirection> directions =
        SectionDirections(*ParseSectionRoute("1 Л 1 Л 1 Л 1 Л 1 П 1", ",").Section);
    const std::vector<LegDirection> expected = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}, {0, -1}};
    EXPECT_EQ(directions, expected);
}

}  // namespace
}  // namespace korvelin
