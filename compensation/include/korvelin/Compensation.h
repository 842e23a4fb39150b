#pragma once

// The compensation of temperature movements by a section between two fixed supports.
//
// The mechanics: a linear-elastic plane frame of straight legs joined by bends (circular arcs of
// radius R tangent to both legs; R = 0: rigid sharp corners); both ends fully fixed; a uniform
// temperature change of the whole section from the closing temperature; axial and bending
// deformation, shear neglected; a bend's bending flexibility multiplied by its flexibility factor
// K (its axial stiffness unchanged), the stress at a bend by its intensification factor i;
// sliding supports along the legs with Coulomb friction, guides restraining the pipe across its
// leg; α = 1,2·10⁻⁵ 1/°C; E = 2,06·10¹¹ Па, the steel of the span criteria; the exact tube
// section A = π(D² − d²)/4, I = π(D⁴ − d⁴)/64, W = 2I/D, d = D − 2t (the span criteria's π·D³·t/8
// is a thin-wall approximation of I, which a frame's stiffness should not carry).
//
// The frictionless section of sharp corners without guides is solved by the force method below;
// a section with bends, guides or friction by the direct stiffness method over the nodes of its
// supports and bends, each straight piece and arc an element whose stiffness is the inverse of its
// exact flexibility, with the friction followed along the temperature path (see FrictionMethod).
//
// The force method: support B is released, its reactions are the unknowns
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
//
// Bends: the flexibility factor K = max(1; 1,65/λ) and the stress-intensification factor
// i = max(1; 0,9/λ^(2/3)) of a smooth bend with λ = t·R/r², r = (D − t)/2 (Karman's theory of the
// ovalisation of a curved tube, as the piping codes state it); the stiffening of a bend by the
// internal pressure is neglected.

#include "korvelin/CompensationSection.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/RouteSpans.h"
#include "korvelin/SupportPlacement.h"

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
// The bend radius korvelin-calc takes without --bend-radius, in outer diameters.
inline constexpr double kDefaultBendRadiusInDiameters = 1.5;

// The warning of a compressed leg whose force exceeds Euler's critical force.
inline constexpr std::string_view kStabilityWarning = "продольная устойчивость плеча не обеспечена";

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
    // The route's schedule of supports: the set of rules that places them ("sp", "snip"; empty:
    // SP) and the designer's edits of the supports placed (as ReadSupportEdits reads them).
    std::string PlacementRules;
    std::string SupportEdits;

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

// The factors of a smooth bend of parameter λ under the internal pressure p (MPa). One function, so
// that a table of a standard can take its place: today K = max(1; 1,65/λ), i = max(1; 0,9/λ^(2/3)),
// the pressure's stiffening neglected (p is not used).
struct BendCoefficients {
    double Flexibility = 1;      // K
    double Intensification = 1;  // i
};
BendCoefficients SmoothBendCoefficients(double lambda, double pressure);

// The bends of a section: every turn a bend of the same radius.
struct BendFactors {
    double Radius = 0;           // R, m; 0: sharp corners, the factors 1
    double MeanRadius = 0;       // r = (D − t)/2, m
    double Lambda = 0;           // λ = t·R/r²; 0 for sharp corners
    double Flexibility = 1;      // K
    double Intensification = 1;  // i
};
BendFactors ComputeBendFactors(double radius, double outerDiameter, double wallThickness,
                               double pressure);

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
    // The governing span of each set of rules by the item of the "Количество пролетов" selector
    // (empty: the set gives none): the sliding supports are placed by those of PlacementRules
    // (of the other set when that one is empty), with the section's typed step as the designer's
    // own largest spacing (see SupportPlacement.h).
    GoverningSpanOfItem GoverningSpansSP;
    GoverningSpanOfItem GoverningSpansSNiP;
    RuleSet PlacementRules = RuleSet::SP;
    // The designer's edits of the supports placed, those of the route's section RouteIndex applied.
    std::vector<SupportEdit> Edits;
    std::size_t RouteIndex = 0;
    double Pressure = 0;  // p, MPa: the longitudinal stress of the pressure
};

