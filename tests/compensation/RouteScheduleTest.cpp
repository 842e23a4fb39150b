// The schedule of the supports of a route of sections: the shared fixed supports, the division of
// every leg against the governing span of its count, the vertical loads against the weight of the
// pipe, the forces of a shared fixed support against the two sections solved apart, the edits and
// the refusals.

#include "SectionFixture.h"
#include "korvelin/RouteSchedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace korvelin {
namespace {

constexpr double kD = 0.159;
constexpr double kT = 0.0045;
constexpr double kQ = 500;   // N/m, SP
constexpr double kQSnip = 620;
constexpr double kW = 80;    // N/m

// A section solved apart from the route: no governing spans, so no sliding supports of its own.
CompensationResult Section(std::string_view route, std::optional<double> friction = std::nullopt)
{
    CompensationInput input = fixture::PipeInput(route, kD, kT, {10, -40, 60});
    input.Friction = friction;
    input.VerticalLoadSP = kQ;
    input.TotalLoadSNiP = kQSnip;
    return fixture::Computed(input);
}

// A governing span that does not depend on the count: 4 m.
std::optional<double> FourMetres(int) { return 4.0; }

ScheduleInput Input(const std::vector<CompensationResult>& sections,
                    GoverningSpanOfItem governing = &FourMetres)
{
    ScheduleInput input;
    input.Sections = sections;
    input.SP = ScheduleRuleLoads{kQ, kW, governing};
    input.SNiP = ScheduleRuleLoads{kQSnip, kW, governing};
    input.Friction = 0.3;
    return input;
}

RouteSchedule Built(const ScheduleInput& input)
{
    ScheduleOutcome outcome = BuildRouteSchedule(input);
    EXPECT_TRUE(outcome.Ok()) << outcome.Message;
    return outcome.Schedule.value_or(RouteSchedule{});
}

TEST(RouteSchedule, TwoSectionsShareTheirFixedSupportAndChainTheirAxes)
{
    // "10 Л 6" ends at (10, 6) heading +y; "8 П 5" goes on from there: its first leg along +y to
    // (10, 14), then right along +x to (15, 14).
    const std::vector<CompensationResult> sections{Section("10 Л 6"), Section("8 П 5")};
    const RouteSchedule schedule = Built(Input(sections));
    ASSERT_FALSE(schedule.Rows.empty());
    EXPECT_EQ(schedule.Length, 29);
    std::vector<std::size_t> fixed;
    for (const ScheduleRow& row : schedule.Rows) {
        EXPECT_EQ(row.No, static_cast<std::size_t>(&row - schedule.Rows.data()) + 1);
        if (row.Kind == ScheduleKind::Fixed) {
            fixed.push_back(row.No);
        }
    }
    // Three fixed supports for two sections: the first, the shared one and the last.
    ASSERT_EQ(fixed.size(), 3U);
    const ScheduleRow& first = schedule.Rows[fixed[0] - 1];
    const ScheduleRow& shared = schedule.Rows[fixed[1] - 1];
    const ScheduleRow& last = schedule.Rows[fixed[2] - 1];
    EXPECT_EQ(first.No, 1U);
    EXPECT_EQ(last.No, schedule.Rows.size());
    EXPECT_TRUE(shared.Shared);
    EXPECT_EQ(shared.Chainage, 16);
    EXPECT_EQ(shared.X, 10);
    EXPECT_EQ(shared.Y, 6);
    EXPECT_EQ(last.Chainage, 29);
    EXPECT_EQ(last.X, 15);
    EXPECT_EQ(last.Y, 14);
    // Legs 10, 6, 8, 5 m at a span of 4 m: 3, 2, 2, 2 spans; one sliding support at each of the
    // two corners; 2 + 1 + 1 + 1 intermediate ones.
    EXPECT_EQ(schedule.Totals[0].Count, 3U);
    EXPECT_EQ(schedule.Totals[1].Count, 7U);
    EXPECT_EQ(schedule.Totals[2].Count, 0U);
    // The chainage grows; the spans are its differences, the coordinates lie on the legs.
    for (std::size_t i = 1; i < schedule.Rows.size(); ++i) {
        EXPECT_GT(schedule.Rows[i].Chainage, schedule.Rows[i - 1].Chainage);
        EXPECT_NEAR(schedule.Rows[i].SpanBefore,
                    schedule.Rows[i].Chainage - schedule.Rows[i - 1].Chainage, 1e-12);
    }
    const ScheduleRow& second = schedule.Rows[1];
    EXPECT_NEAR(second.Chainage, 10.0 / 3, 1e-12);
    EXPECT_NEAR(second.X, 10.0 / 3, 1e-12);
    EXPECT_EQ(second.Y, 0);
}

// For each governing span as a function of the count, the spans of every leg are the fewest equal
// ones not above the governing span of their count, found here by trying n = 1, 2, … directly.
TEST(RouteSchedule, NoSpanIsLongerThanTheGoverningSpanOfItsCount)
{
    struct Case {
        const char* Name;
        GoverningSpanOfItem Governing;
    };
    // Spans that shrink with the count, as the real criteria do (item 6 is "more than six").
    const auto shrinking = [](int item) -> std::optional<double> {
        static constexpr double spans[] = {6.0, 5.2, 4.9, 4.6, 4.5, 4.4, 3.6};
        return spans[item];
    };
    const Case cases[] = {{"constant", &FourMetres}, {"shrinking", shrinking}};
    const std::vector<CompensationResult> sections{Section("23 Л 7,5 П 40"), Section("12,5 П 4,4")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const RouteSchedule schedule = Built(Input(sections, c.Governing));
        ASSERT_EQ(schedule.Legs.size(), 5U);
        const double lengths[] = {23, 7.5, 40, 12.5, 4.4};
        for (std::size_t leg = 0; leg < 5; ++leg) {
            int n = 1;
            while (lengths[leg] / n > *c.Governing(std::min(n, 7) - 1) + 0.001) {
                ++n;
            }
            EXPECT_EQ(schedule.Legs[leg].Spans, n) << "leg " << leg;
            EXPECT_NEAR(schedule.Legs[leg].LongestSpan, lengths[leg] / n, 1e-9);
            EXPECT_LE(schedule.Legs[leg].LongestSpan, schedule.Legs[leg].GoverningSpan + 0.001);
        }
        EXPECT_TRUE(schedule.Warnings.empty());
    }
}

// The sum of the reactions of a continuous beam of n equal spans is q·L. The schedule gives every
// intermediate support the most loaded factor, so its sum is q·L·(2·k_e + (n − 1)·k_i)/n: exact
// for n ≤ 3 (every intermediate factor is the same), above it for four spans. The factors are
// those of the three-moment equation worked by hand: n = 1: 1/2; n = 2: 3/8, 5/4; n = 3: 2/5,
// 11/10; n = 4: 11/28, 8/7.
TEST(RouteSchedule, VerticalLoadsAddUpToTheWeightWithinTheBeamFactors)
{
    struct Case {
        const char* Route;
        double Ratio;  // ΣV / (q·ΣL)
    };
    const Case cases[] = {
        {"4", 1.0},                                  // one span
        {"8", 1.0},                                  // 2 spans
        {"12", 1.0},                                 // 3 spans
        {"16", (2 * 11.0 / 28 + 3 * 8.0 / 7) / 4},  // 4 spans
        {"10 Л 6", 1.0},                             // 3 and 2 spans
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Route);
        const std::vector<CompensationResult> sections{Section(c.Route), Section("8")};
        const RouteSchedule schedule = Built(Input(sections));
        const double length = schedule.Length;
        const double extra = 1.0;  // the second section, 8 m in two spans: exact
        const double expected = kQ * ((length - 8) * c.Ratio + 8 * extra);
        double sum = 0;
        for (const ScheduleRow& row : schedule.Rows) {
            sum += row.SP->Vertical;
        }
        EXPECT_NEAR(sum, expected, 1e-9 * expected);
        EXPECT_GE(sum, kQ * length * (1 - 1e-12));
        EXPECT_LE(sum, kQ * length * 1.25);
        EXPECT_NEAR(schedule.Totals[0].Vertical[0] + schedule.Totals[1].Vertical[0] +
                        schedule.Totals[2].Vertical[0],
                    sum, 1e-9 * sum);
        // SNiP by its own q, the same factors.
        EXPECT_NEAR(schedule.Totals[0].Vertical[1] + schedule.Totals[1].Vertical[1],
                    sum * kQSnip / kQ, 1e-9 * sum);
        // Along: μ·V on the sliding supports; across: the wind by the same factors.
        for (const ScheduleRow& row : schedule.Rows) {
            if (row.Kind == ScheduleKind::Sliding) {
                EXPECT_NEAR(row.SP->Along, 0.3 * row.SP->Vertical, 1e-9);
                EXPECT_NEAR(row.SP->Across, row.SP->Vertical * kW / kQ, 1e-9);
            }
        }
    }
}

