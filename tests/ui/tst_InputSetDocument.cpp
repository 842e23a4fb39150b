// The inputs as a file: the "Файл" entries, the round trip of every selector item, bad files, the
// question about unsaved changes, the recent files and the file named on the command line.

#include "DocumentFieldsDialog.h"
#include "InputSetDocument.h"
#include "MainWindowFixture.h"
#include "Startup.h"
#include "SummaryPage.h"

#include <korvelin/SpanTable.h>

#include <korvelin/InputSetFile.h>
#include <korvelin/Selectors.h>

#include <QCheckBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString Caption = QStringLiteral("Расчет среднего пролета для трубопровода (газопровода)");
const QStringList NoResults(6, QStringLiteral("0"));

// The set the windows start with: the start-up inputs and the span table's starting list.
korvelin::InputSet StartUpShown()
{
    korvelin::InputSet set = korvelin::StartUpInputSet();
    set.PipeTable.emplace();
    for (const korvelin::PipeSize& size : korvelin::DefaultPipeSizes())
        set.PipeTable->push_back({size.OuterDiameter, size.WallThickness});
    return set;
}

// Answers the questions and file choices from a script and records what was asked.
class ScriptedDialogs final : public DocumentDialogs
{
public:
    Answer AskToSave(const QString& question) override
    {
        Questions.append(question);
        return Answers.isEmpty() ? Answer::Cancel : Answers.takeFirst();
    }
    QString FileToOpen(const QString&) override { return std::exchange(OpenPath, {}); }
    QString FileToSave(const QString& suggested) override
    {
        Suggested.append(suggested);
        return std::exchange(SavePath, {});
    }

    QList<Answer> Answers;
    QStringList Questions;
    QString OpenPath;
    QString SavePath;
    QStringList Suggested;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class InputSetDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Settings = std::make_unique<QSettings>(Dir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        Start();
    }
    void cleanup()
    {
        VERIFY_NO_UNEXPECTED_BOX(F->Sink);
        QVERIFY2(Dialogs.Questions.isEmpty(), qPrintable(Dialogs.Questions.join(QLatin1Char('|'))));
        Doc = nullptr;
        F.reset();
        Settings.reset();
        Dir.reset();
        Dialogs = {};
    }

    void entriesStandBeforeExit();
    void everyItemRoundTrips_data();
    void everyItemRoundTrips();
    void badFileLeavesTheInputs_data();
    void badFileLeavesTheInputs();
    void diameterAtTheLimitOpensAsSaved();
    void innerDiameterBeyondTheLimitIsSavedAndReopened();
    void unsavedChangesQuestion();
    void closingAsksOnlyWithChangesToAFile();
    void failedSaveNamesTheReason();
    void recentFiles();
    void shortcutsWorkInAField();
    void commandLineFile();
    void nextStartOpensTheSameSet();
    void chosenSpanAndRouteKeptInTheFile();
    void documentFieldsFromTheDialogToTheFileAndTheNote();

private:
    // The program's windows with the scripted dialogs and the test's settings.
    void Start()
    {
        F = std::make_unique<MainWindowFixture>(QStringLiteral(","), &Dialogs, Settings.get());
        Doc = &F->Document();
    }
    QString Path(const char* name) const { return Dir->filePath(QString::fromUtf8(name)); }
    QString Shown() const { return QString::fromStdString(korvelin::SerializeInputSet(Doc->ShownSet())); }
    void SaveAs(const QString& path)
    {
        Dialogs.SavePath = path;
        Trigger("FileSaveAs");
    }
    void Trigger(const char* action) { F->Form().findChild<QAction*>(QString::fromLatin1(action))->trigger(); }

    ScriptedDialogs Dialogs;
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<QSettings> Settings;
    std::unique_ptr<MainWindowFixture> F;
    InputSetDocument* Doc = nullptr;
};

