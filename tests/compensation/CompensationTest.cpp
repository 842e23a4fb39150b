// The compensation of a section between fixed supports: the worked example of a Г-shaped turn and
// a П-compensator to the last digit shown, a straight run against E·A·α·Δt, the equilibrium and
// the compatibility of generated shapes, the friction, the design forces and the checks, the
// refusals.

#include "SectionFixture.h"
#include "TestFormat.h"
#include "korvelin/Compensation.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/SupportLoads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace korvelin {
namespace {

using test::Shown;

using fixture::Computed;
using fixture::PipeInput;

// 89×3,2, "10 Л 5", closed at 0 °C, heated to +50 °C and cooled to −40 °C.
CompensationInput WorkedExample()
{
    return PipeInput("10 Л 5", 0.089, 0.0032, {0, -40, 50});
}

TEST(Compensation, WorkedExampleOfAnLShapedTurn)
{
    const CompensationResult result = Computed(WorkedExample());
    const CompensationCase& heating = result.Heating;
    EXPECT_EQ(heating.TemperatureChange, 50);
    ASSERT_EQ(heating.Nodes.size(), 3U);
    // The corner at (10, 0) moves along the first leg by its free elongation less its shortening
    // and across it by the second leg's elongation towards A.
    EXPECT_EQ(heating.Nodes[1].X, 10);
    EXPECT_EQ(heating.Nodes[1].Y, 0);
    EXPECT_EQ(Shown(heating.Nodes[1].Ux), "5.997");
    EXPECT_EQ(Shown(heating.Nodes[1].Uy), "-3.000");
    EXPECT_EQ(heating.Nodes[0].Ux, 0);
    EXPECT_EQ(heating.Nodes[2].Uy, 0);
    EXPECT_EQ(Shown(heating.A.Fx), "53.026");
    EXPECT_EQ(Shown(heating.A.Fy), "16.203");
    EXPECT_EQ(Shown(heating.A.M), "63.834");
    EXPECT_EQ(Shown(heating.B.Fx), "-53.026");
    EXPECT_EQ(Shown(heating.B.Fy), "-16.203");
    EXPECT_EQ(Shown(heating.B.M), "-166.930");
    // Both legs compressed; the moment at A is the reaction of A with its sign changed.
    ASSERT_EQ(heating.Legs.size(), 2U);
    EXPECT_EQ(Shown(heating.Legs[0].N), "-53.026");
    EXPECT_EQ(Shown(heating.Legs[1].N), "-16.203");
    EXPECT_EQ(Shown(heating.Legs[0].MStart), "-63.834");
    EXPECT_EQ(Shown(heating.Legs[0].MEnd), "98.199");
    EXPECT_EQ(Shown(heating.Legs[1].MStart), "98.199");
    EXPECT_EQ(Shown(heating.Legs[1].MEnd), "-166.930");
    EXPECT_EQ(Shown(heating.MaxMoment), "-166.930");
    EXPECT_EQ(heating.MaxMomentNode, 2U);
    EXPECT_EQ(Shown(heating.MaxStress), "9.365");
    EXPECT_EQ(heating.MaxStressLeg, 1U);
    EXPECT_EQ(heating.MaxStressEnd, LegEnd::End);
    EXPECT_EQ(Shown(heating.FreeElongation), "9.000");
    EXPECT_EQ(Shown(heating.MaxCornerMovement), "6.705");
    EXPECT_EQ(heating.MaxMovementNode, 1U);

    // The free end's movement α·Δt·(x_B, y_B) and the coefficients, as the note shows them.
    EXPECT_EQ(heating.FreeMovement[0], 0.006);
    EXPECT_EQ(heating.FreeMovement[1], 0.003);
    EXPECT_EQ(heating.FreeMovement[2], 0);
    EXPECT_EQ(FormatSignificant(result.Delta[0][0], 6, "."), "0.00178139");
    EXPECT_EQ(FormatSignificant(result.Delta[0][1], 6, "."), "−0.00152685");
    EXPECT_EQ(FormatSignificant(result.Delta[0][2], 6, "."), "−0.000381713");
    EXPECT_EQ(FormatSignificant(result.Delta[1][1], 6, "."), "0.00203583");
    EXPECT_EQ(FormatSignificant(result.Delta[1][2], 6, "."), "0.000305371");
    EXPECT_EQ(FormatSignificant(result.Delta[2][2], 6, "."), "9.16112·10⁻⁵");
    EXPECT_EQ(result.Delta[1][0], result.Delta[0][1]);

    // The tube: d = 82,6 mm, A = 8,6256·10⁻⁴ m², W = 1,78614·10⁻⁵ m³.
    EXPECT_EQ(FormatSignificant(result.Tube.Area, 6, "."), "0.000862556");
    EXPECT_EQ(FormatSignificant(result.Tube.Modulus, 6, "."), "1.78614·10⁻⁵");

    // Cooling by 40 °C: every force is −0,8 of heating's.
    const CompensationCase& cooling = result.Cooling;
    EXPECT_EQ(cooling.TemperatureChange, -40);
    EXPECT_EQ(Shown(cooling.A.Fx), "-42.421");
    EXPECT_EQ(Shown(cooling.B.M), "133.544");
    EXPECT_EQ(Shown(cooling.Nodes[1].Uy), "2.400");
    EXPECT_EQ(Shown(cooling.FreeElongation), "-7.200");
    EXPECT_EQ(Shown(cooling.MaxStress), "7.492");
}

TEST(Compensation, UCompensatorToTheLastDigitShown)
{
    // 108×4 between two legs of 20 m, reach 3 m, width 4 m, closed at +10 °C, heated to +60 °C,
    // cooled to −30 °C.
    CompensationInput input;
    input.Section = UCompensatorSection(20, 3, 4, 20, TurnSide::Left);
    EXPECT_EQ(SectionRouteText(input.Section, ","), "20 Л 3 П 4 П 3 Л 20");
    input.OuterDiameter = 0.108;
    input.WallThickness = 0.004;
    input.Temperatures = {10, -30, 60};
    const CompensationResult result = Computed(input);
    EXPECT_EQ(result.Points.back(), (SectionPoint{44, 0}));
    const CompensationCase& heating = result.Heating;
    EXPECT_EQ(Shown(heating.B.Fx), "-212.723");
    EXPECT_EQ(Shown(heating.B.Fy), "0.000");
    EXPECT_EQ(Shown(heating.B.M), "89.344");
    EXPECT_EQ(Shown(heating.A.Fx), "212.723");
    EXPECT_EQ(Shown(heating.A.M), "-89.344");
    // The back of the loop carries the largest moment; the loop's reaches carry no axial force.
    EXPECT_EQ(Shown(heating.MaxMoment), "-548.825");
    EXPECT_TRUE(heating.MaxMomentNode == 2 || heating.MaxMomentNode == 3) << heating.MaxMomentNode;
    EXPECT_EQ(Shown(heating.Legs[1].N), "0.000");
    EXPECT_EQ(Shown(heating.Legs[2].N), "-212.723");
    EXPECT_EQ(Shown(heating.MaxStress), "16.911");
    // The corners of the loop, symmetric about its middle.
    const std::pair<const char*, const char*> corners[] = {
        {"11.984", "49.019"}, {"-1.198", "50.819"}, {"1.198", "50.819"}, {"-11.984", "49.019"}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Shown(heating.Nodes[i + 1].Ux), corners[i].first);
        EXPECT_EQ(Shown(heating.Nodes[i + 1].Uy), corners[i].second);
    }
    EXPECT_EQ(FormatSignificant(result.Delta[0][0], 6, "."), "0.000148301");
    EXPECT_EQ(FormatSignificant(result.Delta[1][1], 6, "."), "0.085927");
    EXPECT_EQ(FormatSignificant(result.Delta[1][2], 6, "."), "0.00301761");
    EXPECT_EQ(FormatSignificant(result.Delta[2][2], 6, "."), "0.000137164");
    // Cooling by 40 °C pulls the loop open with 0,8 of the forces.
    EXPECT_EQ(Shown(result.Cooling.B.Fx), "170.178");
    EXPECT_EQ(Shown(result.Cooling.MaxStress), "13.529");
}

