#include "korvelin/Compensation.h"

#include "korvelin/CondensateDeflection.h"
#include "korvelin/ParseNumber.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace korvelin {
namespace {

constexpr long double kPiExact = std::numbers::pi_v<long double>;
constexpr long double kPascalsPerMegapascalExact = 1'000'000;

std::string WithText(std::string message, std::string_view text)
{
    return message + " (введено «" + std::string(text) + "»)";
}

bool IsBlankText(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

struct TemperatureField {
    std::string_view Name;     // "Температура замыкания"
    std::string_view Symbol;   // "t_з"
    std::string_view Missing;  // "Не задана температура замыкания t_з"
};

// The moment at (x, y) of the reactions of B at (xB, yB): the loads on the part from the point to
// B, counterclockwise positive.
long double MomentAt(const std::array<double, 3>& x, const SectionPoint& b, const SectionPoint& p)
{
    return x[2] + ((static_cast<long double>(b.X) - p.X) * x[1] -
                   (static_cast<long double>(b.Y) - p.Y) * x[0]);
}

// ∫ f·g ds over a leg of length L for f, g linear from f0, g0 at its start to f1, g1 at its end.
long double LinearProductIntegral(long double length, long double f0, long double f1, long double g0,
                                  long double g1)
{
    return length * (f0 * g0 + (f0 * g1 + f1 * g0) / 2 + f1 * g1) / 3;
}

// The unit moment mᵢ at a point for the unknown i of B.
long double UnitMoment(int i, const SectionPoint& b, const SectionPoint& p)
{
    switch (i) {
    case 0: return static_cast<long double>(p.Y) - b.Y;
    case 1: return static_cast<long double>(b.X) - p.X;
    default: return 1;
    }
}

int UnitAxial(int i, const LegDirection& direction)
{
    return i == 0 ? direction.Cos : i == 1 ? direction.Sin : 0;
}

std::optional<CompensationRefusal> PipeRefusal(double outerDiameter, double wallThickness)
{
    if (!(outerDiameter > 0) || !(wallThickness > 0) || !(2 * wallThickness < outerDiameter)) {
        return CompensationRefusal::PipeInvalid;
    }
    return std::nullopt;
}

CheckValueReading ReadCheckValue(std::string_view text, std::string_view decimalSeparator,
                                 double maximum, std::string_view name, std::string_view must,
                                 std::string_view range,
                                 CompensationRefusal notANumber, CompensationRefusal notPositive,
                                 CompensationRefusal tooLarge)
{
    CheckValueReading reading;
    if (IsBlankText(text)) {
        return reading;
    }
    const std::optional<double> value = ParseNumberToDouble(text, decimalSeparator);
    if (!value || std::isnan(*value)) {
        reading.Refusal = notANumber;
        reading.Message = WithText(std::string(name) + " " + std::string(must) + " быть числом", text);
    } else if (*value <= 0) {
        reading.Refusal = notPositive;
        reading.Message =
            WithText(std::string(name) + " " + std::string(must) + " быть больше нуля", text);
    } else if (*value > maximum) {
        reading.Refusal = tooLarge;
        reading.Message = WithText(std::string(name) + " " + std::string(must) + " быть не больше " +
                                       std::string(range),
                                   text);
    } else {
        reading.Value = *value;
    }
    return reading;
}

std::optional<RuleSetCompensation> RuleSetForces(RuleSet rules, std::optional<double> load,
                                                 std::optional<double> friction,
                                                 const CompensationSection& section,
                                                 const std::vector<LegDirection>& directions,
                                                 const CompensationCase& heating,
                                                 const CompensationCase& cooling)
{
    if (!load || !friction) {
        return std::nullopt;
    }
    RuleSetCompensation set;
    set.Rules = rules;
    set.VerticalLoad = *load;
    set.Friction = *friction;
    const long double mu = *friction;
    const long double q = *load;
    set.SupportsFriction.A = static_cast<double>(mu * q * section.Legs.front());
    set.SupportsFriction.B = static_cast<double>(mu * q * section.Legs.back());
    const auto design = [](const SupportReaction& reaction, const LegDirection& leg,
                           double friction) {
        const long double along =
            std::fabs(reaction.Fx * static_cast<long double>(leg.Cos) + reaction.Fy * leg.Sin);
        const long double across =
            std::fabs(-reaction.Fx * static_cast<long double>(leg.Sin) + reaction.Fy * leg.Cos);
        return DesignForce{static_cast<double>(along + friction), static_cast<double>(across)};
    };
    for (auto [which, forces] : {std::pair{&heating, &set.Heating}, std::pair{&cooling, &set.Cooling}}) {
        forces->A = design(which->A, directions.front(), set.SupportsFriction.A);
        forces->B = design(which->B, directions.back(), set.SupportsFriction.B);
    }
    return set;
}

}  // namespace

TemperatureReading ReadTemperature(WallTemperature which, std::string_view text,
                                   std::string_view decimalSeparator)
{
    static constexpr TemperatureField kFields[3] = {
        {"Температура замыкания", "t_з", "Не задана температура замыкания t_з"},
        {"Наименьшая температура стенки", "t_min", "Не задана наименьшая температура стенки t_min"},
        {"Наибольшая температура стенки", "t_max", "Не задана наибольшая температура стенки t_max"},
    };
    const TemperatureField& field = kFields[static_cast<int>(which)];
    TemperatureReading reading;
    if (IsBlankText(text)) {
        return reading;
    }
    const std::string name = std::string(field.Name) + " " + std::string(field.Symbol);
    const std::optional<double> value = ParseNumberToDouble(text, decimalSeparator);
    if (!value || std::isnan(*value)) {
        reading.Refusal = CompensationRefusal::TemperatureNotANumber;
        reading.Message = WithText(name + " должна быть числом", text);
    } else if (*value < kMinWallTemperature || *value > kMaxWallTemperature) {
        reading.Refusal = CompensationRefusal::TemperatureOutOfRange;
        reading.Message = WithText(name + " должна быть от −70 до +100 °C", text);
    } else {
        reading.Value = *value == 0 ? 0.0 : *value;  // "-0" is 0
    }
    return reading;
}

TemperaturesReading ReadTemperatures(std::string_view closing, std::string_view min,
                                     std::string_view max, std::string_view decimalSeparator)
{
    static constexpr std::string_view kMissing[3] = {
        "Не задана температура замыкания t_з",
        "Не задана наименьшая температура стенки t_min",
        "Не задана наибольшая температура стенки t_max",
    };
    const std::string_view texts[3] = {closing, min, max};
    TemperaturesReading reading;
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const TemperatureReading one =
            ReadTemperature(static_cast<WallTemperature>(i), texts[i], decimalSeparator);
        if (!one.Ok() || !one.Value) {
            reading.Refusal = one.Ok() ? CompensationRefusal::TemperatureMissing : one.Refusal;
            reading.Message = one.Ok() ? std::string(kMissing[i]) : one.Message;
            return reading;
        }
        values[i] = *one.Value;
    }
    if (values[1] > values[2]) {
        reading.Refusal = CompensationRefusal::MinAboveMax;
        reading.Message = "Наименьшая температура стенки t_min не может быть выше наибольшей t_max";
        return reading;
    }
    reading.Value = CompensationTemperatures{values[0], values[1], values[2]};
    return reading;
}

