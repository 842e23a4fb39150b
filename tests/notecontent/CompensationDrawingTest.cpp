#include "korvelin/CompensationDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace korvelin {
namespace {

CompensationResult Computed(const std::string& route, CompensationTemperatures temperatures)
{
    const SectionReading reading = ParseSectionRoute(route, ",", "Участок 1");
    EXPECT_TRUE(reading.Ok()) << reading.Message;
    CompensationInput input;
    input.Section = *reading.Section;
    input.OuterDiameter = 0.089;
    input.WallThickness = 0.0032;
    input.Temperatures = temperatures;
    CompensationOutcome outcome = ComputeCompensation(input);
    EXPECT_TRUE(outcome.Ok()) << outcome.Message;
    return *outcome.Result;
}

const std::vector<std::string> kRoutes = {
    "10 Л 5",                                // the worked example's Г
    "20 Л 8 П 6 П 8 Л 20",                   // a П-compensator
    "10 П 40 Л 10",                          // Z
    "12 Л 3,5 Л 7 П 9 П 2 Л 15 П 4",         // a route of its own
};

// The bent axis passes through the corners where the computation moves them and comes back to
// rest at support Б: its curvature has the sign of the library's moments.
TEST(CompensationDrawing, BentAxisMeetsEveryNodeAndClosesAtSupportB)
{
    constexpr std::size_t steps = 8;
    for (const std::string& route : kRoutes) {
        const CompensationResult result = Computed(route, {10, -40, 40});
        for (const bool heating : {true, false}) {
            SCOPED_TRACE(route + (heating ? ", heating" : ", cooling"));
            const CompensationCase& loadCase = result.Of(heating);
            const std::vector<BentAxisPoint> axis = BentAxis(result, heating, steps);
            ASSERT_EQ(axis.size(), result.Section.Legs.size() * (steps + 1));
            double largest = 0;
            for (const NodeMovement& node : loadCase.Nodes) {
                largest = std::max(largest, std::hypot(node.Ux, node.Uy) / 1000);
            }
            ASSERT_GT(largest, 0);
            for (std::size_t leg = 0; leg < result.Section.Legs.size(); ++leg) {
                const BentAxisPoint& end = axis[leg * (steps + 1) + steps];
                const NodeMovement& node = loadCase.Nodes[leg + 1];
                EXPECT_NEAR(end.X, node.X, 1e-12);
                EXPECT_NEAR(end.Y, node.Y, 1e-12);
                EXPECT_NEAR(end.Ux, node.Ux / 1000, 1e-9 * largest) << "leg " << leg + 1;
                EXPECT_NEAR(end.Uy, node.Uy / 1000, 1e-9 * largest) << "leg " << leg + 1;
            }
            EXPECT_EQ(axis[0].Ux, 0);
            EXPECT_EQ(axis[0].Uy, 0);
        }
    }
}

const DrawingLine& SectionLine(const NoteDrawing& drawing)
{
    return *std::find_if(drawing.Lines.begin(), drawing.Lines.end(),
                         [](const DrawingLine& line) { return line.WidthMm == 0.5 && !line.ArrowAtEnd; });
}

std::vector<std::string> Texts(const NoteDrawing& drawing)
{
    std::vector<std::string> texts;
    for (const DrawingText& text : drawing.Texts) {
        texts.push_back(text.Text);
    }
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The П-compensator: its supports, corners and legs named, the legend with the temperatures, and
// the corners drawn moved by exactly the factor written on the drawing.
TEST(CompensationDrawing, CompensatorDrawnWithItsLegendAndTheWrittenFactor)
{
    const CompensationResult result = Computed("20 Л 8 П 6 П 8 Л 20", {10, -40, 40});
    const NoteDrawing drawing = CompensationDrawing(result, ",");
    const std::vector<std::string> texts = Texts(drawing);
    for (const std::string expected :
         {"А", "Б", "1", "2", "3", "4", "20 м", "8 м", "6 м", "x", "y",
          "ось участка, закрепленного при t_{з} = 10 °C",
          "после нагрева до t_{max} = 40 °C, Δt_{+} = +30 °C",
          "после охлаждения до t_{min} = −40 °C, Δt_{−} = −50 °C", "Перемещения увеличены в 50 раз"}) {
        EXPECT_TRUE(Has(texts, expected)) << expected;
    }
    EXPECT_EQ(drawing.Caption, "Схема участка «Участок 1»: А, Б — неподвижные опоры");
    EXPECT_LE(drawing.WidthMm, kCompensationDrawingWidthMm);

    const DrawingLine& section = SectionLine(drawing);
    ASSERT_EQ(section.Points.size(), result.Points.size());
    const double scale = (section.Points[1].X - section.Points[0].X) / result.Section.Legs[0];  // mm per m
    for (const bool heating : {true, false}) {
        const auto bent = std::find_if(drawing.Lines.begin(), drawing.Lines.end(), [&](const DrawingLine& line) {
            return (heating ? line.Dashed : line.DashDotDot) && line.Points.size() > 2;
        });
        ASSERT_NE(bent, drawing.Lines.end());
        const std::size_t perLeg = bent->Points.size() / result.Section.Legs.size();
        for (std::size_t corner = 1; corner + 1 < result.Points.size(); ++corner) {
            const DrawingPoint& moved = bent->Points[corner * perLeg];
            const NodeMovement& node = result.Of(heating).Nodes[corner];
            EXPECT_NEAR(moved.X - section.Points[corner].X, 50 * scale * node.Ux / 1000, 1e-9);
            EXPECT_NEAR(moved.Y - section.Points[corner].Y, -50 * scale * node.Uy / 1000, 1e-9);
        }
    }
}

// Everything stands inside the drawing's box, whatever the shape.
TEST(CompensationDrawing, EveryLineAndLabelInsideTheDrawing)
{
    std::vector<std::string> routes = kRoutes;
    routes.insert(routes.end(), {"20", "5 П 300", "300 Л 5", "1 Л 1 Л 1"});
    for (const std::string& route : routes) {
        SCOPED_TRACE(route);
        const NoteDrawing drawing = CompensationDrawing(Computed(route, {0, -70, 100}), ",");
        const auto inside = [&](const DrawingPoint& p) {
            return p.X >= 0 && p.X <= drawing.WidthMm && p.Y >= 0 && p.Y <= drawing.HeightMm;
        };
        for (const DrawingLine& line : drawing.Lines) {
            EXPECT_TRUE(std::all_of(line.Points.begin(), line.Points.end(), inside));
        }
        for (const DrawingText& text : drawing.Texts) {
            EXPECT_TRUE(inside(text.At)) << text.Text;
        }
    }
}

// A straight run between fixed supports does not move: no bent axes and no factor; a case without
// a change of temperature is not drawn either.
TEST(CompensationDrawing, NothingMovedIsNotDrawn)
{
    const NoteDrawing straight = CompensationDrawing(Computed("20", {10, -40, 40}), ",");
    EXPECT_TRUE(std::none_of(straight.Lines.begin(), straight.Lines.end(),
                             [](const DrawingLine& line) { return line.Dashed || line.DashDotDot; }));
    EXPECT_FALSE(std::any_of(straight.Texts.begin(), straight.Texts.end(), [](const DrawingText& text) {
        return text.Text.starts_with("Перемещения") || text.Text.starts_with("после");
    }));

    const NoteDrawing heatedOnly = CompensationDrawing(Computed("10 Л 5", {-20, -20, 30}), ",");
    const std::vector<std::string> texts = Texts(heatedOnly);
    EXPECT_TRUE(Has(texts, "после нагрева до t_{max} = 30 °C, Δt_{+} = +50 °C"));
    EXPECT_TRUE(std::none_of(heatedOnly.Lines.begin(), heatedOnly.Lines.end(),
                             [](const DrawingLine& line) { return line.DashDotDot; }));
    EXPECT_TRUE(std::none_of(texts.begin(), texts.end(),
                             [](const std::string& text) { return text.starts_with("после охлаждения"); }));
}

}  // namespace
}  // namespace korvelin
