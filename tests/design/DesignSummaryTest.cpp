#include "TestFormat.h"
#include "korvelin/DesignSummary.h"

#include <gtest/gtest.h>

#include <string>

namespace korvelin {
namespace {

using test::Shown;

CalculationOutcome StartUpOutcome()
{
    return RunCalculation({"89", "3,2", "333", "206", "0,6"}, {}, ",", ReportMode::Omitted);
}

TEST(DesignSummary, StartUpInputGovernedByDynamicAndSNiPDeflection)
{
    const std::optional<DesignSummary> summary =
        SummarizeDesign(StartUpOutcome(), {.ChosenSpan = 3.0, .RouteLength = 100.0});
    ASSERT_TRUE(summary.has_value());

    const GoverningSpan& sp = summary->SP.Governing;
    ASSERT_TRUE(sp.Span.has_value());
    EXPECT_EQ(sp.Which, Criterion::DynamicSP);
    EXPECT_EQ(*sp.Span, 3.122);  // the shown value, exactly
    EXPECT_EQ(sp.Reason, "");
    const GoverningSpan& snip = summary->SNiP.Governing;
    ASSERT_TRUE(snip.Span.has_value());
    EXPECT_EQ(snip.Which, Criterion::DeflectionSNiP);
    EXPECT_EQ(*snip.Span, 9.189);

    // 3 m against every SP criterion: the dynamic span is the closest.
    ASSERT_TRUE(summary->SP.Check.has_value());
    const RuleSetCheck& check = *summary->SP.Check;
    EXPECT_TRUE(check.Passes);
    ASSERT_EQ(check.Criteria.size(), 4u);
    const char* percents[] = {"16,3", "96,1", "49,0", "30,1"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(FormatPercent(check.Criteria[i].Percent, ","), percents[i]) << i;
        EXPECT_TRUE(check.Criteria[i].Passes) << i;
    }
    EXPECT_EQ(check.Criteria[1].Which, Criterion::DynamicSP);
    EXPECT_EQ(Shown(check.Criteria[1].PermissibleSpan), "3.122");
    ASSERT_TRUE(summary->SNiP.Check.has_value());
    EXPECT_TRUE(summary->SNiP.Check->Passes);

    ASSERT_TRUE(summary->SP.Route.has_value());
    // 100 m is a beam of many spans: the span of ">6", 2,073 m, gives 100 / 2,073 = 48,2 → 49.
    EXPECT_EQ(summary->SP.Route->Spans, 49);
    EXPECT_EQ(summary->SP.Route->IntermediateSupports, 48);
    EXPECT_EQ(FormatFixed3(summary->SP.Route->Span, ","), "2,073");
    EXPECT_EQ(FormatFixed3(summary->SP.Route->Spacing, ","), "2,041");
    ASSERT_TRUE(summary->SNiP.Route.has_value());
    EXPECT_EQ(summary->SNiP.Route->Spans, 11);  // 100 / 9,189 = 10,88
    EXPECT_EQ(FormatFixed3(summary->SNiP.Route->Spacing, ","), "9,091");
    ASSERT_TRUE(summary->ChosenRoute.has_value());
    EXPECT_EQ(summary->ChosenRoute->Spans, 34);  // 100 / 3 = 33,3
    EXPECT_EQ(summary->ChosenRoute->IntermediateSupports, 33);
}

TEST(DesignSummary, ChosenSpanAboveOneCriterionFailsOnlyThatSet)
{
    const auto summary = SummarizeDesign(StartUpOutcome(), {.ChosenSpan = 3.123});
    ASSERT_TRUE(summary.has_value());
    EXPECT_FALSE(summary->SP.Check->Passes);
    EXPECT_FALSE(summary->SP.Check->Criteria[1].Passes);
    EXPECT_EQ(FormatPercent(summary->SP.Check->Criteria[1].Percent, "."), "100.0");
    EXPECT_TRUE(summary->SP.Check->Criteria[0].Passes);
    EXPECT_TRUE(summary->SNiP.Check->Passes);
    EXPECT_FALSE(summary->SP.Route.has_value());
    EXPECT_FALSE(summary->ChosenRoute.has_value());
    // The shown span itself passes: the span is taken as it is shown.
    EXPECT_TRUE(SummarizeDesign(StartUpOutcome(), {.ChosenSpan = 3.122})->SP.Check->Passes);
    EXPECT_FALSE(SummarizeDesign(StartUpOutcome(), {.ChosenSpan = 9.19})->SNiP.Check->Passes);
}

TEST(DesignSummary, RouteCountsSpansWithAMillimetreTolerance)
{
    struct Case {
        double Route;
        double Span;
        int Spans;
        const char* Spacing;
    };
    const Case cases[] = {
        {99.904, 3.122, 32, "3,122"},   // 32 spans exactly
        {99.9045, 3.122, 32, "3,122"},  // half a millimetre over: still 32
        {99.906, 3.122, 33, "3,027"},   // two millimetres over: one more span
        {103.026, 3.122, 33, "3,122"},
        {100, 3.122, 33, "3,030"},
        {100, 10, 10, "10,000"},
        {100, 0.1, 1000, "0,100"},
        {2, 3.122, 1, "2,000"},  // shorter than one span: no intermediate support
        {3.1225, 3.122, 1, "3,123"},
    };
    for (const Case& c : cases) {
        const RouteSupports route = CountSupports(c.Route, c.Span);
        EXPECT_EQ(route.Spans, c.Spans) << c.Route << " / " << c.Span;
        EXPECT_EQ(route.IntermediateSupports, c.Spans - 1) << c.Route;
        EXPECT_EQ(FormatFixed3(route.Spacing, ","), c.Spacing) << c.Route;
        EXPECT_EQ(route.Span, c.Span);
    }
}

TEST(DesignSummary, InnerDiameterAbove300LeavesSPWithoutGoverningSpan)
{
    const CalculationOutcome outcome = RunCalculation({"330", "10", "333", "206", "0,6"}, {}, ",");
    ASSERT_EQ(outcome.Kind, OutcomeKind::Completed);
    ASSERT_EQ(outcome.Spans.CondensateSpanSP, 0.0);
    const auto summary = SummarizeDesign(outcome, {.ChosenSpan = 5.0, .RouteLength = 100.0});
    ASSERT_TRUE(summary.has_value());
    EXPECT_FALSE(summary->SP.Governing.Span.has_value());
    EXPECT_EQ(summary->SP.Governing.Which, Criterion::CondensateSP);
    EXPECT_NE(summary->SP.Governing.Reason.find("300 мм"), std::string::npos);
    EXPECT_FALSE(summary->SP.Route.has_value());  // no route at 0 m
    EXPECT_FALSE(summary->SP.Check->Passes);
    EXPECT_FALSE(summary->SP.Check->Criteria[2].Passes);
    EXPECT_EQ(summary->SP.Check->Criteria[2].Percent, 0.0);
    ASSERT_TRUE(summary->SNiP.Governing.Span.has_value());
    EXPECT_TRUE(summary->SNiP.Route.has_value());
}

TEST(DesignSummary, TiesGoToTheFirstCriterionAndRefusedRunsHaveNoSummary)
{
    SpanResults spans;
    spans.StaticSpanSP = 5.0;
    spans.DynamicSpanSP = 5.0004;  // shown as 5,000: a tie with the static span
    spans.CondensateSpanSP = 6.0;
    spans.DeflectionSpanSP = 5.0;
    spans.StaticSpanSNiP = 7.0;
    spans.DeflectionSpanSNiP = 7.0;
    const GoverningSpan sp = FindGoverningSpan(spans, RuleSet::SP);
    EXPECT_EQ(sp.Which, Criterion::StaticSP);
    EXPECT_EQ(sp.Span, 5.0);
    EXPECT_EQ(FindGoverningSpan(spans, RuleSet::SNiP).Which, Criterion::StaticSNiP);

    spans.StaticSpanSNiP = -1.0;
    const GoverningSpan snip = FindGoverningSpan(spans, RuleSet::SNiP);
    EXPECT_FALSE(snip.Span.has_value());
    EXPECT_EQ(snip.Which, Criterion::StaticSNiP);
    EXPECT_FALSE(snip.Reason.empty());

    const CalculationOutcome refused = RunCalculation({"89", "0", "333", "206", "0,6"}, {}, ",");
    ASSERT_EQ(refused.Kind, OutcomeKind::Refused);
    EXPECT_FALSE(SummarizeDesign(refused, {.ChosenSpan = 3.0}).has_value());
}

TEST(DesignSummary, OptionalTextsAreReadOrRefusedWithAMessage)
{
    struct Case {
        const char* Text;
        std::optional<double> Span;
        const char* SpanError;
        const char* RouteError;
    };
    const Case cases[] = {
        {"", std::nullopt, "", ""},
        {"   ", std::nullopt, "", ""},
        {"3", 3.0, "", ""},
        {"3,5", 3.5, "", ""},
        {"3.5", 3.5, "", ""},
        {"0,001", 0.001, "", ""},
        {"abc", std::nullopt, "Принятый пролет должен быть числом",
         "Длина участка трассы должна быть числом"},
        {"3,5,1", std::nullopt, "Принятый пролет должен быть числом",
         "Длина участка трассы должна быть числом"},
        {"0", std::nullopt, "Принятый пролет не может быть равен нулю",
         "Длина участка трассы не может быть равна нулю"},
        {",", std::nullopt, "Принятый пролет не может быть равен нулю",
         "Длина участка трассы не может быть равна нулю"},
        {"-3", std::nullopt, "Принятый пролет не может быть отрицательным",
         "Длина участка трассы не может быть отрицательной"},
        {"0,0009", std::nullopt, "Принятый пролет должен быть от 0,001 до 100 м",
         "Длина участка трассы должна быть от 0,001 до 100000 м"},
        {"1e400", std::nullopt, "Принятый пролет должен быть от 0,001 до 100 м",
         "Длина участка трассы должна быть от 0,001 до 100000 м"},
    };
    for (const Case& c : cases) {
        const OptionalLength span = ReadChosenSpan(c.Text, ",");
        EXPECT_EQ(span.Value, c.Span) << c.Text;
        EXPECT_EQ(span.Error, c.SpanError) << c.Text;
        EXPECT_EQ(span.Ok(), std::string(c.SpanError).empty()) << c.Text;
        const OptionalLength route = ReadRouteLength(c.Text, ",");
        EXPECT_EQ(route.Error, c.RouteError) << c.Text;
        EXPECT_EQ(route.Value, c.Span) << c.Text;
    }
    // The ranges' upper ends.
    EXPECT_EQ(ReadChosenSpan("100", ",").Value, 100.0);
    EXPECT_FALSE(ReadChosenSpan("100,001", ",").Ok());
    EXPECT_EQ(ReadRouteLength("100000", ",").Value, 100000.0);
    EXPECT_EQ(ReadRouteLength("100000,5", ".").Error,
              "Длина участка трассы должна быть от 0.001 до 100000 м");
}

TEST(DesignSummary, PercentWithOneDecimal)
{
    EXPECT_EQ(FormatPercent(96.0922, ","), "96,1");
    EXPECT_EQ(FormatPercent(100, "."), "100.0");
    EXPECT_EQ(FormatPercent(0.04, ","), "0,0");
    EXPECT_EQ(FormatPercent(12345.67, ","), "12345,7");
}

}  // namespace
}  // namespace korvelin
