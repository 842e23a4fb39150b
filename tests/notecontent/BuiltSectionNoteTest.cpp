// The section as it is built in the note and its drawing: the bends' factors with their values,
// the supports, the stability of compressed legs with its warning, the parts of the stress, and
// the arcs, sliding supports and guides drawn. The values are set from independent formulas and
// the worked examples of the method, not from the computation.

#include "korvelin/CompensationDrawing.h"
#include "korvelin/CompensationNote.h"
#include "korvelin/NoteTypography.h"
#include "korvelin/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace korvelin {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;
constexpr long double kE = 2.06e11L;

CompensationResult Sharp(std::string_view route, double d, double t)
{
    CompensationInput input;
    input.Section = *ParseSectionRoute(route, ",", "Г-1").Section;
    input.OuterDiameter = d;
    input.WallThickness = t;
    input.Temperatures = {0, -50, 50};
    return *ComputeCompensation(input).Result;
}

std::string Text(const NoteDocument& note)
{
    std::string text = NoteToPlainText(note);
    for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;) {
        text.replace(at, std::string("\u00A0").size(), " ");
    }
    return text;
}

std::string Shown(long double value, int digits = 7) { return FormatSignificant(value, digits, ","); }

// 159×4,5 with bends of 1,5·D = 238,5 mm: λ = 0,1798, K = 9,174, i = 2,825 (the method's worked
// example); here from the formulas themselves.
TEST(BuiltSectionNote, BendFactorsWithTheirValues)
{
    CompensationResult r = Sharp("20 Л 3 П 4 П 3 Л 20", 0.159, 0.0045);
    const long double radius = 0.2385L;
    const long double mean = (0.159L - 0.0045L) / 2;
    const long double lambda = 0.0045L * radius / (mean * mean);
    r.Section.BendRadius = static_cast<double>(radius);
    r.Bend = {static_cast<double>(radius), static_cast<double>(mean), static_cast<double>(lambda),
              static_cast<double>(std::max(1.0L, 1.65L / lambda)),
              static_cast<double>(std::max(1.0L, 0.9L / std::cbrt(lambda * lambda)))};
    EXPECT_NEAR(r.Bend.Lambda, 0.1798, 5e-5);
    EXPECT_NEAR(r.Bend.Flexibility, 9.174, 5e-4);
    EXPECT_NEAR(r.Bend.Intensification, 2.825, 5e-4);
    NoteDocument note;
    AddCompensationNote(note, r, ",");
    FinishNote(note);
    const std::string text = Text(note);
    for (const std::string& expected : std::vector<std::string>{
             "R = 238,5 мм; r = (D − t)/2 = (0,159 − 0,0045)/2 = 0,07725 м;",
             "λ = t·R/r2 = 0,0045·0,2385/0,077252 = " + Shown(lambda) + ";",
             "K = max(1; 1,65/λ) = max(1; 1,65/" + Shown(lambda) + ") = " + Shown(r.Bend.Flexibility) + "; i = max(1; "
             "0,9/λ2/3) = max(1; 0,9/" + Shown(lambda) + "2/3) = " + Shown(r.Bend.Intensification),
             "Повышение жесткости отвода внутренним давлением не учтено",
             "дуга радиуса R, касательная к обоим плечам",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    // The sum of the corner's movement by straight legs no longer describes a section with bends.
    EXPECT_EQ(text.find("Наибольшее перемещение угла:"), std::string::npos);
}

// A straight 57×3 of 20 m heated by 50 °C carries N = E·α·Δt·A = 62 904,7 Н; Euler's force over a
// pinned span of 5 m is π²·E·I/L² = 15 133 Н: the ratio above 1 gives the warning.
TEST(BuiltSectionNote, StabilityTableAndItsWarning)
{
    CompensationResult r = Sharp("20", 0.057, 0.003);
    const long double d = 0.051L;
    const long double inertia = kPi * (0.057L * 0.057L * 0.057L * 0.057L - d * d * d * d) / 64;
    const long double area = kPi * (0.057L * 0.057L - d * d) / 4;
    const long double force = kE * 1.2e-5L * 50 * area;
    const long double vertical = kPi * kPi * kE * inertia / 25;
    const long double horizontal = kPi * kPi * kE * inertia / 400;
    EXPECT_NEAR(static_cast<double>(force), 62904.7, 0.05);
    EXPECT_NEAR(static_cast<double>(vertical), 15133, 0.5);
    BucklingRow row;
    row.Compression = static_cast<double>(force);
    row.VerticalLength = 5;
    row.HorizontalLength = 20;
    row.CriticalVertical = static_cast<double>(vertical);
    row.CriticalHorizontal = static_cast<double>(horizontal);
    row.Critical = static_cast<double>(horizontal);
    row.Ratio = static_cast<double>(force / horizontal);
    row.Stable = false;
    r.Heating.Buckling = {row};
    r.Heating.StabilityWarning = true;
    NoteDocument note;
    AddCompensationResults(note, r, ",");
    FinishNote(note);
    const std::string text = Text(note);
    const std::string cells = "1\tнагрев\t" + FormatFixed3(row.Compression, ",") + "\t5,000\t" +
                              FormatFixed3(row.CriticalVertical, ",") + "\t20,000\t" +
                              FormatFixed3(row.CriticalHorizontal, ",") + "\t" + FormatFixed3(row.Ratio, ",");
    EXPECT_NE(text.find(cells), std::string::npos) << cells << "\n" << text;
    EXPECT_NE(text.find("Таблица 3 — Продольная устойчивость сжатых плеч"), std::string::npos) << text;
    EXPECT_NE(text.find("Внимание: плечо 1 (нагрев, N/Nкр = " + FormatFixed3(row.Ratio, ",") +
                        "): продольная устойчивость плеча не обеспечена."),
              std::string::npos);
    // A ratio of exactly 1 is stable: no warning.
    row.Ratio = 1;
    row.Stable = true;
    r.Heating.Buckling = {row};
    NoteDocument stable;
    AddCompensationResults(stable, r, ",");
    EXPECT_EQ(Text(stable).find("Внимание: плечо"), std::string::npos);
    // No compressed leg: no table.
    r.Heating.Buckling.clear();
    NoteDocument none;
    AddCompensationResults(none, r, ",");
    EXPECT_EQ(Text(none).find("Продольная устойчивость"), std::string::npos);
}

TEST(BuiltSectionNote, StressPartsAndSupportsInTheResults)
{
    CompensationResult r = Sharp("10 Л 5", 0.089, 0.0032);
    // p·d/(4·t) of 0,6 MPa in 89×3,2: 0,6·82,6/(4·3,2) = 3,871875 MPa.
    const double pressure = 0.6 * 82.6 / (4 * 3.2);
    r.Heating.Stress = {pressure, 1.25, 9.365, pressure + 1.25 + 9.365, 22.3, 3.0};
    r.Cooling.Stress = {pressure, 1.25, 7.492, pressure + 1.25 + 7.492, 22.3, 3.0};
    SupportPlace sliding;
    SupportPlace guide;
    guide.Kind = SupportKind::Guide;
    guide.Edited = true;
    r.Supports = {sliding, sliding, guide};
    r.SupportRules = RuleSet::SP;
    r.Placement.Rules = RuleSet::SP;
    r.Section.SupportStep = 3;
    r.Heating.SlidingSupports = 2;
    r.Heating.StickingSupports = 1;
    r.Heating.FrictionSteps = 12;
    r.Cooling.SlidingSupports = 1;
    r.Cooling.StickingSupports = 2;
    r.FrictionMethod = "Трение найдено по шагам температуры.";
    NoteDocument note;
    AddCompensationResults(note, r, ",");
    const std::string text = Text(note);
    for (const std::string& expected : std::vector<std::string>{
             std::string("от давления p·d/(4·t)\t3,872\t3,872\n"),
             std::string("сумма\t14,487\t12,614\n"),
             std::string("Опоры вдоль плеч: скользящих 2, направляющих 1 (расстановка по СП 42-102-2004 и заданному шагу "
                         "опор, с правками проектировщика, нагрузки по СП 42-102-2004); нагрев: "
                         "скользят 2, не сдвигаются (сила на опоре меньше μ·V) 1, шагов по температуре 12; "
                         "охлаждение: скользят 1, не сдвигаются (сила на опоре меньше μ·V) 2."),
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    // In the note the method says how the friction was solved, and the frame's solution is said
    // to be without it.
    NoteDocument whole;
    AddCompensationNote(whole, r, ",");
    const std::string method = Text(whole);
    EXPECT_NE(method.find("Трение найдено по шагам температуры."), std::string::npos);
    EXPECT_NE(method.find("Это решение рамы без трения и без направляющих"), std::string::npos);
    EXPECT_NE(method.find("Модель не учитывает: повышение жесткости отводов внутренним давлением"), std::string::npos);
}

// The arcs of the bends: every point of a corner's arc at R from its centre on the sheet, the arc
// tangent to both legs; a circle for each sliding support, two strokes for each guide.
TEST(BuiltSectionNote, DrawingShowsBendsSupportsAndGuides)
{
    CompensationResult r = Sharp("10 Л 5", 0.089, 0.0032);
    const NoteDrawing sharp = CompensationDrawing(r, ",");
    r.Section.BendRadius = 1;
    r.Section.Guides = {{0, 6}};
    SupportPlace first;
    first.X = 5;
    SupportPlace second;
    second.X = 10;
    second.Y = 2.5;
    second.Leg = 1;
    r.Supports = {first, second};
    const NoteDrawing built = CompensationDrawing(r, ",");
    // The section's axis is the line of kAxis width with the most points.
    const auto axis = [](const NoteDrawing& drawing) {
        const DrawingLine* found = nullptr;
        for (const DrawingLine& line : drawing.Lines) {
            if (!line.Dashed && !line.DashDotDot && line.WidthMm == 0.5 &&
                (found == nullptr || line.Points.size() > found->Points.size())) {
                found = &line;
            }
        }
        return *found;
    };
    const DrawingLine sharpAxis = axis(sharp);
    const DrawingLine bentAxis = axis(built);
    ASSERT_EQ(sharpAxis.Points.size(), 3u);
    ASSERT_EQ(bentAxis.Points.size(), 2u + 13u);
    // The sheet's scale from the sharp axis: the first leg of 10 m.
    const double scale = std::hypot(sharpAxis.Points[1].X - sharpAxis.Points[0].X,
                                    sharpAxis.Points[1].Y - sharpAxis.Points[0].Y) / 10;
    const DrawingPoint corner = sharpAxis.Points[1];
    // Turning left from +x to +y: the centre R before the corner along x and R along y (up the sheet).
    const DrawingPoint centre{corner.X - scale, corner.Y - scale};
    for (std::size_t i = 1; i + 1 < bentAxis.Points.size(); ++i) {
        EXPECT_NEAR(std::hypot(bentAxis.Points[i].X - centre.X, bentAxis.Points[i].Y - centre.Y), scale, 1e-9) << i;
    }
    EXPECT_NEAR(bentAxis.Points[1].X, corner.X - scale, 1e-9);
    EXPECT_NEAR(bentAxis.Points[1].Y, corner.Y, 1e-9);
    EXPECT_NEAR(bentAxis.Points[13].X, corner.X, 1e-9);
    EXPECT_NEAR(bentAxis.Points[13].Y, corner.Y - scale, 1e-9);
    // Two sliding supports more than the corners' dots (and one in the legend).
    EXPECT_EQ(built.Circles.size(), sharp.Circles.size() + 3u);
    bool legendSliding = false;
    bool legendGuide = false;
    for (const DrawingText& label : built.Texts) {
        legendSliding = legendSliding || label.Text == "скользящая опора";
        legendGuide = legendGuide || label.Text == "направляющая опора";
    }
    EXPECT_TRUE(legendSliding);
    EXPECT_TRUE(legendGuide);
    EXPECT_GT(built.HeightMm, sharp.HeightMm);

    // A support the designer turned into a guide is drawn as the typed guide at its place is, and
    // a typed guide that stands among the supports is drawn once.
    SupportPlace turned;
    turned.Kind = SupportKind::Guide;
    turned.Distance = 6;
    turned.X = 6;
    turned.Edited = true;
    const auto linesOf = [&r](std::vector<GuidePlace> typed, std::vector<SupportPlace> supports) {
        CompensationResult shown = r;
        shown.Section.Guides = std::move(typed);
        shown.Supports = std::move(supports);
        return CompensationDrawing(shown, ",").Lines.size();
    };
    const std::size_t none = linesOf({}, {second});
    const std::size_t typed = linesOf({{0, 6}}, {second});
    EXPECT_GT(typed, none);
    EXPECT_EQ(linesOf({}, {turned, second}), typed);
    EXPECT_EQ(linesOf({{0, 6}}, {turned, second}), typed);
}

}  // namespace
}  // namespace korvelin
