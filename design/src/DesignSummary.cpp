#include "korvelin/DesignSummary.h"

#include "korvelin/InputRemarks.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/RouteSpans.h"

#include <array>
#include <charconv>
#include <cmath>

namespace korvelin {
namespace {

constexpr std::array kCriteriaSP = {Criterion::StaticSP, Criterion::DynamicSP,
                                    Criterion::CondensateSP, Criterion::DeflectionSP};
constexpr std::array kCriteriaSNiP = {Criterion::StaticSNiP, Criterion::DeflectionSNiP};

struct CriterionTexts {
    std::string_view Label;
    std::string_view Name;
};

constexpr std::array<CriterionTexts, 6> kCriterionTexts = {{
    {"Длина пролета исходя из статического расчета на прочность",
     "статический расчет на прочность"},
    {"Длина пролета исходя из динамического расчета на прочность",
     "динамический расчет на прочность"},
    {"Длина пролета исходя из условия возможности образования конденсата",
     "условие образования конденсата"},
    {"Длина пролета исходя из предельного допустимого прогиба", "предельный прогиб"},
    {"Длина пролета исходя из статического расчета на прочность",
     "статический расчет на прочность"},
    {"Длина пролета исходя из предельного допустимого прогиба", "предельный прогиб"},
}};

// A whole number of spans may exceed the route by this much and still count as covering it.
constexpr long double kRouteTolerance = 0.001L;  // m

// The lower end of both ranges: the millimetre, the last digit the window shows.
constexpr double kMinLength = 0.001;  // m

std::string NoSpanReason(Criterion criterion)
{
    if (criterion == Criterion::CondensateSP) {
        return "пролет по условию образования конденсата не определен: уклон учитывается только "
               "для труб с внутренним диаметром до 300 мм";
    }
    return "пролет по критерию \"" + std::string(CriterionName(criterion)) +
           "\" не больше нуля";
}

// The messages of one of the two texts, in the grammatical gender of its name.
struct LengthMessages {
    std::string_view NotANumber;
    std::string_view Zero;
    std::string_view Negative;
    std::string_view RangePrefix;
};

constexpr LengthMessages kChosenSpanMessages = {
    "Принятый пролет должен быть числом",
    "Принятый пролет не может быть равен нулю",
    "Принятый пролет не может быть отрицательным",
    "Принятый пролет должен быть от ",
};

constexpr LengthMessages kRouteLengthMessages = {
    "Длина участка трассы должна быть числом",
    "Длина участка трассы не может быть равна нулю",
    "Длина участка трассы не может быть отрицательной",
    "Длина участка трассы должна быть от ",
};

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

OptionalLength ReadLength(std::string_view text, std::string_view separator, double maximum,
                          const LengthMessages& messages)
{
    OptionalLength result;
    if (IsBlank(text)) {
        return result;
    }
    const ParsedNumber parsed = ParseNumber(text, separator);
    // Compared as the double it becomes, so that "0,001" is inside the range it opens.
    const double value = parsed.Ok && std::isfinite(static_cast<double>(parsed.Value))
                             ? static_cast<double>(parsed.Value)
                             : HUGE_VAL;
    if (!parsed.Ok) {
        result.Error = messages.NotANumber;
    } else if (parsed.Value == 0) {
        result.Error = messages.Zero;
    } else if (parsed.Value < 0) {
        result.Error = messages.Negative;
    } else if (value < kMinLength || value > maximum) {
        result.Error = std::string(messages.RangePrefix) + FormatGeneral(kMinLength, separator) +
                       " до " + FormatGeneral(maximum, separator) + " м";
    } else {
        result.Value = value;
    }
    return result;
}

}  // namespace

std::span<const Criterion> CriteriaOf(RuleSet rules)
{
    if (rules == RuleSet::SP) {
        return kCriteriaSP;
    }
    return kCriteriaSNiP;
}

RuleSet RuleSetOf(Criterion criterion)
{
    return criterion == Criterion::StaticSNiP || criterion == Criterion::DeflectionSNiP
               ? RuleSet::SNiP
               : RuleSet::SP;
}

std::string_view RuleSetName(RuleSet rules)
{
    return rules == RuleSet::SP ? "СП 42-102-2004" : "СНиП 2.04.12-86";
}

std::string_view CriterionLabel(Criterion criterion)
{
    return kCriterionTexts[static_cast<std::size_t>(criterion)].Label;
}

std::string_view CriterionName(Criterion criterion)
{
    return kCriterionTexts[static_cast<std::size_t>(criterion)].Name;
}

std::optional<double> SpanOf(const SpanResults& spans, Criterion criterion)
{
    switch (criterion) {
    case Criterion::StaticSP:
        return spans.StaticSpanSP;
    case Criterion::DynamicSP:
        return spans.DynamicSpanSP;
    case Criterion::CondensateSP:
        return spans.CondensateSpanSP;
    case Criterion::DeflectionSP:
        return spans.DeflectionSpanSP;
    case Criterion::StaticSNiP:
        return spans.StaticSpanSNiP;
    case Criterion::DeflectionSNiP:
        return spans.DeflectionSpanSNiP;
    }
    return std::nullopt;
}

double ShownSpan(double span)
{
    // The shown text read back: the rounding is the display's own, to the last digit.
    return ShownFixed3(span);
}

GoverningSpan FindGoverningSpan(const SpanResults& spans, RuleSet rules)
{
    GoverningSpan governing;
    governing.Rules = rules;
    for (const Criterion criterion : CriteriaOf(rules)) {
        const std::optional<double> span = SpanOf(spans, criterion);
        const double shown = span ? ShownSpan(*span) : 0;
        if (!(shown > 0)) {
            governing.Span.reset();
            governing.Which = criterion;
            governing.Reason = NoSpanReason(criterion);
            return governing;
        }
        // Strictly smaller: on a tie the earlier criterion keeps the span.
        if (!governing.Span || shown < *governing.Span) {
            governing.Span = shown;
            governing.Which = criterion;
        }
    }
    return governing;
}

GoverningSpan FindGoverningSpan(const CalculationOutcome& outcome, RuleSet rules,
                                std::string_view decimalSeparator)
{
    GoverningSpan governing = FindGoverningSpan(outcome.Spans, rules);
    if (!governing.Span && governing.Which == Criterion::CondensateSP && outcome.Input) {
        if (const std::optional<double> inner = InnerDiameterAboveLimit(*outcome.Input)) {
            governing.Reason = InnerDiameterAboveLimitText(*inner, decimalSeparator);
        }
    }
    return governing;
}

RuleSetCheck CheckChosenSpan(const SpanResults& spans, RuleSet rules, double chosenSpan)
{
    RuleSetCheck check;
    check.Passes = true;
    for (const Criterion criterion : CriteriaOf(rules)) {
        CriterionCheck item;
        item.Which = criterion;
        const std::optional<double> span = SpanOf(spans, criterion);
        item.PermissibleSpan = span ? ShownSpan(*span) : 0;
        item.Passes = item.PermissibleSpan > 0 && chosenSpan <= item.PermissibleSpan;
        item.Percent = item.PermissibleSpan > 0
                           ? static_cast<double>(static_cast<long double>(chosenSpan) /
                                                 item.PermissibleSpan * 100)
                           : 0;
        check.Passes = check.Passes && item.Passes;
        check.Criteria.push_back(item);
    }
    return check;
}

RouteSupports CountSupports(double routeLength, double span)
{
    const long double R = routeLength;
    const long double L = span;
    auto whole = static_cast<long long>(std::floor(R / L));
    // Within the tolerance of a whole number of spans: that number covers the route.
    if (whole < 1 || R - static_cast<long double>(whole) * L > kRouteTolerance) {
        ++whole;
    }
    RouteSupports route;
    route.Span = span;
    route.Spans = static_cast<int>(whole);
    route.IntermediateSupports = route.Spans - 1;
    route.Spacing = static_cast<double>(R / static_cast<long double>(whole));
    return route;
}

std::optional<DesignSummary> SummarizeDesign(const CalculationOutcome& outcome,
                                             const SummaryRequest& request)
{
    if (outcome.Kind != OutcomeKind::Completed) {
        return std::nullopt;
    }
    DesignSummary summary;
    summary.ChosenSpan = request.ChosenSpan;
    summary.RouteLength = request.RouteLength;
    summary.SpanCountIndex = outcome.Input ? outcome.Input->SpanCount : -1;
    GoverningSpansByItem byItem(outcome, request.DecimalSeparator);
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        RuleSetSummary& set = rules == RuleSet::SP ? summary.SP : summary.SNiP;
        set.Governing = FindGoverningSpan(outcome, rules, request.DecimalSeparator);
        if (request.ChosenSpan) {
            set.Check = CheckChosenSpan(outcome.Spans, rules, *request.ChosenSpan);
        }
        if (request.RouteLength && set.Governing.Span && outcome.Input) {
            set.Route = DivideIntoSpans(*request.RouteLength, [&](int item) {
                return byItem.Span(rules, item);
            });
            if (set.Route) {
                set.RouteLoads = SupportLoadsAt(outcome, rules, set.Route->Span, request.Friction,
                                                set.Route->SpanCountIndex);
            }
        }
        if (set.Governing.Span) {
            set.Supports = SupportLoadsAt(outcome, rules, *set.Governing.Span, request.Friction);
        }
        if (request.ChosenSpan) {
            set.ChosenSupports = SupportLoadsAt(outcome, rules, *request.ChosenSpan, request.Friction);
        }
    }
    if (request.RouteLength && request.ChosenSpan) {
        summary.ChosenRoute = CountSupports(*request.RouteLength, *request.ChosenSpan);
    }
    if (outcome.Input) {
        if (std::string steel = SteelStrengthWarning(*outcome.Input); !steel.empty()) {
            summary.Warnings.push_back(std::move(steel));
        }
    }
    return summary;
}

