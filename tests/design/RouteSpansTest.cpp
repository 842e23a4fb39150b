#include "TestFormat.h"
#include "korvelin/RouteSpans.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace korvelin {
namespace {

using test::Shown;

// A source of governing spans by item that records what it was asked.
struct ItemSpans {
    std::array<std::optional<double>, 7> Spans;
    std::vector<int> Asked;

    GoverningSpanOfItem Source()
    {
        return [this](int item) {
            Asked.push_back(item);
            return Spans[static_cast<std::size_t>(item)];
        };
    }
};

TEST(RouteSpans, SmallestCountWhoseOwnItemCoversTheLength)
{
    // Spans 10, 9, 8, 7, 6, 5 m for one to six spans, 4 m for more: n spans cover n·L(n) + 1 mm,
    // that is 10, 18, 24, 28, 30, 30 m, then 4 m a span from seven on.
    struct Case {
        double Length;
        int Spans;
        int Item;
        const char* Spacing;
    };
    const Case cases[] = {
        {1, 1, 0, "1.000"},
        {10, 1, 0, "10.000"},
        {10.0005, 1, 0, "10.001"},  // within the millimetre
        {10.002, 2, 1, "5.001"},
        {18, 2, 1, "9.000"},
        {18.002, 3, 2, "6.001"},
        {20, 3, 2, "6.667"},
        {24, 3, 2, "8.000"},
        {24.004, 4, 3, "6.001"},
        {28, 4, 3, "7.000"},
        {28.002, 5, 4, "5.600"},
        {30, 5, 4, "6.000"},  // six spans of 5 m cover no more than five of 6 m: six never wins
        {30.002, 8, 6, "3.750"},  // ceil(30,002 / 4)
        {32, 8, 6, "4.000"},
        {32.002, 9, 6, "3.556"},
    };
    for (const Case& c : cases) {
        ItemSpans spans{{10.0, 9.0, 8.0, 7.0, 6.0, 5.0, 4.0}, {}};
        const std::optional<RouteSupports> route = DivideIntoSpans(c.Length, spans.Source());
        ASSERT_TRUE(route.has_value()) << c.Length;
        EXPECT_EQ(route->Spans, c.Spans) << c.Length;
        EXPECT_EQ(route->IntermediateSupports, c.Spans - 1) << c.Length;
        EXPECT_EQ(route->SpanCountIndex, c.Item) << c.Length;
        EXPECT_EQ(route->Span, *spans.Spans[static_cast<std::size_t>(c.Item)]) << c.Length;
        EXPECT_EQ(Shown(route->Spacing), c.Spacing) << c.Length;
        // Asked in order, each item once, and no item beyond the one used.
        std::vector<int> expected;
        for (int item = 0; item <= c.Item; ++item) {
            expected.push_back(item);
        }
        EXPECT_EQ(spans.Asked, expected) << c.Length;
        // The laws: the count covers, one span fewer (with its own item's span) does not.
        EXPECT_LE(c.Length / c.Spans, route->Span + 0.001) << c.Length;
        if (c.Spans > 1) {
            const double fewer = *spans.Spans[static_cast<std::size_t>(SpanCountIndexOf(c.Spans - 1))];
            EXPECT_GT(c.Length - (c.Spans - 1) * fewer, 0.001) << c.Length;
        }
    }
}

TEST(RouteSpans, ManySpansNeverFewerThanSevenAndMissingSpans)
{
    // A long span only for "more than six": a length no count up to six covers takes seven spans,
    // though five of 10 m would do.
    ItemSpans many{{1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 10.0}, {}};
    const std::optional<RouteSupports> seven = DivideIntoSpans(50, many.Source());
    ASSERT_TRUE(seven.has_value());
    EXPECT_EQ(seven->Spans, 7);
    EXPECT_EQ(seven->SpanCountIndex, 6);
    EXPECT_EQ(Shown(seven->Spacing), "7.143");

    // An item without a governing span ends the search where it is reached, not before.
    ItemSpans gap{{10.0, 9.0, std::nullopt, 7.0, 6.0, 5.0, 4.0}, {}};
    EXPECT_TRUE(DivideIntoSpans(18, gap.Source()).has_value());
    EXPECT_EQ(gap.Asked, (std::vector<int>{0, 1}));
    EXPECT_FALSE(DivideIntoSpans(18.002, gap.Source()).has_value());
    ItemSpans zero{{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, {}};
    EXPECT_FALSE(DivideIntoSpans(5, zero.Source()).has_value());

    const std::pair<int, int> items[] = {{1, 0}, {2, 1}, {6, 5}, {7, 6}, {34, 6}, {0, 0}};
    for (const auto& [spans, item] : items) {
        EXPECT_EQ(SpanCountIndexOf(spans), item) << spans;
    }
}

// 159×4,5, steel 20, 0,6 МПа, snow III, wind II, ice II, chosen 3 spans.
SelectorIndexes JobSelectors()
{
    return {.HeightCategory = 0, .SnowRegion = 2, .WindRegion = 2, .IceRegion = 1, .SpanCount = 2, .Slope = 0};
}

CalculationOutcome JobOutcome(int spanCount)
{
    SelectorIndexes selectors = JobSelectors();
    selectors.SpanCount = spanCount;
    return RunCalculation({"159", "4,5", "372", "225", "0,6"}, selectors, ",", ReportMode::Omitted);
}

TEST(RouteSpans, RouteOfTheJobAroundEveryChangeOfTheCount)
{
    // The SP governing span of each item, each from a run of its own through the window's texts.
    std::array<double, 7> sp{};
    for (int item = 0; item < 7; ++item) {
        const CalculationOutcome run = JobOutcome(item);
        ASSERT_EQ(run.Kind, OutcomeKind::Completed);
        sp[static_cast<std::size_t>(item)] = *FindGoverningSpan(run.Spans, RuleSet::SP).Span;
    }
    EXPECT_EQ(Shown(sp[2]), "4.081");
    EXPECT_EQ(Shown(sp[6]), "3.607");

    // The changes of the count: n·L(n) = 5,431; 9,028; 12,243; 15,576; 18,985; 22,452; then
    // 3,607 a span (25,249 for seven).
    struct Case {
        double Length;
        int Spans;
        const char* Spacing;
    };
    const Case cases[] = {
        {5.431, 1, "5.431"},   {5.434, 2, "2.717"},   {9.028, 2, "4.514"},
        {9.030, 3, "3.010"},   {12.243, 3, "4.081"},  {12.245, 4, "3.061"},
        {15.576, 4, "3.894"},  {15.578, 5, "3.116"},  {18.985, 5, "3.797"},
        {18.988, 6, "3.165"},  {22.452, 6, "3.742"},  {22.454, 7, "3.208"},
        {25.249, 7, "3.607"},  {25.251, 8, "3.156"},  {119.031, 33, "3.607"},
        {119.033, 34, "3.501"}, {120, 34, "3.529"},
    };
    const CalculationOutcome chosen = JobOutcome(2);
    for (const Case& c : cases) {
        const std::optional<DesignSummary> summary = SummarizeDesign(chosen, {.RouteLength = c.Length});
        ASSERT_TRUE(summary.has_value());
        ASSERT_TRUE(summary->SP.Route.has_value()) << c.Length;
        const RouteSupports& route = *summary->SP.Route;
        EXPECT_EQ(route.Spans, c.Spans) << c.Length;
        EXPECT_EQ(route.SpanCountIndex, SpanCountIndexOf(c.Spans)) << c.Length;
        EXPECT_EQ(route.Span, sp[static_cast<std::size_t>(SpanCountIndexOf(c.Spans))]) << c.Length;
        EXPECT_EQ(Shown(route.Spacing), c.Spacing) << c.Length;
        // The loads of the route are those of its own beam.
        ASSERT_TRUE(summary->SP.RouteLoads.has_value());
        EXPECT_EQ(summary->SP.RouteLoads->Span, route.Span);
        EXPECT_EQ(summary->SP.RouteLoads->Factors.Spans, c.Spans > 6 ? 0 : c.Spans) << c.Length;
        // The tab pages keep the chosen three spans.
        EXPECT_EQ(*summary->SP.Governing.Span, sp[2]);
        EXPECT_EQ(summary->SP.Supports->Factors.Spans, 3);
    }

    // SNiP's span does not depend on the count: 120 / 12,342 → 10 spans, a beam of more than six.
    const std::optional<DesignSummary> both = SummarizeDesign(chosen, {.RouteLength = 120.0});
    EXPECT_EQ(both->SNiP.Route->Spans, 10);
    EXPECT_EQ(both->SNiP.Route->SpanCountIndex, 6);
    EXPECT_EQ(Shown(both->SNiP.Route->Spacing), "12.000");
    EXPECT_EQ(both->SpanCountIndex, 2);
    const std::optional<DesignSummary> shortRoute = SummarizeDesign(chosen, {.RouteLength = 30.0});
    EXPECT_EQ(shortRoute->SNiP.Route->Spans, 3);
    EXPECT_EQ(shortRoute->SNiP.Route->SpanCountIndex, 2);
}

TEST(RouteSpans, SentenceNamesTheCountAndWhy)
{
    const CalculationOutcome chosen = JobOutcome(2);
    const std::optional<DesignSummary> summary = SummarizeDesign(chosen, {.RouteLength = 120.0});
    EXPECT_EQ(RouteCountText(RuleSet::SP, *summary->SP.Route, summary->SpanCountIndex,
                             summary->SP.Governing.Span, ","),
              "СП 42-102-2004: 34 пролета по 3,529 м — наименьшее число пролетов, при котором шаг "
              "не больше определяющего пролета балки с таким числом пролетов («>6»: 3,607 м); при "
              "выбранном «3» — 4,081 м");
    EXPECT_EQ(RouteCountText(RuleSet::SP, *summary->SP.Route, summary->SpanCountIndex,
                             summary->SP.Governing.Span, ",", RouteTextForm::Brief),
              "СП 42-102-2004: 34 пролета по 3,529 м, пролет балки «>6» — 3,607 м (при «3» — 4,081 м)");

    struct Case {
        int Spans;
        int Item;
        const char* Text;
    };
    const Case cases[] = {
        {1, 0, "СНиП 2.04.12-86: 1 пролет по 4.000 м"},
        {3, 2, "СНиП 2.04.12-86: 3 пролета по 4.000 м"},
        {11, 6, "СНиП 2.04.12-86: 11 пролетов по 4.000 м"},
        {21, 6, "СНиП 2.04.12-86: 21 пролет по 4.000 м"},
        {112, 6, "СНиП 2.04.12-86: 112 пролетов по 4.000 м"},
        {5, 4, "СНиП 2.04.12-86: 5 пролетов по 4.000 м"},
    };
    for (const Case& c : cases) {
        RouteSupports route;
        route.Span = 4.5;
        route.Spans = c.Spans;
        route.Spacing = 4;
        route.SpanCountIndex = c.Item;
        const std::string text = RouteCountText(RuleSet::SNiP, route, c.Item, 4.5, ".");
        EXPECT_EQ(text.substr(0, std::string(c.Text).size()), c.Text);
        // The chosen item itself: nothing to compare with.
        EXPECT_EQ(text.find("при выбранном"), std::string::npos) << text;
    }
    // Another item with the same span (SNiP's do not depend on the count) is not compared.
    EXPECT_EQ(RouteCountText(RuleSet::SNiP, *summary->SNiP.Route, summary->SpanCountIndex,
                             summary->SNiP.Governing.Span, ",", RouteTextForm::Brief),
              "СНиП 2.04.12-86: 10 пролетов по 12,000 м, пролет балки «>6» — 12,342 м");
    RouteSupports other{.Span = 4.5, .Spans = 3, .IntermediateSupports = 2, .Spacing = 4, .SpanCountIndex = 2};
    EXPECT_NE(RouteCountText(RuleSet::SP, other, 0, std::nullopt, ",")
                  .find("; при выбранном «1» — нет определяющего пролета"),
              std::string::npos);
}

}  // namespace
}  // namespace korvelin
