#include "NoteDrawingPainter.h"

#include "SheetForms.h"

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
    QFont font(NoteFontFamilyName());
    font.setStyleHint(QFont::SansSerif);
    // The height of a label is that of its capitals, as on a drawing.
    font.setPixelSize(qMax(1, qRound(label.HeightMm * scale / 0.73)));
    QFont small = font;
    small.setPixelSize(qMax(1, qRound(font.pixelSize() * 0.7)));
    const QFontMetricsF metrics(font, painter.device());
    const QFontMetricsF smallMetrics(small, painter.device());
    const std::vector<korvelin::FormulaRun> runs = korvelin::FormulaRuns(label.Text);
    qreal width = 0;
    for (const korvelin::FormulaRun& run : runs)
        width += (run.Shift == 0 ? metrics : smallMetrics).horizontalAdvance(Text(run.Text));
    qreal x = label.Anchor == korvelin::DrawingAnchor::Left     ? 0
              : label.Anchor == korvelin::DrawingAnchor::Center ? -width / 2
                                                                 : -width;
    painter.save();
    painter.translate(origin + QPointF(label.At.X, label.At.Y) * scale);
    painter.rotate(-label.AngleDeg);
    for (const korvelin::FormulaRun& run : runs) {
        const QFont& used = run.Shift == 0 ? font : small;
        const QFontMetricsF& usedMetrics = run.Shift == 0 ? metrics : smallMetrics;
        const qreal y = run.Shift < 0 ? metrics.ascent() * 0.25 : run.Shift > 0 ? -metrics.ascent() * 0.45 : 0;
        painter.setFont(used);
        painter.drawText(QPointF(x, y), Text(run.Text));
        x += usedMetrics.horizontalAdvance(Text(run.Text));
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
        // In widths of the pen.
        if (line.Dashed)
            pen.setDashPattern({6, 4});
        else if (line.DashDotDot)
            pen.setDashPattern({16, 3, 1, 3, 1, 3});
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

#include "NoteDrawingPainter.moc"
