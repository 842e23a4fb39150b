#include "TitleBlock.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

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

namespace {

constexpr qreal FrameLeftMm = 20;
constexpr qreal FrameOtherMm = 5;
constexpr qreal ThickLineMm = 0.5;
constexpr qreal ThinLineMm = 0.25;
constexpr qreal RowMm = FormRowMm;
constexpr const qreal (&ColumnsMm)[7] = FormColumnsMm;
constexpr qreal LeftPartMm = FormColumnsMm[6];

constexpr qreal CaptionPoints = 6.5;
constexpr qreal NamePoints = 7.5;
constexpr qreal SmallestPoints = 1.5;

QFont TitleFont(qreal pointSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// Draws in millimetres from the corner of a form.
class FormPainter
{
public:
    FormPainter(QPainter& painter, qreal dotsPerMm, QPointF cornerMm)
        : Painter(painter), Dots(dotsPerMm), Corner(cornerMm)
    {
    }

    QRectF Rect(qreal left, qreal top, qreal right, qreal bottom) const
    {
        return QRectF((Corner + QPointF(left, top)) * Dots, (Corner + QPointF(right, bottom)) * Dots);
    }
    void Line(qreal x1, qreal y1, qreal x2, qreal y2, bool thick) const
    {
        Painter.setPen(QPen(Qt::black, (thick ? ThickLineMm : ThinLineMm) * Dots, Qt::SolidLine, Qt::SquareCap));
        Painter.drawLine((Corner + QPointF(x1, y1)) * Dots, (Corner + QPointF(x2, y2)) * Dots);
    }
    void Box(qreal left, qreal top, qreal right, qreal bottom) const
    {
        Line(left, top, right, top, true);
        Line(left, bottom, right, bottom, true);
        Line(left, top, left, bottom, true);
        Line(right, top, right, bottom, true);
    }
    void Cell(qreal left, qreal top, qreal right, qreal bottom, const QString& text, qreal points,
              Qt::Alignment alignment = Qt::AlignCenter) const
    {
        if (!text.isEmpty())
            DrawFittedText(Painter, Rect(left, top, right, bottom), text, points, alignment);
    }
    // A cell whose text runs upwards, turned a quarter counterclockwise.
    void UpwardCell(qreal left, qreal top, qreal right, qreal bottom, const QString& text, qreal points) const
    {
        if (text.isEmpty())
            return;
        const QRectF cell = Rect(left, top, right, bottom);
        Painter.save();
        Painter.translate(cell.bottomLeft());
        Painter.rotate(-90);
        DrawFittedText(Painter, QRectF(0, 0, cell.height(), cell.width()), text, points, Qt::AlignCenter);
        Painter.restore();
    }

    // The change rows and the caption row of the left part, `rows` of them from the top.
    void LeftPart(int rows) const
    {
        const qreal bottom = rows * RowMm;
        for (int row = 1; row < rows; ++row)
            Line(0, row * RowMm, LeftPartMm, row * RowMm, row == rows - 1);
        for (qreal x : ColumnsMm)
            Line(x, 0, x, bottom, true);
        static const char* const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
        for (int column = 0; column < 6; ++column)
            Cell(ColumnsMm[column], bottom - RowMm, ColumnsMm[column + 1], bottom,
                 QString::fromUtf8(captions[column]), CaptionPoints);
    }

private:
    QPainter& Painter;
    qreal Dots;
    QPointF Corner;
};

void DrawFirstForm(const FormPainter& f, const korvelin::NoteTitleBlock& b, int sheets)
{
    // Three rows of changes and captions, then five of signatures.
    f.LeftPart(3);
    const struct {
        const char* Role;
        const std::string* Name;
    } signatures[] = {{"Разраб.", &b.Author}, {"Пров.", &b.Checker}, {"", nullptr},
                      {"Н. контр.", &b.NormControl}, {"ГИП", &b.ChiefEngineer}};
    f.Line(0, 3 * RowMm, LeftPartMm, 3 * RowMm, true);
    for (int i = 0; i < 5; ++i) {
        const qreal top = (3 + i) * RowMm;
        f.Line(0, top + RowMm, LeftPartMm, top + RowMm, false);
        f.Cell(ColumnsMm[0], top, ColumnsMm[2], top + RowMm, QString::fromUtf8(signatures[i].Role),
               CaptionPoints, Qt::AlignLeft | Qt::AlignVCenter);
        if (signatures[i].Name != nullptr)
            f.Cell(ColumnsMm[2], top, ColumnsMm[4], top + RowMm, Text(*signatures[i].Name), NamePoints,
                   Qt::AlignLeft | Qt::AlignVCenter);
        if (i == 0)
            f.Cell(ColumnsMm[5], top, ColumnsMm[6], top + RowMm, Text(b.Date), CaptionPoints);
    }
    for (int column : {2, 4, 5, 6})
        f.Line(ColumnsMm[column], 3 * RowMm, ColumnsMm[column], 8 * RowMm, true);

    // The right part.
    f.Line(LeftPartMm, 15, FormWidthMm, 15, true);
    f.Cell(LeftPartMm, 0, FormWidthMm, 15, Text(b.Designation), 14);
    f.Line(135, 15, 135, 40, true);
    QString name = Text(b.Object);
    if (!name.isEmpty())
        name += QLatin1Char('\n');
    name += Text(b.DocumentName);
    f.Cell(LeftPartMm, 15, 135, 40, name, 10);
    f.Line(135, 20, FormWidthMm, 20, true);
    f.Line(135, 25, FormWidthMm, 25, true);
    f.Line(150, 15, 150, 25, true);
    f.Line(165, 15, 165, 25, true);
    f.Cell(135, 15, 150, 20, QStringLiteral("Стадия"), CaptionPoints);
    f.Cell(150, 15, 165, 20, QStringLiteral("Лист"), CaptionPoints);
    f.Cell(165, 15, FormWidthMm, 20, QStringLiteral("Листов"), CaptionPoints);
    f.Cell(135, 20, 150, 25, Text(b.Stage), 9);
    f.Cell(150, 20, 165, 25, QStringLiteral("1"), 9);
    f.Cell(165, 20, FormWidthMm, 25, QString::number(sheets), 9);
    f.Cell(135, 25, FormWidthMm, 40, Text(b.Organization), 9);
    f.Box(0, 0, FormWidthMm, FirstFormHeightMm);
}

void DrawNextForm(const FormPainter& f, const korvelin::NoteTitleBlock& b, int sheet)
{
    f.LeftPart(3);
    f.Cell(LeftPartMm, 0, 175, 15, Text(b.Designation), 14);
    f.Line(175, 0, 175, 15, true);
    f.Line(175, 7, FormWidthMm, 7, true);
    f.Cell(175, 0, FormWidthMm, 7, QStringLiteral("Лист"), CaptionPoints);
    f.Cell(175, 7, FormWidthMm, 15, QString::number(sheet), 9);
    f.Box(0, 0, FormWidthMm, NextFormHeightMm);
}

// The graphs of the binding margin, against the frame's left line, from its bottom up.
void DrawMarginGraphs(const FormPainter& f, const korvelin::NoteTitleBlock& b, const QRectF& frame)
{
    const qreal right = frame.left();
    const qreal middle = right - MarginValueWidthMm;
    const qreal left = middle - MarginCaptionWidthMm;
    qreal bottom = frame.bottom();
    for (const MarginGraph& graph : MarginGraphs) {
        const qreal top = bottom - graph.HeightMm;
        f.Line(left, top, right, top, true);
        f.UpwardCell(left, top, middle, bottom, QString::fromUtf8(graph.Caption), CaptionPoints);
        f.UpwardCell(middle, top, right, bottom, Text(b.*graph.Value), NamePoints);
        bottom = top;
    }
    f.Line(left, bottom, left, frame.bottom(), true);
    f.Line(middle, bottom, middle, frame.bottom(), true);
    f.Line(left, frame.bottom(), right, frame.bottom(), true);
}

} // namespace

QRectF FrameRectMm(const QSizeF& paperMm)
{
    return QRectF(QPointF(FrameLeftMm, FrameOtherMm),
                  QPointF(paperMm.width() - FrameOtherMm, paperMm.height() - FrameOtherMm));
}

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
    const QRectF room = cell.adjusted(0.7 * dotsPerMm, 0.3 * dotsPerMm, -0.7 * dotsPerMm, -0.3 * dotsPerMm);
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
    const FormPainter paper(painter, dotsPerMm, QPointF(0, 0));
    paper.Box(frame.left(), frame.top(), frame.right(), frame.bottom());
    DrawMarginGraphs(paper, block, frame);
    const qreal height = sheet == 1 ? FirstFormHeightMm : NextFormHeightMm;
    const FormPainter form(painter, dotsPerMm,
                           QPointF(frame.right() - FormWidthMm, frame.bottom() - height));
    if (sheet == 1)
        DrawFirstForm(form, block, sheets);
    else
        DrawNextForm(form, block, sheet);
    painter.restore();
}
