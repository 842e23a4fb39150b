#include "korvelin/SupportLoadsNote.h"

#include "korvelin/CalculationScheme.h"
#include "korvelin/NumberFormat.h"

namespace korvelin {
namespace {

constexpr std::string_view kDash = "—";

std::string Number(double value, std::string_view separator) { return FormatFixed3(value, separator); }

// The columns of the table: each set of rules at its governing span, then at the chosen span.
struct LoadColumn {
    std::string Heading;       // "Определяющий пролет, СП 42-102-2004"
    std::string ShortHeading;  // for a narrow column: "Опред. пролет по СП"
    const SupportLoads* Loads;
};

std::vector<LoadColumn> Columns(const DesignSummary& summary)
{
    std::vector<LoadColumn> columns;
    for (const bool chosen : {false, true}) {
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const RuleSetSummary& set = summary.Of(rules);
            const std::optional<SupportLoads>& loads = chosen ? set.ChosenSupports : set.Supports;
            if (loads) {
                const std::string name(RuleSetName(rules));
                const std::string shortName = rules == RuleSet::SP ? "СП" : "СНиП";
                columns.push_back({(chosen ? "Принятый пролет, " : "Определяющий пролет, ") + name,
                                   (chosen ? "Принятый пролет по " : "Опред. пролет по ") + shortName,
                                   &*loads});
            }
        }
    }
    return columns;
}

std::string FrictionText(const SupportLoads& loads, std::string_view separator)
{
    return loads.Friction ? FormatGeneral(*loads.Friction, separator) : std::string("не задан");
}

}  // namespace

std::string FactorText(const std::optional<double>& value, std::string_view exact,
                       std::string_view separator)
{
    if (!value) {
        return std::string(kDash);
    }
    return std::string(exact) + " = " + Number(*value, separator);
}

std::string BeamSpansText(const BeamFactors& factors)
{
    return factors.Spans == 0 ? std::string("более 6") : std::to_string(factors.Spans);
}

std::string NewtonsText(double newtons, std::string_view separator)
{
    return Number(newtons, separator) + " Н (" +
           Number(static_cast<double>(static_cast<long double>(newtons) / 1000), separator) + " кН)";
}

void AddSupportLoadsNote(NoteDocument& note, const DesignSummary& summary,
                         std::string_view separator, std::string_view heading)
{
    const std::vector<LoadColumn> columns = Columns(summary);
    if (columns.empty()) {
        return;
    }
    const SupportLoads& first = *columns.front().Loads;
    note.AddHeading(std::string(heading));
    note.AddParagraph(
        "Трубопровод рассматривается как неразрезная балка из n равных пролетов L под равномерно "
        "распределенной нагрузкой (n — «Количество пролетов», при «>6» — предел многих "
        "пролетов). Реакции опор найдены по уравнению трех моментов M(i−1) + 4·M(i) + M(i+1) = "
        "−q·L²/2 и равны k·q·L; k — точный коэффициент крайней опоры и наиболее нагруженной "
        "промежуточной. Вертикальная нагрузка на опору F = k·q·L, где q — по СП 42-102-2004 "
        "вертикальная нагрузка сочетания (вес трубы и газа и большая из снеговой и гололедной "
        "нагрузок), по СНиП 2.04.12-86 — расчетная суммарная нагрузка; горизонтальная нагрузка "
        "от ветра H = k·w·L, где w — ветровая нагрузка; сила трения на скользящей опоре "
        "F_{тр} = μ·F, коэффициент трения в опорах μ = " +
        FrictionText(first, separator) +
        ". Нагрузки на опоры даны в целых ньютонах, вертикальные — также в килоньютонах.");

    NoteTable table;
    table.Title = "Нагрузки на опоры";
    table.Alignment.assign(columns.size() + 1, CellAlignment::Right);
    table.Alignment[0] = CellAlignment::Left;
    const int valueWidth = columns.size() > 2 ? 16 : 25;
    table.WidthPercent.assign(columns.size() + 1, valueWidth);
    table.WidthPercent[0] = 100 - valueWidth * static_cast<int>(columns.size());
    std::vector<NoteCell> header = {{"Величина", true}};
    for (const LoadColumn& column : columns) {
        header.push_back({columns.size() > 2 ? column.ShortHeading : column.Heading, true});
    }
    table.Rows.push_back(std::move(header));
    auto row = [&](std::string label, auto cell) {
        std::vector<NoteCell> cells = {{std::move(label)}};
        for (const LoadColumn& column : columns) {
            cells.push_back({cell(*column.Loads)});
        }
        table.Rows.push_back(std::move(cells));
    };
    row("Пролет L, м", [&](const SupportLoads& l) { return Number(l.Span, separator); });
    row("Число пролетов балки n", [](const SupportLoads& l) { return BeamSpansText(l.Factors); });
    row("Вертикальная нагрузка q, Н/м",
        [&](const SupportLoads& l) { return Number(l.VerticalLoad, separator); });
    row("Ветровая нагрузка w, Н/м", [&](const SupportLoads& l) { return Number(l.WindLoad, separator); });
    row("Коэффициент k крайней опоры", [&](const SupportLoads& l) {
        return FactorText(l.Factors.End, l.Factors.EndText, separator);
    });
    row("Коэффициент k промежуточной опоры", [&](const SupportLoads& l) {
        return FactorText(l.Factors.Intermediate, l.Factors.IntermediateText, separator);
    });
    const auto load = [&separator](const std::optional<double>& newtons) {
        return newtons ? SupportLoadText(*newtons, separator) : std::string(kDash);
    };
    const auto whole = [](const std::optional<double>& newtons) {
        return newtons ? WholeNewtonsText(*newtons) : std::string(kDash);
    };
    row("Вертикальная нагрузка на крайнюю опору k·q·L",
        [&](const SupportLoads& l) { return load(l.VerticalEnd); });
    row("Вертикальная нагрузка на промежуточную опору k·q·L",
        [&](const SupportLoads& l) { return load(l.VerticalIntermediate); });
    row("Нагрузка от ветра на крайнюю опору k·w·L",
        [&](const SupportLoads& l) { return whole(l.WindEnd); });
    row("Нагрузка от ветра на промежуточную опору k·w·L",
        [&](const SupportLoads& l) { return whole(l.WindIntermediate); });
    row("Сила трения на крайней опоре μ·k·q·L",
        [&](const SupportLoads& l) { return whole(l.FrictionEnd); });
    row("Сила трения на промежуточной опоре μ·k·q·L",
        [&](const SupportLoads& l) { return whole(l.FrictionIntermediate); });
    note.AddTable(std::move(table));
}

