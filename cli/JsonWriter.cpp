#include "JsonWriter.h"

#include "OutcomeText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

namespace korvelin::cli {
namespace {

// Members keep the order in which they are written, so the output reads like the window.
using Json = nlohmann::ordered_json;

Json Number(std::optional<double> value)
{
    if (!value || !std::isfinite(*value)) {
        return nullptr;
    }
    return *value;
}

template <std::size_t N>
Json Object(const std::pair<std::string_view, std::optional<double>> (&members)[N])
{
    Json object = Json::object();
    for (const auto& [key, value] : members) {
        object[std::string(key)] = Number(value);
    }
    return object;
}

std::string_view CriterionKey(Criterion criterion)
{
    return SpanColumns()[static_cast<std::size_t>(criterion)].Key;
}

Json Supports(const std::optional<RouteSupports>& route)
{
    if (!route) {
        return nullptr;
    }
    Json json = Json::object();
    json["span"] = route->Span;
    json["spans"] = route->Spans;
    json["intermediate_supports"] = route->IntermediateSupports;
    json["spacing"] = route->Spacing;
    return json;
}

// The supports of a set of rules: the route's count at the span (when a route was given), then the
// loads on the supports at the span.
Json SupportsJson(const std::optional<SupportLoads>& loads, const std::optional<RouteSupports>& route,
                  bool withRoute = true)
{
    if (!loads) {
        return withRoute ? Supports(route) : Json(nullptr);
    }
    Json json = Json::object();
    json["span"] = loads->Span;
    if (withRoute) {
        json["spans"] = route ? Json(route->Spans) : Json(nullptr);
        json["intermediate_supports"] = route ? Json(route->IntermediateSupports) : Json(nullptr);
        json["spacing"] = route ? Json(route->Spacing) : Json(nullptr);
    }
    const BeamFactors& k = loads->Factors;
    json["spans_in_beam"] = k.Spans == 0 ? Json(">6") : Json(k.Spans);
    json["k_intermediate"] = Number(k.Intermediate);
    json["k_end"] = k.End;
    json["vertical_intermediate_N"] = Number(loads->VerticalIntermediate);
    json["vertical_end_N"] = loads->VerticalEnd;
    json["wind_intermediate_N"] = Number(loads->WindIntermediate);
    json["wind_end_N"] = loads->WindEnd;
    json["friction"] = Number(loads->Friction);
    json["friction_intermediate_N"] = Number(loads->FrictionIntermediate);
    json["friction_end_N"] = Number(loads->FrictionEnd);
    return json;
}

Json SummaryJson(const DesignSummary& summary)
{
    Json json = Json::object();
    Json governing = Json::object();
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const GoverningSpan& g = summary.Of(rules).Governing;
        Json set = Json::object();
        set["span"] = Number(g.Span);
        set["criterion"] = std::string(CriterionKey(g.Which));
        set["reason"] = g.Span ? Json(nullptr) : Json(g.Reason);
        governing[rules == RuleSet::SP ? "sp" : "snip"] = std::move(set);
    }
    json["governing"] = std::move(governing);
    json["chosen_span"] = Number(summary.ChosenSpan);
    Json check = nullptr;
    if (summary.ChosenSpan) {
        check = Json::object();
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const RuleSetCheck& c = *summary.Of(rules).Check;
            Json criteria = Json::array();
            for (const CriterionCheck& item : c.Criteria) {
                Json entry = Json::object();
                entry["criterion"] = std::string(CriterionKey(item.Which));
                entry["span"] = item.PermissibleSpan;
                entry["percent"] = item.PermissibleSpan > 0 ? Json(item.Percent) : Json(nullptr);
                entry["passes"] = item.Passes;
                criteria.push_back(std::move(entry));
            }
            Json set = Json::object();
            set["passes"] = c.Passes;
            set["criteria"] = std::move(criteria);
            check[rules == RuleSet::SP ? "sp" : "snip"] = std::move(set);
        }
    }
    json["check"] = std::move(check);
    json["route_length"] = Number(summary.RouteLength);
    Json supports = Json::object();
    // With a route, the loads of the route's beam: its span and the factors of its count.
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const RuleSetSummary& set = summary.Of(rules);
        supports[rules == RuleSet::SP ? "sp" : "snip"] =
            SupportsJson(set.RouteLoads ? set.RouteLoads : set.Supports, set.Route);
    }
    supports["chosen"] = Supports(summary.ChosenRoute);
    json["supports"] = std::move(supports);
    Json chosen = nullptr;
    if (summary.ChosenSpan) {
        chosen = Json::object();
        chosen["sp"] = SupportsJson(summary.SP.ChosenSupports, std::nullopt, false);
        chosen["snip"] = SupportsJson(summary.SNiP.ChosenSupports, std::nullopt, false);
    }
    json["supports_chosen"] = std::move(chosen);
    return json;
}

