#pragma once

// The sheet frame and the title block of a text document: on A4, 20 mm from the left edge and
// 5 mm from the others; the first sheet's form is 185 × 40 mm, the following sheets' 185 × 15 mm,
// both at the bottom right inside the frame.

#include <korvelin/NoteDocument.h>

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

inline constexpr qreal FirstFormHeightMm = 40;
inline constexpr qreal NextFormHeightMm = 15;
inline constexpr qreal FormWidthMm = 185;

// The frame on a paper of that size, in millimetres from the paper's top left corner.
QRectF FrameRectMm(const QSizeF& paperMm);

// Draws the frame and the sheet's form with the fields, "Лист" and "Листов" (the first sheet) or
// "Лист" (the others). Every text stays inside its cell: it is set smaller until it fits on one
// line, then wrapped, smaller still if need be. The painter works in device pixels from the
// paper's corner.
void DrawFrameAndTitleBlock(QPainter& painter, const korvelin::NoteTitleBlock& block,
                            qreal dotsPerMm, int sheet, int sheets);

// Draws a text inside a cell as large as it fits, at most `pointSize`: on one line, or wrapped.
void DrawFittedText(QPainter& painter, const QRectF& cell, const QString& text, qreal pointSize,
                    Qt::Alignment alignment);
