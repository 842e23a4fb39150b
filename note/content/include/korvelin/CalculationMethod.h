#pragma once

#include "korvelin/CalculationTrace.h"
#include "korvelin/NoteDocument.h"
#include "korvelin/OwnClimate.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// What the section "Расчет" says besides the trace.
struct MethodOptions {
    std::string Heading = "Расчет";
    // The calculation scheme, which opens the section.
    std::optional<NoteDrawing> Scheme;
    // The site's own values and their sources: a step that uses one names its source.
    OwnClimateTexts OwnClimate;
    // The number of the section the steps stand in ("3.2"): the steps become "3.2.1 …" instead of
    // "1. …", so that they do not read as the note's own sections.
    std::string SectionNumber;
};

// The section "Расчет" of the calculation note: every formula of the run in the order of the
// calculation, first in the usual notation with its symbols and constants explained where they
// first appear, then with the values of the run put in, then the result with its unit. Each step
// names the document it follows (by its number in the list "Литература") and, for a criterion,
// the beam its formula assumes. The spans are shown as the window shows them; every value a later
// formula takes is shown with the digits it is taken with, enough to give the results again on a
// calculator. Everything comes from the trace and the engine's constants.
void AddCalculationMethod(NoteDocument& note, const CalculationTrace& trace,
                          std::string_view decimalSeparator, const MethodOptions& options = {});

// Whether the pipe's inner diameter lies above the 300 mm that the condensate criterion of
// SP 42-102-2004 covers (its span is then 0 and that set of rules gives no governing span).
bool CondensateOutOfScope(const CalculationTrace& trace);
// The sentence that says so, with the inner diameter: "Условие образования конденсата …".
std::string CondensateScopeSentence(const CalculationTrace& trace, std::string_view decimalSeparator);

}  // namespace korvelin
