#include "TestFormat.h"
#include "korvelin/BatchColumns.h"
#include "korvelin/SpanTable.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

using test::Shown;

// Steel ст2сп (333 / 206 MPa), 0,6 MPa, every selector on its first item.
SpanTableConditions StartUpConditions()
{
    SpanTableConditions conditions;
    conditions.Texts = {"", "", "333", "206", "0,6"};
    conditions.SteelGrade = 0;
    return conditions;
}

std::string SpansOf(const SpanTableRow& row)
{
    std::string text;
    AppendBatchColumns(text, row.Outcome, ".");
    return text;
}

TEST(SpanTable, DefaultListIsWithinTheLimitAndComputes)
{
    const std::vector<PipeSize> sizes = DefaultPipeSizes();
    ASSERT_EQ(sizes.size(), 9u);
    EXPECT_EQ(PipeSizeText(sizes.front(), ","), "57×3");
    EXPECT_EQ(PipeSizeText(sizes[6], ","), "159×4,5");
    EXPECT_EQ(PipeSizeText(sizes[6], "."), "159×4.5");
    EXPECT_EQ(PipeSizeText(sizes.back(), ","), "273×7");
    for (const SpanTableRow& row : ComputeSpanTable(sizes, StartUpConditions())) {
        EXPECT_TRUE(row.Completed()) << PipeSizeText(row.Size, ",") << ": " << row.Outcome.Message;
        EXPECT_TRUE(row.GoverningSP.Span && row.GoverningSNiP.Span);
    }
}

TEST(SpanTable, RowRunsThePipeUnderTheConditions)
{
    SpanTableConditions conditions = StartUpConditions();
    const SpanTableRow row = ComputeSpanTableRow({"89", "3"}, conditions);
    EXPECT_EQ(SpansOf(row), "completed;;18.332;3.112;6.103;9.906;13.710;9.096;3.112;9.096");
    EXPECT_EQ(row.GoverningSP.Which, Criterion::DynamicSP);
    EXPECT_EQ(row.GoverningSNiP.Which, Criterion::DeflectionSNiP);
    EXPECT_TRUE(row.Outcome.Report.empty());

    // The conditions' own diameter and wall are ignored; the snow region IV changes the spans.
    conditions.Texts.OuterDiameter = "500";
    conditions.Texts.WallThickness = "x";
    conditions.Selectors.SnowRegion = 3;
    EXPECT_EQ(SpansOf(ComputeSpanTableRow({"89", "3"}, conditions)),
              "completed;;15.771;2.877;5.661;8.970;10.423;7.662;2.877;7.662");
    // Inner diameter exactly 300 mm: computed; a tenth of a millimetre more: refused.
    EXPECT_EQ(SpansOf(ComputeSpanTableRow({"316", "8"}, StartUpConditions())),
              "completed;;37.227;11.361;16.323;24.697;29.500;22.826;11.361;22.826");
}

