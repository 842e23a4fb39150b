#include "SingleRun.h"

#include "JsonWriter.h"
#include "OutcomeText.h"
#include "korvelin/NumberFormat.h"

#include <string>

namespace korvelin::cli {
namespace {

void AppendSpanGroups(std::string& out, const SpanResults& spans, std::string_view separator)
{
    for (const bool sp : {true, false}) {
        out += sp ? kRulesSP : kRulesSNiP;
        out += '\n';
        for (const SpanColumn& column : SpanColumns()) {
            if (column.SP != sp) {
                continue;
            }
            out += "  ";
            out += column.Label;
            out += ": ";
            const std::optional<double>& value = spans.*column.Field;
            out += value ? FormatFixed3(*value, separator) + " м" : std::string("—");
            out += '\n';
        }
    }
}

void AppendJson(std::string& out, const CalculationOutcome& outcome)
{
    out += "{\"outcome\":";
    AppendJsonString(out, OutcomeName(outcome.Kind));
    out += ",\"message\":";
    AppendJsonString(out, outcome.Message);
    out += ",\"spans\":{";
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
    auto appendObject = [&out](const auto& members) {
        bool first = true;
        for (const auto& [key, value] : members) {
            if (!first) {
                out += ',';
            }
            first = false;
            AppendJsonString(out, key);
            out += ':';
            AppendJsonNumber(out, value);
        }
    };
    appendObject(spans);
    out += "},\"loads\":{";
    appendObject(loads);
    out += "},\"MomentOfInertia\":";
    AppendJsonNumber(out, outcome.MomentOfInertia);
    out += ",\"report\":[";
    for (std::size_t i = 0; i < outcome.Report.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendJsonString(out, outcome.Report[i]);
    }
    out += "]}\n";
}

}  // namespace

int RunSingle(const CliOptions& options, std::string_view separator, std::ostream& out,
              std::ostream& err)
{
    const CalculationOutcome outcome = RunCalculation(options.Texts, options.Indexes, separator);
    const bool completed = outcome.Kind == OutcomeKind::Completed;
    std::string text;
    if (options.Json) {
        AppendJson(text, outcome);
    } else {
        const SpanResults& s = outcome.Spans;
        const bool anySpan = s.StaticSpanSP || s.DynamicSpanSP || s.CondensateSpanSP ||
                             s.DeflectionSpanSP || s.StaticSpanSNiP || s.DeflectionSpanSNiP;
        if (anySpan) {
            AppendSpanGroups(text, outcome.Spans, separator);
        }
        if (options.Report) {
            if (anySpan) {
                text += '\n';
            }
            for (const std::string& line : outcome.Report) {
                text += line;
                text += '\n';
            }
        }
    }
    if (!(out << text << std::flush)) {
        return 2;
    }
    if (!completed) {
        err << outcome.Message << '\n' << std::flush;
    }
    return completed ? 0 : 1;
}

}  // namespace korvelin::cli
