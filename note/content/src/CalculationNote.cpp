#include "korvelin/CalculationNote.h"

#include "NoteParts.h"

#include "korvelin/CalculationMethod.h"
#include "korvelin/InputRemarks.h"
#include "korvelin/CalculationScheme.h"
#include "korvelin/ClimaticLoads.h"
#include "korvelin/NoteSources.h"
#include "korvelin/NoteTypography.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/RouteSpans.h"
#include "korvelin/Selectors.h"
#include "korvelin/StrengthCriteria.h"
#include "korvelin/SupportLoadsNote.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <string>

namespace korvelin {
namespace {

constexpr std::string_view kDash = "—";

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

// A coefficient of a table of the rules as the rules print it, with two decimals.
std::string TableValue(double value, std::string_view separator)
{
    std::string text = FormatFixed3(value, separator);
    text.pop_back();
    return text;
}

using parts::AddCaption;

NoteTable ValueTable(std::vector<int> widths)
{
    NoteTable table;
    table.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Left};
    table.WidthPercent = std::move(widths);
    table.Rows.push_back({{"Величина", true}, {"Значение", true}, {"Ед. изм.", true}});
    return table;
}

void AddRow(NoteTable& table, std::string_view label, std::string value, std::string_view unit)
{
    table.Rows.push_back({{std::string(label)}, {std::move(value)}, {std::string(unit)}});
}

// A table of one coefficient of the rules laid across the page: the row of its arguments, then
// a row of values for each case; the cells of the calculation in bold.
NoteTable CrossTable(std::size_t columns)
{
    NoteTable table;
    table.Alignment.assign(columns + 1, CellAlignment::Center);
    table.Alignment[0] = CellAlignment::Left;
    const int label = columns > 8 ? 24 : 34;
    table.WidthPercent.assign(columns + 1, (100 - label) / static_cast<int>(columns));
    table.WidthPercent[0] = 100 - table.WidthPercent[1] * static_cast<int>(columns);
    return table;
}

void AddCoefficientTables(NoteDocument& note, const SelectorIndexes& s, std::string_view separator,
                          std::optional<double> innerDiameter)
{
    // The number of spans: the coefficient k_n of the dynamic criterion.
    const std::span<const std::string_view> spanItems = SpanCountItems();
    NoteTable spans = CrossTable(kSpanCountCoefficient.size());
    spans.Title = "Коэффициент числа пролетов";
    spans.Rows.push_back({{"Количество пролетов", true}});
    spans.Rows.push_back({{"Коэффициент числа пролетов"}});
    for (std::size_t i = 0; i < kSpanCountCoefficient.size(); ++i) {
        const bool used = static_cast<int>(i) == s.SpanCount;
        spans.Rows[0].push_back({i < spanItems.size() ? std::string(spanItems[i]) : "", true});
        spans.Rows[1].push_back({TableValue(kSpanCountCoefficient[i], separator), used});
    }
    AddCaption(note,
               "Коэффициент числа пролетов k_{n} динамического расчета по СП 42-102-2004; "
               "значение расчета выделено (количество пролетов " + ItemText(spanItems, s.SpanCount) + "):",
               false);
    note.AddTable(std::move(spans));

    // The slope coefficient c by the slope and the inner diameter.
    NoteTable slope = CrossTable(kSlopeCount);
    slope.Title = "Коэффициент, учитывающий уклон трубопровода";
    slope.Rows.push_back({{"Уклон, ‰", true}});
    slope.Rows.push_back({{"d < " + FormatGeneral(kSlopeFirstColumnLimit, separator) + " мм"}});
    slope.Rows.push_back({{FormatGeneral(kSlopeFirstColumnLimit, separator) + " мм ≤ d ≤ " +
                           FormatGeneral(kSlopeTableLimit, separator) + " мм"}});
    const std::array<double, 2> diameters = {kSlopeFirstColumnLimit / 2,
                                             (kSlopeFirstColumnLimit + kSlopeTableLimit) / 2};
    for (int i = 0; i < static_cast<int>(kSlopeCount); ++i) {
        slope.Rows[0].push_back({std::to_string(i), true});
        for (std::size_t row = 0; row < diameters.size(); ++row) {
            const bool column = !innerDiameter || (row == 0 ? *innerDiameter < kSlopeFirstColumnLimit
                                                            : *innerDiameter >= kSlopeFirstColumnLimit &&
                                                                  *innerDiameter <= kSlopeTableLimit);
            slope.Rows[row + 1].push_back(
                {TableValue(SlopeCoefficient(i, diameters[row]), separator), i == s.Slope && column});
        }
    }
    AddCaption(note,
               "Коэффициент c, учитывающий уклон трубопровода, по уклону в промилле и внутреннему "
               "диаметру d по СП 42-102-2004 (при d больше " + FormatGeneral(kSlopeTableLimit, separator) +
                   " мм c = 0); значение расчета выделено:",
               false);
    note.AddTable(std::move(slope));

    // The height of the buildings: the factors k and ζ of the wind.
    const std::span<const std::string_view> heights = HeightCategoryItems();
    NoteTable wind = CrossTable(kHeightFactors.size());
    wind.Title = "Коэффициенты ветровой нагрузки";
    wind.Rows.push_back({{"Застройка высотой", true}});
    wind.Rows.push_back({{"Коэффициент k"}});
    wind.Rows.push_back({{"Коэффициент ζ"}});
    for (std::size_t i = 0; i < kHeightFactors.size(); ++i) {
        const bool used = static_cast<int>(i) == s.HeightCategory;
        wind.Rows[0].push_back({i < heights.size() ? std::string(heights[i]) : "", true});
        wind.Rows[1].push_back({TableValue(kHeightFactors[i].Height, separator), used});
        wind.Rows[2].push_back({TableValue(kHeightFactors[i].Pulsation, separator), used});
    }
    AddCaption(note,
               "Коэффициенты ветровой нагрузки по " + std::string(kSourceLoads) +
                   ": k — изменения ветрового давления по высоте, ζ — пульсации давления ветра, "
                   "на высоте до 5 м для типов местности A, B и C, которым отвечает застройка; "
                   "значения расчета выделены:",
               false);
    note.AddTable(std::move(wind));
}

void AddSpanTable(NoteDocument& note, const CalculationOutcome& outcome,
                  const DesignSummary& summary, std::string_view separator)
{
    NoteTable spans;
    spans.Title = "Допустимые пролеты";
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
    const bool outOfScope = outcome.Trace && CondensateOutOfScope(*outcome.Trace);
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const GoverningSpan& governing = summary.Of(rules).Governing;
        if (outOfScope && !governing.Span && governing.Which == Criterion::CondensateSP) {
            note.AddParagraph("Определяющий пролет по " + std::string(RuleSetName(rules)) + ": нет.",
                              true);
            note.AddParagraph(CondensateScopeSentence(*outcome.Trace, separator));
            continue;
        }
        note.AddParagraph("Определяющий пролет по " + std::string(RuleSetName(rules)) + ": " +
                              GoverningText(governing, separator),
                          true);
    }
}