// The shared fixed support against the two sections solved apart: the reactions of both, the second
// turned into the route's axes (its first leg goes on along the first section's last leg), summed
// and resolved along and across that leg.
TEST(RouteSchedule, SharedFixedSupportTakesTheVectorSumOfBothSections)
{
    struct Case {
        const char* First;
        const char* Second;
        int Cos, Sin;  // the direction of the first section's last leg in the route's axes
    };
    const Case cases[] = {
        {"10 Л 6", "8 П 5", 0, 1},
        {"12 П 5", "6 Л 9 Л 4", 0, -1},
        {"9 Л 4 Л 3", "7 П 3", -1, 0},
        {"20", "20", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.First) + " + " + c.Second);
        const CompensationResult a = Section(c.First);
        const CompensationResult b = Section(c.Second);
        ScheduleInput input = Input({a, b});
        std::vector<CompensationResult> sections{a, b};
        input.Sections = sections;
        const RouteSchedule schedule = Built(input);
        const auto shared = std::find_if(schedule.Rows.begin(), schedule.Rows.end(),
                                         [](const ScheduleRow& row) { return row.Shared; });
        ASSERT_NE(shared, schedule.Rows.end());
        for (const bool heating : {true, false}) {
            const SupportReaction& ra = a.Of(heating).B;
            const SupportReaction& rb = b.Of(heating).A;
            const double bx = c.Cos * rb.Fx - c.Sin * rb.Fy;
            const double by = c.Sin * rb.Fx + c.Cos * rb.Fy;
            const double fx = -(ra.Fx + bx);
            const double fy = -(ra.Fy + by);
            const HorizontalForce& got = heating ? shared->SP->Fixed->Heating : shared->SP->Fixed->Cooling;
            const double scale = std::max(1.0, std::hypot(ra.Fx, ra.Fy));
            EXPECT_NEAR(got.X, fx, 1e-9 * scale);
            EXPECT_NEAR(got.Y, fy, 1e-9 * scale);
            EXPECT_NEAR(got.Along, std::fabs(fx * c.Cos + fy * c.Sin), 1e-9 * scale);
            EXPECT_NEAR(got.Across, std::fabs(-fx * c.Sin + fy * c.Cos), 1e-9 * scale);
        }
    }
}

