// The calculation note as a PDF: written atomically, read back with pdftotext, fonts embedded.

#include "NotePages.h"
#include "NoteRenderer.h"

#include <korvelin/CalculationNote.h>
#include <korvelin/NumberFormat.h>
#include <korvelin/PipesNote.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QDir>
#include <QPdfWriter>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

korvelin::NoteDocument StartUpNote(const std::string& separator,
                                   const korvelin::DocumentFields& fields = {}, bool framed = false)
{
    korvelin::NoteInputs inputs;
    inputs.Document = fields;
    inputs.Framed = framed;
    inputs.Texts = {"89", "3,2", "333", "206", "0,6"};
    inputs.SteelGrade = 0;
    inputs.DecimalSeparator = separator;
    inputs.DateTime = "08.12.2026 14:05";
    inputs.Program = "Korvelin 1.0";
    const korvelin::CalculationOutcome outcome = korvelin::RunCalculation(inputs.Texts, {}, separator);
    const auto summary = korvelin::SummarizeDesign(outcome, {.ChosenSpan = 3.0, .RouteLength = 100.0});
    return korvelin::BuildCalculationNote(inputs, outcome, *summary);
}

QString Run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed", program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF, or of a tool's report on it, with every run of blanks and line ends made
// one blank: words that a table cell wraps read as one phrase.
QString Flat(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}
QString PdfText(const QString& path) { return Flat(Run(PDFTOTEXT, {path, QStringLiteral("-")})); }

// A word of a PDF page with its box, in points from the top left corner.
struct Word {
    QString Text;
    QRectF Box;
};

std::vector<Word> Words(const QString& path, int page)
{
    const QString html = Run(PDFTOTEXT, {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                         QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<Word> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
        words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// The word in a caption's cell of the title block under the caption (the rightmost of them, not
// the column of the changes): the sheet numbers.
QString WordUnder(const std::vector<Word>& words, const QString& caption)
{
    auto found = words.end();
    for (auto w = words.begin(); w != words.end(); ++w)
        if (w->Text == caption && (found == words.end() || w->Box.left() > found->Box.left()))
            found = w;
    if (found == words.end())
        return {};
    const QRectF column = found->Box;
    QString below;
    qreal nearest = 1e9;
    for (const Word& w : words) {
        const qreal gap = w.Box.top() - column.bottom();
        if (gap > 0 && gap < nearest && w.Box.center().x() > column.left() - 15
            && w.Box.center().x() < column.right() + 15) {
            nearest = gap;
            below = w.Text;
        }
    }
    return below;
}

int Pages(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("Pages: ([0-9]+)"));
    return pages.match(Flat(Run("pdfinfo", {path}))).captured(1).toInt();
}

// Without blanks, no-break spaces too (the PDF's text has them as ordinary ones).
QString WithoutBlanks(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("[\\s\\x{00A0}]+")));
}

const korvelin::DocumentFields Fields = {.Object = "Газопровод", .Designation = "123-2026-ГСН.РР",
                                         .Organization = "ООО «Газпроект»", .Stage = "Р",
                                         .Author = "Иванов", .Checker = "Петров"};

constexpr qreal PointsPerMm = 72 / 25.4;

korvelin::DocumentFields MarginFields()
{
    korvelin::DocumentFields fields = Fields;
    fields.OriginalInventory = "1234";
    fields.OriginalSigned = "Иванов 08.12.26";
    fields.ReplacedInventory = "987-00";
    return fields;
}

} // namespace

class PdfNote : public QObject
{
    Q_OBJECT

private slots:
    void EveryNumberOfTheNoteIsTextInThePdf_data();
    void EveryNumberOfTheNoteIsTextInThePdf();
    void FontsAreEmbeddedAndThePageIsA4();
    void AFileThatCannotBeWrittenIsNamedAndLeavesNothing();
    void ALandscapeDocumentIsPrintedAcross();
    void TheFramedNoteReadsBackSheetBySheet();
    void ALongNameStaysInsideItsCell();
    void HeadingsStepsAndTablesStayOnOneSheet();
    void TheMarginGraphsStandOnEverySheet();
    void TheOdtWithoutTheFrameHasMarginsAndNumbers();
    void TheOdtIsAFramedPage();
    void ThreePipesMakeOneFramedDocument();
};