void AddCheck(NoteDocument& note, const CalculationOutcome& outcome, const DesignSummary& summary,
              std::string_view separator)
{
    if (!summary.ChosenSpan) {
        return;
    }
    // Above 300 mm of inner diameter the condensate criterion does not apply: its span of 0 is
    // not a span the chosen one fails.
    const bool outOfScope = outcome.Trace && CondensateOutOfScope(*outcome.Trace);
    const auto applies = [outOfScope](const CriterionCheck& item) {
        return !(outOfScope && item.Which == Criterion::CondensateSP);
    };
    NoteTable check;
    check.Title = "Проверка принятого пролета " + Metres(*summary.ChosenSpan, separator);
    check.Alignment = {CellAlignment::Left, CellAlignment::Left, CellAlignment::Right,
                       CellAlignment::Right, CellAlignment::Left};
    check.WidthPercent = {20, 29, 17, 20, 14};
    check.Rows.push_back({{"Нормы", true}, {"Критерий", true}, {"Допустимый пролет, м", true},
                          {"Принятый к допустимому, %", true}, {"Вывод", true}});
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        for (const CriterionCheck& item : summary.Of(rules).Check->Criteria) {
            const bool valid = item.PermissibleSpan > 0;
            check.Rows.push_back(
                {{std::string(RuleSetName(rules))},
                 {std::string(CriterionLabel(item.Which))},
                 {FormatFixed3(item.PermissibleSpan, separator)},
                 {valid ? FormatPercent(item.Percent, separator) : std::string(kDash)},
                 {applies(item) ? std::string(Verdict(item.Passes)) : std::string("не применяется")}});
        }
    }
    note.AddTable(std::move(check));
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const RuleSetCheck& set = *summary.Of(rules).Check;
        const std::string name(RuleSetName(rules));
        if (rules == RuleSet::SP && outOfScope) {
            bool others = true;
            for (const CriterionCheck& item : set.Criteria) {
                others = others && (!applies(item) || item.Passes);
            }
            note.AddParagraph("По " + name + " условие образования конденсата не применяется "
                              "(внутренний диаметр больше " +
                              FormatGeneral(kSlopeTableLimit, separator) +
                              " мм); по остальным критериям принятый пролет " +
                              std::string(Verdict(others)));
            continue;
        }
        note.AddParagraph("По " + name + " принятый пролет " + std::string(Verdict(set.Passes)));
    }
}

