#include "korvelin/CalculationNote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
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

// The plain text with its no-break spaces as ordinary ones, for phrases that span them.
std::string Plain(const NoteDocument& note)
{
    std::string text = NoteToPlainText(note);
    for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;) {
        text.replace(at, 2, " ");
    }
    return text;
}

const NoteTable& TableAfter(const NoteDocument& note, std::string_view heading)
{
    for (std::size_t i = 0; i + 1 < note.Blocks.size(); ++i) {
        const auto* h = std::get_if<NoteHeading>(&note.Blocks[i]);
        if (h != nullptr && h->Text == heading) {
            // The numbered title of the table stands between them.
            EXPECT_TRUE(std::get<NoteParagraph>(note.Blocks[i + 1]).Text.starts_with("Таблица "));
            return std::get<NoteTable>(note.Blocks[i + 2]);
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

TEST(CalculationNote, TablesSayWhatTheRunUsedInCorrectWords)
{
    const StartUp run = StartUpRun({});
    const NoteDocument note = BuildCalculationNote(run.Inputs, run.Outcome, run.Summary);
    EXPECT_EQ(note.Title, "Расчет допустимого пролета надземного газопровода");
    EXPECT_EQ(note.Orientation, PageOrientation::Portrait);
    EXPECT_FALSE(note.TitleBlock);

    const NoteTable& inputs = TableAfter(note, "Исходные данные");
    ASSERT_EQ(inputs.Rows.size(), 13u);
    EXPECT_EQ(Texts(inputs.Rows[2]), (std::vector<std::string>{"Толщина стенки трубы", "3,2", "мм"}));
    // A number keeps its unit and a standard its number: no-break spaces.
    EXPECT_EQ(Texts(inputs.Rows[4]),
              (std::vector<std::string>{"Марка стали", "ст2сп/ГОСТ\u00A010705-80", ""}));
    EXPECT_EQ(Texts(inputs.Rows[12]),
              (std::vector<std::string>{"Уклон трубопровода", "0,000 (0\u00A0‰)", ""}));

    const NoteTable& normative = TableAfter(note, "Нормативные значения и коэффициенты");
    ASSERT_EQ(normative.Rows.size(), 14u);  // header, 7 values of the run, 6 coefficients
    EXPECT_EQ(Texts(normative.Rows[2]),
              (std::vector<std::string>{"Нормативная толщина стенки гололеда", "3", "мм"}));
    EXPECT_EQ(Texts(normative.Rows[12]),
              (std::vector<std::string>{"Коэффициент надежности по материалу трубы (СНиП\u00A0"
                                        "2.04.12-86)", "1,150", ""}));

    const NoteTable& loads = TableAfter(note, "Нагрузки и допускаемые напряжения");
    ASSERT_EQ(loads.Rows.size(), 10u);
    EXPECT_EQ(Texts(loads.Rows[1]),
              (std::vector<std::string>{"Вес трубы (нормативный), Н/м", "66,813", "66,813"}));
    EXPECT_EQ(Texts(loads.Rows[5]),
              (std::vector<std::string>{"Ветровая нагрузка (нормативная), Н/м", "18,099", "—"}));
    EXPECT_EQ(Texts(loads.Rows[7]),
              (std::vector<std::string>{"Расчетная нагрузка, Н/м", "83,449", "113,631"}));
    EXPECT_EQ(Texts(loads.Rows[8]),
              (std::vector<std::string>{"Допускаемое напряжение, МПа", "128,077", "179,130"}));

    // The six spans, the governing ones in bold; no check and no route were asked for.
    const NoteTable& spans = TableAfter(note, "Результаты");
    ASSERT_EQ(spans.Rows.size(), 7u);
    EXPECT_EQ(spans.Rows[2][2].Text, "3,122");
    EXPECT_TRUE(spans.Rows[2][2].Bold);
    EXPECT_FALSE(spans.Rows[1][2].Bold);
    EXPECT_TRUE(spans.Rows[6][2].Bold);
    EXPECT_EQ(spans.Rows[6][2].Text, "9,189");
    const std::string text = Plain(note);
    EXPECT_EQ(text.find("Проверка принятого пролета"), std::string::npos);
    EXPECT_EQ(text.find("Опоры на участке"), std::string::npos);
    EXPECT_NE(text.find("Определяющий пролет по СП 42-102-2004: 3,122 м — динамический расчет на "
                        "прочность\n"),
              std::string::npos);
    EXPECT_NE(text.find("предельный прогиб принят равным 1/150 пролета"), std::string::npos);
    // The slips of the technical sheet stay there.
    for (const char* slip : {"надежости", "н/м", "МПА", "кН/м2", "застройке", "толщина гололеда",
                             "Промежуточные", "СНИП"}) {
        EXPECT_EQ(text.find(slip), std::string::npos) << slip;
    }
}

// A checker with a calculator: evaluates the values put into every formula of the method (the
// note's own notation: "·", "/", "−", "√(…)", powers raised, "^{1/4}") and gets the result the
// note shows, to its last digit.
class Calculator {
public:
    explicit Calculator(std::string_view text) : Text(text) {}

    // The value, or nothing when the text is not a formula of numbers alone.
    std::optional<long double> Evaluate()
    {
        const std::optional<long double> value = Sum();
        return value && At == Text.size() ? value : std::nullopt;
    }

private:
    bool Take(std::string_view token)
    {
        if (!Text.substr(At).starts_with(token)) {
            return false;
        }
        At += token.size();
        return true;
    }
    std::optional<long double> Sum()
    {
        std::optional<long double> value = Product();
        while (value) {
            if (Take(" + ")) {
                const auto term = Product();
                value = term ? std::optional(*value + *term) : std::nullopt;
            } else if (Take(" − ")) {
                const auto term = Product();
                value = term ? std::optional(*value - *term) : std::nullopt;
            } else {
                break;
            }
        }
        return value;
    }
    std::optional<long double> Product()
    {
        std::optional<long double> value = Power();
        while (value) {
            if (Take("·")) {
                const auto factor = Power();
                value = factor ? std::optional(*value * *factor) : std::nullopt;
            } else if (Take("/")) {
                const auto factor = Power();
                value = factor ? std::optional(*value / *factor) : std::nullopt;
            } else {
                break;
            }
        }
        return value;
    }
    std::optional<long double> Power()
    {
        std::optional<long double> value = Primary();
        if (!value) {
            return value;
        }
        if (Take("^{")) {
            const std::optional<long double> exponent = Sum();
            if (!exponent || !Take("}")) {
                return std::nullopt;
            }
            return std::pow(*value, *exponent);
        }
        static constexpr std::string_view kRaised[] = {"⁰", "¹", "²", "³", "⁴",
                                                       "⁵", "⁶", "⁷", "⁸", "⁹"};
        const bool negative = Take("⁻");
        int exponent = 0;
        bool raised = negative;
        for (bool more = true; more;) {
            more = false;
            for (int digit = 0; digit < 10; ++digit) {
                if (Take(kRaised[digit])) {
                    exponent = exponent * 10 + digit;
                    raised = more = true;
                }
            }
        }
        return raised ? std::pow(*value, negative ? -exponent : exponent) : *value;
    }
    std::optional<long double> Primary()
    {
        if (Take("√(") || Take("(")) {
            const bool root = Text.substr(0, At).ends_with("√(");
            const std::optional<long double> value = Sum();
            if (!value || !Take(")")) {
                return std::nullopt;
            }
            return root ? std::sqrt(*value) : *value;
        }
        const std::size_t start = At;
        while (At < Text.size() && (std::isdigit(static_cast<unsigned char>(Text[At])) ||
                                    (Text[At] == ',' && At > start))) {
            ++At;
        }
        if (At == start) {
            return std::nullopt;
        }
        std::string number(Text.substr(start, At - start));
        std::replace(number.begin(), number.end(), ',', '.');
        return std::stold(number);
    }

    std::string_view Text;
    std::size_t At = 0;
};

// The parts of a line between its separators, each "a = b = c".
std::vector<std::string> Clauses(std::string line)
{
    for (const char* separator : {"; ", ", ", ": ", " > ", " ≤ "}) {
        for (std::size_t at; (at = line.find(separator)) != std::string::npos;) {
            line.replace(at, std::string_view(separator).size(), "\n");
        }
    }
    std::vector<std::string> clauses;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find('\n', start)) != std::string::npos; start = end + 1) {
        clauses.push_back(line.substr(start, end - start));
    }
    clauses.push_back(line.substr(start));
    return clauses;
}

// A steel whose yield strength is above its ultimate one is calculated as given; the note warns
// right under the inputs, in bold. A pipe above 300 mm inside says why SP has no governing span.
TEST(CalculationNote, WarningsAndReasonsStandInTheText)
{
    StartUp run = StartUpRun({});
    run.Inputs.Texts = {"309", "3", "100", "500", "0,1"};
    run.Inputs.SteelGrade = 6;
    run.Outcome = RunCalculation(run.Inputs.Texts, {}, ",");
    ASSERT_EQ(run.Outcome.Kind, OutcomeKind::Completed) << run.Outcome.Message;
    run.Summary = *SummarizeDesign(run.Outcome, {});
    const NoteDocument note = BuildCalculationNote(run.Inputs, run.Outcome, run.Summary);
    const auto inputs = std::find_if(note.Blocks.begin(), note.Blocks.end(), [](const NoteBlock& block) {
        const auto* heading = std::get_if<NoteHeading>(&block);
        return heading != nullptr && heading->Text == "Исходные данные";
    });
    ASSERT_LT(std::distance(note.Blocks.begin(), inputs) + 3, std::ssize(note.Blocks));
    const auto* warning = std::get_if<NoteParagraph>(&*(inputs + 3));
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->Text, "Внимание: предел текучести больше предела прочности — проверьте значения стали.");
    EXPECT_TRUE(warning->Bold);
    // The note's text with its no-break spaces read as spaces.
    std::string text = NoteToPlainText(note);
    for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;) {
        text.replace(at, 2, " ");
    }
    EXPECT_NE(text.find("Определяющий пролет по СП 42-102-2004: нет.\n\nУсловие образования конденсата "
                        "СП 42-102-2004 распространяется на трубы с внутренним диаметром до 300 мм, а у "
                        "этой трубы d = 303 мм"),
              std::string::npos)
        << text;
    // The start-up steel: no warning.
    const StartUp plain = StartUpRun({});
    EXPECT_EQ(NoteToPlainText(BuildCalculationNote(plain.Inputs, plain.Outcome, plain.Summary)).find("Внимание"),
              std::string::npos);
}

