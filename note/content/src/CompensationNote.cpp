#include "korvelin/CompensationNote.h"

#include "MethodWriter.h"

#include "korvelin/CondensateDeflection.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/SupportLoads.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvelin {
namespace {

constexpr std::string_view kDash = "—";

std::string Fixed(double value, std::string_view separator) { return FormatFixed3(value, separator); }

// A temperature as the user gives it, "−40 °C".
std::string Celsius(double value, std::string_view separator)
{
    std::string text = FormatGeneral(value, separator);
    if (text.starts_with('-')) {
        text.replace(0, 1, "−");
    }
    return text + " °C";
}

// A value put into a formula where a negative one follows a sign: "(−53,026)".
std::string Term(const MethodWriter& w, long double value)
{
    const std::string text = w.V(value);
    return value < 0 ? "(" + text + ")" : text;
}

std::string DirectionText(const LegDirection& direction)
{
    if (direction.Cos != 0) {
        return direction.Cos > 0 ? "+x" : "−x";
    }
    return direction.Sin > 0 ? "+y" : "−y";
}

// A paragraph whose text carries the marks of sub- and superscripts.
void AddFormulaParagraph(NoteDocument& note, std::string text)
{
    note.Blocks.emplace_back(NoteParagraph{std::move(text), false, true});
}

// A bold caption or a paragraph that stands on the same sheet as the table after it.
void AddCaption(NoteDocument& note, std::string text, bool bold = true, bool formula = false)
{
    note.Blocks.emplace_back(NoteParagraph{std::move(text), bold, formula, true});
}

std::string CaseName(bool heating) { return heating ? "нагрев" : "охлаждение"; }

// "опора Б", "угол 1".
std::string NodePlace(std::size_t node, std::size_t nodeCount)
{
    const std::string name = NodeName(node, nodeCount);
    return node == 0 || node + 1 == nodeCount ? "опора " + name : "угол " + name;
}

std::string MaxMomentPlace(const CompensationCase& c, std::size_t nodeCount)
{
    return NodePlace(c.MaxMomentNode, nodeCount);
}

std::string MaxStressPlace(const CompensationCase& c)
{
    return "плечо " + std::to_string(c.MaxStressLeg + 1) +
           (c.MaxStressEnd == LegEnd::Start ? ", начало" : ", конец");
}

std::string PipeText(const CompensationResult& r, std::string_view separator)
{
    return FormatGeneral(static_cast<double>(static_cast<long double>(r.OuterDiameter) * 1000), separator) +
           "×" +
           FormatGeneral(static_cast<double>(static_cast<long double>(r.WallThickness) * 1000), separator) +
           " мм";
}

void AddSectionDescription(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    AddCaption(note, "Участок между неподвижными опорами А и Б: " + SectionRouteText(r.Section, separator) +
                      " (длины плеч в метрах; Л — поворот налево, П — направо, на 90°); труба " +
                      PipeText(r, separator) + ". Опора А стоит в начале координат, первое плечо "
                      "направлено по оси x, поворот налево поворачивает направление на +90°.",
               false);
    const std::vector<LegDirection> directions = SectionDirections(r.Section);
    NoteTable table;
    table.Title = "Плечи участка";
    table.Rows.push_back({{"Плечо", true}, {"L, м", true}, {"Направление", true}, {"Начало (x; y), м", true},
                          {"Конец (x; y), м", true}});
    table.Alignment = {CellAlignment::Center, CellAlignment::Right, CellAlignment::Center,
                       CellAlignment::Right, CellAlignment::Right};
    const std::size_t nodes = r.Points.size();
    for (std::size_t k = 0; k < r.Section.Legs.size(); ++k) {
        const auto point = [&](std::size_t i) {
            return FormatGeneral(r.Points[i].X, separator) + "; " + FormatGeneral(r.Points[i].Y, separator) +
                   " (" + NodeName(i, nodes) + ")";
        };
        table.Rows.push_back({{std::to_string(k + 1)},
                              {FormatGeneral(r.Section.Legs[k], separator)},
                              {DirectionText(directions[k])},
                              {point(k)},
                              {point(k + 1)}});
    }
    note.AddTable(std::move(table));
}

// What the section's constants and assumptions rest on: a document of the list "Литература",
// or the program's own choice, said as such.
void AddBasis(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    std::string friction;
    if (r.SP || r.SNiP) {
        const RuleSetCompensation& any = r.SP ? *r.SP : *r.SNiP;
        friction = "Коэффициент трения μ = " + FormatGeneral(any.Friction, separator) +
                   " задан проектировщиком (без ввода программа берет " +
                   FormatGeneral(kDefaultFriction, separator) + " — ее допущение для скольжения стали "
                   "по стали, нормой не подтвержденное). ";
    }
    note.AddParagraph(
        "Основания. Метод сил и способ единичной нагрузки (интеграл Мора) для плоской рамы — по " +
        std::string(kForceMethodSource) + " (список «Литература»). Модуль упругости стали E = " +
        FormatSignificant(kElasticModulus, 15, separator) + " Па — тот же, что в расчете пролета; "
        "коэффициент линейного расширения α = " + FormatSignificant(kThermalExpansion, 15, separator) +
        " 1/°C — постоянная программы для углеродистой стали: источник этого значения в нормах "
        "программой не проверен, при другом значении усилия пропорциональны α. " + friction +
        "Модель трения (кулоновское трение до μ·V на каждой скользящей опоре, V — ее вертикальная "
        "нагрузка по коэффициенту неразрезной балки ее места) — допущение программы. Допускаемое напряжение компенсации [σ]_{к} задает "
        "проектировщик по применяемым нормам. Проверка перемещения угла половиной длины башмака "
        "опоры — допущение программы: башмак не должен сойти с опоры. Ни одно из этих значений и "
        "допущений не приписывается СП 42-102-2004 и СНиП 2.04.12-86.");
}

// Whether the section is more than the frictionless frame of sharp corners: bends, guides or
// sliding supports with friction.
bool Built(const CompensationResult& r)
{
    return r.Section.BendRadius > 0 || !r.Section.Guides.empty() || !r.Supports.empty() || !r.FrictionMethod.empty();
}

void AddAssumptions(NoteDocument& note, const CompensationResult& r)
{
    if (Built(r)) {
        note.AddParagraph(
            "Расчетная схема — плоская линейно-упругая рама из прямых плеч и отводов: каждый поворот — "
            "дуга радиуса R, касательная к обоим плечам (длины плеч — между точками пересечения осей; "
            "R = 0 — острый угол); податливость отвода на изгиб увеличена коэффициентом K, продольная "
            "жесткость отвода не изменена, напряжение в отводе увеличено коэффициентом i. Скользящие "
            "опоры делят каждое плечо на равные пролеты и стоят на отводах, каждая держит трубу силой "
            "трения до μ·V, где V — вертикальная нагрузка опоры; направляющие опоры держат трубу поперек плеча, вдоль "
            "плеча и в повороте свободны. Оба конца участка полностью защемлены неподвижными опорами. "
            "Температура стенки изменяется равномерно по всему участку от температуры замыкания. "
            "Учитываются продольные и изгибные деформации, сдвиг не учитывается; сечение трубы точное.");
        if (!r.FrictionMethod.empty()) {
            note.AddParagraph(r.FrictionMethod);
        }
        return;
    }
    note.AddParagraph(
        "Расчетная схема — плоская линейно-упругая рама из прямых плеч с жесткими углами: отводы, "
        "их повышенная податливость и направляющие опоры не моделируются, скользящие опоры не "
        "препятствуют перемещениям (их трение учтено только в нагрузках на неподвижные опоры). Оба "
        "конца участка полностью защемлены неподвижными опорами. Температура стенки изменяется "
        "равномерно по всему участку от температуры замыкания. Учитываются продольные и изгибные "
        "деформации, сдвиг не учитывается. Сечение трубы принято точным: приближенный момент "
        "инерции π·D³·t/8 критериев пролета — приближение тонкой стенки, и жесткость рамы, "
        "перемещения и усилия по нему получились бы с лишней погрешностью.");
}

void AddTube(MethodWriter& w, const CompensationResult& r)
{
    const TubeSection& tube = r.Tube;
    w.Step("Сечение трубы и постоянные");
    w.Line("d = D − 2·t = " + w.V(r.OuterDiameter) + " − 2·" + w.V(r.WallThickness) + " = " +
           w.V(tube.InnerDiameter) + " м;");
    w.Line("A = π·(D^{2} − d^{2})/4 = π·(" + w.V(r.OuterDiameter) + "^{2} − " + w.V(tube.InnerDiameter) +
           "^{2})/4 = " + w.V(tube.Area) + " м^{2};");
    w.Line("I = π·(D^{4} − d^{4})/64 = π·(" + w.V(r.OuterDiameter) + "^{4} − " +
           w.V(tube.InnerDiameter) + "^{4})/64 = " + w.V(tube.Inertia) + " м^{4};");
    w.Line("W = 2·I/D = 2·" + w.V(tube.Inertia) + "/" + w.V(r.OuterDiameter) + " = " + w.V(tube.Modulus) +
           " м^{3};");
    w.Line("E·A = " + w.C(kElasticModulus) + "·" + w.V(tube.Area) + " = " + w.V(tube.AxialStiffness) +
           " Н; E·I = " + w.C(kElasticModulus) + "·" + w.V(tube.Inertia) + " = " +
           w.V(tube.BendingStiffness) + " Н·м^{2},");
    w.Where({{"D", "наружный диаметр трубы, м"},
             {"t", "толщина стенки, м"},
             {"d", "внутренний диаметр, м"},
             {"A", "площадь сечения"},
             {"I", "момент инерции сечения"},
             {"W", "момент сопротивления сечения"},
             {"E", "модуль упругости стали, " + w.C(kElasticModulus) + " Па"}});
}

void AddTemperatures(MethodWriter& w, const CompensationResult& r, std::string_view separator)
{
    const CompensationTemperatures& t = r.Temperatures;
    w.Step("Температурные перепады");
    w.Line("Δt_{+} = t_{max} − t_{з} = " + Celsius(t.Max, separator) + " − " + Term(w, t.Closing) +
           " °C = " + Celsius(r.Heating.TemperatureChange, separator) + " (нагрев);");
    w.Line("Δt_{−} = t_{min} − t_{з} = " + Celsius(t.Min, separator) + " − " + Term(w, t.Closing) +
           " °C = " + Celsius(r.Cooling.TemperatureChange, separator) + " (охлаждение);");
    w.Line("свободное удлинение α·Δt·ΣL: " + w.C(kThermalExpansion) + "·" + Term(w, r.Heating.TemperatureChange) +
           "·" + w.V(r.TotalLength) + " = " + w.R(r.Heating.FreeElongation, "мм") + " (нагрев), " +
           w.C(kThermalExpansion) + "·" + Term(w, r.Cooling.TemperatureChange) + "·" + w.V(r.TotalLength) +
           " = " + w.R(r.Cooling.FreeElongation, "мм") + " (охлаждение),");
    w.Where({{"t_{з}", "температура замыкания (при ней участок закреплен)"},
             {"t_{min}, t_{max}", "наименьшая и наибольшая температуры стенки трубы"},
             {"α", "коэффициент линейного расширения стали, " + w.C(kThermalExpansion) + " 1/°C"},
             {"ΣL", "длина участка, м"}});
}

// A value rounded to `digits` significant digits, as FormatSignificant writes it (a 5 away from
// zero).
long double RoundedTo(long double value, int digits)
{
    if (value == 0) {
        return 0;
    }
    long double magnitude = value < 0 ? -value : value;
    int exponent = 0;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++exponent;
    }
    while (magnitude < 1) {
        magnitude *= 10;
        --exponent;
    }
    long double scale = 1;
    for (int k = 0; k < (digits - 1 - exponent > 0 ? digits - 1 - exponent : exponent - digits + 1); ++k) {
        scale *= 10;
    }
    return digits - 1 - exponent >= 0 ? std::roundl(value * scale) / scale
                                      : std::roundl(value / scale) * scale;
}

}  // namespace

