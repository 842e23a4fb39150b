#pragma once

#include "korvelin/BatchColumns.h"

#include <istream>
#include <ostream>
#include <string_view>

namespace korvelin::cli {

using korvelin::kBatchHeader;

// Reads one calculation per line after a header line and writes one result line per input line
// (or, with `report`, the report lines of each followed by a form feed line). Streams: memory
// does not grow with the input. Returns 0 when every line was read, 1 when a line was invalid,
// 2 as soon as `out` fails.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, std::string_view separator,
             bool report);

}  // namespace korvelin::cli
