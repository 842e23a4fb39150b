#pragma once

// The schedule of the supports of the route as printed blocks: in the calculation note (a section
// of its own) and as a document of its own (A4 landscape, framed when the document fields ask).

#include "korvelin/DocumentFields.h"
#include "korvelin/NoteDocument.h"
#include "korvelin/PipesNote.h"
#include "korvelin/RouteSchedule.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// The blocks without a heading, as the window shows them: the description, the table of the
// supports, the forces of the fixed supports for heating and for cooling, the totals by type, the
// division of the legs, the warnings.
void AddScheduleBlocks(NoteDocument& note, const RouteSchedule& schedule,
                       std::string_view decimalSeparator);

// The note's section "Ведомость опор" of the route: its heading and the blocks.
NoteSection ScheduleNoteSection(const RouteSchedule& schedule, std::string_view decimalSeparator);

// The schedule on A4 landscape: the title, the date and the program, the blocks; the sheets get the
// frame and the title block when the document fields ask for them (FrameWanted).
NoteDocument BuildScheduleNote(const RouteSchedule& schedule, std::string_view decimalSeparator,
                               std::string_view dateTime, std::string_view program,
                               const DocumentFields& document = {});

// The schedule as lines of text for korvelin-calc: the heading with the placement rules, a line a
// support (type, place, V by each set, the horizontal loads), the totals by type, the warnings.
std::vector<std::string> ScheduleLines(const RouteSchedule& schedule, std::string_view decimalSeparator);

}  // namespace korvelin
