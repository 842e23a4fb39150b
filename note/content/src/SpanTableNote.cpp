#include "korvelin/SpanTableNote.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/NumberFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace korvelin {
namespace {

constexpr std::string_view kDash = "—";

// The window's columns of the loads on the supports as a table of their own beside each pipe: in
// the spans' table they would leave no column room for its headers.
void AddSupportLoads(NoteDocument& note, std::span<const SpanTableRow> rows,
                     const SpanTableSupportColumns& supports, std::string_view separator,
                     bool keepWithNext)
{
    NoteTable table;
    table.HeaderRows = 1;
    table.KeepWithNext = true;
    table.Alignment.assign(1 + 2 * kSupportColumnsPerSet, CellAlignment::Right);
    table.Alignment[0] = CellAlignment::Left;
    table.WidthPercent = {16, 14, 14, 14, 14, 14, 14};
    std::vector<NoteCell> header = {{"Труба, мм", true}};
    for (const std::string_view text : SpanTableSupportHeaders()) {
        header.push_back({std::string(text), true});
    }
    table.Rows.push_back(std::move(header));
    for (const SpanTableRow& row : rows) {
        std::vector<NoteCell> cells = {{PipeSizeText(row.Size, separator)}};
        for (const std::optional<double>& load : SpanTableSupportLoads(row, supports.Friction)) {
            cells.push_back({load ? FormatFixed3(*load, separator) : std::string(kDash)});
        }
        table.Rows.push_back(std::move(cells));
    }
    note.AddHeading("Нагрузки на опоры при определяющих пролетах, Н");
    note.AddTable(std::move(table));
    note.Blocks.emplace_back(NoteParagraph{
        "На наиболее нагруженную опору (промежуточную, при одном пролете — крайнюю): "
        "вертикальная k·q·L, от ветра k·w·L" +
            (supports.Friction ? ", трение μ·k·q·L при μ = " + FormatGeneral(*supports.Friction, separator) + "."
                               : std::string("; коэффициент трения не задан.")),
        false, false, keepWithNext});
}

}  // namespace

NoteTable SpanTableOfRows(std::span<const SpanTableRow> rows, std::string_view separator,
                          std::vector<std::string>& notes)
{
    NoteTable table;
    table.HeaderRows = 1;
    table.KeepWithNext = true;
    table.Alignment.assign(9, CellAlignment::Right);
    table.Alignment[0] = CellAlignment::Left;
    table.WidthPercent = {8, 11, 12, 11, 10, 11, 10, 13, 14};
    std::vector<NoteCell> header = {{"Труба, мм", true}};
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const std::string_view shortName = rules == RuleSet::SP ? "СП" : "СНиП";
        for (const Criterion criterion : CriteriaOf(rules)) {
            header.push_back({std::string(shortName) + ": " +
                                  std::string(CriterionShortName(criterion)) + ", м",
                              true});
        }
    }
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        header.push_back({"Определяющий пролет по " + std::string(RuleSetName(rules)) + ", м", true});
    }
    table.Rows.push_back(std::move(header));

    const auto referTo = [&notes](std::string text) {
        notes.push_back(std::move(text));
        return "см. прим. " + std::to_string(notes.size());
    };
    for (const SpanTableRow& row : rows) {
        const std::string size = PipeSizeText(row.Size, separator);
        std::vector<NoteCell> cells = {{size}};
        if (!row.Completed()) {
            cells.push_back({referTo(size + ": " + row.Message)});
            cells.resize(9, NoteCell{std::string(kDash)});
            table.Rows.push_back(std::move(cells));
            continue;
        }
        // The governing span of each set stands in bold in its criterion's column.
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const GoverningSpan& governing =
                rules == RuleSet::SP ? row.GoverningSP : row.GoverningSNiP;
            for (const Criterion criterion : CriteriaOf(rules)) {
                const std::optional<double> span = SpanOf(row.Outcome.Spans, criterion);
                cells.push_back({span ? FormatFixed3(*span, separator) : std::string(kDash),
                                 governing.Span && governing.Which == criterion});
            }
        }
        for (const GoverningSpan* governing : {&row.GoverningSP, &row.GoverningSNiP}) {
            cells.push_back({governing->Span ? FormatFixed3(*governing->Span, separator)
                                             : "нет, " + referTo(size + ", " +
                                                                 std::string(RuleSetName(governing->Rules)) +
                                                                 ": " + governing->Reason),
                             true});
        }
        table.Rows.push_back(std::move(cells));
    }
    return table;
}

NoteDocument BuildSpanTableNote(std::span<const SpanTableRow> rows,
                                const SpanTableConditions& conditions,
                                std::string_view dateTime, std::string_view program,
                                const SpanTableSupportColumns* supports,
                                const DocumentFields& document)
{
    const std::string_view separator = conditions.DecimalSeparator;
    NoteDocument note =
        LandscapeTableNote(std::string(kSpanTableTitle) + " надземного газопровода", document, dateTime, program);
    note.AddHeading("Условия расчета");
    for (std::string& line : SpanTableConditionLines(conditions)) {
        note.AddParagraph(std::move(line));
    }

    // What a cell cannot hold goes to the notes below the table, the cell refers to it.
    std::vector<std::string> notes;
    NoteTable table = SpanTableOfRows(rows, separator, notes);
    note.AddHeading("Допустимые пролеты, м");
    note.AddTable(std::move(table));
    // The columns' short names, with the labels of the result fields they stand for.
    std::string legend;
    for (const Criterion criterion : CriteriaOf(RuleSet::SP)) {
        const std::string_view label = CriterionLabel(criterion);
        legend += legend.empty() ? "" : "; ";
        legend += std::string(CriterionShortName(criterion)) + " — " +
                  std::string(label.substr(label.find("исходя")));
    }
    // The explanation stands on the table's sheet, and so do the notes when they fit it; with
    // the loads, the notes keep with the loads' table instead, which may begin a sheet.
    note.Blocks.emplace_back(NoteParagraph{"Пролеты в столбцах: " + legend +
                                               ". Определяющий пролет каждого свода правил выделен в "
                                               "столбце его критерия.",
                                           false, false, supports == nullptr && !notes.empty()});
    if (supports != nullptr) {
        AddSupportLoads(note, rows, *supports, separator, !notes.empty());
    }
    if (!notes.empty()) {
        note.AddHeading("Примечания");
        for (std::size_t i = 0; i < notes.size(); ++i) {
            note.Blocks.emplace_back(NoteParagraph{std::to_string(i + 1) + ". " + notes[i], false,
                                                   false, i + 1 < notes.size()});
        }
    }
    return note;
}

}  // namespace korvelin
