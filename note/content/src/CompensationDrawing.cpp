#include "korvelin/CompensationDrawing.h"

#include "korvelin/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korvelin {
namespace {

// The sheet's layout, mm.
constexpr double kMarginMm = 16;  // around the section: the supports, the labels, the bent axes
constexpr double kMaxPlanWidthMm = kCompensationDrawingWidthMm - 2 * kMarginMm;
constexpr double kMaxPlanHeightMm = 90;
constexpr double kLargestMovementMm = 6;  // the largest movement as drawn, about
constexpr double kTextMm = 2.5;
constexpr double kLegendRowMm = 5;
constexpr double kSampleMm = 14;  // a line's sample in the legend
constexpr double kAxisMm = 14;
constexpr double kAxisLineMm = 0.5;
constexpr double kThinLineMm = 0.25;
constexpr double kBentLineMm = 0.3;
constexpr std::size_t kPointsPerLeg = 24;
constexpr std::size_t kArcSteps = 12;      // chords of a bend's arc as drawn
constexpr double kQuarterTurn = 1.57079632679489661923;
constexpr double kSupportMm = 0.9;         // a sliding support's circle
constexpr double kGuideMm = 3;             // a guide's stroke
constexpr double kGuideGapMm = 1.3;        // from the axis

struct Vector {
    double X = 0;
    double Y = 0;
};

Vector Plus(Vector a, Vector b) { return {a.X + b.X, a.Y + b.Y}; }
Vector Times(Vector a, double k) { return {a.X * k, a.Y * k}; }
DrawingPoint At(Vector v) { return {v.X, v.Y}; }

DrawingLine Line(std::vector<DrawingPoint> points, double widthMm)
{
    DrawingLine line;
    line.Points = std::move(points);
    line.WidthMm = widthMm;
    return line;
}

// A temperature as the legend writes it, with a true minus sign and, for a change, a plus.
std::string Degrees(double value, std::string_view separator, bool signed_)
{
    std::string text = FormatGeneral(value, separator);
    if (!text.empty() && text.front() == '-') {
        text.replace(0, 1, "−");
    } else if (signed_ && value > 0) {
        text.insert(0, "+");
    }
    return text + " °C";
}

// The largest of 1, 2, 5 times a power of ten that does not exceed `wanted`; at least 1.
double RoundFactor(double wanted)
{
    if (!(wanted > 1)) {
        return 1;
    }
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double mantissa : {5.0, 2.0}) {
        if (mantissa * power <= wanted) {
            return mantissa * power;
        }
    }
    return power;
}

// "в 200 раз", "в 2 раза".
std::string TimesText(double factor)
{
    const long long whole = std::llround(factor);
    const long long last = whole % 10;
    const long long lastTwo = whole % 100;
    const bool few = last >= 2 && last <= 4 && !(lastTwo >= 12 && lastTwo <= 14);
    return "в " + std::to_string(whole) + (few ? " раза" : " раз");
}

DrawingText Label(Vector at, std::string text, DrawingAnchor anchor = DrawingAnchor::Center, double angle = 0)
{
    return DrawingText{At(at), std::move(text), anchor, kTextMm, angle};
}

// The baseline's point of a label set beside `from` towards `outward` (a unit vector on the
// sheet) with a gap: the label's letters stand on the far side of its baseline or the near side,
// as its angle turns them.
Vector BesideLine(Vector from, Vector outward, double angleDeg, double gap)
{
    const double angle = angleDeg * 3.14159265358979323846 / 180;
    const Vector up{-std::sin(angle), -std::cos(angle)};  // from the baseline to the capitals
    const double along = outward.X * up.X + outward.Y * up.Y;
    return Plus(from, Times(outward, along > 0 ? gap : gap + kTextMm));
}

// The fixed end: a bar across the pipe at the support and short hatching behind it, on the side
// `outward` away from the pipe.
void AddFixedSupport(NoteDrawing& drawing, Vector node, Vector outward)
{
    const Vector across{-outward.Y, outward.X};
    constexpr double half = 3.5;
    drawing.Lines.push_back(Line({At(Plus(node, Times(across, -half))), At(Plus(node, Times(across, half)))}, 0.6));
    for (double t = -half + 1.4; t <= half + 1e-9; t += 1.4) {
        const Vector start = Plus(node, Times(across, t));
        const Vector end = Plus(Plus(start, Times(across, -1.4)), Times(outward, 1.8));
        drawing.Lines.push_back(Line({At(start), At(end)}, kThinLineMm));
    }
}

