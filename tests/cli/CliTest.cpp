#include "CalcProcess.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using calc::Calc;
using calc::ReadFile;
using calc::Result;

TEST(CalcSingleRun, DefaultsGiveTheStartUpSpans)
{
    const Result r = Calc("--sep ,");
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out,
              "По СП 42-102-2004\n"
              "  Длина пролета исходя из статического расчета на прочность: 18,441 м\n"
              "  Длина пролета исходя из динамического расчета на прочность: 3,122 м\n"
              "  Длина пролета исходя из условия возможности образования конденсата: 6,128 м\n"
              "  Длина пролета исходя из предельного допустимого прогиба: 9,965 м\n"
              "По СНиП 2.04.12-86\n"
              "  Длина пролета исходя из статического расчета на прочность: 13,851 м\n"
              "  Длина пролета исходя из предельного допустимого прогиба: 9,189 м\n"
              "Определяющий пролет\n"
              "  По СП 42-102-2004: 3,122 м — динамический расчет на прочность\n"
              "  По СНиП 2.04.12-86: 9,189 м — предельный прогиб\n"
              // One span: two end supports, each taking half of q·L (3,122 × 81,462 N/m by SP).
              "Нагрузки на опоры: пролетов в балке 1, коэффициент трения 0,3\n"
              "  Определяющий пролет, СП 42-102-2004 3,122 м\n"
              "    промежуточная опора: нет\n"
              "    крайняя опора: k = 1/2 = 0,500, вертикальная 127,163 Н (0,127 кН), от ветра 28,253 Н, "
              "трение 38,149 Н\n"
              "  Определяющий пролет, СНиП 2.04.12-86 9,189 м\n"
              "    промежуточная опора: нет\n"
              "    крайняя опора: k = 1/2 = 0,500, вертикальная 522,078 Н (0,522 кН), от ветра 83,157 Н, "
              "трение 156,623 Н\n");
}

TEST(CalcSummary, ChosenSpanAndRouteFollowTheSpans)
{
    const Result r = Calc("--sep , --span 3 --route=100");
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "");
    const std::string tail =
        "Проверка принятого пролета 3,000 м\n"
        "  По СП 42-102-2004: проходит\n"
        "    статический расчет на прочность: 16,3 % от 18,441 м — проходит\n"
        "    динамический расчет на прочность: 96,1 % от 3,122 м — проходит\n"
        "    условие образования конденсата: 49,0 % от 6,128 м — проходит\n"
        "    предельный прогиб: 30,1 % от 9,965 м — проходит\n"
        "  По СНиП 2.04.12-86: проходит\n"
        "    статический расчет на прочность: 21,7 % от 13,851 м — проходит\n"
        "    предельный прогиб: 32,6 % от 9,189 м — проходит\n"
        "Опоры на участке трассы 100,000 м\n"
        // 100 m is a beam of many spans, whose SP span is 2,073 m: 100 / 2,073 = 48,2 → 49.
        "  По СП 42-102-2004, пролет 2,073 м при количестве пролетов «>6»: пролетов 49, промежуточных "
        "опор 48, шаг опор 2,041 м\n"
        "  По СНиП 2.04.12-86, пролет 9,189 м при количестве пролетов «>6»: пролетов 11, промежуточных "
        "опор 10, шаг опор 9,091 м\n"
        "  Принятый пролет, пролет 3,000 м: пролетов 34, промежуточных опор 33, шаг опор 2,941 м\n";
    ASSERT_NE(r.Out.find(tail), std::string::npos) << r.Out;
    // The loads on the supports follow, at the chosen span too.
    EXPECT_NE(r.Out.find(tail + "Нагрузки на опоры: "), std::string::npos);
    EXPECT_NE(r.Out.find("  Принятый пролет, СНиП 2.04.12-86 3,000 м\n"
                         "    промежуточная опора: нет\n"
                         "    крайняя опора: k = 1/2 = 0,500, вертикальная 170,447 Н (0,170 кН)"),
              std::string::npos);
    // A refused run has no summary: its spans are not results.
    const Result refused = Calc("--sep , --wall 0 --span 3");
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Out.find("Определяющий"), std::string::npos);
}

TEST(CalcSummary, BadLengthsEndWithUsageStatus)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--span abc", "korvelin-calc: Принятый пролет должен быть числом\n"},
        {"--span 0", "korvelin-calc: Принятый пролет не может быть равен нулю\n"},
        {"--span -2", "korvelin-calc: Принятый пролет не может быть отрицательным\n"},
        {"--span 101", "korvelin-calc: Принятый пролет должен быть от 0,001 до 100 м\n"},
        {"--route 0,0", "korvelin-calc: Длина участка трассы не может быть равна нулю\n"},
        {"--route 1e6", "korvelin-calc: Длина участка трассы должна быть от 0,001 до 100000 м\n"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc(std::string("--sep , ") + arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, message) << arguments;
    }
    for (const char* arguments : {"--batch --span 3", "--batch --pdf a.pdf", "--span", "--pdf="}) {
        EXPECT_EQ(Calc(arguments).Status, 2) << arguments;
    }
}

