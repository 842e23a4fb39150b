#pragma once

// The sheet frame and the title block of a text document painted: the frame, the forms and the
// additional graphs of the binding margin as SheetForms.h describes them.

#include "SheetForms.h"

#include <korvelin/NoteDocument.h>

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class QFont;
class QPaintDevice;
class QPainter;

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