void InputSetDocumentTest::entriesStandBeforeExit()
{
    auto* menu = F->Form().findChild<QMenu*>(QStringLiteral("N1"));
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts, (QStringList{"Новый", "Открыть…", "Сохранить", "Сохранить как…", "-", "Последние файлы", "-",
                                 "Свои нормативные значения…", "Сведения о документе…", "-",
                                 "Сохранить расчет в PDF…", "Сохранить расчет в ODT…", "Печать…", "Копировать результаты",
                                 "Чертеж трассы в DXF…", "-",
                                 "Выход"}));
    const std::pair<const char*, QKeySequence> keys[] = {
        {"FileNew", QKeySequence(QStringLiteral("Ctrl+N"))},
        {"FileOpen", QKeySequence(QStringLiteral("Ctrl+O"))},
        {"FileSave", QKeySequence(QStringLiteral("Ctrl+S"))},
        {"FileSaveAs", QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
    };
    for (const auto& [name, sequence] : keys)
        QCOMPARE(F->Form().findChild<QAction*>(QString::fromLatin1(name))->shortcut(), sequence);
    QVERIFY(!F->Form().findChild<QMenu*>(QStringLiteral("RecentFiles"))->menuAction()->isEnabled());
    QCOMPARE(F->Caption(), Caption);
}

void InputSetDocumentTest::everyItemRoundTrips_data()
{
    QTest::addColumn<int>("item");
    // Eleven sets: every item of the longest selector (the slope), the others and the steel
    // grades (including "Свой") cycling through theirs.
    for (int item = 0; item < 11; ++item)
        QTest::addRow("item %d", item) << item;
}

void InputSetDocumentTest::everyItemRoundTrips()
{
    QFETCH(int, item);
    const int grades = static_cast<int>(korvelin::SteelGradeItems().size());
    F->Pick("ComboBox6", item % grades);
    if (item % grades == grades - 1) {
        F->Retype("Edit4", QStringLiteral("410,5"));
        F->Retype("Edit5", QStringLiteral("245"));
    }
    F->Retype("Edit2", QStringLiteral("1%1").arg(item + 10));
    F->Retype("Edit1", QStringLiteral("0,%1").arg(item + 1));
    const std::pair<const char*, std::span<const std::string_view>> selectors[] = {
        {"ComboBox1", korvelin::HeightCategoryItems()}, {"ComboBox2", korvelin::SnowRegionItems()},
        {"ComboBox3", korvelin::WindRegionItems()},     {"ComboBox7", korvelin::IceRegionItems()},
        {"ComboBox4", korvelin::SpanCountItems()},      {"ComboBox5", korvelin::SlopeItems()},
    };
    for (const auto& [name, items] : selectors)
        F->Pick(name, item % static_cast<int>(items.size()));
    F->Calculate();
    const QStringList results = F->Results();
    const QStringList messages = F->Sink.TakeMessages();
    const QString shown = Shown();

    const QString path = Path("набор.korvelin");
    SaveAs(path);
    QCOMPARE(QString::fromUtf8(ReadAll(path)), shown);
    QVERIFY(!Doc->IsModified());
    Trigger("FileNew");
    QCOMPARE(Shown(), QString::fromStdString(korvelin::SerializeInputSet(StartUpShown())));
    QCOMPARE(F->Results(), NoResults);

    QVERIFY(Doc->OpenFile(path));
    QCOMPARE(Shown(), shown);
    QCOMPARE(F->Results(), NoResults);  // cleared, nothing calculated
    QVERIFY(!Doc->IsModified());
    QCOMPARE(F->Edit("Edit4")->isEnabled(), item % grades == grades - 1);
    F->Calculate();
    QCOMPARE(F->Results(), results);
    QCOMPARE(F->Sink.TakeMessages(), messages);
}

void InputSetDocumentTest::badFileLeavesTheInputs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const QByteArray good = QByteArray::fromStdString(korvelin::SerializeInputSet(korvelin::StartUpInputSet()));
    const auto with = [&good](const char* from, const char* to) { return QByteArray(good).replace(from, to); };
    QTest::newRow("empty") << QByteArray() << "файл пуст";
    QTest::newRow("not JSON") << QByteArray("89;3,2") << "это не JSON (ошибка в байте 3)";
    QTest::newRow("other format") << with("korvelin-inputs", "korvelin-map")
                                  << "это не файл исходных данных Korvelin (нет ключа «format» со значением "
                                     "«korvelin-inputs»)";
    QTest::newRow("newer version") << with("\"version\": 2", "\"version\": 3")
                                   << "файл записан более новой версией программы (версия формата 3, эта "
                                      "версия читает до 2)";
    QTest::newRow("extra key") << with("\"slope\": 0", "\"slope\": 0, \"colour\": 1") << "лишний ключ «colour»";
    QTest::newRow("index outside") << with("\"snowRegion\": 0", "\"snowRegion\": 8")
                                   << "значение ключа «snowRegion» (8) вне списка: допустимо от 0 до 7";
    QTest::newRow("invalid UTF-8") << with("\"89\"", "\"8\xff\"") << "текст не в кодировке UTF-8 (байт 71)";
    QTest::newRow("exponent") << with("\"89\"", "\"1e308\"")
                              << "в поле «Наружный диаметр» записано «1e308», а в это поле можно ввести только "
                                 "цифры и одну десятичную запятую";
    QTest::newRow("over 1 MiB") << good + QByteArray(1024 * 1024, ' ')
                                << "файл больше 1024 КиБ, а файл исходных данных много меньше";
}

