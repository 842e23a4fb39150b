#pragma once

// The sheet frame and the title block of a text document: on A4 of either orientation, 20 mm from
// the left edge and 5 mm from the others; the first sheet's form is 185 × 40 mm, the following
// sheets' 185 × 15 mm, both at the bottom right inside the frame; the additional graphs of the
// inventory numbers stand in the binding margin left of the frame, at its bottom.

#include <korvelin/NoteDocument.h>

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class QFont;
class QPaintDevice;
class QPainter;

inline constexpr qreal FirstFormHeightMm = 40;
inline constexpr qreal NextFormHeightMm = 15;
inline constexpr qreal FormWidthMm = 185;
// The left part of both forms: six columns of the change and signature rows, 5 mm high.
inline constexpr qreal FormColumnsMm[] = {0, 10, 20, 30, 40, 55, 65};
inline constexpr qreal FormRowMm = 5;
// Inside the frame, the text keeps this far from its lines and from the title block; sheets
// without a frame keep 2 cm margins all round.
inline constexpr qreal FramePaddingMm = 5;
inline constexpr qreal UnframedMarginMm = 20;

// The additional graphs in the binding margin, from the bottom of the frame upwards: each with
// its caption column (the outer one) and its value column, written upwards.
struct MarginGraph {
    const char* Caption;
    std::string korvelin::NoteTitleBlock::*Value;
    qreal HeightMm;
};
inline constexpr qreal MarginCaptionWidthMm = 5;
inline constexpr qreal MarginValueWidthMm = 7;
inline constexpr MarginGraph MarginGraphs[] = {
    {"Инв. № подл.", &korvelin::NoteTitleBlock::OriginalInventory, 25},
    {"Подп. и дата", &korvelin::NoteTitleBlock::OriginalSigned, 35},
    {"Взам. инв. №", &korvelin::NoteTitleBlock::ReplacedInventory, 25},
};

// The frame on a paper of that size, in millimetres from the paper's top left corner.
QRectF FrameRectMm(const QSizeF& paperMm);

// Draws the frame, the sheet's form with the fields, "Лист" and "Листов" (the first sheet) or
// "Лист" (the others), and the graphs of the binding margin. Every text stays inside its cell: it
// is set smaller until it fits on one line, then wrapped, smaller still if need be. The painter
// works in device pixels from the corner of the paper of that size.
void DrawFrameAndTitleBlock(QPainter& painter, const korvelin::NoteTitleBlock& block,
                            const QSizeF& paperMm, qreal dotsPerMm, int sheet, int sheets);

// Draws a text inside a cell as large as it fits, at most `pointSize`: on one line, or wrapped.
void DrawFittedText(QPainter& painter, const QRectF& cell, const QString& text, qreal pointSize,
                    Qt::Alignment alignment);

// How large a text fits a room (in the device's pixels) and how it is set there: smaller until
// it fits on one line, down to two thirds of `pointSize`; then wrapped at words, smaller still;
// at the last anywhere in a word. None when nothing fits even at the smallest size.
struct FittedText {
    qreal PointSize = 0;
    int Flags = 0;  // Qt::TextSingleLine, Qt::TextWordWrap or Qt::TextWrapAnywhere with the alignment
};
std::optional<FittedText> FitText(const QPaintDevice& device, const QRectF& room, const QString& text,
                                  qreal pointSize, Qt::Alignment alignment);
QFont TitleBlockFont(qreal pointSize);
