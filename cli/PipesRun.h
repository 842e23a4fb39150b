#pragma once

#include "CliOptions.h"
#include "NoteFiles.h"

#include "korvelin/Compensation.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/SpanTable.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin::cli {

// "57x3; 108x4; 159x4,5": pipes separated by ";", each the outer diameter and the wall in mm
// joined by "x" or "×", with a decimal comma or full stop. A part that is not two positive
// numbers so joined, an empty list or more pipes than a span table holds gets a message that
// names the option and the part.
struct PipeListReading {
    std::vector<PipeSize> Pipes;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};
PipeListReading ReadPipeList(std::string_view text);

// The note of several pipes under the options' conditions: a line of governing spans per pipe,
// the message of each pipe not computed on `err`, and the note written as PDF and as ODT where
// asked (framed as the document fields ask). Returns 0 when every pipe was computed and every
// file written; 1 when a pipe was not computed (the note still holds the others), none was, or a
// file could not be written; 2 when `out` fails.
// The sections between fixed supports (`compensation`) are computed with each pipe: their lines
// follow the pipe's, their parts stand in the pipe's part of the note; a section refused for a pipe
// gives its message on `err` and 1.
int RunPipes(const CliOptions& options, const std::vector<PipeSize>& pipes, const SummaryRequest& request,
             std::string_view separator, std::ostream& out, std::ostream& err, NoteWriter& notes,
             const CompensationTexts& compensation = {});

}  // namespace korvelin::cli