CheckValueReading ReadAllowableCompensationStress(std::string_view text,
                                                  std::string_view decimalSeparator)
{
    return ReadCheckValue(text, decimalSeparator, kMaxAllowableCompensationStress,
                          "Допускаемое напряжение компенсации [σ]к", "должно", "2000 МПа",
                          CompensationRefusal::AllowableNotANumber,
                          CompensationRefusal::AllowableNotPositive,
                          CompensationRefusal::AllowableTooLarge);
}

CheckValueReading ReadShoeLength(std::string_view text, std::string_view decimalSeparator)
{
    return ReadCheckValue(text, decimalSeparator, kMaxShoeLength, "Длина башмака опоры", "должна",
                          "10 000 мм", CompensationRefusal::ShoeNotANumber,
                          CompensationRefusal::ShoeNotPositive, CompensationRefusal::ShoeTooLarge);
}

std::string CompensationTextsProblem(const CompensationTexts& texts,
                                     std::string_view decimalSeparator)
{
    for (const SectionTexts& section : texts.Sections) {
        if (const SectionReading reading = ReadSectionTexts(section, decimalSeparator); !reading.Ok()) {
            return reading.Message;
        }
    }
    const std::string_view temperatures[3] = {texts.ClosingTemperature, texts.MinTemperature,
                                              texts.MaxTemperature};
    int given = 0;
    for (int i = 0; i < 3; ++i) {
        const TemperatureReading reading =
            ReadTemperature(static_cast<WallTemperature>(i), temperatures[i], decimalSeparator);
        if (!reading.Ok()) {
            return reading.Message;
        }
        given += reading.Value ? 1 : 0;
    }
    if (given == 3) {
        if (const TemperaturesReading all =
                ReadTemperatures(temperatures[0], temperatures[1], temperatures[2], decimalSeparator);
            !all.Ok()) {
            return all.Message;
        }
    }
    for (const CheckValueReading& check :
         {ReadAllowableCompensationStress(texts.AllowableStress, decimalSeparator),
          ReadShoeLength(texts.ShoeLength, decimalSeparator)}) {
        if (!check.Ok()) {
            return check.Message;
        }
    }
    return {};
}