TEST(CalcSummary, JsonCarriesTheSummary)
{
    const Result r = Calc("--sep , --json --span 3,5 --route 100");
    EXPECT_EQ(r.Status, 0);
    for (const char* part :
         {",\"summary\":{\"governing\":{\"sp\":{\"span\":3.122,\"criterion\":\"dynamic_sp\",\"reason\":null},"
          "\"snip\":{\"span\":9.189,\"criterion\":\"deflection_snip\",\"reason\":null}},\"chosen_span\":3.5,"
          "\"check\":{\"sp\":{\"passes\":false,",
          "{\"criterion\":\"dynamic_sp\",\"span\":3.122,\"percent\":112.1",
          // The route's own beam: 49 spans of the item ">6", its span and factors.
          "\"route_length\":100.0,\"supports\":{\"sp\":{\"span\":2.073,\"spans\":49,"
          "\"intermediate_supports\":48,\"spacing\":2.0408163265306123,\"spans_in_beam\":\">6\","
          "\"k_intermediate\":1.1339745962155614,"}) {
        EXPECT_NE(r.Out.find(part), std::string::npos) << part << "\n" << r.Out;
    }
    const Result refused = Calc("--json --wall 0");
    EXPECT_NE(refused.Out.find("\"summary\":null}"), std::string::npos) << refused.Out;
}

TEST(CalcSummary, RouteTakesTheCountItsSpansMake)
{
    // 159×4,5, steel 20, snow III, wind II, ice II, three spans chosen: the pages keep 4,081 m,
    // the route of 120 m is a beam of many spans (3,607 m), 120 / 3,607 = 33,3 → 34 spans.
    const std::string job = "--sep , --diameter 159 --wall 4,5 --steel 5 --snow 2 --wind 2 --ice 1 --spans 2 ";
    const Result text = Calc(job + "--route 120");
    EXPECT_EQ(text.Status, 0);
    EXPECT_NE(text.Out.find("  По СП 42-102-2004: 4,081 м — динамический расчет на прочность\n"), std::string::npos);
    EXPECT_NE(text.Out.find("  По СП 42-102-2004, пролет 3,607 м при количестве пролетов «>6»: пролетов 34, "
                            "промежуточных опор 33, шаг опор 3,529 м\n"),
              std::string::npos)
        << text.Out;
    const Result json = Calc(job + "--json --route 120");
    EXPECT_NE(json.Out.find("\"supports\":{\"sp\":{\"span\":3.607,\"spans\":34,\"intermediate_supports\":33,"
                            "\"spacing\":3.5294117647058822,\"spans_in_beam\":\">6\""),
              std::string::npos)
        << json.Out;
    // A route of three spans keeps the item chosen.
    const Result three = Calc(job + "--json --route 12");
    EXPECT_NE(three.Out.find("\"supports\":{\"sp\":{\"span\":4.081,\"spans\":3,\"intermediate_supports\":2,"
                             "\"spacing\":4.0,\"spans_in_beam\":3"),
              std::string::npos)
        << three.Out;
}

TEST(CalcSummary, PdfNoteWithoutADisplay)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-pdf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto pdf = dir / "note.pdf";
    const Result r = Calc("--sep , --span 3 --route 100 --pdf '" + pdf.string() + "'");
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "");
    const auto text = dir / "note.txt";
    ASSERT_EQ(std::system(("pdftotext '" + pdf.string() + "' '" + text.string() + "'").c_str()), 0);
    std::string note = ReadFile(text);
    for (char& c : note) {
        if (c == '\n') c = ' ';
    }
    for (const char* words : {"Расчет допустимого пролета надземного газопровода", "18,441", "3,122",
                              "6,128", "9,965", "13,851", "9,189", "96,1", "2,041", "2,941", "66,813",
                              "49 пролетов по 2,041 м",
                              "Проверка принятого пролета 3,000 м", "1/150"}) {
        EXPECT_NE(note.find(words), std::string::npos) << words;
    }
    const Result failed = Calc("--pdf /nonexistent/note.pdf");
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Err, "korvelin-calc: Не удалось сохранить файл «/nonexistent/note.pdf»: папка "
                          "/nonexistent не существует.\n");
    std::filesystem::remove_all(dir);
}