TEST(Compensation, StraightRunTakesTheWholeElongationAsCompression)
{
    // N = −E·A·α·Δt, whatever the length; no moment, nothing moves.
    for (const char* route : {"20", "3,5", "250"}) {
        SCOPED_TRACE(route);
        const CompensationResult result = Computed(PipeInput(route, 0.089, 0.0032, {0, -40, 50}));
        const long double area = std::numbers::pi_v<long double> *
                                 (0.089L * 0.089L - 0.0826L * 0.0826L) / 4;
        const double expected = static_cast<double>(kElasticModulus * area * kThermalExpansion * 50);
        EXPECT_NEAR(result.Heating.Legs[0].N, -expected, expected * 1e-12);
        EXPECT_EQ(FormatSignificant(result.Heating.Legs[0].N, 7, ","), "−106611,9");
        EXPECT_EQ(Shown(result.Heating.A.Fx), "106611.882");
        EXPECT_EQ(Shown(result.Heating.B.Fx), "-106611.882");
        EXPECT_EQ(Shown(result.Heating.A.Fy), "0.000");
        EXPECT_EQ(Shown(result.Heating.MaxMoment), "0.000");
        // σ = E·α·Δt = 123,6 MPa.
        EXPECT_EQ(Shown(result.Heating.MaxStress), "123.600");
        EXPECT_EQ(result.Heating.Nodes.size(), 2U);
        EXPECT_EQ(result.Heating.MaxCornerMovement, 0);
        EXPECT_EQ(Shown(result.Cooling.Legs[0].N), "85289.506");
    }
}