std::array<double, 3> FrameUnknowns(const CompensationResult& r, bool heating)
{
    return SolveForceMethod(r.Delta, r.Of(heating).FreeMovement);
}

int ForceMethodDigits(const CompensationResult& r)
{
    // The system is printed with as many digits as make its solution give the printed X again:
    // its condition number (hundreds for a long leg beside a short one) multiplies the rounding of
    // δ and Δ.
    for (int digits = kDigits; digits < 17; ++digits) {
        FlexibilityMatrix delta{};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                delta[i][j] = static_cast<double>(RoundedTo(r.Delta[i][j], digits));
            }
        }
        bool same = true;
        for (const bool heating : {true, false}) {
            const CompensationCase& c = r.Of(heating);
            const std::array<double, 3> exact = FrameUnknowns(r, heating);
            std::array<double, 3> free{};
            for (int i = 0; i < 3; ++i) {
                free[i] = static_cast<double>(RoundedTo(c.FreeMovement[i], digits));
            }
            const std::array<double, 3> x = SolveForceMethod(delta, free);
            for (int i = 0; i < 3; ++i) {
                same = same && FormatFixed3(x[i], ".") == FormatFixed3(exact[i], ".");
            }
        }
        if (same) {
            return digits;
        }
    }
    return 17;
}

