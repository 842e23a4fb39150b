#pragma once

// The drawing of the route in plan as one description of its geometry, from which the note's
// figure, the window and the DXF file are all made: the pipe's axis as straight pieces and the
// bends' arcs, each support's symbol and number, the lengths of the legs as dimensions.
//
// Everything is in the route's axes (the first leg along +x, y to the left of it) in millimetres
// of the real route; the symbols, the texts and the offsets of the dimensions are drawn at a scale
// 1:Scale, so that on the sheet they have their paper sizes. The scale is the smallest of the
// usual reductions for plans (1:50 … 1:10000) at which the route fits the sheet's width.
//
// Plain computation without a user interface.

#include "korvelin/RouteSchedule.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvelin {

struct PlanPoint {
    double X = 0;  // mm
    double Y = 0;  // mm
};

struct PlanLine {
    PlanPoint Start;
    PlanPoint End;
};

// A circular arc drawn counter-clockwise from StartAngle to EndAngle, degrees from +x.
struct PlanArc {
    PlanPoint Centre;
    double Radius = 0;  // mm
    double StartAngle = 0;
    double EndAngle = 0;
};

using PlanStroke = std::variant<PlanLine, PlanArc>;

// What a piece of the drawing shows; each goes on a layer of its own in the DXF.
enum class PlanLayer { Axis, Supports, Dimensions, Texts };

struct PlanShape {
    PlanLayer Layer = PlanLayer::Axis;
    PlanStroke Stroke;
};

enum class PlanTextAnchor { Left, Center };

// One line of text: its base line passes through At (its left end or its middle), turned
// counter-clockwise by AngleDeg.
struct PlanText {
    PlanPoint At;
    std::string Value;
    double Height = 0;  // mm of the route: 2.5 mm on the sheet × Scale
    double AngleDeg = 0;
    PlanTextAnchor Anchor = PlanTextAnchor::Center;
};

// A support as placed: its symbol drawn around At, the symbol's x along the pipe (AngleDeg).
struct PlanSupport {
    std::size_t No = 1;  // the schedule's number
    ScheduleKind Kind = ScheduleKind::Sliding;
    PlanPoint At;
    double AngleDeg = 0;
};

// A leg's length between the intersections of the axes, drawn beside the leg.
struct PlanDimension {
    std::size_t Section = 0;  // from 0
    std::size_t Leg = 0;      // from 0
    PlanPoint From;           // the intersections of the axes at the leg's ends
    PlanPoint To;
    double Length = 0;        // m, as typed
};

// A support's number as placed: its text among the plan's Texts and, when the number had to stand
// away from its support, the leader line from the support's symbol to the number (drawn among the
// Annotations, on the layer of the texts).
struct PlanLabel {
    std::size_t Support = 0;  // in Supports
    std::size_t Text = 0;     // in Texts
    std::optional<PlanLine> Leader;
};

struct RoutePlan {
    double Scale = 100;           // the drawing's scale 1:Scale
    std::vector<PlanShape> Axis;  // the axis in route order: straight pieces and the bends' arcs
    double AxisLength = 0;        // mm, the straight pieces and the arcs together
    std::vector<PlanSupport> Supports;
    std::vector<PlanDimension> Dimensions;
    // The dimension lines with their extension lines and ticks, the supports' numbers and the
    // dimensions' texts, all placed.
    std::vector<PlanShape> Annotations;
    std::vector<PlanText> Texts;
    std::vector<PlanLabel> Labels;  // one a support, in the order of Supports
    PlanPoint Min;  // the drawing's extent, annotations included
    PlanPoint Max;
};

// The symbol of a support of a kind on the sheet, mm around its point, x along the pipe: a fixed
// support a square with both diagonals across the pipe, a sliding support a bar across the pipe,
// a guide the bar with two rails along the pipe on either side of it. The symbols are the
// program's own: no standard symbol of these supports in plan was found to follow.
std::vector<PlanLine> SupportSymbol(ScheduleKind kind);
// The three kinds in the order of the schedule's totals, and a symbol's name as the DXF's block.
std::span<const ScheduleKind> SupportKinds();
std::string_view SupportBlockName(ScheduleKind kind);

inline constexpr double kPlanTextMm = 2.5;        // the height of the texts on the sheet
inline constexpr double kPlanDimensionMm = 10;    // the dimension line's distance from the axis
inline constexpr double kPlanLabelMm = 4;         // a support's number from its point
inline constexpr double kPlanLeaderMm = 2;        // the shortest leader: a number nearer needs none
// The room a text takes: a character kPlanCharWidth of the text's height wide (the digits of the
// sans fonts of the window, the note and the CAD programs are narrower), and the clear gap on the
// sheet a support's number keeps from every other line, text and symbol.
inline constexpr double kPlanCharWidth = 0.9;
inline constexpr double kPlanLabelGapMm = 0.5;

// The box a text takes in the route's axes, its characters kPlanCharWidth of its height wide.
struct PlanBox {
    PlanPoint Min;
    PlanPoint Max;
};
PlanBox TextBox(const PlanText& text);

// The reduction at which `extentMm` of the route fits `sheetWidthMm`: the smallest of 1:50, 1:100,
// 1:200, 1:500, 1:1000, 1:2000, 1:5000, 1:10000 that fits, the last when none does.
double PlanScale(double extentMm, double sheetWidthMm);

// The plan of the route of `sections` whose supports `schedule` placed (BuildRouteSchedule of the
// same sections), drawn to fit `sheetWidthMm`; the dimensions' numbers in m with the separator.
// Each support's number stands at the first free place beside its support: on the side away from
// the dimension (outside the bend at a corner) at the nearest offset, then on the other side, then
// on either side at growing offsets with a leader; a place is free when the number's box, with
// its gap, meets no other number, text, symbol or line of the drawing and its leader crosses no
// number, text or other symbol.
RoutePlan BuildRoutePlan(std::span<const CompensationResult> sections, const RouteSchedule& schedule,
                         double sheetWidthMm, std::string_view decimalSeparator);

}  // namespace korvelin