// Sections of 1 to 8 legs with random lengths and turns, the shapes that close on themselves
// left out.
std::vector<CompensationSection> GeneratedSections()
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> legCount(1, 8);
    std::uniform_int_distribution<int> decimetres(5, 400);
    std::uniform_int_distribution<int> side(0, 1);
    std::vector<CompensationSection> sections;
    while (sections.size() < 60) {
        CompensationSection section;
        const int legs = legCount(random);
        for (int i = 0; i < legs; ++i) {
            section.Legs.push_back(decimetres(random) / 10.0);
            if (i > 0) {
                section.Turns.push_back(side(random) == 0 ? TurnSide::Left : TurnSide::Right);
            }
        }
        if (CheckSection(section).Ok()) {
            sections.push_back(section);
        }
    }
    return sections;
}

TEST(Compensation, GeneratedShapesAreInEquilibriumAndCompatible)
{
    for (const CompensationSection& section : GeneratedSections()) {
        SCOPED_TRACE(SectionRouteText(section, "."));
        CompensationInput input;
        input.Section = section;
        input.OuterDiameter = 0.159;
        input.WallThickness = 0.0045;
        input.Temperatures = {5, -45, 70};
        const CompensationResult result = Computed(input);
        for (const CompensationCase* c : {&result.Heating, &result.Cooling}) {
            const SectionPoint& b = result.Points.back();
            // The forces and the moments about A of both reactions cancel.
            const double force = std::hypot(c->B.Fx, c->B.Fy);
            EXPECT_EQ(c->A.Fx + c->B.Fx, 0);
            EXPECT_EQ(c->A.Fy + c->B.Fy, 0);
            const double moment = c->A.M + c->B.M + (b.X * c->B.Fy - b.Y * c->B.Fx);
            EXPECT_NEAR(moment, 0, 1e-12 * (std::fabs(c->A.M) + std::fabs(c->B.M) + force * result.TotalLength));
            // δ·X = −Δₜ: the released end does not move.
            for (int i = 0; i < 3; ++i) {
                long double residual = c->FreeMovement[i];
                long double scale = std::fabs(c->FreeMovement[i]);
                for (int j = 0; j < 3; ++j) {
                    residual += static_cast<long double>(result.Delta[i][j]) * c->Unknowns[j];
                    scale += std::fabs(static_cast<long double>(result.Delta[i][j]) * c->Unknowns[j]);
                }
                EXPECT_LE(std::fabs(residual), 1e-12L * scale) << i;
            }
            // Each leg lengthens along itself by α·Δt·L + N·L/(E·A): the movements of its ends
            // differ by that much.
            for (std::size_t k = 0; k < section.Legs.size(); ++k) {
                const LegDirection direction = SectionDirections(section)[k];
                const NodeMovement& from = c->Nodes[k];
                const NodeMovement& to = c->Nodes[k + 1];
                const double along = (to.Ux - from.Ux) * direction.Cos + (to.Uy - from.Uy) * direction.Sin;
                const double elongation = 1000 * (kThermalExpansion * c->TemperatureChange * section.Legs[k] +
                                                  c->Legs[k].N * section.Legs[k] / result.Tube.AxialStiffness);
                EXPECT_NEAR(along, elongation, 1e-9 * (1 + c->MaxCornerMovement)) << k;
            }
            // The largest stress is at least that of every leg end.
            for (const LegForces& leg : c->Legs) {
                const double stress = (std::fabs(leg.N) / result.Tube.Area + std::fabs(leg.MEnd) / result.Tube.Modulus) / 1e6;
                EXPECT_LE(stress, c->MaxStress * (1 + 1e-15));
            }
        }
    }
}