std::vector<std::string> SupportLoadLines(const DesignSummary& summary, std::string_view separator)
{
    const std::vector<LoadColumn> columns = Columns(summary);
    if (columns.empty()) {
        return {};
    }
    const SupportLoads& first = *columns.front().Loads;
    std::vector<std::string> lines;
    lines.push_back("Нагрузки на опоры: пролетов в балке " + BeamSpansText(first.Factors) +
                    ", коэффициент трения " + FrictionText(first, separator));
    for (const LoadColumn& column : columns) {
        const SupportLoads& l = *column.Loads;
        lines.push_back("  " + column.Heading + " " + Number(l.Span, separator) + " м");
        auto support = [&](std::string_view name, const std::optional<double>& k,
                           std::string_view exact, const std::optional<double>& vertical,
                           const std::optional<double>& wind, const std::optional<double>& friction) {
            std::string line = "    " + std::string(name) + " опора: ";
            if (!k) {
                lines.push_back(line + "нет");
                return;
            }
            line += "k = " + FactorText(k, exact, separator) + ", вертикальная " +
                    NewtonsText(*vertical, separator) + ", от ветра " + Number(*wind, separator) + " Н";
            if (friction) {
                line += ", трение " + Number(*friction, separator) + " Н";
            }
            lines.push_back(std::move(line));
        };
        support("промежуточная", l.Factors.Intermediate, l.Factors.IntermediateText,
                l.VerticalIntermediate, l.WindIntermediate, l.FrictionIntermediate);
        support("крайняя", l.Factors.End, l.Factors.EndText, l.VerticalEnd, l.WindEnd, l.FrictionEnd);
    }
    return lines;
}

void AddOwnClimateRows(NoteTable& inputs, const OwnClimateTexts& own, std::string_view separator)
{
    for (const ClimateValue which : kClimateValues) {
        const ClimateValueInfo& info = InfoOf(which);
        const OwnClimateEntry& entry = own.*info.Entry;
        if (!entry.InForce) {
            continue;
        }
        std::string label = std::string(info.Name) + " " + std::string(info.Symbol) +
                            " — задано пользователем";
        if (entry.Source.find_first_not_of(' ') != std::string::npos) {
            label += ": " + entry.Source;
        }
        inputs.Rows.push_back({{std::move(label)},
                               {TypedNumberText(entry.Value, separator)},
                               {std::string(info.Unit)}});
    }
}

}  // namespace korvelin
