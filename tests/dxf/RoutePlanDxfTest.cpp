// The plan of a route of two sections with bends: its axis against the route's length computed from
// the legs and the bends, its joints and the bends' middles against the schedule's supports, the
// scale at the ends of its steps; its DXF read back pair by pair and by an independent reader.

#include "korvelin/RoutePlan.h"
#include "korvelin/RoutePlanDxf.h"

#include "EzdxfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvelin {
namespace {

CompensationResult Section(std::string_view route, double bendRadius)
{
    CompensationInput input;
    input.Section = ParseSectionRoute(route, ",").Section.value();
    input.Section.BendRadius = bendRadius;
    input.OuterDiameter = 0.159;
    input.WallThickness = 0.0045;
    input.Temperatures = {10, -40, 60};
    input.VerticalLoadSP = 500;
    input.TotalLoadSNiP = 620;
    CompensationOutcome outcome = ComputeCompensation(input);
    EXPECT_TRUE(outcome.Ok()) << outcome.Message;
    return *outcome.Result;
}

std::optional<double> FourMetres(int) { return 4.0; }

RouteSchedule ScheduleOf(const std::vector<CompensationResult>& sections)
{
    ScheduleInput input;
    input.Sections = sections;
    input.SP = ScheduleRuleLoads{500, 80, &FourMetres};
    input.SNiP = ScheduleRuleLoads{620, 80, &FourMetres};
    input.Friction = 0.3;
    ScheduleOutcome outcome = BuildRouteSchedule(input);
    EXPECT_TRUE(outcome.Ok()) << outcome.Message;
    return outcome.Schedule.value_or(RouteSchedule{});
}

// The route's length along its axis, mm: the legs, less the two tangents R·tan 45° each bend
// replaces, plus the bend's quarter circle.
double AxisLengthByLegs(const std::vector<CompensationResult>& sections)
{
    double total = 0;
    for (const CompensationResult& result : sections) {
        for (const double leg : result.Section.Legs) {
            total += leg;
        }
        const double bends = static_cast<double>(result.Section.Turns.size());
        const double r = result.Section.BendRadius;
        total += bends * (std::numbers::pi * r / 2 - 2 * r * std::tan(std::numbers::pi / 4));
    }
    return total * 1000;
}

struct Route {
    const char* Name;
    std::vector<std::pair<const char*, double>> Sections;  // route text, bend radius in m
    std::size_t Bends;
};

const std::vector<Route>& Routes()
{
    static const std::vector<Route> routes{
        {"two sections with bends", {{"10 Л 6", 0.4}, {"8 П 5", 0.25}}, 2},
        {"sharp corners", {{"10 Л 6", 0}, {"8 П 5", 0}}, 0},
        {"Z and a П-compensator", {{"12 Л 5 П 9", 0.3}, {"6 П 3 Л 4 Л 3 П 6", 0.5}}, 6},
        {"one straight section", {{"25", 0.3}}, 0},
    };
    return routes;
}

std::vector<CompensationResult> SectionsOf(const Route& route)
{
    std::vector<CompensationResult> sections;
    for (const auto& [text, radius] : route.Sections) {
        sections.push_back(Section(text, radius));
    }
    return sections;
}

PlanPoint ArcPoint(const PlanArc& arc, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    return {arc.Centre.X + arc.Radius * std::cos(a), arc.Centre.Y + arc.Radius * std::sin(a)};
}

TEST(RoutePlan, AxisIsContinuousTangentAndAsLongAsTheLegsAndBendsMake)
{
    for (const Route& route : Routes()) {
        SCOPED_TRACE(route.Name);
        const std::vector<CompensationResult> sections = SectionsOf(route);
        const RouteSchedule schedule = ScheduleOf(sections);
        const RoutePlan plan = BuildRoutePlan(sections, schedule, 390, ",");
        EXPECT_NEAR(plan.AxisLength, AxisLengthByLegs(sections), 1e-6);

        // Walk the axis: every piece starts where the previous one ended; an arc is a quarter
        // circle whose ends lie on the neighbouring straight pieces.
        std::size_t arcs = 0;
        double walked = 0;
        std::optional<PlanPoint> end;
        for (const PlanShape& shape : plan.Axis) {
            EXPECT_EQ(shape.Layer, PlanLayer::Axis);
            PlanPoint a;
            PlanPoint b;
            if (const auto* line = std::get_if<PlanLine>(&shape.Stroke)) {
                a = line->Start;
                b = line->End;
                walked += std::hypot(b.X - a.X, b.Y - a.Y);
            } else {
                const PlanArc& arc = std::get<PlanArc>(shape.Stroke);
                ++arcs;
                double sweep = arc.EndAngle - arc.StartAngle;
                sweep += sweep < 0 ? 360 : 0;
                EXPECT_EQ(sweep, 90);
                walked += arc.Radius * sweep * std::numbers::pi / 180;
                a = ArcPoint(arc, arc.StartAngle);
                b = ArcPoint(arc, arc.EndAngle);
                // An arc drawn counter-clockwise may run against the route: its far end then
                // meets the previous piece.
                if (end && std::hypot(a.X - end->X, a.Y - end->Y) > 1e-6) {
                    std::swap(a, b);
                }
            }
            if (end) {
                EXPECT_NEAR(a.X, end->X, 1e-6);
                EXPECT_NEAR(a.Y, end->Y, 1e-6);
            }
            end = b;
        }
        EXPECT_EQ(arcs, route.Bends);
        EXPECT_NEAR(walked, plan.AxisLength, 1e-6);
        // The route ends at the last fixed support of the schedule.
        ASSERT_TRUE(end.has_value());
        EXPECT_NEAR(end->X, schedule.Rows.back().X * 1000, 1e-6);
        EXPECT_NEAR(end->Y, schedule.Rows.back().Y * 1000, 1e-6);
    }
}

TEST(RoutePlan, SupportsDimensionsAndBendsAgreeWithTheSchedule)
{
    const Route& route = Routes()[0];
    const std::vector<CompensationResult> sections = SectionsOf(route);
    const RouteSchedule schedule = ScheduleOf(sections);
    const RoutePlan plan = BuildRoutePlan(sections, schedule, 390, ",");
    ASSERT_EQ(plan.Supports.size(), schedule.Rows.size());
    std::vector<PlanPoint> arcMiddles;
    for (const PlanShape& shape : plan.Axis) {
        if (const auto* arc = std::get_if<PlanArc>(&shape.Stroke)) {
            arcMiddles.push_back(ArcPoint(*arc, arc->StartAngle + 45));
        }
    }
    std::size_t corner = 0;
    for (std::size_t i = 0; i < plan.Supports.size(); ++i) {
        const ScheduleRow& row = schedule.Rows[i];
        EXPECT_EQ(plan.Supports[i].No, row.No);
        EXPECT_EQ(plan.Supports[i].Kind, row.Kind);
        EXPECT_NEAR(plan.Supports[i].At.X, row.X * 1000, 1e-9);
        EXPECT_NEAR(plan.Supports[i].At.Y, row.Y * 1000, 1e-9);
        // A corner's support stands in the middle of its bend, as the schedule places it.
        if (row.Corner) {
            ASSERT_LT(corner, arcMiddles.size());
            EXPECT_NEAR(arcMiddles[corner].X, row.X * 1000, 1e-6);
            EXPECT_NEAR(arcMiddles[corner].Y, row.Y * 1000, 1e-6);
            EXPECT_EQ(std::fmod(plan.Supports[i].AngleDeg, 90.0), 45);
            ++corner;
        }
    }
    EXPECT_EQ(corner, arcMiddles.size());
    // One dimension a leg, between the intersections of the axes, as long as the leg typed; the
    // intersections of "10 Л 6" then "8 П 5": (0, 0), (10, 0), (10, 6), (10, 14), (15, 14) m.
    const std::vector<std::array<double, 5>> legs{
        {0, 0, 10, 0, 10}, {10, 0, 10, 6, 6}, {10, 6, 10, 14, 8}, {10, 14, 15, 14, 5}};
    ASSERT_EQ(plan.Dimensions.size(), legs.size());
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const PlanDimension& d = plan.Dimensions[i];
        EXPECT_EQ(d.From.X, legs[i][0] * 1000);
        EXPECT_EQ(d.From.Y, legs[i][1] * 1000);
        EXPECT_EQ(d.To.X, legs[i][2] * 1000);
        EXPECT_EQ(d.To.Y, legs[i][3] * 1000);
        EXPECT_EQ(d.Length, legs[i][4]);
    }
    // The route is 15 × 14 m and its field 390 − 2·(10 + 7,5) = 355 mm wide: 15000/355 = 42,3,
    // within 1:50; a sheet of 300 mm leaves 265 mm: 56,6, so 1:100.
    EXPECT_EQ(plan.Scale, 50);
    EXPECT_EQ(BuildRoutePlan(sections, schedule, 300, ",").Scale, 100);
    // Every text is a support's number or a leg's length with the separator given.
    std::size_t numbers = 0;
    for (const PlanText& text : plan.Texts) {
        EXPECT_EQ(text.Height, 2.5 * plan.Scale);
        numbers += text.Value.find_first_not_of("0123456789") == std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(numbers, schedule.Rows.size() + 4);  // the lengths 10, 6, 8, 5 are whole
    EXPECT_GE(plan.Min.X, -40 * plan.Scale);
    EXPECT_LE(plan.Max.X, 15000 + 40 * plan.Scale);
}

TEST(RoutePlan, ScaleIsTheSmallestReductionThatFits)
{
    struct Case {
        double Extent;
        double Sheet;
        double Scale;
    };
    const Case cases[] = {
        {5000, 100, 50},      {5001, 100, 100},    {10000, 100, 100},  {10001, 100, 200},
        {50000, 100, 500},    {100000, 100, 1000}, {100001, 100, 2000}, {1e6, 100, 10000},
        {2e6, 100, 10000},    {0, 100, 50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanScale(c.Extent, c.Sheet), c.Scale) << c.Extent;
    }
}

// A label's box as the test reads it: the number's characters kPlanCharWidth of its height wide,
// its base line through At (the middle), horizontal.
struct LabelBox {
    double MinX, MinY, MaxX, MaxY;
};

LabelBox BoxOf(const PlanText& text)
{
    EXPECT_EQ(text.AngleDeg, 0);
    EXPECT_EQ(text.Anchor, PlanTextAnchor::Center);
    const double width = static_cast<double>(text.Value.size()) * kPlanCharWidth * text.Height;
    return {text.At.X - width / 2, text.At.Y, text.At.X + width / 2, text.At.Y + text.Height};
}

bool Inside(const LabelBox& box, PlanPoint p)
{
    return p.X > box.MinX && p.X < box.MaxX && p.Y > box.MinY && p.Y < box.MaxY;
}

double DistanceTo(const LabelBox& box, PlanPoint p)
{
    return std::hypot(std::max({box.MinX - p.X, 0.0, p.X - box.MaxX}), std::max({box.MinY - p.Y, 0.0, p.Y - box.MaxY}));
}

// Points along a piece of the drawing every `step` mm of the route.
std::vector<PlanPoint> Samples(const PlanShape& shape, double step)
{
    const auto* line = std::get_if<PlanLine>(&shape.Stroke);
    const auto* arc = std::get_if<PlanArc>(&shape.Stroke);
    const double sweep = arc ? std::fmod(arc->EndAngle - arc->StartAngle + 360, 360) : 0;
    const double length = line ? std::hypot(line->End.X - line->Start.X, line->End.Y - line->Start.Y)
                               : arc->Radius * sweep * std::numbers::pi / 180;
    const int n = std::max(1, static_cast<int>(length / step));
    std::vector<PlanPoint> points;
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        points.push_back(line ? PlanPoint{line->Start.X + (line->End.X - line->Start.X) * t,
                                          line->Start.Y + (line->End.Y - line->Start.Y) * t}
                              : ArcPoint(*arc, arc->StartAngle + sweep * t));
    }
    return points;
}

