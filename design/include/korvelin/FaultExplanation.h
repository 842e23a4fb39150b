#pragma once

// The cause of a floating-point fault that ended a run, in the user's words, where it is known:
// shown beside the run's own message wherever the program adds a surface of its own (the span
// table, the page "Итог", korvelin-calc).

#include "korvelin/RunCalculation.h"

#include <string>
#include <string_view>

namespace korvelin {

// E.g. "давление слишком велико для этой толщины стенки (статический расчет на прочность по
// СП 42-102-2004)"; empty when the outcome did not end with a fault or its cause is not known.
std::string FaultExplanation(const CalculationOutcome& outcome);

// The outcome's message followed by the explanation of its fault, when there is one:
// "Invalid floating point operation — давление слишком велико …".
std::string ExplainedMessage(const CalculationOutcome& outcome);

// The same for a run of known field texts: the refusal of incomplete data also names the fields
// that read as zero ("Введены не все данные — равно нулю поле «Давление в трубопроводе»").
std::string ExplainedMessage(const CalculationOutcome& outcome, const FieldTexts& texts,
                             std::string_view decimalSeparator);

}  // namespace korvelin