// The note as a project document: the fields from the options or from a saved set, the frame
// with a designation, the ODT; fields that are too long or that the fonts cannot show are usage
// errors, and nothing is written.
TEST(CalcSummary, DocumentFieldsFramedPdfAndOdt)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-doc-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string pdf = (dir / "note.pdf").string();
    const std::string set = (dir / "set.korvelin").string();
    const Result saved = Calc("--designation 123-2026-ГСН.РР --object Газопровод --author Иванов "
                              "--checker Петров --original-inventory 4321 --save '" + set + "'");
    ASSERT_EQ(saved.Status, 0) << saved.Err;
    // The fields come back from the file; an option given replaces one of them.
    const Result r = Calc("--sep , --input '" + set + "' --checker Сидоров --pdf '" + pdf + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    const std::string note = ReadFile(pdf + ".txt");
    for (const char* words : {"123-2026-ГСН.РР", "Газопровод", "Разраб.", "Иванов", "Сидоров", "Листов",
                              "L′ст = B′·A′·(D − t)·1000", "Инв. № подл.", "4321"}) {
        EXPECT_NE(note.find(words), std::string::npos) << words;
    }
    EXPECT_EQ(note.find("Петров"), std::string::npos);
    // Without the frame the fields stand in the text.
    ASSERT_EQ(Calc("--input '" + set + "' --no-frame --pdf '" + pdf + "'").Status, 0);
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    EXPECT_NE(ReadFile(pdf + ".txt").find("Обозначение документа: 123-2026-ГСН.РР"), std::string::npos);

    const std::string odt = (dir / "note.odt").string();
    ASSERT_EQ(Calc("--input '" + set + "' --odt '" + odt + "'").Status, 0);
    EXPECT_EQ(ReadFile(odt).substr(30, 47), "mimetypeapplication/vnd.oasis.opendocument.text");
    // The ODT in the frame as the PDF: the forms and the margin's graphs in its page styles.
    ASSERT_EQ(std::system(("unzip -p '" + odt + "' styles.xml > '" + odt + ".xml'").c_str()), 0);
    const std::string styles = ReadFile(odt + ".xml");
    for (const char* text : {"123-2026-ГСН.РР", "Петров", ">4321<", "<text:page-count>"}) {
        EXPECT_NE(styles.find(text), std::string::npos) << text;
    }

    const std::string cases[][2] = {
        {"--object '" + std::string(201, 'x') + "'", "korvelin-calc: Поле «Объект» длиннее 200 знаков (201)"},
        {"--author 'Иванов\tА.'", "korvelin-calc: Поле «Разраб.» содержит управляющие знаки (переводы строки, табуляцию)"},
        {"--stage 'Р 中'", "korvelin-calc: Поле «Стадия»: знак «中» (U+4E2D) нельзя показать шрифтом документа.\n"},
        {"--frame=1", "korvelin-calc: --frame — параметр без значения"},
        {"--batch --designation 1", "korvelin-calc: --designation нельзя задать вместе с --batch"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result refused = Calc(arguments + " --pdf '" + (dir / "refused.pdf").string() + "'");
        EXPECT_EQ(refused.Status, 2) << arguments;
        EXPECT_TRUE(refused.Err.starts_with(message)) << refused.Err;
        EXPECT_FALSE(std::filesystem::exists(dir / "refused.pdf")) << arguments;
    }
    std::filesystem::remove_all(dir);
}

TEST(CalcSingleRun, SeparatorDefaultsToTheLocale)
{
    const Result r = Calc("--diameter 89.0 --wall=3.2");
    EXPECT_EQ(r.Status, 0);
    EXPECT_NE(r.Out.find("статического расчета на прочность: 18.441 м"), std::string::npos) << r.Out;
}

TEST(CalcSingleRun, ReportFollowsTheSpans)
{
    const Result r = Calc("--sep , --report");
    EXPECT_EQ(r.Status, 0);
    EXPECT_NE(r.Out.find("\n\n                                                                           "
                         "Промежуточные расчетный  данные:\n\n\n"),
              std::string::npos);
    EXPECT_NE(r.Out.find("\nРабочее давление газ, МПа                                    0,600"
                         "                  0,600\n"),
              std::string::npos);
}

TEST(CalcSingleRun, SteelGradeAndOwnStrengths)
{
    const Result grade = Calc("--sep , --steel 1 --json");
    const Result own = Calc("--sep , --ultimate 372 --yield 225 --json");
    EXPECT_EQ(grade.Status, 0);
    EXPECT_EQ(grade.Out, own.Out);
    EXPECT_NE(grade.Out.find("\"AllowableStressSNiP\":195.65217391304"), std::string::npos) << grade.Out;

    const Result userDefined = Calc("--steel 6");
    EXPECT_EQ(userDefined.Status, 1);
    EXPECT_EQ(userDefined.Err, "korvelin-calc: Введены не все данные — равны нулю поля «Предел сопротивления» и "
                               "«Предел текучести»\n");
    EXPECT_EQ(userDefined.Out, "");
}

// The calculation stands as the strengths are given; a yield strength above the ultimate one is
// warned of on standard error, in a single run and for a batch line, and changes no exit status.
TEST(CalcSingleRun, SteelWithYieldAboveUltimateIsWarnedOf)
{
    const std::string warning = "внимание: предел текучести больше предела прочности — проверьте значения стали\n";
    const Result above = Calc("--sep , --ultimate 100 --yield 500");
    EXPECT_EQ(above.Status, 0);
    EXPECT_EQ(above.Err, "korvelin-calc: " + warning);
    EXPECT_NE(above.Out.find("Определяющий пролет\n"), std::string::npos) << above.Out;

    const Result batch = Calc("--batch --sep ,", "header\n89;3,2;333;206;0,6;0;0;0;0;0;0\n"
                                                 "89;3,2;100;500;0,6;0;0;0;0;0;0\n");
    EXPECT_EQ(batch.Status, 0);
    EXPECT_EQ(batch.Err, "korvelin-calc: Строка 3: " + warning);
}

// A pipe whose inner diameter is above 300 mm is computed as the window computes it: SP gives no
// governing span and says why, SNiP gives one.
TEST(CalcSingleRun, InnerDiameterAboveTheLimitGovernsBySNiP)
{
    const Result r = Calc("--sep , --diameter 325 --wall 8");
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(r.Out.find("Определяющий пролет\n"
                         "  По СП 42-102-2004: нет: внутренний диаметр 309 мм больше 300 мм — для таких труб "
                         "СП 42-102-2004 не дает пролета по условию образования конденсата; определяющий пролет — "
                         "по СНиП 2.04.12-86\n"
                         "  По СНиП 2.04.12-86: 23,153 м — предельный прогиб\n"),
              std::string::npos)
        << r.Out;
}

TEST(CalcSingleRun, JsonCarriesOutcomeSpansLoadsAndReport)
{
    const Result r = Calc("--sep , --json");
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out.rfind("{\"outcome\":\"completed\",\"message\":\"\",\"spans\":{\"StaticSpanSP\":18.44", 0), 0u)
        << r.Out;
    EXPECT_NE(r.Out.find("\"PipeWeight\":66.81"), std::string::npos);
    EXPECT_NE(r.Out.find("\"MomentOfInertia\":8.85"), std::string::npos);
    EXPECT_NE(r.Out.find("\"report\":[\"                                                                           "
                         "Промежуточные расчетный  данные:\",\"\",\"\",\"Нормируемый вес снега, кН/м2    0,800\""),
              std::string::npos);
    EXPECT_EQ(r.Out.back(), '\n');
}