// A dense route drawn small: 150 supports and more on short legs with bends, on the note's
// 170 mm, on the DXF's A3 field and on a strip of 60 mm. The numbers are checked pairwise for
// overlaps of their boxes and against points along the axis, and each stands near its support or
// has a leader from its symbol to its box.
TEST(RoutePlan, SupportNumbersOfADenseRouteDoNotOverlap)
{
    std::vector<CompensationResult> sections;
    for (int k = 0; k < 10; ++k) {
        sections.push_back(Section(k % 2 == 0 ? "20 Л 6 П 20 П 6 Л 20" : "9 П 3 Л 2 Л 3 П 9 Л 4 П 10", 0.3));
    }
    const RouteSchedule schedule = ScheduleOf(sections);
    ASSERT_GE(schedule.Rows.size(), 150U);
    for (const double sheet : {170.0, kRouteDxfSheetMm, 60.0}) {
        SCOPED_TRACE(sheet);
        const RoutePlan plan = BuildRoutePlan(sections, schedule, sheet, ",");
        const double s = plan.Scale;
        ASSERT_EQ(plan.Labels.size(), plan.Supports.size());
        std::vector<LabelBox> boxes;
        std::size_t leaders = 0;
        for (std::size_t i = 0; i < plan.Labels.size(); ++i) {
            const PlanLabel& label = plan.Labels[i];
            ASSERT_EQ(label.Support, i);
            const PlanText& text = plan.Texts.at(label.Text);
            const PlanSupport& support = plan.Supports[i];
            EXPECT_EQ(text.Value, std::to_string(support.No));
            EXPECT_EQ(text.Height, kPlanTextMm * s);
            boxes.push_back(BoxOf(text));
            // A fixed support's square reaches 2√2 mm from its point, the other symbols 2,5 mm.
            const double symbol = support.Kind == ScheduleKind::Fixed ? 2 * std::numbers::sqrt2 : 2.5;
            if (!label.Leader) {
                EXPECT_LE(DistanceTo(boxes.back(), support.At), (symbol + kPlanLeaderMm) * s + 1e-6) << support.No;
                continue;
            }
            ++leaders;
            // From the symbol's edge to the box's edge.
            EXPECT_NEAR(std::hypot(label.Leader->Start.X - support.At.X, label.Leader->Start.Y - support.At.Y),
                        symbol * s, 1e-6);
            EXPECT_LE(DistanceTo(boxes.back(), label.Leader->End), kPlanLabelGapMm * s + 1e-6) << support.No;
        }
        // Every leader is drawn, on the layer of the texts.
        EXPECT_EQ(std::count_if(plan.Annotations.begin(), plan.Annotations.end(),
                                [](const PlanShape& a) { return a.Layer == PlanLayer::Texts; }),
                  static_cast<std::ptrdiff_t>(leaders));
        for (std::size_t a = 0; a < boxes.size(); ++a) {
            for (std::size_t b = a + 1; b < boxes.size(); ++b) {
                const bool apart = boxes[a].MaxX <= boxes[b].MinX || boxes[b].MaxX <= boxes[a].MinX ||
                                   boxes[a].MaxY <= boxes[b].MinY || boxes[b].MaxY <= boxes[a].MinY;
                EXPECT_TRUE(apart) << plan.Supports[a].No << " and " << plan.Supports[b].No;
            }
        }
        // The axis runs through no number (a point every 0.1 mm of the sheet).
        for (const PlanShape& shape : plan.Axis) {
            for (const PlanPoint& p : Samples(shape, 0.1 * s)) {
                for (std::size_t b = 0; b < boxes.size(); ++b) {
                    EXPECT_FALSE(Inside(boxes[b], p)) << plan.Supports[b].No;
                }
            }
        }
        // On the small sheets the numbers could not all stand at their nearest place.
        if (sheet < kRouteDxfSheetMm) {
            EXPECT_GT(leaders, 0U);
        }
    }
}

