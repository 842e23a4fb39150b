#include "korvelin/RoutePlanDxf.h"

#include <string>

namespace korvelin {
namespace {

std::string_view LayerOf(PlanLayer layer)
{
    switch (layer) {
    case PlanLayer::Axis:
        return kAxisLayer;
    case PlanLayer::Supports:
        return kSupportsLayer;
    case PlanLayer::Dimensions:
        return kDimensionsLayer;
    case PlanLayer::Texts:
        return kTextsLayer;
    }
    return kAxisLayer;
}

dxf::Point Of(PlanPoint p) { return {p.X, p.Y}; }

dxf::Entity Stroke(const PlanShape& shape)
{
    dxf::Entity entity;
    entity.Layer = std::string(LayerOf(shape.Layer));
    if (const auto* line = std::get_if<PlanLine>(&shape.Stroke)) {
        entity.Geometry = dxf::Line{Of(line->Start), Of(line->End)};
    } else {
        const PlanArc& arc = std::get<PlanArc>(shape.Stroke);
        entity.Geometry = dxf::Arc{Of(arc.Centre), arc.Radius, arc.StartAngle, arc.EndAngle};
    }
    return entity;
}

}  // namespace

dxf::Document RoutePlanDocument(const RoutePlan& plan)
{
    dxf::Document document;
    document.Layers = {{std::string(kAxisLayer), 7},
                       {std::string(kSupportsLayer), 5},
                       {std::string(kDimensionsLayer), 3},
                       {std::string(kTextsLayer), 7}};
    // One block a type, drawn on layer 0 so that a reference takes the layer it stands on.
    for (const ScheduleKind kind : SupportKinds()) {
        dxf::Block block;
        block.Name = std::string(SupportBlockName(kind));
        for (const PlanLine& line : SupportSymbol(kind)) {
            block.Entities.push_back(
                {"0", dxf::Line{{line.Start.X * plan.Scale, line.Start.Y * plan.Scale},
                                {line.End.X * plan.Scale, line.End.Y * plan.Scale}}});
        }
        document.Blocks.push_back(std::move(block));
    }
    for (const PlanShape& shape : plan.Axis) {
        document.Entities.push_back(Stroke(shape));
    }
    for (const PlanShape& shape : plan.Annotations) {
        document.Entities.push_back(Stroke(shape));
    }
    for (const PlanSupport& support : plan.Supports) {
        document.Entities.push_back({std::string(kSupportsLayer),
                                     dxf::Insert{std::string(SupportBlockName(support.Kind)),
                                                 Of(support.At), support.AngleDeg}});
    }
    for (const PlanText& text : plan.Texts) {
        dxf::Text written;
        written.At = Of(text.At);
        written.Height = text.Height;
        written.Value = text.Value;
        written.Rotation = text.AngleDeg;
        written.Centred = text.Anchor == PlanTextAnchor::Center;
        document.Entities.push_back({std::string(kTextsLayer), written});
    }
    return document;
}

}  // namespace korvelin