namespace {

void AddForceMethod(MethodWriter& w, const CompensationResult& r, int digits)
{
    const auto D = [&](long double value) { return FormatSignificant(value, digits, w.Mark()); };
    const SectionPoint& b = r.Points.back();
    w.Step("Метод сил: коэффициенты канонических уравнений");
    w.Line("Опора Б отбрасывается; неизвестные — ее реакции X_{1} = F_{x}, X_{2} = F_{y}, X_{3} = M, "
           "основная система — консоль, защемленная в опоре А. Единичные силы в точке Б (x_{Б} = " +
           w.V(b.X) + " м, y_{Б} = " + w.V(b.Y) + " м) дают в точке (x; y) плеча моменты m_{1} = y − y_{Б}, "
           "m_{2} = x_{Б} − x, m_{3} = 1 и продольные силы n_{1} = cos φ, n_{2} = sin φ, n_{3} = 0;");
    w.Line("δ_{ij} = Σ L·(m_{i0}·m_{j0} + (m_{i0}·m_{j1} + m_{i1}·m_{j0})/2 + m_{i1}·m_{j1})/(3·E·I) + "
           "Σ n_{i}·n_{j}·L/(E·A);");
    static constexpr std::array<std::pair<int, int>, 6> kTerms = {
        {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}}};
    static constexpr std::string_view kUnits[3][3] = {
        {"м/Н", "м/Н", "1/Н"}, {"м/Н", "м/Н", "1/Н"}, {"1/Н", "1/Н", "1/(Н·м)"}};
    std::string values;
    for (const auto& [i, j] : kTerms) {
        values += values.empty() ? "" : "; ";
        values += "δ_{" + std::to_string(i + 1) + std::to_string(j + 1) + "} = " + D(r.Delta[i][j]) + " " +
                  std::string(kUnits[i][j]);
    }
    w.Line(values + "; δ_{ji} = δ_{ij},");
    w.Where({{"L", "длина плеча, м"},
             {"m_{i0}, m_{i1}", "единичный момент в начале и в конце плеча"},
             {"φ", "угол плеча к оси x"}});
}

void AddCaseSolution(MethodWriter& w, const CompensationResult& r, bool heating, int digits)
{
    const auto D = [&](long double value) { return FormatSignificant(value, digits, w.Mark()); };
    const CompensationCase& c = r.Of(heating);
    const SectionPoint& b = r.Points.back();
    const std::string dt = heating ? "Δt_{+}" : "Δt_{−}";
    w.Step(std::string(heating ? "Нагрев" : "Охлаждение") + ": Δt = " + w.V(c.TemperatureChange) + " °C");
    w.Line("Δ_{1t} = α·" + dt + "·x_{Б} = " + w.C(kThermalExpansion) + "·" + Term(w, c.TemperatureChange) + "·" +
           Term(w, b.X) + " = " + D(c.FreeMovement[0]) + " м; Δ_{2t} = α·" + dt + "·y_{Б} = " +
           w.C(kThermalExpansion) + "·" + Term(w, c.TemperatureChange) + "·" + Term(w, b.Y) + " = " +
           D(c.FreeMovement[1]) + " м; Δ_{3t} = 0;");
    for (int i = 0; i < 3; ++i) {
        std::string line;
        for (int j = 0; j < 3; ++j) {
            const long double delta = r.Delta[i][j];
            const std::string magnitude = D(delta < 0 ? -delta : delta);
            line += j == 0 ? (delta < 0 ? "−" : "") : (delta < 0 ? " − " : " + ");
            line += magnitude + "·X_{" + std::to_string(j + 1) + "}";
        }
        line += " = " + D(-static_cast<long double>(c.FreeMovement[i])) + ";";
        w.Line(line);
    }
    // The frictionless frame's solution; with friction or guides the tables give the section's own.
    const std::array<double, 3> x = FrameUnknowns(r, heating);
    const double ma = static_cast<double>(-(static_cast<long double>(x[2]) + static_cast<long double>(b.X) * x[1] -
                                            static_cast<long double>(b.Y) * x[0])) + 0.0;
    w.Line("X_{1} = " + w.R(x[0], "Н") + "; X_{2} = " + w.R(x[1], "Н") + "; X_{3} = " + w.R(x[2], "Н·м") + ";");
    w.Line("опора Б: F_{xБ} = X_{1}, F_{yБ} = X_{2}, M_{Б} = X_{3}; опора А из равновесия: F_{xА} = −X_{1} = " +
           w.R(-x[0] + 0.0, "Н") + "; F_{yА} = −X_{2} = " + w.R(-x[1] + 0.0, "Н") +
           "; M_{А} = −(X_{3} + x_{Б}·X_{2} − y_{Б}·X_{1}) = " + w.R(ma, "Н·м") + ".");
    if (!r.FrictionMethod.empty() || !r.Section.Guides.empty()) {
        w.Remark("Это решение рамы без трения и без направляющих; усилия и перемещения таблиц ниже — "
                 "с трением скользящих опор и силами направляющих.");
        return;
    }
    w.Where({});
}