// A guide: two short strokes along the pipe, one on either side of its axis (it holds the pipe
// across, leaves it free along).
void AddGuide(NoteDrawing& drawing, Vector at, Vector along)
{
    const Vector across{-along.Y, along.X};
    for (const double side : {-kGuideGapMm, kGuideGapMm}) {
        const Vector middle = Plus(at, Times(across, side));
        drawing.Lines.push_back(Line({At(Plus(middle, Times(along, -kGuideMm / 2))), At(Plus(middle, Times(along, kGuideMm / 2)))},
                                     0.5));
    }
}

}  // namespace

std::vector<BentAxisPoint> BentAxis(const CompensationResult& result, bool heating, std::size_t pointsPerLeg)
{
    const CompensationCase& loadCase = result.Of(heating);
    const std::size_t steps = std::max<std::size_t>(pointsPerLeg, 1);
    const long double bending = result.Tube.BendingStiffness;
    const long double axial = result.Tube.AxialStiffness;
    const long double thermal = kThermalExpansion * static_cast<long double>(loadCase.TemperatureChange);
    std::vector<BentAxisPoint> axis;
    long double rotation = 0;  // counterclockwise, rad; none at the fixed support А
    for (std::size_t leg = 0; leg < result.Section.Legs.size(); ++leg) {
        const SectionPoint& start = result.Points[leg];
        const SectionPoint& end = result.Points[leg + 1];
        const long double length = result.Section.Legs[leg];
        const long double cosine = (static_cast<long double>(end.X) - start.X) / length;
        const long double sine = (static_cast<long double>(end.Y) - start.Y) / length;
        const long double startUx = loadCase.Nodes[leg].Ux / 1000.0L;
        const long double startUy = loadCase.Nodes[leg].Uy / 1000.0L;
        const LegForces& forces = loadCase.Legs[leg];
        const long double m0 = forces.MStart;
        const long double m1 = forces.MEnd;
        const long double strain = forces.N / axial + thermal;
        for (std::size_t i = 0; i <= steps; ++i) {
            const long double s = length * static_cast<long double>(i) / static_cast<long double>(steps);
            // Along the leg its strain; across it the rotation at its start and the curvature
            // M/(E·I) of the moment, linear from M_start to M_end, integrated twice.
            const long double lengthening = strain * s;
            const long double deflection =
                rotation * s + (m0 * s * s / 2 + (m1 - m0) * s * s * s / (6 * length)) / bending;
            axis.push_back(BentAxisPoint{
                static_cast<double>(start.X + cosine * s),
                static_cast<double>(start.Y + sine * s),
                static_cast<double>(startUx + cosine * lengthening - sine * deflection),
                static_cast<double>(startUy + sine * lengthening + cosine * deflection),
            });
        }
        rotation += (m0 + m1) * length / (2 * bending);
    }
    return axis;
}

