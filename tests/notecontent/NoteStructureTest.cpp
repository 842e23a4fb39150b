// The structure a checker reads the note by: each pipe's sections between fixed supports computed
// with that pipe, the numbers of sections, tables and figures, the list of sources kept whole, the
// minus signs, and the force method's system printed so that its solution gives the printed X.

#include "korvelin/CompensationNote.h"
#include "korvelin/NoteTypography.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/PipesNote.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace korvelin {
namespace {

// E·α of the program's steel, N/(m²·°C), and the ends' temperatures of the examples.
constexpr long double kElasticTimesAlpha = 2.06e11L * 1.2e-5L;
constexpr double kClosing = 0;
constexpr double kMin = -40;
constexpr double kMax = 50;

CompensationTexts Sections(std::initializer_list<std::string_view> routes)
{
    CompensationTexts texts;
    int number = 0;
    for (const std::string_view route : routes) {
        const std::string name = "Участок " + std::to_string(++number);
        texts.Sections.push_back(SectionToTexts(*ParseSectionRoute(route, ",", name).Section, ","));
    }
    texts.ClosingTemperature = FormatGeneral(kClosing, ",");
    texts.MinTemperature = FormatGeneral(kMin, ",");
    texts.MaxTemperature = FormatGeneral(kMax, ",");
    return texts;
}

NoteInputs Inputs()
{
    NoteInputs inputs;
    // The main window's pipe, which the note of several pipes must not take.
    inputs.Texts = {"89", "3,2", "333", "206", "0,6"};
    inputs.SteelGrade = 0;
    inputs.DateTime = "08.12.2026 14:05";
    inputs.Program = "Korvelin 1.0";
    return inputs;
}

std::vector<PipeDesign> Design(const NoteInputs& inputs, const std::vector<PipeSize>& sizes)
{
    const SpanTableConditions conditions{.Texts = inputs.Texts,
                                         .Selectors = inputs.Selectors,
                                         .SteelGrade = inputs.SteelGrade,
                                         .DecimalSeparator = inputs.DecimalSeparator,
                                         .OwnClimate = inputs.OwnClimate};
    return DesignPipes(sizes, conditions, {});
}

// A number as the note prints it: "−0,0017813854", "9,1611212·10⁻⁵".
long double Shown(std::string text)
{
    std::string plain;
    int exponent = 0;
    const std::size_t power = text.find("·10");
    if (power != std::string::npos) {
        std::string raised = text.substr(power + std::string("·10").size());
        text = text.substr(0, power);
        static const std::vector<std::pair<std::string, int>> kRaised = {
            {"⁰", 0}, {"¹", 1}, {"²", 2}, {"³", 3}, {"⁴", 4}, {"⁵", 5}, {"⁶", 6}, {"⁷", 7}, {"⁸", 8}, {"⁹", 9}};
        bool negative = false;
        while (!raised.empty()) {
            if (raised.starts_with("⁻")) {
                negative = true;
                raised.erase(0, std::string("⁻").size());
                continue;
            }
            bool found = false;
            for (const auto& [mark, digit] : kRaised) {
                if (raised.starts_with(mark)) {
                    exponent = exponent * 10 + digit;
                    raised.erase(0, mark.size());
                    found = true;
                }
            }
            if (!found) {
                ADD_FAILURE() << "not an exponent: " << raised;
                break;
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, std::string("−").size(), "−") == 0) {
            plain += '-';
            i += std::string("−").size() - 1;
        } else if (text[i] == ',') {
            plain += '.';
        } else if (text.compare(i, std::string("\u00A0").size(), "\u00A0") == 0) {
            ++i;
        } else if (text[i] != ' ') {
            plain += text[i];
        }
    }
    return std::strtold(plain.c_str(), nullptr) * std::pow(10.0L, exponent);
}

// A text with its no-break spaces as ordinary ones.
std::string Spaced(std::string text)
{
    for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;) {
        text.replace(at, std::string("\u00A0").size(), " ");
    }
    return text;
}

