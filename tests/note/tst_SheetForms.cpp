// The sheet described once: the forms' grids cover their rectangles exactly, the PDF paints each
// caption in the cell the ODT's form table gives it, a table that fits a sheet is kept on one in
// the ODT, and the terms with a slash get their joiners on the sheets only.

#include "NoteLayout.h"
#include "NotePages.h"
#include "NoteRenderer.h"
#include "OdtPackage.h"
#include "SheetForms.h"

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QProcess>
#include <QTextBlock>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <map>

namespace {

QString Run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed", program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

korvelin::NoteTitleBlock Block()
{
    korvelin::NoteTitleBlock block;
    block.Designation = "123-2026-ГСН.РР";
    block.Stage = "Р";
    block.Author = "Иванов";
    block.OriginalInventory = "1234";
    return block;
}

// The ODT part of a note, read back with unzip.
QString OdtPart(const korvelin::NoteDocument& note, const QString& part)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.odt"));
    if (!WriteNoteOdt(note, path).isEmpty())
        qFatal("the ODT was not written");
    return Run(UNZIP, {QStringLiteral("-p"), path, part});
}

// The widths of a table's columns as the ODT's styles give them, in millimetres, in order.
QList<qreal> OdtColumnsMm(const QString& xml, const QString& table)
{
    static const QRegularExpression column(QStringLiteral(
        "style:name=\"([A-Za-z0-9]+)\\.C([0-9]+)\" style:family=\"table-column\">"
        "<style:table-column-properties style:column-width=\"([0-9.]+)mm\""));
    std::map<int, qreal> widths;
    for (const QRegularExpressionMatch& m : column.globalMatch(xml)) {
        if (m.captured(1) == table)
            widths[m.captured(2).toInt()] = m.captured(3).toDouble();
    }
    QList<qreal> list;
    for (const auto& [index, width] : widths)
        list << width;
    return list;
}

korvelin::NoteTable TableOf(int rows, const std::string& text)
{
    korvelin::NoteTable table;
    table.Rows.push_back({{"Величина"}, {"Значение"}});
    for (int row = 0; row < rows; ++row)
        table.Rows.push_back({{text}, {std::to_string(row) + ",000"}});
    return table;
}

} // namespace

class SheetForms : public QObject
{
    Q_OBJECT

private slots:
    void EveryFormCoversItsRectangleOnce_data();
    void EveryFormCoversItsRectangleOnce();
    void ThePdfAndTheOdtPlaceTheFormsCellsAlike();
    void ATableThatFitsASheetIsKeptOnOneInTheOdt_data();
    void ATableThatFitsASheetIsKeptOnOneInTheOdt();
    void TermsWithASlashGetJoinersOnTheSheetsOnly_data();
    void TermsWithASlashGetJoinersOnTheSheetsOnly();
    void WritingAsTheCuttingComesGivesTheSameSheets_data();
    void WritingAsTheCuttingComesGivesTheSameSheets();
};

void SheetForms::EveryFormCoversItsRectangleOnce_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QSizeF>("sizeMm");
    // The sizes the forms have in GOST R 21.101 as the code describes it: 185 × 40 and 185 × 15
    // mm; the binding margin's graphs 5 + 7 mm wide, 25 + 35 + 25 mm high.
    QTest::newRow("first sheet") << 0 << QSizeF(185, 40);
    QTest::newRow("following sheets") << 1 << QSizeF(185, 15);
    QTest::newRow("binding margin") << 2 << QSizeF(12, 85);
}

void SheetForms::EveryFormCoversItsRectangleOnce()
{
    QFETCH(int, form);
    QFETCH(QSizeF, sizeMm);
    const korvelin::NoteTitleBlock block = Block();
    const FormGrid grid = form == 0 ? FirstSheetForm(block) : form == 1 ? NextSheetForm(block) : MarginGraphs(block);
    QCOMPARE(grid.SizeMm(), sizeMm);
    // Every unit of the grid under exactly one cell: no gap, no overlap.
    std::vector<int> covered(grid.RowsMm.size() * grid.ColumnsMm.size(), 0);
    qreal area = 0;
    for (const FormCell& cell : grid.Cells) {
        QVERIFY(cell.Row + cell.RowSpan <= int(grid.RowsMm.size()));
        QVERIFY(cell.Column + cell.ColumnSpan <= int(grid.ColumnsMm.size()));
        for (int r = cell.Row; r < cell.Row + cell.RowSpan; ++r)
            for (int c = cell.Column; c < cell.Column + cell.ColumnSpan; ++c)
                ++covered[std::size_t(r) * grid.ColumnsMm.size() + std::size_t(c)];
        const QRectF rect = grid.CellMm(cell);
        area += rect.width() * rect.height();
    }
    QCOMPARE(std::count(covered.begin(), covered.end(), 1), qsizetype(covered.size()));
    QCOMPARE(area, sizeMm.width() * sizeMm.height());
}

