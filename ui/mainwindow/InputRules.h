#pragma once

// The input editing rules of the main window's numeric fields that need no window: the window's
// handlers call them with the texts the fields hold.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The key filter of the five numeric fields for one key about to be inserted: the key that goes
// in (0 when dropped), and whether the field is emptied instead, which backspace and Enter do in
// a text of one character (its change rule then puts a selected "0" back).
struct FieldKey {
    char16_t Key = 0;
    bool EmptiesField = false;
};
FieldKey FilterFieldKey(char16_t key, const QString& text);

// The refill step of every change rule: the text an empty field gets, "0"; none for any other.
std::optional<QString> RefillText(const QString& text);

// The inner-diameter limit, checked at every change of the outer diameter: the outer diameter
// and the wall are read in that order; the conversion error of the first that cannot be read, or
// the outer diameter at which the inner diameter is exactly the limit (twice the wall plus
// 300 mm, in the general number format) when the inner diameter exceeds it.
struct DiameterCheck {
    std::string Error;                     // empty when both texts were read
    std::optional<std::string> Corrected;  // the text to put in place of the diameter
};
DiameterCheck CheckOuterDiameter(std::string_view outerDiameter, std::string_view wallThickness,
                                 std::string_view decimalSeparator);
