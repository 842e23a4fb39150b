#include "korvelin/RouteSpans.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/Selectors.h"

#include <algorithm>

namespace korvelin {
namespace {

// The items of the selector: six counts, then "more than six".
constexpr int kCountedItems = 6;
constexpr int kManySpansItem = 6;

// The tolerance of CountSupports: a whole number of spans may exceed the length by a millimetre.
constexpr long double kTolerance = 0.001L;  // m

bool Covers(double length, int spans, double span)
{
    return static_cast<long double>(length) - static_cast<long double>(spans) * span <= kTolerance;
}

// "1 пролет", "3 пролета", "34 пролета", "11 пролетов".
std::string SpansText(int n)
{
    const int lastTwo = n % 100;
    const int last = n % 10;
    const char* word = "пролетов";
    if (lastTwo < 11 || lastTwo > 14) {
        if (last == 1) {
            word = "пролет";
        } else if (last >= 2 && last <= 4) {
            word = "пролета";
        }
    }
    return std::to_string(n) + " " + word;
}

std::string ItemText(int index)
{
    return "«" + std::string(SpanCountItems()[static_cast<std::size_t>(index)]) + "»";
}

}  // namespace

int SpanCountIndexOf(int spans)
{
    return std::clamp(spans, 1, kCountedItems + 1) - 1;
}

std::optional<RouteSupports> DivideIntoSpans(double length, const GoverningSpanOfItem& governingSpan)
{
    for (int n = 1; n <= kCountedItems; ++n) {
        const int item = SpanCountIndexOf(n);
        const std::optional<double> span = governingSpan(item);
        if (!span || !(*span > 0)) {
            return std::nullopt;
        }
        if (Covers(length, n, *span)) {
            RouteSupports route;
            route.Span = *span;
            route.Spans = n;
            route.IntermediateSupports = n - 1;
            route.Spacing = static_cast<double>(static_cast<long double>(length) / n);
            route.SpanCountIndex = item;
            return route;
        }
    }
    // Seven spans and more share one item, so the count is the usual one at its span, not below
    // seven: the smallest n of that item that covers the length.
    const std::optional<double> span = governingSpan(kManySpansItem);
    if (!span || !(*span > 0)) {
        return std::nullopt;
    }
    RouteSupports route = CountSupports(length, *span);
    if (route.Spans <= kCountedItems) {
        route.Spans = kCountedItems + 1;
        route.IntermediateSupports = kCountedItems;
        route.Spacing = static_cast<double>(static_cast<long double>(length) / route.Spans);
    }
    route.SpanCountIndex = kManySpansItem;
    return route;
}

GoverningSpansByItem::GoverningSpansByItem(const CalculationOutcome& outcome,
                                           std::string_view decimalSeparator)
    : Completed(outcome.Kind == OutcomeKind::Completed), Input(outcome.Input),
      Separator(decimalSeparator)
{
    if (Completed && Input && Input->SpanCount >= 0 && Input->SpanCount <= kManySpansItem) {
        Runs[Input->SpanCount] = outcome.Spans;
    }
}

std::optional<double> GoverningSpansByItem::Span(RuleSet rules, int spanCountIndex)
{
    if (!Completed || !Input || spanCountIndex < 0 || spanCountIndex > kManySpansItem) {
        return std::nullopt;
    }
    std::optional<SpanResults>& spans = Runs[spanCountIndex];
    if (!spans) {
        {
            SpanInput input = *Input;
            input.SpanCount = spanCountIndex;
            const CalculationOutcome run = RunCalculation(input, Separator, ReportMode::Omitted);
            if (run.Kind != OutcomeKind::Completed) {
                spans = SpanResults{};
            } else {
                spans = run.Spans;
            }
        }
    }
    return FindGoverningSpan(*spans, rules).Span;
}

std::string RouteCountText(RuleSet rules, const RouteSupports& route, int chosenIndex,
                           std::optional<double> chosenSpan, std::string_view decimalSeparator,
                           RouteTextForm form)
{
    const bool brief = form == RouteTextForm::Brief;
    const std::string span = FormatFixed3(route.Span, decimalSeparator) + " м";
    std::string text = std::string(RuleSetName(rules)) + ": " + SpansText(route.Spans) + " по " +
                       FormatFixed3(route.Spacing, decimalSeparator) + " м";
    text += brief ? ", пролет балки " + ItemText(route.SpanCountIndex) + " — " + span
                  : " — наименьшее число пролетов, при котором шаг не больше определяющего "
                    "пролета балки с таким числом пролетов (" +
                        ItemText(route.SpanCountIndex) + ": " + span + ")";
    // The chosen item's span, when it is another: SNiP's spans do not depend on the count.
    if (route.SpanCountIndex != chosenIndex && chosenIndex >= 0 && chosenIndex <= kManySpansItem &&
        chosenSpan != route.Span) {
        const std::string chosen = chosenSpan ? FormatFixed3(*chosenSpan, decimalSeparator) + " м"
                                              : std::string("нет определяющего пролета");
        text += brief ? " (при " + ItemText(chosenIndex) + " — " + chosen + ")"
                      : "; при выбранном " + ItemText(chosenIndex) + " — " + chosen;
    }
    return text;
}

}  // namespace korvelin
