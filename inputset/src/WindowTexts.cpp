#include "WindowTexts.h"

#include "korvelin/ParseNumber.h"

#include <array>
#include <string_view>

namespace korvelin {
namespace {

constexpr std::string_view kTypable = "можно ввести только цифры и одну десятичную запятую";

std::string Quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

// An optional text is typable or empty.
bool TypableOrEmpty(std::string_view text) { return text.empty() || IsFieldNumberText(text); }

}  // namespace

std::string WindowTextProblem(const InputSet& set)
{
    constexpr std::array<std::string FieldTexts::*, 5> kFields = {
        &FieldTexts::OuterDiameter, &FieldTexts::WallThickness, &FieldTexts::UltimateStrength,
        &FieldTexts::YieldStrength, &FieldTexts::Pressure};
    for (const auto field : kFields) {
        const std::string& text = set.Texts.*field;
        if (!IsFieldNumberText(text)) {
            return "в поле " + Quoted(FieldCaption(field)) + " записано " + Quoted(text) + ", а в это поле " +
                   std::string(kTypable);
        }
    }
    for (const auto& [caption, text] : {std::pair{"Принятый пролет, м", &set.ChosenSpan},
                                        std::pair{"Длина участка трассы, м", &set.RouteLength}}) {
        if (*text && !TypableOrEmpty(**text)) {
            return "в поле " + Quoted(caption) + " записано " + Quoted(**text) + ", а в это поле " +
                   std::string(kTypable);
        }
    }
    if (set.PipeTable) {
        for (std::size_t i = 0; i < set.PipeTable->size(); ++i) {
            const PipeTableRow& row = (*set.PipeTable)[i];
            for (const auto& [column, text] : {std::pair{"Наружный диаметр, мм", &row.Diameter},
                                               std::pair{"Толщина стенки, мм", &row.Wall}}) {
                if (!TypableOrEmpty(*text)) {
                    return "в строке " + std::to_string(i + 1) + " таблицы пролетов в ячейке " + Quoted(column) +
                           " записано " + Quoted(*text) + ", а в ячейку " + std::string(kTypable);
                }
            }
        }
    }
    return {};
}

}  // namespace korvelin
