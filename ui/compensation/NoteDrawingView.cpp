#include "NoteDrawingView.h"

#include "NoteDrawingPainter.h"

#include <QPainter>

NoteDrawingView::NoteDrawingView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 160);
}

void NoteDrawingView::SetDrawing(std::optional<korvelin::NoteDrawing> drawing)
{
    Shown = std::move(drawing);
    update();
}

QSize NoteDrawingView::sizeHint() const { return {560, 300}; }

void NoteDrawingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (Shown)
        PaintNoteDrawing(painter, *Shown, QRectF(rect()).adjusted(8, 8, -8, -8));
}
