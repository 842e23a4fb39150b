#pragma once

#include "CliOptions.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/NoteDocument.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace korvelin::cli {

// Writes a note to a PDF file; returns an empty text on success, else the message.
using PdfWriter = std::function<std::string(const NoteDocument& note, const std::string& path)>;

// One calculation: the six spans grouped by rules and the design summary (or one JSON object),
// the report on request, the calculation note as PDF when options.PdfFile is set (writePdf must
// then be given). Returns the exit status: 0 completed, 1 refused or failed, or the note could
// not be written.
int RunSingle(const CliOptions& options, const SummaryRequest& request, std::string_view separator,
              std::ostream& out, std::ostream& err, const PdfWriter& writePdf = {});

}  // namespace korvelin::cli
