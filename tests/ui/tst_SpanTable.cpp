// The span table as a user meets it: opened from the menu bar, rows typed in place with the
// numeric fields' key rules, the spans following the main window's inputs, the CSV and the PDF,
// and the rows and place kept between sessions.

#include "InputSetDocument.h"
#include "MainWindowFixture.h"
#include "SpanTableWindow.h"

#include <korvelin/SpanInput.h>

#include <korvelin/NumberFormat.h>

#include <QCheckBox>
#include <QClipboard>

#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

// Saves to one file and keeps unsaved changes without asking.
class FixedFileDialogs final : public DocumentDialogs
{
public:
    QString Path;
    Answer AskToSave(const QString&) override { return Answer::No; }
    QString FileToOpen(const QString&) override { return Path; }
    QString FileToSave(const QString&) override { return Path; }
};

class SpanTableTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openedFromItsCommand();
    void defaultRowAgreesWithMainWindow();
    void changedRegionRecomputesEveryRow();
    void supportColumnsAndOwnValuesFollowTheMainWindow();
    void rowsTypedWithTheNumericKeyRules();
    void badSizesShowTheRowMessage();
    void csvReadBack();
    void pdfFramedWithTheLoadsAndTheNotesOnOneSheet();
    void failedWritesNameTheFileAndLeaveNothing();
    void rowsAndPlaceKeptBetweenSessions();
    void rowsKeptInTheInputSetFile();
    void noteOfAllPipesFromItsButton();

private:
    SpanTableWindow& Table() { return *F->Windows.SpanTable; }
    QTableWidget* Grid() { return Table().findChild<QTableWidget*>(QStringLiteral("Rows")); }
    QString Cell(int row, int column) { return Grid()->item(row, column) ? Grid()->item(row, column)->text() : QString(); }
    // The six spans of a row, as the result fields show them.
    QStringList Spans(int row)
    {
        QStringList spans;
        for (int column = 2; column < 8; ++column)
            spans << Cell(row, column);
        return spans;
    }
    QStringList RowTexts(int row)
    {
        QStringList texts;
        for (int column = 0; column < Grid()->columnCount(); ++column)
            texts << Cell(row, column);
        return texts;
    }
    int RowOf(const QString& diameter, const QString& wall)
    {
        for (int row = 0; row < Grid()->rowCount(); ++row)
            if (Cell(row, 0) == diameter && Cell(row, 1) == wall)
                return row;
        return -1;
    }
    void Open()
    {
        Table().Open();
        QVERIFY(QTest::qWaitForWindowExposed(&Table()));
    }
    // The open cell editor (editors closed before are hidden until they are deleted).
    QLineEdit* Editor()
    {
        for (QLineEdit* editor : Grid()->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    // Types into a cell's editor key by key and ends with Enter, as a user does.
    void TypeInCell(int row, int column, const QString& text)
    {
        Grid()->setCurrentCell(row, column);
        Grid()->editItem(Grid()->item(row, column));
        auto* editor = Editor();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // Enter closes the editor through the event loop.
        QCoreApplication::processEvents();
        QVERIFY(Editor() == nullptr);
    }

    TestSettings Settings;
    std::unique_ptr<MainWindowFixture> F;
};

void SpanTableTest::initTestCase()
{
    QVERIFY(Settings.PointIntoOwnFolder());
}

void SpanTableTest::init()
{
    TestSettings::Clear();
    F = std::make_unique<MainWindowFixture>();
}

void SpanTableTest::cleanup()
{
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    F.reset();
}

void SpanTableTest::openedFromItsCommand()
{
    QVERIFY(!Table().isVisible());
    auto* command = F->Form().findChild<QAction*>(QStringLiteral("SpanTableCommand"));
    QVERIFY(command != nullptr);
    const QList<QAction*> bar = F->Find<QMenuBar>("MainMenu1")->actions();
    QCOMPARE(bar.indexOf(command), bar.indexOf(F->Form().findChild<QAction*>(QStringLiteral("N4"))) + 1);
    command->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&Table()));
    QCOMPARE(Table().windowTitle(), QStringLiteral("Таблица пролетов"));
    QVERIFY(!Table().isModal());
    QVERIFY(F->Form().isEnabled());
    QCOMPARE(Grid()->rowCount(), 9);
    QCOMPARE(Cell(6, 0) + u'×' + Cell(6, 1), QStringLiteral("159×4,5"));
    // The header names the conditions: the main window's steel, pressure and regions.
    const QString conditions = Table().findChild<QLabel*>(QStringLiteral("Conditions"))->text();
    QVERIFY2(conditions.contains(QStringLiteral("Давление в трубопроводе 0,6 МПа"))
                 && conditions.contains(QStringLiteral("ст2сп/ГОСТ 10705-80"))
                 && conditions.contains(QStringLiteral("по снеговой нагрузке I,")),
             qPrintable(conditions));
}

