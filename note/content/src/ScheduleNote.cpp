#include "korvelin/ScheduleNote.h"

#include "korvelin/NumberFormat.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace korvelin {
namespace {

NoteTable TableOf(std::initializer_list<ScheduleColumn> columns, const RouteSchedule& schedule,
                  bool fixedOnly, std::string_view separator)
{
    NoteTable table;
    table.HeaderRows = 1;
    std::vector<NoteCell> header;
    for (const ScheduleColumn column : columns) {
        header.push_back({std::string(ScheduleHeader(column)), true});
        const bool left = column == ScheduleColumn::Kind;
        table.Alignment.push_back(left ? CellAlignment::Left : CellAlignment::Right);
    }
    table.Rows.push_back(std::move(header));
    for (const ScheduleRow& row : schedule.Rows) {
        if (fixedOnly && row.Kind != ScheduleKind::Fixed) {
            continue;
        }
        std::vector<NoteCell> cells;
        for (const ScheduleColumn column : columns) {
            std::string text = ScheduleCell(row, column, separator);
            cells.push_back({text.empty() ? std::string("—") : std::move(text),
                             row.Kind == ScheduleKind::Fixed && column == ScheduleColumn::Kind});
        }
        table.Rows.push_back(std::move(cells));
    }
    return table;
}

}  // namespace

void AddScheduleBlocks(NoteDocument& note, const RouteSchedule& schedule, std::string_view separator)
{
    for (std::string& line : ScheduleDescription(schedule, separator)) {
        note.AddParagraph(std::move(line));
    }
    using C = ScheduleColumn;
    note.Blocks.emplace_back(NoteParagraph{"Опоры трассы", true, false, true});
    NoteTable supports = TableOf({C::No, C::Kind, C::Section, C::Leg, C::Chainage, C::X, C::Y,
                                  C::VerticalSP, C::VerticalSNiP, C::AlongSP, C::AlongSNiP,
                                  C::AcrossSP, C::AcrossSNiP},
                                 schedule, false, separator);
    supports.WidthPercent = {4, 12, 6, 6, 8, 7, 7, 8, 8, 8, 9, 8, 9};
    note.AddTable(std::move(supports));

    note.Blocks.emplace_back(
        NoteParagraph{"Силы на неподвижные опоры при нагреве и охлаждении", true, false, true});
    note.AddTable(TableOf({C::No, C::Section, C::HeatingAlongSP, C::HeatingAcrossSP, C::CoolingAlongSP,
                           C::CoolingAcrossSP, C::HeatingAlongSNiP, C::HeatingAcrossSNiP,
                           C::CoolingAlongSNiP, C::CoolingAcrossSNiP},
                          schedule, true, separator));

    note.Blocks.emplace_back(NoteParagraph{"Итого по типам опор", true, false, true});
    NoteTable totals;
    std::vector<NoteCell> header;
    for (const std::string_view text : ScheduleTotalHeaders()) {
        header.push_back({std::string(text), true});
        totals.Alignment.push_back(header.size() == 1 ? CellAlignment::Left : CellAlignment::Right);
    }
    totals.Rows.push_back(std::move(header));
    for (std::vector<std::string>& row : ScheduleTotalCells(schedule, separator)) {
        std::vector<NoteCell> cells;
        for (std::string& text : row) {
            cells.push_back({std::move(text)});
        }
        totals.Rows.push_back(std::move(cells));
    }
    note.AddTable(std::move(totals));

    note.Blocks.emplace_back(NoteParagraph{"Деление плеч на пролеты по " +
                                               std::string(RuleSetName(schedule.PlacementRules)),
                                           true, false, true});
    NoteTable legs;
    legs.Rows.push_back({{"Участок", true}, {"Плечо", true}, {"Длина, м", true},
                         {"Пролетов", true}, {"Наибольший пролет, м", true},
                         {"Определяющий пролет балки из стольких пролетов, м", true}});
    legs.Alignment.assign(6, CellAlignment::Right);
    for (const LegDivision& leg : schedule.Legs) {
        legs.Rows.push_back({{std::to_string(leg.Section + 1)},
                             {std::to_string(leg.Leg + 1)},
                             {FormatFixed3(leg.Length, separator)},
                             {std::to_string(leg.Spans)},
                             {FormatFixed3(leg.LongestSpan, separator)},
                             {FormatFixed3(leg.GoverningSpan, separator)}});
    }
    note.AddTable(std::move(legs));
    for (const std::string& warning : schedule.Warnings) {
        note.AddParagraph("Внимание: " + warning + ".", true);
    }
}

NoteSection ScheduleNoteSection(const RouteSchedule& schedule, std::string_view separator)
{
    NoteDocument part;
    part.AddHeading(std::string(kScheduleTitle));
    AddScheduleBlocks(part, schedule, separator);
    return {std::move(part.Blocks), {}};
}

NoteDocument BuildScheduleNote(const RouteSchedule& schedule, std::string_view separator,
                               std::string_view dateTime, std::string_view program,
                               const DocumentFields& document)
{
    NoteDocument note =
        LandscapeTableNote(std::string(kScheduleTitle) + " надземного газопровода", document, dateTime, program);
    AddScheduleBlocks(note, schedule, separator);
    return note;
}

std::vector<std::string> ScheduleLines(const RouteSchedule& schedule, std::string_view separator)
{
    std::vector<std::string> lines;
    lines.push_back(std::string(kScheduleTitle) + " (опоры расставлены по " +
                    std::string(RuleSetName(schedule.PlacementRules)) + "), длина трассы " +
                    FormatFixed3(schedule.Length, separator) + " м:");
    using C = ScheduleColumn;
    for (const ScheduleRow& row : schedule.Rows) {
        const auto cell = [&](C column) { return ScheduleCell(row, column, separator); };
        std::string line = "  " + cell(C::No) + ". " + cell(C::Kind) + ", участок " + cell(C::Section) +
                           ", плечо " + cell(C::Leg) + ", пикетаж " + cell(C::Chainage) + " м, x " +
                           cell(C::X) + " м, y " + cell(C::Y) + " м; V: СП " + cell(C::VerticalSP) +
                           " Н, СНиП " + cell(C::VerticalSNiP) + " Н";
        if (row.Kind == ScheduleKind::Fixed) {
            line += "; нагрев вдоль/поперек: СП " + cell(C::HeatingAlongSP) + "/" +
                    cell(C::HeatingAcrossSP) + " Н, СНиП " + cell(C::HeatingAlongSNiP) + "/" +
                    cell(C::HeatingAcrossSNiP) + " Н; охлаждение: СП " + cell(C::CoolingAlongSP) +
                    "/" + cell(C::CoolingAcrossSP) + " Н, СНиП " + cell(C::CoolingAlongSNiP) + "/" +
                    cell(C::CoolingAcrossSNiP) + " Н";
        } else {
            line += "; H вдоль: СП " + cell(C::AlongSP) + " Н, СНиП " + cell(C::AlongSNiP) +
                    " Н; H поперек: СП " + cell(C::AcrossSP) + " Н, СНиП " + cell(C::AcrossSNiP) + " Н";
        }
        lines.push_back(std::move(line));
    }
    for (const std::vector<std::string>& total : ScheduleTotalCells(schedule, separator)) {
        lines.push_back("  Итого " + total[0] + ": " + total[1] + " шт., ΣV: СП " + total[2] +
                        " Н, СНиП " + total[3] + " Н");
    }
    for (const std::string& warning : schedule.Warnings) {
        lines.push_back("  Внимание: " + warning);
    }
    return lines;
}

}  // namespace korvelin
