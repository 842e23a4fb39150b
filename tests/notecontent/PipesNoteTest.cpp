// The project's note of several pipes, the calculation scheme, the scope of the condensate
// criterion and the typography of the documents.

#include "korvelin/CalculationScheme.h"
#include "korvelin/NoteTypography.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/PipesNote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvelin {
namespace {

constexpr std::string_view kNbsp = "\u00A0";

// The plain text with its no-break spaces as ordinary ones, for phrases that span them.
std::string Plain(const NoteDocument& note)
{
    std::string text = NoteToPlainText(note);
    for (std::size_t at; (at = text.find(kNbsp)) != std::string::npos;) {
        text.replace(at, kNbsp.size(), " ");
    }
    return text;
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::vector<std::string> Headings(const NoteDocument& note)
{
    std::vector<std::string> headings;
    for (const NoteBlock& block : note.Blocks) {
        if (const auto* heading = std::get_if<NoteHeading>(&block)) {
            headings.push_back(heading->Text);
        }
    }
    return headings;
}

NoteInputs CommonInputs()
{
    NoteInputs inputs;
    inputs.Texts = {"", "", "333", "206", "0,6"};
    inputs.SteelGrade = 0;
    inputs.Selectors.SpanCount = 2;  // three spans
    inputs.DateTime = "08.12.2026 14:05";
    inputs.Program = "Korvelin 1.0";
    inputs.Document.Object = "Газопровод к котельной";
    inputs.Document.Designation = "123-2026-ГСН.РР";
    inputs.Document.Author = "Иванов";
    return inputs;
}

std::vector<PipeDesign> Design(const NoteInputs& inputs, const std::vector<PipeSize>& sizes,
                               const SummaryRequest& request = {})
{
    const SpanTableConditions conditions{.Texts = inputs.Texts,
                                         .Selectors = inputs.Selectors,
                                         .SteelGrade = inputs.SteelGrade,
                                         .DecimalSeparator = inputs.DecimalSeparator,
                                         .OwnClimate = inputs.OwnClimate};
    return DesignPipes(sizes, conditions, request);
}

const std::vector<PipeSize> kThreePipes = {{"57", "3"}, {"108", "4"}, {"159", "4,5"}};

TEST(PipesNote, ThreePipesMakeOneDocumentWithEachPipesCalculation)
{
    NoteInputs inputs = CommonInputs();
    inputs.Framed = true;
    const std::vector<PipeDesign> pipes =
        Design(inputs, kThreePipes, {.ChosenSpan = 3.0, .RouteLength = 60.0});
    const NoteDocument note = BuildPipesNote(inputs, pipes);
    EXPECT_EQ(note.Title, "Расчет допустимых пролетов надземного газопровода");
    // One title block; the fields stand in it, not in the text.
    ASSERT_TRUE(note.TitleBlock);
    EXPECT_EQ(note.TitleBlock->Designation, "123-2026-ГСН.РР");
    EXPECT_EQ(note.TitleBlock->DocumentName, note.Title);
    const std::string text = Plain(note);
    EXPECT_EQ(text.find("Газопровод к котельной"), std::string::npos);

    EXPECT_EQ(Headings(note),
              (std::vector<std::string>{
                  "1 Общие условия расчета", "2 Нормативные значения и коэффициенты",
                  "3 Труба 57×3", "3.1 Нагрузки и допускаемые напряжения", "3.2 Расчет",
                  "3.3 Результаты", "3.4 Нагрузки на опоры",
                  "4 Труба 108×4", "4.1 Нагрузки и допускаемые напряжения", "4.2 Расчет",
                  "4.3 Результаты", "4.4 Нагрузки на опоры",
                  "5 Труба 159×4,5", "5.1 Нагрузки и допускаемые напряжения", "5.2 Расчет",
                  "5.3 Результаты", "5.4 Нагрузки на опоры",
                  "6 Сводная таблица труб", "Литература"}));
    // The common conditions once; no pipe's size among them.
    EXPECT_EQ(Count(text, "Рабочее давление газа\t0,6\tМПа"), 1u);
    EXPECT_EQ(text.find("Наружный диаметр трубы\t"), std::string::npos);
    EXPECT_EQ(Count(text, "1. СП 42-102-2004 «Проектирование"), 1u);

    // Each pipe: its scheme, its own formulas and its spans, the same in its part and in the
    // table of all pipes as the engine computed them.
    std::vector<const NoteDrawing*> schemes;
    for (const NoteBlock& block : note.Blocks) {
        if (const auto* drawing = std::get_if<NoteDrawing>(&block)) {
            schemes.push_back(drawing);
        }
    }
    ASSERT_EQ(schemes.size(), 3u);
    const NoteTable* all = nullptr;
    for (const NoteBlock& block : note.Blocks) {
        if (const auto* table = std::get_if<NoteTable>(&block);
            table != nullptr && !table->Rows.empty() && table->Rows[0][0].Text == "Труба, мм" &&
            table->Rows[0].size() == 9) {
            all = table;
        }
    }
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->Rows.size(), 4u);
    for (std::size_t i = 0; i < pipes.size(); ++i) {
        const std::string size = PipeSizeText(kThreePipes[i], ",");
        const std::string opening = "Рис. " + std::to_string(i + 1) + ". Расчетная схема трубы " + size;
        EXPECT_TRUE(FormulaPlainText(schemes[i]->Caption).starts_with(opening)) << opening;
        const double dynamic = *pipes[i].Row.Outcome.Spans.DynamicSpanSP;
        EXPECT_EQ(all->Rows[i + 1][0].Text, size);
        EXPECT_EQ(all->Rows[i + 1][2].Text, FormatFixed3(dynamic, ","));
        EXPECT_NE(text.find("Lд = 430·D·u1/4 = 430·" + FormatSignificant(std::stold(kThreePipes[i].OuterDiameter) / 1000, 7, ",")),
                  std::string::npos)
            << size;
    }
    EXPECT_EQ(Count(text, "Определяющий пролет по СП 42-102-2004: "), 3u);
    // The chosen span and the route for every pipe.
    EXPECT_NE(text.find("Проверка принятого пролета 3,000 м\n"), std::string::npos);
    EXPECT_NE(text.find("Опоры на участке трассы длиной 60,000 м: промежуточных опор и шаг опор, м"),
              std::string::npos);
}

TEST(PipesNote, APipeNotComputedGetsItsMessageAndOnePipeTheNoteOfOnePipe)
{
    const NoteInputs inputs = CommonInputs();
    // A wall of zero: the run refuses it and names the field.
    const std::vector<PipeDesign> pipes = Design(inputs, {{"57", "3"}, {"57", "0"}});
    ASSERT_FALSE(pipes[1].Row.Completed());
    ASSERT_FALSE(pipes[1].Row.Message.empty());
    const std::string text = Plain(BuildPipesNote(inputs, pipes));
    EXPECT_NE(text.find("4 Труба 57×0\n\nНаружный диаметр D = 57 мм, толщина стенки t = 0 мм.\n\n"
                        "Расчет не выполнен: " + pipes[1].Row.Message),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("57×0\tсм. прим. 1\t—"), std::string::npos);
    EXPECT_FALSE(HasPipesNote(Design(inputs, {{"57", "0"}, {"", ""}})));

    // A single pipe is the note of one pipe, and sections given join it before its closing line.
    NoteInputs one = inputs;
    one.Texts.OuterDiameter = "57";
    one.Texts.WallThickness = "3";
    const std::vector<PipeDesign> single = Design(inputs, {{"57", "3"}});
    const NoteSection section{{NoteHeading{"Компенсация"}, NoteParagraph{"Текст раздела"}},
                              {"СП 00.00000 «Раздел»"}};
    const NoteDocument withSection = BuildPipesNote(inputs, single, std::span(&section, 1));
    const std::string sectioned = Plain(withSection);
    EXPECT_EQ(Plain(BuildPipesNote(inputs, single)),
              Plain(BuildCalculationNote(one, single[0].Row.Outcome, *single[0].Summary)));
    EXPECT_LT(sectioned.find("Нагрузки на опоры"), sectioned.find("Компенсация\n"));
    EXPECT_LT(sectioned.find("Текст раздела"), sectioned.find("Расчет выполнен по"));
    EXPECT_NE(sectioned.find("5. СП 00.00000 «Раздел»."), std::string::npos);
}

// Above 300 mm of inner diameter the note says why SP gives no governing span.
TEST(PipesNote, InnerDiameterAbove300SaysTheCondensateCriterionDoesNotApply)
{
    NoteInputs inputs = CommonInputs();
    inputs.Texts.OuterDiameter = "325";
    inputs.Texts.WallThickness = "8";
    const CalculationOutcome outcome = RunCalculation(inputs.Texts, inputs.Selectors, ",");
    ASSERT_EQ(outcome.Kind, OutcomeKind::Completed);
    const DesignSummary summary = *SummarizeDesign(outcome, {.ChosenSpan = 3.0});
    const std::string text = Plain(BuildCalculationNote(inputs, outcome, summary));
    const std::string sentence =
        "Условие образования конденсата СП 42-102-2004 распространяется на трубы с внутренним "
        "диаметром до 300 мм, а у этой трубы d = 309 мм: по этому условию свод правил пролета не "
        "дает (c = 0, L = 0), поэтому определяющего пролета по СП 42-102-2004 нет — действуют "
        "пролеты по СНиП 2.04.12-86.";
    EXPECT_EQ(Count(text, sentence), 2u);  // in the step of the criterion and in the results
    EXPECT_NE(text.find("Определяющий пролет по СП 42-102-2004: нет.\n"), std::string::npos);
    EXPECT_NE(text.find("исходя из условия возможности образования конденсата\t0,000\t—\tне применяется"),
              std::string::npos);
    EXPECT_NE(text.find("По СП 42-102-2004 условие образования конденсата не применяется"),
              std::string::npos);
    EXPECT_EQ(text.find("конденсата\t0,000\t—\tне проходит"), std::string::npos);

    // Up to 300 mm there is no such sentence.
    inputs.Texts.WallThickness = "13";  // d = 299 mm
    const CalculationOutcome at300 = RunCalculation(inputs.Texts, inputs.Selectors, ",");
    EXPECT_EQ(Plain(BuildCalculationNote(inputs, at300, *SummarizeDesign(at300))).find("распространяется"),
              std::string::npos);
}

struct SchemeCase {
    int SpanCountIndex;
    int Supports;
    int MostLoaded;  // labels R_пр
    bool Broken;
};

TEST(CalculationScheme, TheBeamHasTheSupportsOfItsSpansAndTheLabelsOfItsLoads)
{
    const CalculationOutcome outcome = RunCalculation({"89", "3,2", "333", "206", "0,6"}, {}, ",");
    for (const SchemeCase c : {SchemeCase{0, 2, 0, false}, SchemeCase{1, 3, 1, false},
                               SchemeCase{2, 4, 2, false}, SchemeCase{5, 7, 2, false},
                               SchemeCase{6, 8, 2, true}}) {
        const SupportLoads loads = *SupportLoadsAt(outcome, RuleSet::SP, 3.122, std::nullopt);
        SupportLoads spanned = ComputeSupportLoads(3.122, c.SpanCountIndex, loads.VerticalLoad,
                                                   loads.WindLoad, std::nullopt);
        const NoteDrawing scheme = BuildCalculationScheme(
            c.SpanCountIndex, SchemeLoads{RuleSet::SP, spanned}, "Рис. 1. Расчетная схема", ",");
        std::vector<std::string> labels;
        for (const DrawingText& label : scheme.Texts) {
            labels.push_back(label.Text);
        }
        const auto count = [&labels](std::string_view text) {
            return std::count(labels.begin(), labels.end(), text);
        };
        const int triangles = static_cast<int>(std::count_if(
            scheme.Lines.begin(), scheme.Lines.end(), [](const DrawingLine& l) { return l.Closed; }));
        const std::string at = "spans item " + std::to_string(c.SpanCountIndex);
        EXPECT_EQ(triangles, c.Supports) << at;
        EXPECT_EQ(count("R_{кр}"), 2) << at;
        EXPECT_EQ(count("R_{пр}"), c.MostLoaded) << at;
        EXPECT_EQ(count("q"), 2) << at;  // on the beam and on the section
        EXPECT_EQ(count("w"), 1) << at;
        EXPECT_EQ(count("L = 3,122 м"), 1) << at;
        // The break: the one line with six points.
        const bool broken = std::any_of(scheme.Lines.begin(), scheme.Lines.end(),
                                        [](const DrawingLine& l) { return l.Points.size() == 6; });
        EXPECT_EQ(broken, c.Broken) << at;
        for (const DrawingText& label : scheme.Texts) {
            EXPECT_GE(label.At.X, 0) << label.Text;
            EXPECT_LE(label.At.X, kSchemeWidthMm) << label.Text;
            EXPECT_LE(label.At.Y, kSchemeHeightMm) << label.Text;
        }
    }
    // Two spans: the reactions with their exact factors and whole newtons in the caption.
    const SupportLoads two = ComputeSupportLoads(3.122, 1, 81.406, 18.099, std::nullopt);
    const std::string caption =
        BuildCalculationScheme(1, SchemeLoads{RuleSet::SP, two}, "Рис. 1. Расчетная схема", ",").Caption;
    EXPECT_EQ(caption,
              "Рис. 1. Расчетная схема: неразрезная балка на опорах, пролетов 2; по СП 42-102-2004: "
              "q = 81,406 Н/м — вертикальная нагрузка, w = 18,099 Н/м — горизонтальная нагрузка от "
              "ветра поперек оси трубы, L = 3,122 м — определяющий пролет; R_{кр} = 3/8·q·L = 95 Н, "
              "R_{пр} = 5/4·q·L = 318 Н — вертикальные реакции опор");
    // Without loads: the symbols alone.
    const NoteDrawing symbolic = BuildCalculationScheme(0, std::nullopt, "Схема", ",");
    EXPECT_NE(std::find_if(symbolic.Texts.begin(), symbolic.Texts.end(),
                           [](const DrawingText& t) { return t.Text == "L"; }),
              symbolic.Texts.end());
}

TEST(NoteTypography, NumbersKeepTheirUnitsAndStandardsTheirNumbers)
{
    const std::pair<std::string, std::string> cases[] = {
        {"L = 3,122 м — пролет", "L = 3,122\u00A0м — пролет"},
        {"q = 66,81296 Н/м;", "q = 66,81296\u00A0Н/м;"},
        {"до 300 мм, 2 ‰ и 96,1 %", "до 300\u00A0мм, 2\u00A0‰ и 96,1\u00A0%"},
        {"I = 8,854411·10⁻⁷ м⁴.", "I = 8,854411·10⁻⁷\u00A0м⁴."},
        {"5 метров, 2 Н·м", "5 метров, 2\u00A0Н·м"},  // a word is no unit
        {"по СП 42-102-2004 и СНиП 2.04.12-86", "по СП\u00A042-102-2004 и СНиП\u00A02.04.12-86"},
        {"ГОСТ Р 21.101-2020", "ГОСТ\u00A0Р\u00A021.101-2020"},
        {"ССП 42 и СП раздел", "ССП 42 и СП раздел"},
        {"127 Н (0,13 кН)", "127\u00A0Н (0,13\u00A0кН)"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(WithNoBreakSpaces(text), expected) << text;
    }
}

TEST(NoteTypography, SupportLoadsInWholeNewtonsAndKilonewtonsToTheHundredth)
{
    EXPECT_EQ(SupportLoadText(127.163, ","), "127 Н (0,13 кН)");
    EXPECT_EQ(SupportLoadText(1136.311, "."), "1136 Н (1.14 кН)");
    EXPECT_EQ(SupportLoadText(4.999, ","), "5 Н (0,00 кН)");
    EXPECT_EQ(SupportLoadText(25005.0, ","), "25005 Н (25,01 кН)");
}

}  // namespace
}  // namespace korvelin
