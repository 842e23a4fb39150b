#pragma once

// The compensation of temperature movements by a section between two fixed supports.
//
// The mechanics: a linear-elastic plane frame of straight legs with rigid corners (bends, their
// flexibility and the guides are not modelled); both ends fully fixed; a uniform temperature
// change of the whole section from the closing temperature; axial and bending deformation, shear
// neglected; α = 1,2·10⁻⁵ 1/°C; E = 2,06·10¹¹ Па, the steel of the span criteria; the exact tube
// section A = π(D² − d²)/4, I = π(D⁴ − d⁴)/64, W = 2I/D, d = D − 2t (the span criteria's π·D³·t/8
// is a thin-wall approximation of I, which a frame's stiffness should not carry).
//
// It is solved by the force method: support B is released, its reactions are the unknowns
// X₁ = Fx, X₂ = Fy, X₃ = M, and the section becomes a cantilever from support A. The unit forces
// at B give in a point (x, y) of the section the moments m₁ = y − y_B, m₂ = x_B − x, m₃ = 1 and
// along a leg of direction (cos φ, sin φ) the axial forces n₁ = cos φ, n₂ = sin φ, n₃ = 0, so that
//   δᵢⱼ = Σ over the legs [ L·(mᵢ₀·mⱼ₀ + (mᵢ₀·mⱼ₁ + mᵢ₁·mⱼ₀)/2 + mᵢ₁·mⱼ₁)/(3·E·I) + nᵢ·nⱼ·L/(E·A) ]
// with mᵢ₀, mᵢ₁ the values at the leg's start and end. The free end moves by
// Δᵢₜ = α·Δt·(x_B, y_B, 0), and δ·X = −Δₜ gives the reactions of B.
//
// Conventions: a reaction is what the support exerts on the pipe, in the section's axes; moments
// are counterclockwise positive; N is tension positive. The bending moment at a point of the
// section is the moment about that point of the loads on the part of the pipe from the point to
// support B (the reactions of B), counterclockwise positive: at B it is the reaction M of B, at A
// the reaction M of A with its sign changed; at a corner both legs have the same moment.
//
// Every value is formed in extended precision in the order of its formula and stored as a double.

#include "korvelin/CompensationSection.h"
#include "korvelin/DesignSummary.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

inline constexpr long double kThermalExpansion = 1.2e-5L;  // α of steel, 1/°C

// The wall temperatures the program takes, °C.
inline constexpr double kMinWallTemperature = -70;
inline constexpr double kMaxWallTemperature = 100;
// Sanity limits of the optional check values; not values of a standard.
inline constexpr double kMaxAllowableCompensationStress = 2000;  // MPa
inline constexpr double kMaxShoeLength = 10'000;                  // mm

// The temperatures of the pipe wall, °C.
struct CompensationTemperatures {
    double Closing = 0;  // t_з: the section is fixed at it
    double Min = 0;      // t_min
    double Max = 0;      // t_max

    bool operator==(const CompensationTemperatures&) const = default;
};

// The texts of the compensation as the window and the input-set file keep them: the sections, the
// temperatures (°C) and the two optional check values ([σ]к in MPa, the shoe's length in mm;
// empty: not given).
struct CompensationTexts {
    std::vector<SectionTexts> Sections;
    std::string ClosingTemperature;
    std::string MinTemperature;
    std::string MaxTemperature;
    std::string AllowableStress;
    std::string ShoeLength;

    bool operator==(const CompensationTexts&) const = default;
};

struct TemperaturesReading {
    std::optional<CompensationTemperatures> Value;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;
    bool Ok() const { return Value.has_value(); }
};
// One of the temperatures as typed, for a window that takes them one at a time: a blank text is
// not given (no value, no refusal); any other must read within −70…+100 °C.
enum class WallTemperature { Closing, Min, Max };
struct TemperatureReading {
    std::optional<double> Value;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;
    bool Ok() const { return Refusal == CompensationRefusal::None; }
};
TemperatureReading ReadTemperature(WallTemperature which, std::string_view text,
                                   std::string_view decimalSeparator);
// All three required, each within −70…+100 °C, t_min ≤ t_max.
TemperaturesReading ReadTemperatures(std::string_view closing, std::string_view min,
                                     std::string_view max, std::string_view decimalSeparator);