TEST(Compensation, FrictionAndDesignForcesOfEachSetOfRules)
{
    CompensationInput input = WorkedExample();
    input.Friction = 0.3;
    input.VerticalLoadSP = 100;
    input.TotalLoadSNiP = 250;
    // Without a step and a governing span the legs carry no sliding supports: no friction, the
    // design forces are the frame's reactions.
    CompensationResult result = Computed(input);
    ASSERT_TRUE(result.SP && result.SNiP);
    EXPECT_TRUE(result.Supports.empty());
    EXPECT_EQ(result.SP->SupportsFriction.A, 0);
    EXPECT_EQ(Shown(result.SP->Heating.A.Along), "53.026");
    EXPECT_EQ(Shown(result.SP->Heating.A.Across), "16.203");
    EXPECT_EQ(Shown(result.SP->Heating.B.Along), "16.203");
    EXPECT_EQ(Shown(result.SP->Heating.B.Across), "53.026");
    EXPECT_EQ(Shown(result.SNiP->Cooling.A.Along), "42.421");

    // Supports every 2,5 m: 3 on the first leg, one at the corner, one on the second leg; the
    // first leg is a beam of 4 spans, the second of 2. Four of them stand on A's leg.
    // V = k·q·2,5 with k of four spans; the friction of each set grows with its q.
    input.Section.SupportStep = 2.5;
    result = Computed(input);
    ASSERT_EQ(result.Supports.size(), 5U);
    const Fraction four = *IntermediateSupportFactor(4);  // the most loaded support of four spans
    const double k4 = static_cast<double>(four.Numerator) / static_cast<double>(four.Denominator);
    EXPECT_EQ(four.Numerator * 7, four.Denominator * 8);  // 8/7
    EXPECT_NEAR(result.Supports[0].VerticalLoad, k4 * 100 * 2.5, 1e-9);
    // The corner: k_e of four spans (11/28) and of two (3/8), each × q × 2,5.
    EXPECT_NEAR(result.Supports[3].VerticalLoad, (11.0 / 28 + 3.0 / 8) * 100 * 2.5, 1e-9);
    ASSERT_TRUE(result.SP && result.SNiP);
    EXPECT_EQ(result.SP->SupportStep, 2.5);
    EXPECT_GT(result.SP->SupportsFriction.A, 0);
    EXPECT_GT(result.SNiP->SupportsFriction.A, result.SP->SupportsFriction.A);
    EXPECT_LE(result.SP->SupportsFriction.A,
              0.3 * (3 * k4 + 11.0 / 28 + 3.0 / 8) * 100 * 2.5 + 1e-9);
    EXPECT_EQ(result.SP->Heating.A.Along, std::fabs(result.SP->HeatingCase.A.Fx));
    EXPECT_EQ(result.SNiP->Cooling.B.Along, std::fabs(result.SNiP->CoolingCase.B.Fy));
    EXPECT_GT(result.SNiP->Heating.A.Along, result.SP->Heating.A.Along);
    EXPECT_EQ(result.Heating.A.Fx, result.SP->HeatingCase.A.Fx);

    // Without μ or without a set's q there is no friction for it.
    input.TotalLoadSNiP.reset();
    EXPECT_TRUE(Computed(input).SP);
    EXPECT_FALSE(Computed(input).SNiP);
    input.Friction.reset();
    EXPECT_FALSE(Computed(input).SP);
}

