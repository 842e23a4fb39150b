#pragma once

// The drawing of a section between fixed supports, one picture for the note and for the window
// "Компенсация": the section's axis (in plan, or in its vertical plane) with the fixed supports А
// and Б, the corners and the lengths of the legs, the axes x, y at support А, and the bent axis
// after heating and after cooling, the movements enlarged by a factor written on the drawing.

#include "korvelin/Compensation.h"
#include "korvelin/CompensationNote.h"
#include "korvelin/NoteDocument.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace korvelin {

// The drawing, at most kCompensationDrawingWidthMm wide; its caption names the section.
NoteDrawing CompensationDrawing(const CompensationResult& result, std::string_view decimalSeparator);

inline constexpr double kCompensationDrawingWidthMm = 170;

// The note's sections of a run, each with its drawing; none when the run was refused.
std::vector<CompensationNoteSection> CompensationNoteSections(const CompensationRun& run,
                                                              std::string_view decimalSeparator);

// A point of the bent axis: where it stands on the section (m) and how far it moves (m).
struct BentAxisPoint {
    double X = 0;
    double Y = 0;
    double Ux = 0;
    double Uy = 0;
};

// The bent axis of one case, `pointsPerLeg` + 1 points on every leg from А to Б (a corner ends
// one leg and starts the next). Each leg starts at the movement of its first node as the
// computation gives it; between the nodes the leg turns with the curvature M/(E·I) of its linear
// moment from the rotation at its start (none at support А, the same on both sides of a rigid
// corner) and lengthens by N/(E·A) + α·Δt, so that the axis arrives at the next node's movement.
std::vector<BentAxisPoint> BentAxis(const CompensationResult& result, bool heating, std::size_t pointsPerLeg);

}  // namespace korvelin
