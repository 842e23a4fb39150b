#include "korvelin/CalculationNote.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

struct StartUp {
    NoteInputs Inputs;
    CalculationOutcome Outcome;
    DesignSummary Summary;
};

StartUp StartUpRun(SummaryRequest request)
{
    StartUp run;
    run.Inputs.Texts = {"89", "3,2", "333", "206", "0,6"};
    run.Inputs.SteelGrade = 0;
    run.Inputs.DateTime = "08.12.2026 14:05";
    run.Inputs.Program = "Korvelin 1.0";
    run.Outcome = RunCalculation(run.Inputs.Texts, {}, ",");
    run.Summary = *SummarizeDesign(run.Outcome, request);
    return run;
}

const NoteTable& TableAfter(const NoteDocument& note, std::string_view heading)
{
    for (std::size_t i = 0; i + 1 < note.Blocks.size(); ++i) {
        const auto* h = std::get_if<NoteHeading>(&note.Blocks[i]);
        if (h != nullptr && h->Text == heading) {
            return std::get<NoteTable>(note.Blocks[i + 1]);
        }
    }
    throw std::runtime_error("no table after " + std::string(heading));
}

std::vector<std::string> Texts(const std::vector<NoteCell>& row)
{
    std::vector<std::string> texts;
    for (const NoteCell& cell : row) {
        texts.push_back(cell.Text);
    }
    return texts;
}

TEST(CalculationNote, TablesTakeTheTechnicalSheetApart)
{
    const StartUp run = StartUpRun({});
    const NoteDocument note = BuildCalculationNote(run.Inputs, run.Outcome, run.Summary);
    EXPECT_EQ(note.Title, "Расчет допустимого пролета надземного газопровода");
    EXPECT_EQ(note.Orientation, PageOrientation::Portrait);

    const NoteTable& inputs = TableAfter(note, "Исходные данные");
    ASSERT_EQ(inputs.Rows.size(), 13u);
    EXPECT_EQ(Texts(inputs.Rows[2]), (std::vector<std::string>{"Толщина стенки трубы", "3,2", "мм"}));
    EXPECT_EQ(Texts(inputs.Rows[4]),
              (std::vector<std::string>{"Марка стали", "ст2сп/ГОСТ 10705-80", ""}));

    const NoteTable& normative = TableAfter(note, "Нормативные значения");
    ASSERT_EQ(normative.Rows.size(), 12u);  // header, 3 normative values, 8 coefficients
    EXPECT_EQ(Texts(normative.Rows[1]),
              (std::vector<std::string>{"Нормируемый вес снега, кН/м2", "0,800"}));
    EXPECT_EQ(Texts(normative.Rows[11]),
              (std::vector<std::string>{"Коэффициент надежости по материалу трубы/температуре "
                                        "(используется в методике по СНИП)",
                                        "1,000"}));

    const NoteTable& loads = TableAfter(note, "Нагрузки и допускаемые напряжения");
    ASSERT_EQ(loads.Rows.size(), 9u);
    EXPECT_EQ(Texts(loads.Rows[1]), (std::vector<std::string>{"вес трубы, н/м", "66,813", "66,813"}));
    EXPECT_EQ(Texts(loads.Rows[6]),
              (std::vector<std::string>{"Допустимое напряжение, МПА", "128,077", "179,130"}));

    // The six spans, the governing ones in bold; no check and no route were asked for.
    const NoteTable& spans = TableAfter(note, "Результаты");
    ASSERT_EQ(spans.Rows.size(), 7u);
    EXPECT_EQ(spans.Rows[2][2].Text, "3,122");
    EXPECT_TRUE(spans.Rows[2][2].Bold);
    EXPECT_FALSE(spans.Rows[1][2].Bold);
    EXPECT_TRUE(spans.Rows[6][2].Bold);
    EXPECT_EQ(spans.Rows[6][2].Text, "9,189");
    const std::string text = NoteToPlainText(note);
    EXPECT_EQ(text.find("Проверка принятого пролета"), std::string::npos);
    EXPECT_EQ(text.find("Опоры на участке"), std::string::npos);
    EXPECT_NE(text.find("Определяющий пролет по СП 42-102-2004: 3,122 м — динамический расчет на "
                        "прочность\n"),
              std::string::npos);
    EXPECT_NE(text.find("1/150"), std::string::npos);
}

TEST(CalculationNote, CopiedResultsAreTabSeparatedLines)
{
    const StartUp run = StartUpRun({.ChosenSpan = 3.5, .RouteLength = 100.0});
    const std::string copied = CopiedResults(run.Outcome, run.Summary, ",");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = copied.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(copied.substr(start, end - start));
    }
    EXPECT_EQ(start, copied.size());
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
    }
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "СП 42-102-2004: Длина пролета исходя из статического расчета на "
                        "прочность\t18,441\tм");
    EXPECT_EQ(lines[4], "Определяющий пролет по СП 42-102-2004 (динамический расчет на "
                        "прочность)\t3,122\tм");
    EXPECT_EQ(lines[7], "Определяющий пролет по СНиП 2.04.12-86 (предельный прогиб)\t9,189\tм");
    const auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Принятый пролет\t3,500\tм"));
    EXPECT_TRUE(has("Принятый пролет к допустимому, СП 42-102-2004, динамический расчет на "
                    "прочность\t112,1\t%"));
    EXPECT_TRUE(has("Принятый пролет по СП 42-102-2004\tне проходит\t"));
    EXPECT_TRUE(has("Принятый пролет по СНиП 2.04.12-86\tпроходит\t"));
    EXPECT_TRUE(has("Промежуточных опор, по СП 42-102-2004\t32\tшт."));
    EXPECT_TRUE(has("Шаг опор, принятый пролет\t3,448\tм"));
}

}  // namespace
}  // namespace korvelin