// The loads a completed span calculation gives the compensation: q and the governing spans of
// each set of rules by the item (the run recomputed with each item as asked, each once, shared by
// both sets), the pressure. Empty members when the run did not complete.
struct CompensationLoads {
    std::optional<double> VerticalLoadSP;
    std::optional<double> TotalLoadSNiP;
    GoverningSpanOfItem GoverningSpansSP;
    GoverningSpanOfItem GoverningSpansSNiP;
    double Pressure = 0;  // MPa
};
CompensationLoads CompensationLoadsOf(const CalculationOutcome& outcome,
                                      std::string_view decimalSeparator = ",");

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

// A leg's forces. Its ends are the fixed supports and the corners; at a bend the corner's point on
// the pipe is the middle of the arc. Without friction N is constant along the leg; with friction
// the sliding supports change it from support to support.
struct LegForces {
    double N = 0;       // N, tension positive, at the leg's start
    double MStart = 0;  // N·m, at the leg's end nearer to A
    double MEnd = 0;    // N·m, at the leg's end nearer to B
    double NEnd = 0;    // N, at the leg's end
    double NMin = 0;    // N, the most compressive (or least tensile) along the leg
};

// A node of the section: support A, each corner, support B. X, Y are the intersection of the axes;
// the movement of a corner with a bend is that of the middle of its arc.
struct NodeMovement {
    double X = 0;   // m
    double Y = 0;   // m
    double Ux = 0;  // mm; 0 at the fixed supports
    double Uy = 0;  // mm
};

// A support in one temperature change.
struct SupportForces {
    SupportPlace Place;
    double Ux = 0;  // mm, the movement of the pipe at the support
    double Uy = 0;
    // What the support exerts on the pipe in the section's axes, N: its friction (a guide's
    // friction only along its leg).
    double FrictionX = 0;
    double FrictionY = 0;
    double GuideForce = 0;  // N, a guide's force across its leg (along the leg's left normal)
    bool Slides = false;    // its friction reached μ·V; otherwise the pipe sticks on it
};

// A guide's force on the pipe, across its leg (positive along the leg's left normal, N).
struct GuideForce {
    std::size_t Leg = 0;
    double Distance = 0;  // m
    double Force = 0;
};

// Stability of a compressed leg in either plane against Euler's force π²·E·I/L² of a pinned length:
// vertical — the longest span between the sliding supports of the leg; horizontal — the longest
// straight length between the guides, the bends and the fixed supports.
struct BucklingRow {
    std::size_t Leg = 0;
    double Compression = 0;         // N, the largest compression along the leg (positive)
    double VerticalLength = 0;      // m
    double HorizontalLength = 0;    // m
    double CriticalVertical = 0;    // N
    double CriticalHorizontal = 0;  // N
    double Critical = 0;            // N, the smaller of the two
    double Ratio = 0;               // N / N_cr
    bool Stable = true;             // Ratio ≤ 1
};

// The longitudinal stress at the governing point, each part in MPa: the pressure p·d/(4·t), the
// weight M/W with M = q·ℓ²/12 the support moment of the longest span ℓ, the temperature
// |N|/A + i·|M|/W at the point of its largest value; Total their sum.
struct StressParts {
    double Pressure = 0;
    double Weight = 0;
    double Temperature = 0;
    double Total = 0;
    double WeightMoment = 0;  // N·m
    double WeightSpan = 0;    // ℓ, m
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
    // MPa, σ = |N|/A + i·|M|/W, the largest over the straight pipe and the bends (i = 1 on the
    // straight pipe and at a sharp corner; along an arc where it peaks)
    double MaxStress = 0;
    std::size_t MaxStressLeg = 0;
    LegEnd MaxStressEnd = LegEnd::Start;
    double MaxStraightStress = 0;  // MPa, over the straight pipe
    double MaxBendStress = 0;      // MPa, over the arcs, with i; 0 without bends
    double MaxCornerMovement = 0;     // mm, √(ux² + uy²), the largest over the corners; 0 without
    std::size_t MaxMovementNode = 0;  // the corner; 0 when the section has none
    std::vector<SupportForces> Supports;  // sliding supports and guides in order from A
    std::vector<GuideForce> Guides;       // in order from A
    std::size_t StickingSupports = 0;     // at the end of the temperature path
    std::size_t SlidingSupports = 0;
    int FrictionSteps = 0;                // temperature steps of the converged path; 0 without friction
    std::vector<BucklingRow> Buckling;    // every compressed leg
    bool StabilityWarning = false;        // a ratio above 1
    StressParts Stress;
};