// The largest movement of a corner, over both cases, with its values put in: the unit-load
// method on the cantilever from А, a unit force at the corner along x and along y.
void AddCornerMovement(MethodWriter& w, const CompensationResult& r)
{
    const std::size_t nodes = r.Points.size();
    // The straight legs' integrals give the movement of the frictionless frame of sharp corners;
    // bends, guides and friction are in the stiffness solution, whose movements the tables give.
    if (nodes <= 2 || Built(r)) {
        return;
    }
    const bool heating = r.Heating.MaxCornerMovement >= r.Cooling.MaxCornerMovement;
    const CompensationCase& c = r.Of(heating);
    const std::size_t corner = c.MaxMovementNode;
    const SectionPoint& p = r.Points[corner];
    const std::vector<LegDirection> directions = SectionDirections(r.Section);
    const std::string name = NodeName(corner, nodes);
    w.Step("Наибольшее перемещение угла: угол " + name + ", " + CaseName(heating));
    w.Line("Способ единичной нагрузки на основной системе — консоли, защемленной в опоре А: сила 1 в "
           "угле " + name + " вдоль оси x дает на плечах от А до угла момент m_{x} = y − y_{" + name +
           "} и продольную силу n_{x} = cos φ, вдоль оси y — m_{y} = x_{" + name + "} − x и n_{y} = "
           "sin φ (x_{" + name + "} = " + w.V(p.X) + " м, y_{" + name + "} = " + w.V(p.Y) + " м);");
    w.Line("u_{x} = α·Δt·x_{" + name + "} + Σ L·(m_{x0}·M_{0} + (m_{x0}·M_{1} + m_{x1}·M_{0})/2 + "
           "m_{x1}·M_{1})/(3·E·I) + Σ n_{x}·N·L/(E·A), u_{y} — так же с m_{y}, n_{y} и y_{" + name + "};");
    for (const bool along : {true, false}) {
        std::string bending;
        std::string axial;
        for (std::size_t k = 0; k < corner; ++k) {
            const long double length = r.Section.Legs[k];
            const LegForces& leg = c.Legs[k];
            const long double m0 = along ? static_cast<long double>(r.Points[k].Y) - p.Y
                                         : static_cast<long double>(p.X) - r.Points[k].X;
            const long double m1 = along ? static_cast<long double>(r.Points[k + 1].Y) - p.Y
                                         : static_cast<long double>(p.X) - r.Points[k + 1].X;
            const long double M0 = leg.MStart;
            const long double M1 = leg.MEnd;
            const long double integral = length * (m0 * M0 + (m0 * M1 + m1 * M0) / 2 + m1 * M1) / 3;
            const long double n = along ? directions[k].Cos : directions[k].Sin;
            bending += (bending.empty() ? "" : " + ") + Term(w, integral);
            axial += (axial.empty() ? "" : " + ") + Term(w, n * leg.N * length);
        }
        if (corner > 1) {
            bending = "(" + bending + ")";
            axial = "(" + axial + ")";
        }
        const double movement = along ? c.Nodes[corner].Ux : c.Nodes[corner].Uy;
        const long double coordinate = along ? p.X : p.Y;
        w.Line(std::string(along ? "u_{x}" : "u_{y}") + " = " + w.C(kThermalExpansion) + "·" +
               Term(w, c.TemperatureChange) + "·" + Term(w, coordinate) + " + " + bending + "/" +
               w.V(r.Tube.BendingStiffness) + " + " + axial + "/" + w.V(r.Tube.AxialStiffness) + " = " +
               w.V(static_cast<long double>(movement) / 1000) + " м;");
    }
    const NodeMovement& u = c.Nodes[corner];
    w.Line("u = √(u_{x}^{2} + u_{y}^{2}) = √((" + w.V(u.Ux) + " мм)^{2} + (" + w.V(u.Uy) + " мм)^{2}) = " +
           w.R(c.MaxCornerMovement, "мм") + ",");
    w.Where({{"M_{0}, M_{1}", "изгибающие моменты в начале и в конце плеча (таблица усилий в плечах)"},
             {"N", "продольная сила плеча"}});
}

// The bends' factors with the values put in.
void AddBends(MethodWriter& w, const CompensationResult& r)
{
    const BendFactors& bend = r.Bend;
    if (!(bend.Radius > 0)) {
        return;
    }
    w.Step("Отводы: коэффициенты гибкости и интенсификации напряжений");
    w.Line("R = " + w.V(static_cast<long double>(bend.Radius) * 1000) + " мм; r = (D − t)/2 = (" + w.V(r.OuterDiameter) +
           " − " + w.V(r.WallThickness) + ")/2 = " + w.V(bend.MeanRadius) + " м;");
    w.Line("λ = t·R/r^{2} = " + w.V(r.WallThickness) + "·" + w.V(bend.Radius) + "/" + w.V(bend.MeanRadius) +
           "^{2} = " + w.V(bend.Lambda) + ";");
    w.Line("K = max(1; 1,65/λ) = max(1; 1,65/" + w.V(bend.Lambda) + ") = " + w.V(bend.Flexibility) +
           "; i = max(1; 0,9/λ^{2/3}) = max(1; 0,9/" + w.V(bend.Lambda) + "^{2/3}) = " +
           w.V(bend.Intensification) + ",");
    w.Where({{"R", "радиус оси отвода"},
             {"r", "средний радиус сечения трубы"},
             {"λ", "параметр гибкости отвода"},
             {"K", "коэффициент гибкости: податливость отвода на изгиб в K раз больше, чем у прямой трубы"},
             {"i", "коэффициент интенсификации напряжений изгиба в отводе"}});
    w.Remark("Коэффициенты гладкого отвода по теории Кармана (сплющивание сечения кривой трубы), в виде, "
             "принятом нормами на трубопроводы; номера пунктов норм не приводятся — их текст не проверен. "
             "Повышение жесткости отвода внутренним давлением не учтено (в запас по напряжениям в отводе).");
}

