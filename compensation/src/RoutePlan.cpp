#include "korvelin/RoutePlan.h"

#include "korvelin/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <utility>

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

PlanBox TextBox(const PlanText& text)
{
    // The characters of a UTF-8 text: its bytes less the continuation bytes.
    const auto characters = static_cast<double>(std::count_if(
        text.Value.begin(), text.Value.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    const long double width = characters * kPlanCharWidth * static_cast<long double>(text.Height);
    const long double angle = text.AngleDeg * std::numbers::pi_v<long double> / 180;
    const Vec along{std::cos(angle), std::sin(angle)};
    const Vec up{-along.Y, along.X};
    const long double left = text.Anchor == PlanTextAnchor::Left ? 0 : -width / 2;
    PlanBox box{text.At, text.At};
    for (const long double a : {left, left + width}) {
        for (const long double b : {0.0L, static_cast<long double>(text.Height)}) {
            const PlanPoint corner = Mm({text.At.X + along.X * a + up.X * b, text.At.Y + along.Y * a + up.Y * b});
            box.Min = {std::min(box.Min.X, corner.X), std::min(box.Min.Y, corner.Y)};
            box.Max = {std::max(box.Max.X, corner.X), std::max(box.Max.Y, corner.Y)};
        }
    }
    return box;
}

namespace {

// The distance of the symbol's farthest point from its support, mm on the sheet.
double SymbolRadius(ScheduleKind kind)
{
    double radius = 0;
    for (const PlanLine& line : SupportSymbol(kind)) {
        radius = std::max({radius, std::hypot(line.Start.X, line.Start.Y), std::hypot(line.End.X, line.End.Y)});
    }
    return radius;
}

bool Overlap(const PlanBox& a, const PlanBox& b)
{
    return a.Min.X < b.Max.X && b.Min.X < a.Max.X && a.Min.Y < b.Max.Y && b.Min.Y < a.Max.Y;
}

// Whether the segment ab has a point inside the box or on its edge: the segment clipped to the
// box's four half-planes in turn (Liang and Barsky) keeps a piece.
bool Crosses(PlanPoint a, PlanPoint b, const PlanBox& box)
{
    const long double dx = static_cast<long double>(b.X) - a.X;
    const long double dy = static_cast<long double>(b.Y) - a.Y;
    long double enter = 0;
    long double leave = 1;
    const std::array<std::pair<long double, long double>, 4> sides{{{-dx, static_cast<long double>(a.X) - box.Min.X},
                                                                   {dx, static_cast<long double>(box.Max.X) - a.X},
                                                                   {-dy, static_cast<long double>(a.Y) - box.Min.Y},
                                                                   {dy, static_cast<long double>(box.Max.Y) - a.Y}}};
    for (const auto& [p, q] : sides) {
        if (p == 0) {
            if (q < 0) {
                return false;
            }
        } else if (p < 0) {
            enter = std::max(enter, q / p);
        } else {
            leave = std::min(leave, q / p);
        }
        if (enter > leave) {
            return false;
        }
    }
    return true;
}

PlanBox Around(PlanPoint a, PlanPoint b)
{
    return {{std::min(a.X, b.X), std::min(a.Y, b.Y)}, {std::max(a.X, b.X), std::max(a.Y, b.Y)}};
}

// Whether the segments ab and cd share a point: each one's ends on either side of the other's
// line, or an end on the other segment.
bool Intersect(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d)
{
    const auto turn = [](PlanPoint o, PlanPoint p, PlanPoint q) {
        const long double v = (static_cast<long double>(p.X) - o.X) * (static_cast<long double>(q.Y) - o.Y) -
                              (static_cast<long double>(p.Y) - o.Y) * (static_cast<long double>(q.X) - o.X);
        return v > 0 ? 1 : v < 0 ? -1 : 0;
    };
    const int abc = turn(a, b, c);
    const int abd = turn(a, b, d);
    const int cda = turn(c, d, a);
    const int cdb = turn(c, d, b);
    if (abc * abd < 0 && cda * cdb < 0) {
        return true;
    }
    const auto on = [](PlanPoint p, PlanPoint q, PlanPoint r) {
        return std::min(p.X, q.X) <= r.X && r.X <= std::max(p.X, q.X) && std::min(p.Y, q.Y) <= r.Y &&
               r.Y <= std::max(p.Y, q.Y);
    };
    return (abc == 0 && on(a, b, c)) || (abd == 0 && on(a, b, d)) || (cda == 0 && on(c, d, a)) ||
           (cdb == 0 && on(c, d, b));
}

// Whether the segments ab and cd lie on one line and share a piece of it.
bool RunAlong(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d)
{
    const auto cross = [](PlanPoint o, PlanPoint p, PlanPoint q) {
        return (static_cast<long double>(p.X) - o.X) * (static_cast<long double>(q.Y) - o.Y) -
               (static_cast<long double>(p.Y) - o.Y) * (static_cast<long double>(q.X) - o.X);
    };
    const long double length = std::hypot(static_cast<long double>(b.X) - a.X, static_cast<long double>(b.Y) - a.Y);
    // Within a millionth of the leader's length of its line, as the sheet cannot tell apart.
    const long double near = 1e-6L * length * length;
    if (length == 0 || std::fabs(cross(a, b, c)) > near || std::fabs(cross(a, b, d)) > near) {
        return false;
    }
    const auto along = [&](PlanPoint p) {
        return ((static_cast<long double>(p.X) - a.X) * (b.X - a.X) + (static_cast<long double>(p.Y) - a.Y) * (b.Y - a.Y)) /
               (length * length);
    };
    const long double from = std::min(along(c), along(d));
    const long double to = std::max(along(c), along(d));
    return from < 1 && to > 0;
}

// What a support's number keeps clear of: boxes (texts, symbols, numbers placed) and lines (the
// axis, the dimensions, the leaders), each of a support or of none, kept in a grid of square
// cells so that a place is tried against its neighbourhood only.
class Obstacles
{
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    enum class Kind { Box, Line, Axis, Leader };

    explicit Obstacles(double cell) : Cell(cell) {}

    void AddBox(const PlanBox& box, std::size_t owner) { Add({Kind::Box, box, {}, {}, owner}); }
    void AddLine(Kind kind, PlanPoint a, PlanPoint b, std::size_t owner) { Add({kind, Around(a, b), a, b, owner}); }

    // No box overlaps it and no line passes through it.
    bool BoxFree(const PlanBox& box) const
    {
        return !Any(box, [&box](const Item& item) {
            return item.Type == Kind::Box ? Overlap(item.Bounds, box) : Crosses(item.A, item.B, box);
        });
    }

    // A leader from a: it crosses no box but those of its own support and those it starts in (the
    // symbol of a support standing on it, where the route crosses itself), runs along no line, and,
    // unless `acrossLines`, crosses none (the axis, a dimension, another leader).
    bool LeaderFree(PlanPoint a, PlanPoint b, std::size_t owner, bool acrossLines) const
    {
        return !Any(Around(a, b), [&](const Item& item) {
            if (item.Type != Kind::Box) {
                return acrossLines ? RunAlong(a, b, item.A, item.B) : Intersect(a, b, item.A, item.B);
            }
            return item.Type == Kind::Box && item.Owner != owner && !Crosses(a, a, item.Bounds) &&
                   Crosses(a, b, item.Bounds);
        });
    }

private:
    struct Item {
        Kind Type = Kind::Box;
        PlanBox Bounds;
        PlanPoint A;
        PlanPoint B;
        std::size_t Owner = kNone;
    };

    struct Range {
        long long X0, Y0, X1, Y1;
    };

    Range CellsOf(const PlanBox& box) const
    {
        const auto at = [this](double v) { return static_cast<long long>(std::floor(v / Cell)); };
        return {at(box.Min.X), at(box.Min.Y), at(box.Max.X), at(box.Max.Y)};
    }

    static long long Key(long long x, long long y) { return x * 4'000'000'007LL + y; }

    void Add(const Item& item)
    {
        const Range r = CellsOf(item.Bounds);
        for (long long x = r.X0; x <= r.X1; ++x) {
            for (long long y = r.Y0; y <= r.Y1; ++y) {
                Cells[Key(x, y)].push_back(Items.size());
            }
        }
        Items.push_back(item);
        Seen.push_back(0);
    }

    template <typename Hit>
    bool Any(const PlanBox& area, Hit hit) const
    {
        ++Stamp;
        const Range r = CellsOf(area);
        for (long long x = r.X0; x <= r.X1; ++x) {
            for (long long y = r.Y0; y <= r.Y1; ++y) {
                const auto found = Cells.find(Key(x, y));
                if (found == Cells.end()) {
                    continue;
                }
                for (const std::size_t i : found->second) {
                    if (Seen[i] != Stamp) {
                        Seen[i] = Stamp;
                        if (hit(Items[i])) {
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }

    double Cell;
    std::vector<Item> Items;
    std::unordered_map<long long, std::vector<std::size_t>> Cells;
    mutable std::vector<unsigned> Seen;  // the stamp of the last search that met an item
    mutable unsigned Stamp = 0;
};

constexpr int kLabelRows = 24;    // the rows of numbers out from the axis tried before giving up
constexpr int kLabelShifts = 48;  // the places along the pipe tried in a row, on either side
constexpr double kArcPieceDeg = 7.5;  // a bend as chords of this angle, as the note draws it

// The obstacles the numbers find on the plan before the first is placed: the axis (a bend as its
// chords), the dimensions, their texts and the supports' symbols.
Obstacles DrawingObstacles(const RoutePlan& plan)
{
    Obstacles obstacles(2 * kPlanTextMm * plan.Scale);
    for (const std::vector<PlanShape>* shapes : {&plan.Axis, &plan.Annotations}) {
        const Obstacles::Kind kind = shapes == &plan.Axis ? Obstacles::Kind::Axis : Obstacles::Kind::Line;
        for (const PlanShape& shape : *shapes) {
            if (const auto* line = std::get_if<PlanLine>(&shape.Stroke)) {
                obstacles.AddLine(kind, line->Start, line->End, Obstacles::kNone);
                continue;
            }
            const PlanArc& arc = std::get<PlanArc>(shape.Stroke);
            const double sweep = NormalAngle(arc.EndAngle - arc.StartAngle);
            const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / kArcPieceDeg)));
            const auto point = [&arc](long double degrees) {
                const long double a = degrees * std::numbers::pi_v<long double> / 180;
                return Mm({arc.Centre.X + arc.Radius * std::cos(a), arc.Centre.Y + arc.Radius * std::sin(a)});
            };
            for (int i = 0; i < pieces; ++i) {
                obstacles.AddLine(kind, point(arc.StartAngle + sweep * i / pieces),
                                  point(arc.StartAngle + sweep * (i + 1) / pieces), Obstacles::kNone);
            }
        }
    }
    for (const PlanText& text : plan.Texts) {
        obstacles.AddBox(TextBox(text), Obstacles::kNone);
    }
    for (std::size_t i = 0; i < plan.Supports.size(); ++i) {
        const PlanSupport& support = plan.Supports[i];
        const double r = SymbolRadius(support.Kind) * plan.Scale;
        obstacles.AddBox({{support.At.X - r, support.At.Y - r}, {support.At.X + r, support.At.Y + r}}, i);
    }
    return obstacles;
}

// A support's number: where its middle stands and the leader to it, if any.
struct LabelPlace {
    PlanPoint Centre;
    std::optional<PlanLine> Leader;
};

// The supports' numbers, placed in route order: each at the first free place of its candidates,
// nearest first. The nearest is at the offset that keeps the number clear of its symbol on the
// side `sides` prefers, then the same on the other side; then rows of numbers farther out on
// either side, each place also moved along the pipe; a number farther than kPlanLeaderMm from its
// symbol has a leader from it.
void PlaceLabels(RoutePlan& plan, const std::vector<Vec>& sides)
{
    const long double s = plan.Scale;
    const double height = static_cast<double>(kPlanTextMm * s);
    const double gap = static_cast<double>(kPlanLabelGapMm * s);
    Obstacles obstacles = DrawingObstacles(plan);
    struct Candidate {
        double Out;
        double Shift;
        double Distance;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < plan.Supports.size(); ++i) {
        const PlanSupport& support = plan.Supports[i];
        PlanText number;
        number.Value = std::to_string(support.No);
        number.Height = height;
        const PlanBox size = TextBox(number);
        const double width = size.Max.X - size.Min.X;
        const Vec u = sides[i];
        const Vec d{u.Y, -u.X};
        // The number's half depth across the pipe and half length along it.
        const long double across = std::fabs(u.X) * width / 2 + std::fabs(u.Y) * height / 2;
        const long double along = std::fabs(d.X) * width / 2 + std::fabs(d.Y) * height / 2;
        const long double symbol = SymbolRadius(support.Kind) * s;
        const long double nearest = std::max<long double>(kPlanLabelMm * s, symbol + across + 2 * gap);

        // A place: the number's middle and, once the number stands farther than kPlanLeaderMm from
        // the symbol's edge, the leader from that edge towards the middle, to where it enters the
        // number's box, half the gap short of it.
        const auto placeAt = [&](long double out, long double shift) {
            LabelPlace place{Mm({support.At.X + u.X * out + d.X * shift, support.At.Y + u.Y * out + d.Y * shift}),
                             std::nullopt};
            const long double dx = static_cast<long double>(place.Centre.X) - support.At.X;
            const long double dy = static_cast<long double>(place.Centre.Y) - support.At.Y;
            const long double apartX = std::max<long double>(std::fabs(dx) - width / 2, 0);
            const long double apartY = std::max<long double>(std::fabs(dy) - height / 2, 0);
            if (std::hypot(apartX, apartY) <= symbol + kPlanLeaderMm * s) {
                return place;
            }
            const long double length = std::hypot(dx, dy);
            const Vec v{dx / length, dy / length};
            const long double inX = v.X == 0 ? length : (width + gap) / 2 / std::fabs(v.X);
            const long double inY = v.Y == 0 ? length : (height + gap) / 2 / std::fabs(v.Y);
            const long double end = length - std::min(inX, inY);
            place.Leader = PlanLine{Mm({support.At.X + v.X * symbol, support.At.Y + v.Y * symbol}),
                                    Mm({support.At.X + v.X * end, support.At.Y + v.Y * end})};
            return place;
        };
        const auto boxAt = [&](PlanPoint c) {
            return PlanBox{{c.X - width / 2 - gap, c.Y - height / 2 - gap}, {c.X + width / 2 + gap, c.Y + height / 2 + gap}};
        };

        // The candidates, nearest first: rows of numbers out from the axis on either side (the
        // preferred side first), each moved along the pipe by half a number's length at a time,
        // so far that the leader stays steeper than 30° to the pipe; a move along the pipe counts
        // twice a move away from it.
        candidates.clear();
        const long double rowStep = 2 * (across + gap);
        const long double shiftStep = along + gap;
        for (int row = 0; row <= kLabelRows; ++row) {
            const long double out = nearest + row * rowStep;
            for (int moved = -kLabelShifts; moved <= kLabelShifts; ++moved) {
                const long double shift = moved * shiftStep;
                if (std::fabs(shift) <= std::numbers::sqrt3_v<long double> * out) {
                    for (const long double side : {1.0L, -1.0L}) {
                        candidates.push_back({static_cast<double>(side * out), static_cast<double>(shift),
                                              static_cast<double>(out + 2 * std::fabs(shift))});
                    }
                }
            }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.Distance < b.Distance; });
        // The first free place whose leader crosses nothing; where the numbers crowd or the route
        // crosses itself, the first whose leader crosses only lines, else the first free place at
        // all; none is looked for twice as far as the first free place.
        std::optional<LabelPlace> place;
        std::optional<LabelPlace> acrossLines;
        std::optional<LabelPlace> acrossNumbers;
        double firstFree = 0;
        for (const Candidate& c : candidates) {
            // Once a free place is found, a cleaner one is looked for up to twice as far only.
            if (acrossNumbers && c.Distance > 2 * firstFree) {
                break;
            }
            LabelPlace candidate = placeAt(c.Out, c.Shift);
            if (!obstacles.BoxFree(boxAt(candidate.Centre))) {
                continue;
            }
            const auto free = [&](bool overLines) {
                return !candidate.Leader ||
                       obstacles.LeaderFree(candidate.Leader->Start, candidate.Leader->End, i, overLines);
            };
            if (free(false)) {
                place = candidate;
                break;
            }
            if (!acrossLines && free(true)) {
                acrossLines = candidate;
            }
            if (!acrossNumbers) {
                acrossNumbers = candidate;
                firstFree = c.Distance;
            }
        }
        if (!place) {
            place = acrossLines ? acrossLines : acrossNumbers;
        }
        // A place so crowded that none is free: the nearest one, over the others.
        if (!place) {
            place = placeAt(nearest, 0);
        }
        obstacles.AddBox(boxAt(place->Centre), i);
        if (place->Leader) {
            obstacles.AddLine(Obstacles::Kind::Leader, place->Leader->Start, place->Leader->End, i);
        }
        number.At = {place->Centre.X, place->Centre.Y - height / 2};
        if (place->Leader) {
            plan.Annotations.push_back({PlanLayer::Texts, *place->Leader});
        }
        plan.Labels.push_back({i, plan.Texts.size(), place->Leader});
        plan.Texts.push_back(std::move(number));
    }
}

}  // namespace

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

    // The supports from the schedule: the symbol along the pipe (at a corner along the bisector);
    // the side its number prefers is away from the dimension (outside the bend at a corner).
    std::vector<Vec> sides;
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
        const Vec n = outside(j);
        if (row.Corner && j + 1 < legs.size()) {
            const LegDirection in = OfQuarter(legs[j].Quarter);
            const LegDirection out = OfQuarter(legs[j + 1].Quarter);
            const bool left = (legs[j + 1].Quarter - legs[j].Quarter + 4) % 4 == 1;
            support.AngleDeg = NormalAngle(90.0 * legs[j].Quarter + (left ? 45 : -45));
            sides.push_back({(in.Cos - out.Cos) / std::numbers::sqrt2_v<long double>,
                             (in.Sin - out.Sin) / std::numbers::sqrt2_v<long double>});
        } else {
            support.AngleDeg = 90.0 * legs[j].Quarter;
            sides.push_back({-n.X, -n.Y});
        }
        plan.Supports.push_back(support);
    }
    PlaceLabels(plan, sides);

    // The extent: the axis, the annotations, the texts and the symbols.
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
        const PlanBox box = TextBox(text);
        Extend(plan, box.Min);
        Extend(plan, box.Max);
    }
    for (const PlanSupport& support : plan.Supports) {
        const double r = SymbolRadius(support.Kind) * plan.Scale;
        Extend(plan, {support.At.X - r, support.At.Y - r});
        Extend(plan, {support.At.X + r, support.At.Y + r});
    }
    return plan;
}

}  // namespace korvelin