void InputSetDocumentTest::badFileLeavesTheInputs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    // A file opened and changed, with results on screen: none of it changes.
    const QString open = Path("open.korvelin");
    SaveAs(open);
    F->Retype("Edit1", QStringLiteral("0,3"));
    F->Calculate();
    const QString shown = Shown();
    const QStringList results = F->Results();
    const QString title = F->Caption();

    const QString bad = Path("плохой.korvelin");
    WriteAll(bad, bytes);
    Dialogs.OpenPath = bad;
    Dialogs.Answers = {DocumentDialogs::Answer::No};
    Trigger("FileOpen");
    QCOMPARE(Dialogs.Questions.takeFirst(), QStringLiteral("Сохранить изменения в «open.korvelin»?"));
    QCOMPARE(F->Sink.TakeErrors(), QStringList{QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(bad, problem)});
    QCOMPARE(Shown(), shown);
    QCOMPARE(F->Results(), results);
    QCOMPARE(F->Caption(), title);
    QCOMPARE(Doc->FilePath(), open);
    QVERIFY(Doc->IsModified());
}

void InputSetDocumentTest::diameterAtTheLimitOpensAsSaved()
{
    // A diameter the window corrected is saved as corrected, and opens as saved.
    korvelin::InputSet set = korvelin::StartUpInputSet();
    set.Texts.OuterDiameter = "306,4";
    const QString path = Path("ручной.korvelin");
    QCOMPARE(korvelin::WriteInputSetFile(path.toStdString(), set), "");
    QVERIFY(Doc->OpenFile(path));
    QCOMPARE(F->Sink.TakeMessages(), QStringList());
    QCOMPARE(F->Text("Edit2"), QStringLiteral("306,4"));
    QVERIFY(!Doc->IsModified());

    // A folder, a missing file: named with their problem.
    QVERIFY(!Doc->OpenFile(Dir->path()));
    QVERIFY(!Doc->OpenFile(Path("нет.korvelin")));
    QCOMPARE(F->Sink.TakeErrors(),
             (QStringList{QStringLiteral("Не удалось открыть файл «%1»: это папка, а не файл.").arg(Dir->path()),
                          QStringLiteral("Не удалось открыть файл «%1»: файл не найден.").arg(Path("нет.korvelin"))}));
    QCOMPARE(Doc->FilePath(), path);
}

