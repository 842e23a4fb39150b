#include "RegionMap.h"

#include "RegionTables.h"

#include <QLocale>
#include <QPainter>

namespace {

constexpr int PictureWidth = 1400;
constexpr int PictureHeight = 800;
constexpr int Margin = 50;
constexpr int LabelColumnWidth = 420;
constexpr int RowHeight = 80;

QFont Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void DrawCell(QPainter& painter, const QRect& cell, const QString& text, const QColor& fill, bool bold)
{
    painter.fillRect(cell, fill);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawRect(cell);
    painter.setFont(Font(26, bold));
    painter.drawText(cell.adjusted(10, 4, -10, -4), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void DrawTable(QPainter& painter, const RegionTable& table, int top)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const int columns = int(table.Regions.size());
    const int columnWidth = (PictureWidth - 2 * Margin - LabelColumnWidth) / columns;
    const QColor heading(0xdd, 0xe6, 0xf2);

    DrawCell(painter, QRect(Margin, top, LabelColumnWidth, RowHeight), table.RegionLabel, heading, true);
    DrawCell(painter, QRect(Margin, top + RowHeight, LabelColumnWidth, RowHeight), table.ValueLabel, heading, true);
    for (int i = 0; i < columns; ++i) {
        const int left = Margin + LabelColumnWidth + i * columnWidth;
        DrawCell(painter, QRect(left, top, columnWidth, RowHeight), table.Regions[i], heading, true);
        DrawCell(painter, QRect(left, top + RowHeight, columnWidth, RowHeight),
                 russian.toString(table.Values[i], 'f', table.Decimals), Qt::white, false);
    }
}

void DrawNote(QPainter& painter, const RegionTable& table, const QRect& box)
{
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 3, Qt::DashLine));
    painter.drawRect(box);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.setFont(Font(30, true));
    painter.drawText(box.adjusted(40, 40, -40, -40), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Карта районов в программу не входит"));
    painter.setFont(Font(26));
    painter.drawText(box.adjusted(60, 120, -60, -40), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("Границы районов на этом рисунке не показаны: район площадки "
                                    "определяют по официальной карте районов из норм проектирования.\n\n"
                                    "Чтобы показывать здесь официальную карту, щелкните по рисунку "
                                    "правой кнопкой мыши и выберите «Заменить карту…» (или поместите "
                                    "ее в папку «Карты» под именем «%1»).")
                         .arg(table.FileName));
}

} // namespace

QImage DrawRegionMap(const RegionTable& table)
{
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setPen(Qt::black);
    painter.setFont(Font(44, true));
    painter.drawText(QRect(Margin, 30, PictureWidth - 2 * Margin, 70), Qt::AlignCenter, table.Title);
    painter.setFont(Font(26));
    painter.drawText(QRect(Margin, 100, PictureWidth - 2 * Margin, 40), Qt::AlignCenter,
                     QStringLiteral("Нормативные значения, принятые в расчете"));

    DrawTable(painter, table, 170);
    DrawNote(painter, table, QRect(Margin, 380, PictureWidth - 2 * Margin, PictureHeight - 380 - Margin));
    return picture;
}
