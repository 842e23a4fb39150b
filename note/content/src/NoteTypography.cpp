#include "korvelin/NoteTypography.h"

#include <array>

namespace korvelin {
namespace {

// The units a number stands before, as the documents write them.
constexpr std::array<std::string_view, 22> kUnits = {
    "кН/м²", "кН/м", "кН", "Н/м³", "Н/м", "Н", "кг/м³", "м/с²", "мм", "м⁴", "м³", "м²", "м",
    "МПа", "кПа", "Па", "‰", "%", "°C", "К", "шт.", "Дж/(кг·К)",
};

// The kinds of standards whose number follows their name.
constexpr std::array<std::string_view, 4> kStandards = {"СП", "СНиП", "ГОСТ", "ГОСТ Р"};

constexpr std::array<std::string_view, 10> kRaisedDigits = {"⁰", "¹", "²", "³", "⁴",
                                                            "⁵", "⁶", "⁷", "⁸", "⁹"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A letter of the texts: Latin, Greek or Cyrillic (the lead bytes of their two-byte forms).
bool StartsLetter(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    const auto c = static_cast<unsigned char>(text.front());
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xCE && c <= 0xD1);
}

bool EndsWithNumber(std::string_view before)
{
    if (!before.empty() && IsDigit(before.back())) {
        return true;
    }
    for (const std::string_view raised : kRaisedDigits) {
        if (before.ends_with(raised)) {
            return true;
        }
    }
    return false;
}

bool StartsWithUnit(std::string_view after)
{
    for (const std::string_view unit : kUnits) {
        if (after.starts_with(unit) && !StartsLetter(after.substr(unit.size()))) {
            return true;
        }
    }
    return false;
}

// The last character a letter: Latin, or the two-byte form of a Greek or Cyrillic one.
bool EndsWithLetter(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    const auto last = static_cast<unsigned char>(text.back());
    if (last < 0x80) {
        return StartsLetter(text.substr(text.size() - 1));
    }
    return text.size() >= 2 && (last & 0xC0) == 0x80 && StartsLetter(text.substr(text.size() - 2));
}

// "СП" before "42-102-2004", "ГОСТ" before "Р 21.101-2020": a whole word, the number after it.
bool EndsWithStandard(std::string_view before, std::string_view after)
{
    if (after.empty() || !(IsDigit(after.front()) || after.starts_with("Р "))) {
        return false;
    }
    if (before.ends_with("ГОСТ\u00A0Р")) {
        return true;
    }
    for (const std::string_view name : kStandards) {
        if (before.ends_with(name) && !EndsWithLetter(before.substr(0, before.size() - name.size()))) {
            return true;
        }
    }
    return false;
}

void Apply(std::string& text) { text = WithNoBreakSpaces(text); }

}  // namespace

std::string WithNoBreakSpaces(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            const std::string_view before(out);
            const std::string_view after = text.substr(i + 1);
            if ((EndsWithNumber(before) && StartsWithUnit(after)) ||
                EndsWithStandard(before, after)) {
                out += kNoBreakSpace;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void SetNoBreakSpaces(NoteDocument& document)
{
    Apply(document.Title);
    for (NoteBlock& block : document.Blocks) {
        if (auto* heading = std::get_if<NoteHeading>(&block)) {
            Apply(heading->Text);
        } else if (auto* paragraph = std::get_if<NoteParagraph>(&block)) {
            Apply(paragraph->Text);
        } else if (auto* table = std::get_if<NoteTable>(&block)) {
            for (auto& row : table->Rows) {
                for (NoteCell& cell : row) {
                    Apply(cell.Text);
                }
            }
        } else if (auto* drawing = std::get_if<NoteDrawing>(&block)) {
            Apply(drawing->Caption);
            for (DrawingText& label : drawing->Texts) {
                Apply(label.Text);
            }
        }
    }
}

}  // namespace korvelin
