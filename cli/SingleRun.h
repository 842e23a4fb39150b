#pragma once

#include "CliOptions.h"
#include "NoteFiles.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/NoteDocument.h"

#include <ostream>
#include <string>
#include <string_view>

namespace korvelin::cli {

// One calculation: the six spans grouped by rules and the design summary (or one JSON object),
// the report on request, the calculation note as PDF (framed as the document fields ask) and as
// ODT when options.PdfFile or options.OdtFile is set (`notes` must then be given). Returns the
// exit status: 0 completed, 1 refused or failed, or a note could not be written, 2 when `out`
// fails. With sections in `compensation` (read by ReadCompensationOptions), each is computed with
// the pipe of the run and its loads, and follows the spans: in the text, in the JSON object's
// array "compensation" and in the note.
int RunSingle(const CliOptions& options, const SummaryRequest& request, std::string_view separator,
              std::ostream& out, std::ostream& err, NoteWriter* notes = nullptr,
              const CompensationTexts& compensation = {});

}  // namespace korvelin::cli