const std::string kNumber = "[0-9][0-9,]*(?:·10(?:⁻|⁰|¹|²|³|⁴|⁵|⁶|⁷|⁸|⁹)+)?";

// The three equations of a case: each line "a·X_{1} − b·X_{2} + c·X_{3} = d;".
struct PrintedSystem {
    long double A[3][3] = {};
    long double B[3] = {};
    long double X[3] = {};
};

long double Determinant(const long double m[3][3])
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// The system solved by Cramer's rule: another method than the program's elimination.
std::array<long double, 3> Cramer(const PrintedSystem& s)
{
    const long double d = Determinant(s.A);
    std::array<long double, 3> x{};
    for (int k = 0; k < 3; ++k) {
        long double m[3][3];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                m[i][j] = j == k ? s.B[i] : s.A[i][j];
            }
        }
        x[k] = Determinant(m) / d;
    }
    return x;
}

// The systems of heating and cooling as the note prints them, with the printed X.
std::vector<PrintedSystem> PrintedSystems(const NoteDocument& note)
{
    const std::regex term("(^|− |\\+ |−)(" + kNumber + ")·X_\\{([123])\\}");
    const std::regex rhs(" = ((?:−)?" + kNumber + ");$");
    const std::regex unknowns("^X_\\{1\\} = ((?:−)?" + kNumber + ") Н; X_\\{2\\} = ((?:−)?" + kNumber +
                              ") Н; X_\\{3\\} = ((?:−)?" + kNumber + ") Н·м;$");
    std::vector<PrintedSystem> systems;
    PrintedSystem current;
    int row = 0;
    for (const NoteBlock& block : note.Blocks) {
        const auto* paragraph = std::get_if<NoteParagraph>(&block);
        if (paragraph == nullptr) {
            continue;
        }
        const std::string text = Spaced(paragraph->Text);
        std::smatch match;
        if (std::regex_search(text, match, unknowns)) {
            EXPECT_EQ(row, 3) << text;
            for (int k = 0; k < 3; ++k) {
                current.X[k] = Shown(match[k + 1].str());
            }
            systems.push_back(current);
            current = {};
            row = 0;
            continue;
        }
        if (text.find("·X_{1} ") == std::string::npos || !std::regex_search(text, match, rhs)) {
            continue;
        }
        EXPECT_LT(row, 3) << text;
        if (row >= 3) {
            break;
        }
        current.B[row] = Shown(match[1].str());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), term); it != std::sregex_iterator(); ++it) {
            const std::string sign = (*it)[1].str();
            const long double value = Shown((*it)[2].str());
            current.A[row][(*it)[3].str()[0] - '1'] = sign.starts_with("−") ? -value : value;
        }
        ++row;
    }
    return systems;
}

std::string PlainText(const NoteDocument& note)
{
    std::string text = NoteToPlainText(note);
    for (std::size_t at; (at = text.find("\u00A0")) != std::string::npos;) {
        text.replace(at, std::string("\u00A0").size(), " ");
    }
    return text;
}

// The first cell of a row labelled `label` in the results table after the heading `heading`.
std::vector<long double> ResultRow(const NoteDocument& note, std::string_view heading, std::string_view label)
{
    bool under = false;
    for (const NoteBlock& block : note.Blocks) {
        if (const auto* h = std::get_if<NoteHeading>(&block)) {
            under = h->Text == WithNoBreakSpaces(heading);
        } else if (const auto* table = std::get_if<NoteTable>(&block); under && table != nullptr) {
            for (const auto& row : table->Rows) {
                if (row.size() == 3 && row[0].Text == WithNoBreakSpaces(label)) {
                    return {Shown(row[1].Text), Shown(row[2].Text)};
                }
            }
        }
    }
    ADD_FAILURE() << "no row " << label << " under " << heading;
    return {0, 0};
}

