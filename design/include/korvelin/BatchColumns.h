#pragma once

// The result columns of a calculation as korvelin-calc's batch writes them, shared with every
// other table of results written for spreadsheets (the span table's CSV): one definition of the
// columns, their order and the form of their values.

#include "korvelin/RunCalculation.h"

#include <span>
#include <string>
#include <string_view>

namespace korvelin {

inline constexpr std::string_view kBatchHeader =
    "outcome;message;static_sp;dynamic_sp;condensate_sp;deflection_sp;static_snip;"
    "deflection_snip;governing_sp;governing_snip";

// "completed", "refused" or "failed".
std::string_view OutcomeName(OutcomeKind kind);

// Appends a field, in double quotes (inner quotes doubled) when it holds ";", a quote or a line
// break, so that a spreadsheet keeps it in one cell.
void AppendCsvField(std::string& out, std::string_view field);

// The start of a table written for spreadsheets: a UTF-8 byte-order mark, the title and the lines
// that describe the table, a field and a CR LF each, then an empty line.
void AppendCsvPreamble(std::string& out, std::string_view title, std::span<const std::string> lines);

// One line of fields separated by ";" and ended by CR LF.
void AppendCsvLine(std::string& out, std::span<const std::string> fields);

// Appends the columns of kBatchHeader for one outcome, without a line end: the outcome's name,
// its message, the six spans and the governing span of each set of rules ("0.000" with the given
// decimal separator), a value left empty when the run did not produce it.
void AppendBatchColumns(std::string& out, const CalculationOutcome& outcome,
                        std::string_view decimalSeparator);

// The same columns for a line that could not be read: "invalid", the reason, no values.
void AppendInvalidBatchColumns(std::string& out, std::string_view reason);

}  // namespace korvelin
