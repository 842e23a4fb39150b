#include "korvelin/CalculationNote.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/Selectors.h"
#include "korvelin/SupportLoadsNote.h"

#include <array>
#include <span>
#include <string>

namespace korvelin {
namespace {

// The heading line of the load table in the intermediate report.
constexpr std::string_view kLoadTableMark = "по СП:";
constexpr std::string_view kDash = "—";

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// A report line as cells: the label, then its last `count` values, which hold no blanks.
std::vector<NoteCell> SplitReportLine(std::string_view line, int count)
{
    std::vector<NoteCell> cells(static_cast<std::size_t>(count) + 1);
    std::string_view rest = line;
    for (int i = count; i >= 1; --i) {
        const std::size_t end = rest.find_last_not_of(' ');
        if (end == std::string_view::npos) {
            break;
        }
        const std::size_t blank = rest.find_last_of(' ', end);
        const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
        cells[static_cast<std::size_t>(i)].Text = std::string(rest.substr(start, end + 1 - start));
        rest = rest.substr(0, start);
    }
    cells[0].Text = Trimmed(rest);
    return cells;
}

std::string ItemText(std::span<const std::string_view> items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return {};
    }
    return std::string(items[static_cast<std::size_t>(index)]);
}

std::string Metres(double value, std::string_view separator)
{
    return FormatFixed3(value, separator) + " м";
}

std::string_view Verdict(bool passes) { return passes ? kPassesText : kFailsText; }

NoteTable InputTable(const NoteInputs& in)
{
    NoteTable table;
    table.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Left};
    table.WidthPercent = {62, 26, 12};
    table.Rows.push_back({{"Величина", true}, {"Значение", true}, {"Ед. изм.", true}});
    auto add = [&table](std::string_view label, std::string value, std::string_view unit) {
        table.Rows.push_back({{std::string(label)}, {std::move(value)}, {std::string(unit)}});
    };
    const SelectorIndexes& s = in.Selectors;
    add("Наружный диаметр", in.Texts.OuterDiameter, "мм");
    add("Толщина стенки трубы", in.Texts.WallThickness, "мм");
    add("Давление в трубопроводе", in.Texts.Pressure, "МПа");
    if (FindSteelGrade(in.SteelGrade) != nullptr) {
        add("Марка стали", ItemText(SteelGradeItems(), in.SteelGrade), "");
    }
    add("Предел сопротивления", in.Texts.UltimateStrength, "МПа");
    add("Предел текучести", in.Texts.YieldStrength, "МПа");
    add("Расположение трубопровода в районе застройке высотой",
        ItemText(HeightCategoryItems(), s.HeightCategory), "");
    add("Район строительства по снеговой нагрузке", ItemText(SnowRegionItems(), s.SnowRegion), "");
    add("Район строительства по ветровой нагрузке", ItemText(WindRegionItems(), s.WindRegion), "");
    add("Район строительства по гололедной нагрузке", ItemText(IceRegionItems(), s.IceRegion), "");
    AddOwnClimateRows(table, in.OwnClimate, in.DecimalSeparator);
    add("Количество пролетов", ItemText(SpanCountItems(), s.SpanCount), "");
    add("Уклон трубопровода, промили", ItemText(SlopeItems(), s.Slope), "");
    return table;
}

// The normative values and coefficients, and the two-column load table, as the technical sheet
// lists them.
void AddReportTables(NoteDocument& note, const IntermediateReport& report)
{
    NoteTable normative;
    normative.Alignment = {CellAlignment::Left, CellAlignment::Right};
    normative.WidthPercent = {85, 15};
    normative.Rows.push_back({{"Величина", true}, {"Значение", true}});
    NoteTable loads;
    loads.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Right};
    loads.WidthPercent = {50, 25, 25};
    loads.Rows.push_back({{"Величина", true}, {"по СП 42-102-2004", true},
                          {"по СНиП 2.04.12-86", true}});
    bool inLoads = false;
    // The first line is the sheet's title, followed by two empty lines.
    for (std::size_t i = 1; i < report.size(); ++i) {
        const std::string& line = report[i];
        if (Trimmed(line).empty()) {
            continue;
        }
        if (!inLoads && line.find(kLoadTableMark) != std::string::npos) {
            inLoads = true;
            continue;
        }
        if (inLoads) {
            loads.Rows.push_back(SplitReportLine(line, 2));
        } else {
            normative.Rows.push_back(SplitReportLine(line, 1));
        }
    }
    note.AddHeading("Нормативные значения");
    note.AddTable(std::move(normative));
    note.AddHeading("Нагрузки и допускаемые напряжения");
    note.AddTable(std::move(loads));
}