Json ReactionJson(const SupportReaction& reaction)
{
    Json json = Json::object();
    json["Fx_N"] = reaction.Fx;
    json["Fy_N"] = reaction.Fy;
    json["M_Nm"] = reaction.M;
    return json;
}

Json CaseJson(const CompensationCase& c)
{
    Json json = Json::object();
    json["dt_C"] = c.TemperatureChange;
    json["elongation_mm"] = c.FreeElongation;
    json["support_a"] = ReactionJson(c.A);
    json["support_b"] = ReactionJson(c.B);
    Json nodes = Json::array();
    for (const NodeMovement& node : c.Nodes) {
        Json entry = Json::object();
        entry["x_m"] = node.X;
        entry["y_m"] = node.Y;
        entry["ux_mm"] = node.Ux;
        entry["uy_mm"] = node.Uy;
        nodes.push_back(std::move(entry));
    }
    json["nodes"] = std::move(nodes);
    Json legs = Json::array();
    for (const LegForces& leg : c.Legs) {
        Json entry = Json::object();
        entry["N_N"] = leg.N;
        entry["M_start_Nm"] = leg.MStart;
        entry["M_end_Nm"] = leg.MEnd;
        legs.push_back(std::move(entry));
    }
    json["legs"] = std::move(legs);
    json["max_moment_Nm"] = c.MaxMoment;
    // Over the straight pipe and the bends, at a bend with its intensification i.
    json["max_stress_MPa"] = c.MaxStress;
    json["max_straight_stress_MPa"] = c.MaxStraightStress;
    json["max_bend_stress_MPa"] = c.MaxBendStress;
    // Legs from 1; a guide's force is what it exerts on the pipe across its leg (along the leg's
    // left normal), the friction what a support exerts on the pipe, in the section's axes.
    Json guides = Json::array();
    for (const GuideForce& guide : c.Guides) {
        guides.push_back(Json{{"leg", guide.Leg + 1}, {"s_m", guide.Distance}, {"force_N", guide.Force}});
    }
    json["guides"] = std::move(guides);
    Json supports = Json::array();
    for (const SupportForces& support : c.Supports) {
        Json entry = Json::object();
        entry["leg"] = support.Place.Leg + 1;
        entry["s_m"] = support.Place.Distance;
        entry["kind"] = support.Place.Kind == SupportKind::Guide ? "guide" : "sliding";
        entry["x_m"] = support.Place.X;
        entry["y_m"] = support.Place.Y;
        entry["vertical_N"] = support.Place.VerticalLoad;
        entry["ux_mm"] = support.Ux;
        entry["uy_mm"] = support.Uy;
        entry["friction_N"] = Json::array({support.FrictionX, support.FrictionY});
        entry["slides"] = support.Slides;
        supports.push_back(std::move(entry));
    }
    json["supports"] = std::move(supports);
    json["sliding_supports"] = c.SlidingSupports;
    json["sticking_supports"] = c.StickingSupports;
    json["friction_steps"] = c.FrictionSteps;
    Json buckling = Json::array();
    for (const BucklingRow& row : c.Buckling) {
        buckling.push_back(Json{{"leg", row.Leg + 1},
                                {"N_N", row.Compression},
                                {"Ncr_N", row.Critical},
                                {"ratio", row.Ratio},
                                {"L_vertical_m", row.VerticalLength},
                                {"L_horizontal_m", row.HorizontalLength},
                                {"Ncr_vertical_N", row.CriticalVertical},
                                {"Ncr_horizontal_N", row.CriticalHorizontal}});
    }
    json["buckling"] = std::move(buckling);
    json["stress_parts_MPa"] = Json{{"pressure", c.Stress.Pressure},
                                    {"weight", c.Stress.Weight},
                                    {"temperature", c.Stress.Temperature},
                                    {"total", c.Stress.Total}};
    return json;
}

Json DesignForceJson(const DesignForce& force)
{
    Json json = Json::object();
    json["along_N"] = force.Along;
    json["across_N"] = force.Across;
    return json;
}

