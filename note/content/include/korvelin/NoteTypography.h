#pragma once

// The typography of a document: where a line must not part, the ordinary space gives way to a
// no-break space (U+00A0): between a number and its unit ("3,122 м", "66,813 Н/м", "2 ‰") and
// after the name of a kind of standard before its number ("СП 42-102-2004", "ГОСТ Р 21.101-2020").
// The texts of the windows and of korvelin-calc keep their ordinary spaces; the documents get
// these at the end of their building.

#include "korvelin/NoteDocument.h"

#include <string>
#include <string_view>

namespace korvelin {

inline constexpr std::string_view kNoBreakSpace = "\u00A0";

// The text with those spaces made no-break ones.
std::string WithNoBreakSpaces(std::string_view text);

// Every text of the document so set: the title, headings, paragraphs, cells, the captions and
// labels of drawings.
void SetNoBreakSpaces(NoteDocument& document);

// The text with every hyphen-minus that stands as a sign before a number made the minus sign
// (U+2212): at the start, after a space, a bracket, "=", a mark or a symbol. A hyphen between
// digits or after a letter stays ("42-102-2004", "1e-5").
std::string WithMinusSigns(std::string_view text);
void SetMinusSigns(NoteDocument& document);

// Numbers the tables and the drawings in their order: before each table with a title a line
// "Таблица N — title" that stays with it; each drawing's caption as "Рис. N. caption" (a number
// already given is replaced).
void NumberTablesAndFigures(NoteDocument& document);

// For a document shown in a window rather than printed: before each table with a title the title
// alone, in bold, with nothing numbered.
void ShowTableTitles(NoteDocument& document);

// What every note gets at the end of its building: the numbers of its tables and drawings, the
// minus signs and the no-break spaces.
void FinishNote(NoteDocument& document);

}  // namespace korvelin