CompensationLoads CompensationLoadsOf(const CalculationOutcome& outcome)
{
    if (outcome.Kind != OutcomeKind::Completed) {
        return {};
    }
    return {outcome.Loads.VerticalLoadSP, outcome.Loads.TotalLoadSNiP};
}

TubeSection ComputeTubeSection(double outerDiameter, double wallThickness)
{
    TubeSection tube;
    const long double D = outerDiameter;
    tube.InnerDiameter = static_cast<double>(D - 2 * static_cast<long double>(wallThickness));
    const long double d = tube.InnerDiameter;
    tube.Area = static_cast<double>(kPiExact * (D * D - d * d) / 4);
    tube.Inertia = static_cast<double>(kPiExact * (D * D * D * D - d * d * d * d) / 64);
    tube.Modulus = static_cast<double>(2 * static_cast<long double>(tube.Inertia) / D);
    tube.AxialStiffness = static_cast<double>(kElasticModulus * tube.Area);
    tube.BendingStiffness = static_cast<double>(kElasticModulus * tube.Inertia);
    return tube;
}

FlexibilityMatrix ComputeFlexibility(const CompensationSection& section, const TubeSection& tube)
{
    const std::vector<SectionPoint> nodes = SectionNodes(section);
    const std::vector<LegDirection> directions = SectionDirections(section);
    const SectionPoint& b = nodes.back();
    FlexibilityMatrix delta{};
    for (int i = 0; i < 3; ++i) {
        for (int j = i; j < 3; ++j) {
            long double bending = 0;
            long double axial = 0;
            for (std::size_t k = 0; k < section.Legs.size(); ++k) {
                const long double length = section.Legs[k];
                bending += LinearProductIntegral(length, UnitMoment(i, b, nodes[k]),
                                                 UnitMoment(i, b, nodes[k + 1]),
                                                 UnitMoment(j, b, nodes[k]),
                                                 UnitMoment(j, b, nodes[k + 1]));
                axial += UnitAxial(i, directions[k]) * UnitAxial(j, directions[k]) * length;
            }
            delta[i][j] = static_cast<double>(bending / tube.BendingStiffness +
                                              axial / tube.AxialStiffness);
            delta[j][i] = delta[i][j];
        }
    }
    return delta;
}