Json SectionJson(const CompensationResult& result)
{
    Json json = Json::object();
    json["bend"] = Json{{"R_mm", static_cast<double>(static_cast<long double>(result.Bend.Radius) * 1000)},
                        {"lambda", result.Bend.Lambda},
                        {"K", result.Bend.Flexibility},
                        {"i", result.Bend.Intensification}};
    json["support_step_m"] = result.SupportStep;
    json["friction_method"] = result.FrictionMethod;
    json["heating"] = CaseJson(result.Heating);
    json["cooling"] = CaseJson(result.Cooling);
    Json friction = Json::object();
    Json design = Json::object();
    for (const auto& [key, set] : {std::pair{"sp", &result.SP}, std::pair{"snip", &result.SNiP}}) {
        if (!*set) {
            friction[key] = nullptr;
            design[key] = nullptr;
            continue;
        }
        const RuleSetCompensation& s = **set;
        friction[key] = Json{{"a_N", s.SupportsFriction.A}, {"b_N", s.SupportsFriction.B}};
        Json cases = Json::object();
        for (const auto& [name, forces] : {std::pair{"heating", &s.Heating}, std::pair{"cooling", &s.Cooling}}) {
            cases[name] = Json{{"a", DesignForceJson(forces->A)}, {"b", DesignForceJson(forces->B)}};
        }
        design[key] = std::move(cases);
    }
    json["friction"] = std::move(friction);
    json["design"] = std::move(design);
    Json checks = Json::object();
    checks["stress"] = result.Stress ? Json{{"allowable_MPa", result.Stress->Allowable},
                                            {"stress_MPa", result.Stress->Stress},
                                            {"passes", result.Stress->Passes}}
                                     : Json(nullptr);
    checks["movement"] = result.Movement ? Json{{"half_shoe_mm", result.Movement->HalfShoe},
                                                {"movement_mm", result.Movement->Movement},
                                                {"passes", result.Movement->Passes}}
                                         : Json(nullptr);
    json["checks"] = std::move(checks);
    return json;
}

Json ScheduleRowJson(const ScheduleRow& row)
{
    Json json = Json::object();
    json["no"] = row.No;
    json["kind"] = std::string(ScheduleKindKey(row.Kind));
    json["section"] = row.Section + 1;
    json["leg"] = row.Leg + 1;
    json["corner"] = row.Corner;
    json["shared"] = row.Shared;
    json["edited"] = row.Edited;
    json["chainage_m"] = Number(row.Chainage);
    json["x_m"] = Number(row.X);
    json["y_m"] = Number(row.Y);
    const auto of = [&row](RuleSet rules, double ScheduleLoads::*field) -> std::optional<double> {
        const std::optional<ScheduleLoads>& loads = row.Of(rules);
        return loads ? std::optional<double>((*loads).*field) : std::nullopt;
    };
    json["vertical_sp_N"] = Number(of(RuleSet::SP, &ScheduleLoads::Vertical));
    json["vertical_snip_N"] = Number(of(RuleSet::SNiP, &ScheduleLoads::Vertical));
    const auto larger = [&](double ScheduleLoads::*field) -> std::optional<double> {
        const std::optional<double> sp = of(RuleSet::SP, field);
        const std::optional<double> snip = of(RuleSet::SNiP, field);
        if (sp && snip) {
            return std::max(*sp, *snip);
        }
        return sp ? sp : snip;
    };
    json["horizontal_along_N"] = Number(larger(&ScheduleLoads::Along));
    json["horizontal_across_N"] = Number(larger(&ScheduleLoads::Across));
    Json horizontal = Json::object();
    Json fixed = Json::object();
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const std::string key = rules == RuleSet::SP ? "sp" : "snip";
        const std::optional<ScheduleLoads>& loads = row.Of(rules);
        if (!loads) {
            horizontal[key] = nullptr;
            fixed[key] = nullptr;
            continue;
        }
        horizontal[key] = Json{{"along_N", Number(loads->Along)}, {"across_N", Number(loads->Across)}};
        if (loads->Fixed) {
            Json cases = Json::object();
            for (const bool heating : {true, false}) {
                const HorizontalForce& f = heating ? loads->Fixed->Heating : loads->Fixed->Cooling;
                cases[heating ? "heating" : "cooling"] =
                    Json{{"along_N", Number(f.Along)}, {"across_N", Number(f.Across)},
                         {"Fx_N", Number(f.X)}, {"Fy_N", Number(f.Y)}};
            }
            fixed[key] = std::move(cases);
        }
    }
    json["horizontal"] = std::move(horizontal);
    json["fixed"] = row.Kind == ScheduleKind::Fixed ? std::move(fixed) : Json(nullptr);
    return json;
}

}  // namespace

