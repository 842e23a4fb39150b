#pragma once

// The span table as a printable document.

#include "korvelin/DocumentFields.h"
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
// cause of a fault) and the notes, kept on the table's sheet when they fit it. With `supports`,
// the loads on the most loaded support at each governing span, as the window shows them, follow
// the spans in a table of their own. The sheets get the frame and the title block when the document fields ask
// for them (FrameWanted).
NoteDocument BuildSpanTableNote(std::span<const SpanTableRow> rows,
                                const SpanTableConditions& conditions,
                                std::string_view dateTime, std::string_view program,
                                const SpanTableSupportColumns* supports = nullptr,
                                const DocumentFields& document = {});

}  // namespace korvelin