// The sliding supports and guides: how many slide and how many stick in each case.
void AddSupports(NoteDocument& note, const CompensationResult& r)
{
    if (r.Supports.empty()) {
        return;
    }
    std::size_t sliding = 0;
    std::size_t guides = 0;
    for (const SupportPlace& support : r.Supports) {
        (support.Kind == SupportKind::Guide ? guides : sliding) += 1;
    }
    std::string text = "Опоры вдоль плеч: скользящих " + std::to_string(sliding) + ", направляющих " +
                       std::to_string(guides);
    // How they were placed: the governing spans of a beam of as many spans, the designer's own
    // step (the larger count of the two), the designer's edits.
    std::string how;
    if (r.Placement.Rules) {
        how = "расстановка по " + std::string(RuleSetName(*r.Placement.Rules)) +
              (r.Section.SupportStep ? " и заданному шагу опор" : "");
    } else if (r.Section.SupportStep) {
        how = "расстановка по заданному шагу опор";
    }
    if (std::any_of(r.Supports.begin(), r.Supports.end(), [](const SupportPlace& p) { return p.Edited; })) {
        how += std::string(how.empty() ? "" : ", ") + "с правками проектировщика";
    }
    if (r.SupportRules) {
        how += std::string(how.empty() ? "" : ", ") + "нагрузки по " + std::string(RuleSetName(*r.SupportRules));
    }
    if (!how.empty()) {
        text += " (" + how + ")";
    }
    for (const bool heating : {true, false}) {
        const CompensationCase& c = r.Of(heating);
        text += std::string("; ") + CaseName(heating) + ": скользят " + std::to_string(c.SlidingSupports) +
                ", не сдвигаются (сила на опоре меньше μ·V) " + std::to_string(c.StickingSupports);
        if (c.FrictionSteps > 0) {
            text += ", шагов по температуре " + std::to_string(c.FrictionSteps);
        }
    }
    note.AddParagraph(text + ".");
}

// The stability of the compressed legs against Euler's force, with the warning above 1.
void AddStability(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    NoteTable table;
    table.Title = "Продольная устойчивость сжатых плеч";
    table.Rows.push_back({{"Плечо", true},
                          {"Случай", true},
                          {"N, Н", true},
                          {"Lв, м", true},
                          {"Nкр.в, Н", true},
                          {"Lг, м", true},
                          {"Nкр.г, Н", true},
                          {"N/Nкр", true}});
    table.Alignment.assign(8, CellAlignment::Right);
    table.Alignment[0] = CellAlignment::Center;
    table.Alignment[1] = CellAlignment::Left;
    table.WidthPercent = {9, 14, 13, 10, 15, 10, 15, 14};
    std::vector<std::string> warnings;
    for (const bool heating : {true, false}) {
        for (const BucklingRow& row : r.Of(heating).Buckling) {
            table.Rows.push_back({{std::to_string(row.Leg + 1)},
                                  {CaseName(heating)},
                                  {Fixed(row.Compression, separator)},
                                  {Fixed(row.VerticalLength, separator)},
                                  {Fixed(row.CriticalVertical, separator)},
                                  {Fixed(row.HorizontalLength, separator)},
                                  {Fixed(row.CriticalHorizontal, separator)},
                                  {Fixed(row.Ratio, separator), !row.Stable}});
            if (!row.Stable) {
                warnings.push_back("Внимание: плечо " + std::to_string(row.Leg + 1) + " (" + CaseName(heating) +
                                   ", N/N_{кр} = " + Fixed(row.Ratio, separator) + "): " +
                                   std::string(kStabilityWarning) + ".");
            }
        }
    }
    if (table.Rows.size() == 1) {
        return;
    }
    AddFormulaParagraph(note, "Сжатое плечо проверяется по силе Эйлера N_{кр} = π^{2}·E·I/L^{2} шарнирно опертого "
                              "стержня: в вертикальной плоскости L_{в} — наибольший пролет между скользящими "
                              "опорами плеча, в горизонтальной L_{г} — наибольшая прямая длина между "
                              "направляющими, отводами и неподвижными опорами; N/N_{кр} больше 1 — "
                              "продольная устойчивость не обеспечена.");
    note.AddTable(std::move(table));
    for (const std::string& warning : warnings) {
        note.Blocks.emplace_back(NoteParagraph{warning, true, true});
    }
}

// The parts of the longitudinal stress at the governing point.
void AddStressParts(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    const StressParts& heating = r.Heating.Stress;
    const StressParts& cooling = r.Cooling.Stress;
    if (heating.Total == 0 && cooling.Total == 0) {
        return;
    }
    NoteTable table;
    table.Title = "Продольные напряжения в расчетной точке, МПа";
    table.Rows.push_back({{"Составляющая", true}, {"Нагрев", true}, {"Охлаждение", true}});
    table.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Right};
    table.WidthPercent = {50, 25, 25};
    const auto row = [&](std::string label, double StressParts::*part) {
        table.Rows.push_back({{std::move(label)}, {Fixed(heating.*part, separator)}, {Fixed(cooling.*part, separator)}});
    };
    row("от давления p·d/(4·t)", &StressParts::Pressure);
    row("от веса M/W, M = q·ℓ²/12", &StressParts::Weight);
    row("от температуры |N|/A + i·|M|/W", &StressParts::Temperature);
    row("сумма", &StressParts::Total);
    note.AddTable(std::move(table));
    note.AddParagraph("Пролет ℓ = " + Fixed(heating.WeightSpan, separator) + " м, момент от веса M = " +
                      Fixed(heating.WeightMoment, separator) + " Н·м. Допускаемое напряжение [σ]к "
                      "относится к температурной составляющей.");
}