std::array<double, 3> SolveForceMethod(const FlexibilityMatrix& delta,
                                       const std::array<double, 3>& freeMovement)
{
    long double a[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            a[i][j] = delta[i][j];
        }
        a[i][3] = -static_cast<long double>(freeMovement[i]);
    }
    for (int column = 0; column < 3; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 3; ++row) {
            if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) {
                pivot = row;
            }
        }
        if (pivot != column) {
            for (int j = 0; j < 4; ++j) {
                std::swap(a[pivot][j], a[column][j]);
            }
        }
        for (int row = column + 1; row < 3; ++row) {
            const long double factor = a[row][column] / a[column][column];
            for (int j = column; j < 4; ++j) {
                a[row][j] -= factor * a[column][j];
            }
        }
    }
    long double x[3];
    for (int i = 2; i >= 0; --i) {
        long double sum = a[i][3];
        for (int j = i + 1; j < 3; ++j) {
            sum -= a[i][j] * x[j];
        }
        x[i] = sum / a[i][i];
    }
    // −0 of a section that takes no force is 0.
    return {static_cast<double>(x[0]) + 0.0, static_cast<double>(x[1]) + 0.0,
            static_cast<double>(x[2]) + 0.0};
}

CompensationCase ComputeCase(const CompensationSection& section, const TubeSection& tube,
                             const FlexibilityMatrix& delta, double temperatureChange)
{
    const std::vector<SectionPoint> nodes = SectionNodes(section);
    const std::vector<LegDirection> directions = SectionDirections(section);
    const SectionPoint& b = nodes.back();
    const std::size_t legCount = section.Legs.size();
    const long double alpha = kThermalExpansion;
    const long double dt = temperatureChange;

    CompensationCase result;
    result.TemperatureChange = temperatureChange;
    long double total = 0;
    for (const double length : section.Legs) {
        total += length;
    }
    result.FreeElongation = static_cast<double>(alpha * dt * total * kMillimetresPerMetre) + 0.0;
    result.FreeMovement = {static_cast<double>(alpha * dt * b.X) + 0.0,
                           static_cast<double>(alpha * dt * b.Y) + 0.0, 0.0};
    result.Unknowns = SolveForceMethod(delta, result.FreeMovement);
    const std::array<double, 3>& x = result.Unknowns;

    result.B = {x[0], x[1], x[2]};
    result.A.Fx = -x[0] + 0.0;
    result.A.Fy = -x[1] + 0.0;
    result.A.M = static_cast<double>(-MomentAt(x, b, nodes.front())) + 0.0;

    std::vector<double> nodeMoments;
    for (const SectionPoint& p : nodes) {
        nodeMoments.push_back(static_cast<double>(MomentAt(x, b, p)) + 0.0);
    }
    for (std::size_t k = 0; k < legCount; ++k) {
        LegForces leg;
        leg.N = static_cast<double>(x[0] * static_cast<long double>(directions[k].Cos) +
                                    x[1] * static_cast<long double>(directions[k].Sin)) + 0.0;
        leg.MStart = nodeMoments[k];
        leg.MEnd = nodeMoments[k + 1];
        result.Legs.push_back(leg);
    }

    // A corner's movement by the unit-load method on the cantilever from A: the free movement
    // α·Δt·(x, y) plus ∫ m·M/(E·I) + n·N·L/(E·A) over the legs from A to the corner, with m, n of a
    // unit force at the corner.
    result.Nodes.push_back({nodes.front().X, nodes.front().Y, 0, 0});
    for (std::size_t corner = 1; corner < legCount; ++corner) {
        const SectionPoint& p = nodes[corner];
        long double ux = alpha * dt * p.X;
        long double uy = alpha * dt * p.Y;
        for (std::size_t k = 0; k < corner; ++k) {
            const long double length = section.Legs[k];
            const LegForces& leg = result.Legs[k];
            const long double mxStart = static_cast<long double>(nodes[k].Y) - p.Y;
            const long double mxEnd = static_cast<long double>(nodes[k + 1].Y) - p.Y;
            const long double myStart = static_cast<long double>(p.X) - nodes[k].X;
            const long double myEnd = static_cast<long double>(p.X) - nodes[k + 1].X;
            ux += LinearProductIntegral(length, mxStart, mxEnd, leg.MStart, leg.MEnd) /
                      tube.BendingStiffness +
                  directions[k].Cos * leg.N * length / tube.AxialStiffness;
            uy += LinearProductIntegral(length, myStart, myEnd, leg.MStart, leg.MEnd) /
                      tube.BendingStiffness +
                  directions[k].Sin * leg.N * length / tube.AxialStiffness;
        }
        result.Nodes.push_back({p.X, p.Y, static_cast<double>(ux * kMillimetresPerMetre) + 0.0,
                                static_cast<double>(uy * kMillimetresPerMetre) + 0.0});
    }
    result.Nodes.push_back({b.X, b.Y, 0, 0});

    for (std::size_t node = 0; node < nodeMoments.size(); ++node) {
        if (std::fabs(nodeMoments[node]) > std::fabs(result.MaxMoment)) {
            result.MaxMoment = nodeMoments[node];
            result.MaxMomentNode = node;
        }
    }
    for (std::size_t k = 0; k < legCount; ++k) {
        for (const LegEnd end : {LegEnd::Start, LegEnd::End}) {
            const long double moment = end == LegEnd::Start ? result.Legs[k].MStart : result.Legs[k].MEnd;
            const double stress = static_cast<double>(
                (std::fabs(static_cast<long double>(result.Legs[k].N)) / tube.Area +
                 std::fabs(moment) / tube.Modulus) /
                kPascalsPerMegapascalExact);
            if (stress > result.MaxStress) {
                result.MaxStress = stress;
                result.MaxStressLeg = k;
                result.MaxStressEnd = end;
            }
        }
    }
    for (std::size_t corner = 1; corner < legCount; ++corner) {
        const NodeMovement& node = result.Nodes[corner];
        const double movement = static_cast<double>(
            std::sqrt(static_cast<long double>(node.Ux) * node.Ux +
                      static_cast<long double>(node.Uy) * node.Uy));
        if (movement > result.MaxCornerMovement) {
            result.MaxCornerMovement = movement;
            result.MaxMovementNode = corner;
        }
    }
    return result;
}

