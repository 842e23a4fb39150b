#include "OutcomeText.h"

#include <clocale>
#include <string>

namespace korvelin::cli {

const std::array<SpanColumn, 6>& SpanColumns()
{
    static const std::array<SpanColumn, 6> columns = {{
        {"static_sp", "Длина пролета исходя из статического расчета на прочность", true,
         &SpanResults::StaticSpanSP},
        {"dynamic_sp", "Длина пролета исходя из динамического расчета на прочность", true,
         &SpanResults::DynamicSpanSP},
        {"condensate_sp", "Длина пролета исходя из условия возможности образования конденсата",
         true, &SpanResults::CondensateSpanSP},
        {"deflection_sp", "Длина пролета исходя из предельного допустимого прогиба", true,
         &SpanResults::DeflectionSpanSP},
        {"static_snip", "Длина пролета исходя из статического расчета на прочность", false,
         &SpanResults::StaticSpanSNiP},
        {"deflection_snip", "Длина пролета исходя из предельного допустимого прогиба", false,
         &SpanResults::DeflectionSpanSNiP},
    }};
    return columns;
}

std::string LocaleDecimalSeparator()
{
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr ||
        conventions->decimal_point[0] == '\0') {
        return ".";
    }
    return conventions->decimal_point;
}

}  // namespace korvelin::cli