void PdfNote::EveryNumberOfTheNoteIsTextInThePdf_data()
{
    QTest::addColumn<QString>("separator");
    QTest::newRow("comma") << QStringLiteral(",");
    QTest::newRow("full stop") << QStringLiteral(".");
}

void PdfNote::EveryNumberOfTheNoteIsTextInThePdf()
{
    QFETCH(QString, separator);
    const korvelin::NoteDocument note = StartUpNote(separator.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Пролет 89x3,2.pdf"));
    QCOMPARE(WriteNotePdf(note, path), QString());
    const QString text = PdfText(path);

    for (const char* words : {"Расчет допустимого пролета надземного газопровода",
                              "08.12.2026 14:05", "Korvelin 1.0", "Исходные данные",
                              "Нормативные значения", "Нагрузки и допускаемые напряжения",
                              "Результаты", "1/150", "ст2сп/ГОСТ 10705-80",
                              "динамический расчет на прочность"})
        QVERIFY2(text.contains(QString::fromUtf8(words)), words);

    // Every number of every table, as the model holds it: the inputs, the normative values, the
    // loads, the six spans, the check and the supports.
    const QRegularExpression number(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    int numbers = 0;
    for (const korvelin::NoteBlock& block : note.Blocks) {
        const auto* table = std::get_if<korvelin::NoteTable>(&block);
        if (table == nullptr)
            continue;
        for (const auto& row : table->Rows)
            for (const korvelin::NoteCell& cell : row) {
                const QString value = QString::fromStdString(cell.Text);
                if (!number.match(value).hasMatch())
                    continue;
                ++numbers;
                QVERIFY2(text.contains(value), qPrintable(value));
            }
    }
    QVERIFY2(numbers >= 60, qPrintable(QString::number(numbers)));
    const QString expected[] = {QStringLiteral("3,122"), QStringLiteral("9,189"),
                                // 2,041: the route of 100 m in 49 spans of the beam of many.
                                QStringLiteral("96,1"),  QStringLiteral("2,041"),
                                QStringLiteral("66,813"), QStringLiteral("179,130")};
    for (QString value : expected) {
        value.replace(QLatin1Char(','), separator);
        QVERIFY2(text.contains(value), qPrintable(value));
    }
    QVERIFY(text.contains(QStringLiteral("Определяющий пролет по СП 42-102-2004: 3") + separator +
                          QStringLiteral("122 м — динамический расчет на прочность")));
}

void PdfNote::FontsAreEmbeddedAndThePageIsA4()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    QCOMPARE(WriteNotePdf(StartUpNote(","), path), QString());
    const QStringList fonts =
        Run(PDFFONTS, {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString& line : fonts) {
        // name type encoding emb sub uni object ID
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 7 && columns.at(columns.size() - 5) == QLatin1String("yes"),
                 qPrintable(line));
    }
    const QString info = Flat(Run("pdfinfo", {path}));
    QVERIFY2(info.contains(QStringLiteral("Page size: 595 x 842 pts (A4)")),
             qPrintable(info));
    QVERIFY(info.contains(QStringLiteral("Title: Расчет допустимого пролета")));
}

void PdfNote::AFileThatCannotBeWrittenIsNamedAndLeavesNothing()
{
    QTemporaryDir dir;
    const korvelin::NoteDocument note = StartUpNote(",");

    const QString missing = dir.filePath(QStringLiteral("нет такой папки/note.pdf"));
    const QString message = WriteNotePdf(note, missing);
    QVERIFY2(message.startsWith(QStringLiteral("Не удалось сохранить файл «") + missing + QStringLiteral("»: ")),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("не существует")), qPrintable(message));
    QVERIFY(!QFile::exists(missing));

    // A name taken by a folder: the folder stays as it was, and nothing else is left behind.
    const QString folder = dir.filePath(QStringLiteral("taken.pdf"));
    QVERIFY(QDir().mkdir(folder));
    const QString taken = WriteNotePdf(note, folder);
    QVERIFY2(taken.contains(folder) && taken.contains(QStringLiteral("папкой")), qPrintable(taken));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("taken.pdf")});
}

