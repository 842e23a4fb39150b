#include "korvelin/Compensation.h"

#include "SectionFrame.h"
#include "korvelin/CondensateDeflection.h"
#include "korvelin/ExtendedMath.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/SupportLoads.h"

#include <algorithm>
#include <memory>
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

using frame::Real;

std::string ClosingOutsideMessage(const CompensationTemperatures& t, std::string_view separator)
{
    const auto degrees = [separator](double value) {
        std::string text = FormatGeneral(value, separator);
        if (!text.empty() && text.front() == '-') {
            text.replace(0, 1, "−");  // the minus sign of the messages
        }
        return text + " °C";
    };
    return "Температура замыкания t_з = " + degrees(t.Closing) +
           " должна быть не ниже наименьшей температуры стенки t_min = " + degrees(t.Min) +
           " и не выше наибольшей t_max = " + degrees(t.Max);
}

// A case of the temperature change dt with the section's free elongation α·Δt·ΣL and the free
// movement of B, α·Δt·(x_B, y_B, 0): what both methods start from.
CompensationCase FreeCase(const CompensationSection& section, double temperatureChange)
{
    const SectionPoint b = SectionNodes(section).back();
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
    return result;
}

// The chainage of a support along the typed legs from A, m.
Real ChainageOf(const CompensationSection& section, const SupportPlace& place)
{
    Real chainage = 0;
    for (std::size_t k = 0; k < place.Leg; ++k) {
        chainage += section.Legs[k];
    }
    return chainage + place.Distance;
}

// The longest span along the route between A, the supports and B, m.
double LongestSpan(const CompensationSection& section, const std::vector<SupportPlace>& supports)
{
    Real total = 0;
    for (const double length : section.Legs) {
        total += length;
    }
    Real previous = 0;
    Real longest = 0;
    for (const SupportPlace& place : supports) {
        const Real chainage = ChainageOf(section, place);
        longest = std::max(longest, chainage - previous);
        previous = chainage;
    }
    return static_cast<double>(std::max(longest, total - previous));
}

// σ = |N|/A + i·|M|/W, MPa.
double StressOf(long double n, long double m, long double factor, const TubeSection& tube)
{
    return static_cast<double>((std::fabs(n) / tube.Area + factor * std::fabs(m) / tube.Modulus) /
                               kPascalsPerMegapascalExact);
}