void AddSpanTable(NoteDocument& note, const CalculationOutcome& outcome,
                  const DesignSummary& summary, std::string_view separator)
{
    NoteTable spans;
    spans.Alignment = {CellAlignment::Left, CellAlignment::Left, CellAlignment::Right};
    spans.WidthPercent = {23, 55, 22};
    spans.Rows.push_back({{"Нормы", true}, {"Критерий", true}, {"Допустимый пролет, м", true}});
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const GoverningSpan& governing = summary.Of(rules).Governing;
        for (const Criterion criterion : CriteriaOf(rules)) {
            const std::optional<double> span = SpanOf(outcome.Spans, criterion);
            const bool bold = governing.Span && governing.Which == criterion;
            spans.Rows.push_back({{std::string(RuleSetName(rules)), bold},
                                  {std::string(CriterionLabel(criterion)), bold},
                                  {span ? FormatFixed3(*span, separator) : std::string(kDash),
                                   bold}});
        }
    }
    note.AddTable(std::move(spans));
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        note.AddParagraph("Определяющий пролет по " + std::string(RuleSetName(rules)) + ": " +
                              GoverningText(summary.Of(rules).Governing, separator),
                          true);
    }
}

void AddCheck(NoteDocument& note, const DesignSummary& summary, std::string_view separator)
{
    if (!summary.ChosenSpan) {
        return;
    }
    note.AddParagraph("Проверка принятого пролета " + Metres(*summary.ChosenSpan, separator), true);
    NoteTable check;
    check.Alignment = {CellAlignment::Left, CellAlignment::Left, CellAlignment::Right,
                       CellAlignment::Right, CellAlignment::Left};
    check.WidthPercent = {20, 28, 18, 20, 14};
    check.Rows.push_back({{"Нормы", true}, {"Критерий", true}, {"Допустимый пролет, м", true},
                          {"Принятый к допустимому, %", true}, {"Вывод", true}});
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        for (const CriterionCheck& item : summary.Of(rules).Check->Criteria) {
            const bool valid = item.PermissibleSpan > 0;
            check.Rows.push_back(
                {{std::string(RuleSetName(rules))},
                 {std::string(CriterionName(item.Which))},
                 {FormatFixed3(item.PermissibleSpan, separator)},
                 {valid ? FormatPercent(item.Percent, separator) : std::string(kDash)},
                 {std::string(Verdict(item.Passes))}});
        }
    }
    note.AddTable(std::move(check));
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        note.AddParagraph("По " + std::string(RuleSetName(rules)) + " принятый пролет " +
                          std::string(Verdict(summary.Of(rules).Check->Passes)));
    }
}

void AddRoute(NoteDocument& note, const DesignSummary& summary, std::string_view separator)
{
    if (!summary.RouteLength) {
        return;
    }
    note.AddParagraph("Опоры на участке трассы длиной " + Metres(*summary.RouteLength, separator),
                      true);
    NoteTable route;
    route.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Right,
                       CellAlignment::Right, CellAlignment::Right};
    route.WidthPercent = {28, 14, 16, 24, 18};
    route.Rows.push_back({{"Пролет", true}, {"Пролет, м", true}, {"Число пролетов", true},
                          {"Промежуточных опор", true}, {"Шаг опор, м", true}});
    auto add = [&](std::string name, const std::optional<RouteSupports>& supports) {
        if (!supports) {
            route.Rows.push_back({{std::move(name)}, {std::string(kDash)}, {std::string(kDash)},
                                  {std::string(kDash)}, {std::string(kDash)}});
            return;
        }
        route.Rows.push_back({{std::move(name)},
                              {FormatFixed3(supports->Span, separator)},
                              {std::to_string(supports->Spans)},
                              {std::to_string(supports->IntermediateSupports)},
                              {FormatFixed3(supports->Spacing, separator)}});
    };
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        add("определяющий по " + std::string(RuleSetName(rules)), summary.Of(rules).Route);
    }
    if (summary.ChosenSpan) {
        add("принятый", summary.ChosenRoute);
    }
    note.AddTable(std::move(route));
}

}  // namespace

std::string GoverningText(const GoverningSpan& governing, std::string_view separator)
{
    if (!governing.Span) {
        return "нет: " + governing.Reason;
    }
    return Metres(*governing.Span, separator) + " — " + std::string(CriterionName(governing.Which));
}

NoteDocument BuildCalculationNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                                  const DesignSummary& summary)
{
    const std::string_view separator = inputs.DecimalSeparator;
    NoteDocument note;
    note.Title = kNoteTitle;
    note.Orientation = PageOrientation::Portrait;
    note.AddParagraph("Дата и время расчета: " + inputs.DateTime + ". Программа: " +
                      inputs.Program + ".");

    note.AddHeading("Исходные данные");
    note.AddTable(InputTable(inputs));
    AddReportTables(note, outcome.Report);

    note.AddHeading("Результаты");
    AddSpanTable(note, outcome, summary, separator);
    AddCheck(note, summary, separator);
    AddRoute(note, summary, separator);
    AddSupportLoadsNote(note, summary, separator);

    note.AddParagraph(
        "Расчет выполнен по СП 42-102-2004 «Проектирование и строительство газопроводов из "
        "металлических труб» и СНиП 2.04.12-86 «Расчет на прочность стальных трубопроводов»; "
        "предельный прогиб принят равным 1/150 пролета.");
    return note;
}