// Two equal straight runs: each pushes its end supports with E·α·Δt·A, so the shared support is in
// balance and the outer ones take the whole force; with friction too, since a straight run between
// fixed supports does not move on its sliding supports and so gets no friction from them.
TEST(RouteSchedule, StraightRunsBalanceOnTheSharedSupport)
{
    const double d = kD - 2 * kT;
    const double area = std::numbers::pi * (kD * kD - d * d) / 4;
    const double force = 2.06e11 * 1.2e-5 * 50 * area;  // heating 10 → 60 °C
    for (const std::optional<double> friction : {std::optional<double>{}, std::optional<double>{0.3}}) {
        const std::vector<CompensationResult> sections{Section("20", friction), Section("20", friction)};
        const RouteSchedule schedule = Built(Input(sections));
        const double added = 0;
        const ScheduleRow& firstRow = schedule.Rows.front();
        const ScheduleRow& shared = *std::find_if(schedule.Rows.begin(), schedule.Rows.end(),
                                                  [](const ScheduleRow& row) { return row.Shared; });
        EXPECT_NEAR(firstRow.SP->Fixed->Heating.Along, force + added, 1e-6 * force);
        EXPECT_NEAR(firstRow.SP->Fixed->Heating.Across, 0, 1e-6);
        EXPECT_NEAR(shared.SP->Fixed->Heating.X, 0, 1e-6);
        EXPECT_NEAR(shared.SP->Fixed->Heating.Along, 2 * added, 1e-6 * force);
        EXPECT_NEAR(schedule.Rows.back().SP->Fixed->Cooling.Along, force * 50 / 50 + added, 1e-6 * force);
    }
}

