#include "korvelin/PipesNote.h"

#include "NoteParts.h"

#include "korvelin/CalculationMethod.h"
#include "korvelin/CalculationScheme.h"
#include "korvelin/CompensationDrawing.h"
#include "korvelin/FaultExplanation.h"
#include "korvelin/NoteTypography.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/SpanTableNote.h"

#include <algorithm>
#include <array>
#include <string>

namespace korvelin {
namespace {

constexpr std::string_view kDash = "—";

std::string Metres(double value, std::string_view separator)
{
    return FormatFixed3(value, separator) + " м";
}

// The numbered headings of the note, the number without a full stop after it: "3 Труба 57×3",
// "3.2 Расчет".
class Sections {
public:
    std::string Next(std::string_view text)
    {
        ++Number;
        Sub = 0;
        return std::to_string(Number) + " " + std::string(text);
    }
    std::string Nested(std::string_view text)
    {
        ++Sub;
        return NestedNumber() + " " + std::string(text);
    }
    // The number of the last nested heading: "3.2".
    std::string NestedNumber() const { return std::to_string(Number) + "." + std::to_string(Sub); }

private:
    int Number = 0;
    int Sub = 0;
};

const PipeDesign* FirstComputed(std::span<const PipeDesign> pipes)
{
    const auto found = std::find_if(pipes.begin(), pipes.end(), [](const PipeDesign& pipe) {
        return pipe.Row.Completed() && pipe.Summary && pipe.Row.Outcome.Trace;
    });
    return found == pipes.end() ? nullptr : &*found;
}

// One pipe's part: its size, loads, scheme and "Расчет", results and loads on its supports, then
// the sections between fixed supports computed with this pipe.
void AddPipe(NoteDocument& note, Sections& sections, const NoteInputs& inputs, const PipeDesign& pipe)
{
    const std::string_view separator = inputs.DecimalSeparator;
    const std::string size = PipeSizeText(pipe.Row.Size, separator);
    note.AddHeading(sections.Next("Труба " + size));
    const std::string dimensions = "Наружный диаметр D = " +
                                   TypedNumberText(pipe.Row.Size.OuterDiameter, separator) +
                                   " мм, толщина стенки t = " +
                                   TypedNumberText(pipe.Row.Size.WallThickness, separator) + " мм.";
    const CalculationOutcome& outcome = pipe.Row.Outcome;
    if (!pipe.Row.Completed() || !pipe.Summary || !outcome.Trace) {
        note.AddParagraph(dimensions);
        note.AddParagraph("Расчет не выполнен: " + pipe.Row.Message);
        return;
    }
    note.AddParagraph(dimensions + " Коэффициент, учитывающий уклон трубопровода, c = " +
                      FormatFixed3(outcome.Trace->Condensate.Coefficient, separator) + ".");
    parts::AddLoads(note, outcome, sections.Nested("Нагрузки и допускаемые напряжения"), separator);
    MethodOptions method;
    method.Heading = sections.Nested("Расчет");
    method.SectionNumber = sections.NestedNumber();
    method.Scheme = BuildCalculationScheme(inputs.Selectors.SpanCount, SchemeLoadsOf(*pipe.Summary),
                                           "Расчетная схема трубы " + size, separator);
    method.OwnClimate = inputs.OwnClimate;
    AddCalculationMethod(note, *outcome.Trace, separator, method);
    const std::string results = sections.Nested("Результаты");
    parts::AddResults(note, outcome, *pipe.Summary, results, sections.Nested("Нагрузки на опоры"),
                      separator);
    const CompensationRun run = PipeCompensation(inputs, pipe);
    if (!run.Ok()) {
        note.AddHeading(sections.Nested("Компенсация температурных деформаций, труба " + size + " мм"));
        note.AddParagraph("Компенсация не рассчитана: " + run.Message);
        return;
    }
    for (const CompensationNoteSection& section : CompensationNoteSections(run, separator)) {
        AddCompensationNote(note, section.Result, separator, section.Drawing,
                            sections.Nested(CompensationNoteHeading(section.Result, separator)));
    }
}

// The check of the chosen span for every pipe.
void AddChecks(NoteDocument& note, std::span<const PipeDesign> pipes, double chosen,
               std::string_view separator)
{
    NoteTable table;
    table.Title = "Проверка принятого пролета " + Metres(chosen, separator);
    table.Alignment = {CellAlignment::Left, CellAlignment::Left, CellAlignment::Left};
    table.WidthPercent = {30, 35, 35};
    table.Rows.push_back({{"Труба, мм", true},
                          {"По " + std::string(RuleSetName(RuleSet::SP)), true},
                          {"По " + std::string(RuleSetName(RuleSet::SNiP)), true}});
    for (const PipeDesign& pipe : pipes) {
        std::vector<NoteCell> row = {{PipeSizeText(pipe.Row.Size, separator)}};
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            row.push_back({pipe.Summary && pipe.Summary->Of(rules).Check
                               ? parts::CheckVerdict(pipe.Row.Outcome, *pipe.Summary, rules)
                               : std::string(kDash)});
        }
        table.Rows.push_back(std::move(row));
    }
    note.AddTable(std::move(table));
}

// The supports of the route for every pipe: intermediate supports and their spacing at each
// set's governing span and at the chosen span.
void AddRoutes(NoteDocument& note, std::span<const PipeDesign> pipes, double length, bool chosen,
               std::string_view separator)
{
    NoteTable table;
    table.Title = "Опоры на участке трассы длиной " + Metres(length, separator) +
                  ": промежуточных опор и шаг опор, м";
    std::vector<NoteCell> header = {{"Труба, мм", true}};
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        header.push_back({std::string(rules == RuleSet::SP ? "По СП: опор" : "По СНиП: опор"), true});
        header.push_back({"шаг, м", true});
    }
    if (chosen) {
        header.push_back({"При принятом пролете: опор", true});
        header.push_back({"шаг, м", true});
    }
    table.Alignment.assign(header.size(), CellAlignment::Right);
    table.Alignment[0] = CellAlignment::Left;
    table.WidthPercent = chosen ? std::vector<int>{16, 16, 12, 16, 12, 16, 12}
                                : std::vector<int>{22, 22, 17, 22, 17};
    table.Rows.push_back(std::move(header));
    const auto add = [](std::vector<NoteCell>& row, const std::optional<RouteSupports>& route,
                        std::string_view separator) {
        row.push_back({route ? std::to_string(route->IntermediateSupports) : std::string(kDash)});
        row.push_back({route ? FormatFixed3(route->Spacing, separator) : std::string(kDash)});
    };
    for (const PipeDesign& pipe : pipes) {
        std::vector<NoteCell> row = {{PipeSizeText(pipe.Row.Size, separator)}};
        const std::optional<DesignSummary>& s = pipe.Summary;
        add(row, s ? s->SP.Route : std::nullopt, separator);
        add(row, s ? s->SNiP.Route : std::nullopt, separator);
        if (chosen) {
            add(row, s ? s->ChosenRoute : std::nullopt, separator);
        }
        table.Rows.push_back(std::move(row));
    }
    note.AddTable(std::move(table));
}