// What the model still leaves out, said once at the end of the section.
void AddNeglected(NoteDocument& note)
{
    note.AddParagraph(
        "Модель не учитывает: повышение жесткости отводов внутренним давлением; податливость "
        "неподвижных опор и их фундаментов; неравномерный нагрев по длине и по сечению трубы (солнце, "
        "ветер); изгиб рамы из ее плоскости, в том числе от веса (вес учтен только в напряжениях и "
        "нагрузках опор); трение в направляющих поперек плеча; зазоры в опорах; сдвиговые "
        "деформации; ползучесть и пластические деформации стали.");
}

void AddResultsTables(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    const std::size_t nodes = r.Points.size();
    if (Built(r)) {
        // With bends, sliding supports and guides the forces change along a leg and the bends
        // raise the stress: the tables hold the stiffness solution, not the force method's frame.
        AddFormulaParagraph(note,
            "Реакция — сила, с которой опора действует на трубу; изгибающий момент в точке — момент "
            "нагрузок на часть трубы от точки до опоры Б, против часовой стрелки положителен; "
            "продольная сила N положительна при растяжении. Значения таблиц — решение рамы с "
            "отводами, скользящими и направляющими опорами и трением методом перемещений (прямые "
            "плечи и дуги отводов с податливостью на изгиб, увеличенной в K раз); метод сил выше "
            "решает ту же раму без скользящих и направляющих опор и трения и дан для сравнения. "
            "Напряжение "
            "σ = |N|/A + i·|M|/W, где i = 1 на прямых плечах, на отводах — коэффициент "
            "интенсификации напряжений i.");
    } else {
        AddFormulaParagraph(note,
            "Продольная сила плеча N = X_{1}·cos φ + X_{2}·sin φ (растяжение положительно); изгибающий "
            "момент в точке (x; y) M = X_{3} + (x_{Б} − x)·X_{2} − (y_{Б} − y)·X_{1} — момент нагрузок "
            "на часть трубы от точки до опоры Б, против часовой стрелки положителен (в опоре Б он равен "
            "M_{Б}, в опоре А — M_{А} с обратным знаком). Реакция — сила, с которой опора действует на "
            "трубу. Напряжение σ = |N|/A + |M|/W на концах плеч. Перемещения углов найдены способом "
            "единичной нагрузки: u = α·Δt·(x; y) + Σ∫m·M/(E·I)ds + Σn·N·L/(E·A) по плечам от опоры А до "
            "угла, где m и n — момент и продольная сила от единичной силы в угле вдоль оси x или y на "
            "консоли, защемленной в опоре А.");
    }

    NoteTable summary;
    summary.Rows.push_back({{"Величина", true}, {"Нагрев", true}, {"Охлаждение", true}});
    summary.Alignment = {CellAlignment::Left, CellAlignment::Right, CellAlignment::Right};
    summary.WidthPercent = {50, 25, 25};
    auto row = [&](std::string label, auto cell) {
        summary.Rows.push_back({{std::move(label)}, {cell(r.Heating)}, {cell(r.Cooling)}});
    };
    row("Перепад температуры Δt, °C", [&](const CompensationCase& c) { return FormatGeneral(c.TemperatureChange, separator); });
    row("Свободное удлинение α·Δt·ΣL, мм", [&](const CompensationCase& c) { return Fixed(c.FreeElongation, separator); });
    row("Опора А: Fx, Н", [&](const CompensationCase& c) { return Fixed(c.A.Fx, separator); });
    row("Опора А: Fy, Н", [&](const CompensationCase& c) { return Fixed(c.A.Fy, separator); });
    row("Опора А: M, Н·м", [&](const CompensationCase& c) { return Fixed(c.A.M, separator); });
    row("Опора Б: Fx, Н", [&](const CompensationCase& c) { return Fixed(c.B.Fx, separator); });
    row("Опора Б: Fy, Н", [&](const CompensationCase& c) { return Fixed(c.B.Fy, separator); });
    row("Опора Б: M, Н·м", [&](const CompensationCase& c) { return Fixed(c.B.M, separator); });
    row("Наибольший момент, Н·м", [&](const CompensationCase& c) {
        return Fixed(c.MaxMoment, separator) + " (" + MaxMomentPlace(c, nodes) + ")";
    });
    row("Наибольшее напряжение σ, МПа", [&](const CompensationCase& c) {
        return Fixed(c.MaxStress, separator) + " (" + MaxStressPlace(c) + ")";
    });
    if (nodes > 2) {
        row("Наибольшее перемещение угла, мм", [&](const CompensationCase& c) {
            return Fixed(c.MaxCornerMovement, separator) + " (" + NodePlace(c.MaxMovementNode, nodes) + ")";
        });
    }
    summary.Title = "Результаты расчета участка";
    note.AddTable(std::move(summary));

    NoteTable legs;
    legs.Rows.push_back({{"Плечо", true},
                         {"Случай", true},
                         {"N, Н", true},
                         {"M в начале, Н·м", true},
                         {"M в конце, Н·м", true}});
    legs.Alignment = {CellAlignment::Center, CellAlignment::Left, CellAlignment::Right, CellAlignment::Right,
                      CellAlignment::Right};
    legs.WidthPercent = {10, 18, 24, 24, 24};
    for (std::size_t k = 0; k < r.Section.Legs.size(); ++k) {
        for (const bool heating : {true, false}) {
            const LegForces& leg = r.Of(heating).Legs[k];
            legs.Rows.push_back({{std::to_string(k + 1)},
                                 {CaseName(heating)},
                                 {Fixed(leg.N, separator)},
                                 {Fixed(leg.MStart, separator)},
                                 {Fixed(leg.MEnd, separator)}});
        }
    }
    legs.Title = "Усилия в плечах";
    note.AddTable(std::move(legs));

    if (nodes > 2) {
        NoteTable movements;
        movements.Rows.push_back({{"Угол", true},
                                  {"x, м", true},
                                  {"y, м", true},
                                  {"Нагрев: ux, мм", true},
                                  {"Нагрев: uy, мм", true},
                                  {"Охлаждение: ux, мм", true},
                                  {"Охлаждение: uy, мм", true}});
        movements.WidthPercent = {10, 10, 10, 17, 17, 18, 18};
        movements.Alignment.assign(7, CellAlignment::Right);
        movements.Alignment[0] = CellAlignment::Center;
        for (std::size_t i = 1; i + 1 < nodes; ++i) {
            movements.Rows.push_back({{NodeName(i, nodes)},
                                      {FormatGeneral(r.Points[i].X, separator)},
                                      {FormatGeneral(r.Points[i].Y, separator)},
                                      {Fixed(r.Heating.Nodes[i].Ux, separator)},
                                      {Fixed(r.Heating.Nodes[i].Uy, separator)},
                                      {Fixed(r.Cooling.Nodes[i].Ux, separator)},
                                      {Fixed(r.Cooling.Nodes[i].Uy, separator)}});
        }
        movements.Title = "Перемещения углов (опоры А и Б неподвижны)";
        note.AddTable(std::move(movements));
    }
}