void SpanTableTest::defaultRowAgreesWithMainWindow()
{
    Open();
    // Other conditions than the start-up ones: steel ст3сп, 1,2 MPa, snow III, wind II, ice IV,
    // 3 spans, slope 0,005; the main window computes 89×3 under them.
    F->Pick("ComboBox6", 1);
    F->Retype("Edit1", QStringLiteral("1,2"));
    F->Pick("ComboBox2", 2);
    F->Pick("ComboBox3", 3);
    F->Pick("ComboBox7", 3);
    F->Pick("ComboBox4", 2);
    F->Pick("ComboBox5", 5);
    F->Retype("Edit3", QStringLiteral("3"));
    F->Calculate();
    const int row = RowOf(QStringLiteral("89"), QStringLiteral("3"));
    QCOMPARE(row, 2);
    QCOMPARE(Spans(row), F->Results());
    QCOMPARE(Spans(row), (QStringList{"16,923", "2,218", "11,418", "9,145", "11,817", "7,840"}));
    QCOMPARE(Cell(row, 8), QStringLiteral("2,218"));
    QCOMPARE(Cell(row, 9), QStringLiteral("динамический расчет"));
    QCOMPARE(Grid()->item(row, 9)->toolTip(), QStringLiteral("динамический расчет на прочность"));
    QCOMPARE(Cell(row, 10), QStringLiteral("7,840"));
    QCOMPARE(Cell(row, 11), QStringLiteral("прогиб"));
}

