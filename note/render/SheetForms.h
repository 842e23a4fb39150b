#pragma once

// The sheet of a text document described once, for the painter of the PDF's sheets and for the
// ODT writer: the frame, the fonts of the note and of its forms, the forms of the title block
// and the additional graphs of the binding margin as grids of cells.
//
// The forms follow the title blocks of text documents in GOST R 21.101-2020 (form 5 for the
// first sheet, form 6 for the following ones). The text of the standard could not be consulted;
// the cells are laid out as these forms are commonly drawn: the columns of the left part
// 10, 10, 10, 10, 15 and 10 mm ("Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата") in rows of
// 5 mm, as in the standard's other forms; on the first sheet the designation 120 × 15 mm, the name
// of the object and the document 70 × 25 mm, "Стадия", "Лист", "Листов" 15, 15 and 20 mm wide
// (caption and value 5 mm high each) over the organization, 50 × 15 mm; on the following
// sheets the designation 110 × 15 mm and "Лист" 10 mm wide (caption 7 mm, number 8 mm).
// The additional graphs of the binding margin ("Инв. № подл.", "Подп. и дата", "Взам. инв. №")
// could not be looked up in the standard either: they are drawn as commonly drawn, 5 mm of caption
// and 7 mm of value wide against the frame's left line, 25, 35 and 25 mm high from the bottom of
// the frame up.

#include <korvelin/NoteDocument.h>

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// The one family of every text of the note, its sheets and its forms.
inline constexpr char NoteFontFamily[] = "DejaVu Sans";
QString NoteFontFamilyName();

// The sizes of the texts, in points.
inline constexpr qreal BodyPoints = 9.5;
inline constexpr qreal HeadingPoints = 11.5;
inline constexpr qreal TitlePoints = 14;
inline constexpr qreal CaptionPoints = 6.5;      // the captions of the forms' graphs
inline constexpr qreal NamePoints = 7.5;         // the names and the inventory values
inline constexpr qreal DesignationPoints = 14;   // the document's designation
inline constexpr qreal DocumentNamePoints = 10;  // the object and the document's name
inline constexpr qreal ValuePoints = 9;          // the stage, the sheet numbers, the organization
inline constexpr qreal SmallestPoints = 1.5;     // the least a text of a form is set at to fit

// The frame: 20 mm from the paper's left edge, 5 mm from the others. Inside it the text keeps
// this far from its lines and from the title block; sheets without a frame keep 2 cm margins.
inline constexpr qreal FrameLeftMm = 20;
inline constexpr qreal FrameOtherMm = 5;
inline constexpr qreal FramePaddingMm = 5;
inline constexpr qreal UnframedMarginMm = 20;
inline constexpr qreal ThickLineMm = 0.5;
inline constexpr qreal ThinLineMm = 0.25;

// The forms: 185 mm wide at the bottom right inside the frame, 40 mm high on the first sheet and
// 15 mm on the following ones.
inline constexpr qreal FormWidthMm = 185;
inline constexpr qreal FirstFormHeightMm = 40;
inline constexpr qreal NextFormHeightMm = 15;
inline constexpr qreal FormRowMm = 5;
// A form's text keeps this far from its cell's lines: from the sides, from the top and bottom.
inline constexpr qreal FormTextInsetXMm = 0.7;
inline constexpr qreal FormTextInsetYMm = 0.3;
// The graphs of the binding margin: the caption column (the outer one) and the value column.
inline constexpr qreal MarginCaptionWidthMm = 5;
inline constexpr qreal MarginValueWidthMm = 7;

// The frame on a paper of that size, in millimetres from the paper's top left corner.
QRectF FrameRectMm(const QSizeF& paperMm);

// What a cell shows besides its text: the number of the sheet or the number of sheets, which the
// painter writes and the word processor fills in as its page fields.
enum class FormField { None, SheetNumber, SheetCount };

// A cell of a form: its place in the grid, its text at most this large, and its lines: a thick
// one on its left, a thick or thin one over it. The form's outline closes it on the right and
// below.
struct FormCell {
    int Row = 0;
    int Column = 0;
    int RowSpan = 1;
    int ColumnSpan = 1;
    QString Text;
    qreal Points = CaptionPoints;
    Qt::Alignment Alignment = Qt::AlignCenter;
    bool ThinTop = false;
    FormField Field = FormField::None;
    bool Upward = false;  // the text runs upwards, turned a quarter counterclockwise
};

// A form as a grid of columns and rows, in millimetres, and the cells that cover it.
struct FormGrid {
    std::vector<qreal> ColumnsMm;
    std::vector<qreal> RowsMm;
    std::vector<FormCell> Cells;

    FormCell& Add(int row, int column, QString text = {}, qreal points = CaptionPoints);
    qreal Width(int from, int count) const;
    qreal Height(int from, int count) const;
    QSizeF SizeMm() const { return {Width(0, int(ColumnsMm.size())), Height(0, int(RowsMm.size()))}; }
    // The cell's rectangle from the form's top left corner.
    QRectF CellMm(const FormCell& cell) const;
    // The cell that starts at that row and column, if any (the others are covered by spans).
    const FormCell* CellAt(int row, int column) const;
};

// The form of the first sheet (185 × 40 mm) and of the following ones (185 × 15 mm).
FormGrid FirstSheetForm(const korvelin::NoteTitleBlock& block);
FormGrid NextSheetForm(const korvelin::NoteTitleBlock& block);
// The graphs of the binding margin, from the top down ("Взам. инв. №" first), their texts upward;
// the grid stands against the frame's left line, its bottom at the frame's bottom.
FormGrid MarginGraphs(const korvelin::NoteTitleBlock& block);