// The captions of the forms where the forms' description puts them, in millimetres on an A4
// sheet whose frame stands 20 mm from the left edge and 5 mm from the others: the first sheet's
// form from (20, 252), the following sheets' from (20, 277). The PDF paints the word inside that
// cell; the ODT's form tables have the columns that make the same cells.
void SheetForms::ThePdfAndTheOdtPlaceTheFormsCellsAlike()
{
    korvelin::NoteDocument note;
    note.Title = "Записка";
    note.TitleBlock = Block();
    for (int i = 0; i < 90; ++i)
        note.AddParagraph("Строка " + std::to_string(i));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("note.pdf"));
    QCOMPARE(WriteNotePdf(note, pdf), QString());
    const struct {
        int Page;
        const char* Word;
        QRectF CellMm;  // on the paper
    } captions[] = {
        {1, "Стадия", QRectF(QPointF(155, 267), QPointF(170, 272))},
        {1, "Листов", QRectF(QPointF(185, 267), QPointF(205, 272))},
        {1, "Разраб.", QRectF(QPointF(20, 267), QPointF(40, 272))},
        {1, "Иванов", QRectF(QPointF(40, 267), QPointF(60, 272))},
        {1, "Изм.", QRectF(QPointF(20, 262), QPointF(30, 267))},
        {1, "Р", QRectF(QPointF(155, 272), QPointF(170, 277))},
        {2, "Дата", QRectF(QPointF(75, 287), QPointF(85, 292))},
        {2, "Лист", QRectF(QPointF(195, 277), QPointF(205, 284))},
        {2, "2", QRectF(QPointF(195, 284), QPointF(205, 292))},
        {2, "1234", QRectF(QPointF(13, 267), QPointF(20, 292))},
    };
    constexpr qreal pointsPerMm = 72 / 25.4;
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    for (const auto& caption : captions) {
        const QString html = Run(PDFTOTEXT, {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(caption.Page),
                                             QStringLiteral("-l"), QString::number(caption.Page), pdf, QStringLiteral("-")});
        const QRectF cell(caption.CellMm.topLeft() * pointsPerMm, caption.CellMm.bottomRight() * pointsPerMm);
        bool found = false;
        for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
            const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
            found = found || (m.captured(5) == QString::fromUtf8(caption.Word) && cell.contains(box));
        }
        QVERIFY2(found, caption.Word);
    }

    // The same cells in the ODT: the forms' columns, left to right.
    const QString styles = OdtPart(note, QStringLiteral("styles.xml"));
    QCOMPARE(OdtColumnsMm(styles, QStringLiteral("Form1")), QList<qreal>({10, 10, 10, 10, 15, 10, 70, 15, 15, 20}));
    QCOMPARE(OdtColumnsMm(styles, QStringLiteral("Form2")), QList<qreal>({10, 10, 10, 10, 15, 10, 110, 10}));
    for (const char* row : {"style:name=\"Form1.R8\" style:family=\"table-row\"><style:table-row-properties style:row-height=\"5.00mm\"",
                            "style:name=\"Form2.R2\" style:family=\"table-row\"><style:table-row-properties style:row-height=\"2.00mm\""})
        QVERIFY2(styles.contains(QString::fromUtf8(row)), row);
    QVERIFY(styles.contains(QStringLiteral("svg:width=\"185.00mm\" svg:height=\"287.00mm\"")));
}