TEST(RouteSchedule, EditsMoveRemoveAndTurnSupportsIntoGuides)
{
    const std::vector<CompensationResult> sections{Section("12 Л 8")};
    ScheduleInput input = Input(sections);
    // Leg 1: supports at 4 and 8 m, the corner's at 12; leg 2: at 4 m.
    input.Edits = ReadSupportEdits("1:1:4 -> 5; 1:2:4 н; 1:1:8 x", ",").Edits;
    ASSERT_EQ(input.Edits.size(), 3U);
    const RouteSchedule schedule = Built(input);
    std::vector<double> chainage;
    for (const ScheduleRow& row : schedule.Rows) {
        chainage.push_back(row.Chainage);
    }
    EXPECT_EQ(chainage, (std::vector<double>{0, 5, 12, 16, 20}));
    EXPECT_EQ(schedule.Rows[3].Kind, ScheduleKind::Guide);
    EXPECT_TRUE(schedule.Rows[1].Edited);
    // The removal leaves a span of 7 m on a beam of two spans whose governing span is 4 m.
    ASSERT_EQ(schedule.Warnings.size(), 1U);
    EXPECT_NE(schedule.Warnings[0].find("7,000 м"), std::string::npos) << schedule.Warnings[0];
    // Leg 1 is now a beam of two spans, 5 and 7 m: the corner takes 3/8·q·7, the support at 5 m
    // 5/4·q·6.
    EXPECT_NEAR(schedule.Rows[1].SP->Vertical, 1.25 * kQ * 6, 1e-9);
    EXPECT_NEAR(schedule.Rows[2].SP->Vertical, 0.375 * kQ * 7 + 0.375 * kQ * 4, 1e-9);
    EXPECT_EQ(SupportEditsText(input.Edits, ","), "1:1:4 -> 5; 1:2:4 н; 1:1:8 x");
}

// Spans that shrink with the count, as the real criteria do (item 6 is "more than six").
std::optional<double> Shrinking(int item)
{
    static constexpr double spans[] = {6.0, 5.2, 4.9, 4.6, 4.5, 4.4, 3.6};
    return spans[item];
}