void AddRoute(NoteDocument& note, const DesignSummary& summary, std::string_view separator)
{
    if (!summary.RouteLength) {
        return;
    }
    NoteTable route;
    route.Title = "Опоры на участке трассы длиной " + Metres(*summary.RouteLength, separator);
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
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const RuleSetSummary& set = summary.Of(rules);
        if (set.Route) {
            note.AddParagraph(RouteCountText(rules, *set.Route, summary.SpanCountIndex,
                                             set.Governing.Span, separator) + ".");
        }
    }
}

// "Объект: Газопровод": a paragraph for each field given.
void AddFieldLines(NoteDocument& note,
                   std::initializer_list<std::pair<std::string_view, const std::string*>> lines)
{
    for (const auto& [label, text] : lines) {
        if (!text->empty()) {
            note.AddParagraph(std::string(label) + ": " + *text);
        }
    }
}

}  // namespace

std::string WarningLine(std::string_view warning)
{
    return "Внимание: " + std::string(warning) + ".";
}

namespace parts {

void AddCaption(NoteDocument& note, std::string text, bool bold)
{
    note.Blocks.emplace_back(NoteParagraph{std::move(text), bold, false, true});
}

void AddInputs(NoteDocument& note, const NoteInputs& in, std::string_view heading, bool withPipe)
{
    NoteTable table = ValueTable({62, 26, 12});
    table.Title = "Исходные данные";
    const SelectorIndexes& s = in.Selectors;
    if (withPipe) {
        AddRow(table, "Наружный диаметр трубы", in.Texts.OuterDiameter, "мм");
        AddRow(table, "Толщина стенки трубы", in.Texts.WallThickness, "мм");
    }
    AddRow(table, "Рабочее давление газа", in.Texts.Pressure, "МПа");
    if (FindSteelGrade(in.SteelGrade) != nullptr) {
        AddRow(table, "Марка стали", ItemText(SteelGradeItems(), in.SteelGrade), "");
    }
    AddRow(table, "Предел прочности (временное сопротивление) стали", in.Texts.UltimateStrength,
           "МПа");
    AddRow(table, "Предел текучести стали", in.Texts.YieldStrength, "МПа");
    AddRow(table, "Расположение трубопровода в районе застройки высотой",
           ItemText(HeightCategoryItems(), s.HeightCategory), "");
    AddRow(table, "Район строительства по снеговой нагрузке",
           ItemText(SnowRegionItems(), s.SnowRegion), "");
    AddRow(table, "Район строительства по ветровой нагрузке",
           ItemText(WindRegionItems(), s.WindRegion), "");
    AddRow(table, "Район строительства по гололедной нагрузке",
           ItemText(IceRegionItems(), s.IceRegion), "");
    AddOwnClimateRows(table, in.OwnClimate, in.DecimalSeparator);
    AddRow(table, "Количество пролетов", ItemText(SpanCountItems(), s.SpanCount), "");
    AddRow(table, "Уклон трубопровода", SlopeText(s.Slope, in.DecimalSeparator), "");
    note.AddHeading(std::string(heading));
    note.AddTable(std::move(table));
}

void AddWarnings(NoteDocument& note, const DesignSummary& summary)
{
    // What the inputs leave in doubt stands under them, before any value computed from them.
    for (const std::string& warning : summary.Warnings) {
        note.AddParagraph(WarningLine(warning), true);
    }
}

void AddNormativeValues(NoteDocument& note, const CalculationTrace& tr, const SelectorIndexes& selectors,
                        std::string_view heading, std::string_view separator, bool withSlope,
                        std::optional<double> innerDiameter)
{
    // As the technical sheet shows them, the ice in millimetres.
    const auto value = [separator](long double v) {
        return FormatFixed3(static_cast<double>(v), separator);
    };
    NoteTable table = ValueTable({76, 13, 11});
    table.Title = "Нормативные значения и постоянные коэффициенты";
    AddRow(table, "Нормативный вес снегового покрова", value(tr.SnowSP.Weight), "кН/м²");
    AddRow(table, "Нормативная толщина стенки гололеда",
           FormatSignificant(tr.Ice.Thickness * kMillimetresPerMetre, 7, separator), "мм");
    AddRow(table, "Нормативное ветровое давление", value(tr.Wind.Pressure), "кПа");
    AddRow(table, "Коэффициент изменения ветрового давления по высоте",
           value(tr.Wind.Factors.Height), "");
    AddRow(table, "Коэффициент пульсации давления ветра", value(tr.Wind.Factors.Pulsation), "");
    if (withSlope) {
        AddRow(table, "Коэффициент, учитывающий уклон трубопровода",
               value(tr.Condensate.Coefficient), "");
    }
    AddRow(table, "Коэффициент числа пролетов", value(tr.DynamicSP.Coefficient), "");
    const std::string snip = " (" + std::string(RuleSetName(RuleSet::SNiP)) + ")";
    const std::pair<std::string_view, long double> factors[] = {
        {"Коэффициент надежности по нагрузке от собственного веса", kOwnWeightFactorSNiP},
        {"Коэффициент надежности по внутреннему давлению газа", kPressureFactorSNiP},
        {"Коэффициент надежности по нагрузке от снега", kSnowLoadFactorSNiP},
        {"Коэффициент надежности по нагрузке от гололеда", kIceLoadFactorSNiP},
        {"Коэффициент надежности по материалу трубы", kMaterialFactorSNiP},
        {"Коэффициент условий работы трубопровода", kWorkingConditionFactorSNiP},
    };
    for (const auto& [label, factor] : factors) {
        AddRow(table, std::string(label) + snip, value(factor), "");
    }
    note.AddHeading(std::string(heading));
    note.AddTable(std::move(table));
    AddCoefficientTables(note, selectors, separator, innerDiameter);
}

void AddLoads(NoteDocument& note, const CalculationOutcome& outcome, std::string_view heading,
              std::string_view separator)
{
    const LoadSummary& l = outcome.Loads;
    const double pressure = outcome.Trace ? outcome.Trace->Input.Pressure : 0;
    NoteTable table;
    table.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Right};
    table.WidthPercent = {50, 25, 25};
    table.Rows.push_back({{"Величина", true},
                          {"по " + std::string(RuleSetName(RuleSet::SP)), true},
                          {"по " + std::string(RuleSetName(RuleSet::SNiP)), true}});
    const auto shown = [separator](const std::optional<double>& v) {
        return v ? FormatFixed3(*v, separator) : std::string(kDash);
    };
    const auto add = [&](std::string_view label, const std::optional<double>& sp,
                         const std::optional<double>& snip) {
        table.Rows.push_back({{std::string(label)}, {shown(sp)}, {shown(snip)}});
    };
    // The loads of the pipe, the gas and the climate are normative; their combinations are the
    // design loads: by SP without factors, by SNiP with the load factors of its step.
    add("Вес трубы (нормативный), Н/м", l.PipeWeight, l.PipeWeight);
    add("Вес газа (нормативный), Н/м", l.GasWeightSP, l.GasWeightSNiP);
    add("Снеговая нагрузка (нормативная), Н/м", l.SnowLoadSP, l.SnowLoadSNiP);
    add("Гололедная нагрузка (нормативная), Н/м", l.IceLoad, l.IceLoad);
    add("Ветровая нагрузка (нормативная), Н/м", l.WindLoad, std::nullopt);
    add("Вертикальная нагрузка (расчетная), Н/м", l.VerticalLoadSP, std::nullopt);
    add("Расчетная нагрузка, Н/м", l.TotalLoadSP, l.TotalLoadSNiP);
    add("Допускаемое напряжение, МПа", l.AllowableStressSP, l.AllowableStressSNiP);
    add("Рабочее давление газа, МПа", pressure, pressure);
    table.Title = "Нагрузки на 1 м трубы и допускаемые напряжения";
    note.AddHeading(std::string(heading));
    note.AddTable(std::move(table));
    const std::string n = "n = " + FormatGeneral(kOwnWeightFactorSNiP, separator) + "; " +
                          FormatGeneral(kPressureFactorSNiP, separator) + "; " +
                          FormatGeneral(kSnowLoadFactorSNiP, separator) + "; " +
                          FormatGeneral(kIceLoadFactorSNiP, separator);
    note.AddParagraph("Нормативные нагрузки взяты без коэффициентов надежности по нагрузке. Расчетная "
                      "нагрузка по " + std::string(RuleSetName(RuleSet::SP)) +
                      " — их сочетание без коэффициентов (вертикальная и ветровая), по " +
                      std::string(RuleSetName(RuleSet::SNiP)) +
                      " — сочетание с коэффициентами надежности по нагрузке от собственного веса, "
                      "давления газа, снега и гололеда " + n + " (раздел «Расчет»).");
}

