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

}  // namespace

std::string OutcomeJson(const CalculationOutcome& outcome)
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
    // Compact, not ASCII-escaped; the engine's texts are UTF-8, a stray byte is replaced.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace korvelin::cli
