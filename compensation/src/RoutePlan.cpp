#include "korvelin/RoutePlan.h"

#include "korvelin/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace korvelin {
namespace {

constexpr double kMmPerM = 1000;
constexpr double kTickMm = 2;         // the dimension's 45° tick, on the sheet
constexpr double kExtensionMm = 2;    // an extension line beyond the dimension line
constexpr double kTextGapMm = 1;      // a dimension's text above its line

// A direction as quarter turns counter-clockwise from +x: 0…3.
int Quarter(LegDirection d)
{
    if (d.Cos == 1) {
        return 0;
    }
    if (d.Sin == 1) {
        return 1;
    }
    return d.Cos == -1 ? 2 : 3;
}

LegDirection OfQuarter(int quarter)
{
    static constexpr std::array<LegDirection, 4> kQuarters{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
    return kQuarters[static_cast<std::size_t>(((quarter % 4) + 4) % 4)];
}

// A section's place on the route: the quarter turn of its axes and its start, m.
struct SectionFrame {
    int Turn = 0;
    long double X = 0;
    long double Y = 0;
};

struct Vec {
    long double X = 0;
    long double Y = 0;
};

Vec Rotated(int quarter, long double x, long double y)
{
    const LegDirection r = OfQuarter(quarter);
    return {r.Cos * x - r.Sin * y, r.Sin * x + r.Cos * y};
}

PlanPoint Mm(Vec v) { return {static_cast<double>(v.X), static_cast<double>(v.Y)}; }

// The chain: the next section starts at the previous one's support B and goes on in the direction
// of its last leg.
std::vector<SectionFrame> Frames(std::span<const CompensationResult> sections)
{
    std::vector<SectionFrame> frames(sections.size());
    for (std::size_t k = 1; k < sections.size(); ++k) {
        const CompensationSection& previous = sections[k - 1].Section;
        const std::vector<SectionPoint> nodes = SectionNodes(previous);
        const std::vector<LegDirection> dirs = SectionDirections(previous);
        const Vec end = Rotated(frames[k - 1].Turn, nodes.back().X, nodes.back().Y);
        frames[k].Turn = (frames[k - 1].Turn + (dirs.empty() ? 0 : Quarter(dirs.back()))) % 4;
        frames[k].X = frames[k - 1].X + end.X;
        frames[k].Y = frames[k - 1].Y + end.Y;
    }
    return frames;
}

void Extend(RoutePlan& plan, PlanPoint p)
{
    plan.Min = {std::min(plan.Min.X, p.X), std::min(plan.Min.Y, p.Y)};
    plan.Max = {std::max(plan.Max.X, p.X), std::max(plan.Max.Y, p.Y)};
}

void AddLine(std::vector<PlanShape>& to, PlanLayer layer, Vec a, Vec b)
{
    to.push_back({layer, PlanLine{Mm(a), Mm(b)}});
}

double NormalAngle(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    return a < 0 ? a + 360 : a;
}

}  // namespace

std::vector<PlanLine> SupportSymbol(ScheduleKind kind)
{
    switch (kind) {
    case ScheduleKind::Fixed:
        return {{{-2, -2}, {2, -2}}, {{2, -2}, {2, 2}}, {{2, 2}, {-2, 2}}, {{-2, 2}, {-2, -2}},
                {{-2, -2}, {2, 2}},  {{-2, 2}, {2, -2}}};
    case ScheduleKind::Sliding:
        return {{{0, -2.5}, {0, 2.5}}};
    case ScheduleKind::Guide:
        return {{{0, -2.5}, {0, 2.5}}, {{-2, 1.5}, {2, 1.5}}, {{-2, -1.5}, {2, -1.5}}};
    }
    return {};
}

std::span<const ScheduleKind> SupportKinds()
{
    static constexpr std::array<ScheduleKind, 3> kKinds{ScheduleKind::Fixed, ScheduleKind::Sliding,
                                                        ScheduleKind::Guide};
    return kKinds;
}

std::string_view SupportBlockName(ScheduleKind kind)
{
    switch (kind) {
    case ScheduleKind::Fixed:
        return "НЕПОДВИЖНАЯ";
    case ScheduleKind::Sliding:
        return "СКОЛЬЗЯЩАЯ";
    case ScheduleKind::Guide:
        return "НАПРАВЛЯЮЩАЯ";
    }
    return {};
}

double PlanScale(double extentMm, double sheetWidthMm)
{
    static constexpr std::array<double, 8> kScales{50, 100, 200, 500, 1000, 2000, 5000, 10000};
    for (const double scale : kScales) {
        if (extentMm / scale <= sheetWidthMm) {
            return scale;
        }
    }
    return kScales.back();
}

RoutePlan BuildRoutePlan(std::span<const CompensationResult> sections, const RouteSchedule& schedule,
                         double sheetWidthMm, std::string_view decimalSeparator)
{
    RoutePlan plan;
    const std::vector<SectionFrame> frames = Frames(sections);

    // The intersections of the axes in the route's axes, mm, and the legs' directions.
    struct Leg {
        std::size_t Section = 0;
        std::size_t Index = 0;
        Vec From;
        Vec To;
        int Quarter = 0;
        double Length = 0;
        double Radius = 0;  // mm, of the bends of its section
    };
    std::vector<Leg> legs;
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const CompensationSection& section = sections[k].Section;
        const std::vector<SectionPoint> nodes = SectionNodes(section);
        const std::vector<LegDirection> dirs = SectionDirections(section);
        for (std::size_t i = 0; i < section.Legs.size(); ++i) {
            const Vec a = Rotated(frames[k].Turn, nodes[i].X, nodes[i].Y);
            const Vec b = Rotated(frames[k].Turn, nodes[i + 1].X, nodes[i + 1].Y);
            legs.push_back({k, i, {(frames[k].X + a.X) * kMmPerM, (frames[k].Y + a.Y) * kMmPerM},
                            {(frames[k].X + b.X) * kMmPerM, (frames[k].Y + b.Y) * kMmPerM},
                            (frames[k].Turn + Quarter(dirs[i])) % 4, section.Legs[i],
                            static_cast<double>(static_cast<long double>(section.BendRadius) * kMmPerM)});
        }
    }

    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const Leg& leg : legs) {
        minX = std::min({minX, static_cast<double>(leg.To.X)});
        maxX = std::max({maxX, static_cast<double>(leg.To.X)});
        minY = std::min({minY, static_cast<double>(leg.To.Y)});
        maxY = std::max({maxY, static_cast<double>(leg.To.Y)});
    }
    // Room on either side for the dimensions and the numbers.
    const double room = 2 * (kPlanDimensionMm + 3 * kPlanTextMm);
    plan.Scale = PlanScale(std::max(maxX - minX, maxY - minY), std::max(sheetWidthMm - room, 1.0));
    const long double s = plan.Scale;

    // The axis: each leg between its bends' tangent points, a bend at every turn within a section
    // (the sections meet on a straight line).
    long double axisLength = 0;
    for (std::size_t j = 0; j < legs.size(); ++j) {
        const Leg& leg = legs[j];
        const LegDirection d = OfQuarter(leg.Quarter);
        const bool bendBefore = j > 0 && legs[j - 1].Section == leg.Section;
        const bool bendAfter = j + 1 < legs.size() && legs[j + 1].Section == leg.Section;
        const long double r = leg.Radius;
        const Vec from{leg.From.X + (bendBefore ? d.Cos * r : 0), leg.From.Y + (bendBefore ? d.Sin * r : 0)};
        const Vec to{leg.To.X - (bendAfter ? d.Cos * r : 0), leg.To.Y - (bendAfter ? d.Sin * r : 0)};
        AddLine(plan.Axis, PlanLayer::Axis, from, to);
        axisLength += std::hypot(to.X - from.X, to.Y - from.Y);
        if (bendAfter && r > 0) {
            // Tangent to both legs: the centre R inside the turn from either tangent point; the
            // arc runs counter-clockwise from the direction −out to in for a left turn, from in to
            // −out for a right one.
            const LegDirection out = OfQuarter(legs[j + 1].Quarter);
            const bool left = (legs[j + 1].Quarter - leg.Quarter + 4) % 4 == 1;
            PlanArc arc;
            arc.Centre = Mm({leg.To.X + (out.Cos - d.Cos) * r, leg.To.Y + (out.Sin - d.Sin) * r});
            arc.Radius = static_cast<double>(r);
            const double in = 90.0 * leg.Quarter;
            const double back = NormalAngle(90.0 * legs[j + 1].Quarter + 180);
            arc.StartAngle = left ? back : in;
            arc.EndAngle = left ? in : back;
            plan.Axis.push_back({PlanLayer::Axis, arc});
            axisLength += std::numbers::pi_v<long double> / 2 * r;
        }
    }
    plan.AxisLength = static_cast<double>(axisLength);

    // The side of a leg its dimension goes to: away from the turn at its end (or at its start),
    // so that it stays outside the bend.
    auto outside = [&](std::size_t j) -> Vec {
        const Leg& leg = legs[j];
        const LegDirection d = OfQuarter(leg.Quarter);
        const Vec leftNormal{static_cast<long double>(-d.Sin), static_cast<long double>(d.Cos)};
        int turn = 0;  // +1 left, −1 right
        if (j + 1 < legs.size() && legs[j + 1].Quarter != leg.Quarter) {
            turn = (legs[j + 1].Quarter - leg.Quarter + 4) % 4 == 1 ? 1 : -1;
        } else if (j > 0 && legs[j - 1].Quarter != leg.Quarter) {
            turn = (leg.Quarter - legs[j - 1].Quarter + 4) % 4 == 1 ? 1 : -1;
        }
        const long double side = turn > 0 ? -1 : 1;
        return {leftNormal.X * side, leftNormal.Y * side};
    };

    const long double textHeight = kPlanTextMm * s;
    for (std::size_t j = 0; j < legs.size(); ++j) {
        const Leg& leg = legs[j];
        plan.Dimensions.push_back({leg.Section, leg.Index, Mm(leg.From), Mm(leg.To), leg.Length});
        const Vec n = outside(j);
        const long double offset = kPlanDimensionMm * s;
        const Vec a{leg.From.X + n.X * offset, leg.From.Y + n.Y * offset};
        const Vec b{leg.To.X + n.X * offset, leg.To.Y + n.Y * offset};
        const long double beyond = (kPlanDimensionMm + kExtensionMm) * s;
        AddLine(plan.Annotations, PlanLayer::Dimensions, leg.From,
                {leg.From.X + n.X * beyond, leg.From.Y + n.Y * beyond});
        AddLine(plan.Annotations, PlanLayer::Dimensions, leg.To,
                {leg.To.X + n.X * beyond, leg.To.Y + n.Y * beyond});
        AddLine(plan.Annotations, PlanLayer::Dimensions, a, b);
        // The ticks: 45° to the dimension line, through its ends.
        const LegDirection d = OfQuarter(leg.Quarter);
        const long double t = kTickMm / 2 * s / std::numbers::sqrt2_v<long double>;
        const Vec slash{(d.Cos - d.Sin) * t, (d.Sin + d.Cos) * t};
        for (const Vec& end : {a, b}) {
            AddLine(plan.Annotations, PlanLayer::Dimensions, {end.X - slash.X, end.Y - slash.Y},
                    {end.X + slash.X, end.Y + slash.Y});
        }
        // The text reads from the left or from below; it stands on the side of the line away
        // from the axis.
        const int reading = leg.Quarter == 2 ? 0 : leg.Quarter == 3 ? 1 : leg.Quarter;
        const LegDirection r = OfQuarter(reading);
        const Vec up{static_cast<long double>(-r.Sin), static_cast<long double>(r.Cos)};
        const bool outwardIsUp = up.X * n.X + up.Y * n.Y > 0;
        const long double lift = outwardIsUp ? kTextGapMm * s : -(kTextGapMm * s + textHeight);
        PlanText text;
        text.At = Mm({(a.X + b.X) / 2 + up.X * lift, (a.Y + b.Y) / 2 + up.Y * lift});
        text.Value = FormatGeneral(leg.Length, decimalSeparator);
        text.Height = static_cast<double>(textHeight);
        text.AngleDeg = 90.0 * reading;
        plan.Texts.push_back(std::move(text));
    }

    // The supports from the schedule: the symbol along the pipe (at a corner along the bisector)
    // and the number on the side away from the dimension (outside the bend at a corner).
    for (const ScheduleRow& row : schedule.Rows) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < legs.size(); ++i) {
            if (legs[i].Section == row.Section && legs[i].Index == row.Leg) {
                j = i;
            }
        }
        PlanSupport support;
        support.No = row.No;
        support.Kind = row.Kind;
        support.At = {static_cast<double>(static_cast<long double>(row.X) * kMmPerM),
                      static_cast<double>(static_cast<long double>(row.Y) * kMmPerM)};
        Vec label;
        const Vec n = outside(j);
        if (row.Corner && j + 1 < legs.size()) {
            const LegDirection in = OfQuarter(legs[j].Quarter);
            const LegDirection out = OfQuarter(legs[j + 1].Quarter);
            const bool left = (legs[j + 1].Quarter - legs[j].Quarter + 4) % 4 == 1;
            support.AngleDeg = NormalAngle(90.0 * legs[j].Quarter + (left ? 45 : -45));
            label = {(in.Cos - out.Cos) / std::numbers::sqrt2_v<long double>,
                     (in.Sin - out.Sin) / std::numbers::sqrt2_v<long double>};
        } else {
            support.AngleDeg = 90.0 * legs[j].Quarter;
            label = {-n.X, -n.Y};
        }
        plan.Supports.push_back(support);
        PlanText number;
        const long double away = kPlanLabelMm * s;
        number.At = Mm({support.At.X + label.X * away, support.At.Y + label.Y * away - textHeight / 2});
        number.Value = std::to_string(row.No);
        number.Height = static_cast<double>(textHeight);
        plan.Texts.push_back(std::move(number));
    }

    // The extent: the axis, the annotations and the texts with their width at about 0.7 of their
    // height a character.
    plan.Min = plan.Max = legs.empty() ? PlanPoint{} : Mm(legs.front().From);
    for (const std::vector<PlanShape>* shapes : {&plan.Axis, &plan.Annotations}) {
        for (const PlanShape& shape : *shapes) {
            if (const auto* line = std::get_if<PlanLine>(&shape.Stroke)) {
                Extend(plan, line->Start);
                Extend(plan, line->End);
            } else if (const auto* arc = std::get_if<PlanArc>(&shape.Stroke)) {
                Extend(plan, {arc->Centre.X - arc->Radius, arc->Centre.Y - arc->Radius});
                Extend(plan, {arc->Centre.X + arc->Radius, arc->Centre.Y + arc->Radius});
            }
        }
    }
    for (const PlanText& text : plan.Texts) {
        const double half = 0.35 * text.Height * static_cast<double>(text.Value.size()) + text.Height;
        Extend(plan, {text.At.X - half, text.At.Y - half});
        Extend(plan, {text.At.X + half, text.At.Y + half});
    }
    const double symbol = 3 * s;
    for (const PlanSupport& support : plan.Supports) {
        Extend(plan, {support.At.X - symbol, support.At.Y - symbol});
        Extend(plan, {support.At.X + symbol, support.At.Y + symbol});
    }
    return plan;
}

}  // namespace korvelin