void AddResults(NoteDocument& note, const CalculationOutcome& outcome, const DesignSummary& summary,
                std::string_view heading, std::string_view supportsHeading, std::string_view separator)
{
    note.AddHeading(std::string(heading));
    AddSpanTable(note, outcome, summary, separator);
    AddCheck(note, outcome, summary, separator);
    AddRoute(note, summary, separator);
    AddSupportLoadsNote(note, summary, separator, supportsHeading);
}

NoteTitleBlock TitleBlockOf(const NoteInputs& inputs, std::string_view documentName)
{
    return DocumentTitleBlock(inputs.Document, documentName, inputs.DateTime);
}

void AddOpening(NoteDocument& note, const NoteInputs& inputs, std::string_view title)
{
    note.Title = title;
    note.Orientation = PageOrientation::Portrait;
    if (inputs.Framed) {
        note.TitleBlock = TitleBlockOf(inputs, title);
    } else {
        // Without a title block the fields that describe the document open the text.
        const DocumentFields& fields = inputs.Document;
        AddFieldLines(note, {{"Организация", &fields.Organization},
                             {"Объект", &fields.Object},
                             {"Обозначение документа", &fields.Designation},
                             {"Стадия", &fields.Stage}});
    }
    note.AddParagraph("Дата и время расчета: " + inputs.DateTime + ". Программа: " +
                      inputs.Program + ".");
}

