#pragma once

// The route as the chain of its sections and the schedule of its supports.
//
// The sections follow one another in their order: support B of a section is support A of the
// next, and the next section goes on in the direction of the previous one's last leg (the pipe
// runs straight through a fixed support). Each leg of a section is a continuous beam from its
// start to its end (a fixed support or a corner, which carries a sliding support); its supports
// are placed by PlaceSupports (SupportPlacement.h), the one placement the section's own solution
// takes, by the set of rules the designer picks for placing the supports, with the designer's
// edits. Spans are measured along the typed legs (the distances between the intersections of the
// axes).
//
// The loads of a support, for each set of rules:
//  - vertical: the continuous-beam factor of its place × q × its span, the support loads' own
//    rule: an intermediate support of a leg of n spans takes k_i of n spans × q × the mean of its
//    two spans, an end of a leg (a fixed support, a corner) k_e × q × the span next to it from
//    each leg that ends on it;
//  - along the pipe: a sliding support or a guide the friction of the section's solution on it
//    along its leg (the larger of heating and cooling); across the pipe: the wind on its span, by
//    the same factors with w in place of q, and the solution's friction across the leg and a
//    guide's force. The solution is the section's at the same supports (every section solved with
//    the route's placement rules and edits, as RunCompensation solves them); a section solved
//    apart from the route's supports gives none, and its supports take the friction limit μ·V
//    along and the wind alone across;
//  - a fixed support: the force of the pipe on it for heating and for cooling, the vector sum of
//    the reactions of every section that ends on it (the reactions of both sections on a support
//    they share), resolved along and across the pipe; where a set's solution does not yet carry
//    the friction of the sliding supports, the friction of the leg next to the support (μ·q·L) is
//    added along the pipe in magnitude for each section, as the section's own design force adds it.
//
// Plain computation without a user interface.

#include "korvelin/Compensation.h"
#include "korvelin/RouteSpans.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

enum class ScheduleKind { Fixed, Sliding, Guide };

// «неподвижная», «скользящая», «направляющая».
std::string_view ScheduleKindName(ScheduleKind kind);
// "fixed", "sliding", "guide": the key of korvelin-calc's JSON.
std::string_view ScheduleKindKey(ScheduleKind kind);

// What a set of rules gives the schedule: q and w (N/m, as the support loads take them) and the
// governing span of each item of the "Количество пролетов" selector. None: the set has no q.
struct ScheduleRuleLoads {
    double VerticalLoad = 0;  // q
    double WindLoad = 0;      // w
    GoverningSpanOfItem GoverningSpan;
};

struct ScheduleInput {
    std::span<const CompensationResult> Sections;  // in route order
    RuleSet PlacementRules = RuleSet::SP;
    std::optional<ScheduleRuleLoads> SP;
    std::optional<ScheduleRuleLoads> SNiP;
    std::optional<double> Friction;  // μ; none: no friction
    std::vector<SupportEdit> Edits;  // the sections' CompensationInput::Edits
};

// A horizontal force resolved along the pipe and across it, in magnitude (N), and its vector in the
// route's axes (what the pipe exerts on the support).
struct HorizontalForce {
    double Along = 0;
    double Across = 0;
    double X = 0;
    double Y = 0;
};

// A fixed support's forces by one set of rules.
struct FixedSupportForces {
    HorizontalForce Heating;
    HorizontalForce Cooling;
};

// A support's loads by one set of rules, N.
struct ScheduleLoads {
    double Vertical = 0;
    double Along = 0;   // sliding and guide: μ·V; fixed: the larger of heating and cooling
    double Across = 0;  // wind (and a guide's force); fixed: the larger of heating and cooling
    std::optional<FixedSupportForces> Fixed;
};

struct ScheduleRow {
    std::size_t No = 1;  // from 1 in route order
    ScheduleKind Kind = ScheduleKind::Sliding;
    std::size_t Section = 0;  // from 0; a fixed support shared by two sections: the later one
    std::size_t Leg = 0;      // from 0
    double Distance = 0;      // m from the leg's start; a corner: the leg's length
    bool Corner = false;      // a sliding support at a turn
    bool Shared = false;      // a fixed support of two sections
    bool Edited = false;      // moved or turned into a guide by the designer
    double Chainage = 0;      // m from the route's start along the typed legs
    double X = 0;             // m, the route's axes: the first leg along +x
    double Y = 0;
    double SpanBefore = 0;    // m, along the leg to the previous support; 0 at the route's start
    double SpanAfter = 0;     // m, to the next; 0 at the route's end
    std::optional<ScheduleLoads> SP;
    std::optional<ScheduleLoads> SNiP;