// An optional check value: a blank text is not given.
struct CheckValueReading {
    std::optional<double> Value;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;
    bool Ok() const { return Refusal == CompensationRefusal::None; }
};
// [σ]к, MPa: positive, at most kMaxAllowableCompensationStress.
CheckValueReading ReadAllowableCompensationStress(std::string_view text,
                                                  std::string_view decimalSeparator);
// The length of the support shoe, mm: positive, at most kMaxShoeLength.
CheckValueReading ReadShoeLength(std::string_view text, std::string_view decimalSeparator);

// What the window and the input-set file refuse in the texts, as one Russian sentence, or an empty
// string: a section that does not read, a temperature or a check value that is given and does not
// read, t_min above t_max when all three are given. Blank temperatures are not given yet.
std::string CompensationTextsProblem(const CompensationTexts& texts,
                                     std::string_view decimalSeparator);

// The values a computation takes beside the section.
struct CompensationInput {
    CompensationSection Section;
    double OuterDiameter = 0;  // D, m
    double WallThickness = 0;  // t, m
    CompensationTemperatures Temperatures;
    // μ of the sliding supports; none: no friction and no design forces.
    std::optional<double> Friction;
    // q of each set of rules, N/m, as the support loads take it: the SP vertical load of the
    // combination, the SNiP factored total load; none when the span calculation has not given it.
    std::optional<double> VerticalLoadSP;
    std::optional<double> TotalLoadSNiP;
    std::optional<double> AllowableStress;  // [σ]к, MPa
    std::optional<double> ShoeLength;       // mm
};

// The loads a completed span calculation gives the compensation: q of each set of rules.
// Empty members when the run did not complete.
struct CompensationLoads {
    std::optional<double> VerticalLoadSP;
    std::optional<double> TotalLoadSNiP;
};
CompensationLoads CompensationLoadsOf(const CalculationOutcome& outcome);

// The exact tube section.
struct TubeSection {
    double InnerDiameter = 0;  // d = D − 2t, m
    double Area = 0;           // A, m²
    double Inertia = 0;        // I, m⁴
    double Modulus = 0;        // W, m³
    double AxialStiffness = 0;    // E·A, N
    double BendingStiffness = 0;  // E·I, N·m²
};

// The force method's coefficients: δ₁₁, δ₁₂, δ₂₂ in m/N, δ₁₃, δ₂₃ in 1/N, δ₃₃ in 1/(N·m);
// symmetric, Delta[i][j] = δᵢ₊₁,ⱼ₊₁.
using FlexibilityMatrix = std::array<std::array<double, 3>, 3>;

struct SupportReaction {
    double Fx = 0;  // N
    double Fy = 0;  // N
    double M = 0;   // N·m
};

struct LegForces {
    double N = 0;       // N, tension positive, constant along the leg
    double MStart = 0;  // N·m, at the leg's end nearer to A
    double MEnd = 0;    // N·m, at the leg's end nearer to B
};

// A node of the section: support A, each corner, support B.
struct NodeMovement {
    double X = 0;   // m
    double Y = 0;   // m
    double Ux = 0;  // mm; 0 at the fixed supports
    double Uy = 0;  // mm
};

enum class LegEnd { Start, End };

// One temperature change: heating Δt₊ = t_max − t_з or cooling Δt₋ = t_min − t_з.
struct CompensationCase {
    double TemperatureChange = 0;  // Δt, °C
    double FreeElongation = 0;     // α·Δt·ΣL, mm
    std::array<double, 3> FreeMovement{};  // Δ₁ₜ = α·Δt·x_B, Δ₂ₜ = α·Δt·y_B (m), Δ₃ₜ = 0
    std::array<double, 3> Unknowns{};      // X₁ = Fx (N), X₂ = Fy (N), X₃ = M (N·m) of support B
    SupportReaction A;
    SupportReaction B;
    std::vector<LegForces> Legs;      // in order from A
    std::vector<NodeMovement> Nodes;  // support A, every corner, support B
    double MaxMoment = 0;          // N·m, with its sign: the moment of the largest magnitude
    std::size_t MaxMomentNode = 0; // where it acts (a node index; the first on a tie)
    double MaxStress = 0;          // MPa, σ = |N|/A + |M|/W, the largest over the leg ends
    std::size_t MaxStressLeg = 0;
    LegEnd MaxStressEnd = LegEnd::Start;
    double MaxCornerMovement = 0;     // mm, √(ux² + uy²), the largest over the corners; 0 without
    std::size_t MaxMovementNode = 0;  // the corner; 0 when the section has none
};