TEST(CalculationNote, EveryFormulaGivesItsResultOnACalculator)
{
    const StartUp run = StartUpRun({});
    const NoteDocument note = BuildCalculationNote(run.Inputs, run.Outcome, run.Summary);
    int checked = 0;
    for (const NoteBlock& block : note.Blocks) {
        const auto* line = std::get_if<NoteParagraph>(&block);
        if (line == nullptr || !line->Formula) {
            continue;
        }
        for (const std::string& clause : Clauses(line->Text)) {
            std::vector<std::string> sides;
            std::size_t start = 0;
            for (std::size_t end; (end = clause.find(" = ", start)) != std::string::npos;
                 start = end + 3) {
                sides.push_back(clause.substr(start, end - start));
            }
            sides.push_back(clause.substr(start));
            for (std::size_t i = 0; i + 1 < sides.size(); ++i) {
                const std::optional<long double> value = Calculator(sides[i]).Evaluate();
                std::string shown = sides[i + 1].substr(0, sides[i + 1].find(' '));
                shown = shown.substr(0, shown.find("\u00A0"));  // the unit after its no-break space
                while (!shown.empty() && std::string_view(";,.").find(shown.back()) != std::string::npos) {
                    shown.pop_back();
                }
                const std::optional<long double> result = Calculator(shown).Evaluate();
                if (!value || !result) {
                    continue;
                }
                // A result as the window shows it comes out to its last decimal; one of seven
                // digits to within the rounding of the values put in.
                const std::size_t comma = shown.find(',');
                const bool raised = shown.find("·10") != std::string::npos;
                const int decimals =
                    comma == std::string::npos || raised ? 0 : int(shown.size() - comma - 1);
                const long double tolerance =
                    std::max(raised ? 0 : 0.5L * std::pow(10.0L, -decimals), 2e-6L * std::fabs(*result));
                EXPECT_LE(std::fabs(*value - *result), tolerance) << sides[i] << " = " << shown;
                ++checked;
            }
        }
    }
    // Every formula with values put in, none left out, and the three constants written out as
    // products (π·g, the divisor of the SNiP gas weight, the unit weight of ice).
    EXPECT_EQ(checked, 42);
}