TEST(CalcSingleRun, FailureReportsTheEngineMessage)
{
    const Result failed = Calc("--sep , --pressure 12 --json");
    EXPECT_EQ(failed.Status, 1);
    // The message as the engine gives it, the cause of the fault after it.
    EXPECT_EQ(failed.Err, "korvelin-calc: Invalid floating point operation — давление слишком велико для этой "
                          "толщины стенки (статический расчет на прочность по СП 42-102-2004)\n");
    EXPECT_NE(failed.Out.find("\"outcome\":\"failed\",\"message\":\"Invalid floating point operation\","
                              "\"spans\":{\"StaticSpanSP\":null,\"DynamicSpanSP\":null,\"CondensateSpanSP\":5.99"),
              std::string::npos)
        << failed.Out;

    // An item of the list without a row in the region table is refused by the run, as in the window.
    const Result refused = Calc("--sep , --ice 5");
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Err, "korvelin-calc: Введены не все данные\n");
}

TEST(CalcUsage, WrongOptionsExitWithTwo)
{
    for (const char* arguments : {"--bogus", "--height", "--height x", "--steel 7", "--steel 1 --yield 5",
                                  "--ultimate 300", "--report=1", "--batch --json --report", "--batch --snow 2",
                                  "--diameter 100 --batch", "--batch - --steel 1",
                                  "--input", "--save=", "--batch --input a.korvelin", "--save a.korvelin --batch"}) {
        const Result r = Calc(arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err.rfind("korvelin-calc: ", 0), 0u) << arguments;
    }
}

// A usage error names the option and what it takes, in one line, and the program computes nothing.
TEST(CalcUsage, UsageErrorsNameTheOptionAndItsRange)
{
    const std::string help = " (справка: korvelin-calc --help)\n";
    const std::pair<const char*, std::string> cases[] = {
        {"--snow 8", "--snow: нужен номер пункта списка от 0 до 7, а не «8»"},
        {"--spans -1", "--spans: нужен номер пункта списка от 0 до 6, а не «-1»"},
        {"--height 1.5", "--height: нужен номер пункта списка от 0 до 2, а не «1.5»"},
        {"--sep ';'", "--sep: десятичный разделитель — «,» или «.», а не «;»"},
        {"--diameter", "У параметра --diameter нет значения"},
        // A value that does not read is the command's mistake, whichever option brings it.
        {"--diameter abc", "--diameter (наружный диаметр, мм): нужно число, а не «abc»"},
        {"--wall '3,2 мм'", "--wall (толщина стенки, мм): нужно число, а не «3,2 мм»"},
        {"--pressure= --diameter 1,,5", "--diameter (наружный диаметр, мм): нужно число, а не «1,,5»"},
        {"--pressure=", "--pressure (давление, МПа): нужно число, а не «»"},
        {"--ultimate 300 --yield x", "--yield (предел текучести, МПа): нужно число, а не «x»"},
        {"--snow-weight", "У параметра --snow-weight нет значения"},
        {"--json=yes", "Параметр --json задается без значения"},
        {"--bogus", "Неизвестный параметр «--bogus»"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc(arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, "korvelin-calc: " + message + help) << arguments;
    }
}

TEST(CalcUsage, HelpListsOptionsAndItems)
{
    const Result r = Calc("--help");
    EXPECT_EQ(r.Status, 0);
    for (const char* text : {"--diameter", "--wall", "--pressure", "--steel", "--ultimate", "--yield",
                             "--height", "--snow", "--wind", "--ice", "--spans", "--slope", "--sep",
                             "--report", "--json", "--batch", "--input ФАЙЛ", "--save ФАЙЛ", "--pipes СПИСОК", "--table-pipes",
                             "Использование: korvelin-calc [параметры]", "\"ст2сп/ГОСТ 10705-80\"", "6 \"Свой\"",
                             "2 \"более 25,0 м.\"", "7 \"VIII\"", "8 \"\"", "6 \">6\"", "10 \"0,010\""}) {
        EXPECT_NE(r.Out.find(text), std::string::npos) << text;
    }
}

TEST(CalcInputFile, SavedSetGivesTheSameResultsAndOptionsOverrideIt)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-cli-set-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "труба.korvelin").string();
    const std::string route = "--sep , --diameter 159 --wall 4,5 --snow 3 --wind 7 --slope 10";
    const std::string pipe = route + " --steel 2";
    const Result direct = Calc(pipe);
    ASSERT_EQ(direct.Status, 0) << direct.Err;
    const Result saved = Calc(pipe + " --save '" + file + "'");
    EXPECT_EQ(saved.Status, 0);
    EXPECT_EQ(saved.Out, direct.Out);
    const std::string contents = ReadFile(file);
    for (const char* member : {"\"format\": \"korvelin-inputs\"", "\"outerDiameter\": \"159\"",
                               "\"wallThickness\": \"4,5\"", "\"ultimateStrength\": \"314\"",
                               "\"steelGrade\": \"08/ГОСТ 10705-80\"", "\"snowRegion\": 3", "\"windRegion\": 7", "\"slope\": 10"}) {
        EXPECT_NE(contents.find(member), std::string::npos) << member << contents;
    }

    const Result loaded = Calc("--sep , --input '" + file + "'");
    EXPECT_EQ(loaded.Status, 0);
    EXPECT_EQ(loaded.Out, direct.Out);

    // An option given beside the file replaces its value; own strengths make the grade "Свой".
    const Result overridden = Calc("--sep , --input '" + file + "' --snow 0 --ultimate 400 --yield 250 --save '" +
                                   file + "'");
    EXPECT_EQ(overridden.Status, 0);
    EXPECT_EQ(overridden.Out, Calc(route + " --snow 0 --ultimate 400 --yield 250").Out);
    EXPECT_NE(overridden.Out, direct.Out);
    const std::string resaved = ReadFile(file);
    EXPECT_NE(resaved.find("\"steelGrade\": \"Свой\""), std::string::npos) << resaved;
    EXPECT_NE(resaved.find("\"snowRegion\": 0"), std::string::npos) << resaved;
    std::filesystem::remove_all(dir);
}

