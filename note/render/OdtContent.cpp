#include "OdtContent.h"

#include "NoteDrawingPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace odt {

namespace {

constexpr int DrawingDotsPerInch = 400;
// Qt's PNG writer turns its quality q into zlib's level (100 - q) · 9 / 91: 80 is level 1.
constexpr int PngQuality = 80;
// The cells' padding and ruling, in points, as the cell styles below set them.
constexpr qreal CellPaddingPt = 2;
constexpr qreal CellRulePt = 0.5;
// The estimate of a table's height is taken as good to this share of a sheet.
constexpr qreal EstimateMargin = 0.9;

} // namespace

Content::Content(const odt::Sheet& sheet) : Page(sheet)
{
    // The fonts are measured in points.
    Measure.setDotsPerMeterX(qRound(72 / 0.0254));
    Measure.setDotsPerMeterY(qRound(72 / 0.0254));
    SharedTableStyles();
}

std::vector<qreal> Content::ColumnWidthsMm(const korvelin::NoteTable& table, std::size_t columns) const
{
    std::vector<int> percent = table.WidthPercent;
    if (percent.size() != columns)
        percent.assign(columns, 1);
    int total = 0;
    for (int p : percent)
        total += p;
    std::vector<qreal> widths;
    for (std::size_t c = 0; c < columns; ++c)
        widths.push_back(Page.TextWidthMm * percent[c] / total);
    return widths;
}

qreal Content::EstimatedHeightMm(const korvelin::NoteTable& table, std::size_t columns) const
{
    constexpr qreal pointsPerMm = 72 / 25.4;
    const std::vector<qreal> widths = ColumnWidthsMm(table, columns);
    QFont font(NoteFontFamilyName());
    font.setPointSizeF(BodyPoints);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF plain(font, &Measure);
    const QFontMetricsF strong(bold, &Measure);
    qreal points = 0;
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const bool header = int(r) < table.HeaderRows;
        qreal row = plain.lineSpacing();
        for (std::size_t c = 0; c < table.Rows[r].size() && c < columns; ++c) {
            const korvelin::NoteCell& cell = table.Rows[r][c];
            const QFontMetricsF& metrics = header || cell.Bold ? strong : plain;
            const qreal room = widths[c] * pointsPerMm - 2 * CellPaddingPt - CellRulePt;
            const QRectF needed = metrics.boundingRect(QRectF(0, 0, std::max<qreal>(room, 1), 1e6),
                                                       Qt::TextWordWrap, Text(cell.Text));
            row = std::max(row, needed.height());
        }
        points += row + 2 * CellPaddingPt + CellRulePt;
    }
    return points / pointsPerMm;
}

bool Content::FitsOneSheet(const korvelin::NoteTable& table, std::size_t columns) const
{
    // The text of a following sheet: inside the frame between its padding and the small form,
    // or between the margins.
    const qreal sheetMm = Page.Framed ? Page.Frame.height() - 2 * FramePaddingMm - NextFormHeightMm
                                       : Page.PaperMm.height() - 2 * UnframedMarginMm;
    return EstimatedHeightMm(table, columns) <= EstimateMargin * sheetMm;
}

// An automatic paragraph style of content.xml: its parent keeping with the next paragraph,
// or the first paragraph that opens the first sheet's page style.
QString Content::ParagraphStyle(const char* parent, bool keepWithNext, bool firstPage)
{
    if (!keepWithNext && !firstPage)
        return QLatin1StringView(parent);
    const QString key = QLatin1StringView(parent) + (keepWithNext ? u'k' : u'-') + (firstPage ? u'f' : u'-');
    auto found = ContentStyleNames.find(key);
    if (found != ContentStyleNames.end())
        return found->second;
    const QString name = QStringLiteral("P%1").arg(ContentStyleNames.size() + 1);
    QXmlStreamWriter& xml = ContentStyles.Xml;
    Start(xml, "style:style", {{"style:name", name}, {"style:family", QStringLiteral("paragraph")},
                               {"style:parent-style-name", QLatin1StringView(parent)}});
    if (firstPage)
        xml.writeAttribute(QStringLiteral("style:master-page-name"), Page.FirstMasterName());
    if (keepWithNext)
        Empty(xml, "style:paragraph-properties", {{"fo:keep-with-next", QStringLiteral("always")}});
    End(xml);
    ContentStyleNames.emplace(key, name);
    return name;
}

void Content::Paragraph(const QString& style, const std::string& text, bool formula)
{
    QXmlStreamWriter& xml = Body.Xml;
    Start(xml, "text:p", {{"text:style-name", style}});
    WriteRuns(xml, text, formula, false);
    End(xml);
}