TEST(CalculationNote, DocumentFieldsGoIntoTheTitleBlockOrTheText)
{
    StartUp run = StartUpRun({});
    run.Inputs.Document = {.Object = "Газопровод", .Designation = "123-2026-ГСН.РР",
                           .Organization = "ООО «Проект»", .Author = "Иванов",
                           .Checker = "Петров"};
    run.Inputs.Framed = true;
    const NoteDocument framed = BuildCalculationNote(run.Inputs, run.Outcome, run.Summary);
    ASSERT_TRUE(framed.TitleBlock);
    EXPECT_EQ(framed.TitleBlock->Designation, "123-2026-ГСН.РР");
    EXPECT_EQ(framed.TitleBlock->Object, "Газопровод");
    EXPECT_EQ(framed.TitleBlock->DocumentName, framed.Title);
    EXPECT_EQ(framed.TitleBlock->Checker, "Петров");
    EXPECT_EQ(framed.TitleBlock->Date, "08.12.26");
    EXPECT_EQ(NoteToPlainText(framed).find("Газопровод"), std::string::npos);

    run.Inputs.Framed = false;
    const std::string text = Plain(BuildCalculationNote(run.Inputs, run.Outcome, run.Summary));
    const std::size_t organization = text.find("Организация: ООО «Проект»\n");
    EXPECT_LT(organization, text.find("Объект: Газопровод\n"));
    EXPECT_LT(text.find("Обозначение документа: 123-2026-ГСН.РР\n"), text.find("Исходные данные"));
    EXPECT_EQ(text.find("Стадия"), std::string::npos);
    EXPECT_NE(text.find("Проверил: Петров\n"), std::string::npos);
    EXPECT_GT(text.find("Разработал: Иванов\n"), text.find("Результаты"));
    EXPECT_EQ(text.find("Нормоконтроль"), std::string::npos);
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
    // 100 m at the span of many spans, 2,073 m: 49 spans, 48 intermediate supports.
    EXPECT_TRUE(has("Промежуточных опор, по СП 42-102-2004\t48\tшт."));
    // The note says which count the route took and why.
    const std::string note = Plain(BuildCalculationNote(run.Inputs, run.Outcome, run.Summary));
    EXPECT_NE(note.find("СП 42-102-2004: 49 пролетов по 2,041 м — наименьшее число пролетов, при "
                        "котором шаг не больше определяющего пролета балки с таким числом пролетов "
                        "(«>6»: 2,073 м); при выбранном «1» — 3,122 м."),
              std::string::npos)
        << note;
    EXPECT_TRUE(has("Шаг опор, принятый пролет\t3,448\tм"));
}

}  // namespace
}  // namespace korvelin
