#pragma once

#include "korvelin/Compensation.h"
#include "korvelin/DocumentFields.h"
#include "korvelin/SpanInput.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// A file of inputs: UTF-8 JSON with the name and version of its format, the five field texts
// exactly as the window shows them, the steel grade and the six selector indexes, and the
// optional texts and rows of the windows that work with a set.
//
// Format 2 writes the steel grade by its name ("20/ГОСТ 10705-80"), so that a grade added to the
// list does not change what a file means, and each section of the compensation with the texts of
// its bend radius, support step and guides. Files of format 1 (the grade as its place in the list
// of that time, sections without those texts: sharp corners) are read and converted; a set read
// is always of the current format.
inline constexpr std::string_view kInputSetFormatName = "korvelin-inputs";
inline constexpr int kInputSetVersion = 2;
inline constexpr std::string_view kInputSetExtension = ".korvelin";
inline constexpr std::string_view kInputSetMimeType = "application/x-korvelin";
inline constexpr std::size_t kMaxInputTextLength = 64;  // characters, of every text
inline constexpr std::size_t kMaxPipeTableRows = 1000;
inline constexpr std::size_t kMaxSourceTextLength = 200;  // characters, of an own value's source
inline constexpr std::size_t kMaxCompensationSections = 100;
inline constexpr std::size_t kMaxGuidesTextLength = 200;  // characters, of a section's guides

// The steel grades of format 1, in the order of their indexes in such files.
std::span<const std::string_view> Format1SteelGrades();

// One row of a table of pipes: the texts of its outer diameter and wall thickness, in mm.
struct PipeTableRow {
    std::string Diameter;
    std::string Wall;

    bool operator==(const PipeTableRow&) const = default;
};

struct InputSet {
    std::string FormatName{kInputSetFormatName};
    int Version = kInputSetVersion;
    FieldTexts Texts;
    int SteelGrade = 0;  // ComboBox6, the place in today's list (the file holds the name)
    SelectorIndexes Indexes;
    std::optional<std::string> ChosenSpan;   // the span chosen for the route, as shown
    std::optional<std::string> RouteLength;  // the length of the route, as shown
    std::optional<std::vector<PipeTableRow>> PipeTable;
    std::optional<std::string> Friction;  // the coefficient of friction of the supports, as shown
    OwnClimateTexts OwnClimate;           // the site's own values; those in force are saved
    DocumentFields Document;  // the note's fields; a file without them leaves them empty
    // The sections between fixed supports, the temperatures and the check values of the
    // compensation, as typed; none in a file without them.
    std::optional<CompensationTexts> Compensation;
};

bool operator==(const InputSet& a, const InputSet& b);

// The inputs the window starts with.
InputSet StartUpInputSet();

struct InputSetParse {
    std::optional<InputSet> Set;
    std::string Problem;  // in Russian, without the file name, when Set is empty
};

// Reads and checks a whole file's bytes: UTF-8, JSON, the format name and version, every key
// present once with its type and none besides, indexes inside their selectors, texts of at most
// kMaxInputTextLength characters, then InputSetProblem.
InputSetParse ParseInputSet(std::string_view bytes);

// What makes a set unfit to be applied, in Russian, or an empty string: the format name and
// version, a text too long or with control characters, an index outside its selector, strengths
// other than those of a listed steel grade, too many rows, a coefficient of friction or an own
// climatic value that the window would refuse, a document field too long or with control
// characters, a section of the compensation, a temperature or a check value that the window would
// refuse (a blank temperature or check value is not given), too many sections; then what the windows could not hold: a field text other than digits with one
// decimal mark, an outer diameter above the limit.
std::string InputSetProblem(const InputSet& set);

// The file's bytes: indented JSON, members in a fixed order, texts unescaped UTF-8.
std::string SerializeInputSet(const InputSet& set);

}  // namespace korvelin
