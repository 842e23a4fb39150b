#pragma once

// The documents the calculation follows, as the list "Литература" of the note gives them: the
// steps of "Расчет" refer to them by their numbers in square brackets.

#include "korvelin/NoteDocument.h"
#include "korvelin/OwnClimate.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// The numbers of the list: the two sets of rules, the loads code the regions come from, the
// standard of the document's form. The site's own sources follow them.
inline constexpr std::string_view kSourceSP = "[1]";
inline constexpr std::string_view kSourceSNiP = "[2]";
inline constexpr std::string_view kSourceLoads = "[3]";
inline constexpr std::string_view kSourceForm = "[4]";
inline constexpr int kFixedSources = 4;

// The section of SP 42-102-2004 on the spans of above-ground pipelines, by its heading (its
// clause numbers are not cited: they could not be checked against the text of the code).
inline constexpr std::string_view kSpanSectionSP =
    "раздел «Определение пролетов надземных газопроводов»";

// The site's own sources of the own climatic values in force, each once, in the order of the
// values (snow, wind, ice); blank ones are left out.
std::vector<std::string> OwnSources(const OwnClimateTexts& own);

// "[5]": the number of an own source in the list, by its text; empty when it is not one of them.
std::string OwnSourceNumber(const OwnClimateTexts& own, std::string_view source);

// The section "Литература": the four documents, the own sources, then `more` (the sources of the
// sections that follow the calculation in a larger document), numbered in that order.
void AddLiterature(NoteDocument& note, const OwnClimateTexts& own,
                   const std::vector<std::string>& more = {});

}  // namespace korvelin