std::optional<SupportLoads> SupportLoadsAt(const CalculationOutcome& outcome, RuleSet rules,
                                           double span, std::optional<double> friction,
                                           std::optional<int> spanCountIndex)
{
    if (outcome.Kind != OutcomeKind::Completed || !outcome.Input) {
        return std::nullopt;
    }
    const LoadSummary& loads = outcome.Loads;
    return ComputeSupportLoads(span, spanCountIndex.value_or(outcome.Input->SpanCount),
                               rules == RuleSet::SP ? *loads.VerticalLoadSP : *loads.TotalLoadSNiP,
                               *loads.WindLoad, friction);
}

std::string FormatPercent(double percent, std::string_view decimalSeparator)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), percent,
                                      std::chars_format::fixed, 1);
    std::string text(buffer.data(), result.ptr);
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        text.replace(dot, 1, decimalSeparator);
    }
    return text;
}

OptionalLength ReadChosenSpan(std::string_view text, std::string_view decimalSeparator)
{
    return ReadLength(text, decimalSeparator, kMaxChosenSpan, kChosenSpanMessages);
}

OptionalLength ReadRouteLength(std::string_view text, std::string_view decimalSeparator)
{
    return ReadLength(text, decimalSeparator, kMaxRouteLength, kRouteLengthMessages);
}

}  // namespace korvelin