TEST(SpanTable, RowsThatAreNotComputedCarryTheirMessage)
{
    // The run's own message, and as the table shows it: with the empty cell or the field that
    // reads as zero.
    const struct {
        PipeSize Size;
        OutcomeKind Kind;
        std::string Message;
        std::string Shown;
    } cases[] = {
        {{"", "3"}, OutcomeKind::Refused, "Введены не все данные",
         "Введены не все данные — пустая ячейка «Наружный диаметр, мм»"},
        {{"89", "  "}, OutcomeKind::Refused, "Введены не все данные",
         "Введены не все данные — пустая ячейка «Толщина стенки, мм»"},
        {{"0", "3"}, OutcomeKind::Refused, "Введены не все данные",
         "Введены не все данные — равно нулю поле «Наружный диаметр»"},
        {{"0", ",0"}, OutcomeKind::Refused, "Введены не все данные",
         "Введены не все данные — равны нулю поля «Наружный диаметр» и «Толщина стенки трубы»"},
        {{"-89", "3"}, OutcomeKind::Refused, "Значения должны быть больше нуля", "Значения должны быть больше нуля"},
        {{"89", "44,5"}, OutcomeKind::Refused, "Толщина стенки должна быть меньше половины наружного диаметра",
         "Толщина стенки должна быть меньше половины наружного диаметра"},
        {{"8a9", "3"}, OutcomeKind::Failed, "'8a9' is not a valid floating point value",
         "'8a9' is not a valid floating point value"},
        {{"89", "3,,5"}, OutcomeKind::Failed, "'3,,5' is not a valid floating point value",
         "'3,,5' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        const SpanTableRow row = ComputeSpanTableRow(c.Size, StartUpConditions());
        EXPECT_EQ(row.Outcome.Kind, c.Kind) << c.Size.OuterDiameter << "×" << c.Size.WallThickness;
        EXPECT_EQ(row.Outcome.Message, c.Message);
        EXPECT_EQ(row.Message, c.Shown);
        EXPECT_FALSE(row.Outcome.Spans.StaticSpanSP.has_value());
    }
    // A pressure of zero reaches every row, named.
    SpanTableConditions noPressure = StartUpConditions();
    noPressure.Texts.Pressure = "0,000";
    EXPECT_EQ(ComputeSpanTableRow({"89", "3"}, noPressure).Message,
              "Введены не все данные — равно нулю поле «Давление в трубопроводе»");
    // A pressure the main window cannot read reaches every row as the run's error.
    SpanTableConditions unreadable = StartUpConditions();
    unreadable.Texts.Pressure = "0,6,";
    EXPECT_EQ(ComputeSpanTableRow({"89", "3"}, unreadable).Outcome.Message,
              "'0,6,' is not a valid floating point value");
}

// Above an inner diameter of 300 mm the row is computed as the main window computes it: the
// condensate span is 0, SP has no governing span and says why, SNiP has one. At 300 mm exactly
// the condensate criterion still holds.
TEST(SpanTable, InnerDiameterAboveTheLimitGovernsBySNiP)
{
    EXPECT_TRUE(ComputeSpanTableRow({"316", "8"}, StartUpConditions()).GoverningSP.Span.has_value());
    const struct {
        PipeSize Size;
        std::string Inner;
    } cases[] = {{{"316", "7,9"}, "300,2"}, {{"325", "8"}, "309"}, {{"309", "3"}, "303"}};
    for (const auto& c : cases) {
        const SpanTableRow row = ComputeSpanTableRow(c.Size, StartUpConditions());
        ASSERT_TRUE(row.Completed()) << row.Outcome.Message;
        EXPECT_EQ(row.Outcome.Spans.CondensateSpanSP, 0.0);
        EXPECT_FALSE(row.GoverningSP.Span.has_value());
        EXPECT_EQ(row.GoverningSP.Which, Criterion::CondensateSP);
        EXPECT_EQ(row.GoverningSP.Reason, "внутренний диаметр " + c.Inner +
                                              " мм больше 300 мм — для таких труб СП 42-102-2004 не дает пролета "
                                              "по условию образования конденсата; определяющий пролет — по "
                                              "СНиП 2.04.12-86");
        EXPECT_TRUE(row.GoverningSNiP.Span.has_value());
    }
    EXPECT_EQ(SpansOf(ComputeSpanTableRow({"325", "8"}, StartUpConditions())),
              "completed;;37.760;11.682;0.000;25.050;29.922;23.153;;23.153");
}

TEST(SpanTable, CsvHasTheConditionsTheWindowsColumnsAndTheMessages)
{
    const std::vector<PipeSize> sizes = {{"89", "3.2"}, {"325", "8"}, {"x;", "3"}};
    SpanTableConditions conditions = StartUpConditions();
    const std::vector<SpanTableRow> rows = ComputeSpanTable(sizes, conditions);
    const std::string head =
        "\xEF\xBB\xBF"
        "Таблица допустимых пролетов надземного газопровода\r\n"
        "Условия расчета:\r\n"
        "Давление в трубопроводе 0,6 МПа\r\n"
        "Сталь ст2сп/ГОСТ 10705-80: предел сопротивления 333 МПа, предел текучести 206 МПа\r\n"
        "Застройка высотой до 10,0 м\r\n"
        "Районы строительства: по снеговой нагрузке I, по ветровой Ia, по гололедной I\r\n"
        "Количество пролетов 1, уклон трубопровода 0,000 (0 ‰)\r\n"
        "\r\n"
        "Наружный диаметр, мм;Толщина стенки, мм;СП статический расчет, м;СП динамический расчет, м;"
        "СП конденсат, м;СП прогиб, м;СНиП статический расчет, м;СНиП прогиб, м;"
        "Определяющий пролет по СП, м;Критерий по СП;Определяющий пролет по СНиП, м;Критерий по СНиП;"
        "Примечание\r\n";
    EXPECT_EQ(SpanTableCsv(rows, conditions),
              head +
                  "89;3,2;18,441;3,122;6,128;9,965;13,851;9,189;3,122;динамический расчет;9,189;прогиб;\r\n"
                  "325;8;37,760;11,682;0,000;25,050;29,922;23,153;нет;\"внутренний диаметр 309 мм больше 300 мм — "
                  "для таких труб СП 42-102-2004 не дает пролета по условию образования конденсата; определяющий "
                  "пролет — по СНиП 2.04.12-86\";23,153;прогиб;\r\n"
                  "\"x;\";3;;;;;;;;;;;\"'x;' is not a valid floating point value\"\r\n");
    EXPECT_EQ(SpanTableCsv({}, conditions), head);
    // A fault in a row is given with its cause.
    conditions.Texts.Pressure = "12";
    const std::string faulted = SpanTableCsv(ComputeSpanTable(sizes, conditions), conditions);
    EXPECT_NE(faulted.find("\r\n89;3,2;;;;;;;;;;;Invalid floating point operation — давление слишком велико для этой "
                           "толщины стенки (статический расчет на прочность по СП 42-102-2004)\r\n"),
              std::string::npos);
}

TEST(SpanTable, ConditionsNameEveryInput)
{
    SpanTableConditions conditions = StartUpConditions();
    conditions.Selectors = {.HeightCategory = 1, .SnowRegion = 3, .WindRegion = 8,
                            .IceRegion = 2, .SpanCount = 6, .Slope = 10};
    EXPECT_EQ(SpanTableConditionLines(conditions),
              (std::vector<std::string>{
                  "Давление в трубопроводе 0,6 МПа",
                  "Сталь ст2сп/ГОСТ 10705-80: предел сопротивления 333 МПа, предел текучести 206 МПа",
                  "Застройка высотой от 10,0 до 20,0 м",
                  "Районы строительства: по снеговой нагрузке IV, по ветровой —, по гололедной III",
                  "Количество пролетов >6, уклон трубопровода 0,010 (10 ‰)",
              }));
    conditions.SteelGrade = 99;
    EXPECT_EQ(SpanTableConditionLines(conditions)[1],
              "предел сопротивления 333 МПа, предел текучести 206 МПа");
}

}  // namespace
}  // namespace korvelin