// A written file as its pairs of group code and value, and its entities with their codes.
struct ReadEntity {
    std::string Type;
    std::multimap<int, std::string> Values;
    double Number(int code) const { return std::stod(Values.find(code)->second); }
    std::string Text(int code) const { return Values.find(code)->second; }
};

std::vector<ReadEntity> EntitiesSection(const std::string& bytes)
{
    std::istringstream in(bytes);
    std::vector<std::pair<int, std::string>> pairs;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
        if (!value.empty() && value.back() == '\r') {
            value.pop_back();
        }
        pairs.emplace_back(std::stoi(code), value);
    }
    std::vector<ReadEntity> entities;
    bool inside = false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto& [code, value] = pairs[i];
        if (code == 0 && value == "SECTION") {
            inside = i + 1 < pairs.size() && pairs[i + 1].second == "ENTITIES";
        } else if (inside && code == 0 && value == "ENDSEC") {
            inside = false;
        } else if (inside && code == 0) {
            entities.push_back({value, {}});
        } else if (inside && !entities.empty()) {
            entities.back().Values.emplace(code, value);
        }
    }
    return entities;
}

TEST(RoutePlanDxf, ReadBackHasTheLayersTheBlocksOneInsertASupportAndTheAxisLength)
{
    const std::vector<CompensationResult> sections = SectionsOf(Routes()[0]);
    const RouteSchedule schedule = ScheduleOf(sections);
    const RoutePlan plan = BuildRoutePlan(sections, schedule, kRouteDxfSheetMm, ",");
    const dxf::Written written = dxf::WriteDxf(RoutePlanDocument(plan));
    ASSERT_TRUE(written.Ok()) << written.Problem;
    EXPECT_NE(written.Bytes.find("ANSI_1251"), std::string::npos);

    const std::string axis = *dxf::ToWindows1251(kAxisLayer);
    const std::string supports = *dxf::ToWindows1251(kSupportsLayer);
    std::map<std::string, std::size_t> byLayer;
    std::map<std::string, std::size_t> inserts;
    double axisLength = 0;
    std::size_t arcs = 0;
    for (const ReadEntity& e : EntitiesSection(written.Bytes)) {
        ++byLayer[e.Text(8)];
        if (e.Text(8) == axis && e.Type == "LINE") {
            axisLength += std::hypot(e.Number(11) - e.Number(10), e.Number(21) - e.Number(20));
        } else if (e.Text(8) == axis && e.Type == "ARC") {
            double sweep = e.Number(51) - e.Number(50);
            sweep += sweep < 0 ? 360 : 0;
            axisLength += e.Number(40) * sweep * std::numbers::pi / 180;
            ++arcs;
        } else if (e.Type == "INSERT") {
            EXPECT_EQ(e.Text(8), supports);
            ++inserts[e.Text(2)];
        }
    }
    EXPECT_NEAR(axisLength, AxisLengthByLegs(sections), 1e-6);
    EXPECT_EQ(arcs, 2U);
    EXPECT_EQ(byLayer.size(), 4U);
    // Three fixed supports, two at the corners and five between them (legs of 10, 6, 8, 5 m at
    // 4 m: 3, 2, 2, 2 spans).
    EXPECT_EQ(inserts[*dxf::ToWindows1251("НЕПОДВИЖНАЯ")], 3U);
    EXPECT_EQ(inserts[*dxf::ToWindows1251("СКОЛЬЗЯЩАЯ")], 7U);
    std::size_t total = 0;
    for (const auto& [name, count] : inserts) {
        total += count;
    }
    EXPECT_EQ(total, schedule.Rows.size());
}

