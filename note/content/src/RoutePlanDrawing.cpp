#include "korvelin/RoutePlanDrawing.h"

#include "korvelin/NumberFormat.h"

#include <cmath>
#include <numbers>
#include <string>

namespace korvelin {
namespace {

constexpr double kMarginMm = 2;
constexpr double kAxisLineMm = 0.5;
constexpr double kThinLineMm = 0.25;
constexpr double kDegreesPerPiece = 7.5;  // a bend's arc as pieces of this angle
constexpr double kLegendRowMm = 7;

DrawingLine Line(std::vector<DrawingPoint> points, double width)
{
    DrawingLine line;
    line.Points = std::move(points);
    line.WidthMm = width;
    return line;
}

// The route's millimetres on the sheet: 1:Scale, x to the right, y downwards from the top left
// corner of the extent.
struct Sheet {
    const RoutePlan& Plan;
    DrawingPoint operator()(PlanPoint p) const
    {
        return {kMarginMm + (p.X - Plan.Min.X) / Plan.Scale, kMarginMm + (Plan.Max.Y - p.Y) / Plan.Scale};
    }
};

void AddStroke(NoteDrawing& drawing, const Sheet& sheet, const PlanShape& shape)
{
    const double width = shape.Layer == PlanLayer::Axis ? kAxisLineMm : kThinLineMm;
    if (const auto* line = std::get_if<PlanLine>(&shape.Stroke)) {
        drawing.Lines.push_back(Line({sheet(line->Start), sheet(line->End)}, width));
        return;
    }
    const PlanArc& arc = std::get<PlanArc>(shape.Stroke);
    double sweep = arc.EndAngle - arc.StartAngle;
    sweep += sweep < 0 ? 360 : 0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / kDegreesPerPiece)));
    std::vector<DrawingPoint> points;
    for (int i = 0; i <= pieces; ++i) {
        const long double a = (arc.StartAngle + sweep * i / pieces) * std::numbers::pi_v<long double> / 180;
        points.push_back(sheet({static_cast<double>(arc.Centre.X + arc.Radius * std::cos(a)),
                                static_cast<double>(arc.Centre.Y + arc.Radius * std::sin(a))}));
    }
    drawing.Lines.push_back(Line(std::move(points), width));
}

// A symbol on the sheet around `at`, its x turned counter-clockwise by `degrees` as seen.
void AddSymbol(NoteDrawing& drawing, ScheduleKind kind, DrawingPoint at, double degrees)
{
    const long double a = degrees * std::numbers::pi_v<long double> / 180;
    const long double c = std::cos(a);
    const long double s = std::sin(a);
    for (const PlanLine& line : SupportSymbol(kind)) {
        const auto place = [&](PlanPoint p) {
            return DrawingPoint{static_cast<double>(at.X + c * p.X - s * p.Y),
                                static_cast<double>(at.Y - (s * p.X + c * p.Y))};
        };
        drawing.Lines.push_back(Line({place(line.Start), place(line.End)}, kThinLineMm));
    }
}

}  // namespace

NoteDrawing RoutePlanDrawing(const RoutePlan& plan, int figure)
{
    NoteDrawing drawing;
    const Sheet sheet{plan};
    for (const PlanShape& shape : plan.Axis) {
        AddStroke(drawing, sheet, shape);
    }
    for (const PlanShape& shape : plan.Annotations) {
        AddStroke(drawing, sheet, shape);
    }
    for (const PlanSupport& support : plan.Supports) {
        AddSymbol(drawing, support.Kind, sheet(support.At), support.AngleDeg);
    }
    for (const PlanText& text : plan.Texts) {
        DrawingText label;
        label.At = sheet(text.At);
        label.Text = text.Value;
        label.HeightMm = text.Height / plan.Scale;
        label.AngleDeg = text.AngleDeg;
        label.Anchor = text.Anchor == PlanTextAnchor::Center ? DrawingAnchor::Center : DrawingAnchor::Left;
        drawing.Texts.push_back(std::move(label));
    }
    const double planWidth = (plan.Max.X - plan.Min.X) / plan.Scale + 2 * kMarginMm;
    const double planHeight = (plan.Max.Y - plan.Min.Y) / plan.Scale + 2 * kMarginMm;
    // The legend: a symbol and its name a row.
    static constexpr std::string_view kNames[] = {"неподвижная опора", "скользящая опора",
                                                  "направляющая опора"};
    double y = planHeight + kLegendRowMm / 2;
    for (std::size_t i = 0; i < SupportKinds().size(); ++i) {
        const ScheduleKind kind = SupportKinds()[i];
        AddSymbol(drawing, kind, {kMarginMm + 4, y}, 0);
        DrawingText name;
        name.At = {kMarginMm + 10, y + kPlanTextMm / 2};
        name.Text = "— " + std::string(kNames[i]);
        name.HeightMm = kPlanTextMm;
        name.Anchor = DrawingAnchor::Left;
        drawing.Texts.push_back(std::move(name));
        y += kLegendRowMm;
    }
    drawing.WidthMm = std::max(planWidth, 60.0);
    drawing.HeightMm = y - kLegendRowMm / 2 + kMarginMm;
    drawing.Caption = "Рис. " + std::to_string(figure) + ". План трассы с опорами, М 1:" +
                      std::to_string(static_cast<long long>(plan.Scale)) +
                      "; числа у опор — их номера по ведомости, размеры плеч — в метрах";
    return drawing;
}

void AddRoutePlanFigure(NoteSection& section, std::span<const CompensationResult> sections,
                        const RouteSchedule& schedule, int figure, std::string_view decimalSeparator)
{
    section.Blocks.emplace_back(RoutePlanDrawing(
        BuildRoutePlan(sections, schedule, kRoutePlanDrawingWidthMm, decimalSeparator), figure));
}

}  // namespace korvelin