std::string OutcomeJson(const CalculationOutcome& outcome,
                        const std::optional<DesignSummary>& summary,
                        const CompensationJson& compensation)
{
    const SpanResults& s = outcome.Spans;
    const std::pair<std::string_view, std::optional<double>> spans[] = {
        {"StaticSpanSP", s.StaticSpanSP},         {"DynamicSpanSP", s.DynamicSpanSP},
        {"CondensateSpanSP", s.CondensateSpanSP}, {"DeflectionSpanSP", s.DeflectionSpanSP},
        {"StaticSpanSNiP", s.StaticSpanSNiP},     {"DeflectionSpanSNiP", s.DeflectionSpanSNiP},
    };
    const LoadSummary& l = outcome.Loads;
    const std::pair<std::string_view, std::optional<double>> loads[] = {
        {"PipeWeight", l.PipeWeight},
        {"GasWeightSP", l.GasWeightSP},
        {"GasWeightSNiP", l.GasWeightSNiP},
        {"SnowLoadSP", l.SnowLoadSP},
        {"SnowLoadSNiP", l.SnowLoadSNiP},
        {"IceLoad", l.IceLoad},
        {"WindLoad", l.WindLoad},
        {"VerticalLoadSP", l.VerticalLoadSP},
        {"TotalLoadSP", l.TotalLoadSP},
        {"TotalLoadSNiP", l.TotalLoadSNiP},
        {"AllowableStressSP", l.AllowableStressSP},
        {"AllowableStressSNiP", l.AllowableStressSNiP},
    };
    Json report = Json::array();
    for (const std::string_view line : outcome.Report) {
        report.push_back(std::string(line));
    }

    Json json = Json::object();
    json["outcome"] = std::string(OutcomeName(outcome.Kind));
    json["message"] = outcome.Message;
    json["spans"] = Object(spans);
    json["loads"] = Object(loads);
    json["MomentOfInertia"] = Number(outcome.MomentOfInertia);
    json["report"] = std::move(report);
    // The normative values the loads were computed with, and which of them are the site's own.
    const NormativeValues& n = outcome.Normative;
    const std::pair<std::string_view, std::optional<double>> values[] = {
        {"snow_weight", n.SnowWeight}, {"wind_pressure", n.WindPressure}, {"ice_thickness", n.IceThickness}};
    Json normative = Object(values);
    Json own = Json::array();
    if (outcome.Input) {
        for (const auto& [key, value] : {std::pair{"snow_weight", outcome.Input->Own.SnowWeight},
                                         std::pair{"wind_pressure", outcome.Input->Own.WindPressure},
                                         std::pair{"ice_thickness", outcome.Input->Own.IceThickness}}) {
            if (value) {
                own.push_back(key);
            }
        }
    }
    normative["own"] = std::move(own);
    json["normative"] = std::move(normative);
    json["summary"] = summary ? SummaryJson(*summary) : Json(nullptr);
    if (compensation.Asked) {
        Json sections = nullptr;
        if (compensation.Results != nullptr) {
            sections = Json::array();
            for (const CompensationResult& result : *compensation.Results) {
                sections.push_back(SectionJson(result));
            }
        }
        json["compensation"] = std::move(sections);
        Json rows = nullptr;
        Json totals = nullptr;
        Json warnings = nullptr;
        Json rules = nullptr;
        if (const RouteSchedule* schedule = compensation.Schedule) {
            rules = std::string(PlacementRulesKey(schedule->PlacementRules));
            rows = Json::array();
            for (const ScheduleRow& row : schedule->Rows) {
                rows.push_back(ScheduleRowJson(row));
            }
            totals = Json::array();
            for (const ScheduleTotal& total : schedule->Totals) {
                totals.push_back(Json{{"kind", std::string(ScheduleKindKey(total.Kind))},
                                      {"count", total.Count},
                                      {"vertical_sp_N", Number(total.Vertical[0])},
                                      {"vertical_snip_N", Number(total.Vertical[1])},
                                      {"along_sp_N", Number(total.Along[0])},
                                      {"along_snip_N", Number(total.Along[1])},
                                      {"across_sp_N", Number(total.Across[0])},
                                      {"across_snip_N", Number(total.Across[1])}});
            }
            warnings = Json::array();
            for (const std::string& warning : schedule->Warnings) {
                warnings.push_back(warning);
            }
        }
        json["schedule_rules"] = std::move(rules);
        json["schedule"] = std::move(rows);
        json["schedule_totals"] = std::move(totals);
        json["schedule_warnings"] = std::move(warnings);
    }
    // Compact, not ASCII-escaped; the engine's texts are UTF-8, a stray byte is replaced.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

std::string InvalidLineJson(const std::string& reason)
{
    Json json = Json::object();
    json["outcome"] = "invalid";
    json["message"] = reason;
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace korvelin::cli
