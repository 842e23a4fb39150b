// The one placement of a section's sliding supports: the count of spans of a leg on either side
// of each change of the count against a search written here, the typed step against the rule's
// count.

#include "SectionFixture.h"
#include "korvelin/SupportPlacement.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvelin {
namespace {

// Governing spans that shrink with the count, as the real criteria do (item 6 is "more than
// six"): a wrong item gives another count.
std::optional<double> Shrinking(int item)
{
    static constexpr double spans[] = {6.0, 5.2, 4.9, 4.6, 4.5, 4.4, 3.6};
    return spans[item];
}

// The fewest n with L/n not above the governing span of n's item (1 mm tolerance), by trying.
int FewestSpans(double length)
{
    int n = 1;
    while (length - n * *Shrinking(std::min(n, 7) - 1) > 0.001) {
        ++n;
    }
    return n;
}

int SpansOf(const SectionSupports& placed)
{
    return static_cast<int>(placed.Places.size()) + 1;
}

TEST(SupportPlacement, LegOnEitherSideOfEachChangeOfTheCount)
{
    struct Case {
        double Length;
        int Spans;
    };
    // n·L(n) for n = 1…6: 6; 10,4; 14,7; 18,4; 22,5; 26,4. From seven on 3,6 m: 26,4 m does not
    // fit seven (25,2 m), so one millimetre past six spans takes eight.
    const Case cases[] = {
        {6.0, 1},    {6.0015, 2},  {10.4, 2},  {10.4015, 3}, {14.701, 3}, {14.7015, 4},
        {18.4, 4},   {18.4015, 5}, {22.5, 5},  {22.5015, 6}, {26.4, 6},   {26.4015, 8},
        {28.801, 8}, {28.8015, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Length);
        const CompensationSection section = StraightSection(c.Length);
        const SectionSupports placed = PlaceSupports(section, &Shrinking, RuleSet::SP);
        EXPECT_TRUE(placed.Problem.empty()) << placed.Problem;
        EXPECT_EQ(SpansOf(placed), c.Spans);
        EXPECT_EQ(c.Spans, FewestSpans(c.Length));
        EXPECT_EQ(SpansOf(placed), DivideIntoSpans(c.Length, &Shrinking)->Spans);
        ASSERT_EQ(placed.Beams.size(), 1U);
        EXPECT_EQ(placed.Beams[0].GoverningSpan, *Shrinking(SpanCountIndexOf(c.Spans)));
        EXPECT_LE(placed.Beams[0].LongestSpan, placed.Beams[0].GoverningSpan + 0.001);
        // Equal spans.
        for (std::size_t j = 0; j < placed.Places.size(); ++j) {
            EXPECT_NEAR(placed.Places[j].Distance, c.Length * static_cast<double>(j + 1) / c.Spans, 1e-12);
        }
    }
}

TEST(SupportPlacement, TypedStepIsTheDesignersOwnLargestSpacing)
{
    struct Case {
        double Length;
        double Step;
        int Spans;
    };
    const Case cases[] = {
        {20, 10, 5},    // the rule's 5 spans of 4 m (4 ≤ 4,5)
        {20, 4, 5},     // the same count either way
        {20, 3.9, 6},   // six of 3,333 m: 3,333 ≤ 4,4
        {20, 3, 7},     // seven of 2,857 m ≤ 3,6
        // The step asks for seven of 3,714 m, above the 3,6 m of seven: eight of 3,25 m.
        {26, 3.75, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        CompensationSection section = StraightSection(c.Length);
        section.SupportStep = c.Step;
        const SectionSupports placed = PlaceSupports(section, &Shrinking, RuleSet::SP);
        EXPECT_EQ(SpansOf(placed), c.Spans);
        const double spacing = c.Length / c.Spans;
        EXPECT_LE(spacing, c.Step + 0.001);
        EXPECT_LE(spacing, *Shrinking(SpanCountIndexOf(c.Spans)) + 0.001);
    }
    // Without the governing spans the step alone places them.
    CompensationSection section = StraightSection(20);
    section.SupportStep = 3;
    EXPECT_EQ(SpansOf(PlaceSupports(section, {})), 7);
    // An item without a governing span: the step alone, and the reason.
    const SectionSupports gap = PlaceSupports(section, [](int item) -> std::optional<double> {
        return item < 2 ? std::optional<double>(4.0) : std::nullopt;
    }, RuleSet::SNiP);
    EXPECT_EQ(SpansOf(gap), 7);
    EXPECT_EQ(gap.Problem, "Плечо 1 участка «» не делится на пролеты: по СНиП 2.04.12-86 нет "
                           "определяющего пролета для такого числа пролетов");
}

}  // namespace
}  // namespace korvelin