void SpanTableTest::changedRegionRecomputesEveryRow()
{
    Open();
    QList<QStringList> before;
    for (int row = 0; row < Grid()->rowCount(); ++row)
        before << RowTexts(row);
    F->Pick("ComboBox2", 5); // snow region VI, no button pressed
    QVERIFY(Table().findChild<QLabel*>(QStringLiteral("Conditions"))->text().contains(
        QStringLiteral("по снеговой нагрузке VI,")));
    for (int row = 0; row < Grid()->rowCount(); ++row) {
        QCOMPARE(RowTexts(row).mid(0, 2), before[row].mid(0, 2));
        for (int column = 2; column < 8; ++column)
            QVERIFY2(Cell(row, column) != before[row][column],
                     qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
    }
    // Hidden, the table catches up when it is shown again.
    Table().hide();
    F->Pick("ComboBox2", 0);
    Open();
    for (int row = 0; row < Grid()->rowCount(); ++row)
        QCOMPARE(RowTexts(row), before[row]);
}

void SpanTableTest::supportColumnsAndOwnValuesFollowTheMainWindow()
{
    Open();
    auto* toggle = Table().findChild<QCheckBox*>(QStringLiteral("ShowSupportLoads"));
    QVERIFY(Grid()->isColumnHidden(12));
    toggle->click();
    for (int column = 12; column < 18; ++column)
        QVERIFY(!Grid()->isColumnHidden(column));
    // 89×3 at its governing spans, one span: the end support, k = 1/2, as the engine gives it.
    const int row = RowOf(QStringLiteral("89"), QStringLiteral("3"));
    const korvelin::SpanTableRow& result = Table().Results()[std::size_t(row)];
    const auto loads = korvelin::SupportLoadsAt(result.Outcome, korvelin::RuleSet::SNiP, *result.GoverningSNiP.Span, 0.3);
    QCOMPARE(Cell(row, 15), QString::fromStdString(korvelin::FormatFixed3(loads->VerticalEnd, ",")));
    QCOMPARE(Cell(row, 16), QString::fromStdString(korvelin::FormatFixed3(loads->WindEnd, ",")));
    QCOMPARE(Cell(row, 17), QString::fromStdString(korvelin::FormatFixed3(*loads->FrictionEnd, ",")));

    // Own snow of region III with region I selected: every row as under region III.
    F->Pick("ComboBox2", 2);
    QList<QStringList> regionThree;
    for (int r = 0; r < Grid()->rowCount(); ++r)
        regionThree << RowTexts(r);
    F->Pick("ComboBox2", 0);
    korvelin::OwnClimateTexts own;
    own.SnowWeight = {true, "1,8", "изыскания"};
    QCOMPARE(F->Model().SetOwnClimate(own), std::string());
    for (int r = 0; r < Grid()->rowCount(); ++r)
        QCOMPARE(RowTexts(r), regionThree[r]);
    QVERIFY(Table().findChild<QLabel*>(QStringLiteral("Conditions"))->text().contains(
        QStringLiteral("Свои нормативные значения: S = 1,8 кН/м² (изыскания)")));
    // The toggle is kept between sessions.
    QVERIFY(QSettings(QStringLiteral("Korvelin"), QStringLiteral("korvelin")).value(QStringLiteral("SpanTable/supports")).toBool());
}

void SpanTableTest::rowsTypedWithTheNumericKeyRules()
{
    Open();
    QSignalSpy changed(&F->Model(), &InputModel::changed);
    QTest::mouseClick(Table().findChild<QPushButton*>(QStringLiteral("AddRow")), Qt::LeftButton);
    const int row = Grid()->rowCount() - 1;
    QCOMPARE(row, 9);
    QCOMPARE(Cell(row, 2), QStringLiteral("Введены не все данные — пустая ячейка «Наружный диаметр, мм»"));
    // The editor is open on the diameter: letters and a second comma are dropped, a full stop
    // becomes the comma.
    auto* editor = Editor();
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, QStringLiteral("3a2.,"));
    QCOMPARE(editor->text(), QStringLiteral("32,"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    // The row follows the typing before the edit ends.
    QCOMPARE(Cell(row, 0), QStringLiteral("32"));
    // A paste obeys the same rules: letters change nothing, a number replaces the selection.
    for (const QString& pasted : {QStringLiteral("108 мм"), QStringLiteral("108")}) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(Cell(row, 0), QStringLiteral("108"));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("32"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    TypeInCell(row, 1, QStringLiteral("2.5"));
    QCOMPARE(Cell(row, 1), QStringLiteral("2,5"));
    QCOMPARE(Spans(row), (QStringList{"10,454", "1,120", "2,828", "5,098", "7,692", "4,606"}));
    QVERIFY(changed.count() >= 3);

    TypeInCell(row, 0, QStringLiteral("325"));
    TypeInCell(row, 1, QStringLiteral("8"));
    // Above 300 mm inside, as the main window computes it: no condensate span, no SP governing
    // span and why, the SNiP one.
    QCOMPARE(Spans(row), (QStringList{"37,760", "11,682", "0,000", "25,050", "29,922", "23,153"}));
    QCOMPARE(Cell(row, 8), QStringLiteral("нет"));
    QVERIFY(Cell(row, 9).startsWith(QStringLiteral("внутренний диаметр 309 мм больше 300 мм — для таких труб")));
    QCOMPARE(Grid()->item(row, 9)->toolTip(), Cell(row, 9));
    QCOMPARE(Cell(row, 10), QStringLiteral("23,153"));
    TypeInCell(row, 1, QStringLiteral("0"));
    QCOMPARE(Cell(row, 2), QStringLiteral("Введены не все данные — равно нулю поле «Толщина стенки трубы»"));
    QCOMPARE(Grid()->columnSpan(row, 2), 16);
    TypeInCell(row, 1, QStringLiteral("12,5"));
    QCOMPARE(Grid()->columnSpan(row, 2), 1);
    QCOMPARE(Cell(row, 8), QStringLiteral("11,814"));

    Grid()->selectRow(row);
    QTest::mouseClick(Table().findChild<QPushButton*>(QStringLiteral("RemoveRows")), Qt::LeftButton);
    QCOMPARE(Grid()->rowCount(), 9);
    QCOMPARE(int(Table().Results().size()), 9);
    Table().SetRows({});
    QCOMPARE(Grid()->rowCount(), 0);
    QTest::mouseClick(Table().findChild<QPushButton*>(QStringLiteral("RestoreDefaults")), Qt::LeftButton);
    QCOMPARE(Table().Rows(), korvelin::DefaultPipeSizes());
    QCOMPARE(Spans(2), (QStringList{"18,332", "3,112", "6,103", "9,906", "13,710", "9,096"}));
}

void SpanTableTest::badSizesShowTheRowMessage()
{
    Open();
    Table().SetRows({{"", "3"}, {"0", "3"}, {"-57", "3"}, {"5x7", "3"}, {"57", "30"}, {"1e400", "3"}, {"57", ""}});
    const QStringList expected = {
        "Введены не все данные — пустая ячейка «Наружный диаметр, мм»",
        "Введены не все данные — равно нулю поле «Наружный диаметр»",
        "Значения должны быть больше нуля",
        "'5x7' is not a valid floating point value",
        "Толщина стенки должна быть меньше половины наружного диаметра",
        "Floating point overflow — число в поле «Наружный диаметр» слишком велико для расчета",
        "Введены не все данные — пустая ячейка «Толщина стенки, мм»",
    };
    for (int row = 0; row < expected.size(); ++row) {
        QCOMPARE(Cell(row, 2), expected[row]);
        QCOMPARE(Grid()->columnSpan(row, 2), 16);
        QCOMPARE(Cell(row, 8), QString());
    }
    // A fault is shown with its cause.
    Table().SetRows({{"89", "3"}});
    F->Retype("Edit1", QStringLiteral("12"));
    QCOMPARE(Cell(0, 2), QStringLiteral("Invalid floating point operation — давление слишком велико для этой толщины "
                                        "стенки (статический расчет на прочность по СП 42-102-2004)"));
}

void SpanTableTest::csvReadBack()
{
    Open();
    Table().SetRows({{"89", "3"}, {"89", "0"}, {"159", "4.5"}});
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("таблица.csv"));
    QCOMPARE(Table().WriteCsv(path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    // The title, the conditions as the window's header names them, an empty line, the columns
    // under the window's own headers, three rows, the empty rest after the last line end.
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[0], QStringLiteral("Таблица допустимых пролетов надземного газопровода"));
    QCOMPARE(QStringLiteral("Условия расчета: ") + lines.mid(2, 5).join(QStringLiteral("; ")) + u'.',
             Table().findChild<QLabel*>(QStringLiteral("Conditions"))->text());
    QCOMPARE(lines[7], QString());
    // The columns shown: the loads on the supports are hidden at first.
    const auto shownHeaders = [this] {
        QStringList headers;
        for (int column = 0; column < Grid()->columnCount(); ++column)
            if (!Grid()->isColumnHidden(column))
                headers << Grid()->horizontalHeaderItem(column)->text().replace(u'\n', u' ');
        return headers;
    };
    QCOMPARE(lines[8], shownHeaders().join(u';') + QStringLiteral(";Примечание"));
    for (int row = 0; row < 3; ++row) {
        const QStringList fields = lines[row + 9].split(u';');
        QCOMPARE(fields.size(), 13);
        QCOMPARE(fields.mid(0, 2), RowTexts(row).mid(0, 2).replaceInStrings(QStringLiteral("."), QStringLiteral(",")));
        if (row == 1) {
            QCOMPARE(fields.mid(2, 10), QStringList(10, QString()));
            QCOMPARE(fields[12], Cell(row, 2));
        } else {
            for (int column = 2; column < 12; ++column)
                QCOMPARE(fields[column], Cell(row, column));
            QCOMPARE(fields[12], QString());
        }
    }
    QCOMPARE(lines[12], QString());

    // Shown, the loads go with the table, each as its cell shows it.
    Table().findChild<QCheckBox*>(QStringLiteral("ShowSupportLoads"))->setChecked(true);
    QCOMPARE(Table().WriteCsv(path), QString());
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList withLoads = QString::fromUtf8(file.readAll().mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(withLoads[8], shownHeaders().join(u';') + QStringLiteral(";Примечание"));
    const QStringList first = withLoads[9].split(u';');
    QCOMPARE(first.size(), 19);
    for (int column = 12; column < 18; ++column)
        QCOMPARE(first[column], Cell(0, column));

    const QString pdf = folder.filePath(QStringLiteral("таблица.pdf"));
    QCOMPARE(Table().WritePdf(pdf), QString());
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
}

// With a designation the table's PDF is a framed landscape sheet with the title block and the
// margin's graphs; the loads shown in the window go with it, and its notes stay on its sheet.
void SpanTableTest::pdfFramedWithTheLoadsAndTheNotesOnOneSheet()
{
    Open();
    Table().SetRows({{"89", "3"}, {"325", "8"}});
    Table().findChild<QCheckBox*>(QStringLiteral("ShowSupportLoads"))->setChecked(true);
    F->Model().SetDocument({.Object = "Газопровод", .Designation = "123-2026-ГСН.ТП", .Organization = "ООО «Газпроект»",
                            .Author = "Иванов", .OriginalInventory = "5678"});
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("таблица.pdf"));
    QCOMPARE(Table().WritePdf(pdf), QString());
    const auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).simplified();
    };
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QStringLiteral("Pages: 1 ")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Page size: 842 x 595 pts (A4)")), qPrintable(info));
    const QString text = run(QStringLiteral(PDFTOTEXT), {pdf, QStringLiteral("-")});
    const int row = RowOf(QStringLiteral("89"), QStringLiteral("3"));
    for (const QString& expected : {QStringLiteral("123-2026-ГСН.ТП"), QStringLiteral("Листов"), QStringLiteral("Иванов"),
                                    QStringLiteral("Таблица допустимых пролетов надземного газопровода"),
                                    QStringLiteral("Инв. № подл."), QStringLiteral("5678"),
                                    QStringLiteral("СП: опора, вертикальная, Н"), Cell(row, 12), Cell(row, 17),
                                    QStringLiteral("трение μ·k·q·L при μ = 0,3."), QStringLiteral("Примечания"),
                                    QStringLiteral("1. 325×8, СП 42-102-2004: внутренний диаметр 309 мм больше 300 мм")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + text));
    // Without a designation: 2 cm margins, no frame, no loads when the window hides them.
    Table().findChild<QCheckBox*>(QStringLiteral("ShowSupportLoads"))->setChecked(false);
    F->Model().SetDocument({});
    QCOMPARE(Table().WritePdf(pdf), QString());
    const QString plain = run(QStringLiteral(PDFTOTEXT), {pdf, QStringLiteral("-")});
    QVERIFY(!plain.contains(QStringLiteral("Листов")));
    QVERIFY(!plain.contains(QStringLiteral("опора")));
    QVERIFY(plain.contains(QStringLiteral("Лист 1")));
}

void SpanTableTest::failedWritesNameTheFileAndLeaveNothing()
{
    Open();
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("нет/таблица.csv"));
    QCOMPARE(Table().WriteCsv(missing), QStringLiteral("Не удалось сохранить файл «%1»: папка %2 не существует.")
                                            .arg(missing, folder.filePath(QStringLiteral("нет"))));
    QVERIFY(!QFile::exists(missing));
    // A name taken by a folder: the folder stays, nothing else appears beside it.
    const QString taken = folder.filePath(QStringLiteral("занято"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("занято")));
    QCOMPARE(Table().WriteCsv(taken), QStringLiteral("Не удалось сохранить файл «%1»: это имя занято папкой.").arg(taken));
    QVERIFY(Table().WritePdf(taken).startsWith(QStringLiteral("Не удалось сохранить файл «%1»: ").arg(taken)));
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"занято"});
}

