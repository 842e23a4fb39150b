#pragma once

#include "korvelin/RunCalculation.h"

#include <string>

namespace korvelin::cli {

// The outcome as one line of compact JSON: outcome, message, the six spans, the loads, the
// moment of inertia and the report lines. Absent values are null; bytes of a text that are not
// valid UTF-8 become U+FFFD.
std::string OutcomeJson(const CalculationOutcome& outcome);

}  // namespace korvelin::cli
