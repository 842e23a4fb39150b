#pragma once

// The span table: the permissible spans of a list of pipe sizes under one set of conditions
// (pressure, steel, regions, height, number of spans, slope), the texts that name those
// conditions, and the table as CSV and as a printable document.

#include "korvelin/DesignSummary.h"
#include "korvelin/NoteDocument.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/SpanInput.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// A pipe of the table: outer diameter and wall in millimetres, as typed (the decimal mark may be
// a comma or a full stop).
struct PipeSize {
    std::string OuterDiameter;
    std::string WallThickness;
    bool operator==(const PipeSize&) const = default;
};

// The starting list of the table: steel pipes most used for above-ground gas pipelines up to an
// inner diameter of 300 mm. An editable starting point, not a standard.
std::vector<PipeSize> DefaultPipeSizes();

// "89×3", "159×4,5": the two texts with the given decimal separator.
std::string PipeSizeText(const PipeSize& size, std::string_view decimalSeparator);

// Everything of a run but the pipe: the main window's other inputs at the moment. The diameter
// and wall of Texts are ignored.
struct SpanTableConditions {
    FieldTexts Texts;
    SelectorIndexes Selectors;
    int SteelGrade = -1;  // the steel grade's item; not named when outside the list
    std::string DecimalSeparator = ",";
    OwnClimateTexts OwnClimate;  // the site's own values in force, read with DecimalSeparator
};

struct SpanTableRow {
    PipeSize Size;
    // A completed run, or the refusal or error to show in the row instead of spans: a blank
    // size, the run's own messages, or kDiameterLimitMessage for an inner diameter above 300 mm.
    CalculationOutcome Outcome;
    GoverningSpan GoverningSP;    // meaningful only for a completed run
    GoverningSpan GoverningSNiP;  // meaningful only for a completed run
    bool Completed() const { return Outcome.Kind == OutcomeKind::Completed; }
};

// One row; runs without the intermediate report, so that a long table recomputes at once.
SpanTableRow ComputeSpanTableRow(const PipeSize& size, const SpanTableConditions& conditions);
std::vector<SpanTableRow> ComputeSpanTable(std::span<const PipeSize> sizes,
                                           const SpanTableConditions& conditions);

// The criterion in two words for the columns of a table: "статический расчет", "динамический
// расчет", "конденсат", "прогиб".
std::string_view CriterionShortName(Criterion criterion);

// The conditions as short lines: pressure; steel and strengths; height of buildings; snow,
// wind and ice regions; number of spans and slope; the own climatic values when in force.
std::vector<std::string> SpanTableConditionLines(const SpanTableConditions& conditions);

// The table for spreadsheets: a UTF-8 byte-order mark, a header line, one line per row, lines
// ended by CR LF. Columns: outer_diameter_mm;wall_mm, then korvelin-calc's batch columns; numbers
// with the given decimal separator.
std::string SpanTableCsv(std::span<const SpanTableRow> rows, std::string_view decimalSeparator);

inline constexpr std::string_view kSpanTableTitle = "Таблица допустимых пролетов";

// The table on A4 landscape: the title, the date and the program, the conditions, the table (a
// row that was not computed refers to its note below the table) and the notes.
NoteDocument BuildSpanTableNote(std::span<const SpanTableRow> rows,
                                const SpanTableConditions& conditions,
                                std::string_view dateTime, std::string_view program);

}  // namespace korvelin