void InputSetDocumentTest::innerDiameterBeyondTheLimitIsSavedAndReopened()
{
    // 159×4,5; 999 typed into the diameter is corrected to 309 with the message, a wall of 3 typed
    // afterwards leaves an inner diameter of 303 mm, which the window calculates.
    F->Retype("Edit2", QStringLiteral("159"));
    F->Retype("Edit3", QStringLiteral("4,5"));
    F->Retype("Edit2", QStringLiteral("999"));
    QCOMPARE(F->Sink.TakeMessages(),
             QStringList{QString::fromUtf8(korvelin::kDiameterLimitMessage.data(), korvelin::kDiameterLimitMessage.size())});
    QCOMPARE(F->Text("Edit2"), QStringLiteral("309"));
    F->Retype("Edit3", QStringLiteral("3"));
    F->Calculate();
    const QStringList results = F->Results();
    QCOMPARE(results[2], QStringLiteral("0,000"));  // no condensate span above 300 mm
    const auto reason = [this] {
        const auto& summary = F->Form().findChild<TSummaryPage*>()->Summary();
        return summary && !summary->SP.Governing.Span && summary->SNiP.Governing.Span
                   ? QString::fromStdString(summary->SP.Governing.Reason)
                   : QString();
    };
    QVERIFY(reason().startsWith(QStringLiteral("внутренний диаметр 303 мм больше 300 мм")));

    // What the window holds is saved, and opens as it was: no correction, the same results.
    const QString path = Path("309x3.korvelin");
    SaveAs(path);
    QCOMPARE(F->Sink.TakeErrors(), QStringList());
    QCOMPARE(Doc->FilePath(), path);
    const QString saved = Shown();
    Trigger("FileNew");
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89"));
    QVERIFY(Doc->OpenFile(path));
    QCOMPARE(F->Sink.TakeMessages(), QStringList());
    QCOMPARE(F->Text("Edit2"), QStringLiteral("309"));
    QCOMPARE(F->Text("Edit3"), QStringLiteral("3"));
    QCOMPARE(Shown(), saved);
    QVERIFY(!Doc->IsModified());
    F->Calculate();
    QCOMPARE(F->Results(), results);
    QVERIFY(reason().startsWith(QStringLiteral("внутренний диаметр 303 мм больше 300 мм")));
    // The correction stays on the field: typing the diameter again is corrected as before.
    F->Retype("Edit2", QStringLiteral("309"));
    QCOMPARE(F->Sink.TakeMessages().size(), 1);
    QCOMPARE(F->Text("Edit2"), QStringLiteral("306"));
}

void InputSetDocumentTest::unsavedChangesQuestion()
{
    using Answer = DocumentDialogs::Answer;
    const QString path = Path("a.korvelin");
    SaveAs(path);
    QCOMPARE(Dialogs.Suggested, QStringList{Path("Без имени.korvelin").replace(Dir->path(), QDir::homePath())});
    const QByteArray saved = ReadAll(path);
    const QString question = QStringLiteral("Сохранить изменения в «a.korvelin»?");

    // Unchanged: no question.
    Trigger("FileNew");
    QVERIFY(Doc->FilePath().isEmpty());
    QVERIFY(Doc->OpenFile(path));
    F->Retype("Edit2", QStringLiteral("108"));

    // Cancel: everything stays.
    Dialogs.Answers = {Answer::Cancel};
    Trigger("FileNew");
    QCOMPARE(Dialogs.Questions.takeFirst(), question);
    QCOMPARE(F->Text("Edit2"), QStringLiteral("108"));
    QCOMPARE(Doc->FilePath(), path);

    // No: the changes go, the file stays as it was.
    Dialogs.Answers = {Answer::No};
    Trigger("FileNew");
    QCOMPARE(Dialogs.Questions.takeFirst(), question);
    QCOMPARE(F->Text("Edit2"), QStringLiteral("89"));
    QCOMPARE(F->Caption(), Caption);
    QCOMPARE(ReadAll(path), saved);

    // Yes: the changes are saved first.
    QVERIFY(Doc->OpenFile(path));
    F->Pick("ComboBox2", 3);
    Dialogs.Answers = {Answer::Yes};
    Dialogs.OpenPath = QString();  // the open dialog is then cancelled
    Trigger("FileOpen");
    QCOMPARE(Dialogs.Questions.takeFirst(), question);
    QVERIFY(ReadAll(path).contains("\"snowRegion\": 3"));
    QVERIFY(!Doc->IsModified());
    QCOMPARE(Doc->FilePath(), path);
}

void InputSetDocumentTest::closingAsksOnlyWithChangesToAFile()
{
    // No file open: closing asks nothing, whatever was changed.
    F->Retype("Edit1", QStringLiteral("0,9"));
    QVERIFY(F->Form().close());
    F->Form().show();

    const QString path = Path("b.korvelin");
    SaveAs(path);
    F->Retype("Edit1", QStringLiteral("1,1"));
    Dialogs.Answers = {DocumentDialogs::Answer::Cancel};
    Trigger("N5");  // "Выход"
    QCOMPARE(Dialogs.Questions.takeFirst(), QStringLiteral("Сохранить изменения в «b.korvelin»?"));
    QVERIFY(F->Form().isVisible());

    Dialogs.Answers = {DocumentDialogs::Answer::Yes};
    QVERIFY(F->Form().close());  // the close button
    QCOMPARE(Dialogs.Questions.takeFirst(), QStringLiteral("Сохранить изменения в «b.korvelin»?"));
    QVERIFY(!F->Form().isVisible());
    const korvelin::InputSetReading reading = korvelin::ReadInputSetFile(path.toStdString());
    QVERIFY(reading.Set);
    QCOMPARE(reading.Set->Texts.Pressure, "1,1");
}