// The route solved as the window and korvelin-calc solve it (RunCompensation with the placement
// rules and the edits, then the schedule of those sections): the schedule's supports are the
// sections' own, and the friction and guide force of each is its section's solution's; Coulomb's
// law ties the schedule's V to the friction the solution found.
TEST(RouteSchedule, ForcesOfEverySupportAreThoseOfItsSectionsSolution)
{
    CompensationSection first = fixture::Route("20 Л 6", 0.3);
    first.Guides = {{0, 10}};
    CompensationTexts texts;
    texts.Sections = {SectionToTexts(first, ","), SectionToTexts(fixture::Route("12 П 8"), ",")};
    texts.ClosingTemperature = "10";
    texts.MinTemperature = "-40";
    texts.MaxTemperature = "60";
    texts.PlacementRules = "sp";
    texts.SupportEdits = "1:1:8 -> 7,5; 2:1:4 н";
    CompensationLoads loads;
    loads.VerticalLoadSP = kQ;
    loads.TotalLoadSNiP = kQSnip;
    loads.GoverningSpansSP = &Shrinking;
    loads.GoverningSpansSNiP = &FourMetres;
    const double mu = 0.3;
    const CompensationRun run = RunCompensation(texts, kD, kT, mu, loads, ",");
    ASSERT_TRUE(run.Ok()) << run.Message;
    ASSERT_EQ(run.Sections.size(), 2U);

    ScheduleInput input = Input(run.Sections, &Shrinking);
    input.Edits = ReadSupportEdits(texts.SupportEdits, ",").Edits;
    input.Friction = mu;
    const RouteSchedule schedule = Built(input);
    EXPECT_TRUE(schedule.Warnings.empty());

    // 20 m in five spans (4 m ≤ 4,5 m), the one at 8 m moved to 7,5 m, the typed guide at 10 m
    // between them (six spans, none above the 4,4 m of six); 6 m in one span; the corner's support; 12 m in three spans, the one at 4 m a
    // guide; 8 m in two.
    std::vector<std::pair<std::size_t, double>> places;
    std::size_t guides = 0;
    std::size_t sliding = 0;
    std::size_t row = 0;
    for (std::size_t k = 0; k < run.Sections.size(); ++k) {
        const CompensationResult& section = run.Sections[k];
        ASSERT_EQ(schedule.Rows[row].Kind, ScheduleKind::Fixed);
        ++row;
        const std::vector<LegDirection> directions = SectionDirections(section.Section);
        for (std::size_t j = 0; j < section.Supports.size(); ++j, ++row) {
            ASSERT_LT(row, schedule.Rows.size());
            const ScheduleRow& r = schedule.Rows[row];
            const SupportPlace& place = section.Supports[j];
            SCOPED_TRACE("section " + std::to_string(k + 1) + ", support " + std::to_string(j + 1));
            EXPECT_EQ(r.Section, k);
            EXPECT_EQ(r.Leg, place.Leg);
            EXPECT_EQ(r.Distance, place.Distance);
            EXPECT_EQ(r.Kind == ScheduleKind::Guide, place.Kind == SupportKind::Guide);
            places.emplace_back(k, r.Chainage);
            guides += r.Kind == ScheduleKind::Guide ? 1 : 0;
            const bool alongX = directions[place.Leg].Cos != 0;
            for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
                const RuleSetCompensation& set = rules == RuleSet::SP ? *section.SP : *section.SNiP;
                const ScheduleLoads& loads = *r.Of(rules);
                double along = 0;
                double across = 0;
                for (const CompensationCase* c : {&set.HeatingCase, &set.CoolingCase}) {
                    const SupportForces& f = c->Supports[j];
                    ASSERT_EQ(f.Place.Distance, place.Distance);
                    along = std::max(along, std::fabs(alongX ? f.FrictionX : f.FrictionY));
                    across = std::max(across, std::fabs(alongX ? f.FrictionY : f.FrictionX) +
                                                  std::fabs(f.GuideForce));
                    // Where the pipe slides on it, the friction is μ times the schedule's V.
                    if (f.Slides) {
                        EXPECT_NEAR(std::hypot(f.FrictionX, f.FrictionY), mu * loads.Vertical,
                                    1e-9 * loads.Vertical);
                        sliding += 1;
                    }
                }
                EXPECT_EQ(loads.Along, along);
                const double wind = loads.Vertical * kW / set.VerticalLoad;
                EXPECT_NEAR(loads.Across, wind + across, 1e-9 * (wind + across));
                if (r.Kind == ScheduleKind::Guide) {
                    EXPECT_GT(across, 1);
                }
            }
        }
    }
    ASSERT_EQ(row + 1, schedule.Rows.size());
    EXPECT_EQ(guides, 2U);
    EXPECT_GT(sliding, 4U);
    const std::vector<std::pair<std::size_t, double>> expected{
        {0, 4}, {0, 7.5}, {0, 10}, {0, 12}, {0, 16}, {0, 20}, {1, 30}, {1, 34}, {1, 38}, {1, 42}};
    ASSERT_EQ(places.size(), expected.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].first, expected[i].first);
        EXPECT_NEAR(places[i].second, expected[i].second, 1e-12);
    }
    EXPECT_TRUE(schedule.Rows[2].Edited);
    EXPECT_EQ(schedule.Rows[3].Kind, ScheduleKind::Guide);
    EXPECT_FALSE(schedule.Rows[3].Edited);
    EXPECT_TRUE(schedule.Rows[8].Edited);
    EXPECT_EQ(schedule.Rows[8].Kind, ScheduleKind::Guide);
}