// --save keeps what every option gave: the chosen span and the route too, which the run from the
// file then takes as the options did; an option beside --input replaces the file's.
TEST(CalcInputFile, SavedSetKeepsTheSpanAndTheRoute)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-cli-route-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "трасса.korvelin").string();
    const std::string job = "--sep , --diameter 159 --wall 4,5 --steel 5 --snow 2 --wind 2 --ice 1 --spans 2";
    const Result direct = Calc(job + " --span 3,5 --route 120");
    ASSERT_EQ(direct.Status, 0) << direct.Err;
    EXPECT_EQ(Calc(job + " --span 3,5 --route 120 --save '" + file + "'").Out, direct.Out);
    const std::string contents = ReadFile(file);
    for (const char* member : {"\"version\": 2", "\"steelGrade\": \"20/ГОСТ 10705-80\"", "\"spanCount\": 2",
                               "\"chosenSpan\": \"3,5\"", "\"routeLength\": \"120\""}) {
        EXPECT_NE(contents.find(member), std::string::npos) << member << contents;
    }
    EXPECT_EQ(Calc("--sep , --input '" + file + "'").Out, direct.Out);
    EXPECT_EQ(Calc("--sep , --input '" + file + "' --route 12").Out, Calc(job + " --span 3,5 --route 12").Out);
    std::filesystem::remove_all(dir);
}

