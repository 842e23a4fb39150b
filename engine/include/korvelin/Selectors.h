#pragma once

#include <array>
#include <span>
#include <string_view>

namespace korvelin {

// The items of the selectors, in the order in which they stand; the index of an item is what the
// calculation receives. Items with empty text are real items.
std::span<const std::string_view> HeightCategoryItems();  // ComboBox1
std::span<const std::string_view> SnowRegionItems();      // ComboBox2
std::span<const std::string_view> WindRegionItems();      // ComboBox3
std::span<const std::string_view> IceRegionItems();       // ComboBox7
std::span<const std::string_view> SpanCountItems();       // ComboBox4
std::span<const std::string_view> SlopeItems();           // ComboBox5
std::span<const std::string_view> SteelGradeItems();      // ComboBox6

// The strengths that a steel grade puts into the two strength fields, as texts in MPa.
struct SteelGrade {
    std::string_view UltimateStrength;
    std::string_view YieldStrength;
    bool UserDefined;  // "Свой": the fields are enabled for the user to type both values
};

// The grade of a ComboBox6 index, or nullptr for an index outside the list.
const SteelGrade* FindSteelGrade(int index);

}  // namespace korvelin