void Content::WriteBody()
{
    QXmlStreamWriter& xml = Body.Xml;
    Paragraph(ParagraphStyle("Korvelin_Title", true, true), Page.Note.Title);
    int tables = 0;
    int drawings = 0;
    for (const korvelin::NoteBlock& block : Page.Note.Blocks) {
        if (const auto* heading = std::get_if<korvelin::NoteHeading>(&block)) {
            Start(xml, "text:h", {{"text:style-name", QStringLiteral("Korvelin_Heading")},
                                  {"text:outline-level", QStringLiteral("1")}});
            WriteRuns(xml, heading->Text, false, false);
            End(xml);
        } else if (const auto* paragraph = std::get_if<korvelin::NoteParagraph>(&block)) {
            const char* parent = paragraph->Formula ? "Korvelin_Formula"
                                 : paragraph->Bold  ? "Korvelin_Bold"
                                                    : "Korvelin_Text";
            // Every paragraph may carry the marks of sub- and superscripts ("F_{тр}").
            Paragraph(ParagraphStyle(parent, paragraph->KeepWithNext), paragraph->Text, true);
        } else if (const auto* drawing = std::get_if<korvelin::NoteDrawing>(&block)) {
            Drawing(*drawing, ++drawings);
        } else {
            Table(std::get<korvelin::NoteTable>(block), ++tables);
        }
    }
}

void Content::Table(const korvelin::NoteTable& table, int index)
{
    if (table.Rows.empty())
        return;
    std::size_t columns = 0;
    for (const auto& row : table.Rows)
        columns = std::max(columns, row.size());
    const QString name = QStringLiteral("Tab%1").arg(index);
    QXmlStreamWriter& styles = ContentStyles.Xml;
    Start(styles, "style:style", {{"style:name", name}, {"style:family", QStringLiteral("table")}});
    Start(styles, "style:table-properties",
          {{"style:width", Mm(Page.TextWidthMm)}, {"table:align", QStringLiteral("left")},
           {"fo:margin-left", Mm(Page.Framed ? FramePaddingMm : 0)}, {"fo:margin-top", Pt(4)}, {"fo:margin-bottom", Pt(6)},
           {"table:border-model", QStringLiteral("collapsing")}});
    if (table.KeepWithNext)
        styles.writeAttribute(QStringLiteral("fo:keep-with-next"), QStringLiteral("always"));
    // A table that fits one sheet stays whole on one, as on the PDF's sheets.
    if (FitsOneSheet(table, columns))
        styles.writeAttribute(QStringLiteral("style:may-break-between-rows"), QStringLiteral("false"));
    End(styles);
    End(styles);
    const std::vector<qreal> widths = ColumnWidthsMm(table, columns);
    for (std::size_t c = 0; c < columns; ++c) {
        Start(styles, "style:style", {{"style:name", QStringLiteral("%1.C%2").arg(name).arg(c + 1)},
                                      {"style:family", QStringLiteral("table-column")}});
        Empty(styles, "style:table-column-properties", {{"style:column-width", Mm(widths[c])}});
        End(styles);
    }

    QXmlStreamWriter& xml = Body.Xml;
    Start(xml, "table:table", {{"table:name", QStringLiteral("Таблица%1").arg(index)}, {"table:style-name", name}});
    for (std::size_t c = 0; c < columns; ++c)
        Empty(xml, "table:table-column", {{"table:style-name", QStringLiteral("%1.C%2").arg(name).arg(c + 1)}});
    const std::size_t headerRows = std::min(std::size_t(std::max(table.HeaderRows, 0)), table.Rows.size());
    if (headerRows > 0)
        Start(xml, "table:table-header-rows");
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const bool header = r < headerRows;
        Start(xml, "table:table-row", {{"table:style-name", QStringLiteral("Korvelin_Row")}});
        for (std::size_t c = 0; c < columns; ++c) {
            Start(xml, "table:table-cell", {{"table:style-name", header ? QStringLiteral("Korvelin_HeadCell")
                                                                        : QStringLiteral("Korvelin_Cell")},
                                            {"office:value-type", QStringLiteral("string")}});
            const korvelin::CellAlignment alignment =
                header || c >= table.Alignment.size() ? korvelin::CellAlignment::Left : table.Alignment[c];
            const QString style = header ? QStringLiteral("Korvelin_Cell_Head")
                                  : alignment == korvelin::CellAlignment::Right ? QStringLiteral("Korvelin_Cell_Right")
                                  : alignment == korvelin::CellAlignment::Center ? QStringLiteral("Korvelin_Cell_Center")
                                                                                : QStringLiteral("Korvelin_Cell");
            Start(xml, "text:p", {{"text:style-name", style}});
            if (c < table.Rows[r].size())
                WriteRuns(xml, table.Rows[r][c].Text, false, table.Rows[r][c].Bold && !header);
            End(xml);
            End(xml);
        }
        End(xml);
        if (header && r + 1 == headerRows)
            End(xml);
    }
    End(xml);
}

