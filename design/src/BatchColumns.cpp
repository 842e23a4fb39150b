#include "korvelin/BatchColumns.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/NumberFormat.h"

namespace korvelin {
namespace {

constexpr std::optional<double> SpanResults::*kSpanFields[] = {
    &SpanResults::StaticSpanSP,   &SpanResults::DynamicSpanSP,  &SpanResults::CondensateSpanSP,
    &SpanResults::DeflectionSpanSP, &SpanResults::StaticSpanSNiP, &SpanResults::DeflectionSpanSNiP,
};
constexpr int kValueColumns = 8;  // six spans and two governing spans

}  // namespace

std::string_view OutcomeName(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Completed: return "completed";
    case OutcomeKind::Refused: return "refused";
    case OutcomeKind::Failed: return "failed";
    }
    return "failed";
}

void AppendCsvPreamble(std::string& out, std::string_view title, std::span<const std::string> lines)
{
    out += "\xEF\xBB\xBF";
    AppendCsvField(out, title);
    out += "\r\n";
    for (const std::string& line : lines) {
        AppendCsvField(out, line);
        out += "\r\n";
    }
    out += "\r\n";
}

void AppendCsvLine(std::string& out, std::span<const std::string> fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += ';';
        }
        AppendCsvField(out, fields[i]);
    }
    out += "\r\n";
}

void AppendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void AppendBatchColumns(std::string& out, const CalculationOutcome& outcome,
                        std::string_view decimalSeparator)
{
    out += OutcomeName(outcome.Kind);
    out += ';';
    AppendCsvField(out, outcome.Message);
    for (const auto field : kSpanFields) {
        out += ';';
        if (const std::optional<double>& span = outcome.Spans.*field) {
            AppendFixed3(out, *span, decimalSeparator);
        }
    }
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        out += ';';
        if (outcome.Kind != OutcomeKind::Completed) {
            continue;
        }
        if (const GoverningSpan governing = FindGoverningSpan(outcome.Spans, rules);
            governing.Span) {
            AppendFixed3(out, *governing.Span, decimalSeparator);
        }
    }
}

void AppendInvalidBatchColumns(std::string& out, std::string_view reason)
{
    out += "invalid;";
    AppendCsvField(out, reason);
    out.append(kValueColumns, ';');
}

}  // namespace korvelin
