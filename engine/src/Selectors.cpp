#include "korvelin/Selectors.h"

namespace korvelin {
namespace {

constexpr std::array<std::string_view, 3> kHeightCategories = {
    "до 10,0 м", "от 10,0 до 20,0 м", "более 25,0 м."};
constexpr std::array<std::string_view, 8> kSnowRegions = {"I",  "II",  "III", "IV",
                                                          "V",  "VI",  "VII", "VIII"};
constexpr std::array<std::string_view, 9> kWindRegions = {"Ia", "I",  "II",  "III", "IV",
                                                          "V",  "VI", "VII", ""};
constexpr std::array<std::string_view, 8> kIceRegions = {"I", "II", "III", "IV", "V", "", "", ""};
constexpr std::array<std::string_view, 7> kSpanCounts = {"1", "2", "3", "4", "5", "6", ">6"};
constexpr std::array<std::string_view, 11> kSlopes = {"0,000", "0,001", "0,002", "0,003",
                                                      "0,004", "0,005", "0,006", "0,007",
                                                      "0,008", "0,009", "0,010"};
constexpr std::array<std::string_view, 7> kSteelGradeNames = {
    "ст2сп/ГОСТ 10705-80", "ст3сп/ГОСТ 10705-80", "08/ГОСТ 10705-80", "10/ГОСТ 10705-80",
    "15/ГОСТ 10705-80",    "20/ГОСТ 10705-80",    "Свой"};
constexpr std::array<SteelGrade, 7> kSteelGrades = {{
    {"333", "206", false},
    {"372", "225", false},
    {"314", "196", false},
    {"314", "196", false},
    {"333", "206", false},
    {"372", "225", false},
    {"0", "0", true},
}};

}  // namespace

std::span<const std::string_view> HeightCategoryItems() { return kHeightCategories; }
std::span<const std::string_view> SnowRegionItems() { return kSnowRegions; }
std::span<const std::string_view> WindRegionItems() { return kWindRegions; }
std::span<const std::string_view> IceRegionItems() { return kIceRegions; }
std::span<const std::string_view> SpanCountItems() { return kSpanCounts; }
std::span<const std::string_view> SlopeItems() { return kSlopes; }
std::span<const std::string_view> SteelGradeItems() { return kSteelGradeNames; }

const SteelGrade* FindSteelGrade(int index)
{
    if (index < 0 || index >= static_cast<int>(kSteelGrades.size())) {
        return nullptr;
    }
    return &kSteelGrades[static_cast<std::size_t>(index)];
}

}  // namespace korvelin
