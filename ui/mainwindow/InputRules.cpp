#include "InputRules.h"

#include "NumericKeys.h"

#include <korvelin/ParseNumber.h>
#include <korvelin/SpanInput.h>

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;

} // namespace

FieldKey FilterFieldKey(char16_t key, const QString& text)
{
    key = NumericKey(key, text);
    if (text.size() == 1 && (key == Backspace || key == Enter))
        return FieldKey{0, true};
    return FieldKey{key, false};
}

std::optional<QString> RefillText(const QString& text)
{
    if (!text.isEmpty())
        return std::nullopt;
    return QString::number(0);
}

DiameterCheck CheckOuterDiameter(std::string_view outerDiameter, std::string_view wallThickness,
                                 std::string_view decimalSeparator)
{
    const korvelin::ParsedNumber outer = korvelin::ParseNumber(outerDiameter, decimalSeparator);
    if (!outer.Ok)
        return {korvelin::ConversionErrorMessage(outer.WorkingCopy), std::nullopt};
    const korvelin::ParsedNumber wall = korvelin::ParseNumber(wallThickness, decimalSeparator);
    if (!wall.Ok)
        return {korvelin::ConversionErrorMessage(wall.WorkingCopy), std::nullopt};
    return {std::string(),
            korvelin::DiameterLimitCorrection(outer.Value, wall.Value, outerDiameter, decimalSeparator)};
}