TEST(NoteStructure, EachPipeComputesItsSectionsWithItsOwnPipe)
{
    NoteInputs inputs = Inputs();
    inputs.PipesCompensation = Sections({"20", "10 Л 5"});
    const std::vector<PipeSize> sizes = {{"57", "3"}, {"108", "4"}, {"159", "4,5"}};
    const std::vector<PipeDesign> pipes = Design(inputs, sizes);
    const NoteDocument note = BuildPipesNote(inputs, pipes);
    const std::string text = PlainText(note);
    // The main window's pipe is nowhere in the note.
    EXPECT_EQ(text.find("89×3,2"), std::string::npos);

    struct Pipe {
        std::string Heading;  // of the straight section
        long double D;        // m
        long double T;
    };
    const std::vector<Pipe> expected = {
        {"3.5 Компенсация температурных деформаций. Участок 1, труба 57×3 мм", 0.057L, 0.003L},
        {"4.5 Компенсация температурных деформаций. Участок 1, труба 108×4 мм", 0.108L, 0.004L},
        {"5.5 Компенсация температурных деформаций. Участок 1, труба 159×4,5 мм", 0.159L, 0.0045L},
    };
    for (const Pipe& pipe : expected) {
        SCOPED_TRACE(pipe.Heading);
        // A straight run between fixed supports: the force is E·α·Δt·A of this pipe's section.
        const long double d = pipe.D - 2 * pipe.T;
        const long double area = std::acos(-1.0L) * (pipe.D * pipe.D - d * d) / 4;
        const std::vector<long double> fx = ResultRow(note, pipe.Heading, "Опора А: Fx, Н");
        EXPECT_NEAR(static_cast<double>(fx[0]), static_cast<double>(kElasticTimesAlpha * (kMax - kClosing) * area), 1e-3);
        EXPECT_NEAR(static_cast<double>(fx[1]), static_cast<double>(kElasticTimesAlpha * (kMin - kClosing) * area), 1e-3);
    }
    // The other section of each pipe follows under the next number.
    for (const char* heading : {"3.6 Компенсация температурных деформаций. Участок 2, труба 57×3 мм",
                                "4.6 Компенсация температурных деформаций. Участок 2, труба 108×4 мм",
                                "5.6 Компенсация температурных деформаций. Участок 2, труба 159×4,5 мм"}) {
        EXPECT_NE(text.find(std::string(heading) + "\n"), std::string::npos) << heading;
    }
    // The method the sections follow is among the sources, and the closing line says so.
    EXPECT_NE(text.find(std::string(kForceMethodSource)), std::string::npos);
    EXPECT_NE(text.find("компенсация температурных деформаций — по методу и с допущениями"), std::string::npos);
}

TEST(NoteStructure, ASectionRefusedForOnePipeSaysSoInThatPipesPart)
{
    NoteInputs inputs = Inputs();
    inputs.PipesCompensation = Sections({"10 Л 5"});
    inputs.PipesCompensation.MinTemperature = "60";  // above t_max
    const std::vector<PipeDesign> pipes = Design(inputs, {{"57", "3"}, {"108", "4"}});
    EXPECT_FALSE(PipeCompensation(inputs, pipes[0]).Ok());
    const std::string text = PlainText(BuildPipesNote(inputs, pipes));
    EXPECT_NE(text.find("3.5 Компенсация температурных деформаций, труба 57×3 мм\n\nКомпенсация не рассчитана: "),
              std::string::npos);
    // Without sections a pipe's part has none.
    inputs.PipesCompensation = {};
    EXPECT_TRUE(PipeCompensation(inputs, pipes[0]).Sections.empty());
    EXPECT_EQ(PlainText(BuildPipesNote(inputs, pipes)).find("Компенсация"), std::string::npos);
}