// A drawing as a picture of high resolution in a centred paragraph, its caption under it.
void Content::Drawing(const korvelin::NoteDrawing& drawing, int index)
{
    if (drawing.WidthMm <= 0 || drawing.HeightMm <= 0)
        return;
    const qreal scale = std::min<qreal>(1, Page.TextWidthMm / drawing.WidthMm);
    const QSizeF sizeMm(drawing.WidthMm * scale, drawing.HeightMm * scale);
    const qreal dotsPerMm = DrawingDotsPerInch / 25.4;
    // Black on white: painted in grey levels, a quarter of a colour picture's bytes.
    QImage image(qRound(sizeMm.width() * dotsPerMm), qRound(sizeMm.height() * dotsPerMm), QImage::Format_Grayscale8);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        PaintNoteDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Compressed at zlib's fast level, which does nearly as well on line drawings as its default.
    image.save(&buffer, "PNG", PngQuality);
    const QString path = QStringLiteral("Pictures/drawing%1.png").arg(index);
    PictureFiles.emplace_back(path, png);

    QXmlStreamWriter& xml = Body.Xml;
    Start(xml, "text:p", {{"text:style-name", ParagraphStyle("Korvelin_Drawing", !drawing.Caption.empty())}});
    Start(xml, "draw:frame", {{"draw:style-name", QStringLiteral("Korvelin_Picture")},
                              {"draw:name", QStringLiteral("Рисунок %1").arg(index)},
                              {"text:anchor-type", QStringLiteral("as-char")},
                              {"svg:width", Mm(sizeMm.width())}, {"svg:height", Mm(sizeMm.height())},
                              {"draw:z-index", QStringLiteral("0")}});
    Empty(xml, "draw:image", {{"xlink:href", path}, {"xlink:type", QStringLiteral("simple")},
                              {"xlink:show", QStringLiteral("embed")}, {"xlink:actuate", QStringLiteral("onLoad")}});
    End(xml);
    End(xml);
    if (!drawing.Caption.empty())
        Paragraph(QStringLiteral("Korvelin_Caption"), drawing.Caption, true);
}

QByteArray Content::Xml()
{
    WriteBody();
    QByteArray xml = PartStart("office:document-content");
    xml += "<office:font-face-decls>" + FontFaceDeclarations() + "</office:font-face-decls>";
    xml += "<office:automatic-styles>";
    xml += ContentStyles.Done();
    xml += "</office:automatic-styles><office:body><office:text>";
    xml += Body.Done();
    xml += "</office:text></office:body>";
    return xml + PartEnd("office:document-content");
}

// The styles of content.xml that every table and picture shares.
void Content::SharedTableStyles()
{
    QXmlStreamWriter& xml = ContentStyles.Xml;
    Start(xml, "style:style", {{"style:name", QStringLiteral("Korvelin_Row")}, {"style:family", QStringLiteral("table-row")}});
    Empty(xml, "style:table-row-properties", {{"fo:keep-together", QStringLiteral("always")}});
    End(xml);
    for (const bool header : {false, true}) {
        Start(xml, "style:style", {{"style:name", header ? QStringLiteral("Korvelin_HeadCell") : QStringLiteral("Korvelin_Cell")},
                                   {"style:family", QStringLiteral("table-cell")}});
        Start(xml, "style:table-cell-properties",
              {{"fo:padding", Pt(2)}, {"fo:border", QStringLiteral("0.5pt solid #000000")}});
        if (header)
            xml.writeAttribute(QStringLiteral("fo:background-color"), QStringLiteral("#e8e8e8"));
        End(xml);
        End(xml);
    }
    Start(xml, "style:style", {{"style:name", QStringLiteral("Korvelin_Picture")}, {"style:family", QStringLiteral("graphic")}});
    Empty(xml, "style:graphic-properties",
          {{"style:vertical-pos", QStringLiteral("top")}, {"style:vertical-rel", QStringLiteral("baseline")},
           {"fo:border", QStringLiteral("none")}, {"fo:padding", Mm(0)}});
    End(xml);
}


} // namespace odt