void InputSetDocumentTest::failedSaveNamesTheReason()
{
    SaveAs(Dir->path());
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QStringLiteral("Не удалось сохранить файл «%1»: это папка, а не файл.").arg(Dir->path())});
    QVERIFY(Doc->FilePath().isEmpty());
    QCOMPARE(F->Caption(), Caption);

    // A name without an extension gets ".korvelin"; the caption names the file.
    SaveAs(Path("трасса 1"));
    QCOMPARE(Doc->FilePath(), Path("трасса 1.korvelin"));
    QCOMPARE(F->Caption(), QStringLiteral("трасса 1.korvelin — ") + Caption);

    // The same "Да" with a save that fails: the window stays, the changes too.
    F->Retype("Edit1", QStringLiteral("0,7"));
    QCOMPARE(F->Caption(), QStringLiteral("трасса 1.korvelin* — ") + Caption);
    QDir(Dir->path()).rename(QStringLiteral("трасса 1.korvelin"), QStringLiteral("moved"));
    QDir(Dir->path()).mkdir(QStringLiteral("трасса 1.korvelin"));
    Dialogs.Answers = {DocumentDialogs::Answer::Yes};
    QVERIFY(!F->Form().close());
    Dialogs.Questions.takeFirst();
    QCOMPARE(F->Sink.TakeErrors().size(), 1);
    QVERIFY(F->Form().isVisible());
    QVERIFY(Doc->IsModified());
}

void InputSetDocumentTest::recentFiles()
{
    for (int i = 1; i <= 9; ++i)
        SaveAs(Path(qPrintable(QStringLiteral("f%1.korvelin").arg(i))));
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << Path(qPrintable(QStringLiteral("f%1.korvelin").arg(i)));
    QCOMPARE(Doc->RecentFiles(), expected);
    // Kept in the settings, read by the next start.
    QCOMPARE(QSettings(Settings->fileName(), QSettings::IniFormat).value("RecentFiles").toStringList(), expected);

    auto* menu = F->Form().findChild<QMenu*>(QStringLiteral("RecentFiles"));
    QVERIFY(menu->menuAction()->isEnabled());
    QCOMPARE(menu->actions().size(), 8);
    QCOMPARE(menu->actions().front()->text(), QStringLiteral("&1 ") + Path("f9.korvelin"));

    // Opening from the list moves the file to the top.
    F->Retype("Edit3", QStringLiteral("4"));
    SaveAs(Path("f5.korvelin"));
    Trigger("FileNew");
    menu->actions().at(5)->trigger();  // f4
    QCOMPARE(Doc->FilePath(), Path("f4.korvelin"));
    QCOMPARE(Doc->RecentFiles().front(), Path("f4.korvelin"));
    F->Form().findChild<QMenu*>(QStringLiteral("RecentFiles"))->actions().at(1)->trigger();  // f5
    QCOMPARE(F->Text("Edit3"), QStringLiteral("4"));

    // A file that has gone is dropped from the list with a message.
    QFile::remove(Path("f8.korvelin"));
    const qsizetype index = Doc->RecentFiles().indexOf(Path("f8.korvelin"));
    menu->actions().at(index)->trigger();
    QCOMPARE(F->Sink.TakeMessages(),
             QStringList{QStringLiteral("Файла «%1» больше нет, он убран из списка последних файлов.")
                             .arg(Path("f8.korvelin"))});
    QCOMPARE(Doc->RecentFiles().size(), 7);
    QVERIFY(!Doc->RecentFiles().contains(Path("f8.korvelin")));
    QCOMPARE(Doc->FilePath(), Path("f5.korvelin"));
}

