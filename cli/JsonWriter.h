#pragma once

#include "korvelin/Compensation.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/RouteSchedule.h"
#include "korvelin/RunCalculation.h"

#include <optional>
#include <string>

namespace korvelin::cli {

// The outcome as one line of compact JSON: outcome, message, the six spans, the loads, the
// moment of inertia and the report lines. Absent values are null; bytes of a text that are not
// valid UTF-8 become U+FFFD. "summary" holds the design summary of a completed run (null
// otherwise): the governing span of each set of rules with its criterion (or the reason there is
// none), the check of a chosen span and the supports of a route when they were asked for.
//
// With sections asked for, the array "compensation" follows, one object per section: "heating"
// and "cooling", each {"dt_C", "elongation_mm", "support_a": {"Fx_N", "Fy_N", "M_Nm"},
// "support_b": {…}, "nodes": [{"x_m", "y_m", "ux_mm", "uy_mm"}…] (support A, the corners, support
// B), "legs": [{"N_N", "M_start_Nm", "M_end_Nm"}…], "max_moment_Nm", "max_stress_MPa"}; then
// "friction": {"sp": {"a_N", "b_N"}, "snip": {…}}, "design": {"sp": {"heating": {"a": {"along_N",
// "across_N"}, "b": {…}}, "cooling": {…}}, "snip": {…}} (a set without μ or q: null) and
// "checks": {"stress": {"allowable_MPa", "stress_MPa", "passes"}, "movement": {"half_shoe_mm",
// "movement_mm", "passes"}} (each null when its value was not given). Null in place of the array
// when the run gave no pipe to compute them with.
//
// With the sections, the schedule of the route's supports follows: "schedule_rules" ("sp" or
// "snip", the set that placed them) and "schedule": [{"no", "kind": "fixed"|"sliding"|"guide",
// "section", "leg" (both from 1; a shared fixed support: the later section; a corner's support:
// the leg before the turn), "corner", "shared", "edited", "chainage_m", "x_m", "y_m",
// "vertical_sp_N", "vertical_snip_N", "horizontal_along_N", "horizontal_across_N" (the larger of
// both sets), "horizontal": {"sp": {"along_N", "across_N"}, "snip": {…}}, "fixed": {"sp":
// {"heating": {"along_N", "across_N", "Fx_N", "Fy_N"}, "cooling": {…}}, "snip": {…}} (null for
// the other supports)}…], "schedule_totals": [{"kind", "count", "vertical_sp_N",
// "vertical_snip_N", "along_sp_N", "along_snip_N", "across_sp_N", "across_snip_N"}…] and
// "schedule_warnings"; null in place of each when there is no schedule.
struct CompensationJson {
    bool Asked = false;
    const std::vector<CompensationResult>* Results = nullptr;
    const RouteSchedule* Schedule = nullptr;
};
std::string OutcomeJson(const CalculationOutcome& outcome,
                        const std::optional<DesignSummary>& summary = std::nullopt,
                        const CompensationJson& compensation = {});

// A batch line that could not be read, as one line of compact JSON like OutcomeJson's: outcome
// "invalid" and the reason as the message.
std::string InvalidLineJson(const std::string& reason);

}  // namespace korvelin::cli