    const std::optional<ScheduleLoads>& Of(RuleSet rules) const
    {
        return rules == RuleSet::SP ? SP : SNiP;
    }
};

// The totals of one type: how many and the sum of each load by each set of rules.
struct ScheduleTotal {
    ScheduleKind Kind = ScheduleKind::Sliding;
    std::size_t Count = 0;
    std::array<double, 2> Vertical{};  // SP, SNiP
    std::array<double, 2> Along{};
    std::array<double, 2> Across{};
};

// Each beam's division by the placement rules (a leg, or two legs whose corner support the
// designer removed), as its section's placement found it.
struct LegDivision : BeamDivision {
    std::size_t Section = 0;
};

struct RouteSchedule {
    RuleSet PlacementRules = RuleSet::SP;
    std::optional<double> Friction;
    double Length = 0;  // m, along the typed legs
    std::vector<ScheduleRow> Rows;
    std::vector<LegDivision> Legs;
    std::array<ScheduleTotal, 3> Totals{};  // fixed, sliding, guide
    // Spans the designer's edits made longer than the governing span, in Russian.
    std::vector<std::string> Warnings;
};

struct ScheduleOutcome {
    std::optional<RouteSchedule> Schedule;
    std::string Message;  // Russian, when refused
    bool Ok() const { return Schedule.has_value(); }
};

// The schedule of the route. Refused with a message: no sections; no q of the placement rules; a
// leg whose division reaches an item without a governing span; an edit of a support that is not
// there, a move off its leg or onto another support, a guide on a turn.
ScheduleOutcome BuildRouteSchedule(const ScheduleInput& input);

// The schedule of a completed span calculation's sections: q and w of each set from its loads, the
// governing span of each item recomputed from its input (GoverningSpansByItem), μ, the placement
// rules and the edits as given. Refused as BuildRouteSchedule refuses, and a run that did not
// complete.
struct RouteScheduleRequest {
    RuleSet PlacementRules = RuleSet::SP;
    std::optional<double> Friction;
    std::vector<SupportEdit> Edits;
};
ScheduleOutcome ScheduleOfRun(const CalculationOutcome& outcome,
                              std::span<const CompensationResult> sections,
                              const RouteScheduleRequest& request, std::string_view decimalSeparator);

// The rule by which a fixed support of two sections takes their forces, one Russian sentence for
// the note and the window.
std::string_view SharedFixedSupportRule();

// The columns of the schedule; the CSV writes them all, the printed tables take some of them.
// Loads in N; the horizontal ones of a fixed support are the larger of heating and cooling, its
// forces in each case in columns of their own (empty for the other supports).
enum class ScheduleColumn {
    No,
    Kind,
    Section,
    Leg,
    Chainage,
    X,
    Y,
    VerticalSP,
    VerticalSNiP,
    AlongSP,
    AlongSNiP,
    AcrossSP,
    AcrossSNiP,
    HeatingAlongSP,
    HeatingAcrossSP,
    CoolingAlongSP,
    CoolingAcrossSP,
    HeatingAlongSNiP,
    HeatingAcrossSNiP,
    CoolingAlongSNiP,
    CoolingAcrossSNiP,
};
inline constexpr std::size_t kScheduleColumns = 21;

inline constexpr std::string_view kScheduleTitle = "Ведомость опор";

// The column's header, lines broken with "\n": "Пикетаж,\nм".
std::string_view ScheduleHeader(ScheduleColumn column);
// The row's cell: numbers "0.000" with the separator; the leg from 1, a corner's "1–2"; empty
// where the row has no such value.
std::string ScheduleCell(const ScheduleRow& row, ScheduleColumn column,
                         std::string_view decimalSeparator);
// What heads the schedule, a sentence each: the rules that placed the supports and how, μ, the
// loads' rules, the rule of a shared fixed support.
std::vector<std::string> ScheduleDescription(const RouteSchedule& schedule,
                                             std::string_view decimalSeparator);
// The rows of the totals by type: the type, the count, the sums of V by SP and SNiP, of the
// horizontal loads along and across by SP and SNiP.
std::vector<std::vector<std::string>> ScheduleTotalCells(const RouteSchedule& schedule,
                                                         std::string_view decimalSeparator);
std::span<const std::string_view> ScheduleTotalHeaders();

// The schedule for spreadsheets: the preamble of the span table's CSV (the title and the
// description), every column, one line a support, then the totals by type and the warnings.
std::string ScheduleCsv(const RouteSchedule& schedule, std::string_view decimalSeparator);

}  // namespace korvelin
