#pragma once

// The span table: the permissible spans of a list of pipe sizes under one set of conditions
// (pressure, steel, regions, height, number of spans, slope), the texts that name those
// conditions, and the table as CSV (its printable document is in the note's content).

#include "korvelin/DesignSummary.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/SpanInput.h"

#include <array>
#include <optional>
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
    // size or the run's own messages. A pipe above the inner diameter of the condensate
    // criterion is computed: its SP governing span is absent with the reason.
    CalculationOutcome Outcome;
    // The refusal or error as the table shows it: the outcome's message with its cause where
    // the program knows it (the empty cell, the field that reads as zero, the fault's cause).
    std::string Message;
    GoverningSpan GoverningSP;    // meaningful only for a completed run
    GoverningSpan GoverningSNiP;  // meaningful only for a completed run
    bool Completed() const { return Outcome.Kind == OutcomeKind::Completed; }
};

// One row; runs without the intermediate report, so that a long table recomputes at once, unless
// the report (and with it the trace of every formula) is asked for.
SpanTableRow ComputeSpanTableRow(const PipeSize& size, const SpanTableConditions& conditions,
                                 ReportMode reportMode = ReportMode::Omitted);
std::vector<SpanTableRow> ComputeSpanTable(std::span<const PipeSize> sizes,
                                           const SpanTableConditions& conditions);

// A pipe of a project's note of several pipes: its row computed with the report and the trace,
// and its design summary (governing spans, the check of the chosen span, the route, the loads on
// the supports) when it completed.
struct PipeDesign {
    SpanTableRow Row;
    std::optional<DesignSummary> Summary;
};
std::vector<PipeDesign> DesignPipes(std::span<const PipeSize> sizes,
                                    const SpanTableConditions& conditions,
                                    const SummaryRequest& request);

// The headers of the table's columns as the window shows them, lines broken with "\n": outer
// diameter and wall, the six spans in the order of the two pages, then the governing span and its
// criterion by SP and by SNiP.
std::span<const std::string_view> SpanTableHeaders();

// The optional columns of the loads on the supports: for SP, then SNiP, the vertical load, the
// wind load and the friction force on the most loaded support (an intermediate one; the end one
// of a single span) at the set's governing span, N.
inline constexpr std::size_t kSupportColumnsPerSet = 3;
std::span<const std::string_view> SpanTableSupportHeaders();
// Those loads of a row with the coefficient of friction (none: no friction); empty values where
// the row has no governing span.
std::array<std::optional<double>, 2 * kSupportColumnsPerSet> SpanTableSupportLoads(
    const SpanTableRow& row, std::optional<double> friction);

// The criterion in two words for the columns of a table: "статический расчет", "динамический
// расчет", "конденсат", "прогиб".
std::string_view CriterionShortName(Criterion criterion);

// The conditions as short lines: pressure; steel and strengths; height of buildings; snow,
// wind and ice regions; number of spans and slope; the own climatic values when in force.
std::vector<std::string> SpanTableConditionLines(const SpanTableConditions& conditions);

// The table for spreadsheets as the window shows it: a UTF-8 byte-order mark; the title and the
// conditions of the calculation, a line each; an empty line; the window's column headers and
// "Примечание"; one line per row, the note holding the message of a row not computed. Fields
// separated by ";", lines ended by CR LF, numbers with the conditions' decimal separator. With
// `supports`, the columns of the loads on the supports follow the governing spans, with that
// coefficient of friction.
struct SpanTableSupportColumns {
    std::optional<double> Friction;
};
std::string SpanTableCsv(std::span<const SpanTableRow> rows, const SpanTableConditions& conditions,
                         const SpanTableSupportColumns* supports = nullptr);

inline constexpr std::string_view kSpanTableTitle = "Таблица допустимых пролетов";

}  // namespace korvelin
