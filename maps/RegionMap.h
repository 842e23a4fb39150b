#pragma once

#include <QImage>

struct RegionTable;

// The picture that stands in for a region map: its title, the table of regions with their
// values and a note on replacing it with the official map. No region boundaries are drawn.
QImage DrawRegionMap(const RegionTable& table);