TEST(CalcInputFile, FilesThatCannotBeReadOrWrittenExitWithTwo)
{
    const auto bad = std::filesystem::temp_directory_path() / ("korvelin-cli-bad-" + std::to_string(::getpid()));
    std::ofstream(bad) << "{\"format\": \"korvelin-inputs\", \"version\": 9}";
    const std::pair<std::string, std::string> cases[] = {
        {"--input /nonexistent/a.korvelin",
         "korvelin-calc: Не удалось открыть файл «/nonexistent/a.korvelin»: файл не найден.\n"},
        {"--input '" + bad.string() + "'",
         "korvelin-calc: Не удалось открыть файл «" + bad.string() +
             "»: файл записан более новой версией программы (версия формата 9, эта версия читает до 2).\n"},
        {"--save /nonexistent/a.korvelin",
         "korvelin-calc: Не удалось сохранить файл «/nonexistent/a.korvelin»: папка не найдена.\n"},
        {"--save /tmp", "korvelin-calc: Не удалось сохранить файл «/tmp»: это папка, а не файл.\n"},
        {"--pressure 1e5 --save /tmp/never.korvelin",
         "korvelin-calc: Не удалось сохранить файл «/tmp/never.korvelin»: в поле «Давление в трубопроводе» "
         "записано «1e5», а в это поле можно ввести только цифры и одну десятичную запятую.\n"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc("--sep , " + arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, message);
    }
    std::filesystem::remove(bad);
}

constexpr const char* kBatchHeader =
    "outcome;message;static_sp;dynamic_sp;condensate_sp;deflection_sp;static_snip;deflection_snip;"
    "governing_sp;governing_snip\n";

TEST(CalcBatch, OneResultLinePerInputLine)
{
    const std::string input =
        "diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n"
        "89;3,2;333;206;0,6;0;0;0;0;0;0\n"
        "89;3,2;0;0;0,6;0;0;0;0;0;0\r\n"
        "89;3,2;333;206;12;0;0;0;0;0;0\n"
        "89;3,2;333;206;0,6;0;0;0\n"
        "89;3,2;333;206;0,6;0;0;0;0;x;0\n"
        "89; 3.2 ;333;206;0.6; 1 ;2;3;4;5;6\n"
        "89;3,2;333;206;abc;0;0;0;0;0;0\n"
        "89;3,2;333;206;0,6;0;8;0;0;0;0\n";
    const Result r = Calc("--batch --sep ,", input);
    EXPECT_EQ(r.Status, 1);
    // A message holding ";" or a quote stays in one cell: it is quoted, its quotes doubled.
    EXPECT_EQ(r.Out, std::string(kBatchHeader) +
                         "completed;;18,441;3,122;6,128;9,965;13,851;9,189;3,122;9,189\n"
                         "refused;Введены не все данные;;;;;;;;\n"
                         "failed;Invalid floating point operation;;;5,996;;;;;\n"
                         "invalid;\"строка 5: нужно от 11 до 14 полей через «;», а в строке 8\";;;;;;;;\n"
                         "invalid;строка 6: поле 10 (spans) — не целое число: «x»;;;;;;;;\n"
                         "completed;;16,512;2,048;12,351;9,392;11,548;8,065;2,048;8,065\n"
                         "failed;'abc' is not a valid floating point value;;;;;;;;\n"
                         // A number outside its list is the calculation's refusal, as in the window.
                         "refused;Введены не все данные;;;;;;;;\n");
}

TEST(CalcBatch, ReadsAFileAndReportsItsAbsence)
{
    const auto path = std::filesystem::temp_directory_path() / "korvelin-batch-input.csv";
    std::ofstream(path) << "header\n89;3,2;333;206;0,6;0;0;0;0;0;0\n";
    const Result ok = Calc("--batch '" + path.string() + "' --sep .");
    EXPECT_EQ(ok.Status, 0);
    EXPECT_EQ(ok.Out, std::string(kBatchHeader) + "completed;;18.441;3.122;6.128;9.965;13.851;9.189;3.122;9.189\n");

    const Result missing = Calc("--batch /nonexistent/korvelin.csv");
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(missing.Err, "korvelin-calc: Не удалось открыть файл «/nonexistent/korvelin.csv»: файл или папка не "
                           "найдены.\n");

    const Result empty = Calc("--batch -", "");
    EXPECT_EQ(empty.Status, 0);
    EXPECT_EQ(empty.Out, kBatchHeader);
}

TEST(CalcBatch, ReportModeSeparatesRunsWithFormFeeds)
{
    const std::string input = "h\n89;3,2;0;0;0,6;0;0;0;0;0;0\nbad\n89;3,2;333;206;0,6;0;0;0;0;0;0\n";
    const Result r = Calc("--batch --report --sep ,", input);
    EXPECT_EQ(r.Status, 1);
    const std::string title = std::string(75, ' ') + "Промежуточные расчетный  данные:";
    EXPECT_EQ(r.Out.rfind(title + "\n\n\n\f\n\f\n" + title + "\n\n\n", 0), 0u) << r.Out;
    EXPECT_EQ(r.Out.substr(r.Out.size() - 2), "\f\n");
    std::size_t lines = 0;
    for (char c : r.Out) lines += c == '\n';
    EXPECT_EQ(lines, 3u + 1 + 1 + 26 + 1);
    EXPECT_EQ(r.Err, "korvelin-calc: Строка 3: нужно от 11 до 14 полей через «;», а в строке 1\n");
}

TEST(CalcBatch, JsonLinesCarryEveryValueToTheLastBit)
{
    const std::string input = "h\n89;3,2;333;206;0,6;0;0;0;0;0;0\nbad\n89;3,2;0;0;0,6;0;0;0;0;0;0\n";
    const Result r = Calc("--batch --json --sep ,", input);
    EXPECT_EQ(r.Status, 1);
    std::istringstream lines(r.Out);
    std::string completed, invalid, refused, extra;
    std::getline(lines, completed);
    std::getline(lines, invalid);
    std::getline(lines, refused);
    EXPECT_FALSE(std::getline(lines, extra));
    // The same object as a single run's, on one line: spans and loads at full precision.
    EXPECT_EQ(completed.rfind("{\"outcome\":\"completed\",\"message\":\"\",\"spans\":{\"StaticSpanSP\":18.441467530619693,"
                              "\"DynamicSpanSP\":3.122329876848456,", 0), 0u) << completed;
    EXPECT_NE(completed.find("\"MomentOfInertia\":8.854410639999999e-07,\"report\":["), std::string::npos);
    EXPECT_NE(completed.find("\"governing\":{\"sp\":{\"span\":3.122,\"criterion\":\"dynamic_sp\""), std::string::npos);
    EXPECT_EQ(invalid, "{\"outcome\":\"invalid\",\"message\":\"строка 3: нужно от 11 до 14 полей через «;», а в строке 1\"}");
    EXPECT_EQ(refused.rfind("{\"outcome\":\"refused\",\"message\":\"Введены не все данные\",\"spans\":{\"StaticSpanSP\":null,", 0), 0u)
        << refused;
    EXPECT_EQ(r.Err, "");
}

}  // namespace