void AddFrictionAndDesignForces(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    AddCaption(note, "Нагрузки на неподвижные опоры");
    if (!r.SP && !r.SNiP) {
        note.AddParagraph("Трение скользящих опор и расчетные горизонтальные силы не определены: для них "
                          "нужны коэффициент трения в опорах и нагрузка q выполненного расчета пролета. "
                          "Упругие силы — реакции опор в таблице результатов.");
        return;
    }
    const RuleSetCompensation& any = r.SP ? *r.SP : *r.SNiP;
    std::string loads;
    for (const auto* set : {&r.SP, &r.SNiP}) {
        if (*set) {
            loads += loads.empty() ? "" : "; ";
            loads += std::string(RuleSetName((*set)->Rules)) + " — " +
                     ((*set)->Rules == RuleSet::SP ? "вертикальная нагрузка сочетания" : "расчетная суммарная нагрузка") +
                     " q = " + Fixed((*set)->VerticalLoad, separator) + " Н/м";
        }
    }
    AddCaption(note, "Трение скользящих опор найдено вместе с реакциями участка, на каждой опоре не больше "
                      "μ·V; F_{тр} — трение опор плеча, примыкающего к неподвижной опоре, вдоль этого плеча "
                      "(нагрев); μ = " + FormatGeneral(any.Friction, separator) + ", q: " + loads +
                      ". Расчетная горизонтальная сила на неподвижную опору — ее реакция с трением, вдоль "
                      "плеча и поперек него, по модулю.",
               false, true);
    NoteTable table;
    table.Title = "Расчетные горизонтальные силы на неподвижные опоры";
    table.Rows.push_back({{"Нормы", true},
                          {"Опора", true},
                          {"Случай", true},
                          {"Fтр, Н", true},
                          {"Вдоль плеча, Н", true},
                          {"Поперек плеча, Н", true}});
    table.Alignment = {CellAlignment::Left,  CellAlignment::Center, CellAlignment::Left,
                       CellAlignment::Right, CellAlignment::Right,  CellAlignment::Right};
    table.WidthPercent = {22, 10, 17, 17, 17, 17};
    for (const auto* set : {&r.SP, &r.SNiP}) {
        if (!*set) {
            continue;
        }
        const RuleSetCompensation& s = **set;
        for (const bool a : {true, false}) {
            for (const bool heating : {true, false}) {
                const CaseDesignForces& forces = heating ? s.Heating : s.Cooling;
                const DesignForce& force = a ? forces.A : forces.B;
                table.Rows.push_back({{std::string(RuleSetName(s.Rules))},
                                      {a ? "А" : "Б"},
                                      {CaseName(heating)},
                                      {Fixed(a ? s.SupportsFriction.A : s.SupportsFriction.B, separator)},
                                      {Fixed(force.Along, separator)},
                                      {Fixed(force.Across, separator)}});
            }
        }
    }
    note.AddTable(std::move(table));
}

void AddChecks(NoteDocument& note, const CompensationResult& r, std::string_view separator)
{
    AddCaption(note, "Проверки");
    if (r.Stress) {
        const StressCheck& s = *r.Stress;
        AddFormulaParagraph(note, "Наибольшее напряжение σ = " + Fixed(s.Stress, separator) + " МПа (" +
                          CaseName(s.Heating) + ") " + (s.Passes ? "≤" : ">") +
                          " [σ]_{к} = " + FormatGeneral(s.Allowable, separator) + " МПа — " +
                          (s.Passes ? "проходит." : "не проходит."));
    } else {
        AddFormulaParagraph(note, "Допускаемое напряжение компенсации [σ]_{к} не задано: напряжение приведено без "
                          "оценки. Программа не назначает [σ]_{к} сама — его задает проектировщик по "
                          "применяемым нормам.");
    }
    if (r.Movement) {
        const MovementCheck& m = *r.Movement;
        const std::size_t nodes = r.Points.size();
        const CompensationCase& c = r.Of(m.Heating);
        const std::string where = nodes > 2 ? " (" + CaseName(m.Heating) + ", " + NodePlace(c.MaxMovementNode, nodes) + ")"
                                            : " (углов нет)";
        AddFormulaParagraph(note, "Наибольшее перемещение угла u = √(u_{x}^{2} + u_{y}^{2}) = " + Fixed(m.Movement, separator) +
                          " мм" + where + " " + (m.Passes ? "≤" : ">") + " l_{б}/2 = " +
                          FormatGeneral(m.HalfShoe, separator) + " мм, половины длины башмака опоры — " +
                          (m.Passes ? "проходит." : "не проходит."));
    }
}

}  // namespace

