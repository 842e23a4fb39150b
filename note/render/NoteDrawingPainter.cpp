#include "NoteDrawingPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextObjectInterface>
#include <QUrl>
#include <QtMath>

#include <memory>
#include <vector>

namespace {

QString Text(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A run of a label: plain, lowered (subscript) or raised (superscript).
struct LabelRun {
    QString Text;
    int Shift = 0;  // -1 lowered, +1 raised
};

std::vector<LabelRun> LabelRuns(const QString& text)
{
    std::vector<LabelRun> runs;
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 2);
        if ((c == QLatin1Char('_') || c == QLatin1Char('^')) && i + 1 < text.size()
            && text.at(i + 1) == QLatin1Char('{') && close > 0) {
            if (!plain.isEmpty())
                runs.push_back({plain, 0});
            plain.clear();
            runs.push_back({text.mid(i + 2, close - i - 2), c == QLatin1Char('_') ? -1 : 1});
            i = close;
            continue;
        }
        plain += c;
    }
    if (!plain.isEmpty())
        runs.push_back({plain, 0});
    return runs;
}

void DrawArrowHead(QPainter& painter, QPointF tip, QPointF from, qreal length)
{
    const QLineF back(tip, from);
    if (back.length() <= 0)
        return;
    QLineF side = back;
    side.setLength(length);
    QLineF left = side;
    left.setAngle(side.angle() + 15);
    QLineF right = side;
    right.setAngle(side.angle() - 15);
    painter.save();
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(QPolygonF({tip, left.p2(), right.p2()}));
    painter.restore();
}

void DrawLabel(QPainter& painter, const korvelin::DrawingText& label, qreal scale, QPointF origin)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    // The height of a label is that of its capitals, as on a drawing.
    font.setPixelSize(qMax(1, qRound(label.HeightMm * scale / 0.73)));
    QFont small = font;
    small.setPixelSize(qMax(1, qRound(font.pixelSize() * 0.7)));
    const QFontMetricsF metrics(font, painter.device());
    const QFontMetricsF smallMetrics(small, painter.device());
    const std::vector<LabelRun> runs = LabelRuns(Text(label.Text));
    qreal width = 0;
    for (const LabelRun& run : runs)
        width += (run.Shift == 0 ? metrics : smallMetrics).horizontalAdvance(run.Text);
    qreal x = label.Anchor == korvelin::DrawingAnchor::Left     ? 0
              : label.Anchor == korvelin::DrawingAnchor::Center ? -width / 2
                                                                 : -width;
    painter.save();
    painter.translate(origin + QPointF(label.At.X, label.At.Y) * scale);
    painter.rotate(-label.AngleDeg);
    for (const LabelRun& run : runs) {
        const QFont& used = run.Shift == 0 ? font : small;
        const QFontMetricsF& usedMetrics = run.Shift == 0 ? metrics : smallMetrics;
        const qreal y = run.Shift < 0 ? metrics.ascent() * 0.25 : run.Shift > 0 ? -metrics.ascent() * 0.45 : 0;
        painter.setFont(used);
        painter.drawText(QPointF(x, y), run.Text);
        x += usedMetrics.horizontalAdvance(run.Text);
    }
    painter.restore();
}

// The object the text layout asks for the size of a drawing and has it painted.
constexpr int DrawingObjectType = QTextFormat::UserObject + 1;
constexpr int DrawingIndexProperty = QTextFormat::UserProperty + 1;

class DrawingObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    int Add(const korvelin::NoteDrawing& drawing)
    {
        drawings_.push_back(drawing);
        return int(drawings_.size()) - 1;
    }

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat& format) override
    {
        const korvelin::NoteDrawing* drawing = Find(format);
        if (drawing == nullptr)
            return {};
        const qreal perMm = DotsPerMm(document);
        return QSizeF(drawing->WidthMm * perMm, drawing->HeightMm * perMm);
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override
    {
        if (const korvelin::NoteDrawing* drawing = Find(format))
            PaintNoteDrawing(*painter, *drawing, rect);
    }

private:
    static qreal DotsPerMm(QTextDocument* document)
    {
        const QPaintDevice* device = document->documentLayout()->paintDevice();
        return (device != nullptr ? device->logicalDpiY() : 72) / 25.4;
    }

    const korvelin::NoteDrawing* Find(const QTextFormat& format) const
    {
        const int index = format.intProperty(DrawingIndexProperty);
        return index >= 0 && index < int(drawings_.size()) ? &drawings_[std::size_t(index)] : nullptr;
    }

    std::vector<korvelin::NoteDrawing> drawings_;
};

}  // namespace