namespace {

// The JSON of a run without its list of own values: all that may differ from the run of a region.
std::string WithoutOwnList(std::string json)
{
    const std::size_t own = json.find("\"own\":[");
    if (own != std::string::npos)
        json.erase(own, json.find(']', own) + 1 - own);
    return json;
}

TEST(CalcOwnClimate, TableValuesTypedInGiveTheRunOfTheirRegions)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--snow 0 --snow-weight 1,8", "--snow 2"},
        {"--wind 0 --wind-pressure 0,38", "--wind 3"},
        {"--ice 0 --ice-thickness 10", "--ice 2"},
        {"--spans 6 --snow-weight 3,2 --wind-pressure=0.6 --ice-thickness 20", "--spans 6 --snow 4 --wind 5 --ice 4"},
    };
    for (const auto& [own, region] : cases) {
        const Result a = Calc(std::string("--sep , --json --span 3 ") + own);
        const Result b = Calc(std::string("--sep , --json --span 3 ") + region);
        EXPECT_EQ(a.Status, 0) << own << a.Err;
        EXPECT_EQ(WithoutOwnList(a.Out), WithoutOwnList(b.Out)) << own;
        EXPECT_NE(a.Out.find("\"own\":[\""), std::string::npos) << own;
    }
    // The text names the own values; the loads on the supports stand under "summary".
    const Result text = Calc("--sep , --snow-weight 1,8 --snow-source \"СП 20.13330.2016, табл. К.1\"");
    EXPECT_EQ(text.Out.rfind("Свои нормативные значения: S = 1,8 кН/м² (СП 20.13330.2016, табл. К.1)\n", 0), 0u);
    const Result json = Calc("--sep , --json --friction 0,1");
    EXPECT_NE(json.Out.find("\"supports\":{\"sp\":{\"span\":3.122,\"spans\":null,\"intermediate_supports\":null,"
                            "\"spacing\":null,\"spans_in_beam\":1,\"k_intermediate\":null,\"k_end\":0.5,"
                            "\"vertical_intermediate_N\":null,\"vertical_end_N\":127.16324267077758,"),
              std::string::npos)
        << json.Out;
    EXPECT_NE(json.Out.find("\"friction\":0.1,\"friction_intermediate_N\":null,\"friction_end_N\":12.71632426707776"),
              std::string::npos);
    EXPECT_NE(json.Out.find("\"supports_chosen\":null"), std::string::npos);
}

TEST(CalcOwnClimate, RefusedValuesEndWithUsageStatus)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--snow-weight 25", "korvelin-calc: Нормативный вес снегового покрова должен быть от 0 до 20 кН/м² (введено «25»)\n"},
        {"--friction -0,1", "korvelin-calc: Коэффициент трения в опорах не может быть отрицательным (введено «-0,1»)\n"},
        {"--batch --friction x", "korvelin-calc: Коэффициент трения в опорах должен быть числом (введено «x»)\n"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc(std::string("--sep , ") + arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, message) << arguments;
    }
    EXPECT_EQ(Calc("--batch --snow-weight 1").Status, 2);  // the batch takes them from its columns
}

TEST(CalcOwnClimate, BatchColumnsOfTheSameNames)
{
    const std::string input =
        "diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope;snow-weight;wind-pressure;ice-thickness\n"
        "89;3,2;333;206;0,6;0;2;2;0;0;0\n"
        "89;3,2;333;206;0,6;0;0;0;0;0;0;1,8;0,3\n"
        "89;3,2;333;206;0,6;0;2;2;0;0;0;;;\n"
        "89;3,2;333;206;0,6;0;0;0;0;0;0;;;101\n";
    const Result r = Calc("--batch --sep ,", input);
    EXPECT_EQ(r.Status, 1);
    std::istringstream lines(r.Out);
    std::string header, region, own, empty, refused;
    std::getline(lines, header);
    std::getline(lines, region);
    std::getline(lines, own);
    std::getline(lines, empty);
    std::getline(lines, refused);
    EXPECT_EQ(region.rfind("completed;;", 0), 0u);
    EXPECT_EQ(own, region);
    EXPECT_EQ(empty, region);  // empty columns: the regions' values
    EXPECT_EQ(refused, "invalid;строка 5: поле 14 (ice-thickness): Толщина стенки гололеда должна быть от 0 до 100 мм "
                       "(введено «101»);;;;;;;;");
}


