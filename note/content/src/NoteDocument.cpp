#include "korvelin/NoteDocument.h"

namespace korvelin {

std::string FormulaPlainText(std::string_view formula)
{
    std::string text;
    text.reserve(formula.size());
    for (std::size_t i = 0; i < formula.size(); ++i) {
        const char c = formula[i];
        const std::size_t close = formula.find('}', i + 2);
        if ((c == '_' || c == '^') && i + 1 < formula.size() && formula[i + 1] == '{' &&
            close != std::string_view::npos) {
            // The mark's text stays, its braces go; braces elsewhere are text.
            text += formula.substr(i + 2, close - i - 2);
            i = close;
            continue;
        }
        text += c;
    }
    return text;
}

std::vector<FormulaRun> FormulaRuns(std::string_view formula)
{
    std::vector<FormulaRun> runs;
    std::string plain;
    for (std::size_t i = 0; i < formula.size(); ++i) {
        const char c = formula[i];
        const std::size_t close = formula.find('}', i + 2);
        if ((c == '_' || c == '^') && i + 1 < formula.size() && formula[i + 1] == '{' &&
            close != std::string_view::npos) {
            if (!plain.empty()) {
                runs.push_back({std::move(plain), 0});
                plain.clear();
            }
            runs.push_back({std::string(formula.substr(i + 2, close - i - 2)), c == '_' ? -1 : 1});
            i = close;
            continue;
        }
        plain += c;
    }
    if (!plain.empty()) {
        runs.push_back({std::move(plain), 0});
    }
    return runs;
}

std::string NoteToPlainText(const NoteDocument& document)
{
    std::string text = document.Title;
    text += '\n';
    for (const NoteBlock& block : document.Blocks) {
        text += '\n';
        if (const auto* heading = std::get_if<NoteHeading>(&block)) {
            text += heading->Text;
            text += '\n';
        } else if (const auto* paragraph = std::get_if<NoteParagraph>(&block)) {
            text += FormulaPlainText(paragraph->Text);
            text += '\n';
        } else if (const auto* drawing = std::get_if<NoteDrawing>(&block)) {
            text += drawing->Caption;
            text += '\n';
            for (std::size_t i = 0; i < drawing->Texts.size(); ++i) {
                text += i > 0 ? " | " : "";
                text += FormulaPlainText(drawing->Texts[i].Text);
            }
            text += '\n';
        } else {
            for (const auto& row : std::get<NoteTable>(block).Rows) {
                for (std::size_t i = 0; i < row.size(); ++i) {
                    if (i > 0) {
                        text += '\t';
                    }
                    text += row[i].Text;
                }
                text += '\n';
            }
        }
    }
    return text;
}

}  // namespace korvelin