CompensationOutcome ComputeCompensation(const CompensationInput& input)
{
    CompensationOutcome outcome;
    const auto refuse = [&outcome](CompensationRefusal refusal, std::string message) {
        outcome.Refusal = refusal;
        outcome.Message = std::move(message);
        return outcome;
    };
    const CompensationSection& section = input.Section;
    const SectionReading checked = CheckSection(section);
    if (!checked.Ok()) {
        return refuse(checked.Refusal, checked.Message);
    }
    const CompensationTemperatures& t = input.Temperatures;
    for (const double value : {t.Closing, t.Min, t.Max}) {
        if (!(value >= kMinWallTemperature && value <= kMaxWallTemperature)) {
            return refuse(CompensationRefusal::TemperatureOutOfRange,
                          "Температуры стенки должны быть от −70 до +100 °C");
        }
    }
    if (t.Min > t.Max) {
        return refuse(CompensationRefusal::MinAboveMax,
                      "Наименьшая температура стенки t_min не может быть выше наибольшей t_max");
    }
    if (PipeRefusal(input.OuterDiameter, input.WallThickness)) {
        return refuse(CompensationRefusal::PipeInvalid,
                      "Для расчета компенсации нужна труба с наружным диаметром больше нуля и "
                      "толщиной стенки больше нуля и меньше половины диаметра");
    }
    if (input.AllowableStress && !(*input.AllowableStress > 0)) {
        return refuse(CompensationRefusal::AllowableNotPositive,
                      "Допускаемое напряжение компенсации [σ]к должно быть больше нуля");
    }
    if (input.ShoeLength && !(*input.ShoeLength > 0)) {
        return refuse(CompensationRefusal::ShoeNotPositive,
                      "Длина башмака опоры должна быть больше нуля");
    }

    CompensationResult result;
    result.Section = section;
    result.OuterDiameter = input.OuterDiameter;
    result.WallThickness = input.WallThickness;
    result.Temperatures = t;
    result.Tube = ComputeTubeSection(input.OuterDiameter, input.WallThickness);
    result.Points = SectionNodes(section);
    long double total = 0;
    for (const double length : section.Legs) {
        total += length;
    }
    result.TotalLength = static_cast<double>(total);
    result.Delta = ComputeFlexibility(section, result.Tube);
    const double heating = static_cast<double>(static_cast<long double>(t.Max) - t.Closing);
    const double cooling = static_cast<double>(static_cast<long double>(t.Min) - t.Closing);
    result.Heating = ComputeCase(section, result.Tube, result.Delta, heating);
    result.Cooling = ComputeCase(section, result.Tube, result.Delta, cooling);

    const std::vector<LegDirection> directions = SectionDirections(section);
    result.SP = RuleSetForces(RuleSet::SP, input.VerticalLoadSP, input.Friction, section,
                              directions, result.Heating, result.Cooling);
    result.SNiP = RuleSetForces(RuleSet::SNiP, input.TotalLoadSNiP, input.Friction, section,
                                directions, result.Heating, result.Cooling);
    if (input.AllowableStress) {
        StressCheck check;
        check.Allowable = *input.AllowableStress;
        check.Heating = result.Heating.MaxStress >= result.Cooling.MaxStress;
        check.Stress = result.Of(check.Heating).MaxStress;
        check.Passes = check.Stress <= check.Allowable;
        result.Stress = check;
    }
    if (input.ShoeLength) {
        MovementCheck check;
        check.HalfShoe = static_cast<double>(static_cast<long double>(*input.ShoeLength) / 2);
        check.Heating = result.Heating.MaxCornerMovement >= result.Cooling.MaxCornerMovement;
        check.Movement = result.Of(check.Heating).MaxCornerMovement;
        check.Passes = check.Movement <= check.HalfShoe;
        result.Movement = check;
    }
    outcome.Result = std::move(result);
    return outcome;
}