void PdfNote::ALandscapeDocumentIsPrintedAcross()
{
    korvelin::NoteDocument table;
    table.Title = "Таблица";
    table.Orientation = korvelin::PageOrientation::Landscape;
    korvelin::NoteTable cells;
    cells.Rows = {{{"a", true}, {"b", true}}, {{"1,000"}, {"2,000"}}};
    table.AddTable(cells);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.pdf"));
    QCOMPARE(WriteNotePdf(table, path), QString());
    const QString info = Flat(Run("pdfinfo", {path}));
    QVERIFY2(info.contains(QStringLiteral("Page size: 842 x 595 pts (A4)")), qPrintable(info));
    QVERIFY(PdfText(path).contains(QStringLiteral("1,000 2,000")));
    QCOMPARE(RenderNote(table)->toPlainText().count(QStringLiteral("2,000")), 1);
}

// The start-up note in its frame: every formula of the static span by SP as the model holds it,
// the title block's fields, "Лист" and "Листов" on the first sheet and "Лист" on every other one.
void PdfNote::TheFramedNoteReadsBackSheetBySheet()
{
    const korvelin::NoteDocument note = StartUpNote(",", Fields, true);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    QCOMPARE(WriteNotePdf(note, path), QString());
    const int pages = Pages(path);
    QVERIFY(pages >= 3);

    const QString all = WithoutBlanks(Run(PDFTOTEXT, {QStringLiteral("-layout"), path, QStringLiteral("-")}));
    bool inStep = false;
    int lines = 0;
    for (const korvelin::NoteBlock& block : note.Blocks) {
        const auto* paragraph = std::get_if<korvelin::NoteParagraph>(&block);
        if (paragraph == nullptr)
            continue;
        if (paragraph->Bold)
            inStep = paragraph->Text.starts_with("10. Длина пролета исходя из статического расчета");
        else if (inStep && paragraph->Formula) {
            const QString line = QString::fromStdString(korvelin::FormulaPlainText(paragraph->Text));
            QVERIFY2(all.contains(WithoutBlanks(line)), qPrintable(line));
            ++lines;
        }
    }
    QCOMPARE(lines, 5);  // A, s, B, the span, the symbols
    QVERIFY(all.contains(QStringLiteral("Lст=B·A·(D−t)·1000=0,9992706·0,2150924·(0,089−0,0032)·1000=18,441м")));

    for (int page = 1; page <= pages; ++page) {
        const std::vector<Word> words = Words(path, page);
        const auto has = [&words](const QString& text) {
            return std::any_of(words.begin(), words.end(), [&](const Word& w) { return w.Text == text; });
        };
        QVERIFY2(has(QStringLiteral("123-2026-ГСН.РР")), qPrintable(QString::number(page)));
        if (page == 1) {
            QCOMPARE(WordUnder(words, QStringLiteral("Листов")), QString::number(pages));
            QCOMPARE(WordUnder(words, QStringLiteral("Стадия")), QStringLiteral("Р"));
            for (const char* text : {"Разраб.", "Иванов", "Пров.", "Петров", "Н.", "ГИП", "08.12.26", "«Газпроект»"})
                QVERIFY2(has(QString::fromUtf8(text)), text);
        }
        QCOMPARE(WordUnder(words, QStringLiteral("Лист")), QString::number(page));
    }
    // Without the frame the sheets are numbered at the foot.
    QCOMPARE(WriteNotePdf(StartUpNote(",", Fields, false), path), QString());
    const int unframed = Pages(path);
    const QString last = Flat(Run(PDFTOTEXT, {QStringLiteral("-f"), QString::number(unframed), path, QStringLiteral("-")}));
    QVERIFY2(last.contains(QStringLiteral("Лист %1").arg(unframed)), qPrintable(last));
    QVERIFY(last.contains(QStringLiteral("Разработал: Иванов")));
}

