#include "RegionTables.h"

#include "korvelin/ClimaticLoads.h"
#include "korvelin/Selectors.h"

namespace {

// The region names of a selector, without its items that have no table row.
QStringList RegionNames(std::span<const std::string_view> items, std::size_t rows)
{
    QStringList names;
    for (std::size_t i = 0; i < rows; ++i) {
        names.append(QString::fromUtf8(items[i].data(), static_cast<qsizetype>(items[i].size())));
    }
    return names;
}

template <std::size_t N>
QList<double> Values(const std::array<double, N>& table, double scale)
{
    QList<double> values;
    for (double value : table) {
        values.append(value * scale);
    }
    return values;
}

}  // namespace

// The values come from the calculation's own tables, so the pictures always show what it uses.
QList<RegionTable> RegionTables()
{
    using namespace korvelin;
    return {
        {QStringLiteral("1.jpg"),
         QStringLiteral("Районы по весу снегового покрова"),
         QStringLiteral("Снеговой район"),
         QStringLiteral("Вес снегового покрова S, кН/м²"),
         RegionNames(SnowRegionItems(), kSnowWeight.size()),
         Values(kSnowWeight, 1),
         1},
        {QStringLiteral("2.jpg"),
         QStringLiteral("Районы по давлению ветра"),
         QStringLiteral("Ветровой район"),
         QStringLiteral("Давление ветра w₀, кПа"),
         RegionNames(WindRegionItems(), kWindPressure.size()),
         Values(kWindPressure, 1),
         2},
        {QStringLiteral("3.jpg"),
         QStringLiteral("Районы по толщине стенки гололеда"),
         QStringLiteral("Гололедный район"),
         QStringLiteral("Толщина стенки гололеда b, мм"),
         RegionNames(IceRegionItems(), kIceThickness.size()),
         Values(kIceThickness, 1000),
         0},
    };
}