// The independent reader: Debian's python3-ezdxf opens the file, its audit finds no error, and it
// sees the blocks by their Cyrillic names, one INSERT a support, the axis as lines and arcs.
TEST(RoutePlanDxf, IndependentReaderAuditsNoError)
{
    if (const auto missing = test::EzdxfMissing()) {
        GTEST_SKIP() << *missing;
    }
    const std::vector<CompensationResult> sections = SectionsOf(Routes()[2]);
    const RouteSchedule schedule = ScheduleOf(sections);
    const RoutePlan plan = BuildRoutePlan(sections, schedule, kRouteDxfSheetMm, ",");
    const dxf::Written written = dxf::WriteDxf(RoutePlanDocument(plan));
    ASSERT_TRUE(written.Ok()) << written.Problem;
    const std::vector<std::string> lines = test::RunEzdxf(written.Bytes, "plan.dxf", R"(import sys, math, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
msp = doc.modelspace()
axis = 0.0
for e in msp.query('LINE[layer=="ОСЬ"]'):
    axis += (e.dxf.end - e.dxf.start).magnitude
for e in msp.query('ARC[layer=="ОСЬ"]'):
    axis += e.dxf.radius * math.radians((e.dxf.end_angle - e.dxf.start_angle) % 360)
lines = [str(len(auditor.errors)),
         ",".join(sorted(b.name for b in doc.blocks if not b.name.startswith("*"))),
         str(len(msp.query("INSERT"))), "%.6f" % axis]
sys.stdout.buffer.write("\n".join(lines).encode("utf-8"))
)");
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[1], "НАПРАВЛЯЮЩАЯ,НЕПОДВИЖНАЯ,СКОЛЬЗЯЩАЯ");
    EXPECT_EQ(lines[2], std::to_string(schedule.Rows.size()));
    EXPECT_NEAR(std::stod(lines[3]), AxisLengthByLegs(sections), 1e-3);
}

}  // namespace
}  // namespace korvelin
