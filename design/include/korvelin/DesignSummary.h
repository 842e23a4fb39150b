#pragma once

// The design summary of a completed calculation: the governing span of each set of rules, the
// check of a span the designer has chosen, and the supports of a route. Pure functions over a
// CalculationOutcome; every span is taken as the window shows it (rounded to the millimetre), so
// that a span typed as it is shown passes, and a route counted with it matches a count by hand.

#include "korvelin/RunCalculation.h"
#include "korvelin/SupportLoads.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

enum class RuleSet { SP, SNiP };

// The six criteria, in the order in which their result fields stand on the two pages.
enum class Criterion {
    StaticSP,        // Edit6
    DynamicSP,       // Edit7
    CondensateSP,    // Edit8
    DeflectionSP,    // Edit9
    StaticSNiP,      // Edit11
    DeflectionSNiP,  // Edit13
};

// The criteria of a set of rules, in the order of its page: SP static, dynamic, condensate,
// deflection; SNiP static, deflection. A tie for the governing span goes to the first.
std::span<const Criterion> CriteriaOf(RuleSet rules);
RuleSet RuleSetOf(Criterion criterion);

// "СП 42-102-2004", "СНиП 2.04.12-86".
std::string_view RuleSetName(RuleSet rules);
// The label of the criterion's result field, e.g. "Длина пролета исходя из динамического
// расчета на прочность".
std::string_view CriterionLabel(Criterion criterion);
// A short name for sentences and tables, e.g. "динамический расчет на прочность".
std::string_view CriterionName(Criterion criterion);

// The criterion's span of a run (m), as computed; empty when the run did not produce it.
std::optional<double> SpanOf(const SpanResults& spans, Criterion criterion);
// A span as the window shows it: rounded to the millimetre exactly as FormatFixed3 rounds.
double ShownSpan(double span);

// The governing span of a set of rules: the smallest of its spans and the criterion that gives
// it. A set with a span of 0 or less has none: Criterion then names that span's criterion and
// Reason says why (in Russian, for the window, the note and korvelin-calc).
struct GoverningSpan {
    RuleSet Rules = RuleSet::SP;
    std::optional<double> Span;  // m, as shown; absent when the set has no governing span
    Criterion Which = Criterion::StaticSP;
    std::string Reason;          // empty when Span is present
};

// The chosen span L against one criterion: L / span in percent and whether L <= span.
struct CriterionCheck {
    Criterion Which = Criterion::StaticSP;
    double PermissibleSpan = 0;  // m, as shown
    double Percent = 0;          // L / PermissibleSpan * 100; show with FormatPercent
    bool Passes = false;
};

// The chosen span against every criterion of a set; the set passes when all of them pass.
struct RuleSetCheck {
    std::vector<CriterionCheck> Criteria;
    bool Passes = false;
};

// A route of length R cut into n equal spans no longer than Span: n = ceil(R / Span), where a
// length within 1 mm of a whole number of spans gains no span; n - 1 intermediate supports at
// Spacing = R / n.
struct RouteSupports {
    double Span = 0;     // m, the longest span allowed
    int Spans = 0;       // n
    int IntermediateSupports = 0;  // n - 1
    double Spacing = 0;  // m, R / n
    // The "Количество пролетов" item whose governing span Span is (DivideIntoSpans); -1 for a span
    // given as such (the chosen span).
    int SpanCountIndex = -1;
};

struct RuleSetSummary {
    GoverningSpan Governing;
    std::optional<RuleSetCheck> Check;   // present when a chosen span was given
    // The route divided into spans (DivideIntoSpans): present with a route length and a governing
    // span for the count of spans it reaches.
    std::optional<RouteSupports> Route;
    std::optional<SupportLoads> Supports;        // at the governing span, when there is one
    // At the route's span, with the support factors of the route's count, when there is a route.
    std::optional<SupportLoads> RouteLoads;
    std::optional<SupportLoads> ChosenSupports;  // at the chosen span, when given
};

// What the designer asked besides the calculation, both optional (m, positive, validated by
// ReadChosenSpan and ReadRouteLength).
struct SummaryRequest {
    std::optional<double> ChosenSpan = std::nullopt;
    std::optional<double> RouteLength = std::nullopt;
    std::optional<double> Friction = kDefaultFriction;  // μ of the supports; none: no friction
    std::string DecimalSeparator = ",";  // of the numbers in the texts of the summary
};

struct DesignSummary {
    RuleSetSummary SP;
    RuleSetSummary SNiP;
    std::optional<double> ChosenSpan;
    std::optional<double> RouteLength;
    std::optional<RouteSupports> ChosenRoute;  // the route at the chosen span, when both given
    int SpanCountIndex = -1;  // the "Количество пролетов" item of the run
    // What the designer should look at in the inputs of a run that completed as it stands (the
    // steel's strengths), in Russian, starting with a small letter.
    std::vector<std::string> Warnings;

    const RuleSetSummary& Of(RuleSet rules) const { return rules == RuleSet::SP ? SP : SNiP; }
};

// The summary of a completed run; empty for a refused or failed run (its spans are not results).
std::optional<DesignSummary> SummarizeDesign(const CalculationOutcome& outcome,
                                             const SummaryRequest& request = {});

// The loads on the supports of a completed run's set of rules at span L (m): q is the SP vertical
// load or the SNiP total, w the wind load; empty when the run did not complete. The beam is the
// run's "Количество пролетов" item, or the item given.
std::optional<SupportLoads> SupportLoadsAt(const CalculationOutcome& outcome, RuleSet rules,
                                           double span, std::optional<double> friction,
                                           std::optional<int> spanCountIndex = std::nullopt);

// The pieces, for callers that need only one of them.
GoverningSpan FindGoverningSpan(const SpanResults& spans, RuleSet rules);
// The same for a run whose input is known: a reason the input explains says so, as the pipe
// above the inner diameter of the condensate criterion ("внутренний диаметр 303 мм больше …").
GoverningSpan FindGoverningSpan(const CalculationOutcome& outcome, RuleSet rules,
                                std::string_view decimalSeparator);
RuleSetCheck CheckChosenSpan(const SpanResults& spans, RuleSet rules, double chosenSpan);
// Span and route length in m, both positive.
RouteSupports CountSupports(double routeLength, double span);

// The ratio in percent with one decimal and the given separator: "96,1".
std::string FormatPercent(double percent, std::string_view decimalSeparator);

// Reading of the two optional texts "Принятый пролет, м" and "Длина участка трассы, м". An empty
// or blank text means "not given" (Value empty, Error empty). A text that is not a number, zero,
// negative or beyond the range gets a message and no value.
struct OptionalLength {
    std::optional<double> Value;  // m
    std::string Error;            // the message, when the text was refused
    bool Ok() const { return Error.empty(); }
};

inline constexpr double kMaxChosenSpan = 100;       // m
inline constexpr double kMaxRouteLength = 100'000;  // m

OptionalLength ReadChosenSpan(std::string_view text, std::string_view decimalSeparator);
OptionalLength ReadRouteLength(std::string_view text, std::string_view decimalSeparator);

}  // namespace korvelin
