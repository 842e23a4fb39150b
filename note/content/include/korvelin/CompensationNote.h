#pragma once

// The note's section "Компенсация температурных деформаций" of one section between fixed
// supports: the drawing, the mechanics and its assumptions, the force method with the run's values
// substituted (δᵢⱼ, Δᵢₜ, X), the table of results of heating and cooling, the friction and the
// design forces on the fixed supports, the checks.

#include "korvelin/Compensation.h"
#include "korvelin/NoteDocument.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// A section between fixed supports as the calculation note takes it: its results and, when the
// caller has drawn it, its drawing.
struct CompensationNoteSection {
    CompensationResult Result;
    std::optional<NoteDrawing> Drawing;
};

// Adds the section's blocks to the note: the heading (with the section's name), then the drawing
// when one is given (the section in plan with the fixed supports and the shapes after heating and
// cooling), then the method, the solution and the tables.
// `heading` replaces the usual one (a numbered heading that names the pipe, in a note of several
// pipes).
void AddCompensationNote(NoteDocument& note, const CompensationResult& result,
                         std::string_view decimalSeparator,
                         const std::optional<NoteDrawing>& drawing = std::nullopt,
                         std::string_view heading = {});

// The document the section's method follows, as the list "Литература" gives it; a note with
// that section lists it among its sources.
inline constexpr std::string_view kForceMethodSource =
    "Черный А. Н. Расчет статически неопределимой плоской рамы методом сил: методические "
    "указания. — Ульяновск: УлГТУ, 2010";

// The significant digits of δᵢⱼ and Δᵢₜ in the note: the fewest (from 7) with which the printed
// system, solved again, gives every printed X (to 0,001) of both cases.
int ForceMethodDigits(const CompensationResult& result);

// X of the frictionless frame without guides (δ·X = −Δₜ) of a case, as the note prints it.
std::array<double, 3> FrameUnknowns(const CompensationResult& result, bool heating);

// The results alone, as the window "Компенсация" shows them beside its drawing: the tables of
// heating and cooling, the friction and the design forces on the fixed supports, the checks
// (the same blocks as in the note's section).
void AddCompensationResults(NoteDocument& note, const CompensationResult& result,
                            std::string_view decimalSeparator);

// The heading of that section: "Компенсация температурных деформаций. Участок 1"; with the
// separator, naming the pipe: "…. Участок 1, труба 57×3 мм".
std::string CompensationNoteHeading(const CompensationResult& result);
std::string CompensationNoteHeading(const CompensationResult& result, std::string_view decimalSeparator);

// The results as lines of text for korvelin-calc.
std::vector<std::string> CompensationLines(const CompensationResult& result,
                                           std::string_view decimalSeparator);

}  // namespace korvelin