void SpanTableTest::rowsAndPlaceKeptBetweenSessions()
{
    Open();
    Table().SetRows({{"32", "2,5"}, {"89", "3"}});
    Table().setGeometry(120, 140, 900, 380);
    Table().close();
    F.reset();
    F = std::make_unique<MainWindowFixture>();
    QCOMPARE(Table().Rows(), (std::vector<korvelin::PipeSize>{{"32", "2,5"}, {"89", "3"}}));
    QCOMPARE(Table().size(), QSize(900, 380));
    Open();
    QCOMPARE(Spans(0), (QStringList{"10,454", "1,120", "2,828", "5,098", "7,692", "4,606"}));
}

void SpanTableTest::rowsKeptInTheInputSetFile()
{
    QTemporaryDir folder;
    QSettings recent(folder.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    FixedFileDialogs dialogs;
    dialogs.Path = folder.filePath(QStringLiteral("участок.korvelin"));
    F.reset();
    F = std::make_unique<MainWindowFixture>(QStringLiteral(","), &dialogs, &recent);
    InputSetDocument& document = F->Document();
    Table().SetRows({{"32", "2,5"}, {"89", "3"}});
    QVERIFY(document.SaveAs());
    QFile file(dialogs.Path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("\"pipeTable\""));
    QVERIFY(!document.IsModified());

    // A change of the rows is a change of the file.
    Table().RestoreDefaults();
    QVERIFY(document.IsModified());
    QVERIFY(document.OpenFile(dialogs.Path));
    QCOMPARE(Table().Rows(), (std::vector<korvelin::PipeSize>{{"32", "2,5"}, {"89", "3"}}));
    // A set without a table ("Новый") leaves the rows as they are.
    document.New();
    QCOMPARE(Table().Rows().size(), std::size_t(2));
    // The windows go before the settings and dialogs they were given.
    VERIFY_NO_UNEXPECTED_BOX(F->Sink);
    F = std::make_unique<MainWindowFixture>();
}

// "Записка по таблице труб…": one note of the table's pipes under the main window's conditions
// and document fields, its commands enabled while a row is computed.
void SpanTableTest::noteOfAllPipesFromItsButton()
{
    Open();
    auto* button = Table().findChild<QPushButton*>(QStringLiteral("PipesNote"));
    QVERIFY(button != nullptr && button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Записка по таблице труб…"));
    QStringList items;
    for (QAction* action : button->menu()->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{"Сохранить в PDF…", "Сохранить в ODT…", "Печать…"}));

    korvelin::DocumentFields fields;
    fields.Designation = "123-2026-ГСН.РР";
    F->Model().SetDocument(fields);
    Table().SetRows({{"57", "3"}, {"108", "4"}, {"159", "4,5"}});
    QVERIFY(Table().PipesNote().SavePdfAction()->isEnabled());
    const korvelin::NoteDocument note = Table().Note(true);
    QVERIFY(note.TitleBlock.has_value());
    QCOMPARE(note.TitleBlock->Designation, std::string("123-2026-ГСН.РР"));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("трубы.pdf"));
    QVERIFY(Table().PipesNote().SavePdfTo(path));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {path, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char* words : {"3 Труба 57×3", "4 Труба 108×4", "5 Труба 159×4,5", "6 Сводная таблица труб"})
        QVERIFY2(text.contains(QString::fromUtf8(words)), words);

    // No row computed: no note.
    Table().SetRows({{"57", "30"}});
    for (QAction* action : button->menu()->actions())
        QVERIFY(!action->isEnabled());
    QVERIFY(!Table().PipesNote().SavePdfTo(path + QStringLiteral(".2")));
}

QTEST_MAIN(SpanTableTest)
#include "tst_SpanTable.moc"