// The longest object name and designation a user may type stay in their cells.
void PdfNote::ALongNameStaysInsideItsCell()
{
    korvelin::DocumentFields fields = Fields;
    fields.Object.clear();
    for (int i = 1; fields.Object.size() < 190; ++i)
        fields.Object += "Объект" + std::to_string(i) + " ";
    fields.Designation = std::string(200, 'W');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    QCOMPARE(WriteNotePdf(StartUpNote(",", fields, true), path), QString());
    // The cells of form 5 at the bottom right inside the frame of 185 mm, the form 40 mm high.
    const QRectF object(QPointF(85, 267) * PointsPerMm, QPointF(155, 292) * PointsPerMm);
    const QRectF designation(QPointF(85, 252) * PointsPerMm, QPointF(205, 267) * PointsPerMm);
    int parts = 0;
    QString designationText;
    for (const Word& w : Words(path, 1)) {
        if (w.Text.startsWith(QStringLiteral("Объект"))) {
            ++parts;
            QVERIFY2(object.contains(w.Box), qPrintable(w.Text));
        } else if (w.Text.startsWith(QLatin1Char('W'))) {
            designationText += w.Text;
            QVERIFY2(designation.contains(w.Box), qPrintable(w.Text));
        }
    }
    QCOMPARE(parts, QString::fromStdString(fields.Object).count(QStringLiteral("Объект")));
    QCOMPARE(designationText, QString::fromStdString(fields.Designation));
}

// Whatever stands before them, a heading keeps with its table, a table and the lines of a step
// stay on one sheet, and nothing runs past the first sheet's body into its title block.
void PdfNote::HeadingsStepsAndTablesStayOnOneSheet()
{
    QPdfWriter device(QStringLiteral("/dev/null"));
    device.setResolution(600);
    for (int filler = 0; filler < 70; filler += 3) {
        korvelin::NoteDocument note;
        note.Title = "Записка";
        note.TitleBlock = korvelin::NoteTitleBlock{};
        for (int i = 0; i < filler; ++i)
            note.AddParagraph("Строка " + std::to_string(i));
        note.AddHeading("Таблица");
        korvelin::NoteTable table;
        for (int row = 0; row < 12; ++row)
            table.Rows.push_back({{"Строка таблицы " + std::to_string(row)}, {"1,000"}});
        note.AddTable(table);
        note.Blocks.emplace_back(korvelin::NoteParagraph{"Шаг", true, false, true});
        for (int line = 0; line < 4; ++line)
            note.Blocks.emplace_back(korvelin::NoteParagraph{"a_{1} = 1", false, true, line < 3});

        LaidOutNote laidOut = LayOutNote(note);
        laidOut.Document->documentLayout()->setPaintDevice(&device);
        const SheetGeometry geometry = GeometryOf(note, 600 / 25.4);
        CutIntoSheets(laidOut, geometry);
        QAbstractTextDocumentLayout* layout = laidOut.Document->documentLayout();
        const qreal height = geometry.NextBody.height();
        const auto sheet = [height](qreal y) { return int(y / height); };
        const auto blockRect = [&](const LaidOutBlock& block) {
            return block.Table ? layout->frameBoundingRect(block.Table)
                               : layout->blockBoundingRect(laidOut.Document->findBlock(block.Position));
        };
        const std::size_t heading = laidOut.Blocks.size() - 7;
        const QRectF headingRect = blockRect(laidOut.Blocks[heading]);
        const QRectF tableRect = blockRect(laidOut.Blocks[heading + 1]);
        const QRectF stepTop = blockRect(laidOut.Blocks[heading + 2]);
        const QRectF stepBottom = blockRect(laidOut.Blocks.back());
        const QString at = QString::number(filler);
        QVERIFY2(sheet(headingRect.top()) == sheet(tableRect.bottom() - 1), qPrintable(at));
        QVERIFY2(sheet(stepTop.top()) == sheet(stepBottom.bottom() - 1), qPrintable(at));
        for (const LaidOutBlock& block : laidOut.Blocks) {
            const QRectF rect = blockRect(block);
            if (sheet(rect.top()) == 0)
                QVERIFY2(rect.bottom() <= geometry.FirstBody.height() + 1, qPrintable(at));
        }
    }
}

