#include "PipesRun.h"

#include "NoteOutput.h"

#include "korvelin/CalculationNote.h"
#include "korvelin/FaultExplanation.h"
#include "korvelin/InputSet.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/PipesNote.h"
#include "korvelin/CompensationNote.h"

#include <array>

namespace korvelin::cli {
namespace {

constexpr std::string_view kExample = "например «57x3; 108x4; 159x4,5»";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The sign between the diameter and the wall: the multiplication sign, or the letter x (Latin or
// Cyrillic, either case) that stands for it on a keyboard.
constexpr std::array<std::string_view, 5> kTimes = {"×", "x", "X", "х", "Х"};

bool IsPositiveNumber(std::string_view text)
{
    const ParsedNumber number = ParseNumber(text, ",");
    return !text.empty() && IsFieldNumberText(text) && number.Ok && number.Value > 0;
}

}  // namespace

PipeListReading ReadPipeList(std::string_view text)
{
    PipeListReading reading;
    const auto refuse = [&reading](std::string message) {
        reading.Pipes.clear();
        reading.Error = "--pipes: " + std::move(message);
        return reading;
    };
    if (Trimmed(text).empty()) {
        return refuse("список труб пуст, " + std::string(kExample));
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view part = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (part.empty()) {
            // A ";" after the last pipe is no pipe of its own.
            if (end == text.size() && !reading.Pipes.empty()) {
                break;
            }
            return refuse("пустая запись в списке труб; трубы разделяются «;», " + std::string(kExample));
        }
        std::size_t at = std::string_view::npos;
        std::string_view sign;
        for (const std::string_view times : kTimes) {
            if (const std::size_t found = part.find(times); found != std::string_view::npos) {
                at = found;
                sign = times;
                break;
            }
        }
        const std::string_view diameter = at == std::string_view::npos ? part : Trimmed(part.substr(0, at));
        const std::string_view wall =
            at == std::string_view::npos ? std::string_view() : Trimmed(part.substr(at + sign.size()));
        if (!IsPositiveNumber(diameter) || !IsPositiveNumber(wall)) {
            return refuse("«" + std::string(part) +
                          "» — нужны наружный диаметр и толщина стенки в мм через «x», " +
                          std::string(kExample));
        }
        if (reading.Pipes.size() == kMaxPipeTableRows) {
            return refuse("труб больше " + std::to_string(kMaxPipeTableRows));
        }
        reading.Pipes.push_back({std::string(diameter), std::string(wall)});
    }
    return reading;
}

int RunPipes(const CliOptions& options, const std::vector<PipeSize>& sizes, const SummaryRequest& request,
             std::string_view separator, std::ostream& out, std::ostream& err, NoteWriter& notes,
             const CompensationTexts& compensation)
{
    const SpanTableConditions conditions{
        .Texts = options.Texts,
        .Selectors = options.Indexes,
        .SteelGrade = options.SteelGrade,
        .DecimalSeparator = std::string(separator),
        .OwnClimate = options.OwnClimate,
    };
    const std::vector<PipeDesign> pipes = DesignPipes(sizes, conditions, request);
    NoteInputs inputs = NoteInputsOf(options, separator);
    // The sections between fixed supports are computed with each pipe.
    inputs.PipesCompensation = compensation;
    inputs.Friction = request.Friction;
    std::string text;
    std::string refusals;
    bool every = true;
    for (const PipeDesign& pipe : pipes) {
        text += "Труба " + PipeSizeText(pipe.Row.Size, separator) + '\n';
        if (!pipe.Summary) {
            text += "  расчет не выполнен\n";
            every = false;
            continue;
        }
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            text += "  Определяющий пролет по " + std::string(RuleSetName(rules)) + ": " +
                    GoverningText(pipe.Summary->Of(rules).Governing, separator) + '\n';
        }
        const CompensationRun run = PipeCompensation(inputs, pipe);
        if (!run.Ok()) {
            refusals += "korvelin-calc: " + PipeSizeText(pipe.Row.Size, separator) + ": " + run.Message + '\n';
            every = false;
        }
        for (const CompensationResult& section : run.Sections) {
            for (const std::string& line : CompensationLines(section, separator)) {
                text += "  " + line + '\n';
            }
        }
    }
    if (!(out << text << std::flush)) {
        return 2;
    }
    for (const PipeDesign& pipe : pipes) {
        if (!pipe.Summary) {
            err << "korvelin-calc: " << PipeSizeText(pipe.Row.Size, separator) << ": "
                << ExplainedMessage(pipe.Row.Outcome) << '\n';
        }
    }
    err << refusals;
    if (!HasPipesNote(pipes)) {
        err << "korvelin-calc: ни одна труба не рассчитана, записка не составлена\n" << std::flush;
        return 1;
    }
    const std::string failure = WriteNoteFiles(options, notes, [&](bool framed) {
        inputs.Framed = framed;
        return BuildPipesNote(inputs, pipes);
    });
    if (!failure.empty()) {
        err << "korvelin-calc: " << failure << '\n' << std::flush;
        return 1;
    }
    err << std::flush;
    return every ? 0 : 1;
}

}  // namespace korvelin::cli
