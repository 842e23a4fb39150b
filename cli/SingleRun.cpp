#include "SingleRun.h"

#include "JsonWriter.h"
#include "NoteOutput.h"
#include "OutcomeText.h"
#include "korvelin/CalculationNote.h"
#include "korvelin/CompensationDrawing.h"
#include "korvelin/CompensationNote.h"
#include "korvelin/FaultExplanation.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/RoutePlanDrawing.h"
#include "korvelin/RoutePlanDxf.h"
#include "korvelin/ScheduleNote.h"
#include "korvelin/Selectors.h"
#include "korvelin/SupportLoadsNote.h"
#include "korvelin/Version.h"

#include <string>

namespace korvelin::cli {
namespace {

void AppendSpanGroups(std::string& out, const SpanResults& spans, std::string_view separator)
{
    for (const bool sp : {true, false}) {
        out += sp ? kRulesSP : kRulesSNiP;
        out += '\n';
        for (const SpanColumn& column : SpanColumns()) {
            if (column.SP != sp) {
                continue;
            }
            out += "  ";
            out += column.Label;
            out += ": ";
            const std::optional<double>& value = spans.*column.Field;
            out += value ? FormatFixed3(*value, separator) + " м" : std::string("—");
            out += '\n';
        }
    }
}

}  // namespace

int RunSingle(const CliOptions& options, const SummaryRequest& request, std::string_view separator,
              std::ostream& out, std::ostream& err, NoteWriter* notes,
              const CompensationTexts& compensation)
{
    const CalculationOutcome outcome = RunCalculation(
        options.Texts, options.Indexes, ReadOwnClimate(options.OwnClimate, separator).Values, separator);
    const bool completed = outcome.Kind == OutcomeKind::Completed;
    const std::optional<DesignSummary> summary = SummarizeDesign(outcome, request);
    // The sections between fixed supports, with the pipe the run read and the loads it gave.
    std::optional<CompensationRun> sections;
    if (!compensation.Sections.empty() && outcome.Input) {
        sections = RunCompensation(compensation, outcome.Input->OuterDiameter,
                                   outcome.Input->WallThickness, request.Friction,
                                   CompensationLoadsOf(outcome), separator);
    }
    const bool compensated = !sections || sections->Ok();
    // The route of the sections and the schedule of its supports.
    std::optional<ScheduleOutcome> schedule;
    if (sections && sections->Ok() && completed) {
        RouteScheduleRequest scheduleRequest;
        scheduleRequest.PlacementRules = ReadPlacementRules(compensation.PlacementRules).value_or(RuleSet::SP);
        scheduleRequest.Friction = request.Friction;
        scheduleRequest.Edits = ReadSupportEdits(compensation.SupportEdits, separator).Edits;
        schedule = ScheduleOfRun(outcome, sections->Sections, scheduleRequest, separator);
    }
    const RouteSchedule* route = schedule && schedule->Ok() ? &*schedule->Schedule : nullptr;
    std::string text;
    if (options.Json) {
        text = OutcomeJson(outcome, summary,
                           {!compensation.Sections.empty(),
                            sections && sections->Ok() ? &sections->Sections : nullptr, route});
    } else {
        const SpanResults& s = outcome.Spans;
        const bool anySpan = s.StaticSpanSP || s.DynamicSpanSP || s.CondensateSpanSP ||
                             s.DeflectionSpanSP || s.StaticSpanSNiP || s.DeflectionSpanSNiP;
        if (options.OwnClimate.Any()) {
            text += "Свои нормативные значения: " + OwnClimateText(options.OwnClimate, separator) + '\n';
        }
        if (anySpan) {
            AppendSpanGroups(text, outcome.Spans, separator);
        }
        if (summary) {
            for (const std::string& line : SummaryLines(*summary, separator)) {
                text += line;
                text += '\n';
            }
            for (const std::string& line : SupportLoadLines(*summary, separator)) {
                text += line;
                text += '\n';
            }
        }

        if (sections && sections->Ok()) {
            for (const CompensationResult& section : sections->Sections) {
                for (const std::string& line : CompensationLines(section, separator)) {
                    text += line;
                    text += '\n';
                }
            }
        }
        if (route != nullptr) {
            for (const std::string& line : ScheduleLines(*route, separator)) {
                text += line;
                text += '\n';
            }
        }

        if (options.Report) {
            if (anySpan) {
                text += '\n';
            }
            for (const std::string_view line : outcome.Report) {
                text += line;
                text += '\n';
            }
        }
    }
    if (!(out << text << std::flush)) {
        return 2;
    }
    if (!completed) {
        err << "korvelin-calc: " << ExplainedMessage(outcome, options.Texts, separator) << '\n' << std::flush;
        return 1;
    }
    // The calculation stands as computed; what its inputs leave in doubt goes beside the output.
    for (const std::string& warning : summary->Warnings) {
        err << "korvelin-calc: внимание: " << warning << '\n' << std::flush;
    }
    if (!compensated) {
        err << "korvelin-calc: " << sections->Message << '\n' << std::flush;
        return 1;
    }
    if (sections) {
        // A compressed leg above Euler's force: the result stands, the designer is warned.
        for (const CompensationResult& section : sections->Sections) {
            for (const bool heating : {true, false}) {
                for (const BucklingRow& row : section.Of(heating).Buckling) {
                    if (!row.Stable) {
                        err << "korvelin-calc: внимание: " << section.Section.Name << ", "
                            << (heating ? "нагрев" : "охлаждение") << ", плечо " << row.Leg + 1
                            << ": " << kStabilityWarning << " (N/N_cr = "
                            << FormatFixed3(row.Ratio, separator) << ")\n" << std::flush;
                    }
                }
            }
        }
    }
    // A schedule that cannot be made is an error only where its file or the drawing was asked for.
    if (schedule && !schedule->Ok()) {
        if (!options.ScheduleFile.empty() || !options.DxfFile.empty()) {
            err << "korvelin-calc: " << schedule->Message << '\n' << std::flush;
            return 1;
        }
        err << "korvelin-calc: внимание: ведомость опор не составлена: " << schedule->Message << '\n'
            << std::flush;
    }
    if (route != nullptr) {
        for (const std::string& warning : route->Warnings) {
            err << "korvelin-calc: внимание: " << warning << '\n' << std::flush;
        }
    }
    if (!options.ScheduleFile.empty() && route != nullptr && notes != nullptr) {
        const std::string failure =
            ScheduleFileKind(options.ScheduleFile) == ScheduleFileType::Csv
                ? notes->WriteFile(ScheduleCsv(*route, separator), options.ScheduleFile)
                : notes->WritePdf(BuildScheduleNote(*route, separator, NowText(),
                                                    "Korvelin " KORVELIN_VERSION, options.Document),
                                  options.ScheduleFile);
        if (!failure.empty()) {
            err << "korvelin-calc: " << failure << '\n' << std::flush;
            return 1;
        }
    }
    if (!options.DxfFile.empty() && route != nullptr && notes != nullptr) {
        const dxf::Written written = dxf::WriteDxf(RoutePlanDocument(
            BuildRoutePlan(sections->Sections, *route, kRouteDxfSheetMm, separator)));
        const std::string failure =
            written.Ok() ? notes->WriteFile(written.Bytes, options.DxfFile) : written.Problem;
        if (!failure.empty()) {
            err << "korvelin-calc: " << failure << '\n' << std::flush;
            return 1;
        }
    }
    if ((!options.PdfFile.empty() || !options.OdtFile.empty()) && notes != nullptr) {
        NoteInputs inputs = NoteInputsOf(options, separator);
        if (sections) {
            inputs.Compensation = CompensationNoteSections(*sections, separator);
        }
        std::vector<NoteSection> more;
        if (route != nullptr) {
            more.push_back(ScheduleNoteSection(*route, separator));
            // The note's first figure is the calculation scheme; the plan is the second.
            AddRoutePlanFigure(more.back(), sections->Sections, *route, 2, separator);
        }
        const std::string failure = WriteNoteFiles(options, *notes, [&](bool framed) {
            inputs.Framed = framed;
            return BuildCalculationNote(inputs, outcome, *summary, more);
        });
        if (!failure.empty()) {
            err << "korvelin-calc: " << failure << '\n' << std::flush;
            return 1;
        }
    }
    return 0;
}

}  // namespace korvelin::cli