void SheetForms::ATableThatFitsASheetIsKeptOnOneInTheOdt_data()
{
    QTest::addColumn<bool>("framed");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("textLength");
    QTest::addColumn<bool>("keptWhole");
    // A row of one line is about 15.5 pt (a line of 9.5 pt DejaVu Sans, 2 pt of padding above
    // and below, the rule): a framed sheet's text is 262 mm, 743 pt, some 47 rows.
    QTest::newRow("5 rows") << true << 5 << 10 << true;
    QTest::newRow("30 rows") << true << 30 << 10 << true;
    QTest::newRow("30 rows without the frame") << false << 30 << 10 << true;
    QTest::newRow("60 rows") << true << 60 << 10 << false;
    QTest::newRow("200 rows") << false << 200 << 10 << false;
    // One row whose text wraps to more lines than a sheet holds.
    QTest::newRow("one row of 9000 characters") << true << 1 << 9000 << false;
    QTest::newRow("one row of 300 characters") << true << 1 << 300 << true;
}

void SheetForms::ATableThatFitsASheetIsKeptOnOneInTheOdt()
{
    QFETCH(bool, framed);
    QFETCH(int, rows);
    QFETCH(int, textLength);
    QFETCH(bool, keptWhole);
    korvelin::NoteDocument note;
    note.Title = "Записка";
    if (framed)
        note.TitleBlock = Block();
    note.AddHeading("Таблица");
    std::string text;
    while (int(text.size()) < textLength)
        text += "слово ";
    note.AddTable(TableOf(rows, text));
    const QString content = OdtPart(note, QStringLiteral("content.xml"));
    static const QRegularExpression table(QStringLiteral("<style:style style:name=\"Tab1\"[^>]*><style:table-properties [^>]*>"));
    const QString properties = table.match(content).captured(0);
    QVERIFY(!properties.isEmpty());
    QCOMPARE(properties.contains(QStringLiteral("style:may-break-between-rows=\"false\"")), keptWhole);
}

void SheetForms::TermsWithASlashGetJoinersOnTheSheetsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("paragraph");  // as a paragraph, the marks of the indices read
    QTest::addColumn<QString>("cell");       // as a table's cell, where the text stands as it is
    const QString j(QChar(0x2060));
    QTest::newRow("unit") << QStringLiteral("q = 1,5 Н/м") << QStringLiteral("q = 1,5 Н/") + j + QStringLiteral("м")
                          << QStringLiteral("q = 1,5 Н/") + j + QStringLiteral("м");
    QTest::newRow("two terms") << QStringLiteral("L/150 и t/q")
                               << QStringLiteral("L/") + j + QStringLiteral("150 и t/") + j + QStringLiteral("q")
                               << QStringLiteral("L/") + j + QStringLiteral("150 и t/") + j + QStringLiteral("q");
    QTest::newRow("a slash between blanks") << QStringLiteral("a / b") << QStringLiteral("a / b") << QStringLiteral("a / b");
    QTest::newRow("at the ends") << QStringLiteral("/a b/") << QStringLiteral("/a b/") << QStringLiteral("/a b/");
    QTest::newRow("after an index") << QStringLiteral("q_{тр}/q") << QStringLiteral("qтр/") + j + QStringLiteral("q")
                                    << QStringLiteral("q_{тр}/") + j + QStringLiteral("q");
    QTest::newRow("before an index") << QStringLiteral("M/W_{x}") << QStringLiteral("M/") + j + QStringLiteral("Wx")
                                     << QStringLiteral("M/") + j + QStringLiteral("W_{x}");
    // Shown, the index stands after the slash; the mark is no blank either.
    QTest::newRow("an index after the slash") << QStringLiteral("a /_{x}") << QStringLiteral("a /x") << QStringLiteral("a /_{x}");
    QTest::newRow("a slash ending an index") << QStringLiteral("x_{a/}b") << QStringLiteral("xa/") + j + QStringLiteral("b")
                                             << QStringLiteral("x_{a/") + j + QStringLiteral("}b");
}

