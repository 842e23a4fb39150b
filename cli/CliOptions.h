#pragma once

#include "korvelin/InputSet.h"
#include "korvelin/SpanInput.h"
#include "korvelin/SpanTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin::cli {

// What the command line asks for.
struct CliOptions {
    FieldTexts Texts{"89", "3,2", "333", "206", "0,6"};
    SelectorIndexes Indexes;
    int SteelGrade = 0;  // the grade whose strengths Texts hold, or the user-defined one
    std::optional<std::string> Separator;  // the locale's when not given
    bool Report = false;
    bool Json = false;
    bool Help = false;
    bool Version = false;
    bool Batch = false;
    std::string BatchFile;  // empty or "-": standard input
    std::string InputFile;  // --input: the set the other options start from
    std::string SaveFile;   // --save: where the set of the options is written
    // --span: the chosen span, m, as typed (checked with the separator); --route: the route
    // length, m, as typed. Both start from the set of --input.
    std::string ChosenSpan;
    std::string RouteLength;
    std::string PdfFile;      // --pdf: where the calculation note is written
    // --snow-weight, --wind-pressure, --ice-thickness (an empty text: the region's value) and
    // their sources; --friction (none: 0,3).
    OwnClimateTexts OwnClimate;
    std::optional<std::string> Friction;
    std::string OdtFile;      // --odt: where the note is written as an ODT
    DocumentFields Document;  // --object … --chief-engineer, --frame, --no-frame
    // --t-closing, --t-min, --t-max, --allowable-compensation, --shoe-length as typed, and the
    // sections of the input set; the routes of --section, in order, replace those sections.
    CompensationTexts Compensation;
    std::vector<std::string> SectionRoutes;
    // --guides of each --section, in its order ("" without); --bend-radius (mm) and
    // --support-step (m) of every section, as typed.
    std::vector<std::string> SectionGuides;
    std::optional<std::string> BendRadius;
    std::optional<std::string> SupportStep;
    // --schedule: where the schedule of the route's supports is written (CSV or PDF by the name's
    // ending); --placement-rules and --support-edits go into Compensation.
    std::string ScheduleFile;
    // --dxf: where the drawing of the route in plan is written as DXF.
    std::string DxfFile;
    // --pipes LIST or --table-pipes: the pipes of a note of several pipes, which take the
    // diameter and wall of the single run's place.
    std::optional<std::vector<PipeSize>> Pipes;
    bool PipesFromTable = false;  // --table-pipes: the rows of the set, not a list of the options
};

struct ParsedCommandLine {
    std::optional<CliOptions> Options;
    std::string Error;  // a usage error when Options is empty
};

// Reads the options over the values of `base` (the start-up inputs when null): an option given
// replaces the value of the set.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, const InputSet* base = nullptr);

// The compensation's texts of the options: the routes of --section read with the separator into
// sections "Участок 1", "Участок 2", … in place of the set's, with their --guides, and each text
// checked as the window checks it. --bend-radius and --support-step apply to every section; the
// sections of --section without --bend-radius have bends of 1,5·D. A refused route or value gives
// the message that names it.
struct CompensationOptions {
    CompensationTexts Texts;
    std::string Error;
};
CompensationOptions ReadCompensationOptions(const CliOptions& options, std::string_view separator);

// The kind of the file of --schedule by its name's ending (.csv, .pdf, either case); none for another.
enum class ScheduleFileType { Csv, Pdf };
std::optional<ScheduleFileType> ScheduleFileKind(std::string_view path);

// The set that the options describe; the texts and rows of other windows come from `base`.
// `compensation`: the texts read from the options (ReadCompensationOptions).
InputSet OptionsInputSet(const CliOptions& options, const InputSet* base,
                         const CompensationTexts* compensation = nullptr);

// A value of --diameter, --wall, --pressure, --ultimate or --yield that does not read as a number
// with the decimal separator, as a usage error that names the option; empty when all read. (A
// number the calculation refuses, zero or negative, is its own message, not a usage error.)
std::string UnreadableValueError(const CliOptions& options, std::string_view separator);

// The help, made from the same table of options that ParseCommandLine reads them with.
std::string HelpText();
// The names of every option the command line takes, in the order of the help ("-h" too).
std::vector<std::string_view> OptionNames();

}  // namespace korvelin::cli
