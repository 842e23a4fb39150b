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

}  // namespace

int RunSingle(const CliOptions& options, std::string_view separator, std::ostream& out,
              std::ostream& err)
{
    const CalculationOutcome outcome = RunCalculation(options.Texts, options.Indexes, separator);
    const bool completed = outcome.Kind == OutcomeKind::Completed;
    std::string text;
    if (options.Json) {
        text = OutcomeJson(outcome);
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
    out << text << std::flush;
    if (!completed) {
        err << outcome.Message << '\n' << std::flush;
    }
    return completed ? 0 : 1;
}

}  // namespace korvelin::cli
