#include "korvelin/CalculationScheme.h"

#include "korvelin/NumberFormat.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace korvelin {
namespace {

// The "Количество пролетов" item of more than six spans, drawn as seven with a break.
constexpr int kManySpansIndex = 6;
constexpr int kManySpansDrawn = 7;

// The beam from end to end, its axis, the line of the load q above it (mm on the sheet).
constexpr double kBeamLeft = 8;
constexpr double kBeamRight = 138;
constexpr double kBeamY = 20;
constexpr double kLoadY = 11;
// The cross-section beside the beam, with q and w on it.
constexpr double kSectionX = 158;
constexpr double kSectionRadius = 4.5;

// A span that holds the text "L = 12,345 м" between its supports, mm.
constexpr double kWideSpan = 30;

constexpr double kThin = 0.18;
constexpr double kNormal = 0.35;
constexpr double kBeamWidth = 0.7;
constexpr double kLabelHeight = 2.5;

DrawingLine Line(std::vector<DrawingPoint> points, double width = kNormal)
{
    DrawingLine line;
    line.Points = std::move(points);
    line.WidthMm = width;
    return line;
}

DrawingLine Arrow(DrawingPoint from, DrawingPoint to, double width = kNormal)
{
    DrawingLine line = Line({from, to}, width);
    line.ArrowAtEnd = true;
    return line;
}

void Label(NoteDrawing& drawing, DrawingPoint at, std::string text,
           DrawingAnchor anchor = DrawingAnchor::Center)
{
    drawing.Texts.push_back({at, std::move(text), anchor, kLabelHeight, 0});
}

// A sliding support under the beam: a triangle on a hatched base.
void Support(NoteDrawing& drawing, double x)
{
    const double top = kBeamY + 0.35;
    const double base = kBeamY + 5;
    DrawingLine triangle = Line({{x, top}, {x - 2, base}, {x + 2, base}});
    triangle.Closed = true;
    drawing.Lines.push_back(std::move(triangle));
    drawing.Lines.push_back(Line({{x - 3.5, base}, {x + 3.5, base}}, 0.5));
    for (double dx = -3; dx <= 3.01; dx += 1.5) {
        drawing.Lines.push_back(Line({{x + dx, base}, {x + dx - 1.2, base + 1.2}}, kThin));
    }
}

// The break of a beam of many spans: a line across the beam and the load with a zigzag on the
// beam's axis.
void Break(NoteDrawing& drawing, double x)
{
    drawing.Lines.push_back(Line({{x, kLoadY - 2},
                                  {x, kBeamY - 1.6},
                                  {x + 1.3, kBeamY - 0.8},
                                  {x - 1.3, kBeamY + 0.8},
                                  {x, kBeamY + 1.6},
                                  {x, kBeamY + 4}},
                                 kThin));
}

// The supports whose reaction is the most loaded intermediate one: the only one of two spans,
// both of three, the ones next to the ends of more (their factor is the largest of the
// intermediate ones).
bool MostLoadedIntermediate(int support, int spans)
{
    if (support <= 0 || support >= spans) {
        return false;
    }
    return spans <= 3 || support == 1 || support == spans - 1;
}

std::string Metres(double value, std::string_view separator)
{
    return FormatFixed3(value, separator) + " м";
}

std::string PerMetre(double value, std::string_view separator)
{
    return FormatFixed3(value, separator) + " Н/м";
}

// An exact factor before "·q·L": in parentheses when it is a sum ("(2 − √3/2)·q·L").
std::string Factor(const std::string& exact)
{
    int depth = 0;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        depth += exact[i] == '(' ? 1 : exact[i] == ')' ? -1 : 0;
        if (depth == 0 && exact[i] == ' ') {
            return "(" + exact + ")";
        }
    }
    return exact;
}

// One span is a beam on two supports; more make a continuous beam.
std::string BeamText(int spanCountIndex)
{
    if (spanCountIndex >= kManySpansIndex) {
        return "неразрезная балка на опорах, пролетов более шести (показаны семь с разрывом)";
    }
    const int spans = SchemeSpans(spanCountIndex);
    return spans == 1 ? std::string("однопролетная балка на двух опорах")
                      : "неразрезная балка на опорах, пролетов " + std::to_string(spans);
}

std::string CaptionText(std::string_view opening, int spanCountIndex,
                        const std::optional<SchemeLoads>& loads, std::string_view separator)
{
    std::string text(opening);
    text += ": " + BeamText(spanCountIndex) + "; ";
    if (!loads) {
        return text + "q — вертикальная нагрузка, w — горизонтальная нагрузка от ветра поперек "
                      "оси трубы, L — пролет; R_{кр} = k_{кр}·q·L — реакция крайней опоры, "
                      "R_{пр} = k_{пр}·q·L — наиболее нагруженной промежуточной";
    }
    const SupportLoads& l = loads->Loads;
    const std::string rules(RuleSetName(loads->Rules));
    text += "по " + rules + ": q = " + PerMetre(l.VerticalLoad, separator) +
            " — вертикальная нагрузка, w = " + PerMetre(l.WindLoad, separator) +
            " — горизонтальная нагрузка от ветра поперек оси трубы, L = " +
            Metres(l.Span, separator) + " — определяющий пролет; R_{кр} = " + Factor(l.Factors.EndText) +
            "·q·L = " + WholeNewtonsText(l.VerticalEnd);
    if (l.VerticalIntermediate) {
        text += ", R_{пр} = " + Factor(l.Factors.IntermediateText) +
                "·q·L = " + WholeNewtonsText(*l.VerticalIntermediate);
    }
    return text + " — вертикальные реакции опор";
}

}  // namespace

