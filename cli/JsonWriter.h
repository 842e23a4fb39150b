#pragma once

#include "korvelin/DesignSummary.h"
#include "korvelin/RunCalculation.h"

#include <optional>
#include <string>

namespace korvelin::cli {

// The outcome as one line of compact JSON: outcome, message, the six spans, the loads, the
// moment of inertia and the report lines. Absent values are null; bytes of a text that are not
// valid UTF-8 become U+FFFD. "summary" holds the design summary of a completed run (null
// otherwise): the governing span of each set of rules with its criterion (or the reason there is
// none), the check of a chosen span and the supports of a route when they were asked for.
std::string OutcomeJson(const CalculationOutcome& outcome,
                        const std::optional<DesignSummary>& summary = std::nullopt);

// A batch line that could not be read, as one line of compact JSON like OutcomeJson's: outcome
// "invalid" and the reason as the message.
std::string InvalidLineJson(const std::string& reason);

}  // namespace korvelin::cli
