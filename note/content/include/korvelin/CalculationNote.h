#pragma once

// The calculation note: one builder of its content for the PDF, the printout and korvelin-calc,
// and the texts of the design summary that the window, the note and korvelin-calc share.

#include "korvelin/CompensationNote.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/DocumentFields.h"
#include "korvelin/NoteDocument.h"
#include "korvelin/OwnClimate.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/SpanInput.h"
#include "korvelin/SupportLoads.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

struct NoteSection;

// What the note says besides the outcome: the inputs as the window shows them and the moment
// and program that produced it (the engine reads no clock).
struct NoteInputs {
    FieldTexts Texts;
    SelectorIndexes Selectors;
    int SteelGrade = -1;  // the steel grade's item; no row when outside the list
    std::string DecimalSeparator = ",";
    std::string DateTime;  // as the caller shows it, e.g. "08.12.2026 14:05"
    std::string Program;   // name and version, e.g. "Korvelin 1.0"
    OwnClimateTexts OwnClimate;  // the site's own values in force, with their sources
    DocumentFields Document;
    // The sheets get the frame and the title block with the fields (a framed PDF or printout);
    // without them the fields stand in the text (an unframed PDF, the ODT).
    bool Framed = false;
    // The sections between fixed supports, each with its section "Компенсация температурных
    // деформаций" after the loads on the supports.
    std::vector<CompensationNoteSection> Compensation;
    // For the note of several pipes, which leaves Compensation aside: the sections as typed and
    // the coefficient of friction of the supports (none: no friction); each pipe's part computes
    // them with that pipe's diameter, wall and loads.
    CompensationTexts PipesCompensation;
    std::optional<double> Friction = kDefaultFriction;
};

inline constexpr std::string_view kNoteTitle = "Расчет допустимого пролета надземного газопровода";
inline constexpr std::string_view kPassesText = "проходит";
inline constexpr std::string_view kFailsText = "не проходит";

// The note of a completed run whose report was written: the document fields (in the title block
// or in the text), title, inputs, normative values, the loads and allowable stresses, the method
// with the run's values put in, the results with the summary, the compensation of each section
// between fixed supports, and the closing line. Results are
// shown as the window shows them.
NoteDocument BuildCalculationNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                                  const DesignSummary& summary);
// The same note with the sections `more` (the schedule of the supports of the route, for one)
// after the compensation of the sections and before the closing line.
NoteDocument BuildCalculationNote(const NoteInputs& inputs, const CalculationOutcome& outcome,
                                  const DesignSummary& summary, std::span<const NoteSection> more);

// "3,122 м — динамический расчет на прочность", or, for a set without a governing span,
// "нет: " and the reason.
std::string GoverningText(const GoverningSpan& governing, std::string_view decimalSeparator);

// "Внимание: предел текучести больше … стали.": a warning of the summary as a line of its own,
// for the note and the page "Итог".
std::string WarningLine(std::string_view warning);

// The design summary as lines of text for korvelin-calc: governing spans, the check of the
// chosen span and the supports of the route, each given only when asked for.
std::vector<std::string> SummaryLines(const DesignSummary& summary,
                                      std::string_view decimalSeparator);

// The results for a spreadsheet or a word processor: one line per value, "label\tvalue\tunit",
// the six spans, then the summary's values.
std::string CopiedResults(const CalculationOutcome& outcome, const DesignSummary& summary,
                          std::string_view decimalSeparator);

}  // namespace korvelin
