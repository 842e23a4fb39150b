#pragma once

// The project's calculation note of several pipes under one set of conditions (the span table's
// rows, or the pipes of the input set): one document with one title block and continuous sheets.

#include "korvelin/CalculationNote.h"
#include "korvelin/SpanTable.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// A section that follows the calculation of the pipes (the compensation of temperature
// movements, for one): its blocks as they stand, headings included, and the sources it cites,
// which join the list "Литература" after the note's own.
struct NoteSection {
    std::vector<NoteBlock> Blocks;
    std::vector<std::string> Sources;
};

inline constexpr std::string_view kPipesNoteTitle =
    "Расчет допустимых пролетов надземного газопровода";

// The note of the pipes. The document fields, the date and the common conditions (pressure,
// steel, regions and own values, number of spans, slope, with the normative values and the
// tables of coefficients) stand once; then for each pipe its loads, its calculation scheme and
// whole "Расчет", its results and the loads on its supports (a pipe that was not computed gets
// its message instead), and the sections between fixed supports of inputs.PipesCompensation
// computed with that pipe (inputs.Compensation is not used); then one table of all pipes (the six spans and the governing ones, the
// check of the chosen span, the supports of the route), the sections `more`, the closing line,
// "Литература" and, without a title block, the names. The diameter and wall of inputs.Texts are
// not used. A single computed pipe gets the note of one pipe (BuildCalculationNote) with `more`
// before its closing line.
NoteDocument BuildPipesNote(const NoteInputs& inputs, std::span<const PipeDesign> pipes,
                            std::span<const NoteSection> more = {});

// Whether the pipes give a note: at least one of them was computed.
bool HasPipesNote(std::span<const PipeDesign> pipes);

// The sections between fixed supports of inputs.PipesCompensation computed with the pipe: its
// diameter, wall and loads, with inputs.Friction. Empty without sections or for a pipe not
// computed; refused as RunCompensation refuses.
CompensationRun PipeCompensation(const NoteInputs& inputs, const PipeDesign& pipe);

}  // namespace korvelin