void SheetForms::TermsWithASlashGetJoinersOnTheSheetsOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, paragraph);
    QFETCH(QString, cell);
    korvelin::NoteDocument note;
    note.Title = "A/B";
    note.Blocks.emplace_back(korvelin::NoteParagraph{text.toStdString(), false, true});
    korvelin::NoteTable table;
    table.Rows.push_back({{text.toStdString()}});
    note.AddTable(table);
    // The title, the paragraph and the table's cell, block by block.
    LayoutTarget sheets;
    sheets.KeepSlashedTermsWhole = true;
    const QStringList blocks = LayOutNote(note, sheets).Document->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(blocks.size() >= 3);
    QCOMPARE(blocks.at(0), QStringLiteral("A/") + QChar(0x2060) + QStringLiteral("B"));
    QCOMPARE(blocks.at(1), paragraph);
    QCOMPARE(blocks.at(2), cell);
    // Elsewhere the text stands as written.
    const QStringList plain = RenderNote(note)->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(plain.at(0), QStringLiteral("A/B"));
    QCOMPARE(plain.at(1), QString(paragraph).remove(QChar(0x2060)));
    QCOMPARE(plain.at(2), text);
}

void SheetForms::WritingAsTheCuttingComesGivesTheSameSheets_data()
{
    QTest::addColumn<int>("filler");
    QTest::addColumn<bool>("framed");
    for (int filler : {0, 7, 23, 41, 58})
        for (bool framed : {true, false})
            QTest::addRow("%d lines, %s", filler, framed ? "framed" : "unframed") << filler << framed;
}

// The note cut into sheets as it is written, a few blocks at a time, against the same note written
// whole and then cut: every block at the same place, as many sheets. The note has what changes
// the places of its neighbours: headings and steps that keep with what follows, tables taller
// than a sheet, an empty paragraph before a table, two tables in a row, drawings with captions.
void SheetForms::WritingAsTheCuttingComesGivesTheSameSheets()
{
    QFETCH(int, filler);
    QFETCH(bool, framed);
    korvelin::NoteDocument note;
    note.Title = "Записка";
    if (framed)
        note.TitleBlock = Block();
    for (int part = 0; part < 4; ++part) {
        for (int i = 0; i < filler; ++i)
            note.AddParagraph("Строка " + std::to_string(i) + " с текстом, который занимает почти всю ширину листа");
        note.AddHeading("Раздел " + std::to_string(part));
        note.AddTable(TableOf(part == 2 ? 80 : 12, "строка"));
        note.AddParagraph("");
        note.AddTable(TableOf(3, "вторая"));
        note.AddTable(TableOf(4, "третья"));
        note.Blocks.emplace_back(korvelin::NoteParagraph{"Шаг", true, false, true});
        for (int line = 0; line < 5; ++line)
            note.Blocks.emplace_back(korvelin::NoteParagraph{"a_{1} = 1 Н/м", false, true, line < 4});
        korvelin::NoteDrawing drawing;
        drawing.WidthMm = 150;
        drawing.HeightMm = 60 + 20 * part;
        drawing.Lines.push_back({{{0, 0}, {150, 60}}, 0.5});
        drawing.Caption = "Рис. " + std::to_string(part);
        note.Blocks.emplace_back(drawing);
    }

    QPdfWriter device(QStringLiteral("/dev/null"));
    device.setResolution(600);
    const SheetGeometry geometry = GeometryOf(note, 600 / 25.4);
    const LayoutTarget target{&device, geometry.NextBody.size(), true};
    LaidOutNote whole = LayOutNote(note, target);
    const int wholeSheets = CutIntoSheets(whole, geometry);
    for (const std::size_t step : {std::size_t(1), std::size_t(3), std::size_t(8)}) {
        NoteLayoutBuilder builder(note, target);
        const int sheets = CutIntoSheets(builder.Note(), geometry, [&builder, step] { return builder.Append(step); });
        QCOMPARE(sheets, wholeSheets);
        const QTextDocument& a = *whole.Document;
        const QTextDocument& b = *builder.Note().Document;
        QCOMPARE(b.blockCount(), a.blockCount());
        QCOMPARE(b.toPlainText(), a.toPlainText());
        for (QTextBlock x = a.begin(), y = b.begin(); x.isValid(); x = x.next(), y = y.next()) {
            const QRectF at = a.documentLayout()->blockBoundingRect(x);
            QVERIFY2(at == b.documentLayout()->blockBoundingRect(y),
                     qPrintable(QStringLiteral("block %1 at %2, step %3").arg(x.blockNumber()).arg(at.top()).arg(step)));
        }
    }
    QVERIFY(wholeSheets >= 4);
}

QTEST_MAIN(SheetForms)
#include "tst_SheetForms.moc"