// The graphs of the binding margin on every framed sheet: each value in its own graph, against
// the frame's left line, written upwards; the captions in the outer column.
void PdfNote::TheMarginGraphsStandOnEverySheet()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    QCOMPARE(WriteNotePdf(StartUpNote(",", MarginFields(), true), path), QString());
    const int pages = Pages(path);
    QVERIFY(pages >= 3);
    // The graphs from the bottom of the frame (292 mm) up: 25, 35 and 25 mm; the value column
    // 13 to 20 mm from the paper's left edge, the captions' 8 to 13 mm.
    const struct {
        const char* Value;
        const char* CaptionWord;
        qreal Bottom;
        qreal Top;
    } graphs[] = {{"1234", "подл.", 292, 267}, {"08.12.26", "дата", 267, 232}, {"987-00", "Взам.", 232, 207}};
    for (int page = 1; page <= pages; ++page) {
        const std::vector<Word> words = Words(path, page);
        for (const auto& graph : graphs) {
            const QRectF values(QPointF(13, graph.Top) * PointsPerMm, QPointF(20, graph.Bottom) * PointsPerMm);
            const QRectF captions(QPointF(8, graph.Top) * PointsPerMm, QPointF(13, graph.Bottom) * PointsPerMm);
            const auto at = [&words](const QString& text, const QRectF& column) {
                return std::any_of(words.begin(), words.end(), [&](const Word& w) {
                    return w.Text == text && column.contains(w.Box) && w.Box.height() > w.Box.width();
                });
            };
            const QString where = QStringLiteral("%1 on sheet %2").arg(QString::fromUtf8(graph.Value)).arg(page);
            QVERIFY2(at(QString::fromUtf8(graph.Value), values), qPrintable(where));
            QVERIFY2(at(QString::fromUtf8(graph.CaptionWord), captions), qPrintable(where));
        }
    }
}

// Without the frame: A4 with 2 cm margins, "Лист N" in the foot, the fields in the text.
void PdfNote::TheOdtWithoutTheFrameHasMarginsAndNumbers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Пролет 89x3,2.odt"));
    QCOMPARE(WriteNoteOdt(StartUpNote(",", Fields, false), path), QString());
    const QString content = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
    const QString styles = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("styles.xml")});
    for (const char* text : {"Объект: Газопровод", "Обозначение документа: 123-2026-ГСН.РР",
                             "Нормативные значения и коэффициенты", "Исходные величины в единицах формул",
                             "= 18,441\u00A0м", "Разработал: Иванов", "text:style-name=\"Korvelin_Sub\"",
                             "style:width=\"170.00mm\""})
        QVERIFY2(content.contains(QString::fromUtf8(text)), text);
    for (const char* text : {"fo:page-width=\"210.00mm\" fo:page-height=\"297.00mm\"",
                             "fo:margin-left=\"20.00mm\" fo:margin-right=\"20.00mm\" fo:margin-top=\"20.00mm\"",
                             "Лист <text:page-number", "style:text-position=\"sub 58%\"",
                             "style:font-name=\"DejaVu Sans\""})
        QVERIFY2(styles.contains(QString::fromUtf8(text)), text);
    QVERIFY(!styles.contains(QStringLiteral("Листов")));
    // Nothing invisible in the text: the terms with a slash keep whole on the sheets only.
    QVERIFY(!content.contains(QChar(0x2060)));
    QVERIFY(content.contains(QStringLiteral("Н/м")));
    const QString message = WriteNoteOdt(StartUpNote(","), dir.filePath(QStringLiteral("нет/note.odt")));
    QVERIFY2(message.contains(QStringLiteral("не существует")), qPrintable(message));
}

