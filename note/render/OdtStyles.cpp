#include "OdtStyles.h"

#include "TitleBlock.h"

#include <algorithm>
#include <numbers>
#include <optional>
#include <utility>

namespace odt {

namespace {

// The header that holds the frame and the margin's graphs: between the frame's top line and the
// text.
constexpr qreal HeaderMm = FramePaddingMm;
// Without a frame: "Лист N" under the text, as on the PDF's sheets.
constexpr qreal FootGapMm = 3;
constexpr qreal FootMm = 5;

} // namespace

Styles::Styles(const odt::Sheet& sheet) : Page(sheet)
{
    // The fonts of the forms are measured in points.
    Measure.setDotsPerMeterX(qRound(72 / 0.0254));
    Measure.setDotsPerMeterY(qRound(72 / 0.0254));
}

void Styles::ParagraphStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName,
                             Attributes paragraph, Attributes text, const char* parent)
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

void Styles::TextStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName, Attributes text)
{
    Start(xml, "style:style", {{"style:name", QLatin1StringView(name)},
                               {"style:display-name", QString::fromUtf8(displayName)},
                               {"style:family", QStringLiteral("text")}});
    Empty(xml, "style:text-properties", text);
    End(xml);
}

// The styles of the text. Inside the frame the page's margins are the frame's lines, so that
// the forms in the foot span it whole: the text keeps its distance from them by its indents.
void Styles::CommonStyles(QXmlStreamWriter& xml) const
{
    const qreal inset = Page.Framed ? FramePaddingMm : 0;
    Start(xml, "style:default-style", {{"style:family", QStringLiteral("paragraph")}});
    Empty(xml, "style:paragraph-properties", {{"style:writing-mode", QStringLiteral("lr-tb")}});
    Empty(xml, "style:text-properties",
          {{"style:font-name", NoteFontFamilyName()}, {"fo:font-size", Pt(BodyPoints)},
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
void Styles::PageLayout(QXmlStreamWriter& xml, const QString& name, qreal formHeightMm) const
{
    const bool landscape = Page.Note.Orientation == korvelin::PageOrientation::Landscape;
    Start(xml, "style:page-layout", {{"style:name", name}});
    Empty(xml, "style:page-layout-properties",
          {{"fo:page-width", Mm(Page.PaperMm.width())}, {"fo:page-height", Mm(Page.PaperMm.height())},
           {"style:print-orientation", landscape ? QStringLiteral("landscape") : QStringLiteral("portrait")},
           {"style:writing-mode", QStringLiteral("lr-tb")},
           {"fo:margin-left", Mm(Page.Framed ? Page.Frame.left() : UnframedMarginMm)},
           {"fo:margin-right", Mm(Page.Framed ? Page.PaperMm.width() - Page.Frame.right() : UnframedMarginMm)},
           {"fo:margin-top", Mm(Page.Framed ? Page.Frame.top() : UnframedMarginMm)},
           {"fo:margin-bottom", Mm(Page.Framed ? Page.PaperMm.height() - Page.Frame.bottom() : UnframedMarginMm - FootGapMm - FootMm)}});
    if (Page.Framed) {
        Start(xml, "style:header-style");
        Empty(xml, "style:header-footer-properties",
              {{"svg:height", Mm(HeaderMm)}, {"fo:margin-bottom", Mm(0)}, {"fo:margin-left", Mm(0)},
               {"fo:margin-right", Mm(0)}, {"style:dynamic-spacing", QStringLiteral("false")}});
        End(xml);
    }
    Start(xml, "style:footer-style");
    Empty(xml, "style:header-footer-properties",
          {{"svg:height", Mm(Page.Framed ? formHeightMm + FramePaddingMm : FootMm + FootGapMm)},
           {"fo:margin-top", Mm(Page.Framed ? FramePaddingMm : FootGapMm)}, {"fo:margin-left", Mm(0)},
           {"fo:margin-right", Mm(0)}, {"style:dynamic-spacing", QStringLiteral("false")}});
    End(xml);
    End(xml);
}

// The frame's line, and the cells of the margin's graphs: shapes placed on the page.
void Styles::ShapeStyles(QXmlStreamWriter& xml)
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
            xml.writeAttribute(QStringLiteral("fo:padding"), Mm(FormTextInsetYMm));
        }
        End(xml);
        End(xml);
    }
}

