#pragma once

// The writer of a method's steps in the note: a bold heading, the formulas with the values put in,
// then the symbols not explained before. Shared by the sections of the note that show a method.

#include "korvelin/NoteDocument.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/OwnClimate.h"

#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace korvelin {

// Significant digits of a value put into a formula: enough that the result comes out again to
// the last digit shown, with a margin for the rounding of the values put in.
inline constexpr int kDigits = 7;

struct Symbol {
    std::string Name;     // as the formulas write it, with the marks of sub- and superscripts
    std::string Meaning;  // with its unit
};

// Writes the steps of the method: a bold heading, the formulas, then the symbols not explained
// in an earlier step. The paragraphs of a step keep together on one sheet.
class MethodWriter {
public:
    MethodWriter(NoteDocument& note, std::string_view separator)
        : Note(note), Separator(separator)
    {
    }
    // With the site's own climatic values, for the steps that read them.
    MethodWriter(NoteDocument& note, std::string_view separator, const OwnClimateTexts& own)
        : Note(note), Separator(separator), Own(&own)
    {
    }

    // A value put into a formula, or one that no window shows.
    std::string V(long double value) const { return FormatSignificant(value, kDigits, Separator); }
    // A constant exactly as the formulas take it.
    std::string C(long double value) const { return FormatSignificant(value, 15, Separator); }
    // A result as the window shows it, with its unit: the spans.
    std::string R(double value, std::string_view unit) const
    {
        return FormatFixed3(value, Separator) + " " + std::string(unit);
    }
    // A result that later formulas take: with the digits they take it with.
    std::string I(double value, std::string_view unit) const
    {
        return V(value) + " " + std::string(unit);
    }
    std::string_view Mark() const { return Separator; }
    // The own climatic values; only for a writer made with them.
    const OwnClimateTexts& OwnTexts() const { return *Own; }

    void Step(std::string heading)
    {
        Note.Blocks.emplace_back(NoteParagraph{std::move(heading), true, false, true});
    }
    // The document the step follows, right under its heading.
    void Source(std::string text)
    {
        Note.Blocks.emplace_back(NoteParagraph{"Основание: " + std::move(text) + ".", false, false, true});
    }
    // A remark on the model of the step's formula, after its symbols; ends the step.
    void Remark(std::string text)
    {
        std::get<NoteParagraph>(Note.Blocks.back()).KeepWithNext = true;
        Note.Blocks.emplace_back(NoteParagraph{std::move(text), false, false, false});
    }
    void Line(std::string formula)
    {
        Note.Blocks.emplace_back(NoteParagraph{std::move(formula), false, true, true});
    }
    // The symbols of the step not explained before, in one line "где …"; ends the step.
    void Where(std::initializer_list<Symbol> symbols)
    {
        std::string line;
        for (const Symbol& symbol : symbols) {
            if (!Explained.insert(symbol.Name).second) {
                continue;
            }
            line += line.empty() ? "где " : "; ";
            line += symbol.Name;
            line += " — ";
            line += symbol.Meaning;
        }
        auto& last = std::get<NoteParagraph>(Note.Blocks.back());
        if (line.empty()) {
            // The formula closes the step: its comma before "где" becomes a full stop.
            if (last.Text.ends_with(",")) {
                last.Text.back() = '.';
            }
        } else {
            Line(line + ".");
        }
        std::get<NoteParagraph>(Note.Blocks.back()).KeepWithNext = false;
    }

private:
    NoteDocument& Note;
    std::string_view Separator;
    const OwnClimateTexts* Own = nullptr;
    std::set<std::string> Explained;
};

}  // namespace korvelin