// The project's note of several pipes: one framed document, its sheets numbered through, the
// governing spans of each pipe on the standard output.
TEST(CalcPipes, ThreePipesWriteOneFramedNote)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-pipes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string pdf = (dir / "pipes.pdf").string();
    const Result r = Calc("--sep , --pipes '57x3; 108×4; 159x4.5' --designation 123-2026-ГСН.РР --span 3 --pdf '" +
                          pdf + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out,
              "Труба 57×3\n"
              "  Определяющий пролет по СП 42-102-2004: 2,002 м — динамический расчет на прочность\n"
              "  Определяющий пролет по СНиП 2.04.12-86: 6,832 м — предельный прогиб\n"
              "Труба 108×4\n"
              "  Определяющий пролет по СП 42-102-2004: 3,824 м — динамический расчет на прочность\n"
              "  Определяющий пролет по СНиП 2.04.12-86: 10,491 м — предельный прогиб\n"
              "Труба 159×4,5\n"
              "  Определяющий пролет по СП 42-102-2004: 5,639 м — динамический расчет на прочность\n"
              "  Определяющий пролет по СНиП 2.04.12-86: 13,690 м — предельный прогиб\n");
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    const std::string note = ReadFile(pdf + ".txt");
    for (const char* words : {"Расчет допустимых пролетов надземного газопровода", "3 Труба 57×3",
                              "4 Труба 108×4", "5 Труба 159×4,5", "6 Сводная таблица труб",
                              "Рис. 3. Расчетная схема трубы 159×4,5", "Литература"}) {
        EXPECT_NE(note.find(words), std::string::npos) << words;
    }
    // The pipes of a saved set's span table; a blank row is no pipe.
    const std::string set = (dir / "set.korvelin").string();
    ASSERT_EQ(Calc("--save '" + set + "'").Status, 0);
    std::string json = ReadFile(set);
    json.insert(json.find('{') + 1, "\"pipeTable\": [{\"diameter\": \"108\", \"wall\": \"4\"}, "
                                    "{\"diameter\": \"\", \"wall\": \"\"}, {\"diameter\": \"57\", \"wall\": \"3\"}],");
    std::ofstream(set, std::ios::binary) << json;
    const Result table = Calc("--sep , --input '" + set + "' --table-pipes --odt '" + (dir / "pipes.odt").string() + "'");
    EXPECT_EQ(table.Status, 0) << table.Err;
    EXPECT_TRUE(table.Out.starts_with("Труба 108×4\n")) << table.Out;
    EXPECT_NE(table.Out.find("\nТруба 57×3\n"), std::string::npos) << table.Out;
    EXPECT_TRUE(std::filesystem::exists(dir / "pipes.odt"));

    // A pipe not computed: its message, the note of the others, the status 1.
    const Result partly = Calc("--sep , --pipes '57x3; 57x30' --pdf '" + pdf + "'");
    EXPECT_EQ(partly.Status, 1);
    EXPECT_EQ(partly.Err, "korvelin-calc: 57×30: Толщина стенки должна быть меньше половины наружного диаметра\n");
    std::filesystem::remove_all(dir);
}

// The sections go with every pipe, computed with that pipe; the main pipe's options are none of them.
TEST(CalcPipes, SectionsAreComputedWithEachPipe)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvelin-pipes-sections";
    std::filesystem::create_directories(dir);
    const std::string pdf = (dir / "sections.pdf").string();
    const Result r = Calc("--sep , --pipes '57x3; 108x4' --section '10 Л 5' --t-closing 0 --t-min -40 --t-max 50 "
                          "--pdf '" + pdf + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("Труба 57×3\n"), std::string::npos);
    EXPECT_NE(r.Out.find("  Компенсация температурных деформаций. Участок 1: 10 Л 5, труба 57×3 мм\n"),
              std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("  Компенсация температурных деформаций. Участок 1: 10 Л 5, труба 108×4 мм\n"),
              std::string::npos) << r.Out;
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    const std::string note = ReadFile(pdf + ".txt");
    for (const char* words : {"3.5 Компенсация температурных деформаций. Участок 1",
                              "4.5 Компенсация температурных деформаций. Участок 1"}) {
        EXPECT_NE(note.find(words), std::string::npos) << words;
    }
    EXPECT_EQ(note.find("89×3,2"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(CalcPipes, ABadListIsAUsageErrorNamingTheOption)
{
    const std::string help = " (справка: korvelin-calc --help)\n";
    const std::string cases[][2] = {
        {"--pipes '57x3; 108' --pdf p.pdf",
         "--pipes: «108» — нужны наружный диаметр и толщина стенки в мм через «x», например «57x3; 108x4; 159x4,5»"},
        {"--pipes '57x3;;108x4' --pdf p.pdf",
         "--pipes: пустая запись в списке труб; трубы разделяются «;», например «57x3; 108x4; 159x4,5»"},
        {"--pipes ' ' --pdf p.pdf", "--pipes: список труб пуст, например «57x3; 108x4; 159x4,5»"},
        {"--pipes '57x-3' --pdf p.pdf",
         "--pipes: «57x-3» — нужны наружный диаметр и толщина стенки в мм через «x», например «57x3; 108x4; 159x4,5»"},
        {"--pipes '57x3'", "--pipes задается вместе с --pdf или --odt"},
        {"--pipes '57x3' --diameter 89 --pdf p.pdf",
         "--diameter нельзя задать вместе с --pipes: диаметр и стенку каждой трубы задает список"},
        {"--pipes '57x3' --table-pipes --pdf p.pdf", "--table-pipes нельзя задать вместе с --pipes"},
        {"--pipes '57x3' --json --pdf p.pdf",
         "--json нельзя задать вместе с --pipes: записка по нескольким трубам пишется только в файл"},
        {"--batch --pipes '57x3'",
         "--pipes нельзя задать вместе с --batch: пакет берет все исходные данные из своих строк"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc(arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Err, "korvelin-calc: " + message + help) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
    }
}

}  // namespace