TEST(NoteStructure, SectionsTablesAndFiguresAreNumberedInOrder)
{
    NoteInputs inputs = Inputs();
    inputs.PipesCompensation = Sections({"10 Л 5", "20 Л 3 П 4 П 3 Л 20"});
    const NoteDocument note = BuildPipesNote(inputs, Design(inputs, {{"57", "3"}, {"108", "4"}}));
    const std::regex numbered("^[0-9]+(\\.[0-9]+)* [^0-9 ]");
    const std::regex stopped("^[0-9]+(\\.[0-9]+)*\\.( |$)");
    int tables = 0;
    int figures = 0;
    std::string section;
    int steps = 0;
    for (std::size_t i = 0; i < note.Blocks.size(); ++i) {
        const NoteBlock& block = note.Blocks[i];
        if (const auto* heading = std::get_if<NoteHeading>(&block)) {
            EXPECT_TRUE(heading->Text == "Литература" || std::regex_search(heading->Text, numbered)) << heading->Text;
            EXPECT_FALSE(std::regex_search(heading->Text, stopped)) << heading->Text;
            section = heading->Text.substr(0, heading->Text.find(' '));
        } else if (const auto* table = std::get_if<NoteTable>(&block)) {
            // Right before every table its number and title.
            ASSERT_GT(i, 0u);
            const auto* title = std::get_if<NoteParagraph>(&note.Blocks[i - 1]);
            ASSERT_NE(title, nullptr);
            EXPECT_EQ(title->Text, "Таблица " + std::to_string(++tables) + " — " + WithNoBreakSpaces(table->Title));
            EXPECT_FALSE(table->Title.empty());
            EXPECT_TRUE(title->KeepWithNext);
        } else if (const auto* drawing = std::get_if<NoteDrawing>(&block)) {
            EXPECT_TRUE(drawing->Caption.starts_with("Рис. " + std::to_string(++figures) + ". ")) << drawing->Caption;
        } else if (const auto* paragraph = std::get_if<NoteParagraph>(&block); paragraph->Bold) {
            // A step of "Расчет" carries its section's number, never a number of its own that
            // reads as a section of the note.
            EXPECT_FALSE(std::regex_search(paragraph->Text, stopped)) << paragraph->Text;
            if (std::regex_search(paragraph->Text, std::regex("^[0-9]+\\.[0-9]+\\.[0-9]+ "))) {
                EXPECT_TRUE(paragraph->Text.starts_with(section + ".")) << paragraph->Text << " under " << section;
                ++steps;
            }
        }
    }
    // Two pipes: their "Расчет" of 15 steps each (the condensate criterion counts for both).
    EXPECT_EQ(steps, 30);
    // Inputs, normative values, three coefficient tables once; per pipe its loads, spans, support
    // loads, then seven tables of each of the two sections (legs, results, forces in the legs,
    // corner movements, forces on the fixed supports, stability of the compressed legs, parts of
    // the stress); the table of all pipes.
    EXPECT_EQ(tables, 5 + 2 * (3 + 2 * 7) + 1);
    // A calculation scheme per pipe and a drawing of each section of each pipe.
    EXPECT_EQ(figures, 2 + 2 * 2);
}

TEST(NoteStructure, TheListOfSourcesStaysWholeOnOneSheet)
{
    NoteInputs inputs = Inputs();
    inputs.PipesCompensation = Sections({"10 Л 5"});
    const NoteDocument note = BuildPipesNote(inputs, Design(inputs, {{"57", "3"}, {"108", "4"}}));
    std::size_t at = 0;
    while (at < note.Blocks.size() &&
           !(std::holds_alternative<NoteHeading>(note.Blocks[at]) &&
             std::get<NoteHeading>(note.Blocks[at]).Text == "Литература")) {
        ++at;
    }
    ASSERT_LT(at + 5, note.Blocks.size());
    // The four documents, then the method of the sections: each keeps with the next but the last.
    for (std::size_t item = 1; item <= 5; ++item) {
        const auto& paragraph = std::get<NoteParagraph>(note.Blocks[at + item]);
        EXPECT_TRUE(paragraph.Text.starts_with(std::to_string(item) + ". ")) << paragraph.Text;
        EXPECT_EQ(paragraph.KeepWithNext, item < 5) << paragraph.Text;
    }
}