// The framed ODT is a page as the PDF's: A4 with the frame's lines for margins and the text as
// far from them as in the PDF, the first sheet's form and the following sheets' form in the page
// styles with the sheet number and count as fields, the margin's graphs filled, headings kept
// with what follows, every table's header rows repeated, the drawing a picture of the package,
// nothing invisible in the text; the mimetype first and stored, as a reader looks for it.
void PdfNote::TheOdtIsAFramedPage()
{
    korvelin::NoteDocument note = StartUpNote(",", MarginFields(), true);
    // A joiner and a soft hyphen given in a text show nothing: they stay out of the file.
    note.Blocks.emplace_back(korvelin::NoteParagraph{"q_{тр}/\u2060q = 1 Н/\u2060м, пере\u00ADнос", false, true});
    korvelin::NoteDrawing drawing{.WidthMm = 100, .HeightMm = 30};
    drawing.Lines.push_back({.Points = {{5, 15}, {95, 15}}, .WidthMm = 0.5});
    drawing.Texts.push_back({.At = {50, 10}, .Text = "q_{тр}"});
    drawing.Caption = "Рис. 1. Расчетная схема";
    note.AddDrawing(drawing);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.odt"));
    QCOMPARE(WriteNoteOdt(note, path), QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(30 + 8 + 39);
    QVERIFY(head.startsWith("PK\x03\x04"));
    QCOMPARE(head.at(8), '\0');  // stored, not compressed
    QCOMPARE(head.at(9), '\0');
    QCOMPARE(head.mid(30), QByteArray("mimetypeapplication/vnd.oasis.opendocument.text"));

    const QString content = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
    const QString styles = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("styles.xml")});
    const QString manifest = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("META-INF/manifest.xml")});
    // The text 5 mm inside the frame's lines (20 and 5 mm from the edges), over the form of 40 mm
    // on the first sheet and 15 mm on the others: the PDF's bodies.
    for (const char* text : {"fo:page-width=\"210.00mm\" fo:page-height=\"297.00mm\"",
                             "fo:margin-left=\"20.00mm\" fo:margin-right=\"5.00mm\" fo:margin-top=\"5.00mm\" "
                             "fo:margin-bottom=\"5.00mm\"",
                             "<style:header-footer-properties svg:height=\"5.00mm\"",
                             "<style:header-footer-properties svg:height=\"45.00mm\" fo:margin-top=\"5.00mm\"",
                             "<style:header-footer-properties svg:height=\"20.00mm\" fo:margin-top=\"5.00mm\"",
                             "fo:margin-left=\"5.00mm\" fo:margin-right=\"5.00mm\"",
                             "style:name=\"Korvelin_First\" style:page-layout-name=\"Korvelin_FirstSheet\" "
                             "style:display-name=\"Первый лист\" style:next-style-name=\"Standard\"",
                             "svg:x=\"20.00mm\" svg:y=\"5.00mm\" svg:width=\"185.00mm\" svg:height=\"287.00mm\""})
        QVERIFY2(styles.contains(QString::fromUtf8(text)), text);
    QVERIFY(content.contains(QStringLiteral("style:master-page-name=\"Korvelin_First\"")));
    QCOMPARE(styles.count(QStringLiteral("<text:page-number text:select-page=\"current\">")), 2);
    QCOMPARE(styles.count(QStringLiteral("<text:page-count>")), 1);
    for (const char* text : {"123-2026-ГСН.РР", "Листов", "Стадия", "Иванов", "ООО «Газпроект»"})
        QVERIFY2(styles.contains(QString::fromUtf8(text)), text);
    // The margin's graphs on both page styles, each turned a quarter.
    for (const char* text : {"Инв. № подл.", "1234", "Подп. и дата", "Иванов 08.12.26", "Взам. инв. №", "987-00"})
        QVERIFY2(styles.count(QString::fromUtf8(text)) == 2, text);
    QCOMPARE(styles.count(QStringLiteral("draw:transform=\"rotate (1.5707963268)")), 12);

    static const QRegularExpression heading(QStringLiteral(
        "style:name=\"Korvelin_Heading\"[^>]*><style:paragraph-properties[^>]*fo:keep-with-next=\"always\""));
    QVERIFY(styles.contains(heading));
    QVERIFY(content.contains(QStringLiteral("<text:h text:style-name=\"Korvelin_Heading\" text:outline-level=\"1\">Расчет</text:h>")));
    // The lines of a step keep with the next one as in the PDF.
    int tables = 0;
    for (const korvelin::NoteBlock& block : note.Blocks)
        if (const auto* table = std::get_if<korvelin::NoteTable>(&block); table && table->HeaderRows > 0)
            ++tables;
    QVERIFY(tables >= 4);
    QCOMPARE(content.count(QStringLiteral("<table:table-header-rows>")), tables);
    QVERIFY(content.contains(QStringLiteral("<text:span text:style-name=\"Korvelin_Sub\">тр</text:span>/q = 1 Н/м, перенос")));
    for (const QString& part : {content, styles}) {
        QVERIFY(!part.contains(QChar(0x2060)));
        QVERIFY(!part.contains(QChar(0x00AD)));
    }
    QVERIFY(content.contains(QStringLiteral("xlink:href=\"Pictures/drawing1.png\"")));
    QVERIFY(content.contains(QStringLiteral("svg:width=\"100.00mm\" svg:height=\"30.00mm\"")));
    QVERIFY(manifest.contains(QStringLiteral("manifest:full-path=\"Pictures/drawing1.png\" manifest:media-type=\"image/png\"")));
    const QString png = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("Pictures/drawing1.png")});
    QVERIFY(png.startsWith(QStringLiteral("\uFFFDPNG")));

    // A landscape document is a landscape page.
    korvelin::NoteDocument across;
    across.Title = "Таблица";
    across.Orientation = korvelin::PageOrientation::Landscape;
    across.TitleBlock = korvelin::NoteTitleBlock{};
    QCOMPARE(WriteNoteOdt(across, path), QString());
    const QString acrossStyles = Run(UNZIP, {QStringLiteral("-p"), path, QStringLiteral("styles.xml")});
    QVERIFY(acrossStyles.contains(QStringLiteral("fo:page-width=\"297.00mm\" fo:page-height=\"210.00mm\" "
                                                 "style:print-orientation=\"landscape\"")));
    QVERIFY(acrossStyles.contains(QStringLiteral("svg:x=\"20.00mm\" svg:y=\"5.00mm\" svg:width=\"272.00mm\" svg:height=\"200.00mm\"")));
}