TEST(Compensation, ChecksOnlyWithTheUsersValues)
{
    CompensationInput input = WorkedExample();
    EXPECT_FALSE(Computed(input).Stress);
    EXPECT_FALSE(Computed(input).Movement);
    // The largest stress 9,365 MPa (heating) and corner movement 6,705 mm (heating).
    const struct {
        double Allowable;
        double Shoe;
        bool StressPasses;
        bool MovementPasses;
    } cases[] = {
        {9.3, 13.4, false, false},
        {9.4, 13.42, true, true},
        {200, 100, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Allowable);
        input.AllowableStress = c.Allowable;
        input.ShoeLength = c.Shoe;
        const CompensationResult result = Computed(input);
        ASSERT_TRUE(result.Stress && result.Movement);
        EXPECT_EQ(result.Stress->Passes, c.StressPasses);
        EXPECT_TRUE(result.Stress->Heating);
        EXPECT_EQ(Shown(result.Stress->Stress), "9.365");
        EXPECT_EQ(result.Movement->HalfShoe, c.Shoe / 2);
        EXPECT_EQ(result.Movement->Passes, c.MovementPasses);
        EXPECT_EQ(Shown(result.Movement->Movement), "6.705");
    }
}

TEST(Compensation, RefusalsOfTemperaturesAndCheckValues)
{
    const struct {
        const char* Closing;
        const char* Min;
        const char* Max;
        CompensationRefusal Refusal;
        const char* Message;
    } temperatures[] = {
        {"", "-40", "50", CompensationRefusal::TemperatureMissing, "Не задана температура замыкания t_з"},
        {"0", " ", "50", CompensationRefusal::TemperatureMissing, "Не задана наименьшая температура стенки t_min"},
        {"0", "-40", "жарко", CompensationRefusal::TemperatureNotANumber,
         "Наибольшая температура стенки t_max должна быть числом (введено «жарко»)"},
        {"0", "-70,5", "50", CompensationRefusal::TemperatureOutOfRange,
         "Наименьшая температура стенки t_min должна быть от −70 до +100 °C (введено «-70,5»)"},
        {"100.1", "-40", "50", CompensationRefusal::TemperatureOutOfRange,
         "Температура замыкания t_з должна быть от −70 до +100 °C (введено «100.1»)"},
        {"0", "30", "20", CompensationRefusal::MinAboveMax,
         "Наименьшая температура стенки t_min не может быть выше наибольшей t_max"},
        {"-70", "-70", "100", CompensationRefusal::None, ""},
        {"20", "20", "20", CompensationRefusal::None, ""},
        {"10", "20", "20", CompensationRefusal::ClosingOutsideRange,
         "Температура замыкания t_з = 10 °C должна быть не ниже наименьшей температуры стенки "
         "t_min = 20 °C и не выше наибольшей t_max = 20 °C"},
    };
    for (const auto& c : temperatures) {
        SCOPED_TRACE(c.Message);
        const TemperaturesReading reading = ReadTemperatures(c.Closing, c.Min, c.Max, ",");
        EXPECT_EQ(reading.Refusal, c.Refusal);
        EXPECT_EQ(reading.Message, c.Message);
        EXPECT_EQ(reading.Ok(), c.Refusal == CompensationRefusal::None);
    }

    const struct {
        bool Shoe;
        const char* Text;
        CompensationRefusal Refusal;
        std::optional<double> Value;
    } checks[] = {
        {false, "", CompensationRefusal::None, std::nullopt},
        {false, "120,5", CompensationRefusal::None, 120.5},
        {false, "-1", CompensationRefusal::AllowableNotPositive, std::nullopt},
        {false, "0", CompensationRefusal::AllowableNotPositive, std::nullopt},
        {false, "много", CompensationRefusal::AllowableNotANumber, std::nullopt},
        {false, "2000,1", CompensationRefusal::AllowableTooLarge, std::nullopt},
        {true, " ", CompensationRefusal::None, std::nullopt},
        {true, "300", CompensationRefusal::None, 300.0},
        {true, "-300", CompensationRefusal::ShoeNotPositive, std::nullopt},
        {true, "3 00", CompensationRefusal::ShoeNotANumber, std::nullopt},
        {true, "10001", CompensationRefusal::ShoeTooLarge, std::nullopt},
    };
    for (const auto& c : checks) {
        SCOPED_TRACE(c.Text);
        const CheckValueReading reading =
            c.Shoe ? ReadShoeLength(c.Text, ",") : ReadAllowableCompensationStress(c.Text, ",");
        EXPECT_EQ(reading.Refusal, c.Refusal);
        EXPECT_EQ(reading.Value, c.Value);
        EXPECT_EQ(reading.Message.empty(), c.Refusal == CompensationRefusal::None) << reading.Message;
    }
    EXPECT_EQ(ReadShoeLength("-300", ",").Message,
              "Длина башмака опоры должна быть больше нуля (введено «-300»)");
}

