// The note's files written on a worker thread: the commands disabled and the busy cursor shown
// while the file is written, the event loop running, the same file as written directly, a
// failure reported when the writing ends, a second file refused meanwhile.

#include "NoteFileCommands.h"
#include "NoteRenderer.h"
#include "RecordingSink.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>

namespace {

// A note of several sheets: headings, paragraphs with formula marks and tables.
korvelin::NoteDocument LongNote()
{
    korvelin::NoteDocument note;
    note.Title = "Записка для проверки записи";
    for (int section = 1; section <= 6; ++section) {
        note.AddHeading(std::to_string(section) + " Раздел");
        note.AddParagraph("q_{н} = 1,250 Н/м при L/150, раздел " + std::to_string(section));
        korvelin::NoteTable table;
        table.HeaderRows = 1;
        table.Rows.push_back({{"Величина"}, {"Значение"}});
        for (int row = 0; row < 25; ++row)
            table.Rows.push_back({{"Строка " + std::to_string(section) + "." + std::to_string(row)},
                                  {std::to_string(row * section) + ",000"}});
        note.AddTable(table);
    }
    return note;
}

class FixedSource final : public NoteSource
{
public:
    bool HasNote() const override { return Has; }
    korvelin::NoteDocument Note(bool) const override { return LongNote(); }
    QString SuggestedName(const QString& extension) const override
    {
        return QStringLiteral("Записка.") + extension;
    }
    bool Has = true;
};

QString PdfText(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace

class NoteFileWritingTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Window = std::make_unique<QWidget>();
        Commands = std::make_unique<NoteFileCommands>(Source, Sink, *Window, NoteFileTexts{},
                                                      QStringLiteral("PDF"), QStringLiteral("ODT"),
                                                      QStringLiteral("Печать"));
    }
    void cleanup()
    {
        Commands.reset();
        Window.reset();
        QVERIFY2(Sink.IsEmpty(), qPrintable(Sink.Describe()));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void writesInTheBackgroundWhatTheDirectWriterWrites_data();
    void writesInTheBackgroundWhatTheDirectWriterWrites();
    void failureIsReportedWhenTheWritingEnds();
    void nothingStartsWithoutANote();
    void closingTheWindowLetsTheFileBeCompleted();

private:
    QList<bool> Enabled() const
    {
        QList<bool> enabled;
        for (const QAction* action : Commands->Actions())
            enabled << action->isEnabled();
        return enabled;
    }

    FixedSource Source;
    RecordingSink Sink;
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<NoteFileCommands> Commands;
};

void NoteFileWritingTest::writesInTheBackgroundWhatTheDirectWriterWrites_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("PDF") << true;
    QTest::newRow("ODT") << false;
}

void NoteFileWritingTest::writesInTheBackgroundWhatTheDirectWriterWrites()
{
    QFETCH(bool, pdf);
    QTemporaryDir dir;
    const QString path = dir.filePath(pdf ? QStringLiteral("записка.pdf") : QStringLiteral("записка.odt"));
    QSignalSpy written(Commands.get(), &NoteFileCommands::Written);
    QCOMPARE(Enabled(), QList<bool>({true, true, true}));

    QVERIFY(pdf ? Commands->StartSavingPdf(path) : Commands->StartSavingOdt(path));
    // At once: the commands off, the busy cursor on, a second file refused.
    QVERIFY(Commands->IsWriting());
    QCOMPARE(Enabled(), QList<bool>({false, false, false}));
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QVERIFY(!Commands->StartSavingPdf(dir.filePath(QStringLiteral("second.pdf"))));
    QVERIFY(!Commands->SaveOdtTo(dir.filePath(QStringLiteral("second.odt"))));
    // The end comes through the event loop, which keeps running meanwhile.
    QCOMPARE(written.count(), 0);
    QVERIFY(written.wait(60000));
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(0).toBool(), true);
    QVERIFY(!Commands->IsWriting());
    QCOMPARE(Enabled(), QList<bool>({true, true, true}));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("second.pdf"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("second.odt"))));

    // The same document as the writer called on this thread gives.
    const QString direct = dir.filePath(pdf ? QStringLiteral("direct.pdf") : QStringLiteral("direct.odt"));
    QCOMPARE(pdf ? WriteNotePdf(LongNote(), direct) : WriteNoteOdt(LongNote(), direct), QString());
    if (pdf) {
        const QString text = PdfText(path);
        QVERIFY(text.contains(QStringLiteral("Строка 6.24")));
        QCOMPARE(text, PdfText(direct));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2), QByteArray("PK"));
        QCOMPARE(file.size(), QFileInfo(direct).size());
    }
}

void NoteFileWritingTest::failureIsReportedWhenTheWritingEnds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("нет/записка.pdf"));
    QSignalSpy written(Commands.get(), &NoteFileCommands::Written);
    QVERIFY(Commands->StartSavingPdf(path));
    QVERIFY(Sink.IsEmpty());
    QVERIFY(written.wait(60000));
    QCOMPARE(written.at(0).at(0).toBool(), false);
    QCOMPARE(Sink.TakeErrors(), QStringList(WriteNotePdf(LongNote(), path)));
    QCOMPARE(Enabled(), QList<bool>({true, true, true}));

    // The synchronous form reports the same and says so.
    QVERIFY(!Commands->SaveOdtTo(dir.filePath(QStringLiteral("нет/записка.odt"))));
    QCOMPARE(Sink.TakeErrors().size(), 1);
    QVERIFY(!Commands->IsWriting());
}

void NoteFileWritingTest::nothingStartsWithoutANote()
{
    QTemporaryDir dir;
    Source.Has = false;
    Commands->UpdateEnabled();
    QCOMPARE(Enabled(), QList<bool>({false, false, false}));
    QVERIFY(!Commands->StartSavingPdf(dir.filePath(QStringLiteral("a.pdf"))));
    QVERIFY(!Commands->SavePdfTo(dir.filePath(QStringLiteral("a.pdf"))));
    QVERIFY(!Commands->IsWriting());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.pdf"))));
    Source.Has = true;
}

void NoteFileWritingTest::closingTheWindowLetsTheFileBeCompleted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("записка.pdf"));
    QVERIFY(Commands->StartSavingPdf(path));
    Commands.reset();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The worker completes the file on its own; the file appears whole or not at all.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 60000);
    QVERIFY(PdfText(path).contains(QStringLiteral("Строка 6.24")));
}

QTEST_MAIN(NoteFileWritingTest)
#include "tst_NoteFileWriting.moc"
