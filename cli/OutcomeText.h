#pragma once

#include "korvelin/BatchColumns.h"
#include "korvelin/RunCalculation.h"

#include <array>
#include <optional>
#include <string_view>

namespace korvelin::cli {

using korvelin::OutcomeName;

// The six spans in the order of the batch columns, with their labels and rules.
struct SpanColumn {
    std::string_view Key;    // batch column and JSON key
    std::string_view Label;  // the label of the result field
    bool SP;                 // SP 42-102-2004 (else SNiP 2.04.12-86)
    std::optional<double> SpanResults::*Field;
};
const std::array<SpanColumn, 6>& SpanColumns();

inline constexpr std::string_view kRulesSP = "По СП 42-102-2004";
inline constexpr std::string_view kRulesSNiP = "По СНиП 2.04.12-86";

// The decimal separator of the process's numeric locale (after setlocale).
std::string LocaleDecimalSeparator();

}  // namespace korvelin::cli
