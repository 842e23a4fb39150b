#include "JsonWriter.h"

#include "OutcomeText.h"

#include <nlohmann/json.hpp>

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
    Json supports = nullptr;
    if (summary.RouteLength) {
        supports = Json::object();
        supports["sp"] = Supports(summary.SP.Route);
        supports["snip"] = Supports(summary.SNiP.Route);
        supports["chosen"] = Supports(summary.ChosenRoute);
    }
    json["supports"] = std::move(supports);
    return json;
}

}  // namespace

std::string OutcomeJson(const CalculationOutcome& outcome,
                        const std::optional<DesignSummary>& summary)
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
    for (const std::string& line : outcome.Report) {
        report.push_back(line);
    }

    Json json = Json::object();
    json["outcome"] = std::string(OutcomeName(outcome.Kind));
    json["message"] = outcome.Message;
    json["spans"] = Object(spans);
    json["loads"] = Object(loads);
    json["MomentOfInertia"] = Number(outcome.MomentOfInertia);
    json["report"] = std::move(report);
    json["summary"] = summary ? SummaryJson(*summary) : Json(nullptr);
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