// The friction of the sliding supports on each fixed support, μ·q·L with L the leg attached to
// it, along that leg (N).
struct SupportFriction {
    double A = 0;
    double B = 0;
};

// The design horizontal force on a fixed support: along its leg the elastic force plus the
// friction (magnitudes added), across the leg the elastic force (N).
struct DesignForce {
    double Along = 0;
    double Across = 0;
};

struct CaseDesignForces {
    DesignForce A;
    DesignForce B;
};

struct RuleSetCompensation {
    RuleSet Rules = RuleSet::SP;
    double VerticalLoad = 0;  // q, N/m
    double Friction = 0;      // μ
    SupportFriction SupportsFriction;
    CaseDesignForces Heating;
    CaseDesignForces Cooling;
};

// The largest stress of both cases against [σ]к; the largest corner movement of both cases
// against half the shoe's length.
struct StressCheck {
    double Allowable = 0;  // MPa
    double Stress = 0;     // MPa
    bool Heating = true;   // the case that gives Stress
    bool Passes = false;
};
struct MovementCheck {
    double HalfShoe = 0;   // mm
    double Movement = 0;   // mm
    bool Heating = true;
    bool Passes = false;
};

struct CompensationResult {
    CompensationSection Section;
    double OuterDiameter = 0;  // m
    double WallThickness = 0;  // m
    CompensationTemperatures Temperatures;
    TubeSection Tube;
    std::vector<SectionPoint> Points;  // the nodes, m
    double TotalLength = 0;            // ΣL, m
    FlexibilityMatrix Delta{};
    CompensationCase Heating;
    CompensationCase Cooling;
    std::optional<RuleSetCompensation> SP;    // with μ and the SP q
    std::optional<RuleSetCompensation> SNiP;  // with μ and the SNiP q
    std::optional<StressCheck> Stress;        // with [σ]к
    std::optional<MovementCheck> Movement;    // with the shoe's length

    const CompensationCase& Of(bool heating) const { return heating ? Heating : Cooling; }
};

struct CompensationOutcome {
    std::optional<CompensationResult> Result;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;  // Russian, when refused
    bool Ok() const { return Result.has_value(); }
};

// The whole computation. Refuses (no result, a message naming the value) a section that the
// readers would refuse, temperatures outside −70…+100 °C or t_min > t_max, a pipe with D ≤ 0,
// t ≤ 0 or t ≥ D/2, a check value of zero or less.
CompensationOutcome ComputeCompensation(const CompensationInput& input);

// The pieces, for the note and for a checker that redoes the steps.
TubeSection ComputeTubeSection(double outerDiameter, double wallThickness);
FlexibilityMatrix ComputeFlexibility(const CompensationSection& section, const TubeSection& tube);
// X from δ·X = −Δₜ, by Gaussian elimination with partial pivoting in extended precision.
std::array<double, 3> SolveForceMethod(const FlexibilityMatrix& delta,
                                       const std::array<double, 3>& freeMovement);
CompensationCase ComputeCase(const CompensationSection& section, const TubeSection& tube,
                             const FlexibilityMatrix& delta, double temperatureChange);

// Reads the texts and computes every section: the first refusal ends the reading (its message
// names the section). Pipe and loads from the span calculation's input and outcome.
struct CompensationRun {
    std::vector<CompensationResult> Sections;
    CompensationRefusal Refusal = CompensationRefusal::None;
    std::string Message;
    bool Ok() const { return Refusal == CompensationRefusal::None; }
};
CompensationRun RunCompensation(const CompensationTexts& texts, double outerDiameter,
                                double wallThickness, std::optional<double> friction,
                                const CompensationLoads& loads, std::string_view decimalSeparator);

// The support's and node's names in Russian texts: "А", "1", "2", …, "Б".
std::string NodeName(std::size_t node, std::size_t nodeCount);

}  // namespace korvelin