// The case from the path's loads on the pipe: the reactions, the legs' forces by statics of the
// loads between a point and B, the movements, the largest stresses along the straight pipe and
// along every arc.
CompensationCase CaseFromPath(const CompensationSection& section, const TubeSection& tube,
                              const BendFactors& bend, const frame::Frame& model,
                              const frame::PathSolution& path,
                              const std::vector<SupportPlace>& supports, double temperatureChange)
{
    const std::vector<SectionPoint> corners = SectionNodes(section);
    const std::vector<LegDirection> directions = SectionDirections(section);
    const std::size_t n = model.Nodes.size();
    const std::size_t legCount = section.Legs.size();
    CompensationCase result = FreeCase(section, temperatureChange);
    const frame::Vec3& a = path.Loads.front();
    const frame::Vec3& b = path.Loads.back();
    result.A = {static_cast<double>(a[0]) + 0.0, static_cast<double>(a[1]) + 0.0,
                static_cast<double>(a[2]) + 0.0};
    result.B = {static_cast<double>(b[0]) + 0.0, static_cast<double>(b[1]) + 0.0,
                static_cast<double>(b[2]) + 0.0};
    result.Unknowns = {result.B.Fx, result.B.Fy, result.B.M};

    // The loads beyond each node: beyond[i] sums the nodes after i — the force and its moment about
    // the origin.
    struct Resultant {
        Real Fx = 0;
        Real Fy = 0;
        Real Mo = 0;
        Real MomentAt(const frame::Point& p) const { return Mo - (p.X * Fy - p.Y * Fx); }
    };
    std::vector<Resultant> beyond(n);
    for (std::size_t i = n - 1; i-- > 0;) {
        const frame::Vec3& l = path.Loads[i + 1];
        const frame::Point& p = model.Nodes[i + 1].P;
        beyond[i] = beyond[i + 1];
        beyond[i].Fx += l[0];
        beyond[i].Fy += l[1];
        beyond[i].Mo += l[2] + p.X * l[1] - p.Y * l[0];
    }
    const auto nodeMoment = [&](std::size_t i) {
        return static_cast<double>(i + 1 == n ? b[2] : beyond[i].MomentAt(model.Nodes[i].P)) + 0.0;
    };
    const auto legOf = [&](Real chainage) {
        std::size_t leg = 0;
        while (leg + 1 < legCount && chainage >= model.LegStarts[leg + 1]) {
            ++leg;
        }
        return leg;
    };
    std::vector<std::size_t> legNodes{0};
    for (const std::size_t corner : model.CornerNodes) {
        legNodes.push_back(corner);
    }
    legNodes.push_back(n - 1);
    for (std::size_t k = 0; k < legCount; ++k) {
        const LegDirection& d = directions[k];
        const std::size_t from = legNodes[k];
        const std::size_t to = legNodes[k + 1];
        const auto along = [&d](const Resultant& r) {
            return static_cast<double>(r.Fx * d.Cos + r.Fy * d.Sin) + 0.0;
        };
        LegForces leg;
        leg.N = along(beyond[from]);
        Resultant atEnd = to + 1 == n ? Resultant{} : beyond[to];
        atEnd.Fx += path.Loads[to][0];
        atEnd.Fy += path.Loads[to][1];
        leg.NEnd = along(atEnd);
        leg.NMin = std::min(leg.N, leg.NEnd);
        for (std::size_t e = from; e < to; ++e) {
            if (!model.Pieces[e].Arc) {
                leg.NMin = std::min(leg.NMin, along(beyond[e]));
            }
        }
        leg.MStart = nodeMoment(from);
        leg.MEnd = nodeMoment(to);
        result.Legs.push_back(leg);
    }

    result.Nodes.push_back({corners.front().X, corners.front().Y, 0, 0});
    for (std::size_t c = 0; c < model.CornerNodes.size(); ++c) {
        const frame::Vec3& u = path.Movement[model.CornerNodes[c]];
        result.Nodes.push_back({corners[c + 1].X, corners[c + 1].Y,
                                static_cast<double>(u[0] * kMillimetresPerMetre) + 0.0,
                                static_cast<double>(u[1] * kMillimetresPerMetre) + 0.0});
    }
    result.Nodes.push_back({corners.back().X, corners.back().Y, 0, 0});

    std::vector<double> nodeMoments{nodeMoment(0)};
    for (const std::size_t corner : model.CornerNodes) {
        nodeMoments.push_back(nodeMoment(corner));
    }
    nodeMoments.push_back(nodeMoment(n - 1));
    for (std::size_t node = 0; node < nodeMoments.size(); ++node) {
        if (std::fabs(nodeMoments[node]) > std::fabs(result.MaxMoment)) {
            result.MaxMoment = nodeMoments[node];
            result.MaxMomentNode = node;
        }
    }

    const auto consider = [&](double stress, Real chainage, bool arc) {
        double& largest = arc ? result.MaxBendStress : result.MaxStraightStress;
        largest = std::max(largest, stress);
        if (stress > result.MaxStress) {
            result.MaxStress = stress;
            result.MaxStressLeg = legOf(chainage);
            const Real s = chainage - model.LegStarts[result.MaxStressLeg];
            result.MaxStressEnd = 2 * s < section.Legs[result.MaxStressLeg] ? LegEnd::Start : LegEnd::End;
        }
    };
    for (std::size_t e = 0; e + 1 < n; ++e) {
        const frame::Piece& piece = model.Pieces[e];
        const Resultant& r = beyond[e];
        const frame::Node& from = model.Nodes[e];
        const frame::Node& to = model.Nodes[e + 1];
        if (!piece.Arc) {
            const Real dx = to.P.X - from.P.X;
            const Real dy = to.P.Y - from.P.Y;
            const Real length = std::sqrt(dx * dx + dy * dy);
            const Real axial = length > 0 ? (r.Fx * dx + r.Fy * dy) / length : 0;
            consider(StressOf(axial, r.MomentAt(from.P), 1, tube), from.Chainage, false);
            consider(StressOf(axial, r.MomentAt(to.P), 1, tube), to.Chainage, false);
            continue;
        }
        // Along the arc the moment and the axial force turn with the tangent: the stress is
        // sampled every 0,35° or closer and at both ends.
        const Real sweep = piece.Theta1 - piece.Theta0;
        const Real sign = sweep > 0 ? 1 : -1;
        const int samples = std::max(8, static_cast<int>(std::fabs(sweep) / 0.006L) + 1);
        for (int j = 0; j <= samples; ++j) {
            const Real theta = piece.Theta0 + sweep * j / samples;
            const frame::CosSin cs = frame::CosSinOf(theta);
            const frame::Point p{piece.Centre.X + piece.Radius * cs.Cos,
                                 piece.Centre.Y + piece.Radius * cs.Sin};
            const Real axial = sign * (-r.Fx * cs.Sin + r.Fy * cs.Cos);
            const Real chainage = from.Chainage + (to.Chainage - from.Chainage) * j / samples;
            consider(StressOf(axial, r.MomentAt(p), bend.Intensification, tube), chainage, true);
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

    std::size_t holder = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int j = model.Nodes[i].Support;
        if (j < 0) {
            continue;
        }
        const SupportPlace& place = supports[static_cast<std::size_t>(j)];
        SupportForces forces;
        forces.Place = place;
        forces.Ux = static_cast<double>(path.Movement[i][0] * kMillimetresPerMetre) + 0.0;
        forces.Uy = static_cast<double>(path.Movement[i][1] * kMillimetresPerMetre) + 0.0;
        const LegDirection& d = directions[place.Leg];
        const Real fx = path.Loads[i][0];
        const Real fy = path.Loads[i][1];
        if (place.Kind == SupportKind::Guide) {
            // The friction along the leg, the guide's force across it.
            const Real along = fx * d.Cos + fy * d.Sin;
            forces.FrictionX = static_cast<double>(along * d.Cos) + 0.0;
            forces.FrictionY = static_cast<double>(along * d.Sin) + 0.0;
            forces.GuideForce = static_cast<double>(-fx * d.Sin + fy * d.Cos) + 0.0;
            result.Guides.push_back({place.Leg, place.Distance, forces.GuideForce});
        } else {
            forces.FrictionX = static_cast<double>(fx) + 0.0;
            forces.FrictionY = static_cast<double>(fy) + 0.0;
        }
        forces.Slides = holder < path.Slides.size() && path.Slides[holder];
        ++holder;
        if (forces.Slides) {
            ++result.SlidingSupports;
        } else if (place.VerticalLoad > 0 && path.Steps > 0) {
            ++result.StickingSupports;
        }
        result.Supports.push_back(forces);
    }
    result.FrictionSteps = path.Steps;
    return result;
}

// The stability of every compressed leg and the parts of the longitudinal stress.
void CheckStabilityAndStress(CompensationCase& c, const CompensationSection& section,
                             const TubeSection& tube, double wallThickness,
                             const std::vector<SupportPlace>& supports, double verticalLoad,
                             double pressure)
{
    const long double radius = section.BendRadius;
    const std::size_t legCount = section.Legs.size();
    for (std::size_t k = 0; k < legCount; ++k) {
        const LegForces& leg = c.Legs[k];
        if (!(leg.NMin < 0)) {
            continue;
        }
        const long double length = section.Legs[k];
        std::vector<long double> vertical{0, length};
        const long double straightFrom = k > 0 ? radius : 0;
        const long double straightTo = k + 1 < legCount ? length - radius : length;
        std::vector<long double> horizontal{straightFrom, straightTo};
        for (const SupportPlace& place : supports) {
            if (place.Leg == k) {
                vertical.push_back(place.Distance);
                if (place.Kind == SupportKind::Guide) {
                    horizontal.push_back(place.Distance);
                }
            }
        }
        const auto longest = [](std::vector<long double> points) {
            std::sort(points.begin(), points.end());
            long double gap = 0;
            for (std::size_t i = 1; i < points.size(); ++i) {
                gap = std::max(gap, points[i] - points[i - 1]);
            }
            return gap;
        };
        const auto euler = [&tube](long double l) {
            return l > 0 ? static_cast<double>(kPiExact * kPiExact * tube.BendingStiffness / (l * l)) : 0.0;
        };
        BucklingRow row;
        row.Leg = k;
        row.Compression = -leg.NMin;
        row.VerticalLength = static_cast<double>(longest(vertical));
        row.HorizontalLength = static_cast<double>(longest(horizontal));
        row.CriticalVertical = euler(row.VerticalLength);
        row.CriticalHorizontal = euler(row.HorizontalLength);
        row.Critical = row.CriticalHorizontal > 0 ? std::min(row.CriticalVertical, row.CriticalHorizontal)
                                                  : row.CriticalVertical;
        row.Ratio = static_cast<double>(static_cast<long double>(row.Compression) / row.Critical);
        row.Stable = row.Ratio <= 1;
        c.StabilityWarning = c.StabilityWarning || !row.Stable;
        c.Buckling.push_back(row);
    }
    StressParts& parts = c.Stress;
    // p·d/(4·t): the pressure on the closed ends of the pipe over its wall's area, d = D − 2t.
    parts.Pressure = static_cast<double>(static_cast<long double>(pressure) * tube.InnerDiameter /
                                         (4 * static_cast<long double>(wallThickness)));
    parts.WeightSpan = LongestSpan(section, supports);
    parts.WeightMoment = static_cast<double>(static_cast<long double>(verticalLoad) * parts.WeightSpan *
                                             parts.WeightSpan / 12);
    parts.Weight = static_cast<double>(parts.WeightMoment / static_cast<long double>(tube.Modulus) /
                                       kPascalsPerMegapascalExact);
    parts.Temperature = c.MaxStress;
    parts.Total = static_cast<double>(static_cast<long double>(parts.Pressure) + parts.Weight +
                                      parts.Temperature);
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
    if (values[0] < values[1] || values[0] > values[2]) {
        reading.Refusal = CompensationRefusal::ClosingOutsideRange;
        reading.Message = ClosingOutsideMessage({values[0], values[1], values[2]}, decimalSeparator);
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

CompensationLoads CompensationLoadsOf(const CalculationOutcome& outcome,
                                      std::string_view decimalSeparator)
{
    if (outcome.Kind != OutcomeKind::Completed) {
        return {};
    }
    // Each item is run once, whichever set asks first; the runs keep their own copy of the input.
    const auto byItem = std::make_shared<GoverningSpansByItem>(outcome, decimalSeparator);
    const auto of = [&byItem](RuleSet rules) -> GoverningSpanOfItem {
        return [byItem, rules](int item) { return byItem->Span(rules, item); };
    };
    return {outcome.Loads.VerticalLoadSP, outcome.Loads.TotalLoadSNiP, of(RuleSet::SP),
            of(RuleSet::SNiP), outcome.Input ? outcome.Input->Pressure : 0.0};
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

FlexibilityMatrix ComputeFlexibility(const CompensationSection& section, const TubeSection& tube,
                                     double bendFlexibility)
{
    if (section.BendRadius > 0) {
        // With bends: the unit loads at B integrated over the straight pieces and the arcs.
        const frame::Frame model = frame::BuildFrame(section, {}, bendFlexibility);
        const frame::Point b = model.Nodes.back().P;
        frame::Mat3 sum{};
        for (std::size_t e = 0; e < model.Pieces.size(); ++e) {
            const frame::Mat3 f = frame::PieceFlexibility(
                model.Pieces[e], model.Nodes[e].P, model.Nodes[e + 1].P, b, bendFlexibility,
                tube.BendingStiffness, tube.AxialStiffness);
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < 3; ++j) {
                    sum[i][j] += f[i][j];
                }
            }
        }
        FlexibilityMatrix delta{};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                delta[i][j] = static_cast<double>(i <= j ? sum[i][j] : sum[j][i]);
            }
        }
        return delta;
    }
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

    CompensationCase result = FreeCase(section, temperatureChange);
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
        leg.NEnd = leg.N;
        leg.NMin = leg.N;
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
    if (t.Closing < t.Min || t.Closing > t.Max) {
        return refuse(CompensationRefusal::ClosingOutsideRange, ClosingOutsideMessage(t, ","));
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
    result.Pressure = input.Pressure;
    result.Tube = ComputeTubeSection(input.OuterDiameter, input.WallThickness);
    result.Bend = ComputeBendFactors(section.BendRadius, input.OuterDiameter, input.WallThickness,
                                     input.Pressure);
    result.Points = SectionNodes(section);
    long double total = 0;
    for (const double length : section.Legs) {
        total += length;
    }
    result.TotalLength = static_cast<double>(total);
    result.Delta = ComputeFlexibility(section, result.Tube, result.Bend.Flexibility);
    const double heating = static_cast<double>(static_cast<long double>(t.Max) - t.Closing);
    const double cooling = static_cast<double>(static_cast<long double>(t.Min) - t.Closing);
    const double mu = input.Friction.value_or(0);

    // The supports of the cases: placed by SP's step and load when it has them, else by SNiP's.
    const std::optional<double>& loadSP = input.VerticalLoadSP;
    const std::optional<double>& loadSNiP = input.TotalLoadSNiP;
    if (loadSP) {
        result.SupportRules = RuleSet::SP;
    } else if (loadSNiP) {
        result.SupportRules = RuleSet::SNiP;
    }
    // One placement for the cases and every set of rules: by the governing spans of the placement
    // rules (of the other set when those are not given), the typed step and the edits.
    const bool placeBySP = input.PlacementRules == RuleSet::SP ? static_cast<bool>(input.GoverningSpansSP)
                                                               : !input.GoverningSpansSNiP;
    const GoverningSpanOfItem& spans = placeBySP ? input.GoverningSpansSP : input.GoverningSpansSNiP;
    result.Placement = PlaceSupports(section, spans, placeBySP ? RuleSet::SP : RuleSet::SNiP,
                                     input.Edits, input.RouteIndex);
    const auto loadOf = [&](std::optional<RuleSet> rules) {
        if (!rules) {
            return 0.0;
        }
        return (*rules == RuleSet::SP ? loadSP : loadSNiP).value_or(0.0);
    };
    const auto solve = [&](const std::vector<SupportPlace>& supports, double q, double dt) {
        const frame::Frame model = frame::BuildFrame(section, supports, result.Bend.Flexibility);
        const frame::PathSolution path =
            frame::SolvePath(model, section, supports, result.Tube, mu, dt);
        CompensationCase c =
            CaseFromPath(section, result.Tube, result.Bend, model, path, supports, dt);
        const bool frictionless = std::none_of(
            c.Supports.begin(), c.Supports.end(), [](const SupportForces& f) { return f.Slides; }) &&
            (mu == 0 || std::none_of(supports.begin(), supports.end(),
                                     [](const SupportPlace& p) { return p.VerticalLoad > 0; }));
        if (frictionless && section.Guides.empty() && !(section.BendRadius > 0)) {
            // The frame of sharp corners without friction and guides: the force method's exact
            // solution, with the supports' movements of the frame.
            CompensationCase exact = ComputeCase(section, result.Tube, result.Delta, dt);
            exact.Supports = std::move(c.Supports);
            exact.MaxStraightStress = exact.MaxStress;
            c = std::move(exact);
        }
        CheckStabilityAndStress(c, section, result.Tube, input.WallThickness, supports, q,
                                input.Pressure);
        return c;
    };
    const double q = loadOf(result.SupportRules);
    result.Supports = LoadedSupports(result.Placement.Places, q);
    result.SupportStep = result.Supports.empty() ? 0.0 : LongestSpan(section, result.Supports);
    result.Heating = solve(result.Supports, q, heating);
    result.Cooling = solve(result.Supports, q, cooling);
    const int steps = std::max(result.Heating.FrictionSteps, result.Cooling.FrictionSteps);
    if (steps > 0) {
        result.FrictionMethod =
            "Трение в опорах учтено по пути изменения температуры от t_з до t_max и от t_з до "
            "t_min: температура менялась равными шагами; на каждом шаге опора, сила трубы на "
            "которую меньше μ·V, стоит на месте, остальные скользят, и сила трения μ·V направлена "
            "против их перемещения (состояния опор уточнялись, пока не перестали меняться); число "
            "шагов удваивалось, пока силы на опоры двух решений не совпали в пределах 0,1 %: " +
            std::to_string(steps) + " шагов.";
    }

    const std::vector<LegDirection> directions = SectionDirections(section);
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        const std::optional<double>& load = rules == RuleSet::SP ? loadSP : loadSNiP;
        if (!load || !input.Friction) {
            continue;
        }
        RuleSetCompensation set;
        set.Rules = rules;
        set.VerticalLoad = *load;
        set.Friction = *input.Friction;
        set.SupportStep = result.SupportStep;
        if (result.SupportRules == rules) {
            set.HeatingCase = result.Heating;
            set.CoolingCase = result.Cooling;
        } else {
            const std::vector<SupportPlace> supports = LoadedSupports(result.Placement.Places, *load);
            set.HeatingCase = solve(supports, *load, heating);
            set.CoolingCase = solve(supports, *load, cooling);
        }
        const auto design = [](const SupportReaction& reaction, const LegDirection& leg) {
            const long double along = std::fabs(reaction.Fx * static_cast<long double>(leg.Cos) +
                                                reaction.Fy * static_cast<long double>(leg.Sin));
            const long double across = std::fabs(-reaction.Fx * static_cast<long double>(leg.Sin) +
                                                 reaction.Fy * static_cast<long double>(leg.Cos));
            return DesignForce{static_cast<double>(along), static_cast<double>(across)};
        };
        for (auto [which, forces] : {std::pair{&set.HeatingCase, &set.Heating},
                                     std::pair{&set.CoolingCase, &set.Cooling}}) {
            forces->A = design(which->A, directions.front());
            forces->B = design(which->B, directions.back());
        }
        long double frictionA = 0;
        long double frictionB = 0;
        for (const SupportForces& support : set.HeatingCase.Supports) {
            const auto along = [&support](const LegDirection& d) {
                return std::fabs(support.FrictionX * static_cast<long double>(d.Cos) +
                                 support.FrictionY * static_cast<long double>(d.Sin));
            };
            if (support.Place.Leg == 0) {
                frictionA += along(directions.front());
            }
            if (support.Place.Leg + 1 == section.Legs.size()) {
                frictionB += along(directions.back());
            }
        }
        set.SupportsFriction = {static_cast<double>(frictionA), static_cast<double>(frictionB)};
        (rules == RuleSet::SP ? result.SP : result.SNiP) = std::move(set);
    }
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
    // The route's placement rules and the designer's edits; texts that do not read are left to
    // whoever reads them for the schedule (the window and korvelin-calc refuse them).
    const RuleSet placementRules = ReadPlacementRules(texts.PlacementRules).value_or(RuleSet::SP);
    const std::vector<SupportEdit> edits = ReadSupportEdits(texts.SupportEdits, decimalSeparator).Edits;
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
        input.GoverningSpansSP = loads.GoverningSpansSP;
        input.GoverningSpansSNiP = loads.GoverningSpansSNiP;
        input.PlacementRules = placementRules;
        input.Edits = edits;
        input.RouteIndex = run.Sections.size();
        input.Pressure = loads.Pressure;
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

BendCoefficients SmoothBendCoefficients(double lambda, double /*pressure*/)
{
    // K = max(1; 1,65/λ), i = max(1; 0,9/λ^(2/3)); λ^(2/3) = exp(2/3·ln λ).
    const long double l = lambda;
    BendCoefficients c;
    c.Flexibility = static_cast<double>(std::max(1.0L, 1.65L / l));
    const long double power = ExtendedExp(2 * ExtendedLog(l) / 3);
    c.Intensification = static_cast<double>(std::max(1.0L, 0.9L / power));
    return c;
}

BendFactors ComputeBendFactors(double radius, double outerDiameter, double wallThickness,
                               double pressure)
{
    BendFactors factors;
    factors.Radius = radius;
    factors.MeanRadius = static_cast<double>(
        (static_cast<long double>(outerDiameter) - wallThickness) / 2);
    if (!(radius > 0)) {
        return factors;
    }
    const long double r = factors.MeanRadius;
    factors.Lambda = static_cast<double>(static_cast<long double>(wallThickness) * radius / (r * r));
    const BendCoefficients c = SmoothBendCoefficients(factors.Lambda, pressure);
    factors.Flexibility = c.Flexibility;
    factors.Intensification = c.Intensification;
    return factors;
}

}  // namespace korvelin
