#pragma once

#include "korvelin/BatchColumns.h"
#include "korvelin/SupportLoads.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string_view>

namespace korvelin::cli {

using korvelin::kBatchHeader;

// What a batch writes for each input line.
enum class BatchOutput {
    Columns,  // one line of result columns, after the header line
    Reports,  // the report lines, then a form feed line
    Json,     // one JSON object on one line, values to the last bit
};

// Reads one calculation per line after a header line and writes the results of each input line
// in the form asked for. Streams: memory does not grow with the input. Returns 0 when every line
// was read, 1 when a line was invalid, 2 as soon as `out` fails.
// Fields 12 to 14 of a line, when present, are the own snow weight, wind pressure and ice
// thickness (empty: the region's value); `friction` is the coefficient of the supports' loads in
// the JSON objects.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, std::string_view separator,
             BatchOutput output, std::optional<double> friction = kDefaultFriction);

}  // namespace korvelin::cli