void AddPipesTable(NoteDocument& note, Sections& sections, std::span<const PipeDesign> pipes,
                   const DesignSummary& any, std::string_view separator)
{
    note.AddHeading(sections.Next("Сводная таблица труб"));
    std::vector<SpanTableRow> rows;
    rows.reserve(pipes.size());
    for (const PipeDesign& pipe : pipes) {
        rows.push_back(pipe.Row);
    }
    std::vector<std::string> notes;
    parts::AddCaption(note, "Определяющий пролет каждого свода правил выделен в столбце его критерия.",
                      false);
    NoteTable table = SpanTableOfRows(rows, separator, notes);
    table.Title = "Допустимые пролеты труб, м";
    // The columns of a portrait sheet: the names of the rules short, the standards whole.
    const std::array<std::string_view, 9> headers = {
        "Труба, мм", "СП: стат. расчет", "СП: дин. расчет", "СП: конденсат", "СП: прогиб",
        "СНиП: стат. расчет", "СНиП: прогиб", "Опред. пролет по СП", "Опред. пролет по СНиП"};
    for (std::size_t i = 0; i < headers.size() && i < table.Rows[0].size(); ++i) {
        table.Rows[0][i].Text = headers[i];
    }
    table.WidthPercent = {10, 10, 10, 13, 10, 10, 10, 13, 14};
    note.AddTable(std::move(table));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        note.AddParagraph("Примечание " + std::to_string(i + 1) + ". " + notes[i]);
    }
    if (any.ChosenSpan) {
        AddChecks(note, pipes, *any.ChosenSpan, separator);
    }
    if (any.RouteLength) {
        AddRoutes(note, pipes, *any.RouteLength, any.ChosenSpan.has_value(), separator);
    }
}

}  // namespace

