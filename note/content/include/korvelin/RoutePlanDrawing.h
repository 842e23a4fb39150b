#pragma once

// The plan of the route as a drawing of the note and of the window: the route's drawing
// (RoutePlan) moved onto the sheet at its scale, the bends' arcs as fine polylines, each support's
// symbol turned along the pipe, and a legend of the symbols under it.

#include "korvelin/NoteDocument.h"
#include "korvelin/PipesNote.h"
#include "korvelin/RoutePlan.h"

#include <string_view>

namespace korvelin {

inline constexpr double kRoutePlanDrawingWidthMm = 170;

// The drawing; its caption "Рис. N. План трассы с опорами, М 1:S" with `figure` as N.
NoteDrawing RoutePlanDrawing(const RoutePlan& plan, int figure);

// The figure added to the note's section of the schedule.
void AddRoutePlanFigure(NoteSection& section, std::span<const CompensationResult> sections,
                        const RouteSchedule& schedule, int figure, std::string_view decimalSeparator);

}  // namespace korvelin