TEST(NoteStructure, EveryHyphenBeforeADigitStandsBetweenDigits)
{
    // Cooling gives negative forces, movements and temperatures in every table and formula.
    NoteInputs inputs = Inputs();
    inputs.PipesCompensation = Sections({"10 Л 5", "20 Л 3 П 4 П 3 Л 20"});
    const std::string text = NoteToPlainText(BuildPipesNote(inputs, Design(inputs, {{"57", "3"}, {"108", "4"}})));
    std::size_t minus = 0;
    for (std::size_t at = text.find("−"); at != std::string::npos; at = text.find("−", at + 1)) {
        minus += at + std::string("−").size() < text.size() &&
                 std::isdigit(static_cast<unsigned char>(text[at + std::string("−").size()]));
    }
    EXPECT_GT(minus, 100u);
    for (std::size_t at = text.find('-'); at != std::string::npos; at = text.find('-', at + 1)) {
        if (at + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1]))) {
            // Only in a designation: "42-102-2004", "2.04.12-86", "10705-80".
            ASSERT_GT(at, 0u);
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[at - 1])))
                << text.substr(at > 40 ? at - 40 : 0, 80);
        }
    }
}

TEST(NoteStructure, MinusSignsOnlyWhereTheHyphenIsASign)
{
    struct Case {
        std::string_view Text;
        std::string_view Expected;
    };
    const Case cases[] = {
        {"-8,640", "−8,640"},
        {"FxА = −X1 = -8,640 Н", "FxА = −X1 = −8,640 Н"},
        {"(-5) и [-1]", "(−5) и [−1]"},
        {"\t-0,5\t", "\t−0,5\t"},
        {"1,2·-3", "1,2·−3"},
        {"10^{-5}", "10^{−5}"},
        {"СП 42-102-2004", "СП 42-102-2004"},
        {"СНиП 2.04.12-86", "СНиП 2.04.12-86"},
        {"1e-5", "1e-5"},
        {"ГСН-1", "ГСН-1"},
        {"ст2сп-3", "ст2сп-3"},
        {"123-2026-ГСН.РР", "123-2026-ГСН.РР"},
        {"a - b", "a - b"},
        {"-", "-"},
        {"5-", "5-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithMinusSigns(c.Text), c.Expected) << c.Text;
    }
}

// A section whose legs differ much in length has a badly conditioned system: seven digits of δ do
// not give X again to 0,001.
TEST(NoteStructure, ThePrintedSystemGivesThePrintedUnknownsAgain)
{
    for (const std::string_view route : {"10 Л 5", "40 Л 1 П 30", "20 Л 3 П 4 П 3 Л 20", "1 Л 50 П 2", "30 П 0,5"}) {
        SCOPED_TRACE(route);
        CompensationInput input;
        input.Section = *ParseSectionRoute(route, ",", "Г-1").Section;
        input.OuterDiameter = 0.159;
        input.WallThickness = 0.0045;
        input.Temperatures = {kClosing, kMin, kMax};
        const CompensationResult result = *ComputeCompensation(input).Result;
        NoteDocument note;
        AddCompensationNote(note, result, ",");
        FinishNote(note);
        const std::vector<PrintedSystem> systems = PrintedSystems(note);
        ASSERT_EQ(systems.size(), 2u);
        for (const PrintedSystem& system : systems) {
            const std::array<long double, 3> x = Cramer(system);
            for (int k = 0; k < 3; ++k) {
                // To the last printed digit: within half a thousandth.
                EXPECT_LE(std::fabs(x[k] - system.X[k]), 0.0005L + 1e-9L)
                    << "X" << k + 1 << " = " << static_cast<double>(x[k]) << ", printed "
                    << static_cast<double>(system.X[k]);
            }
        }
        EXPECT_GE(ForceMethodDigits(result), 7);
    }
}

TEST(NoteStructure, TheLargestCornerMovementAddsUpFromItsPrintedParts)
{
    CompensationInput input;
    input.Section = *ParseSectionRoute("20 Л 3 П 4 П 3 Л 20", ",", "Г-1").Section;
    input.OuterDiameter = 0.159;
    input.WallThickness = 0.0045;
    input.Temperatures = {kClosing, kMin, kMax};
    const CompensationResult result = *ComputeCompensation(input).Result;
    NoteDocument note;
    AddCompensationNote(note, result, ",");
    FinishNote(note);
    const std::regex part("^u_\\{([xy])\\} = (" + kNumber + ")·(\\(?(?:−)?" + kNumber + "\\)?)·(\\(?(?:−)?" + kNumber +
                          "\\)?) \\+ (.*)/(" + kNumber + ") \\+ (.*)/(" + kNumber + ") = ((?:−)?" + kNumber + ") м;$");
    const std::regex whole("^u = √\\(u_\\{x\\}\\^\\{2\\} \\+ u_\\{y\\}\\^\\{2\\}\\) = √\\(\\(((?:−)?" + kNumber +
                           ") мм\\)\\^\\{2\\} \\+ \\(((?:−)?" + kNumber + ") мм\\)\\^\\{2\\}\\) = (" + kNumber + ") мм,$");
    // A sum of printed terms, "(a + (−b) + c)" or one term.
    const auto sum = [](std::string text) {
        long double total = 0;
        const std::regex number("(?:−)?" + kNumber);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it) {
            total += Shown(it->str());
        }
        return total;
    };
    const auto bare = [](std::string text) {
        std::erase(text, '(');
        std::erase(text, ')');
        return Shown(text);
    };
    int parts = 0;
    bool whole_found = false;
    for (const NoteBlock& block : note.Blocks) {
        const auto* paragraph = std::get_if<NoteParagraph>(&block);
        if (paragraph == nullptr) {
            continue;
        }
        std::smatch m;
        const std::string text = Spaced(paragraph->Text);
        if (std::regex_search(text, m, part)) {
            const long double value = Shown(m[2].str()) * bare(m[3].str()) * bare(m[4].str()) +
                                      sum(m[5].str()) / Shown(m[6].str()) + sum(m[7].str()) / Shown(m[8].str());
            const long double printed = Shown(m[9].str());
            // To within half the last digit of u, which is shown in millimetres to 0,001.
            EXPECT_NEAR(static_cast<double>(value), static_cast<double>(printed), 0.0005e-3) << text;
            ++parts;
        } else if (std::regex_search(text, m, whole)) {
            const long double ux = Shown(m[1].str());
            const long double uy = Shown(m[2].str());
            EXPECT_NEAR(static_cast<double>(std::sqrt(ux * ux + uy * uy)), static_cast<double>(Shown(m[3].str())), 0.0005);
            whole_found = true;
        }
    }
    EXPECT_EQ(parts, 2);
    EXPECT_TRUE(whole_found);
}

TEST(NoteStructure, TheTemperatureFactorNoFormulaTakesIsNotListed)
{
    NoteInputs inputs = Inputs();
    const std::string text = PlainText(BuildPipesNote(inputs, Design(inputs, {{"57", "3"}, {"108", "4"}})));
    EXPECT_EQ(text.find("надежности по температуре"), std::string::npos);
    // The loads say which are normative and which are design, with the factors of SNiP.
    EXPECT_NE(text.find("Вес трубы (нормативный), Н/м"), std::string::npos);
    EXPECT_NE(text.find("коэффициентами надежности по нагрузке от собственного веса, давления газа, снега и "
                        "гололеда n = 1,1; 1,1; 1,4; 1,3"),
              std::string::npos)
        << text.substr(text.find("Нормативные нагрузки взяты"), 600);
}

}  // namespace
}  // namespace korvelin
