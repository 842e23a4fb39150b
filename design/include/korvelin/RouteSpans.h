#pragma once

// The division of a length into spans. The governing span depends on the number of spans of the
// continuous beam (the "Количество пролетов" item the engine runs with), and a length cut into n
// spans is a beam of n spans: the count and the span must agree. The division takes the smallest
// n for which length / n is not above the governing span computed with the item of n spans (1…6,
// ">6" for seven and more). The route of a summary and the legs of a section use it alike.

#include "korvelin/DesignSummary.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The item of the "Количество пролетов" selector for a beam of n spans: 0…5 for one to six, 6 for
// more than six.
int SpanCountIndexOf(int spans);

// The governing span (m, as shown) of the item; none when that item gives the set of rules no
// governing span.
using GoverningSpanOfItem = std::function<std::optional<double>(int spanCountIndex)>;

// The smallest n with length - n·L(n) not above 1 mm (the tolerance of CountSupports), L(n) the
// governing span of n's item; Span is that L(n), SpanCountIndex the item. None when an item the
// search reaches has no governing span. The items are asked in the order 0, 1, … and at most once.
std::optional<RouteSupports> DivideIntoSpans(double length, const GoverningSpanOfItem& governingSpan);

// The governing spans of a completed run recomputed with each item of the selector, run by run
// as asked (each run once): the source of DivideIntoSpans for a summary and for the supports of a
// section. It keeps its own copy of the run's input, so it may outlive the outcome.
class GoverningSpansByItem {
public:
    GoverningSpansByItem(const CalculationOutcome& outcome, std::string_view decimalSeparator);
    std::optional<double> Span(RuleSet rules, int spanCountIndex);

private:
    bool Completed = false;
    std::optional<SpanInput> Input;
    std::string Separator;
    std::optional<SpanResults> Runs[7];
};

// Which count the route of a set of rules used and why, one sentence for the note: "СП
// 42-102-2004: 34 пролета по 3,529 м — наименьшее число пролетов, при котором шаг не больше
// определяющего пролета балки с таким числом пролетов («>6»: 3,607 м); при выбранном «3» —
// 4,081 м". `chosenIndex` is the item the run was made with. The brief form, for a line of the
// page "Итог": "СП 42-102-2004: 34 пролета по 3,529 м, пролет балки «>6» — 3,607 м (при «3» —
// 4,081 м)".
enum class RouteTextForm { Full, Brief };
std::string RouteCountText(RuleSet rules, const RouteSupports& route, int chosenIndex,
                           std::optional<double> chosenSpan, std::string_view decimalSeparator,
                           RouteTextForm form = RouteTextForm::Full);

}  // namespace korvelin
