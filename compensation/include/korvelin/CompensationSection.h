#pragma once

// A section of the pipeline between two fixed supports: a plane polyline of straight legs with
// 90° turns between them, in plan or in one vertical plane. Support A stands at the start of the
// first leg, at (0, 0); the first leg runs along +x; a left turn turns the direction by +90°
// (counterclockwise), a right turn by −90°. Support B stands at the end of the last leg.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

enum class TurnSide { Left, Right };

// "Л" or "П": the letter the route text and the window write for a turn.
std::string_view TurnLetter(TurnSide side);

// A guide: a lateral restraint of the pipe, free along it and in rotation, standing on a leg.
struct GuidePlace {
    std::size_t Leg = 0;  // the leg, from 0
    double Distance = 0;  // m, from the leg's start (the intersection of the axes)

    bool operator==(const GuidePlace&) const = default;
};

struct CompensationSection {
    std::string Name;          // "Участок 1", as the user names it
    std::vector<double> Legs;  // lengths, m, in order from support A
    std::vector<TurnSide> Turns;  // the turn after each leg but the last: Legs.size() − 1 of them
    // The radius of every bend's axis, m; 0: sharp corners. The legs stay the distances between
    // the intersections of the axes; a bend is a circular arc tangent to both legs.
    double BendRadius = 0;
    // The step of the sliding supports along the legs, m; none: the governing span.
    std::optional<double> SupportStep;
    std::vector<GuidePlace> Guides;  // in the order typed

    bool operator==(const CompensationSection&) const = default;
};

// The limits of a section: they keep a typing slip from making a section of kilometres or of
// thousands of legs; they are not values of a standard.
inline constexpr double kMaxLegLength = 10'000;      // m
inline constexpr std::size_t kMaxSectionLegs = 100;
inline constexpr double kMaxBendRadius = 100'000;  // mm
inline constexpr double kMaxSupportStep = 1'000;   // m

// The usual shapes. Lengths in m; `side` is the side to which the section turns first.
// A straight run: one leg.
CompensationSection StraightSection(double length);
// Г: two legs with one turn.
CompensationSection LShapedSection(double first, double second, TurnSide side);
// Z: three legs, the second turn opposite to the first, so that the last leg runs parallel to the
// first.
CompensationSection ZShapedSection(double first, double middle, double last, TurnSide side);
// П-compensator between two straight legs: the leg `before`, the compensator's reach H out to
// `side`, its width B, the reach H back, the leg `after`; five legs, turns side, opposite,
// opposite, side. Support B then stands on the line of support A at before + B + after.
CompensationSection UCompensatorSection(double before, double reach, double width, double after,
                                        TurnSide side);

// Why a section, a temperature or a check value is refused; every refusal also has a Russian
// sentence that names the value (CompensationRefusalMessage fills it in).
enum class CompensationRefusal {
    None,
    NoLegs,                 // nothing typed
    LengthNotANumber,       // a leg's length unreadable
    LengthNotPositive,      // a leg of zero or negative length
    LengthTooLarge,         // a leg above kMaxLegLength
    TooManyLegs,            // more than kMaxSectionLegs legs
    BadTurn,                // a turn word other than Л/П/L/R
    MissingTurn,            // two lengths with no turn between them
    EndsInTurn,             // a turn after the last leg
    EndAtStart,             // support B would stand on support A
    TemperatureMissing,     // t_з, t_min or t_max not given
    TemperatureNotANumber,
    TemperatureOutOfRange,  // outside kMinWallTemperature … kMaxWallTemperature
    MinAboveMax,            // t_min > t_max
    AllowableNotANumber,    // [σ]к
    AllowableNotPositive,
    AllowableTooLarge,
    ShoeNotANumber,         // the shoe's length
    ShoeNotPositive,
    ShoeTooLarge,
    PipeInvalid,            // D ≤ 0, t ≤ 0 or t ≥ D/2
    ClosingOutsideRange,    // t_з below t_min or above t_max
    RadiusNotANumber,       // the bend radius
    RadiusNegative,
    RadiusTooLarge,
    RadiusDoesNotFit,       // a leg shorter than the tangent lengths of its bends
    StepNotANumber,         // the step of the sliding supports
    StepNotPositive,
    StepTooLarge,
    GuideUnreadable,        // a guide not written "LEG:S"
    GuideNoSuchLeg,         // a guide's leg number outside 1…the number of legs
    GuideOffLeg,            // a guide's distance not inside its leg
    GuideOnBend,            // a guide on the arc of a bend
};

