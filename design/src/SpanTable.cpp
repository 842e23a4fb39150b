#include "korvelin/SpanTable.h"

#include "korvelin/BatchColumns.h"
#include "korvelin/FaultExplanation.h"
#include "korvelin/InputRemarks.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/Selectors.h"

#include <algorithm>
#include <array>
#include <optional>

namespace korvelin {
namespace {

// Outer diameter and wall, mm. Stated here only: the window, its "restore" button and the
// README's list come from this table.
constexpr std::array<std::array<std::string_view, 2>, 9> kDefaultSizes = {{
    {"57", "3"},
    {"76", "3"},
    {"89", "3"},
    {"108", "4"},
    {"114", "4"},
    {"133", "4"},
    {"159", "4,5"},
    {"219", "6"},
    {"273", "7"},
}};

constexpr std::string_view kDash = "—";

constexpr std::array<std::string_view, 12> kHeaders = {
    "Наружный\nдиаметр, мм", "Толщина\nстенки, мм",
    "СП\nстатический\nрасчет, м", "СП\nдинамический\nрасчет, м", "СП\nконденсат, м", "СП\nпрогиб, м",
    "СНиП\nстатический\nрасчет, м", "СНиП\nпрогиб, м",
    "Определяющий\nпролет\nпо СП, м", "Критерий\nпо СП", "Определяющий\nпролет\nпо СНиП, м", "Критерий\nпо СНиП",
};

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
}

CalculationOutcome Refusal(std::string_view message)
{
    CalculationOutcome outcome;
    outcome.Kind = OutcomeKind::Refused;
    outcome.Message = std::string(message);
    return outcome;
}

// The header's lines joined by blanks, for a single line.
std::string OneLine(std::string_view header)
{
    std::string line(header);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

std::string ItemText(std::span<const std::string_view> items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return std::string(kDash);
    }
    const std::string_view item = items[static_cast<std::size_t>(index)];
    return item.empty() ? std::string(kDash) : std::string(item);
}

}  // namespace

std::vector<PipeSize> DefaultPipeSizes()
{
    std::vector<PipeSize> sizes;
    sizes.reserve(kDefaultSizes.size());
    for (const auto& [outer, wall] : kDefaultSizes) {
        sizes.push_back({std::string(outer), std::string(wall)});
    }
    return sizes;
}

std::string PipeSizeText(const PipeSize& size, std::string_view decimalSeparator)
{
    return TypedNumberText(size.OuterDiameter, decimalSeparator) + "×" +
           TypedNumberText(size.WallThickness, decimalSeparator);
}

SpanTableRow ComputeSpanTableRow(const PipeSize& size, const SpanTableConditions& conditions,
                                 ReportMode reportMode)
{
    SpanTableRow row;
    row.Size = size;
    const std::string_view separator = conditions.DecimalSeparator;
    if (IsBlank(size.OuterDiameter) || IsBlank(size.WallThickness)) {
        row.Outcome = Refusal(kIncompleteInputMessage);
        row.Message = std::string(kIncompleteInputMessage) + " — пустая ячейка «" +
                      OneLine(kHeaders[IsBlank(size.OuterDiameter) ? 0 : 1]) + "»";
        return row;
    }
    FieldTexts texts = conditions.Texts;
    texts.OuterDiameter = size.OuterDiameter;
    texts.WallThickness = size.WallThickness;
    row.Outcome = RunCalculation(texts, conditions.Selectors,
                                 ReadOwnClimate(conditions.OwnClimate, separator).Values, separator,
                                 reportMode);
    if (row.Completed()) {
        row.GoverningSP = FindGoverningSpan(row.Outcome, RuleSet::SP, separator);
        row.GoverningSNiP = FindGoverningSpan(row.Outcome, RuleSet::SNiP, separator);
    } else {
        row.Message = ExplainedMessage(row.Outcome, texts, separator);
    }
    return row;
}

std::vector<SpanTableRow> ComputeSpanTable(std::span<const PipeSize> sizes,
                                           const SpanTableConditions& conditions)
{
    std::vector<SpanTableRow> rows;
    rows.reserve(sizes.size());
    for (const PipeSize& size : sizes) {
        rows.push_back(ComputeSpanTableRow(size, conditions));
    }
    return rows;
}

std::vector<PipeDesign> DesignPipes(std::span<const PipeSize> sizes,
                                    const SpanTableConditions& conditions,
                                    const SummaryRequest& request)
{
    std::vector<PipeDesign> pipes;
    pipes.reserve(sizes.size());
    for (const PipeSize& size : sizes) {
        PipeDesign pipe{ComputeSpanTableRow(size, conditions, ReportMode::Written), std::nullopt};
        pipe.Summary = SummarizeDesign(pipe.Row.Outcome, request);
        pipes.push_back(std::move(pipe));
    }
    return pipes;
}

std::span<const std::string_view> SpanTableHeaders() { return kHeaders; }

std::span<const std::string_view> SpanTableSupportHeaders()
{
    static constexpr std::array<std::string_view, 2 * kSupportColumnsPerSet> headers = {
        "СП: опора,\nвертикальная,\nН", "СП: опора,\nот ветра, Н", "СП: опора,\nтрение, Н",
        "СНиП: опора,\nвертикальная,\nН", "СНиП: опора,\nот ветра, Н", "СНиП: опора,\nтрение, Н",
    };
    return headers;
}