CompensationRun RunCompensation(const CompensationTexts& texts, double outerDiameter,
                                double wallThickness, std::optional<double> friction,
                                const CompensationLoads& loads, std::string_view decimalSeparator)
{
    CompensationRun run;
    if (texts.Sections.empty()) {
        return run;
    }
    const auto refuse = [&run](CompensationRefusal refusal, std::string message) {
        run.Refusal = refusal;
        run.Message = std::move(message);
        run.Sections.clear();
        return run;
    };
    const TemperaturesReading temperatures =
        ReadTemperatures(texts.ClosingTemperature, texts.MinTemperature, texts.MaxTemperature,
                         decimalSeparator);
    if (!temperatures.Ok()) {
        return refuse(temperatures.Refusal, temperatures.Message);
    }
    const CheckValueReading allowable =
        ReadAllowableCompensationStress(texts.AllowableStress, decimalSeparator);
    if (!allowable.Ok()) {
        return refuse(allowable.Refusal, allowable.Message);
    }
    const CheckValueReading shoe = ReadShoeLength(texts.ShoeLength, decimalSeparator);
    if (!shoe.Ok()) {
        return refuse(shoe.Refusal, shoe.Message);
    }
    for (const SectionTexts& sectionTexts : texts.Sections) {
        const SectionReading reading = ReadSectionTexts(sectionTexts, decimalSeparator);
        if (!reading.Ok()) {
            return refuse(reading.Refusal, reading.Message);
        }
        CompensationInput input;
        input.Section = *reading.Section;
        input.OuterDiameter = outerDiameter;
        input.WallThickness = wallThickness;
        input.Temperatures = *temperatures.Value;
        input.Friction = friction;
        input.VerticalLoadSP = loads.VerticalLoadSP;
        input.TotalLoadSNiP = loads.TotalLoadSNiP;
        input.AllowableStress = allowable.Value;
        input.ShoeLength = shoe.Value;
        CompensationOutcome outcome = ComputeCompensation(input);
        if (!outcome.Ok()) {
            return refuse(outcome.Refusal, outcome.Message);
        }
        run.Sections.push_back(std::move(*outcome.Result));
    }
    return run;
}

std::string NodeName(std::size_t node, std::size_t nodeCount)
{
    if (node == 0) {
        return "А";
    }
    if (node + 1 == nodeCount) {
        return "Б";
    }
    return std::to_string(node);
}

}  // namespace korvelin

namespace korvelin {

BendCoefficients SmoothBendCoefficients(double, double)
{
    return {};
}

BendFactors ComputeBendFactors(double radius, double, double, double)
{
    BendFactors factors;
    factors.Radius = radius;
    return factors;
}

std::vector<SupportPlace> PlaceSupports(const CompensationSection&, double, double)
{
    return {};
}

}  // namespace korvelin