void PaintNoteDrawing(QPainter& painter, const korvelin::NoteDrawing& drawing, const QRectF& target)
{
    if (drawing.WidthMm <= 0 || drawing.HeightMm <= 0 || target.isEmpty())
        return;
    const qreal scale = qMin(target.width() / drawing.WidthMm, target.height() / drawing.HeightMm);
    const QPointF origin = target.center() - QPointF(drawing.WidthMm, drawing.HeightMm) * scale / 2;
    const auto at = [&](const korvelin::DrawingPoint& p) { return origin + QPointF(p.X, p.Y) * scale; };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const korvelin::DrawingLine& line : drawing.Lines) {
        if (line.Points.empty())
            continue;
        QPen pen(Qt::black, line.WidthMm * scale);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        if (line.Dashed)
            pen.setDashPattern({6, 4});
        painter.setPen(pen);
        QPolygonF polygon;
        for (const korvelin::DrawingPoint& p : line.Points)
            polygon << at(p);
        if (line.Closed) {
            painter.setBrush(line.Filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
            painter.drawPolygon(polygon);
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.drawPolyline(polygon);
        }
        const qreal head = 2.5 * scale;
        QPen solid = pen;
        solid.setStyle(Qt::SolidLine);
        painter.setPen(solid);
        if (line.ArrowAtEnd && polygon.size() > 1)
            DrawArrowHead(painter, polygon.last(), polygon.at(polygon.size() - 2), head);
        if (line.ArrowAtStart && polygon.size() > 1)
            DrawArrowHead(painter, polygon.first(), polygon.at(1), head);
    }
    for (const korvelin::DrawingCircle& circle : drawing.Circles) {
        painter.setPen(QPen(Qt::black, circle.WidthMm * scale));
        painter.setBrush(circle.Filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
        painter.drawEllipse(at(circle.Centre), circle.RadiusMm * scale, circle.RadiusMm * scale);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    for (const korvelin::DrawingText& label : drawing.Texts)
        DrawLabel(painter, label, scale, origin);
    painter.restore();
}

void InsertNoteDrawing(QTextDocument& document, QTextCursor& cursor, const korvelin::NoteDrawing& drawing)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    auto* handler = dynamic_cast<DrawingObject*>(layout->handlerForObject(DrawingObjectType));
    if (handler == nullptr) {
        handler = new DrawingObject(&document);
        layout->registerHandler(DrawingObjectType, handler);
    }
    QTextCharFormat format;
    format.setObjectType(DrawingObjectType);
    format.setProperty(DrawingIndexProperty, handler->Add(drawing));
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

void InsertNoteDrawingPicture(QTextDocument& document, QTextCursor& cursor, const korvelin::NoteDrawing& drawing)
{
    constexpr qreal DotsPerMm = 300 / 25.4;
    // The size of a picture of the document is in pixels of 96 to the inch, as its writers read it.
    constexpr qreal PixelsPerMm = 96 / 25.4;
    QImage picture(qMax(1, qRound(drawing.WidthMm * DotsPerMm)), qMax(1, qRound(drawing.HeightMm * DotsPerMm)),
                   QImage::Format_RGB32);
    picture.setDotsPerMeterX(qRound(DotsPerMm * 1000));
    picture.setDotsPerMeterY(qRound(DotsPerMm * 1000));
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PaintNoteDrawing(painter, drawing, QRectF(picture.rect()));
    }
    // Each picture under a name of its own in the document.
    int number = 1;
    while (document.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("drawing%1.png").arg(number))).isValid())
        ++number;
    const QUrl name(QStringLiteral("drawing%1.png").arg(number));
    document.addResource(QTextDocument::ImageResource, name, picture);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(drawing.WidthMm * PixelsPerMm);
    format.setHeight(drawing.HeightMm * PixelsPerMm);
    cursor.insertImage(format);
}

#include "NoteDrawingPainter.moc"