TEST(Compensation, ComputationRefusesWhatTheReadersRefuse)
{
    const auto refusal = [](auto change) {
        CompensationInput input = WorkedExample();
        change(input);
        const CompensationOutcome outcome = ComputeCompensation(input);
        EXPECT_FALSE(outcome.Ok());
        EXPECT_FALSE(outcome.Message.empty());
        return outcome.Refusal;
    };
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Section.Legs[1] = 0; }),
              CompensationRefusal::LengthNotPositive);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Section.Legs[0] = NAN; }),
              CompensationRefusal::LengthNotANumber);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Section.Turns.push_back(TurnSide::Left); }),
              CompensationRefusal::EndsInTurn);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Section.Turns.clear(); }),
              CompensationRefusal::MissingTurn);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Section = UCompensatorSection(2, 3, 4, 2, TurnSide::Right);
                                                  in.Section.Legs = {4, 3, 4, 3}; in.Section.Turns = {TurnSide::Left, TurnSide::Left, TurnSide::Left}; }),
              CompensationRefusal::EndAtStart);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Temperatures.Max = 101; }),
              CompensationRefusal::TemperatureOutOfRange);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.Temperatures.Min = 60; }),
              CompensationRefusal::MinAboveMax);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.WallThickness = 0.0445; }),
              CompensationRefusal::PipeInvalid);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.OuterDiameter = 0; }),
              CompensationRefusal::PipeInvalid);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.AllowableStress = -5; }),
              CompensationRefusal::AllowableNotPositive);
    EXPECT_EQ(refusal([](CompensationInput& in) { in.ShoeLength = 0; }),
              CompensationRefusal::ShoeNotPositive);
}

TEST(Compensation, RunReadsTheTextsAndNamesTheRefusedSection)
{
    CompensationTexts texts;
    texts.Sections = {SectionToTexts(*ParseSectionRoute("10 Л 5", ",", "Узел 1").Section, ","),
                      {"Узел 2", {{"20", ""}}}};
    texts.ClosingTemperature = "0";
    texts.MinTemperature = "-40";
    texts.MaxTemperature = "50";
    texts.AllowableStress = "100";
    CompensationRun run = RunCompensation(texts, 0.089, 0.0032, 0.3, {100, 250}, ",");
    ASSERT_TRUE(run.Ok()) << run.Message;
    ASSERT_EQ(run.Sections.size(), 2U);
    EXPECT_EQ(run.Sections[0].Section.Name, "Узел 1");
    EXPECT_EQ(Shown(run.Sections[0].Heating.B.M), "-166.930");
    EXPECT_EQ(Shown(run.Sections[1].Heating.Legs[0].N), "-106611.882");
    EXPECT_TRUE(run.Sections[1].Stress && !run.Sections[1].Stress->Passes);
    EXPECT_TRUE(run.Sections[0].SP && run.Sections[0].SNiP);

    texts.Sections[1].Legs = {{"20", "Л"}};
    run = RunCompensation(texts, 0.089, 0.0032, 0.3, {}, ",");
    EXPECT_EQ(run.Refusal, CompensationRefusal::EndsInTurn);
    EXPECT_TRUE(run.Sections.empty());
    EXPECT_EQ(run.Message, "Участок «Узел 2»: после последнего поворота нет плеча");

    texts.MaxTemperature.clear();
    EXPECT_EQ(RunCompensation(texts, 0.089, 0.0032, 0.3, {}, ",").Refusal,
              CompensationRefusal::TemperatureMissing);
    // No section: nothing to compute and nothing refused.
    texts.Sections.clear();
    EXPECT_TRUE(RunCompensation(texts, 0.089, 0.0032, 0.3, {}, ",").Ok());
}

}  // namespace
}  // namespace korvelin
