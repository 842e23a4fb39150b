#include "korvelin/SpanTableNote.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace korvelin
