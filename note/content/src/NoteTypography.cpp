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

// Applies `apply` to every text of the document.
template <typename Apply>
void ForEachText(NoteDocument& document, Apply apply)
{
    apply(document.Title);
    for (NoteBlock& block : document.Blocks) {
        if (auto* heading = std::get_if<NoteHeading>(&block)) {
            apply(heading->Text);
        } else if (auto* paragraph = std::get_if<NoteParagraph>(&block)) {
            apply(paragraph->Text);
        } else if (auto* table = std::get_if<NoteTable>(&block)) {
            apply(table->Title);
            for (auto& row : table->Rows) {
                for (NoteCell& cell : row) {
                    apply(cell.Text);
                }
            }
        } else if (auto* drawing = std::get_if<NoteDrawing>(&block)) {
            apply(drawing->Caption);
            for (DrawingText& label : drawing->Texts) {
                apply(label.Text);
            }
        }
    }
}

void SetNoBreakSpaces(NoteDocument& document) { ForEachText(document, Apply); }

namespace {

// Whether the text before a hyphen ends so that the hyphen is a sign: nothing, or a character
// that is neither a digit, a letter nor a mark that closes a number or a word.
bool SignFollows(std::string_view before)
{
    if (before.empty()) {
        return true;
    }
    const auto last = static_cast<unsigned char>(before.back());
    if (last < 0x80) {
        const char c = static_cast<char>(last);
        const bool alphanumeric = IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return !alphanumeric && c != '.' && c != ',' && c != ')' && c != '-' && c != '_';
    }
    // A Cyrillic letter is two bytes led by 0xD0 or 0xD1; other signs (·, ×, ≤, a no-break
    // space) let the hyphen be a sign.
    return !EndsWithLetter(before);
}

}  // namespace

std::string WithMinusSigns(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-' && i + 1 < text.size() && IsDigit(text[i + 1]) && SignFollows(out)) {
            out += "−";
            continue;
        }
        out += text[i];
    }
    return out;
}

void SetMinusSigns(NoteDocument& document)
{
    ForEachText(document, [](std::string& text) {
        if (text.find('-') != std::string::npos) {
            text = WithMinusSigns(text);
        }
    });
}

void NumberTablesAndFigures(NoteDocument& document)
{
    int tables = 0;
    int figures = 0;
    std::vector<NoteBlock> blocks;
    blocks.reserve(document.Blocks.size() + 32);
    for (NoteBlock& block : document.Blocks) {
        if (auto* table = std::get_if<NoteTable>(&block); table != nullptr && !table->Title.empty()) {
            blocks.emplace_back(NoteParagraph{"Таблица " + std::to_string(++tables) + " — " + table->Title,
                                              false, false, true});
        } else if (auto* drawing = std::get_if<NoteDrawing>(&block);
                   drawing != nullptr && !drawing->Caption.empty()) {
            std::string_view caption = drawing->Caption;
            if (caption.starts_with("Рис. ")) {
                const std::size_t end = caption.find(". ", std::string_view("Рис. ").size());
                if (end != std::string_view::npos) {
                    caption.remove_prefix(end + 2);
                }
            }
            drawing->Caption = "Рис. " + std::to_string(++figures) + ". " + std::string(caption);
        }
        blocks.push_back(std::move(block));
    }
    document.Blocks = std::move(blocks);
}

void ShowTableTitles(NoteDocument& document)
{
    std::vector<NoteBlock> blocks;
    blocks.reserve(document.Blocks.size() + 8);
    for (NoteBlock& block : document.Blocks) {
        if (auto* table = std::get_if<NoteTable>(&block); table != nullptr && !table->Title.empty()) {
            blocks.emplace_back(NoteParagraph{table->Title, true, false, true});
        }
        blocks.push_back(std::move(block));
    }
    document.Blocks = std::move(blocks);
}

void FinishNote(NoteDocument& document)
{
    NumberTablesAndFigures(document);
    SetMinusSigns(document);
    SetNoBreakSpaces(document);
}

}  // namespace korvelin