TEST(RouteSchedule, Refusals)
{
    const std::vector<CompensationResult> sections{Section("12 Л 8")};
    struct Case {
        const char* Edits;
        const char* Message;
    };
    const Case cases[] = {
        {"1:1:5 x", "нет скользящей опоры"},
        {"2:1:4 x", "нет скользящей опоры"},
        {"1:1:4 -> 12", "не внутри плеча"},
        {"1:1:4 -> 0", "не внутри плеча"},
        {"1:1:4 -> 8", "уже стоит опора"},
        {"1:1:12 н", "направляющая не ставится"},
        {"1:1:12 -> 11", "не переносится"},
        {"1:1:0 x", "нет скользящей опоры"},  // a fixed support is not edited
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Edits);
        ScheduleInput input = Input(sections);
        const SupportEditsReading reading = ReadSupportEdits(c.Edits, ",");
        ASSERT_TRUE(reading.Ok()) << reading.Error;
        input.Edits = reading.Edits;
        const ScheduleOutcome outcome = BuildRouteSchedule(input);
        EXPECT_FALSE(outcome.Ok());
        EXPECT_NE(outcome.Message.find(c.Message), std::string::npos) << outcome.Message;
    }
    for (const char* text : {"1:1 x", "1:1:4", "0:1:4 x", "1:1:4 ->", "1:1,5:4 x", "a:b:c x"}) {
        const SupportEditsReading reading = ReadSupportEdits(text, ",");
        EXPECT_FALSE(reading.Ok()) << text;
        EXPECT_TRUE(reading.Edits.empty());
        EXPECT_NE(reading.Error.find(text), std::string::npos) << reading.Error;
    }
    EXPECT_TRUE(ReadSupportEdits(" ; ", ",").Edits.empty());

    ScheduleInput none = Input({});
    EXPECT_NE(BuildRouteSchedule(none).Message.find("хотя бы один участок"), std::string::npos);
    ScheduleInput noSnip = Input(sections);
    noSnip.PlacementRules = RuleSet::SNiP;
    noSnip.SNiP.reset();
    EXPECT_NE(BuildRouteSchedule(noSnip).Message.find("СНиП 2.04.12-86"), std::string::npos);
    // An item without a governing span stops the division.
    ScheduleInput gap = Input(sections, [](int item) -> std::optional<double> {
        return item < 2 ? std::optional<double>(4.0) : std::nullopt;
    });
    const ScheduleOutcome refused = BuildRouteSchedule(gap);
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.Message.find("Плечо 1"), std::string::npos) << refused.Message;
}

}  // namespace
}  // namespace korvelin
