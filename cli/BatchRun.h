#pragma once

#include <istream>
#include <ostream>
#include <string_view>

namespace korvelin::cli {

inline constexpr std::string_view kBatchHeader =
    "outcome;message;static_sp;dynamic_sp;condensate_sp;deflection_sp;static_snip;deflection_snip;"
    "governing_sp;governing_snip";

// Reads one calculation per line after a header line and writes one result line per input line
// (or, with `report`, the report lines of each followed by a form feed line). Streams: memory
// does not grow with the input. Returns 0 when every line was read, 1 when a line was invalid,
// 2 as soon as `out` fails.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, std::string_view separator,
             bool report);

}  // namespace korvelin::cli
