#include "NotePages.h"

#include "TitleBlock.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

// Where a block stands in the laid-out document: its top and bottom in document pixels.
struct Extent {
    qreal Top = 0;
    qreal Bottom = 0;
};

Extent ExtentOf(QTextDocument& document, const LaidOutBlock& block)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    if (block.Table != nullptr) {
        const QRectF rect = layout->frameBoundingRect(block.Table);
        return {rect.top(), rect.bottom()};
    }
    const QRectF rect = layout->blockBoundingRect(document.findBlock(block.Position));
    return {rect.top(), rect.bottom()};
}

void BreakBefore(QTextDocument& document, const LaidOutBlock& block)
{
    if (block.Table != nullptr) {
        QTextFrameFormat format = block.Table->frameFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        block.Table->setFrameFormat(format);
        return;
    }
    QTextCursor cursor(document.findBlock(block.Position));
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.mergeBlockFormat(format);
}

// How many blocks of the model are written at a time while the note is cut into sheets: about a
// third of a sheet of text, so that a break lays out anew little more than a sheet.
constexpr std::size_t BlocksWrittenAtOnce = 8;

} // namespace

SheetGeometry GeometryOf(const korvelin::NoteDocument& note, qreal dotsPerMm)
{
    SheetGeometry g;
    g.DotsPerMm = dotsPerMm;
    const bool landscape = note.Orientation == korvelin::PageOrientation::Landscape;
    const QSizeF paperMm = landscape ? QSizeF(297, 210) : QSizeF(210, 297);
    g.Paper = paperMm * dotsPerMm;
    const auto rect = [dotsPerMm](qreal left, qreal top, qreal right, qreal bottom) {
        return QRectF(QPointF(left, top) * dotsPerMm, QPointF(right, bottom) * dotsPerMm);
    };
    if (note.TitleBlock) {
        const QRectF frame = FrameRectMm(paperMm);
        const qreal left = frame.left() + FramePaddingMm;
        const qreal right = frame.right() - FramePaddingMm;
        const qreal top = frame.top() + FramePaddingMm;
        g.FirstBody = rect(left, top, right, frame.bottom() - FirstFormHeightMm - FramePaddingMm);
        g.NextBody = rect(left, top, right, frame.bottom() - NextFormHeightMm - FramePaddingMm);
    } else {
        g.FirstBody = g.NextBody = rect(UnframedMarginMm, UnframedMarginMm,
                                        paperMm.width() - UnframedMarginMm,
                                        paperMm.height() - UnframedMarginMm);
    }
    return g;
}

int CutIntoSheets(LaidOutNote& laidOut, const SheetGeometry& geometry, const std::function<bool()>& more)
{
    QTextDocument& document = *laidOut.Document;
    const qreal height = geometry.NextBody.height();
    // Setting the page's size lays the document out anew, even when the size stays.
    if (document.pageSize() != geometry.NextBody.size())
        document.setPageSize(geometry.NextBody.size());
    const std::vector<LaidOutBlock>& blocks = laidOut.Blocks;
    // Whether the block is there: written, if need be, with those that follow it.
    const auto has = [&blocks, &more](std::size_t block) {
        while (block >= blocks.size()) {
            if (!more || !more())
                return false;
        }
        return true;
    };
    // Each pass sets at most one break, before a run of blocks that keep together (a heading or
    // the lines of a step with the block after them, or a table alone) that crosses the end of
    // its sheet's body but fits one sheet; then the document is laid out anew. A break moves only
    // what follows it, so the next pass resumes at the first run that reaches the break. A run is
    // judged once the block after it is written: what follows a block can change its place (an
    // empty paragraph before a table is hidden in the table's border).
    std::vector<bool> broken;
    std::size_t resume = 0;
    for (bool moved = true; moved;) {
        moved = false;
        std::vector<std::pair<std::size_t, std::size_t>> runs;  // the runs judged in this pass
        for (std::size_t first = resume; has(first) && !moved;) {
            std::size_t last = first;
            while (has(last + 1) && blocks[last].KeepWithNext)
                ++last;
            has(last + 1);
            broken.resize(blocks.size(), false);
            runs.emplace_back(first, last);
            const qreal top = ExtentOf(document, blocks[first]).Top;
            const qreal bottom = ExtentOf(document, blocks[last]).Bottom;
            const int sheet = int(std::floor(top / height));
            const qreal sheetTop = sheet * height;
            const qreal usable = sheet == 0 ? geometry.FirstBody.height() : height;
            const bool crosses = bottom - sheetTop > usable + 0.5;
            // Already at the top of a sheet, or taller than one: nothing better to be had here.
            const bool atTop = broken[first] || top - sheetTop < 1;
            if (crosses && !atTop && bottom - top <= height) {
                BreakBefore(document, blocks[first]);
                broken[first] = moved = true;
                resume = std::find_if(runs.begin(), runs.end(), [first](const auto& run) {
                             return run.second >= first;
                         })->first;
            }
            // A run taller than a sheet is cut between its blocks.
            first = crosses && bottom - top > height && last > first ? first + 1 : last + 1;
        }
    }
    while (more && more()) {
    }
    return document.pageCount();
}

int PaintNoteSheets(const korvelin::NoteDocument& note, QPagedPaintDevice& device)
{
    const qreal dotsPerMm = device.logicalDpiY() / 25.4;
    const SheetGeometry geometry = GeometryOf(note, dotsPerMm);
    // The fonts are measured on the device the sheets are painted on, the text laid out on the
    // width and height of a sheet's body at once.
    // The note is written as the cutting comes to it, a few blocks at a time: a break lays out
    // anew only what is written after it, not the rest of the note.
    NoteLayoutBuilder builder(note, {&device, geometry.NextBody.size(), true});
    LaidOutNote& laidOut = builder.Note();
    QTextDocument& document = *laidOut.Document;
    const int sheets = CutIntoSheets(laidOut, geometry, [&builder] { return builder.Append(BlocksWrittenAtOnce); });

    QPainter painter(&device);
    if (!painter.isActive())
        return 0;
    // The painter starts at the printable area's corner: the sheets are measured from the paper's.
    const QRectF printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal height = geometry.NextBody.height();
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (sheet > 0)
            device.newPage();
        painter.save();
        painter.translate(-printable.topLeft());
        const QRectF body = sheet == 0 ? geometry.FirstBody : geometry.NextBody;
        if (note.TitleBlock) {
            DrawFrameAndTitleBlock(painter, *note.TitleBlock, geometry.Paper / dotsPerMm, dotsPerMm,
                                   sheet + 1, sheets);
        } else {
            QFont font = document.defaultFont();
            painter.setFont(font);
            const QString number = QStringLiteral("Лист %1").arg(sheet + 1);
            const QFontMetricsF metrics(font, &device);
            painter.drawText(QPointF(body.right() - metrics.horizontalAdvance(number),
                                     body.bottom() + metrics.ascent() + 3 * dotsPerMm),
                             number);
        }
        painter.translate(body.left(), body.top() - sheet * height);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, sheet * height, body.width(), body.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return sheets;
}
