#include "OdtPackage.h"

#include "NoteDrawingPainter.h"
#include "TitleBlock.h"

#include <QtGui/private/qzipwriter_p.h>

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSizeF>
#include <QXmlStreamWriter>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

// The package follows OpenDocument 1.3. The page layouts and master pages of styles.xml carry the
// sheet: the frame and the margin's graphs as shapes anchored in the header and placed on the
// page, the form as a table of fixed rows in the foot (where the word processor fills in its page
// fields), so that every sheet gets them whatever the text does; the text is in content.xml.
// A text frame placed on the page would do for the form too, but LibreOffice neither shows a
// table inside one nor fills the page fields in it.

namespace {

constexpr qreal BodyPoints = 9.5;
constexpr qreal TitlePoints = 14;
constexpr qreal HeadingPoints = 11.5;
constexpr qreal CaptionPoints = 6.5;  // the captions of the forms, as the PDF sets them
constexpr qreal NamePoints = 7.5;
constexpr qreal SmallestPoints = 1.5;
constexpr int DrawingDotsPerInch = 400;
// The header that holds the frame and the margin's graphs: between the frame's top line and the
// text.
constexpr qreal HeaderMm = FramePaddingMm;
// Without a frame: "Лист N" under the text, as on the PDF's sheets.
constexpr qreal FootGapMm = 3;
constexpr qreal FootMm = 5;

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }
QString Mm(qreal mm) { return QString::number(mm, 'f', 2) + QStringLiteral("mm"); }
QString Pt(qreal points) { return QString::number(points, 'f', 2) + QStringLiteral("pt"); }

using Attributes = std::initializer_list<std::pair<const char*, QString>>;

void Start(QXmlStreamWriter& xml, const char* name, Attributes attributes = {})
{
    xml.writeStartElement(QLatin1StringView(name));
    for (const auto& [key, value] : attributes)
        xml.writeAttribute(QLatin1StringView(key), value);
}

void Empty(QXmlStreamWriter& xml, const char* name, Attributes attributes = {})
{
    xml.writeEmptyElement(QLatin1StringView(name));
    for (const auto& [key, value] : attributes)
        xml.writeAttribute(QLatin1StringView(key), value);
}

void End(QXmlStreamWriter& xml) { xml.writeEndElement(); }

// A piece of XML written in memory, to be put into a part of the package.
struct Fragment {
    Fragment() : Xml(&Bytes) {}
    // The bytes written, the last element closed.
    const QByteArray& Done()
    {
        Xml.writeCharacters(QString());
        return Bytes;
    }
    QByteArray Bytes;
    QXmlStreamWriter Xml;
};

