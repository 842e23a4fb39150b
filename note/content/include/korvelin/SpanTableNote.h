#pragma once

// The span table as a printable document.

#include "korvelin/NoteDocument.h"
#include "korvelin/SpanTable.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// The table of the spans, one row per pipe: the six spans with each set's governing one in bold,
// then the governing spans. What a cell cannot hold (the message of a row not computed, why a set
// has no governing span) is added to `notes`, and the cell refers to it by its number there.
NoteTable SpanTableOfRows(std::span<const SpanTableRow> rows, std::string_view decimalSeparator,
                          std::vector<std::string>& notes);

// The table on A4 landscape: the title, the date and the program, the conditions, the table (a
// row that was not computed refers to its note below the table, which gives its message and the
// cause of a fault) and the notes.
NoteDocument BuildSpanTableNote(std::span<const SpanTableRow> rows,
                                const SpanTableConditions& conditions,
                                std::string_view dateTime, std::string_view program);

}  // namespace korvelin