NoteDrawing CompensationDrawing(const CompensationResult& result, std::string_view decimalSeparator)
{
    const std::vector<SectionPoint>& points = result.Points;
    const std::size_t legs = result.Section.Legs.size();
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const SectionPoint& p : points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    // One scale for both directions, the largest that fits the plan's room.
    double scale = 0;
    if (maxX > minX) {
        scale = kMaxPlanWidthMm / (maxX - minX);
    }
    if (maxY > minY) {
        const double vertical = kMaxPlanHeightMm / (maxY - minY);
        scale = scale > 0 ? std::min(scale, vertical) : vertical;
    }
    const double planWidth = (maxX - minX) * scale;
    const double planHeight = (maxY - minY) * scale;

    // The cases whose corners move (a straight run stays where it is), and the factor that makes
    // the largest movement about kLargestMovementMm on the sheet.
    struct Shape {
        bool Heating = true;
        std::vector<BentAxisPoint> Axis;
    };
    std::vector<Shape> shapes;
    double largest = 0;  // m
    for (const bool heating : {true, false}) {
        if (result.Of(heating).MaxCornerMovement == 0) {
            continue;
        }
        Shape shape{heating, BentAxis(result, heating, kPointsPerLeg)};
        double movement = 0;
        for (const BentAxisPoint& p : shape.Axis) {
            movement = std::max(movement, std::hypot(p.Ux, p.Uy));
        }
        if (movement > 0) {
            largest = std::max(largest, movement);
            shapes.push_back(std::move(shape));
        }
    }
    const double factor = largest > 0 ? RoundFactor(kLargestMovementMm / (largest * scale)) : 0;

    NoteDrawing drawing;
    drawing.WidthMm = kCompensationDrawingWidthMm;
    const bool anySliding = std::any_of(result.Supports.begin(), result.Supports.end(),
                                        [](const SupportPlace& s) { return s.Kind == SupportKind::Sliding; });
    // The guides: the supports the designer turned into guides and the typed ones (a typed guide
    // that took a support's place stands among the supports at its own distance).
    std::vector<GuidePlace> guidePlaces;
    for (const SupportPlace& support : result.Supports) {
        if (support.Kind == SupportKind::Guide) {
            guidePlaces.push_back({support.Leg, support.Distance});
        }
    }
    for (const GuidePlace& guide : result.Section.Guides) {
        if (std::find(guidePlaces.begin(), guidePlaces.end(), guide) == guidePlaces.end()) {
            guidePlaces.push_back(guide);
        }
    }
    const std::size_t legendRows = 1 + shapes.size() + (shapes.empty() ? 0 : 1) + (anySliding ? 1 : 0) +
                                   (guidePlaces.empty() ? 0 : 1);
    const double legendTop = kMarginMm + planHeight + kMarginMm;
    drawing.HeightMm = legendTop + double(legendRows) * kLegendRowMm;
    // The sheet's x to the right, y downwards; the section's y upwards.
    const Vector origin{(drawing.WidthMm - planWidth) / 2 - minX * scale, kMarginMm + maxY * scale};
    const auto sheet = [&](double x, double y) { return Vector{origin.X + x * scale, origin.Y - y * scale}; };
    const auto direction = [&](std::size_t leg) {
        const double length = result.Section.Legs[leg];
        return Vector{(points[leg + 1].X - points[leg].X) / length, -(points[leg + 1].Y - points[leg].Y) / length};
    };

    // The bent axes under the section's own axis.
    for (const Shape& shape : shapes) {
        DrawingLine line;
        line.WidthMm = kBentLineMm;
        line.Dashed = shape.Heating;
        line.DashDotDot = !shape.Heating;
        for (const BentAxisPoint& p : shape.Axis) {
            line.Points.push_back(At(sheet(p.X + factor * p.Ux, p.Y + factor * p.Uy)));
        }
        drawing.Lines.push_back(std::move(line));
    }
    // The section's axis: straight legs, each turn a circular arc of the bends' radius tangent to
    // both legs (its tangent length R for a turn of 90°), or a sharp corner.
    DrawingLine section;
    section.WidthMm = kAxisLineMm;
    const double radius = result.Section.BendRadius;
    const auto unit = [&](std::size_t leg) {
        const double length = result.Section.Legs[leg];
        return Vector{(points[leg + 1].X - points[leg].X) / length, (points[leg + 1].Y - points[leg].Y) / length};
    };
    for (std::size_t node = 0; node < points.size(); ++node) {
        const SectionPoint& p = points[node];
        if (node == 0 || node + 1 == points.size() || !(radius > 0)) {
            section.Points.push_back(At(sheet(p.X, p.Y)));
            continue;
        }
        const Vector in = unit(node - 1);
        const Vector out = unit(node);
        const Vector centre = Plus(Plus(Vector{p.X, p.Y}, Times(in, -radius)), Times(out, radius));
        for (std::size_t step = 0; step <= kArcSteps; ++step) {
            const double angle = double(step) / double(kArcSteps) * kQuarterTurn;
            const Vector at = Plus(centre, Plus(Times(out, -radius * std::cos(angle)), Times(in, radius * std::sin(angle))));
            section.Points.push_back(At(sheet(at.X, at.Y)));
        }
    }
    drawing.Lines.push_back(std::move(section));

    // The sliding supports, small circles on the axis; the guides, two strokes along the pipe on
    // either side of it.
    bool sliding = false;
    for (const SupportPlace& support : result.Supports) {
        if (support.Kind == SupportKind::Sliding) {
            drawing.Circles.push_back(DrawingCircle{.Centre = At(sheet(support.X, support.Y)), .RadiusMm = kSupportMm,
                                                    .WidthMm = kThinLineMm, .Filled = false});
            sliding = true;
        }
    }
    for (const GuidePlace& guide : guidePlaces) {
        if (guide.Leg >= legs) {
            continue;
        }
        const Vector along = unit(guide.Leg);
        const Vector at = sheet(points[guide.Leg].X + along.X * guide.Distance, points[guide.Leg].Y + along.Y * guide.Distance);
        AddGuide(drawing, at, direction(guide.Leg));
    }
    const bool guides = !guidePlaces.empty();

    // The side of each leg on which its length stands: away from the section's middle (to the
    // right of the leg when the middle stands on the leg's line).
    const Vector middle = sheet((minX + maxX) / 2, (minY + maxY) / 2);
    const auto outwardOf = [&](std::size_t leg) {
        const Vector centre = Times(Plus(sheet(points[leg].X, points[leg].Y), sheet(points[leg + 1].X, points[leg + 1].Y)), 0.5);
        const Vector along = direction(leg);
        const Vector right{along.Y, -along.X};
        const double side = (centre.X - middle.X) * right.X + (centre.Y - middle.Y) * right.Y;
        return side < -1e-9 ? Times(right, -1) : right;
    };

    // The axes at support А; the name of x on the side of the first leg without its length.
    const Vector a = sheet(points.front().X, points.front().Y);
    for (const Vector axis : {Vector{kAxisMm, 0}, Vector{0, -kAxisMm}}) {
        DrawingLine arrow = Line({At(a), At(Plus(a, axis))}, kThinLineMm);
        arrow.ArrowAtEnd = true;
        drawing.Lines.push_back(std::move(arrow));
    }
    const bool xBelow = outwardOf(0).Y < 0;
    drawing.Texts.push_back(Label(Plus(a, {kAxisMm, xBelow ? 1.5 + kTextMm : -1.5}), "x"));
    drawing.Texts.push_back(Label(Plus(a, {1.5, -kAxisMm + 1}), "y", DrawingAnchor::Left));

    // The fixed supports and their names beyond the hatching.
    const Vector b = sheet(points.back().X, points.back().Y);
    const Vector outA = Times(direction(0), -1);
    const Vector outB = direction(legs - 1);
    AddFixedSupport(drawing, a, outA);
    AddFixedSupport(drawing, b, outB);
    drawing.Texts.push_back(Label(Plus(Plus(a, Times(outA, 6.5)), {0, kTextMm / 2}), NodeName(0, points.size())));
    drawing.Texts.push_back(
        Label(Plus(Plus(b, Times(outB, 6.5)), {0, kTextMm / 2}), NodeName(points.size() - 1, points.size())));

    // The corners, named outside the turn.
    for (std::size_t corner = 1; corner < legs; ++corner) {
        const Vector at = sheet(points[corner].X, points[corner].Y);
        drawing.Circles.push_back(DrawingCircle{.Centre = At(at), .RadiusMm = 0.6, .Filled = true});
        const Vector in = direction(corner - 1);
        const Vector out = direction(corner);
        const Vector outside = Times({in.X - out.X, in.Y - out.Y}, 1 / std::sqrt(2.0));
        drawing.Texts.push_back(
            Label(Plus(Plus(at, Times(outside, 3.2)), {0, kTextMm / 2}), NodeName(corner, points.size())));
    }

    // The legs' lengths along the legs.
    for (std::size_t leg = 0; leg < legs; ++leg) {
        const Vector centre =
            Times(Plus(sheet(points[leg].X, points[leg].Y), sheet(points[leg + 1].X, points[leg + 1].Y)), 0.5);
        const Vector along = direction(leg);
        const Vector outward = outwardOf(leg);
        // Beyond the bent axes where they pass the label, the middle half of the leg.
        double clear = 0;
        for (const Shape& shape : shapes) {
            for (std::size_t i = kPointsPerLeg / 4; i <= kPointsPerLeg * 3 / 4; ++i) {
                const BentAxisPoint& p = shape.Axis[leg * (kPointsPerLeg + 1) + i];
                clear = std::max(clear, factor * scale * (p.Ux * outward.X - p.Uy * outward.Y));
            }
        }
        const double angle = std::fabs(along.X) > 0.5 ? 0 : 90;
        drawing.Texts.push_back(Label(BesideLine(centre, outward, angle, 1.5 + clear),
                                      FormatGeneral(result.Section.Legs[leg], decimalSeparator) + " м",
                                      DrawingAnchor::Center, angle));
    }

    // The legend: the lines and the factor of the movements.
    const double legendLeft = (drawing.WidthMm - 110) / 2;
    const auto row = [&](std::size_t index) { return legendTop + double(index) * kLegendRowMm + kTextMm; };
    const auto sample = [&](std::size_t index, double widthMm, bool dashed, bool dashDotDot, std::string text) {
        const double y = row(index) - kTextMm / 2;
        DrawingLine line = Line({{legendLeft, y}, {legendLeft + kSampleMm, y}}, widthMm);
        line.Dashed = dashed;
        line.DashDotDot = dashDotDot;
        drawing.Lines.push_back(std::move(line));
        drawing.Texts.push_back(Label({legendLeft + kSampleMm + 3, row(index)}, std::move(text), DrawingAnchor::Left));
    };
    const CompensationTemperatures& t = result.Temperatures;
    sample(0, kAxisLineMm, false, false,
           "ось участка, закрепленного при t_{з} = " + Degrees(t.Closing, decimalSeparator, false));
    std::size_t index = 1;
    for (const Shape& shape : shapes) {
        const CompensationCase& loadCase = result.Of(shape.Heating);
        const std::string change = Degrees(loadCase.TemperatureChange, decimalSeparator, true);
        sample(index++, kBentLineMm, shape.Heating, !shape.Heating,
               shape.Heating ? "после нагрева до t_{max} = " + Degrees(t.Max, decimalSeparator, false)
                                   + ", Δt_{+} = " + change
                             : "после охлаждения до t_{min} = " + Degrees(t.Min, decimalSeparator, false)
                                   + ", Δt_{−} = " + change);
    }
    if (sliding) {
        const double y = row(index) - kTextMm / 2;
        drawing.Circles.push_back(DrawingCircle{.Centre = {legendLeft + kSampleMm / 2, y}, .RadiusMm = kSupportMm,
                                                .WidthMm = kThinLineMm, .Filled = false});
        drawing.Texts.push_back(Label({legendLeft + kSampleMm + 3, row(index++)}, "скользящая опора", DrawingAnchor::Left));
    }
    if (guides) {
        const double y = row(index) - kTextMm / 2;
        drawing.Lines.push_back(Line({{legendLeft, y}, {legendLeft + kSampleMm, y}}, kAxisLineMm));
        AddGuide(drawing, {legendLeft + kSampleMm / 2, y}, {1, 0});
        drawing.Texts.push_back(Label({legendLeft + kSampleMm + 3, row(index++)}, "направляющая опора", DrawingAnchor::Left));
    }
    if (!shapes.empty()) {
        drawing.Texts.push_back(Label({legendLeft, row(index)}, "Перемещения увеличены " + TimesText(factor),
                                      DrawingAnchor::Left));
    }
    drawing.Caption = "Схема участка"
                      + (result.Section.Name.empty() ? std::string() : " «" + result.Section.Name + "»")
                      + ": А, Б — неподвижные опоры";
    return drawing;
}

std::vector<CompensationNoteSection> CompensationNoteSections(const CompensationRun& run,
                                                              std::string_view decimalSeparator)
{
    std::vector<CompensationNoteSection> sections;
    if (run.Ok()) {
        for (const CompensationResult& section : run.Sections) {
            sections.push_back({section, CompensationDrawing(section, decimalSeparator)});
        }
    }
    return sections;
}

}  // namespace korvelin