// The start of a part: the declaration, the root with the namespaces of OpenDocument.
QByteArray PartStart(const char* root)
{
    static constexpr std::pair<const char*, const char*> Namespaces[] = {
        {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
        {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
        {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
        {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
        {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
        {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
        {"xlink", "http://www.w3.org/1999/xlink"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
        {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    };
    QByteArray start = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<") + root;
    for (const auto& [prefix, uri] : Namespaces)
        start += QByteArray(" xmlns:") + prefix + "=\"" + uri + '"';
    return start + " office:version=\"1.3\">";
}

QByteArray PartEnd(const char* root) { return QByteArray("</") + root + ">\n"; }

// Writes a text as OpenDocument keeps it: runs of spaces, tabs and line ends as their elements;
// characters that show nothing (format characters: joiners, soft hyphens, marks of direction)
// left out.
class TextWriter
{
public:
    explicit TextWriter(QXmlStreamWriter& xml) : Xml(xml) {}

    void Write(const QString& text)
    {
        for (const QChar c : text) {
            if (c.category() == QChar::Other_Format)
                continue;
            if (c == QLatin1Char(' ')) {
                ++Spaces;
                continue;
            }
            FlushSpaces();
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
                Flush();
                Empty(Xml, c == QLatin1Char('\t') ? "text:tab" : "text:line-break");
                AtStart = c == QLatin1Char('\n');
                continue;
            }
            Pending += c;
            AtStart = false;
        }
    }
    // The spaces at the end of a paragraph are kept too.
    void Finish()
    {
        FlushSpaces();
        Flush();
    }

private:
    void Flush()
    {
        if (!Pending.isEmpty())
            Xml.writeCharacters(Pending);
        Pending.clear();
    }
    // The first space of a run is a character; the others, and one at the start of a line, are
    // an element that counts them.
    void FlushSpaces()
    {
        if (Spaces == 0)
            return;
        int counted = Spaces;
        if (!AtStart) {
            Pending += QLatin1Char(' ');
            --counted;
        }
        if (counted > 0) {
            Flush();
            Empty(Xml, "text:s", {{"text:c", QString::number(counted)}});
        }
        Spaces = 0;
        AtStart = false;
    }

    QXmlStreamWriter& Xml;
    QString Pending;
    int Spaces = 0;
    bool AtStart = true;
};

// A text with the formula marks as runs set lower or higher; a bold text as a bold run.
void WriteRuns(QXmlStreamWriter& xml, const std::string& text, bool formula, bool bold)
{
    TextWriter writer(xml);
    const std::vector<korvelin::FormulaRun> runs =
        formula ? korvelin::FormulaRuns(text) : std::vector<korvelin::FormulaRun>{{text, 0}};
    for (const korvelin::FormulaRun& run : runs) {
        const char* style = run.Shift < 0 ? "Korvelin_Sub" : run.Shift > 0 ? "Korvelin_Sup" : bold ? "Korvelin_Strong" : nullptr;
        if (style == nullptr) {
            writer.Write(Text(run.Text));
            continue;
        }
        writer.Finish();
        Start(xml, "text:span", {{"text:style-name", QLatin1StringView(style)}});
        TextWriter inner(xml);
        inner.Write(Text(run.Text));
        inner.Finish();
        End(xml);
    }
    writer.Finish();
}

// ---------------------------------------------------------------------------------------------
// The forms of the title block and the graphs of the binding margin, as tables of fixed cells.

enum class FormField { None, PageNumber, PageCount };

struct FormCell {
    int Row = 0;
    int Column = 0;
    int RowSpan = 1;
    int ColumnSpan = 1;
    QString Text;
    qreal Points = CaptionPoints;
    Qt::Alignment Alignment = Qt::AlignCenter;
    bool ThinTop = false;     // a thin line over the cell, a thick one otherwise
    FormField Field = FormField::None;
    bool Upward = false;      // the text turned to run upwards
};

struct FormGrid {
    std::vector<qreal> ColumnsMm;
    std::vector<qreal> RowsMm;
    std::vector<FormCell> Cells;

    FormCell& Add(int row, int column, QString text = {}, qreal points = CaptionPoints)
    {
        Cells.push_back({});
        FormCell& cell = Cells.back();
        cell.Row = row;
        cell.Column = column;
        cell.Text = std::move(text);
        cell.Points = points;
        return cell;
    }
    qreal Width(int from, int count) const
    {
        qreal width = 0;
        for (int i = from; i < from + count; ++i)
            width += ColumnsMm[std::size_t(i)];
        return width;
    }
    qreal Height(int from, int count) const
    {
        qreal height = 0;
        for (int i = from; i < from + count; ++i)
            height += RowsMm[std::size_t(i)];
        return height;
    }
};

// The change rows, their captions and (on the first sheet) the signature rows of the left part.
void AddLeftPart(FormGrid& grid, int changeRows)
{
    static const char* const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
    for (int column = 0; column < 6; ++column) {
        for (int row = 0; row < changeRows; ++row)
            grid.Add(row, column).ThinTop = row > 0;
        grid.Add(changeRows, column, QString::fromUtf8(captions[column]));
    }
}

FormGrid FirstForm(const korvelin::NoteTitleBlock& b)
{
    FormGrid grid;
    grid.ColumnsMm = {10, 10, 10, 10, 15, 10, 70, 15, 15, 20};
    grid.RowsMm.assign(8, FormRowMm);
    AddLeftPart(grid, 2);
    const std::pair<const char*, const std::string*> signatures[] = {
        {"Разраб.", &b.Author}, {"Пров.", &b.Checker}, {"", nullptr}, {"Н. контр.", &b.NormControl},
        {"ГИП", &b.ChiefEngineer}};
    for (int i = 0; i < 5; ++i) {
        const int row = 3 + i;
        const std::size_t first = grid.Cells.size();
        grid.Add(row, 0, QString::fromUtf8(signatures[i].first)).ColumnSpan = 2;
        grid.Add(row, 2, signatures[i].second ? Text(*signatures[i].second) : QString(), NamePoints).ColumnSpan = 2;
        grid.Add(row, 4);
        grid.Add(row, 5, i == 0 ? Text(b.Date) : QString());
        for (std::size_t cell = first; cell < grid.Cells.size(); ++cell) {
            grid.Cells[cell].ThinTop = i > 0;
            if (cell < first + 2)
                grid.Cells[cell].Alignment = Qt::AlignLeft | Qt::AlignVCenter;
        }
    }
    FormCell& designation = grid.Add(0, 6, Text(b.Designation), 14);
    designation.RowSpan = 3;
    designation.ColumnSpan = 4;
    QString name = Text(b.Object);
    if (!name.isEmpty())
        name += QLatin1Char('\n');
    name += Text(b.DocumentName);
    grid.Add(3, 6, name, 10).RowSpan = 5;
    grid.Add(3, 7, QStringLiteral("Стадия"));
    grid.Add(3, 8, QStringLiteral("Лист"));
    grid.Add(3, 9, QStringLiteral("Листов"));
    grid.Add(4, 7, Text(b.Stage), 9);
    grid.Add(4, 8, QStringLiteral("1"), 9).Field = FormField::PageNumber;
    grid.Add(4, 9, QStringLiteral("1"), 9).Field = FormField::PageCount;
    FormCell& organization = grid.Add(5, 7, Text(b.Organization), 9);
    organization.RowSpan = 3;
    organization.ColumnSpan = 3;
    return grid;
}

FormGrid NextForm(const korvelin::NoteTitleBlock& b)
{
    FormGrid grid;
    // The left part's rows of 5 mm beside the sheet number's caption of 7 mm.
    grid.ColumnsMm = {10, 10, 10, 10, 15, 10, 110, 10};
    grid.RowsMm = {5, 2, 3, 5};
    static const char* const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
    for (int column = 0; column < 6; ++column) {
        grid.Add(0, column);
        FormCell& second = grid.Add(1, column);
        second.RowSpan = 2;
        second.ThinTop = true;
        grid.Add(3, column, QString::fromUtf8(captions[column]));
    }
    grid.Add(0, 6, Text(b.Designation), 14).RowSpan = 4;
    grid.Add(0, 7, QStringLiteral("Лист")).RowSpan = 2;
    FormCell& number = grid.Add(2, 7, QStringLiteral("2"), 9);
    number.RowSpan = 2;
    number.Field = FormField::PageNumber;
    return grid;
}

// The graphs of the binding margin, from the top down: the reverse of MarginGraphs.
FormGrid MarginForm(const korvelin::NoteTitleBlock& b)
{
    FormGrid grid;
    grid.ColumnsMm = {MarginCaptionWidthMm, MarginValueWidthMm};
    const int rows = int(std::size(MarginGraphs));
    for (int row = 0; row < rows; ++row) {
        const MarginGraph& graph = MarginGraphs[std::size_t(rows - 1 - row)];
        grid.RowsMm.push_back(graph.HeightMm);
        grid.Add(row, 0, QString::fromUtf8(graph.Caption));
        grid.Add(row, 1, Text(b.*graph.Value), NamePoints);
        for (std::size_t cell = grid.Cells.size() - 2; cell < grid.Cells.size(); ++cell)
            grid.Cells[cell].Upward = true;
    }
    return grid;
}

QSizeF FormSizeMm(const FormGrid& grid)
{
    return {grid.Width(0, int(grid.ColumnsMm.size())), grid.Height(0, int(grid.RowsMm.size()))};
}

// ---------------------------------------------------------------------------------------------

class OdtBuilder
{
public:
    explicit OdtBuilder(const korvelin::NoteDocument& note)
        : Note(note)
        , Framed(note.TitleBlock.has_value())
        , PaperMm(note.Orientation == korvelin::PageOrientation::Landscape ? QSizeF(297, 210) : QSizeF(210, 297))
        , Frame(FrameRectMm(PaperMm))
    {
        // The text between the frame's sides less the padding, or between the margins.
        TextWidthMm = Framed ? Frame.width() - 2 * FramePaddingMm : PaperMm.width() - 2 * UnframedMarginMm;
        // The fonts of the forms are measured in points.
        Measure.setDotsPerMeterX(qRound(72 / 0.0254));
        Measure.setDotsPerMeterY(qRound(72 / 0.0254));
        SharedTableStyles();
    }

    QByteArray Package()
    {
        WriteBody();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QZipWriter zip(&buffer);
            // The mimetype first and stored, so that a reader knows the package by its first bytes.
            zip.setCompressionPolicy(QZipWriter::NeverCompress);
            zip.addFile(QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.text"));
            zip.setCompressionPolicy(QZipWriter::AlwaysCompress);
            zip.addFile(QStringLiteral("content.xml"), ContentXml());
            zip.addFile(QStringLiteral("styles.xml"), StylesXml());
            zip.addFile(QStringLiteral("meta.xml"), MetaXml());
            zip.setCompressionPolicy(QZipWriter::NeverCompress);
            for (const auto& [name, png] : Pictures)
                zip.addFile(name, png);
            zip.setCompressionPolicy(QZipWriter::AlwaysCompress);
            zip.addFile(QStringLiteral("META-INF/manifest.xml"), ManifestXml());
            zip.close();
            if (zip.status() != QZipWriter::NoError)
                return {};
        }
        return bytes;
    }

private:
    // --- content.xml ---------------------------------------------------------------------

    // An automatic paragraph style of content.xml: its parent keeping with the next paragraph,
    // or the first paragraph that opens the first sheet's page style.
    QString ParagraphStyle(const char* parent, bool keepWithNext, bool firstPage = false)
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
            xml.writeAttribute(QStringLiteral("style:master-page-name"), FirstMasterName());
        if (keepWithNext)
            Empty(xml, "style:paragraph-properties", {{"fo:keep-with-next", QStringLiteral("always")}});
        End(xml);
        ContentStyleNames.emplace(key, name);
        return name;
    }

    QString FirstMasterName() const { return Framed ? QStringLiteral("Korvelin_First") : QStringLiteral("Standard"); }

    void Paragraph(const QString& style, const std::string& text, bool formula = false)
    {
        QXmlStreamWriter& xml = Body.Xml;
        Start(xml, "text:p", {{"text:style-name", style}});
        WriteRuns(xml, text, formula, false);
        End(xml);
    }

    void WriteBody()
    {
        QXmlStreamWriter& xml = Body.Xml;
        Paragraph(ParagraphStyle("Korvelin_Title", true, true), Note.Title);
        int tables = 0;
        int drawings = 0;
        for (const korvelin::NoteBlock& block : Note.Blocks) {
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

    void Table(const korvelin::NoteTable& table, int index)
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
              {{"style:width", Mm(TextWidthMm)}, {"table:align", QStringLiteral("left")},
               {"fo:margin-left", Mm(Framed ? FramePaddingMm : 0)}, {"fo:margin-top", Pt(4)}, {"fo:margin-bottom", Pt(6)},
               {"table:border-model", QStringLiteral("collapsing")}});
        if (table.KeepWithNext)
            styles.writeAttribute(QStringLiteral("fo:keep-with-next"), QStringLiteral("always"));
        End(styles);
        End(styles);
        std::vector<int> percent = table.WidthPercent;
        if (percent.size() != columns)
            percent.assign(columns, 1);
        int total = 0;
        for (int p : percent)
            total += p;
        for (std::size_t c = 0; c < columns; ++c) {
            Start(styles, "style:style", {{"style:name", QStringLiteral("%1.C%2").arg(name).arg(c + 1)},
                                          {"style:family", QStringLiteral("table-column")}});
            Empty(styles, "style:table-column-properties", {{"style:column-width", Mm(TextWidthMm * percent[c] / total)}});
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
    void Drawing(const korvelin::NoteDrawing& drawing, int index)
    {
        if (drawing.WidthMm <= 0 || drawing.HeightMm <= 0)
            return;
        const qreal scale = std::min<qreal>(1, TextWidthMm / drawing.WidthMm);
        const QSizeF sizeMm(drawing.WidthMm * scale, drawing.HeightMm * scale);
        const qreal dotsPerMm = DrawingDotsPerInch / 25.4;
        QImage image(qRound(sizeMm.width() * dotsPerMm), qRound(sizeMm.height() * dotsPerMm), QImage::Format_RGB32);
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
        image.save(&buffer, "PNG");
        const QString path = QStringLiteral("Pictures/drawing%1.png").arg(index);
        Pictures.emplace_back(path, png);

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

    QByteArray ContentXml()
    {
        QByteArray xml = PartStart("office:document-content");
        xml += "<office:font-face-decls>" + FontFaces() + "</office:font-face-decls>";
        xml += "<office:automatic-styles>";
        xml += ContentStyles.Done();
        xml += "</office:automatic-styles><office:body><office:text>";
        xml += Body.Done();
        xml += "</office:text></office:body>";
        return xml + PartEnd("office:document-content");
    }

    static QByteArray FontFaces()
    {
        return QByteArrayLiteral("<style:font-face style:name=\"DejaVu Sans\" svg:font-family=\"'DejaVu Sans'\" "
                                 "style:font-family-generic=\"swiss\" style:font-pitch=\"variable\"/>");
    }

    // The styles of content.xml that every table and picture shares.
    void SharedTableStyles()
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

    // --- styles.xml ------------------------------------------------------------------------

    static void ParagraphStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName,
                                 Attributes paragraph, Attributes text, const char* parent = "Standard")
    {
        Start(xml, "style:style", {{"style:name", QLatin1StringView(name)},
                                   {"style:display-name", QString::fromUtf8(displayName)},
                                   {"style:family", QStringLiteral("paragraph")},
                                   {"style:parent-style-name", QLatin1StringView(parent)}});
        if (paragraph.size() > 0)
            Empty(xml, "style:paragraph-properties", paragraph);
        if (text.size() > 0)
            Empty(xml, "style:text-properties", text);
        End(xml);
    }

    static void TextStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName, Attributes text)
    {
        Start(xml, "style:style", {{"style:name", QLatin1StringView(name)},
                                   {"style:display-name", QString::fromUtf8(displayName)},
                                   {"style:family", QStringLiteral("text")}});
        Empty(xml, "style:text-properties", text);
        End(xml);
    }

    // The styles of the text. Inside the frame the page's margins are the frame's lines, so that
    // the forms in the foot span it whole: the text keeps its distance from them by its indents.
    void CommonStyles(QXmlStreamWriter& xml) const
    {
        const qreal inset = Framed ? FramePaddingMm : 0;
        Start(xml, "style:default-style", {{"style:family", QStringLiteral("paragraph")}});
        Empty(xml, "style:paragraph-properties", {{"style:writing-mode", QStringLiteral("lr-tb")}});
        Empty(xml, "style:text-properties",
              {{"style:font-name", QStringLiteral("DejaVu Sans")}, {"fo:font-size", Pt(BodyPoints)},
               {"fo:language", QStringLiteral("ru")}, {"fo:country", QStringLiteral("RU")},
               {"fo:hyphenate", QStringLiteral("false")}});
        End(xml);
        Start(xml, "style:style", {{"style:name", QStringLiteral("Standard")}, {"style:family", QStringLiteral("paragraph")},
                                   {"style:class", QStringLiteral("text")}});
        Empty(xml, "style:paragraph-properties", {{"fo:margin-top", Pt(0)}, {"fo:margin-bottom", Pt(0)},
                                                  {"fo:margin-left", Mm(inset)}, {"fo:margin-right", Mm(inset)}});
        End(xml);
        const QString always = QStringLiteral("always");
        const QString bold = QStringLiteral("bold");
        const QString centre = QStringLiteral("center");
        const QString none = Mm(0);
        ParagraphStyleOf(xml, "Korvelin_Title", "Заголовок записки",
                         {{"fo:text-align", centre}, {"fo:margin-bottom", Pt(8)}, {"fo:keep-with-next", always}},
                         {{"fo:font-size", Pt(TitlePoints)}, {"fo:font-weight", bold}});
        ParagraphStyleOf(xml, "Korvelin_Heading", "Раздел записки",
                         {{"fo:margin-top", Pt(10)}, {"fo:margin-bottom", Pt(2)}, {"fo:margin-left", Mm(inset)},
                          {"fo:keep-with-next", always}},
                         {{"fo:font-size", Pt(HeadingPoints)}, {"fo:font-weight", bold}});
        ParagraphStyleOf(xml, "Korvelin_Text", "Текст записки", {{"fo:margin-top", Pt(3)}, {"fo:margin-bottom", Pt(2)}}, {});
        ParagraphStyleOf(xml, "Korvelin_Bold", "Текст записки, выделенный",
                         {{"fo:margin-top", Pt(6)}, {"fo:margin-bottom", Pt(2)}}, {{"fo:font-weight", bold}});
        ParagraphStyleOf(xml, "Korvelin_Formula", "Формула",
                         {{"fo:margin-top", Pt(1)}, {"fo:margin-bottom", Pt(1)}, {"fo:margin-left", Mm(inset + 14 * 25.4 / 72)}},
                         {});
        ParagraphStyleOf(xml, "Korvelin_Drawing", "Рисунок", {{"fo:text-align", centre}, {"fo:margin-top", Pt(6)}}, {});
        ParagraphStyleOf(xml, "Korvelin_Caption", "Подпись рисунка",
                         {{"fo:text-align", centre}, {"fo:margin-top", Pt(2)}, {"fo:margin-bottom", Pt(4)}}, {});
        ParagraphStyleOf(xml, "Korvelin_Cell", "Ячейка таблицы", {{"fo:margin-left", none}, {"fo:margin-right", none}}, {});
        ParagraphStyleOf(xml, "Korvelin_Cell_Right", "Ячейка таблицы, по правому краю",
                         {{"fo:text-align", QStringLiteral("end")}}, {}, "Korvelin_Cell");
        ParagraphStyleOf(xml, "Korvelin_Cell_Center", "Ячейка таблицы, по центру", {{"fo:text-align", centre}}, {},
                         "Korvelin_Cell");
        ParagraphStyleOf(xml, "Korvelin_Cell_Head", "Заголовок столбца", {}, {{"fo:font-weight", bold}}, "Korvelin_Cell");
        ParagraphStyleOf(xml, "Korvelin_Foot", "Номер листа", {{"fo:text-align", QStringLiteral("end")}}, {});
        ParagraphStyleOf(xml, "Korvelin_Header", "Рамка листа", {{"fo:margin-left", none}, {"fo:margin-right", none}},
                         {{"fo:font-size", Pt(2)}});
        ParagraphStyleOf(xml, "Korvelin_Form", "Графа основной надписи",
                         {{"fo:margin-left", none}, {"fo:margin-right", none}, {"fo:line-height", QStringLiteral("100%")},
                          {"fo:text-align", centre}},
                         {{"fo:font-size", Pt(CaptionPoints)}});
        // The headings are of the first outline level, unnumbered: its indent is theirs.
        Start(xml, "text:outline-style", {{"style:name", QStringLiteral("Outline")}});
        Start(xml, "text:outline-level-style", {{"text:level", QStringLiteral("1")}, {"style:num-format", QString()}});
        Start(xml, "style:list-level-properties",
              {{"text:list-level-position-and-space-mode", QStringLiteral("label-alignment")}});
        Empty(xml, "style:list-level-label-alignment",
              {{"text:label-followed-by", QStringLiteral("nothing")}, {"fo:text-indent", Mm(0)},
               {"fo:margin-left", Mm(inset)}});
        End(xml);
        End(xml);
        End(xml);
        TextStyleOf(xml, "Korvelin_Sub", "Нижний индекс", {{"style:text-position", QStringLiteral("sub 58%")}});
        TextStyleOf(xml, "Korvelin_Sup", "Верхний индекс", {{"style:text-position", QStringLiteral("super 58%")}});
        TextStyleOf(xml, "Korvelin_Strong", "Выделение", {{"fo:font-weight", bold}});
    }

    // The page layout of a sheet. Framed: the margins at the frame's lines, the header of the
    // frame's padding (it holds the frame and the margin's graphs), the foot of the form's height
    // and the padding over it (it holds the form). Unframed: 2 cm margins, "Лист N" in the foot.
    void PageLayout(QXmlStreamWriter& xml, const QString& name, qreal formHeightMm) const
    {
        const bool landscape = Note.Orientation == korvelin::PageOrientation::Landscape;
        Start(xml, "style:page-layout", {{"style:name", name}});
        Empty(xml, "style:page-layout-properties",
              {{"fo:page-width", Mm(PaperMm.width())}, {"fo:page-height", Mm(PaperMm.height())},
               {"style:print-orientation", landscape ? QStringLiteral("landscape") : QStringLiteral("portrait")},
               {"style:writing-mode", QStringLiteral("lr-tb")},
               {"fo:margin-left", Mm(Framed ? Frame.left() : UnframedMarginMm)},
               {"fo:margin-right", Mm(Framed ? PaperMm.width() - Frame.right() : UnframedMarginMm)},
               {"fo:margin-top", Mm(Framed ? Frame.top() : UnframedMarginMm)},
               {"fo:margin-bottom", Mm(Framed ? PaperMm.height() - Frame.bottom() : UnframedMarginMm - FootGapMm - FootMm)}});
        if (Framed) {
            Start(xml, "style:header-style");
            Empty(xml, "style:header-footer-properties",
                  {{"svg:height", Mm(HeaderMm)}, {"fo:margin-bottom", Mm(0)}, {"fo:margin-left", Mm(0)},
                   {"fo:margin-right", Mm(0)}, {"style:dynamic-spacing", QStringLiteral("false")}});
            End(xml);
        }
        Start(xml, "style:footer-style");
        Empty(xml, "style:header-footer-properties",
              {{"svg:height", Mm(Framed ? formHeightMm + FramePaddingMm : FootMm + FootGapMm)},
               {"fo:margin-top", Mm(Framed ? FramePaddingMm : FootGapMm)}, {"fo:margin-left", Mm(0)},
               {"fo:margin-right", Mm(0)}, {"style:dynamic-spacing", QStringLiteral("false")}});
        End(xml);
        End(xml);
    }

    // The frame's line, and the cells of the margin's graphs: shapes placed on the page.
    static void ShapeStyles(QXmlStreamWriter& xml)
    {
        for (const bool cell : {false, true}) {
            Start(xml, "style:style", {{"style:name", cell ? QStringLiteral("Korvelin_Graph") : QStringLiteral("Korvelin_Frame")},
                                       {"style:family", QStringLiteral("graphic")}});
            Start(xml, "style:graphic-properties",
                  {{"style:wrap", QStringLiteral("run-through")}, {"style:run-through", QStringLiteral("background")},
                   {"style:flow-with-text", QStringLiteral("false")},
                   {"style:horizontal-pos", QStringLiteral("from-left")}, {"style:horizontal-rel", QStringLiteral("page")},
                   {"style:vertical-pos", QStringLiteral("from-top")}, {"style:vertical-rel", QStringLiteral("page")},
                   {"draw:fill", QStringLiteral("none")}, {"draw:stroke", QStringLiteral("solid")},
                   {"svg:stroke-width", Mm(0.5)}, {"svg:stroke-color", QStringLiteral("#000000")}});
            if (cell) {
                xml.writeAttribute(QStringLiteral("draw:textarea-vertical-align"), QStringLiteral("middle"));
                xml.writeAttribute(QStringLiteral("draw:textarea-horizontal-align"), QStringLiteral("center"));
                xml.writeAttribute(QStringLiteral("draw:auto-grow-height"), QStringLiteral("false"));
                xml.writeAttribute(QStringLiteral("fo:padding"), Mm(0.3));
            }
            End(xml);
            End(xml);
        }
    }

    // The cells of the forms: a thick line on the left, a thick or thin one over them; the
    // frame's lines close the form on the right and below.
    static void FormCellStyles(QXmlStreamWriter& xml)
    {
        const QString thick = QStringLiteral("0.5mm solid #000000");
        const QString thin = QStringLiteral("0.25mm solid #000000");
        for (const bool thinTop : {false, true}) {
            Start(xml, "style:style", {{"style:name", thinTop ? QStringLiteral("Form_Thin") : QStringLiteral("Form_Thick")},
                                       {"style:family", QStringLiteral("table-cell")}});
            Empty(xml, "style:table-cell-properties",
                  {{"fo:border-left", thick}, {"fo:border-top", thinTop ? thin : thick},
                   {"fo:border-right", QStringLiteral("none")}, {"fo:border-bottom", QStringLiteral("none")},
                   {"fo:padding-left", Mm(0.7)}, {"fo:padding-right", Mm(0.7)}, {"fo:padding-top", Mm(0)},
                   {"fo:padding-bottom", Mm(0)}, {"style:vertical-align", QStringLiteral("middle")}});
            End(xml);
        }
    }

    // The paragraph style of a form's text of that size and alignment, among styles.xml's
    // automatic styles.
    QString FormParagraphStyle(qreal points, Qt::Alignment alignment)
    {
        const bool left = alignment & Qt::AlignLeft;
        const QString key = QStringLiteral("%1%2").arg(points).arg(left ? u'l' : u'c');
        auto found = FormStyleNames.find(key);
        if (found != FormStyleNames.end())
            return found->second;
        const QString name = QStringLiteral("Form_P%1").arg(FormStyleNames.size() + 1);
        QXmlStreamWriter& xml = FormStyles.Xml;
        Start(xml, "style:style", {{"style:name", name}, {"style:family", QStringLiteral("paragraph")},
                                   {"style:parent-style-name", QStringLiteral("Korvelin_Form")}});
        Empty(xml, "style:paragraph-properties", {{"fo:text-align", left ? QStringLiteral("start") : QStringLiteral("center")}});
        Empty(xml, "style:text-properties", {{"fo:font-size", Pt(points)}});
        End(xml);
        FormStyleNames.emplace(key, name);
        return name;
    }

    // The size a form's text is set at: as large as it fits its cell, at most the form's own.
    qreal FittedPoints(const FormCell& cell, const FormGrid& grid) const
    {
        qreal width = grid.Width(cell.Column, cell.ColumnSpan) - 1.4;
        qreal height = grid.Height(cell.Row, cell.RowSpan) - 0.6;
        if (cell.Upward)
            std::swap(width, height);
        const qreal pointsPerMm = 72 / 25.4;
        const QRectF room(0, 0, width * pointsPerMm, height * pointsPerMm);
        const std::optional<FittedText> fitted = FitText(Measure, room, cell.Text, cell.Points, cell.Alignment);
        // A little under the size measured: the word processor's fonts run a little wider.
        return fitted ? std::max(SmallestPoints, fitted->PointSize - 0.25) : SmallestPoints;
    }

    void WriteFormText(QXmlStreamWriter& xml, const FormCell& cell, const FormGrid& grid)
    {
        const qreal points = cell.Text.isEmpty() ? cell.Points : FittedPoints(cell, grid);
        Start(xml, "text:p", {{"text:style-name", FormParagraphStyle(points, cell.Alignment)}});
        if (cell.Field == FormField::PageNumber) {
            Start(xml, "text:page-number", {{"text:select-page", QStringLiteral("current")}});
            xml.writeCharacters(cell.Text);
            End(xml);
        } else if (cell.Field == FormField::PageCount) {
            Start(xml, "text:page-count");
            xml.writeCharacters(cell.Text);
            End(xml);
        } else {
            TextWriter writer(xml);
            writer.Write(cell.Text);
            writer.Finish();
        }
        End(xml);
    }

    // A form as a table of fixed rows: the foot of a framed sheet.
    void WriteForm(QXmlStreamWriter& xml, const FormGrid& grid)
    {
        const QSizeF size = FormSizeMm(grid);
        const QString table = QStringLiteral("Form%1").arg(++Forms);
        QXmlStreamWriter& styles = FormStyles.Xml;
        Start(styles, "style:style", {{"style:name", table}, {"style:family", QStringLiteral("table")}});
        // At the frame's right line, on a landscape sheet too.
        Empty(styles, "style:table-properties",
              {{"style:width", Mm(size.width())}, {"table:align", QStringLiteral("right")},
               {"table:border-model", QStringLiteral("collapsing")}, {"fo:margin-top", Mm(0)},
               {"fo:margin-bottom", Mm(0)}});
        End(styles);
        for (std::size_t c = 0; c < grid.ColumnsMm.size(); ++c) {
            Start(styles, "style:style", {{"style:name", QStringLiteral("%1.C%2").arg(table).arg(c + 1)},
                                          {"style:family", QStringLiteral("table-column")}});
            Empty(styles, "style:table-column-properties", {{"style:column-width", Mm(grid.ColumnsMm[c])}});
            End(styles);
        }
        for (std::size_t r = 0; r < grid.RowsMm.size(); ++r) {
            Start(styles, "style:style", {{"style:name", QStringLiteral("%1.R%2").arg(table).arg(r + 1)},
                                          {"style:family", QStringLiteral("table-row")}});
            Empty(styles, "style:table-row-properties",
                  {{"style:row-height", Mm(grid.RowsMm[r])}, {"style:use-optimal-row-height", QStringLiteral("false")}});
            End(styles);
        }

        Start(xml, "table:table", {{"table:name", table}, {"table:style-name", table}});
        for (std::size_t c = 0; c < grid.ColumnsMm.size(); ++c)
            Empty(xml, "table:table-column", {{"table:style-name", QStringLiteral("%1.C%2").arg(table).arg(c + 1)}});
        for (int r = 0; r < int(grid.RowsMm.size()); ++r) {
            Start(xml, "table:table-row", {{"table:style-name", QStringLiteral("%1.R%2").arg(table).arg(r + 1)}});
            for (int c = 0; c < int(grid.ColumnsMm.size()); ++c) {
                const auto at = std::find_if(grid.Cells.begin(), grid.Cells.end(),
                                             [r, c](const FormCell& cell) { return cell.Row == r && cell.Column == c; });
                if (at == grid.Cells.end()) {
                    Empty(xml, "table:covered-table-cell");
                    continue;
                }
                Start(xml, "table:table-cell",
                      {{"table:style-name", at->ThinTop ? QStringLiteral("Form_Thin") : QStringLiteral("Form_Thick")},
                       {"office:value-type", QStringLiteral("string")}});
                if (at->RowSpan > 1)
                    xml.writeAttribute(QStringLiteral("table:number-rows-spanned"), QString::number(at->RowSpan));
                if (at->ColumnSpan > 1)
                    xml.writeAttribute(QStringLiteral("table:number-columns-spanned"), QString::number(at->ColumnSpan));
                WriteFormText(xml, *at, grid);
                End(xml);
            }
            End(xml);
        }
        End(xml);
    }

    // The graphs of the binding margin: boxes turned a quarter counterclockwise, so that their
    // texts run upwards, placed on the page against the frame's left line.
    void WriteMarginGraphs(QXmlStreamWriter& xml, const QString& suffix)
    {
        const FormGrid grid = MarginForm(*Note.TitleBlock);
        const QSizeF size = FormSizeMm(grid);
        const QPointF corner(Frame.left() - size.width(), Frame.bottom() - size.height());
        int number = 0;
        for (const FormCell& cell : grid.Cells) {
            const QRectF rect(corner + QPointF(grid.Width(0, cell.Column), grid.Height(0, cell.Row)),
                              QSizeF(grid.Width(cell.Column, cell.ColumnSpan), grid.Height(cell.Row, cell.RowSpan)));
            // Drawn along x first (as long as the cell is high), then turned about its corner
            // and moved so that it covers the cell.
            Start(xml, "draw:rect", {{"draw:style-name", QStringLiteral("Korvelin_Graph")},
                                     {"draw:name", QStringLiteral("Дополнительная графа %1%2").arg(++number).arg(suffix)},
                                     {"text:anchor-type", QStringLiteral("paragraph")},
                                     {"svg:width", Mm(rect.height())}, {"svg:height", Mm(rect.width())},
                                     {"draw:transform", QStringLiteral("rotate (%1) translate (%2 %3)")
                                                            .arg(std::numbers::pi / 2, 0, 'f', 10)
                                                            .arg(Mm(rect.left()), Mm(rect.bottom()))},
                                     {"draw:z-index", QString::number(++ZIndex)}});
            WriteFormText(xml, cell, grid);
            End(xml);
        }
    }

    QByteArray StylesXml()
    {
        Fragment common;
        CommonStyles(common.Xml);
        Fragment masters;
        QXmlStreamWriter& xml = masters.Xml;
        if (Framed) {
            for (const bool first : {true, false}) {
                const QString suffix = first ? QStringLiteral(" (первый лист)") : QString();
                Start(xml, "style:master-page",
                      {{"style:name", first ? QStringLiteral("Korvelin_First") : QStringLiteral("Standard")},
                       {"style:page-layout-name", first ? QStringLiteral("Korvelin_FirstSheet") : QStringLiteral("Korvelin_NextSheet")}});
                if (first) {
                    xml.writeAttribute(QStringLiteral("style:display-name"), QStringLiteral("Первый лист"));
                    xml.writeAttribute(QStringLiteral("style:next-style-name"), QStringLiteral("Standard"));
                }
                Start(xml, "style:header");
                Start(xml, "text:p", {{"text:style-name", QStringLiteral("Korvelin_Header")}});
                Empty(xml, "draw:rect", {{"draw:style-name", QStringLiteral("Korvelin_Frame")},
                                         {"draw:name", QStringLiteral("Рамка") + suffix},
                                         {"text:anchor-type", QStringLiteral("paragraph")},
                                         {"svg:x", Mm(Frame.left())}, {"svg:y", Mm(Frame.top())},
                                         {"svg:width", Mm(Frame.width())}, {"svg:height", Mm(Frame.height())},
                                         {"draw:z-index", QString::number(++ZIndex)}});
                WriteMarginGraphs(xml, suffix);
                End(xml);
                End(xml);
                Start(xml, "style:footer");
                WriteForm(xml, first ? FirstForm(*Note.TitleBlock) : NextForm(*Note.TitleBlock));
                End(xml);
                End(xml);
            }
        } else {
            Start(xml, "style:master-page", {{"style:name", QStringLiteral("Standard")},
                                             {"style:page-layout-name", QStringLiteral("Korvelin_NextSheet")}});
            Start(xml, "style:footer");
            Start(xml, "text:p", {{"text:style-name", QStringLiteral("Korvelin_Foot")}});
            xml.writeCharacters(QStringLiteral("Лист "));
            Start(xml, "text:page-number", {{"text:select-page", QStringLiteral("current")}});
            xml.writeCharacters(QStringLiteral("1"));
            End(xml);
            End(xml);
            End(xml);
            End(xml);
        }
        Fragment automatic;
        PageLayout(automatic.Xml, QStringLiteral("Korvelin_FirstSheet"), FirstFormHeightMm);
        PageLayout(automatic.Xml, QStringLiteral("Korvelin_NextSheet"), NextFormHeightMm);
        ShapeStyles(automatic.Xml);
        FormCellStyles(automatic.Xml);

        QByteArray styles = PartStart("office:document-styles");
        styles += "<office:font-face-decls>" + FontFaces() + "</office:font-face-decls>";
        styles += "<office:styles>" + common.Done() + "</office:styles>";
        styles += "<office:automatic-styles>" + automatic.Done() + FormStyles.Done() + "</office:automatic-styles>";
        styles += "<office:master-styles>" + masters.Done() + "</office:master-styles>";
        return styles + PartEnd("office:document-styles");
    }

    QByteArray MetaXml() const
    {
        Fragment meta;
        QXmlStreamWriter& xml = meta.Xml;
        Start(xml, "office:meta");
        Start(xml, "meta:generator");
        xml.writeCharacters(QStringLiteral("Korvelin"));
        End(xml);
        Start(xml, "dc:title");
        xml.writeCharacters(Text(Note.Title));
        End(xml);
        Start(xml, "dc:language");
        xml.writeCharacters(QStringLiteral("ru-RU"));
        End(xml);
        End(xml);
        return PartStart("office:document-meta") + meta.Done() + PartEnd("office:document-meta");
    }

    QByteArray ManifestXml() const
    {
        Fragment manifest;
        QXmlStreamWriter& xml = manifest.Xml;
        const auto entry = [&xml](const QString& path, const QString& type) {
            Empty(xml, "manifest:file-entry", {{"manifest:full-path", path}, {"manifest:media-type", type}});
        };
        Empty(xml, "manifest:file-entry",
              {{"manifest:full-path", QStringLiteral("/")}, {"manifest:version", QStringLiteral("1.3")},
               {"manifest:media-type", QStringLiteral("application/vnd.oasis.opendocument.text")}});
        for (const char* part : {"content.xml", "styles.xml", "meta.xml"})
            entry(QLatin1StringView(part), QStringLiteral("text/xml"));
        for (const auto& picture : Pictures)
            entry(picture.first, QStringLiteral("image/png"));
        return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
                                 "manifest:version=\"1.3\">")
               + manifest.Done() + QByteArrayLiteral("</manifest:manifest>\n");
    }

    const korvelin::NoteDocument& Note;
    const bool Framed;
    const QSizeF PaperMm;
    const QRectF Frame;
    qreal TextWidthMm = 0;
    QImage Measure{1, 1, QImage::Format_RGB32};  // 72 dots per inch: its pixels are points
    Fragment Body;
    Fragment ContentStyles;  // the automatic styles of content.xml
    Fragment FormStyles;     // the automatic styles of the forms, in styles.xml
    std::map<QString, QString> ContentStyleNames;
    std::map<QString, QString> FormStyleNames;
    int ZIndex = 0;
    int Forms = 0;
    std::vector<std::pair<QString, QByteArray>> Pictures;
};

} // namespace

QByteArray NoteOdtPackage(const korvelin::NoteDocument& note)
{
    OdtBuilder builder(note);
    return builder.Package();
}