std::array<std::optional<double>, 2 * kSupportColumnsPerSet> SpanTableSupportLoads(
    const SpanTableRow& row, std::optional<double> friction)
{
    std::array<std::optional<double>, 2 * kSupportColumnsPerSet> values;
    if (!row.Completed()) {
        return values;
    }
    std::size_t column = 0;
    for (const GoverningSpan* span : {&row.GoverningSP, &row.GoverningSNiP}) {
        const std::optional<SupportLoads> loads =
            span->Span ? SupportLoadsAt(row.Outcome, span->Rules, *span->Span, friction) : std::nullopt;
        if (loads) {
            // The most loaded support: an intermediate one, the end one of a single span.
            const bool intermediate = loads->VerticalIntermediate.has_value();
            values[column] = intermediate ? loads->VerticalIntermediate : loads->VerticalEnd;
            values[column + 1] = intermediate ? loads->WindIntermediate : loads->WindEnd;
            values[column + 2] = intermediate ? loads->FrictionIntermediate : loads->FrictionEnd;
        }
        column += kSupportColumnsPerSet;
    }
    return values;
}

std::string_view CriterionShortName(Criterion criterion)
{
    switch (criterion) {
    case Criterion::StaticSP:
    case Criterion::StaticSNiP:
        return "статический расчет";
    case Criterion::DynamicSP:
        return "динамический расчет";
    case Criterion::CondensateSP:
        return "конденсат";
    case Criterion::DeflectionSP:
    case Criterion::DeflectionSNiP:
        break;
    }
    return "прогиб";
}

std::vector<std::string> SpanTableConditionLines(const SpanTableConditions& conditions)
{
    const FieldTexts& texts = conditions.Texts;
    const SelectorIndexes& s = conditions.Selectors;
    std::string steel;
    if (FindSteelGrade(conditions.SteelGrade) != nullptr) {
        steel = "Сталь " + ItemText(SteelGradeItems(), conditions.SteelGrade) + ": ";
    }
    steel += "предел сопротивления " + Trimmed(texts.UltimateStrength) +
             " МПа, предел текучести " + Trimmed(texts.YieldStrength) + " МПа";
    std::vector<std::string> lines = {
        "Давление в трубопроводе " + Trimmed(texts.Pressure) + " МПа",
        std::move(steel),
        "Застройка высотой " + ItemText(HeightCategoryItems(), s.HeightCategory),
        "Районы строительства: по снеговой нагрузке " + ItemText(SnowRegionItems(), s.SnowRegion) +
            ", по ветровой " + ItemText(WindRegionItems(), s.WindRegion) + ", по гололедной " +
            ItemText(IceRegionItems(), s.IceRegion),
        "Количество пролетов " + ItemText(SpanCountItems(), s.SpanCount) +
            ", уклон трубопровода " + SlopeText(s.Slope, conditions.DecimalSeparator),
    };
    if (conditions.OwnClimate.Any()) {
        lines.push_back("Свои нормативные значения: " +
                        OwnClimateText(conditions.OwnClimate, conditions.DecimalSeparator));
    }
    return lines;
}

std::string SpanTableCsv(std::span<const SpanTableRow> rows, const SpanTableConditions& conditions,
                         const SpanTableSupportColumns* supports)
{
    const std::string_view separator = conditions.DecimalSeparator;
    std::string csv;
    csv.reserve(1024 + rows.size() * 128);
    std::vector<std::string> preamble{"Условия расчета:"};
    for (std::string& condition : SpanTableConditionLines(conditions)) {
        preamble.push_back(std::move(condition));
    }
    AppendCsvPreamble(csv, std::string(kSpanTableTitle) + " надземного газопровода", preamble);
    for (const std::string_view header : kHeaders) {
        AppendCsvField(csv, OneLine(header));
        csv += ';';
    }
    if (supports != nullptr) {
        for (const std::string_view header : SpanTableSupportHeaders()) {
            AppendCsvField(csv, OneLine(header));
            csv += ';';
        }
    }
    csv += "Примечание\r\n";
    for (const SpanTableRow& row : rows) {
        AppendCsvField(csv, TypedNumberText(row.Size.OuterDiameter, separator));
        csv += ';';
        AppendCsvField(csv, TypedNumberText(row.Size.WallThickness, separator));
        csv += ';';
        const bool completed = row.Completed();
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            for (const Criterion criterion : CriteriaOf(rules)) {
                if (const std::optional<double> span = SpanOf(row.Outcome.Spans, criterion); span && completed) {
                    AppendFixed3(csv, *span, separator);
                }
                csv += ';';
            }
        }
        for (const GoverningSpan* governing : {&row.GoverningSP, &row.GoverningSNiP}) {
            if (completed && governing->Span) {
                AppendFixed3(csv, *governing->Span, separator);
                csv += ';';
                AppendCsvField(csv, CriterionShortName(governing->Which));
            } else if (completed) {
                csv += "нет;";
                AppendCsvField(csv, governing->Reason);
            } else {
                csv += ';';
            }
            csv += ';';
        }
        if (supports != nullptr) {
            for (const std::optional<double>& load : SpanTableSupportLoads(row, supports->Friction)) {
                if (load) {
                    AppendFixed3(csv, *load, separator);
                }
                csv += ';';
            }
        }
        if (!completed) {
            AppendCsvField(csv, row.Message);
        }
        csv += "\r\n";
    }
    return csv;
}

}  // namespace korvelin
