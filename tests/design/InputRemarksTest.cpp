#include "korvelin/DesignSummary.h"
#include "korvelin/FaultExplanation.h"
#include "korvelin/InputRemarks.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

// The refusal of incomplete data names every field that reads as zero, in the order of the
// window's reading, and nothing for a text that does not read or a value that is only small.
TEST(InputRemarks, ZeroFieldsAreNamed)
{
    const struct {
        FieldTexts Texts;
        std::string Named;
    } cases[] = {
        {{"89", "3,2", "333", "206", "0,6"}, ""},
        {{"89", "3,2", "333", "206", "0"}, "равно нулю поле «Давление в трубопроводе»"},
        {{",", "3,2", "333", "206", "0,6"}, "равно нулю поле «Наружный диаметр»"},
        {{"0,0001", "3,2", "333", "206", "0,6"}, ""},
        {{"89", "0,00", "0", "206", "0,6"}, "равны нулю поля «Толщина стенки трубы» и «Предел сопротивления»"},
        {{"0", "0", "0", "0", "0"},
         "равны нулю поля «Наружный диаметр», «Толщина стенки трубы», «Предел сопротивления», "
         "«Предел текучести» и «Давление в трубопроводе»"},
        {{"abc", "3,2", "333", "206", "0"}, "равно нулю поле «Давление в трубопроводе»"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZeroFieldsText(c.Texts, ","), c.Named) << c.Texts.OuterDiameter << " " << c.Texts.Pressure;
    }
    // The refused run's message with them; a refusal that is about a selector stays as it is.
    const FieldTexts noWall{"89", "0", "333", "206", "0,6"};
    EXPECT_EQ(ExplainedMessage(RunCalculation(noWall, {}, ","), noWall, ","),
              "Введены не все данные — равно нулю поле «Толщина стенки трубы»");
    const FieldTexts whole{"89", "3,2", "333", "206", "0,6"};
    EXPECT_EQ(ExplainedMessage(RunCalculation(whole, {.IceRegion = 5}, ","), whole, ","), "Введены не все данные");
}

// A yield strength above the ultimate one is calculated as given and warned of; equal strengths
// are not.
TEST(InputRemarks, SteelWithYieldAboveUltimateIsWarnedOf)
{
    const auto warnings = [](const char* ultimate, const char* yield) {
        const CalculationOutcome outcome = RunCalculation({"159", "4,5", ultimate, yield, "0,6"}, {}, ",");
        EXPECT_EQ(outcome.Kind, OutcomeKind::Completed);
        return SummarizeDesign(outcome)->Warnings;
    };
    EXPECT_EQ(warnings("100", "500"),
              std::vector<std::string>{"предел текучести больше предела прочности — проверьте значения стали"});
    EXPECT_TRUE(warnings("300", "300").empty());
    EXPECT_TRUE(warnings("333", "206").empty());
}

}  // namespace
}  // namespace korvelin
