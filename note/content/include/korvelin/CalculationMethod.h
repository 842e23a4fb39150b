#pragma once

#include "korvelin/CalculationTrace.h"
#include "korvelin/NoteDocument.h"

#include <string_view>

namespace korvelin {

// The section "Расчет" of the calculation note: every formula of the run in the order of the
// calculation, first in the usual notation with its symbols explained where they first appear,
// then with the values of the run put in, then the result with its unit. Results are shown as
// the window shows them; the values put in carry enough digits to give those results again on a
// calculator. Everything comes from the trace and the engine's constants.
void AddCalculationMethod(NoteDocument& note, const CalculationTrace& trace,
                          std::string_view decimalSeparator);

}  // namespace korvelin