// The cells of the forms: a thick line on the left, a thick or thin one over them; the
// frame's lines close the form on the right and below.
void Styles::FormCellStyles(QXmlStreamWriter& xml)
{
    const QString thick = QStringLiteral("0.5mm solid #000000");
    const QString thin = QStringLiteral("0.25mm solid #000000");
    for (const bool thinTop : {false, true}) {
        Start(xml, "style:style", {{"style:name", thinTop ? QStringLiteral("Form_Thin") : QStringLiteral("Form_Thick")},
                                   {"style:family", QStringLiteral("table-cell")}});
        Empty(xml, "style:table-cell-properties",
              {{"fo:border-left", thick}, {"fo:border-top", thinTop ? thin : thick},
               {"fo:border-right", QStringLiteral("none")}, {"fo:border-bottom", QStringLiteral("none")},
               {"fo:padding-left", Mm(FormTextInsetXMm)}, {"fo:padding-right", Mm(FormTextInsetXMm)}, {"fo:padding-top", Mm(0)},
               {"fo:padding-bottom", Mm(0)}, {"style:vertical-align", QStringLiteral("middle")}});
        End(xml);
    }
}

// The paragraph style of a form's text of that size and alignment, among styles.xml's
// automatic styles.
QString Styles::FormParagraphStyle(qreal points, Qt::Alignment alignment)
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
qreal Styles::FittedPoints(const FormCell& cell, const FormGrid& grid) const
{
    qreal width = grid.Width(cell.Column, cell.ColumnSpan) - 2 * FormTextInsetXMm;
    qreal height = grid.Height(cell.Row, cell.RowSpan) - 2 * FormTextInsetYMm;
    if (cell.Upward)
        std::swap(width, height);
    const qreal pointsPerMm = 72 / 25.4;
    const QRectF room(0, 0, width * pointsPerMm, height * pointsPerMm);
    const std::optional<FittedText> fitted = FitText(Measure, room, cell.Text, cell.Points, cell.Alignment);
    // A little under the size measured: the word processor's fonts run a little wider.
    return fitted ? std::max(SmallestPoints, fitted->PointSize - 0.25) : SmallestPoints;
}

void Styles::WriteFormText(QXmlStreamWriter& xml, const FormCell& cell, const FormGrid& grid)
{
    const qreal points = cell.Text.isEmpty() ? cell.Points : FittedPoints(cell, grid);
    Start(xml, "text:p", {{"text:style-name", FormParagraphStyle(points, cell.Alignment)}});
    if (cell.Field == FormField::SheetNumber) {
        Start(xml, "text:page-number", {{"text:select-page", QStringLiteral("current")}});
        xml.writeCharacters(cell.Text);
        End(xml);
    } else if (cell.Field == FormField::SheetCount) {
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
void Styles::WriteForm(QXmlStreamWriter& xml, const FormGrid& grid)
{
    const QSizeF size = grid.SizeMm();
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
            const FormCell* at = grid.CellAt(r, c);
            if (at == nullptr) {
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
void Styles::WriteMarginGraphs(QXmlStreamWriter& xml, const QString& suffix)
{
    const FormGrid grid = MarginGraphs(*Page.Note.TitleBlock);
    const QSizeF size = grid.SizeMm();
    const QPointF corner(Page.Frame.left() - size.width(), Page.Frame.bottom() - size.height());
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

QByteArray Styles::Xml()
{
    Fragment common;
    CommonStyles(common.Xml);
    Fragment masters;
    QXmlStreamWriter& xml = masters.Xml;
    if (Page.Framed) {
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
                                     {"svg:x", Mm(Page.Frame.left())}, {"svg:y", Mm(Page.Frame.top())},
                                     {"svg:width", Mm(Page.Frame.width())}, {"svg:height", Mm(Page.Frame.height())},
                                     {"draw:z-index", QString::number(++ZIndex)}});
            WriteMarginGraphs(xml, suffix);
            End(xml);
            End(xml);
            Start(xml, "style:footer");
            WriteForm(xml, first ? FirstSheetForm(*Page.Note.TitleBlock) : NextSheetForm(*Page.Note.TitleBlock));
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
    styles += "<office:font-face-decls>" + FontFaceDeclarations() + "</office:font-face-decls>";
    styles += "<office:styles>" + common.Done() + "</office:styles>";
    styles += "<office:automatic-styles>" + automatic.Done() + FormStyles.Done() + "</office:automatic-styles>";
    styles += "<office:master-styles>" + masters.Done() + "</office:master-styles>";
    return styles + PartEnd("office:document-styles");
}

} // namespace odt