bool HasPipesNote(std::span<const PipeDesign> pipes) { return FirstComputed(pipes) != nullptr; }

CompensationRun PipeCompensation(const NoteInputs& inputs, const PipeDesign& pipe)
{
    const CalculationOutcome& outcome = pipe.Row.Outcome;
    if (inputs.PipesCompensation.Sections.empty() || !pipe.Row.Completed() || !outcome.Input) {
        return {};
    }
    return RunCompensation(inputs.PipesCompensation, outcome.Input->OuterDiameter,
                           outcome.Input->WallThickness, inputs.Friction, CompensationLoadsOf(outcome),
                           inputs.DecimalSeparator);
}

NoteDocument BuildPipesNote(const NoteInputs& inputs, std::span<const PipeDesign> pipes,
                            std::span<const NoteSection> more)
{
    const PipeDesign* first = FirstComputed(pipes);
    if (pipes.size() == 1 && first != nullptr) {
        NoteInputs one = inputs;
        one.Texts.OuterDiameter = first->Row.Size.OuterDiameter;
        one.Texts.WallThickness = first->Row.Size.WallThickness;
        const CompensationRun run = PipeCompensation(inputs, *first);
        one.Compensation = CompensationNoteSections(run, inputs.DecimalSeparator);
        return parts::OnePipeNote(one, first->Row.Outcome, *first->Summary, more);
    }
    const std::string_view separator = inputs.DecimalSeparator;
    NoteDocument note;
    parts::AddOpening(note, inputs, kPipesNoteTitle);
    std::string list;
    for (const PipeDesign& pipe : pipes) {
        list += list.empty() ? "" : ", ";
        list += PipeSizeText(pipe.Row.Size, separator);
    }
    note.AddParagraph("Трубы (наружный диаметр × толщина стенки, мм): " + list + ".");

    Sections sections;
    parts::AddInputs(note, inputs, sections.Next("Общие условия расчета"), false);
    if (first != nullptr) {
        // The warnings are on the common conditions (the steel), alike for every pipe.
        parts::AddWarnings(note, *first->Summary);
    }
    if (first != nullptr) {
        // The normative values and coefficients are the same for every pipe but the slope
        // coefficient, which each pipe's part gives.
        parts::AddNormativeValues(note, *first->Row.Outcome.Trace, inputs.Selectors,
                                  sections.Next("Нормативные значения и коэффициенты"), separator,
                                  false, std::nullopt);
    }
    for (const PipeDesign& pipe : pipes) {
        AddPipe(note, sections, inputs, pipe);
    }
    if (first != nullptr) {
        AddPipesTable(note, sections, pipes, *first->Summary, separator);
    }
    std::vector<std::string> sources = parts::AddSections(note, more);
    if (!inputs.PipesCompensation.Sections.empty()) {
        sources.emplace_back(kForceMethodSource);
    }
    parts::AddClosing(note, inputs, sources);
    FinishNote(note);
    return note;
}

}  // namespace korvelin