std::string CompensationNoteHeading(const CompensationResult& result)
{
    std::string heading = "Компенсация температурных деформаций";
    if (!result.Section.Name.empty()) {
        heading += ". " + result.Section.Name;
    }
    return heading;
}

std::string CompensationNoteHeading(const CompensationResult& result, std::string_view decimalSeparator)
{
    return CompensationNoteHeading(result) + ", труба " + PipeText(result, decimalSeparator);
}

void AddCompensationNote(NoteDocument& note, const CompensationResult& result,
                         std::string_view decimalSeparator, const std::optional<NoteDrawing>& drawing,
                         std::string_view heading)
{
    note.AddHeading(heading.empty() ? CompensationNoteHeading(result) : std::string(heading));
    if (drawing) {
        note.AddDrawing(*drawing);
    }
    AddSectionDescription(note, result, decimalSeparator);
    AddAssumptions(note, result);
    AddBasis(note, result, decimalSeparator);
    MethodWriter w(note, decimalSeparator);
    AddTube(w, result);
    AddTemperatures(w, result, decimalSeparator);
    AddBends(w, result);
    const int digits = ForceMethodDigits(result);
    AddForceMethod(w, result, digits);
    AddCaseSolution(w, result, true, digits);
    AddCaseSolution(w, result, false, digits);
    AddCornerMovement(w, result);
    AddCompensationResults(note, result, decimalSeparator);
    AddNeglected(note);
}

void AddCompensationResults(NoteDocument& note, const CompensationResult& result,
                            std::string_view decimalSeparator)
{
    AddResultsTables(note, result, decimalSeparator);
    AddSupports(note, result);
    AddFrictionAndDesignForces(note, result, decimalSeparator);
    AddStability(note, result, decimalSeparator);
    AddStressParts(note, result, decimalSeparator);
    AddChecks(note, result, decimalSeparator);
}

std::vector<std::string> CompensationLines(const CompensationResult& r, std::string_view separator)
{
    std::vector<std::string> lines;
    const std::size_t nodes = r.Points.size();
    lines.push_back(CompensationNoteHeading(r) + ": " + SectionRouteText(r.Section, separator) + ", труба " +
                    PipeText(r, separator));
    for (const bool heating : {true, false}) {
        const CompensationCase& c = r.Of(heating);
        lines.push_back(std::string("  ") + (heating ? "Нагрев" : "Охлаждение") + ": Δt = " +
                        Celsius(c.TemperatureChange, separator) + ", свободное удлинение " +
                        Fixed(c.FreeElongation, separator) + " мм");
        for (const bool a : {true, false}) {
            const SupportReaction& s = a ? c.A : c.B;
            lines.push_back(std::string("    Опора ") + (a ? "А" : "Б") + ": Fx = " + Fixed(s.Fx, separator) +
                            " Н, Fy = " + Fixed(s.Fy, separator) + " Н, M = " + Fixed(s.M, separator) + " Н·м");
        }
        for (std::size_t k = 0; k < c.Legs.size(); ++k) {
            lines.push_back("    Плечо " + std::to_string(k + 1) + ": N = " + Fixed(c.Legs[k].N, separator) +
                            " Н, M в начале = " + Fixed(c.Legs[k].MStart, separator) + " Н·м, M в конце = " +
                            Fixed(c.Legs[k].MEnd, separator) + " Н·м");
        }
        for (std::size_t i = 1; i + 1 < nodes; ++i) {
            lines.push_back("    Угол " + NodeName(i, nodes) + " (" + FormatGeneral(r.Points[i].X, separator) +
                            "; " + FormatGeneral(r.Points[i].Y, separator) + "): ux = " +
                            Fixed(c.Nodes[i].Ux, separator) + " мм, uy = " + Fixed(c.Nodes[i].Uy, separator) +
                            " мм");
        }
        lines.push_back("    Наибольший момент " + Fixed(c.MaxMoment, separator) + " Н·м (" +
                        MaxMomentPlace(c, nodes) + "), наибольшее напряжение " + Fixed(c.MaxStress, separator) +
                        " МПа (" + MaxStressPlace(c) + ")");
    }
    for (const auto* set : {&r.SP, &r.SNiP}) {
        if (!*set) {
            continue;
        }
        const RuleSetCompensation& s = **set;
        lines.push_back("  " + std::string(RuleSetName(s.Rules)) + ": трение опор плеча на опоре А " +
                        Fixed(s.SupportsFriction.A, separator) + " Н, на опоре Б " +
                        Fixed(s.SupportsFriction.B, separator) + " Н");
        for (const bool heating : {true, false}) {
            const CaseDesignForces& f = heating ? s.Heating : s.Cooling;
            lines.push_back(std::string("    Расчетные силы, ") + CaseName(heating) + ": опора А вдоль " +
                            Fixed(f.A.Along, separator) + " Н, поперек " + Fixed(f.A.Across, separator) +
                            " Н; опора Б вдоль " + Fixed(f.B.Along, separator) + " Н, поперек " +
                            Fixed(f.B.Across, separator) + " Н");
        }
    }
    if (r.Stress) {
        lines.push_back("  Напряжение " + Fixed(r.Stress->Stress, separator) + " МПа, [σ]к = " +
                        FormatGeneral(r.Stress->Allowable, separator) + " МПа: " +
                        (r.Stress->Passes ? "проходит" : "не проходит"));
    }
    if (r.Movement) {
        lines.push_back("  Перемещение угла " + Fixed(r.Movement->Movement, separator) + " мм, половина башмака " +
                        FormatGeneral(r.Movement->HalfShoe, separator) + " мм: " +
                        (r.Movement->Passes ? "проходит" : "не проходит"));
    }
    return lines;
}

}  // namespace korvelin