void InputSetDocumentTest::shortcutsWorkInAField()
{
    F->Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F->Form()));
    Dialogs.SavePath = Path("c.korvelin");
    F->Edit("Edit1")->setFocus();
    QTest::keyClick(F->Edit("Edit1"), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Doc->FilePath(), Path("c.korvelin"));
    F->Type("Edit1", QStringLiteral("5"));
    QCOMPARE(F->Text("Edit1"), QStringLiteral("0,65"));
    QTest::keyClick(F->Edit("Edit1"), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(ReadAll(Path("c.korvelin")).contains("\"pressure\": \"0,65\""));
    QTest::keyClick(F->Edit("Edit1"), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(F->Text("Edit1"), QStringLiteral("0,6"));
}

void InputSetDocumentTest::commandLineFile()
{
    korvelin::InputSet set = korvelin::StartUpInputSet();
    set.Indexes.IceRegion = 2;
    set.RouteLength = "120";
    set.PipeTable = std::vector<korvelin::PipeTableRow>{{"57", "3"}};
    const QString path = Path("cmd.korvelin");
    QCOMPARE(korvelin::WriteInputSetFile(path.toStdString(), set), "");

    OpenCommandLineFile(*Doc, {QStringLiteral("korvelin")});
    QVERIFY(Doc->FilePath().isEmpty());
    OpenCommandLineFile(*Doc, {QStringLiteral("korvelin"), Path("нет.korvelin")});
    QCOMPARE(F->Sink.TakeErrors().size(), 1);
    QCOMPARE(Shown(), QString::fromStdString(korvelin::SerializeInputSet(StartUpShown())));

    OpenCommandLineFile(*Doc, {QStringLiteral("korvelin"), path});
    QCOMPARE(Doc->FilePath(), path);
    QCOMPARE(F->Combo("ComboBox7")->currentIndex(), 2);
    // The parts of other windows are kept and saved again.
    QCOMPARE(Doc->ShownSet(), set);
    QCOMPARE(F->Caption(), QStringLiteral("cmd.korvelin — ") + Caption);
}



// Save, close the program, start it again: from "Последние файлы" and from the command line the
// same inputs come back, and "Расчитать" gives the same results.
void InputSetDocumentTest::nextStartOpensTheSameSet()
{
    F->Retype("Edit2", QStringLiteral("133"));
    F->Pick("ComboBox3", 4);
    F->Calculate();
    const QStringList results = F->Results();
    const QString path = Path("труба.korvelin");
    SaveAs(path);
    const QString shown = Shown();
    QVERIFY(F->Form().close());
    for (bool fromRecent : {true, false}) {
        Doc = nullptr;
        F.reset();
        Start();
        if (fromRecent)
            F->Form().findChild<QMenu*>(QStringLiteral("RecentFiles"))->actions().front()->trigger();
        else
            OpenCommandLineFile(*Doc, {QStringLiteral("korvelin"), path});
        QCOMPARE(Shown(), shown);
        F->Calculate();
        QCOMPARE(F->Results(), results);
    }
}

// The two fields of the page "Итог" travel with the set: written, emptied by "Новый", read back
// without counting as a change, and an edit of either is a change of the file.
void InputSetDocumentTest::chosenSpanAndRouteKeptInTheFile()
{
    TSummaryPage& page = *F->Form().findChild<TSummaryPage*>();
    auto* span = F->Form().findChild<QLineEdit*>(QStringLiteral("EditChosenSpan"));
    auto* route = F->Form().findChild<QLineEdit*>(QStringLiteral("EditRouteLength"));
    span->setText(QStringLiteral("3"));
    route->setText(QStringLiteral("100"));
    const QString path = Path("трасса.korvelin");
    SaveAs(path);
    const QByteArray saved = ReadAll(path);
    QVERIFY(saved.contains("\"chosenSpan\": \"3\""));
    QVERIFY(saved.contains("\"routeLength\": \"100\""));
    QVERIFY(!Doc->IsModified());

    route->setText(QStringLiteral("120"));
    QVERIFY(Doc->IsModified());
    Dialogs.Answers = {DocumentDialogs::Answer::No};
    Trigger("FileNew");
    QCOMPARE(Dialogs.Questions, QStringList{QStringLiteral("Сохранить изменения в «трасса.korvelin»?")});
    Dialogs.Questions.clear();
    QCOMPARE(span->text(), QString());
    QCOMPARE(route->text(), QString());
    QVERIFY(!ReadAll(path).contains("\"routeLength\": \"120\""));

    QVERIFY(Doc->OpenFile(path));
    QCOMPARE(span->text(), QStringLiteral("3"));
    QCOMPARE(route->text(), QStringLiteral("100"));
    QVERIFY(!Doc->IsModified());
    F->Calculate();
    QVERIFY(page.Summary().has_value());
    QCOMPARE(page.Summary()->ChosenSpan, std::optional<double>(3));
    QCOMPARE(page.Summary()->SP.Route->Spans, 49);  // 100 m / 2,073 m of many spans
}

// "Сведения о документе…": the dialog refuses a name the fonts cannot show and keeps it open, the
// frame follows the designation, the fields (the margin's graphs too) travel with the file and
// into the note, framed for the PDF and the ODT alike, and the organization and the names stay
// for a new set and the next start; a file with such a name is refused.
void InputSetDocumentTest::documentFieldsFromTheDialogToTheFileAndTheNote()
{
    // What the dialog showed, looked at once it is closed (a failed check inside would leave it
    // open).
    QStringList stillOpen;
    bool frameBefore = true, frameWithDesignation = false, keptOpen = false;
    QWidget* focused = nullptr;
    QWidget* objectEdit = nullptr;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<DocumentFieldsDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        frameBefore = dialog->FrameBox()->isChecked();
        dialog->Edit(1)->setText(QStringLiteral("123-2026-ГСН.РР"));
        frameWithDesignation = dialog->FrameBox()->isChecked();
        const QString names[] = {QStringLiteral("Газопровод 中"), {}, QStringLiteral("ООО «Газпроект»"), {},
                                 QStringLiteral("Иванов"), QStringLiteral("Петров"), {}, QStringLiteral("Сидоров"),
                                 {}, {}, QStringLiteral("1234")};
        for (std::size_t i = 0; i < std::size(names); ++i)
            if (!names[i].isEmpty())
                dialog->Edit(i)->setText(names[i]);
        dialog->accept();
        stillOpen = F->Sink.TakeMessages();
        keptOpen = dialog->isVisible();
        focused = dialog->focusWidget();
        objectEdit = dialog->Edit(0);
        dialog->Edit(0)->setText(QStringLiteral("Газопровод"));
        dialog->accept();
        if (dialog->isVisible())
            dialog->reject();
    });
    Trigger("ActionDocumentFields");
    QCOMPARE(stillOpen, QStringList{QStringLiteral(
                            "Поле «Объект»: знак «中» (U+4E2D) нельзя показать шрифтом документа.")});
    QVERIFY(!frameBefore && frameWithDesignation && keptOpen);
    QCOMPARE(focused, objectEdit);
    korvelin::DocumentFields expected{.Object = "Газопровод", .Designation = "123-2026-ГСН.РР",
                                      .Organization = "ООО «Газпроект»", .Author = "Иванов",
                                      .Checker = "Петров", .ChiefEngineer = "Сидоров", .OriginalInventory = "1234"};
    QCOMPARE(F->Model().Document(), expected);

    const QString path = Path("газопровод.korvelin");
    SaveAs(path);
    QCOMPARE(korvelin::ReadInputSetFile(QFile::encodeName(path).toStdString()).Set->Document, expected);
    F->Calculate();
    QCOMPARE(F->Note().Note().TitleBlock->Designation, expected.Designation);
    QVERIFY(!F->Note().Note(false).TitleBlock);
    const QString odt = Path("Пролет.odt");
    QVERIFY(F->Note().SaveOdtTo(odt));
    QVERIFY(ReadAll(odt).startsWith("PK"));
    QCOMPARE(F->Note().Note().TitleBlock->OriginalInventory, "1234");

    // A new set keeps the organization and the names, not the object and its designation.
    korvelin::DocumentFields remembered{.Organization = "ООО «Газпроект»", .Author = "Иванов",
                                        .Checker = "Петров", .ChiefEngineer = "Сидоров"};
    Trigger("FileNew");
    QCOMPARE(F->Model().Document(), remembered);
    F.reset();
    Start();
    QCOMPARE(F->Model().Document(), remembered);

    QByteArray bytes = ReadAll(path);
    bytes.replace("Петров", "Петров 中");
    WriteAll(path, bytes);
    QVERIFY(!Doc->OpenFile(path));
    QCOMPARE(F->Sink.TakeErrors(),
             QStringList{QStringLiteral("Не удалось открыть файл «%1»: поле «Пров.»: знак «中» (U+4E2D) "
                                        "нельзя показать шрифтом документа.").arg(path)});
    QCOMPARE(F->Model().Document(), remembered);
}

QTEST_MAIN(InputSetDocumentTest)
#include "tst_InputSetDocument.moc"