// The friction of the sliding supports on each fixed support, along the leg attached to it (N).
struct SupportFriction {
    double A = 0;
    double B = 0;
};

// The design horizontal force on a fixed support: its reaction with the friction of the supports,
// along its leg and across it, in magnitude (N).
struct DesignForce {
    double Along = 0;
    double Across = 0;
};

struct CaseDesignForces {
    DesignForce A;
    DesignForce B;
};

// The section by one set of rules: its supports (the places of the section, V by the set's q),
// their friction, the forces on the fixed supports. SupportsFriction is the friction the supports put on each fixed support: the
// sum of the friction of the sliding supports and guides of the leg attached to it, along it
// (heating's, in magnitude).
struct RuleSetCompensation {
    RuleSet Rules = RuleSet::SP;
    double VerticalLoad = 0;  // q, N/m
    double Friction = 0;      // μ
    double SupportStep = 0;   // m, the longest span between the supports; 0: no sliding supports
    SupportFriction SupportsFriction;
    CaseDesignForces Heating;
    CaseDesignForces Cooling;
    CompensationCase HeatingCase;  // the whole solution with the friction of this set
    CompensationCase CoolingCase;
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
    FlexibilityMatrix Delta{};  // of the frictionless frame without guides, with the bends
    BendFactors Bend;
    double Pressure = 0;        // MPa
    // Where the supports stand (every set of rules takes the same places) and why not as asked.
    SectionSupports Placement;
    // The supports of the cases Heating and Cooling and the set of rules whose q they take (SP
    // when its q is given, else SNiP; none: no q and no friction).
    std::vector<SupportPlace> Supports;
    std::optional<RuleSet> SupportRules;
    double SupportStep = 0;     // m, the longest span between the supports; 0: no sliding supports
    // How the friction was solved, one Russian sentence for the note; empty without friction.
    std::string FrictionMethod;
    // With the friction of SupportRules; frictionless without it.
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
// readers would refuse, temperatures outside −70…+100 °C, t_min > t_max or t_з outside
// [t_min; t_max], a pipe with D ≤ 0, t ≤ 0 or t ≥ D/2, a check value of zero or less.
CompensationOutcome ComputeCompensation(const CompensationInput& input);

// The pieces, for the note and for a checker that redoes the steps.
TubeSection ComputeTubeSection(double outerDiameter, double wallThickness);
// With bends (R > 0) the arcs enter with their bending flexibility multiplied by K.
FlexibilityMatrix ComputeFlexibility(const CompensationSection& section, const TubeSection& tube,
                                     double bendFlexibility = 1);
// X from δ·X = −Δₜ, by Gaussian elimination with partial pivoting in extended precision.
std::array<double, 3> SolveForceMethod(const FlexibilityMatrix& delta,
                                       const std::array<double, 3>& freeMovement);
CompensationCase ComputeCase(const CompensationSection& section, const TubeSection& tube,
                             const FlexibilityMatrix& delta, double temperatureChange);

// Reads the texts and computes every section: the first refusal ends the reading (its message
// names the section). Pipe and loads from the span calculation's input and outcome; the supports
// placed by the texts' placement rules with the designer's edits, section by section as the
// route's schedule places them.
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