// A section read from the route text or from the rows of the window's table.
struct SectionReading {
    std::optional<CompensationSection> Section;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;  // Russian, naming the section, the leg and the text typed; empty when read
    bool Ok() const { return Section.has_value(); }
};

// Reads a route such as "20 Л 8 П 15": lengths in metres (decimal comma or full stop) and the
// turns Л/П (L/R, either case) between them, separated by blanks or written together ("20Л8П15").
// Refuses an empty text, an unreadable, zero, negative or too long leg, a turn word other than
// Л/П/L/R, two lengths without a turn, a route that ends in a turn, too many legs and a route
// whose end comes back to its start. `name` goes into the section and into the messages.
SectionReading ParseSectionRoute(std::string_view route, std::string_view decimalSeparator,
                                 std::string_view name = {});

// Checks a section that was built, not read (a preset, a file's values): every leg positive and at
// most kMaxLegLength, one turn fewer than legs, at most kMaxSectionLegs legs, the end not on the
// start; the bend radius not negative and fitting every leg (a leg not shorter than the tangent
// lengths R of its bends), the step above zero, every guide inside its leg and off the bends. The
// refusals and messages are those of the readers.
SectionReading CheckSection(CompensationSection section);

// The route text of a section: "20 Л 8 П 15", lengths in the general number format with the
// separator. ParseSectionRoute reads it back to the same section.
std::string SectionRouteText(const CompensationSection& section, std::string_view decimalSeparator);

// One row of the window's table of legs: the length as typed (m) and the turn after it ("Л",
// "П", or empty for the last leg).
struct SectionLegTexts {
    std::string Length;
    std::string Turn;

    bool operator==(const SectionLegTexts&) const = default;
};

// A section as the window and the input-set file keep it: its name and its rows as typed.
struct SectionTexts {
    std::string Name;
    std::vector<SectionLegTexts> Legs;
    std::string BendRadius;   // mm as typed; empty: sharp corners (a file saved without radii)
    std::string SupportStep;  // m as typed; empty: the governing span
    std::string Guides;       // "LEG:S; LEG:S": leg from 1, distance in m from the leg's start

    bool operator==(const SectionTexts&) const = default;
};

// Reads the rows by the same rules as the route text (each row's length, then its turn, which
// must be empty on the last row only), then the bend radius (mm; blank: sharp corners), the step
// (m; blank: none) and the guides ("2:4; 5:1,5", leg from 1, metres; blank: none), refused as
// CheckSection refuses them, each message naming the text typed.
// The tangent length of a 90° bend of radius R is R.
SectionReading ReadSectionTexts(const SectionTexts& texts, std::string_view decimalSeparator);
// The rows of a section (lengths in the general number format with the separator), its radius
// (mm, empty when sharp), its step and its guides.
SectionTexts SectionToTexts(const CompensationSection& section, std::string_view decimalSeparator);

// Corners of the polyline, m: support A, every corner in order, support B (Legs.size() + 1).
struct SectionPoint {
    double X = 0;
    double Y = 0;

    bool operator==(const SectionPoint&) const = default;
};
std::vector<SectionPoint> SectionNodes(const CompensationSection& section);

// The direction of each leg, (cos φ, sin φ), each −1, 0 or 1.
struct LegDirection {
    int Cos = 1;
    int Sin = 0;

    bool operator==(const LegDirection&) const = default;
};
std::vector<LegDirection> SectionDirections(const CompensationSection& section);

// The guides' text "2:4; 5:1,5" of a section's guides (legs from 1).
std::string GuidesText(const std::vector<GuidePlace>& guides, std::string_view decimalSeparator);

}  // namespace korvelin
