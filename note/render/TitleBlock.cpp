#include "TitleBlock.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace {

QFont TitleFont(qreal pointSize)
{
    QFont font(NoteFontFamilyName());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

// Draws in millimetres from the corner of a form.
class FormPainter
{
public:
    FormPainter(QPainter& painter, qreal dotsPerMm, QPointF cornerMm)
        : Painter(painter), Dots(dotsPerMm), Corner(cornerMm)
    {
    }

    QRectF Rect(const QRectF& mm) const
    {
        return QRectF((Corner + mm.topLeft()) * Dots, (Corner + mm.bottomRight()) * Dots);
    }
    void Line(QPointF from, QPointF to, bool thick) const
    {
        Painter.setPen(QPen(Qt::black, (thick ? ThickLineMm : ThinLineMm) * Dots, Qt::SolidLine, Qt::SquareCap));
        Painter.drawLine((Corner + from) * Dots, (Corner + to) * Dots);
    }
    void Box(const QRectF& mm) const
    {
        Line(mm.topLeft(), mm.topRight(), true);
        Line(mm.bottomLeft(), mm.bottomRight(), true);
        Line(mm.topLeft(), mm.bottomLeft(), true);
        Line(mm.topRight(), mm.bottomRight(), true);
    }
    void Text(const QRectF& mm, const QString& text, qreal points, Qt::Alignment alignment) const
    {
        if (!text.isEmpty())
            DrawFittedText(Painter, Rect(mm), text, points, alignment);
    }
    // A text that runs upwards, turned a quarter counterclockwise.
    void UpwardText(const QRectF& mm, const QString& text, qreal points) const
    {
        if (text.isEmpty())
            return;
        const QRectF cell = Rect(mm);
        Painter.save();
        Painter.translate(cell.bottomLeft());
        Painter.rotate(-90);
        DrawFittedText(Painter, QRectF(0, 0, cell.height(), cell.width()), text, points, Qt::AlignCenter);
        Painter.restore();
    }

    // Every cell with its lines and its text (the sheet's numbers in their fields), then the
    // outline of the form.
    void Form(const FormGrid& grid, int sheet, int sheets) const
    {
        for (const FormCell& cell : grid.Cells) {
            const QRectF mm = grid.CellMm(cell);
            Line(mm.topLeft(), mm.bottomLeft(), true);
            Line(mm.topLeft(), mm.topRight(), !cell.ThinTop);
            const QString text = cell.Field == FormField::SheetNumber ? QString::number(sheet)
                                 : cell.Field == FormField::SheetCount ? QString::number(sheets)
                                                                        : cell.Text;
            if (cell.Upward)
                UpwardText(mm, text, cell.Points);
            else
                Text(mm, text, cell.Points, cell.Alignment);
        }
        Box(QRectF(QPointF(0, 0), grid.SizeMm()));
    }

private:
    QPainter& Painter;
    qreal Dots;
    QPointF Corner;
};

} // namespace

std::optional<FittedText> FitText(const QPaintDevice& device, const QRectF& room, const QString& text,
                                  qreal pointSize, Qt::Alignment alignment)
{
    const bool oneLine = !text.contains(QLatin1Char('\n'));
    const int wrapped = Qt::TextWordWrap | int(alignment);
    for (int pass = 0; pass < 3; ++pass) {
        const qreal floor = pass == 0 ? pointSize * 2 / 3 : SmallestPoints;
        const int flags = pass == 0 ? int(alignment) | Qt::TextSingleLine
                          : pass == 1 ? wrapped
                                      : Qt::TextWrapAnywhere | int(alignment);
        if (pass == 0 && !oneLine)
            continue;
        for (qreal size = pointSize; size >= floor - 1e-9; size -= 0.25) {
            const QFontMetricsF metrics(TitleFont(size), &device);
            const QRectF needed = metrics.boundingRect(room, flags, text);
            if (needed.width() <= room.width() + 0.01 && needed.height() <= room.height() + 0.01)
                return FittedText{size, flags};
        }
    }
    return std::nullopt;
}

QFont TitleBlockFont(qreal pointSize) { return TitleFont(pointSize); }

void DrawFittedText(QPainter& painter, const QRectF& cell, const QString& text, qreal pointSize,
                    Qt::Alignment alignment)
{
    // A little room between the text and the lines.
    const qreal dotsPerMm = painter.device()->logicalDpiY() / 25.4;
    const QRectF room = cell.adjusted(FormTextInsetXMm * dotsPerMm, FormTextInsetYMm * dotsPerMm,
                                      -FormTextInsetXMm * dotsPerMm, -FormTextInsetYMm * dotsPerMm);
    if (const std::optional<FittedText> fitted = FitText(*painter.device(), room, text, pointSize, alignment)) {
        painter.save();
        painter.setClipRect(cell);
        painter.setFont(TitleFont(fitted->PointSize));
        painter.setPen(Qt::black);
        painter.drawText(room, fitted->Flags, text);
        painter.restore();
        return;
    }
    // Nothing fits at the smallest size either: what fits stays inside the cell.
    painter.save();
    painter.setClipRect(room);
    painter.setFont(TitleFont(SmallestPoints));
    painter.setPen(Qt::black);
    painter.drawText(room, Qt::TextWrapAnywhere | int(alignment), text);
    painter.restore();
}

void DrawFrameAndTitleBlock(QPainter& painter, const korvelin::NoteTitleBlock& block,
                            const QSizeF& paperMm, qreal dotsPerMm, int sheet, int sheets)
{
    const QRectF frame = FrameRectMm(paperMm);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    FormPainter(painter, dotsPerMm, QPointF(0, 0)).Box(frame);
    // The graphs of the binding margin against the frame's left line, from its bottom up.
    const FormGrid margin = MarginGraphs(block);
    const QSizeF marginSize = margin.SizeMm();
    FormPainter(painter, dotsPerMm, QPointF(frame.left() - marginSize.width(), frame.bottom() - marginSize.height()))
        .Form(margin, sheet, sheets);
    const FormGrid form = sheet == 1 ? FirstSheetForm(block) : NextSheetForm(block);
    const QSizeF formSize = form.SizeMm();
    FormPainter(painter, dotsPerMm, QPointF(frame.right() - formSize.width(), frame.bottom() - formSize.height()))
        .Form(form, sheet, sheets);
    painter.restore();
}
