#include "BatchRun.h"

#include "JsonWriter.h"

#include "korvelin/DesignSummary.h"
#include "korvelin/InputRemarks.h"
#include "korvelin/RunCalculation.h"
#include "korvelin/Selectors.h"

#include <array>
#include <charconv>
#include <span>
#include <string>

namespace korvelin::cli {
namespace {

constexpr std::size_t kFieldCount = 11;
// The optional own climatic values after them, named as korvelin-calc's options.
constexpr std::array<std::string_view, 3> kOwnValueNames = {"snow-weight", "wind-pressure",
                                                            "ice-thickness"};
constexpr std::size_t kMaxFieldCount = kFieldCount + kOwnValueNames.size();
constexpr std::array<std::string_view, 6> kIndexNames = {"height", "snow",  "wind",
                                                          "ice",    "spans", "slope"};
constexpr std::array<std::span<const std::string_view> (*)(), 6> kIndexItems = {
    &HeightCategoryItems, &SnowRegionItems, &WindRegionItems, &IceRegionItems, &SpanCountItems, &SlopeItems};

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Splits a line into its fields and the calculation input; an empty string means success,
// anything else is the reason the line is invalid.
std::string ReadBatchLine(std::string_view line, std::string_view separator, FieldTexts& texts,
                          SelectorIndexes& indexes, OwnClimate& own)
{
    // One pass over the line: its fields are short, and a search call per field costs more than
    // looking at each character.
    std::array<std::string_view, kMaxFieldCount> fields;
    std::size_t count = 0;
    std::size_t start = 0;
    const auto endField = [&](std::size_t end) {
        if (count < kMaxFieldCount) {
            fields[count] = line.substr(start, end - start);
        }
        ++count;
        start = end + 1;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ';') {
            endField(i);
        }
    }
    endField(line.size());
    if (count < kFieldCount || count > kMaxFieldCount) {
        return "нужно от 11 до 14 полей через «;», а в строке " + std::to_string(count);
    }
    texts.OuterDiameter.assign(fields[0]);
    texts.WallThickness.assign(fields[1]);
    texts.UltimateStrength.assign(fields[2]);
    texts.YieldStrength.assign(fields[3]);
    texts.Pressure.assign(fields[4]);
    int* const targets[] = {&indexes.HeightCategory, &indexes.SnowRegion, &indexes.WindRegion,
                            &indexes.IceRegion,      &indexes.SpanCount,  &indexes.Slope};
    for (std::size_t i = 0; i < kIndexNames.size(); ++i) {
        const std::string_view text = TrimBlanks(fields[5 + i]);
        const auto result = std::from_chars(text.data(), text.data() + text.size(), *targets[i]);
        if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
            return "поле " + std::to_string(6 + i) + " (" + std::string(kIndexNames[i]) +
                   ") — не целое число: «" + std::string(fields[5 + i]) + "»";
        }
        // A number outside its list is the calculation's to refuse, as a run of the window's
        // inputs would: a batch line is one calculation, not an option of the program.
    }
    own = {};
    for (std::size_t i = 0; i + kFieldCount < count; ++i) {
        const std::string_view text = fields[kFieldCount + i];
        if (TrimBlanks(text).empty()) {
            continue;  // the region's value
        }
        const ClimateValue which = kClimateValues[i];
        const OwnValueReading value = ReadOwnClimateValue(which, text, separator);
        if (!value.Ok()) {
            return "поле " + std::to_string(kFieldCount + 1 + i) + " (" +
                   std::string(kOwnValueNames[i]) + "): " + value.Error;
        }
        own.*InfoOf(which).Value = value.Value;
    }
    return {};
}

}  // namespace

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, std::string_view separator,
             BatchOutput output, std::optional<double> friction)
{
    const bool report = output == BatchOutput::Reports;
    const bool json = output == BatchOutput::Json;
    constexpr std::size_t kFlushSize = 1 << 16;
    std::string line;
    std::string buffer;
    buffer.reserve(kFlushSize + 4096);
    FieldTexts texts;
    SelectorIndexes indexes;
    OwnClimate own;
    bool anyInvalid = false;
    std::size_t lineNumber = 1;

    if (output == BatchOutput::Columns) {
        buffer += kBatchHeader;
        buffer += '\n';
    }
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string problem = ReadBatchLine(line, separator, texts, indexes, own);
        if (!problem.empty()) {
            anyInvalid = true;
            if (report) {
                err << "korvelin-calc: Строка " << lineNumber << ": " << problem << '\n';
                buffer += "\f\n";
            } else if (json) {
                buffer += InvalidLineJson("строка " + std::to_string(lineNumber) + ": " + problem);
            } else {
                AppendInvalidBatchColumns(buffer,
                                          "строка " + std::to_string(lineNumber) + ": " + problem);
                buffer += '\n';
            }
        } else {
            const CalculationOutcome outcome =
                RunCalculation(texts, indexes, own, separator,
                               output == BatchOutput::Columns ? ReportMode::Omitted : ReportMode::Written);
            if (outcome.Kind == OutcomeKind::Completed && outcome.Input) {
                if (const std::string warning = SteelStrengthWarning(*outcome.Input); !warning.empty()) {
                    err << "korvelin-calc: Строка " << lineNumber << ": внимание: " << warning << '\n';
                }
            }
            if (json) {
                buffer += OutcomeJson(outcome, SummarizeDesign(outcome, {.Friction = friction,
                                                                         .DecimalSeparator = std::string(separator)}));
            } else if (report) {
                for (const std::string_view reportLine : outcome.Report) {
                    buffer += reportLine;
                    buffer += '\n';
                }
                buffer += "\f\n";
            } else {
                AppendBatchColumns(buffer, outcome, separator);
                buffer += '\n';
            }
        }
        if (buffer.size() >= kFlushSize) {
            // Output that cannot be written ends the table: nothing more would arrive either.
            if (!out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
                return 2;
            }
            buffer.clear();
        }
    }
    if (!out.write(buffer.data(), static_cast<std::streamsize>(buffer.size())).flush()) {
        return 2;
    }
    return anyInvalid ? 1 : 0;
}

}  // namespace korvelin::cli
