#pragma once

// A printable document as plain data: a title, then headings, paragraphs and tables in order,
// on A4 pages of a given orientation. One model is rendered alike to the screen, the printer and
// PDF (the renderer lives in the note library, which knows Qt; this model does not).

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvelin {

enum class PageOrientation { Portrait, Landscape };

struct NoteHeading {
    std::string Text;
};

// A paragraph's text marks a subscript as "_{…}" and a superscript as "^{…}" (the renderer sets
// them lower and higher, the plain text drops the braces): in a formula and in the sentences that
// name its symbols ("F_{тр} = μ·F"). A formula stands indented. A paragraph that keeps with the
// next block stands on the same sheet as it: the lines of one step of a calculation, a caption.
struct NoteParagraph {
    std::string Text;
    bool Bold = false;
    bool Formula = false;
    bool KeepWithNext = false;
};

enum class CellAlignment { Left, Right, Center };

struct NoteCell {
    std::string Text;
    bool Bold = false;
};

// A table with its header rows first; the renderer repeats them on every page the table spans.
// Columns without a given alignment are left-aligned; without given widths the columns share the
// page's width by their content. The title names the table; a document's builder numbers its tables
// by their titles when it is done ("Таблица 3 — Нагрузки на опоры").
struct NoteTable {
    std::string Title;
    std::vector<std::vector<NoteCell>> Rows;
    int HeaderRows = 1;
    std::vector<CellAlignment> Alignment;  // per column
    std::vector<int> WidthPercent;         // per column, of the text width
    bool KeepWithNext = false;             // on the same sheet as the next block when both fit
};

// A line drawing (a calculation scheme, a section in plan) measured in millimetres on the sheet,
// x to the right and y downwards from the drawing's top left corner. The renderers draw it as
// vectors, at its own size, centred on the text width.
struct DrawingPoint {
    double X = 0;
    double Y = 0;
};

// A polyline; closed, it is a polygon, which may be filled black (a support's triangle, an
// arrowhead of its own). Dashed, or a chain of a long dash and two dots, the line of a part shown
// in a displaced position.
struct DrawingLine {
    std::vector<DrawingPoint> Points;
    double WidthMm = 0.25;
    bool Dashed = false;
    bool DashDotDot = false;
    bool ArrowAtStart = false;
    bool ArrowAtEnd = false;
    bool Closed = false;
    bool Filled = false;
};

struct DrawingCircle {
    DrawingPoint Centre;
    double RadiusMm = 1;
    double WidthMm = 0.25;
    bool Filled = false;
};

enum class DrawingAnchor { Left, Center, Right };

// A label: its baseline passes through At, which is its left end, middle or right end as the
// anchor says; turned counterclockwise by AngleDeg about At. The text may carry the formula marks
// of sub- and superscripts ("q_{тр}").
struct DrawingText {
    DrawingPoint At;
    std::string Text;
    DrawingAnchor Anchor = DrawingAnchor::Center;
    double HeightMm = 2.5;
    double AngleDeg = 0;
};

struct NoteDrawing {
    double WidthMm = 0;
    double HeightMm = 0;
    std::vector<DrawingLine> Lines;
    std::vector<DrawingCircle> Circles;
    std::vector<DrawingText> Texts;
    std::string Caption;  // under the drawing, e.g. "Рис. 1. Расчетная схема"
};

using NoteBlock = std::variant<NoteHeading, NoteParagraph, NoteTable, NoteDrawing>;

// The sheet frame and the title block of a project document: the first sheet gets the large
// form, the following sheets the small one; sheet numbers are the renderer's.
struct NoteTitleBlock {
    std::string Designation;
    std::string Object;
    std::string DocumentName;
    std::string Organization;
    std::string Stage;
    std::string Author;
    std::string Checker;
    std::string NormControl;
    std::string ChiefEngineer;
    std::string Date;  // beside the author's name
    // The additional graphs left of the frame, written upwards.
    std::string ReplacedInventory;  // "Взам. инв. №"
    std::string OriginalSigned;     // "Подп. и дата"
    std::string OriginalInventory;  // "Инв. № подл."
};

// Headings keep with the next block; tables are kept whole on one sheet when they fit one.
struct NoteDocument {
    std::string Title;
    PageOrientation Orientation = PageOrientation::Portrait;
    std::vector<NoteBlock> Blocks;
    std::optional<NoteTitleBlock> TitleBlock;  // framed sheets when present

    void AddHeading(std::string text) { Blocks.emplace_back(NoteHeading{std::move(text)}); }
    void AddParagraph(std::string text, bool bold = false)
    {
        Blocks.emplace_back(NoteParagraph{std::move(text), bold});
    }
    void AddTable(NoteTable table) { Blocks.emplace_back(std::move(table)); }
    void AddDrawing(NoteDrawing drawing) { Blocks.emplace_back(std::move(drawing)); }
};

// The document as plain text: the title, headings and paragraphs on their own lines (without
// their marks of sub- and superscripts), table rows with their cells separated by tabs,
// an empty line between blocks; a drawing as its caption and then its labels, separated by " | ".
std::string NoteToPlainText(const NoteDocument& document);

// A formula's text without the marks: "q_{тр}" becomes "qтр".
std::string FormulaPlainText(std::string_view formula);

// A formula's text cut into runs set level, lowered (a subscript) or raised (a superscript):
// "q_{тр}" gives "q" and "тр" lowered. A mark without its closing brace stays text.
struct FormulaRun {
    std::string Text;
    int Shift = 0;  // -1 lowered, +1 raised
};
std::vector<FormulaRun> FormulaRuns(std::string_view formula);

}  // namespace korvelin