void AddClosing(NoteDocument& note, const NoteInputs& inputs, const std::vector<std::string>& more)
{
    note.AddParagraph(
        "Расчет выполнен по СП 42-102-2004 «Проектирование и строительство газопроводов из "
        "металлических труб» и СНиП 2.04.12-86 «Расчет на прочность стальных трубопроводов»; "
        "предельный прогиб принят равным 1/" +
        FormatSignificant(1 / kDeflectionLimitRatio, 7, inputs.DecimalSeparator) + " пролета" +
        (std::find(more.begin(), more.end(), kForceMethodSource) != more.end()
             ? "; компенсация температурных деформаций — по методу и с допущениями, названными в ее "
               "разделе."
             : "."));
    AddLiterature(note, inputs.OwnClimate, more);
    if (!inputs.Framed) {
        // The names close the text and stand on the sheet of its last line.
        const std::size_t last = note.Blocks.size() - 1;
        const DocumentFields& fields = inputs.Document;
        AddFieldLines(note, {{"Разработал", &fields.Author},
                             {"Проверил", &fields.Checker},
                             {"Нормоконтроль", &fields.NormControl},
                             {"Главный инженер проекта", &fields.ChiefEngineer}});
        for (std::size_t i = last; i + 1 < note.Blocks.size(); ++i) {
            std::get<NoteParagraph>(note.Blocks[i]).KeepWithNext = true;
        }
    }
}

