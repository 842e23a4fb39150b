// The calculation note as a PDF: written atomically, read back with pdftotext, fonts embedded.

#include "NoteRenderer.h"

#include <korvelin/CalculationNote.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

korvelin::NoteDocument StartUpNote(const std::string& separator)
{
    korvelin::NoteInputs inputs;
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
                                QStringLiteral("96,1"),  QStringLiteral("3,030"),
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

QTEST_MAIN(PdfNote)
#include "tst_PdfNote.moc"
