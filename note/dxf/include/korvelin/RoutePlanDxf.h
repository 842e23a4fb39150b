#pragma once

// The plan of the route as a DXF document: the axis on the layer «ОСЬ» as lines and arcs, every
// support a reference to the block of its type («НЕПОДВИЖНАЯ», «СКОЛЬЗЯЩАЯ», «НАПРАВЛЯЮЩАЯ») on
// «ОПОРЫ», the dimensions of the legs on «РАЗМЕРЫ», the supports' numbers and the dimensions'
// texts on «ТЕКСТ». Millimetres of the real route; the symbols and the texts have their sheet
// sizes at the plan's scale.

#include "korvelin/DxfWriter.h"
#include "korvelin/RoutePlan.h"

#include <string_view>

namespace korvelin {

inline constexpr std::string_view kAxisLayer = "ОСЬ";
inline constexpr std::string_view kSupportsLayer = "ОПОРЫ";
inline constexpr std::string_view kDimensionsLayer = "РАЗМЕРЫ";
inline constexpr std::string_view kTextsLayer = "ТЕКСТ";

// The sheet the DXF's plan is fitted to, mm: the width of an A3 sheet's field in landscape.
inline constexpr double kRouteDxfSheetMm = 390;

dxf::Document RoutePlanDocument(const RoutePlan& plan);

}  // namespace korvelin
