#pragma once

// A printable document as plain data: a title, then headings, paragraphs and tables in order,
// on A4 pages of a given orientation. One model is rendered alike to the screen, the printer and
// PDF (the renderer lives in the note library, which knows Qt; this model does not).

#include <string>
#include <variant>
#include <vector>

namespace korvelin {

enum class PageOrientation { Portrait, Landscape };

struct NoteHeading {
    std::string Text;
};

struct NoteParagraph {
    std::string Text;
    bool Bold = false;
};

enum class CellAlignment { Left, Right, Center };

struct NoteCell {
    std::string Text;
    bool Bold = false;
};

// A table with its header rows first; the renderer repeats them on every page the table spans.
// Columns without a given alignment are left-aligned; without given widths the columns share the
// page's width by their content.
struct NoteTable {
    std::vector<std::vector<NoteCell>> Rows;
    int HeaderRows = 1;
    std::vector<CellAlignment> Alignment;  // per column
    std::vector<int> WidthPercent;         // per column, of the text width
};

using NoteBlock = std::variant<NoteHeading, NoteParagraph, NoteTable>;

struct NoteDocument {
    std::string Title;
    PageOrientation Orientation = PageOrientation::Portrait;
    std::vector<NoteBlock> Blocks;

    void AddHeading(std::string text) { Blocks.emplace_back(NoteHeading{std::move(text)}); }
    void AddParagraph(std::string text, bool bold = false)
    {
        Blocks.emplace_back(NoteParagraph{std::move(text), bold});
    }
    void AddTable(NoteTable table) { Blocks.emplace_back(std::move(table)); }
};

// The document as plain text: the title, headings and paragraphs on their own lines, table rows
// with their cells separated by tabs, an empty line between blocks.
std::string NoteToPlainText(const NoteDocument& document);

}  // namespace korvelin