int SchemeSpans(int spanCountIndex)
{
    if (spanCountIndex >= kManySpansIndex) {
        return kManySpansDrawn;
    }
    return spanCountIndex < 0 ? 1 : spanCountIndex + 1;
}

std::optional<SchemeLoads> SchemeLoadsOf(const DesignSummary& summary)
{
    for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
        if (const std::optional<SupportLoads>& loads = summary.Of(rules).Supports) {
            return SchemeLoads{rules, *loads};
        }
    }
    return std::nullopt;
}

NoteDrawing BuildCalculationScheme(int spanCountIndex, const std::optional<SchemeLoads>& loads,
                                   std::string_view caption, std::string_view separator)
{
    NoteDrawing drawing;
    drawing.WidthMm = kSchemeWidthMm;
    drawing.HeightMm = kSchemeHeightMm;
    const int spans = SchemeSpans(spanCountIndex);
    const bool many = spanCountIndex >= kManySpansIndex;
    const double step = (kBeamRight - kBeamLeft) / spans;
    const auto supportX = [step](int i) { return kBeamLeft + step * i; };
    // The break in the middle span; the span dimensioned is a whole one near the middle.
    const int broken = many ? spans / 2 : -1;
    const double breakX = supportX(broken) + step / 2;
    const int dimensioned = many ? 1 : (spans - 1) / 2;

    // The load q over the whole beam, its arrows about every 6,5 mm.
    drawing.Lines.push_back(Line({{kBeamLeft, kLoadY}, {kBeamRight, kLoadY}}, kThin));
    const int arrows = static_cast<int>(std::lround((kBeamRight - kBeamLeft) / 6.5));
    for (int i = 0; i <= arrows; ++i) {
        const double x = kBeamLeft + (kBeamRight - kBeamLeft) * i / arrows;
        if (many && std::abs(x - breakX) < 2.5) {
            continue;
        }
        drawing.Lines.push_back(Arrow({x, kLoadY}, {x, kBeamY - 0.5}, kThin));
    }
    Label(drawing, {kBeamLeft - 1.5, kLoadY + 1}, "q", DrawingAnchor::Right);

    drawing.Lines.push_back(Line({{kBeamLeft, kBeamY}, {kBeamRight, kBeamY}}, kBeamWidth));
    if (many) {
        Break(drawing, breakX);
    }

    // Supports and their reactions.
    for (int i = 0; i <= spans; ++i) {
        const double x = supportX(i);
        Support(drawing, x);
        drawing.Lines.push_back(Arrow({x, kBeamY + 13}, {x, kBeamY + 7}));
        const bool end = i == 0 || i == spans;
        if (end || MostLoadedIntermediate(i, spans)) {
            Label(drawing, {x + 1, kBeamY + 11.5}, end ? "R_{кр}" : "R_{пр}", DrawingAnchor::Left);
        }
    }

    // The span L between the supports of one span, measured below the reactions.
    // Its value stands over the dimension line, or under it where the span is too short.
    const double left = supportX(dimensioned);
    const double right = supportX(dimensioned + 1);
    const bool wide = step >= kWideSpan;
    for (const double x : {left, right}) {
        drawing.Lines.push_back(Line({{x, kBeamY + 14.5}, {x, kBeamY + (wide ? 22.5 : 22)}}, kThin));
    }
    DrawingLine dimension = Line({{left, kBeamY + 21}, {right, kBeamY + 21}}, kThin);
    dimension.ArrowAtStart = dimension.ArrowAtEnd = true;
    drawing.Lines.push_back(std::move(dimension));
    Label(drawing, {(left + right) / 2, kBeamY + (wide ? 19.8 : 25.6)},
          loads ? "L = " + Metres(loads->Loads.Span, separator) : std::string("L"));

    // The cross-section: q downwards and w across the axis, at right angles.
    drawing.Circles.push_back({{kSectionX, kBeamY}, kSectionRadius, kNormal, false});
    drawing.Lines.push_back(Arrow({kSectionX, kBeamY - 13}, {kSectionX, kBeamY - kSectionRadius - 0.3}));
    Label(drawing, {kSectionX + 1.5, kBeamY - 9}, "q", DrawingAnchor::Left);
    drawing.Lines.push_back(Arrow({kSectionX - 13, kBeamY}, {kSectionX - kSectionRadius - 0.3, kBeamY}));
    Label(drawing, {kSectionX - 9, kBeamY - 1.5}, "w");
    Label(drawing, {kSectionX, kBeamY + 10}, "Сечение");

    drawing.Caption = CaptionText(caption, spanCountIndex, loads, separator);
    return drawing;
}

std::string WholeNewtons(double newtons) { return std::to_string(std::llround(newtons)); }

std::string WholeNewtonsText(double newtons) { return WholeNewtons(newtons) + " Н"; }

std::string Kilonewtons(double newtons, std::string_view separator)
{
    // Hundredths of a kilonewton, rounded once from the value.
    const long long hundredths = std::llround(static_cast<long double>(newtons) / 10);
    const long long whole = std::llabs(hundredths) / 100;
    const long long fraction = std::llabs(hundredths) % 100;
    return (hundredths < 0 ? "-" : "") + std::to_string(whole) + std::string(separator) +
           (fraction < 10 ? "0" : "") + std::to_string(fraction);
}

std::string SupportLoadText(double newtons, std::string_view separator)
{
    return WholeNewtonsText(newtons) + " (" + Kilonewtons(newtons, separator) + " кН)";
}

}  // namespace korvelin
