#pragma once

// The calculation scheme of a pipe: the pipe as a continuous beam of equal spans on its
// supports, drawn as the selected number of spans gives them (more than six drawn as seven with a
// break), the vertical load q and the horizontal load w, the span L dimensioned and the reactions
// of the end supports and of the most loaded intermediate ones. One drawing for the note, its ODT
// and the page «Итог».

#include "korvelin/DesignSummary.h"
#include "korvelin/NoteDocument.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// The width and height of the scheme on the sheet, mm: it fits the text of a framed sheet.
inline constexpr double kSchemeWidthMm = 170;
inline constexpr double kSchemeHeightMm = 50;

// The spans the scheme draws for the "Количество пролетов" item: 1 to 6, and 7 for more than six.
int SchemeSpans(int spanCountIndex);

// The loads the scheme shows: those of one set of rules at its governing span.
struct SchemeLoads {
    RuleSet Rules = RuleSet::SP;
    SupportLoads Loads;
};

// The loads at the governing span of SP 42-102-2004, or of SNiP 2.04.12-86 when SP has none;
// none when neither set has a governing span.
std::optional<SchemeLoads> SchemeLoadsOf(const DesignSummary& summary);

// The scheme for the "Количество пролетов" item; with loads, its caption gives q, w, L and the
// reactions k·q·L with their values (whole newtons), else the symbols alone. `caption` opens the
// caption, e.g. "Рис. 1. Расчетная схема трубы 57×3".
NoteDrawing BuildCalculationScheme(int spanCountIndex, const std::optional<SchemeLoads>& loads,
                                   std::string_view caption, std::string_view decimalSeparator);

// A load on a support as a designer gives it: whole newtons, then kilonewtons to 0,01 —
// "1234 Н (1,23 кН)"; the parts alone: "1234" and "1,23".
std::string SupportLoadText(double newtons, std::string_view decimalSeparator);
std::string WholeNewtons(double newtons);
std::string Kilonewtons(double newtons, std::string_view decimalSeparator);
// "1234 Н".
std::string WholeNewtonsText(double newtons);

}  // namespace korvelin
