#include "MapImage.h"

#include <QPaintEvent>
#include <QPainter>

MapImage::MapImage(QWidget* parent)
    : QWidget(parent)
{
}

void MapImage::SetPicture(const QImage& picture)
{
    Shown = picture;
    update();
}

void MapImage::SetEmptyText(const QString& text)
{
    Empty = text;
    update();
}

void MapImage::paintEvent(QPaintEvent* event)
{
    const QRect target = event->rect() & rect();
    if (target.isEmpty())
        return;
    if (Shown.isNull()) {
        QPainter painter(this);
        painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, Empty);
        return;
    }

    // The part of the picture under the repainted area, widened to whole pixels and one
    // more on each side so that smoothing at its edges matches the neighbouring areas.
    const double sx = double(Shown.width()) / width();
    const double sy = double(Shown.height()) / height();
    const QRectF under(target.x() * sx, target.y() * sy, target.width() * sx, target.height() * sy);
    const QRect source = under.toAlignedRect().adjusted(-1, -1, 1, 1) & Shown.rect();
    const QRectF onWidget(source.x() / sx, source.y() / sy, source.width() / sx, source.height() / sy);

    QPainter painter(this);
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(onWidget, Shown, source);
}