std::string CheckVerdict(const CalculationOutcome& outcome, const DesignSummary& summary, RuleSet rules)
{
    const RuleSetCheck& set = *summary.Of(rules).Check;
    const bool outOfScope = outcome.Trace && CondensateOutOfScope(*outcome.Trace);
    bool passes = true;
    for (const CriterionCheck& item : set.Criteria) {
        passes = passes && (item.Passes || (outOfScope && item.Which == Criterion::CondensateSP));
    }
    return std::string(Verdict(passes));
}

std::vector<std::string> AddSections(NoteDocument& note, std::span<const NoteSection> sections)
{
    std::vector<std::string> sources;
    for (const NoteSection& section : sections) {
        note.Blocks.insert(note.Blocks.end(), section.Blocks.begin(), section.Blocks.end());
        for (const std::string& source : section.Sources) {
            if (std::find(sources.begin(), sources.end(), source) == sources.end()) {
                sources.push_back(source);
            }
        }
    }
    return sources;
}

NoteDocument OnePipeNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                         const DesignSummary& summary, std::span<const NoteSection> more)
{
    const std::string_view separator = inputs.DecimalSeparator;
    NoteDocument note;
    AddOpening(note, inputs, kNoteTitle);
    AddInputs(note, inputs, "Исходные данные", true);
    AddWarnings(note, summary);
    if (outcome.Trace) {
        AddNormativeValues(note, *outcome.Trace, inputs.Selectors, "Нормативные значения и коэффициенты",
                           separator, true, outcome.Trace->Condensate.InnerDiameter);
    }
    AddLoads(note, outcome, "Нагрузки и допускаемые напряжения", separator);
    if (outcome.Trace) {
        MethodOptions method;
        method.Scheme = BuildCalculationScheme(inputs.Selectors.SpanCount, SchemeLoadsOf(summary),
                                               "Рис. 1. Расчетная схема", separator);
        method.OwnClimate = inputs.OwnClimate;
        AddCalculationMethod(note, *outcome.Trace, separator, method);
    }
    AddResults(note, outcome, summary, "Результаты", "Нагрузки на опоры", separator);
    for (const CompensationNoteSection& section : inputs.Compensation) {
        AddCompensationNote(note, section.Result, separator, section.Drawing);
    }
    std::vector<std::string> sources = AddSections(note, more);
    if (!inputs.Compensation.empty()) {
        sources.emplace_back(kForceMethodSource);
    }
    AddClosing(note, inputs, sources);
    FinishNote(note);
    return note;
}

}  // namespace parts

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
    return parts::OnePipeNote(inputs, outcome, summary, {});
}

NoteDocument BuildCalculationNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                                  const DesignSummary& summary, std::span<const NoteSection> more)
{
    return parts::OnePipeNote(inputs, outcome, summary, more);
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
            const std::string item =
                route->SpanCountIndex >= 0
                    ? " при количестве пролетов «" +
                          std::string(SpanCountItems()[static_cast<std::size_t>(route->SpanCountIndex)]) + "»"
                    : std::string();
            lines.push_back("  " + name + ", пролет " + Metres(route->Span, separator) + item +
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
