#include "korvelin/CalculationMethod.h"

#include "MethodWriter.h"

#include "korvelin/ClimaticLoads.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/NoteSources.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/Selectors.h"

#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <utility>

namespace korvelin {
namespace {

// The temperature of 0 °C in kelvins: the gas of the SNiP weight is taken at it.
constexpr long double kZeroCelsius = 273.15L;

std::string Rules(RuleSet rules) { return " (" + std::string(RuleSetName(rules)) + ")"; }

std::string CriterionHeading(int number, Criterion criterion)
{
    return std::to_string(number) + ". " + std::string(CriterionLabel(criterion)) +
           Rules(RuleSetOf(criterion));
}

std::string ItemOf(std::span<const std::string_view> items, int index)
{
    return index >= 0 && index < static_cast<int>(items.size())
               ? std::string(items[static_cast<std::size_t>(index)])
               : std::string();
}

std::string Sp() { return std::string(kSourceSP); }
std::string SNiP() { return std::string(kSourceSNiP); }
std::string Loads() { return std::string(kSourceLoads); }

// Where a normative value comes from: the loads code for the selected region, or the site's own
// source with its number in the list.
std::string ValueSource(const MethodWriter& w, ClimateValue which, bool own,
                        std::span<const std::string_view> regions, int region)
{
    if (!own) {
        return "по " + Loads() + " для района " + ItemOf(regions, region);
    }
    const OwnClimateEntry& entry = w.OwnTexts().*InfoOf(which).Entry;
    const std::string number = OwnSourceNumber(w.OwnTexts(), entry.Source);
    return "задан пользователем" + (number.empty() ? std::string() : " по " + number);
}

void AddInput(MethodWriter& w, const SpanInput& in)
{
    w.Step("Исходные величины в единицах формул");
    w.Line("D = " + w.V(in.OuterDiameter) + " м; t = " + w.V(in.WallThickness) + " м; p = " +
           w.V(in.Pressure) + " МПа; σ_{в} = " + w.V(in.UltimateStrength) + " МПа; σ_{т} = " +
           w.V(in.YieldStrength) + " МПа,");
    w.Where({{"D", "наружный диаметр трубы"},
             {"t", "толщина стенки трубы"},
             {"p", "рабочее давление газа"},
             {"σ_{в}", "предел прочности (временное сопротивление) стали"},
             {"σ_{т}", "предел текучести стали"}});
}

void AddAllowableStresses(MethodWriter& w, const CalculationTrace& tr)
{
    const SpanInput& in = tr.Input;
    const std::string material = w.C(kMaterialFactorSNiP);
    const std::string ultimate = w.C(kUltimateStrengthFactor);
    const std::string yield = w.C(kYieldStrengthFactor);
    w.Step("1. Допускаемые напряжения");
    w.Source("R′ — " + SNiP() + ", R — " + Sp());
    w.Line("R′ = σ_{т}/" + material + " = " + w.V(in.YieldStrength) + "/" + material + " = " +
           w.I(tr.AllowableStressSNiP, "МПа") + Rules(RuleSet::SNiP) + ";");
    w.Line("R_{1} = σ_{в}/" + ultimate + " = " + w.V(in.UltimateStrength) + "/" + ultimate +
           " = " + w.I(tr.Candidates.ByUltimate, "МПа") + "; R_{2} = σ_{т}/" + yield + " = " +
           w.V(in.YieldStrength) + "/" + yield + " = " + w.I(tr.Candidates.ByYield, "МПа") + ";");
    w.Line("R = min(R_{1}; R_{2}) = " + w.I(tr.AllowableStressSP, "МПа") + Rules(RuleSet::SP) +
           ",");
    w.Where({{"R′", "допускаемое напряжение по СНиП 2.04.12-86 (величины по этим нормам "
                    "отмечены штрихом)"},
             {material, "коэффициент надежности по материалу трубы"},
             {"R_{1}, R_{2}", "допускаемые напряжения по пределу прочности и по пределу "
                              "текучести, " + ultimate + " и " + yield +
                                  " — коэффициенты запаса"},
             {"R", "допускаемое напряжение по СП 42-102-2004"}});
}

void AddWeights(MethodWriter& w, const CalculationTrace& tr)
{
    const SpanInput& in = tr.Input;
    const std::string D = w.V(in.OuterDiameter);
    const std::string t = w.V(in.WallThickness);
    const std::string p = w.V(in.Pressure);
    w.Step("2. Вес трубы");
    w.Source("вес стенки трубы по площади ее сечения π·(D − t)·t (по среднему диаметру); одна "
             "величина для " + Sp() + " и " + SNiP());
    w.Line("q_{тр} = π·ρ·g·(D − t)·t = " + w.C(kPi) + "·" + w.C(kSteelDensity) + "·" +
           w.C(kGravity) + "·(" + D + " − " + t + ")·" + t + " = " + w.I(tr.PipeWeight, "Н/м") +
           ",");
    w.Where({{"π", "число π, принятое равным " + w.C(kPi)},
             {"ρ", "плотность стали, " + w.C(kSteelDensity) + " кг/м³"},
             {"g", "ускорение свободного падения, " + w.C(kGravity) + " м/с²"}});

    const std::string factor = w.C(kGasFactorSP);
    const std::string piG = w.C(kPiGravity);
    const std::string gasDivisor = w.C(kGasDivisorSNiP);
    const std::string divisor = gasDivisor + "·" + w.C(kPascalsPerMegapascal);
    w.Step("3. Вес газа");
    w.Source("q_{г} — " + Sp() + ", q′_{г} — " + SNiP());
    w.Line("q_{г} = " + factor + "·p·(D − 2·t)² = " + factor + "·" + p + "·(" + D + " − 2·" + t +
           ")² = " + w.I(tr.GasWeightSP, "Н/м") + Rules(RuleSet::SP) + ";");
    w.Line("q′_{г} = " + piG + "·p·(D − t)²/" + divisor + " = " + piG + "·" + p + "·(" + D +
           " − " + t + ")²/" + divisor + " = " + w.I(tr.GasWeightSNiP, "Н/м") +
           Rules(RuleSet::SNiP) + ",");
    w.Where({{"D − 2·t", "внутренний диаметр трубы"},
             {"D − t", "средний диаметр трубы"},
             {factor, "числовой множитель формулы СП 42-102-2004 (q_{г} в Н/м при p в МПа и "
                      "диаметре в м)"},
             {piG + " = " + w.C(kPi) + "·" + w.C(kGravity),
              "произведение π·g, записанное одним числом"},
             {gasDivisor + " = 4·518·" + w.C(kZeroCelsius),
              "формула дает вес газа плотностью p·10⁶/(518·" + w.C(kZeroCelsius) +
                  ") кг/м³ (уравнение состояния идеального газа с газовой постоянной метана "
                  "518 Дж/(кг·К) при " + w.C(kZeroCelsius) + " К, то есть 0 °C) в круге "
                  "площадью π·(D − t)²/4"},
             {w.C(kPascalsPerMegapascal), "перевод МПа в Па"}});
}

void AddClimaticLoads(MethodWriter& w, const CalculationTrace& tr)
{
    const SpanInput& in = tr.Input;
    const std::string D = w.V(in.OuterDiameter);
    const std::string kilo = w.C(kNewtonsPerKilonewton);
    w.Step("4. Снеговая нагрузка");
    w.Source("q_{сн} — " + Sp() + ", q′_{сн} — " + SNiP() + "; S " +
             ValueSource(w, ClimateValue::SnowWeight, in.Own.SnowWeight.has_value(),
                         SnowRegionItems(), in.SnowRegion));
    w.Line("q_{сн} = μ·S·D·" + kilo + " = " + w.V(tr.SnowSP.Factor) + "·" + w.V(tr.SnowSP.Weight) +
           "·" + D + "·" + kilo + " = " + w.I(tr.SnowSP.Load, "Н/м") + Rules(RuleSet::SP) + ";");
    w.Line("q′_{сн} = " + w.C(kSnowFactorSNiP) + "·S·D·" + kilo + " = " + w.C(kSnowFactorSNiP) +
           "·" + w.V(tr.SnowSNiP.Weight) + "·" + D + "·" + kilo + " = " +
           w.I(tr.SnowSNiP.Load, "Н/м") + Rules(RuleSet::SNiP) + ",");
    w.Where({{"μ", "коэффициент: " + w.C(kSnowFactorSP) + " при D ≤ " +
                       w.C(kSnowFactorThreshold) + " м, " + w.C(kSnowFactorSPLarge) +
                       " при большем диаметре"},
             {"S", "нормативный вес снегового покрова, кН/м²"},
             {w.C(kSnowFactorSNiP), "коэффициент снеговой нагрузки на трубу по СНиП 2.04.12-86"},
             {kilo, "перевод кН в Н"}});

    const std::string iceFactor = w.C(kIceFactor);
    const std::string iceWeight = w.C(kIceUnitWeight);
    w.Step("5. Гололедная нагрузка");
    w.Source("одна величина для " + Sp() + " и " + SNiP() + "; b " +
             ValueSource(w, ClimateValue::IceThickness, in.Own.IceThickness.has_value(),
                         IceRegionItems(), in.IceRegion));
    w.Line("q_{гол} = " + iceFactor + "·b·γ_{л}·D = " + iceFactor + "·" + w.V(tr.Ice.Thickness) +
           "·" + iceWeight + "·" + D + " = " + w.I(tr.Ice.Load, "Н/м") + ",");
    w.Where({{"b", "нормативная толщина стенки гололеда, м (" +
                       w.V(tr.Ice.Thickness * kMillimetresPerMetre) + " мм)"},
             {"γ_{л}", "удельный вес льда, " + iceWeight + " Н/м³"},
             {iceWeight + " = 900·" + w.C(kGravity), "плотность льда 900 кг/м³, умноженная на g"},
             {iceFactor, "числовой множитель формулы при b·γ_{л}·D (вес тонкого слоя льда по "
                         "всей окружности трубы был бы π·b·γ_{л}·D); толщина стенки гололеда к "
                         "диаметру не прибавляется"}});

    const std::string pulsation = w.C(kPulsationWeight);
    w.Step("6. Ветровая нагрузка");
    w.Source("учитывается только по " + Sp() + "; w_{0} " +
             ValueSource(w, ClimateValue::WindPressure, in.Own.WindPressure.has_value(),
                         WindRegionItems(), in.WindRegion) +
             "; k и ζ — по " + Loads() + " (таблица коэффициентов ветровой нагрузки)");
    w.Line("q_{в} = w_{0}·D·k·(1 + " + pulsation + "·ζ)·" + kilo + " = " +
           w.V(tr.Wind.Pressure) + "·" + D + "·" + w.V(tr.Wind.Factors.Height) + "·(1 + " +
           pulsation + "·" + w.V(tr.Wind.Factors.Pulsation) + ")·" + kilo + " = " +
           w.I(tr.Wind.Load, "Н/м") + ",");
    w.Where({{"w_{0}", "нормативное ветровое давление, кПа"},
             {"k", "коэффициент изменения ветрового давления по высоте"},
             {"ζ", "коэффициент пульсации давления ветра, " + pulsation + " — его вес"}});
}

void AddCombinedLoads(MethodWriter& w, const CalculationTrace& tr)
{
    const CombinedLoadSP& sp = tr.LoadSP;
    w.Step("7. Расчетная нагрузка" + Rules(RuleSet::SP));
    w.Source(Sp());
    w.Line("V = q_{тр} + q_{г} + max(q_{сн}; q_{гол}) = " + w.V(tr.PipeWeight) + " + " +
           w.V(tr.GasWeightSP) + " + " + w.V(sp.Larger) + " = " + w.I(sp.Vertical, "Н/м") + ";");
    w.Line("q = √(q_{в}² + V²) = √(" + w.V(tr.Wind.Load) + "² + " + w.V(sp.Vertical) + "²) = " +
           w.I(sp.Total, "Н/м") + ",");
    w.Where({{"V", std::string("вертикальная нагрузка: снег и гололед не складываются, "
                               "берется большая из них (") +
                       (sp.SnowGoverns ? "снег" : "гололед") + ")"},
             {"q", "расчетная нагрузка: ветер действует под прямым углом к вертикальной "
                   "нагрузке"}});

    const CombinedLoadSNiP& snip = tr.LoadSNiP;
    const std::string own = w.C(kOwnWeightFactorSNiP);
    const std::string pressure = w.C(kPressureFactorSNiP);
    const std::string snow = w.C(kSnowLoadFactorSNiP);
    const std::string ice = w.C(kIceLoadFactorSNiP);
    w.Step("8. Расчетная нагрузка" + Rules(RuleSet::SNiP));
    w.Source(SNiP());
    w.Line(snow + "·q′_{сн} = " + snow + "·" + w.V(tr.SnowSNiP.Load) + " = " +
           w.V(snip.FactoredSnow) + " Н/м; " + ice + "·q_{гол} = " + ice + "·" +
           w.V(tr.Ice.Load) + " = " + w.V(snip.FactoredIce) + " Н/м;");
    w.Line("q′ = " + own + "·q_{тр} + " + pressure + "·q′_{г} + max(" + snow + "·q′_{сн}; " + ice +
           "·q_{гол}) = " + own + "·" + w.V(tr.PipeWeight) + " + " + pressure + "·" +
           w.V(tr.GasWeightSNiP) + " + " +
           w.V(snip.SnowGoverns ? snip.FactoredSnow : snip.FactoredIce) + " = " +
           w.I(snip.Total, "Н/м") + ",");
    w.Where({{own + "; " + pressure + "; " + snow + "; " + ice,
              "коэффициенты надежности по нагрузке от собственного веса, от внутреннего "
              "давления (газа), от снега и от гололеда"}});
}

std::string SpanSection() { return Sp() + ", " + std::string(kSpanSectionSP); }

void AddCondensate(MethodWriter& w, const CalculationTrace& tr)
{
    const CondensateSpanTerms& c = tr.Condensate;
    const SpanInput& in = tr.Input;
    const std::string mm = w.C(kMillimetresPerMetre);
    w.Step(CriterionHeading(9, Criterion::CondensateSP));
    w.Source(SpanSection());
    w.Line("d = (D − 2·t)·" + mm + " = (" + w.V(in.OuterDiameter) + " − 2·" +
           w.V(in.WallThickness) + ")·" + mm + " = " + w.V(c.InnerDiameter) + " мм;");
    std::string column;
    if (c.InnerDiameter < kSlopeFirstColumnLimit) {
        column = "d < " + w.C(kSlopeFirstColumnLimit) + " мм";
    } else if (c.InnerDiameter <= kSlopeTableLimit) {
        column = w.C(kSlopeFirstColumnLimit) + " мм ≤ d ≤ " + w.C(kSlopeTableLimit) + " мм";
    } else {
        column = "d > " + w.C(kSlopeTableLimit) + " мм";
    }
    w.Line("c = " + w.V(c.Coefficient) + " при уклоне " + FormatFixed3(in.Slope / 1000.0, w.Mark()) +
           " (" + std::to_string(in.Slope) + " ‰) и " + column + ";");
    const std::string factor = w.C(kCondensateFactor);
    w.Line("(t/q)^{1/4} = (" + w.V(in.WallThickness) + "/" + w.V(tr.LoadSP.Total) + ")^{1/4} = " +
           w.V(c.Root) + ";");
    w.Line("L_{к} = (t/q)^{1/4}·" + factor + "·c·D = " + w.V(c.Root) + "·" + factor + "·" +
           w.V(c.Coefficient) + "·" + w.V(in.OuterDiameter) + " = " + w.R(c.Span, "м") + ",");
    w.Where({{"d", "внутренний диаметр трубы, мм"},
             {"c", "коэффициент, учитывающий уклон трубопровода, по внутреннему диаметру "
                   "(таблица коэффициентов)"},
             {factor, "числовой множитель формулы СП 42-102-2004 (L_{к} в м при t в м и q "
                      "в Н/м)"}});
    w.Remark("Уклон учитывается коэффициентом c, число пролетов в формулу не входит. При этом "
             "пролете величина q·L⁴/(D⁴·t), которой пропорционален прогиб пролета, отнесенный к "
             "диаметру трубы, постоянна: условие ограничивает провисание трубы между опорами.");
    if (CondensateOutOfScope(tr)) {
        w.Remark(CondensateScopeSentence(tr, w.Mark()));
    }
}

// The static criterion of either rules: A, s, B and the span, with the rules' own terms.
void AddStatic(MethodWriter& w, const CalculationTrace& tr, RuleSet rules)
{
    const SpanInput& in = tr.Input;
    const bool sp = rules == RuleSet::SP;
    const StaticSpanTerms& s = sp ? tr.StaticSP : tr.StaticSNiP;
    const std::string D = w.V(in.OuterDiameter);
    const std::string t = w.V(in.WallThickness);
    const std::string p = w.V(in.Pressure);
    const std::string prime = sp ? "" : "′";
    const std::string R = w.V(sp ? tr.AllowableStressSP : tr.AllowableStressSNiP);
    const std::string q = w.V(sp ? tr.LoadSP.Total : tr.LoadSNiP.Total);
    const std::string factor = w.C(kStaticFactor);
    const std::string condition = w.C(kWorkingConditionFactorSNiP);
    const std::string pressureFactor = w.C(kPressureFactorSNiP);
    const std::string reduction = w.C(kHoopReduction);
    const std::string root = w.C(kRootOfMega);
    w.Step(CriterionHeading(sp ? 10 : 12, sp ? Criterion::StaticSP : Criterion::StaticSNiP));
    w.Source(sp ? SpanSection() : SNiP());
    if (sp) {
        w.Line("A = √(" + factor + "·t·R/q) = √(" + factor + "·" + t + "·" + R + "/" + q +
               ") = " + w.V(s.A) + ";");
        const std::string wall = w.C(kHoopWallFactorSP);
        w.Line("s = (D − " + wall + "·t)·p/(2·t·R) = (" + D + " − " + wall + "·" + t + ")·" + p +
               "/(2·" + t + "·" + R + ") = " + w.V(s.S) + ";");
    } else {
        w.Line("A′ = √(" + factor + "·t·R′·" + condition + "/q′) = √(" + factor + "·" + t + "·" +
               R + "·" + condition + "/" + q + ") = " + w.V(s.A) + ";");
        w.Line("s′ = " + pressureFactor + "·p·(D − 2·t)/(2·t·R′·" + condition + ") = " +
               pressureFactor + "·" + p + "·(" + D + " − 2·" + t + ")/(2·" + t + "·" + R + "·" +
               condition + ") = " + w.V(s.S) + ";");
    }
    w.Line("B" + prime + " = (1 − " + reduction + "·s" + prime + "²)^{1/4} = (1 − " + reduction +
           "·" + w.V(s.S) + "²)^{1/4} = " + w.V(s.B) + ";");
    w.Line("L" + prime + "_{ст} = B" + prime + "·A" + prime + "·(D − t)·" + root + " = " +
           w.V(s.B) + "·" + w.V(s.A) + "·(" + D + " − " + t + ")·" + root + " = " +
           w.R(s.Span, "м") + ",");
    if (sp) {
        w.Where({{factor, "12·π/4 при π = " + w.C(kPi)},
                 {"s", "кольцевое напряжение от давления в долях допускаемого напряжения"},
                 {"B", "коэффициент снижения несущей способности при изгибе от кольцевого "
                       "напряжения"},
                 {root, "√10⁶, перевод МПа в Па под корнем"}});
        std::string model =
            "Модель: средний пролет неразрезной балки под равномерной нагрузкой q; при этом "
            "пролете наибольший изгибающий момент q·L²/12 равен ψ·R·W, где W = π·(D − t)²·t/4 — "
            "момент сопротивления сечения трубы, ψ = B² = √(1 − " + reduction + "·s²).";
        if (in.SpanCount == 0) {
            model += " При одном пролете формула остается формулой среднего пролета неразрезной "
                     "балки (момент q·L²/12): у однопролетной балки на двух опорах наибольший "
                     "момент q·L²/8.";
        }
        w.Remark(std::move(model));
    } else {
        w.Where({{condition, "коэффициент условий работы трубопровода"},
                 {pressureFactor, "коэффициент надежности по внутреннему давлению"}});
        w.Remark("Модель та же, что в п. 10: средний пролет неразрезной балки, наибольший момент "
                 "q′·L²/12; несущая способность — по напряжению " + condition + "·R′.");
    }
}

void AddDynamic(MethodWriter& w, const CalculationTrace& tr)
{
    const DynamicSpanTerms& d = tr.DynamicSP;
    const SpanInput& in = tr.Input;
    const std::string factor = w.C(kDynamicFactor);
    w.Step(CriterionHeading(11, Criterion::DynamicSP));
    w.Source(SpanSection());
    w.Line("u = D·k_{n}²·t/V = " + w.V(in.OuterDiameter) + "·" + w.V(d.Coefficient) + "²·" +
           w.V(in.WallThickness) + "/" + w.V(tr.LoadSP.Vertical) + " = " + w.V(d.U) +
           "; u^{1/4} = " + w.V(d.Root) + ";");
    w.Line("L_{д} = " + factor + "·D·u^{1/4} = " + factor + "·" + w.V(in.OuterDiameter) + "·" +
           w.V(d.Root) + " = " + w.R(d.Span, "м") + ",");
    w.Where({{"k_{n}", "коэффициент числа пролетов (" + ItemOf(SpanCountItems(), in.SpanCount) +
                           ") по таблице коэффициентов"},
             {factor, "числовой множитель формулы СП 42-102-2004 (L_{д} в м при D и t в м и V "
                      "в Н/м)"}});
    w.Remark("Модель: неразрезная балка, число ее пролетов учитывается коэффициентом k_{n}; "
             "прочность стали, давление и ветер в формулу не входят.");
}

void AddInertia(MethodWriter& w, const CalculationTrace& tr)
{
    w.Step("13. Момент инерции сечения трубы");
    w.Source("формула сопротивления материалов для тонкостенного кольца");
    w.Line("I = π·D³·t/" + w.C(kInertiaDivisor) + " = " + w.C(kPi) + "·" +
           w.V(tr.Input.OuterDiameter) + "³·" + w.V(tr.Input.WallThickness) + "/" +
           w.C(kInertiaDivisor) + " = " + w.V(tr.Inertia) + " м⁴.");
    w.Where({});
}

void AddDeflection(MethodWriter& w, const CalculationTrace& tr, RuleSet rules)
{
    const bool sp = rules == RuleSet::SP;
    const DeflectionSearch& search = sp ? tr.DeflectionSP : tr.DeflectionSNiP;
    const std::string prime = sp ? "" : "′";
    const std::string q = w.V(sp ? tr.LoadSP.Total : tr.LoadSNiP.Total);
    const std::string I = w.V(tr.Inertia);
    const std::string load = w.C(kDeflectionLoadFactor);
    const std::string divisor = w.C(kDeflectionDivisor);
    const std::string limit = w.V(1 / kDeflectionLimitRatio);
    const std::string step = w.C(kDeflectionStep);
    const double start = sp ? tr.StaticSP.Span : tr.StaticSNiP.Span;
    // The deflection and its limit at a span, with the values put in.
    const auto deflection = [&](const std::string& L, const Deflection& at) {
        return "f = " + load + "·" + q + "·" + L + "⁴/(" + divisor + "·" + I + ") = " +
               w.V(at.Actual) + " м " + (at.Actual <= at.Limit ? "≤" : ">") + " f_{пр} = " + L +
               "/" + limit + " = " + w.V(at.Limit) + " м";
    };
    w.Step(CriterionHeading(sp ? 14 : 15, sp ? Criterion::DeflectionSP : Criterion::DeflectionSNiP));
    w.Source("формулы сопротивления материалов; предельный прогиб 1/" + limit +
             " пролета — общестроительная норма, принятая программой для " + Sp() + " и " + SNiP());
    w.Line("f = " + load + "·q" + prime + "·L⁴/(" + w.C(kDeflectionDenominator) + "·E·I), " +
           w.C(kDeflectionDenominator) + "·E = " + divisor + " Па; f_{пр} = L/" + limit + ";");
    if (!(start > 0)) {
        w.Line("L_{0} = L" + prime + "_{ст} = " + w.V(start) + " м не больше нуля: L" + prime +
               "_{пр} = " + w.R(search.Span, "м") + ",");
    } else if (search.Steps == 0) {
        w.Line("L_{0} = L" + prime + "_{ст} = " + w.V(start) + " м: " +
               deflection(w.V(start), search.Start) + ";");
        w.Line("прогиб не больше предельного: L" + prime + "_{пр} = L_{0} = " +
               w.R(search.Span, "м") + ",");
    } else {
        const std::string n = std::to_string(search.Steps);
        const bool one = search.Steps % 10 == 1 && search.Steps % 100 != 11;
        w.Line("начало поиска L_{0} = L" + prime + "_{ст} = " + w.V(start) + " м: " +
               deflection(w.V(start), search.Start) + ";");
        w.Line("пролет уменьшается на 1/" + step + " на каждом шаге, L_{i+1} = L_{i} − L_{i}/" +
               step + " = " + w.C(1 - 1 / kDeflectionStep) + "·L_{i}, пока прогиб больше "
               "предельного; конец поиска после " + n + (one ? " шага" : " шагов") + ": L_{" + n + "} = " + w.V(start) +
               "·" + w.C(1 - 1 / kDeflectionStep) + "^{" + n + "} = " + w.V(search.Last) + " м: " +
               deflection(w.V(search.Last), search.AtLast) + ";");
        w.Line("L" + prime + "_{пр} = L_{" + n + "} = " + w.R(search.Span, "м") + ",");
    }
    w.Where({{"f", "прогиб в середине пролета под равномерной нагрузкой"},
             {"f_{пр}", "предельный прогиб"},
             {"E", "модуль упругости стали, " + w.C(kElasticModulus) + " Па"},
             {"L_{0}", "начальный пролет поиска — пролет по статическому расчету на прочность"}});
    if (sp) {
        w.Remark("Модель: однопролетная свободно опертая балка под равномерной нагрузкой, прогиб "
                 "в середине пролета 5·q·L⁴/(384·E·I).");
    }
}

}  // namespace

bool CondensateOutOfScope(const CalculationTrace& trace)
{
    return trace.Condensate.InnerDiameter > kSlopeTableLimit;
}

std::string CondensateScopeSentence(const CalculationTrace& trace, std::string_view separator)
{
    return "Условие образования конденсата СП 42-102-2004 распространяется на трубы с внутренним "
           "диаметром до " + FormatGeneral(kSlopeTableLimit, separator) + " мм, а у этой трубы d = " +
           FormatSignificant(trace.Condensate.InnerDiameter, kDigits, separator) +
           " мм: по этому условию свод правил пролета не дает (c = 0, L = 0), поэтому "
           "определяющего пролета по СП 42-102-2004 нет — действуют пролеты по СНиП 2.04.12-86.";
}

void AddCalculationMethod(NoteDocument& note, const CalculationTrace& trace,
                          std::string_view decimalSeparator, const MethodOptions& options)
{
    MethodWriter w(note, decimalSeparator, options.OwnClimate);
    note.AddHeading(options.Heading);
    const std::size_t first = note.Blocks.size();
    if (options.Scheme) {
        note.AddDrawing(*options.Scheme);
    }
    AddInput(w, trace.Input);
    AddAllowableStresses(w, trace);
    AddWeights(w, trace);
    AddClimaticLoads(w, trace);
    AddCombinedLoads(w, trace);
    AddCondensate(w, trace);
    AddStatic(w, trace, RuleSet::SP);
    AddDynamic(w, trace);
    AddStatic(w, trace, RuleSet::SNiP);
    AddInertia(w, trace);
    AddDeflection(w, trace, RuleSet::SP);
    AddDeflection(w, trace, RuleSet::SNiP);
    if (options.SectionNumber.empty()) {
        return;
    }
    for (std::size_t i = first; i < note.Blocks.size(); ++i) {
        auto* step = std::get_if<NoteParagraph>(&note.Blocks[i]);
        if (step == nullptr || !step->Bold) {
            continue;
        }
        const std::size_t digits = step->Text.find_first_not_of("0123456789");
        if (digits != 0 && digits != std::string::npos && step->Text.compare(digits, 2, ". ") == 0) {
            step->Text = options.SectionNumber + "." + step->Text.substr(0, digits) + " " +
                         step->Text.substr(digits + 2);
        }
    }
}

}  // namespace korvelin
