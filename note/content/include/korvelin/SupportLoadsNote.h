#pragma once

// The texts of the loads on the supports and of the site's own climatic values, for the note,
// korvelin-calc and the windows: one wording of each.

#include "korvelin/DesignSummary.h"
#include "korvelin/NoteDocument.h"
#include "korvelin/OwnClimate.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// "1/2 = 0,500": the exact factor and its value; "—" when there is none.
std::string FactorText(const std::optional<double>& value, std::string_view exact,
                       std::string_view decimalSeparator);
// "1" … "6", or "более 6" for the limit of many spans.
std::string BeamSpansText(const BeamFactors& factors);
// "127,160 Н (0,127 кН)".
std::string NewtonsText(double newtons, std::string_view decimalSeparator);

// The section of the note under `heading`: how the loads are found, with the formulas, and a
// table of the factors and loads of each set of rules at its governing span and at the chosen
// span, the loads as a designer gives them (whole newtons, the vertical ones also in kN to 0,01).
void AddSupportLoadsNote(NoteDocument& note, const DesignSummary& summary,
                         std::string_view decimalSeparator,
                         std::string_view heading = "Нагрузки на опоры");

// The same as lines of text for korvelin-calc.
std::vector<std::string> SupportLoadLines(const DesignSummary& summary,
                                          std::string_view decimalSeparator);

// Rows of the table "Исходные данные" for the own values in force (label, value as typed, unit),
// each marked "задано пользователем" with its source.
void AddOwnClimateRows(NoteTable& inputs, const OwnClimateTexts& own,
                       std::string_view decimalSeparator);

}  // namespace korvelin
