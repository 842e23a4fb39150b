#pragma once

// The parts of the calculation note that the note of one pipe and the note of several pipes
// share: each adds its blocks to the document. Internal to the library.

#include "korvelin/CalculationNote.h"
#include "korvelin/PipesNote.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin::parts {

// The table of the inputs under `heading`: the pipe's diameter and wall when `withPipe`, then the
// pressure, steel, regions, own values, number of spans and slope.
void AddInputs(NoteDocument& note, const NoteInputs& inputs, std::string_view heading, bool withPipe);

// The summary's warnings on the inputs (an impossible steel), each in bold.
void AddWarnings(NoteDocument& note, const DesignSummary& summary);

// Under `heading`, the normative values the run read from its tables and the fixed coefficients
// of the rules
// (the slope coefficient only when `withSlope`: it depends on the pipe), then the tables of the
// coefficients with the row used in bold. `innerDiameter` (mm) picks the column of the slope
// coefficient; without it the column of the slope is bold in both rows.
void AddNormativeValues(NoteDocument& note, const CalculationTrace& trace, const SelectorIndexes& selectors,
                        std::string_view heading, std::string_view separator, bool withSlope,
                        std::optional<double> innerDiameter);

// The loads and allowable stresses of both rules, as the window shows them.
void AddLoads(NoteDocument& note, const CalculationOutcome& outcome, std::string_view heading,
              std::string_view separator);

// The six spans with the governing ones, the check of the chosen span and the supports of the
// route under `heading`, then the loads on the supports under `supportsHeading`.
void AddResults(NoteDocument& note, const CalculationOutcome& outcome, const DesignSummary& summary,
                std::string_view heading, std::string_view supportsHeading, std::string_view separator);

// "проходит" or "не проходит": the chosen span against the criteria of a set that apply to the
// pipe (above 300 mm of inner diameter the condensate criterion does not).
std::string CheckVerdict(const CalculationOutcome& outcome, const DesignSummary& summary, RuleSet rules);

// A line that heads the table after it and stays on its sheet, bold or not.
void AddCaption(NoteDocument& note, std::string text, bool bold);

// The sheets' title block from the document fields, with the document's name.
NoteTitleBlock TitleBlockOf(const NoteInputs& inputs, std::string_view documentName);

// The opening of the note: the title block, or the fields in the text; the date and program.
void AddOpening(NoteDocument& note, const NoteInputs& inputs, std::string_view title);

// The closing of the note: the closing line, the list "Литература" (the own sources, then `more`)
// and, without a title block, the names, which stand on the sheet of the last line.
void AddClosing(NoteDocument& note, const NoteInputs& inputs, const std::vector<std::string>& more);

// The blocks of the sections, in order; returns their sources, in order, each once.
std::vector<std::string> AddSections(NoteDocument& note, std::span<const NoteSection> sections);

// The note of one pipe, with the sections before its closing line.
NoteDocument OnePipeNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                         const DesignSummary& summary, std::span<const NoteSection> more);

}  // namespace korvelin::parts