std::vector<std::string> SummaryLines(const DesignSummary& summary, std::string_view separator)
{
    std::vector<std::string> lines;
    lines.emplace_back("Определяющий пролет");
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        lines.push_back("  По " + std::string(RuleSetName(rules)) + ": " +
                        GoverningText(summary.Of(rules).Governing, separator));
    }
    if (summary.ChosenSpan) {
        lines.push_back("Проверка принятого пролета " + Metres(*summary.ChosenSpan, separator));
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const RuleSetCheck& check = *summary.Of(rules).Check;
            lines.push_back("  По " + std::string(RuleSetName(rules)) + ": " +
                            std::string(Verdict(check.Passes)));
            for (const CriterionCheck& item : check.Criteria) {
                std::string line = "    " + std::string(CriterionName(item.Which)) + ": ";
                if (item.PermissibleSpan > 0) {
                    line += FormatPercent(item.Percent, separator) + " % от " +
                            Metres(item.PermissibleSpan, separator);
                } else {
                    line += "пролет " + Metres(item.PermissibleSpan, separator);
                }
                line += " — " + std::string(Verdict(item.Passes));
                lines.push_back(std::move(line));
            }
        }
    }
    if (summary.RouteLength) {
        lines.push_back("Опоры на участке трассы " + Metres(*summary.RouteLength, separator));
        auto add = [&](const std::string& name, const std::optional<RouteSupports>& route) {
            if (!route) {
                lines.push_back("  " + name + ": нет определяющего пролета");
                return;
            }
            lines.push_back("  " + name + ", пролет " + Metres(route->Span, separator) +
                            ": пролетов " + std::to_string(route->Spans) +
                            ", промежуточных опор " + std::to_string(route->IntermediateSupports) +
                            ", шаг опор " + Metres(route->Spacing, separator));
        };
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            add("По " + std::string(RuleSetName(rules)), summary.Of(rules).Route);
        }
        if (summary.ChosenSpan) {
            add("Принятый пролет", summary.ChosenRoute);
        }
    }
    return lines;
}

std::string CopiedResults(const CalculationOutcome& outcome, const DesignSummary& summary,
                          std::string_view separator)
{
    std::string text;
    auto line = [&text](std::string_view label, std::string_view value, std::string_view unit) {
        text += label;
        text += '\t';
        text += value;
        text += '\t';
        text += unit;
        text += '\n';
    };
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const std::string setName(RuleSetName(rules));
        for (const Criterion criterion : CriteriaOf(rules)) {
            const std::optional<double> span = SpanOf(outcome.Spans, criterion);
            line(setName + ": " + std::string(CriterionLabel(criterion)),
                 span ? FormatFixed3(*span, separator) : std::string(), "м");
        }
        const GoverningSpan& governing = summary.Of(rules).Governing;
        if (governing.Span) {
            line("Определяющий пролет по " + setName + " (" +
                     std::string(CriterionName(governing.Which)) + ")",
                 FormatFixed3(*governing.Span, separator), "м");
        } else {
            line("Определяющий пролет по " + setName, "нет", "");
        }
    }
    if (summary.ChosenSpan) {
        line("Принятый пролет", FormatFixed3(*summary.ChosenSpan, separator), "м");
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const std::string setName(RuleSetName(rules));
            const RuleSetCheck& check = *summary.Of(rules).Check;
            for (const CriterionCheck& item : check.Criteria) {
                line("Принятый пролет к допустимому, " + setName + ", " +
                         std::string(CriterionName(item.Which)),
                     item.PermissibleSpan > 0 ? FormatPercent(item.Percent, separator)
                                              : std::string(kDash),
                     "%");
            }
            line("Принятый пролет по " + setName, Verdict(check.Passes), "");
        }
    }
    if (summary.RouteLength) {
        line("Длина участка трассы", FormatFixed3(*summary.RouteLength, separator), "м");
        auto add = [&](const std::string& name, const std::optional<RouteSupports>& route) {
            if (!route) {
                return;
            }
            line("Число пролетов, " + name, std::to_string(route->Spans), "");
            line("Промежуточных опор, " + name, std::to_string(route->IntermediateSupports), "шт.");
            line("Шаг опор, " + name, FormatFixed3(route->Spacing, separator), "м");
        };
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            add("по " + std::string(RuleSetName(rules)), summary.Of(rules).Route);
        }
        if (summary.ChosenSpan) {
            add("принятый пролет", summary.ChosenRoute);
        }
    }
    return text;
}

}  // namespace korvelin
