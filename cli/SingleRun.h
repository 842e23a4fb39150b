#pragma once

#include "CliOptions.h"

#include <ostream>
#include <string_view>

namespace korvelin::cli {

// One calculation: the six spans grouped by rules (or one JSON object), the report on request.
// Returns the exit status: 0 completed, 1 refused or failed, 2 when `out` fails.
int RunSingle(const CliOptions& options, std::string_view separator, std::ostream& out,
              std::ostream& err);

}  // namespace korvelin::cli