// Three pipes in one framed document: the sheets numbered through with "Листов" counting them all,
// the large title block on the first sheet only, each pipe's part with its scheme drawn as
// vectors, and each pipe's spans in the table of all pipes.
void PdfNote::ThreePipesMakeOneFramedDocument()
{
    korvelin::NoteInputs inputs;
    inputs.Texts = {"", "", "333", "206", "0,6"};
    inputs.SteelGrade = 0;
    inputs.Selectors.SpanCount = 6;  // more than six: drawn as seven with a break
    inputs.DateTime = "08.12.2026 14:05";
    inputs.Program = "Korvelin 1.0";
    inputs.Document = Fields;
    inputs.Framed = true;
    const korvelin::SpanTableConditions conditions{.Texts = inputs.Texts, .Selectors = inputs.Selectors,
                                                   .SteelGrade = 0, .DecimalSeparator = ",", .OwnClimate = {}};
    const std::vector<korvelin::PipeSize> sizes = {{"57", "3"}, {"108", "4"}, {"159", "4,5"}};
    const std::vector<korvelin::PipeDesign> pipes = korvelin::DesignPipes(sizes, conditions, {});
    const korvelin::NoteDocument note = korvelin::BuildPipesNote(inputs, pipes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("трубы.pdf"));
    QCOMPARE(WriteNotePdf(note, path), QString());
    const int pages = Pages(path);
    QVERIFY2(pages >= 10, qPrintable(QString::number(pages)));
    for (int page = 1; page <= pages; ++page) {
        const std::vector<Word> words = Words(path, page);
        const auto has = [&words](const QString& text) {
            return std::any_of(words.begin(), words.end(), [&](const Word& w) { return w.Text == text; });
        };
        QCOMPARE(WordUnder(words, QStringLiteral("Лист")), QString::number(page));
        QCOMPARE(has(QStringLiteral("Разраб.")), page == 1);
        if (page == 1)
            QCOMPARE(WordUnder(words, QStringLiteral("Листов")), QString::number(pages));
    }
    const QString text = PdfText(path);
    for (const char* words : {"3 Труба 57×3", "4 Труба 108×4", "5 Труба 159×4,5", "Рис. 1. Расчетная схема трубы 57×3",
                              "Рис. 3. Расчетная схема трубы 159×4,5", "6 Сводная таблица труб", "Литература"})
        QVERIFY2(text.count(QString::fromUtf8(words)) == 1, words);
    for (const korvelin::PipeDesign& pipe : pipes)
        for (const std::optional<double> span : {pipe.Row.Outcome.Spans.StaticSpanSP, pipe.Row.Outcome.Spans.DynamicSpanSP,
                                                 pipe.Row.Outcome.Spans.CondensateSpanSP, pipe.Row.Outcome.Spans.DeflectionSpanSNiP}) {
            const QString shown = QString::fromStdString(korvelin::FormatFixed3(*span, ","));
            QVERIFY2(text.contains(shown), qPrintable(shown));
        }
    // The schemes are lines and text, not pictures.
    QCOMPARE(Run("pdfimages", {QStringLiteral("-list"), path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
    QVERIFY(!text.contains(QChar(0x2060)));
}

QTEST_MAIN(PdfNote)
#include "tst_PdfNote.moc"
