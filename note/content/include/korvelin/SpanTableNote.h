#pragma once

// The span table as a printable document.

#include "korvelin/NoteDocument.h"
#include "korvelin/SpanTable.h"

#include <span>
#include <string_view>

namespace korvelin {

// The table on A4 landscape: the title, the date and the program, the conditions, the table (a
// row that was not computed refers to its note below the table, which gives its message and the
// cause of a fault) and the notes.
NoteDocument BuildSpanTableNote(std::span<const SpanTableRow> rows,
                                const SpanTableConditions& conditions,
                                std::string_view dateTime, std::string_view program);

}  // namespace korvelin
