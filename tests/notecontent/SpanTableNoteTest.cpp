#include "korvelin/SpanTableNote.h"

#include "korvelin/NumberFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include <string>
#include <vector>

namespace korvelin {
namespace {

// Steel ст2сп (333 / 206 MPa), 0,6 MPa, every selector on its first item.
SpanTableConditions StartUpConditions()
{
    SpanTableConditions conditions;
    conditions.Texts = {"", "", "333", "206", "0,6"};
    conditions.SteelGrade = 0;
    return conditions;
}

TEST(SpanTable, NoteIsLandscapeWithTheConditionsAndNotesForRefusedRows)
{
    const std::vector<PipeSize> sizes = {{"89", "3"}, {"325", "8"}, {"89", "0"}};
    const SpanTableConditions conditions = StartUpConditions();
    const NoteDocument note = BuildSpanTableNote(ComputeSpanTable(sizes, conditions), conditions,
                                                 "08.12.2026 14:05", "Korvelin 1.0");
    EXPECT_EQ(note.Orientation, PageOrientation::Landscape);
    EXPECT_EQ(note.Title, "Таблица допустимых пролетов надземного газопровода");
    const std::string text = NoteToPlainText(note);
    for (const std::string& expected : {
             std::string("Дата и время расчета: 08.12.2026 14:05. Программа: Korvelin 1.0."),
             std::string("Давление в трубопроводе 0,6 МПа"),
             std::string("89×3\t18,332\t3,112\t6,103\t9,906\t13,710\t9,096\t"
                         "3,112\t9,096"),
             // Above 300 mm inside: computed, SP without a governing span and why.
             std::string("325×8\t37,760\t11,682\t0,000\t25,050\t29,922\t23,153\tнет, см. прим. 1\t23,153"),
             std::string("1. 325×8, СП 42-102-2004: внутренний диаметр 309 мм больше 300 мм — для таких труб "
                         "СП 42-102-2004 не дает пролета по условию образования конденсата; определяющий "
                         "пролет — по СНиП 2.04.12-86"),
             std::string("89×0\tсм. прим. 2\t—\t—\t—\t—\t—\t—\t—"),
             std::string("2. 89×0: Введены не все данные — равно нулю поле «Толщина стенки трубы»"),
             std::string("СП: динамический расчет, м"),
             std::string("Пролеты в столбцах: статический расчет — исходя из статического расчета "
                         "на прочность; динамический расчет — исходя из динамического расчета на "
                         "прочность; конденсат — исходя из условия возможности образования "
                         "конденсата; прогиб — исходя из предельного допустимого прогиба. Определяющий "
                         "пролет каждого свода правил выделен в столбце его критерия."),
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n---\n" << text;
    }
    const auto* table = std::get_if<NoteTable>(&note.Blocks[8]);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Rows.size(), 4u);
    EXPECT_EQ(table->Rows[0].size(), table->WidthPercent.size());
    // 89×3: the dynamic span governs SP, the deflection span SNiP; both stand in bold.
    const std::vector<NoteCell>& pipe = table->Rows[1];
    std::vector<bool> bold;
    for (const NoteCell& cell : pipe) {
        bold.push_back(cell.Bold);
    }
    EXPECT_EQ(bold, (std::vector<bool>{false, false, true, false, false, false, true, true, true}));
}

// The window's loads on the supports and the document fields: the six loads' columns in a table
// of their own, each value as the design layer gives it; the frame with the title block and the margin's graphs when the
// fields ask for it; the table, its explanation and its notes keeping together.
TEST(SpanTable, NoteTakesTheLoadsAndTheFrameItIsAskedFor)
{
    const std::vector<PipeSize> sizes = {{"89", "3"}, {"325", "8"}, {"159", "4,5"}};
    const SpanTableConditions conditions = StartUpConditions();
    const std::vector<SpanTableRow> rows = ComputeSpanTable(sizes, conditions);
    const SpanTableSupportColumns supports{0.3};
    DocumentFields fields;
    fields.Designation = "123-2026-ГСН.ТП";
    fields.Author = "Иванов";
    fields.OriginalInventory = "5678";
    const NoteDocument note =
        BuildSpanTableNote(rows, conditions, "08.12.2026 14:05", "Korvelin 1.0", &supports, fields);
    ASSERT_TRUE(note.TitleBlock);
    EXPECT_EQ(note.TitleBlock->Designation, "123-2026-ГСН.ТП");
    EXPECT_EQ(note.TitleBlock->DocumentName, note.Title);
    EXPECT_EQ(note.TitleBlock->Author, "Иванов");
    EXPECT_EQ(note.TitleBlock->Date, "08.12.26");
    EXPECT_EQ(note.TitleBlock->OriginalInventory, "5678");
    EXPECT_EQ(note.Orientation, PageOrientation::Landscape);

    std::vector<const NoteTable*> tables;
    for (const NoteBlock& block : note.Blocks) {
        if (const auto* table = std::get_if<NoteTable>(&block)) {
            tables.push_back(table);
        }
    }
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->Rows[1].size(), 9u);
    const NoteTable& grid = *tables[1];
    ASSERT_EQ(grid.Rows.size(), 4u);
    EXPECT_EQ(grid.WidthPercent.size(), 7u);
    EXPECT_EQ(std::accumulate(grid.WidthPercent.begin(), grid.WidthPercent.end(), 0), 100);
    EXPECT_EQ(grid.Rows[0][1].Text, "СП: опора,\nвертикальная,\nН");
    EXPECT_EQ(grid.Rows[0][6].Text, "СНиП: опора,\nтрение, Н");
    for (std::size_t r = 1; r < grid.Rows.size(); ++r) {
        ASSERT_EQ(grid.Rows[r].size(), 7u) << r;
        EXPECT_EQ(grid.Rows[r][0].Text, PipeSizeText(sizes[r - 1], ","));
        const auto loads = SpanTableSupportLoads(rows[r - 1], 0.3);
        for (std::size_t i = 0; i < loads.size(); ++i) {
            EXPECT_EQ(grid.Rows[r][1 + i].Text, loads[i] ? FormatFixed3(*loads[i], ",") : "—") << r << ' ' << i;
        }
    }
    EXPECT_EQ(grid.Rows[2][1].Text, "—");  // 325×8 is not computed
    // Each table keeps with its explanation; the loads' table with the notes, all but the last.
    const auto first = std::find_if(note.Blocks.begin(), note.Blocks.end(),
                                    [](const NoteBlock& b) { return std::holds_alternative<NoteTable>(b); });
    for (auto block = first; block != note.Blocks.end(); ++block) {
        const bool last = block + 1 == note.Blocks.end();
        if (const auto* paragraph = std::get_if<NoteParagraph>(&*block)) {
            EXPECT_EQ(paragraph->KeepWithNext, !last && block != first + 1) << paragraph->Text;
        } else if (const auto* table = std::get_if<NoteTable>(&*block)) {
            EXPECT_TRUE(table->KeepWithNext);
        }
    }
    EXPECT_NE(NoteToPlainText(note).find("трение μ·k·q·L при μ = 0,3."), std::string::npos);

    // No designation, or the frame declined: no title block; no loads unless asked for.
    fields.Frame = false;
    const NoteDocument declined = BuildSpanTableNote(rows, conditions, "", "", nullptr, fields);
    EXPECT_FALSE(declined.TitleBlock);
    EXPECT_FALSE(BuildSpanTableNote(rows, conditions, "", "").TitleBlock);
    EXPECT_EQ(std::count_if(declined.Blocks.begin(), declined.Blocks.end(),
                            [](const NoteBlock& b) { return std::holds_alternative<NoteTable>(b); }),
              1);
    EXPECT_EQ(NoteToPlainText(declined).find("опора"), std::string::npos);
}

}  // namespace
}  // namespace korvelin
