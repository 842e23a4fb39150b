// The page "Итог": filled by a calculation, emptied by any input change, recomputed as its two
// fields are typed; the governing results in bold; the note's commands in "Файл".

#include "MainWindowFixture.h"
#include "CalculationNoteCommands.h"
#include "SummaryPage.h"

#include <QClipboard>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

class SummaryPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { F = std::make_unique<MainWindowFixture>(); }
    void cleanup()
    {
        VERIFY_NO_UNEXPECTED_BOX(F->Sink);
        F.reset();
    }

    void saysCalculateFirst();
    void calculationFillsThePageAndMarksTheGoverningFields();
    void fieldsRecomputeAtOnceAndInputChangesReset();
    void refusedTextsAreReportedAndShowNothing_data();
    void refusedTextsAreReportedAndShowNothing();
    void keyFilterOfTheFields();
    void savedNoteHoldsEveryNumberOfTheWindow();
    void unwritablePdfIsReported();
    void copyPutsTabSeparatedLines();

private:
    TSummaryPage& Page() { return *F->Form().findChild<TSummaryPage*>(); }
    QTableWidget* Table() { return F->Find<QTableWidget>("SummaryTable"); }
    QString Status() { return F->Find<QLabel>("SummaryStatus")->text(); }
    QString Notice() { return F->Find<QLabel>("SummaryNotice")->text(); }
    QStringList Row(int row)
    {
        QStringList cells;
        for (int column = 0; column < Table()->columnCount(); ++column) {
            const QTableWidgetItem* item = Table()->item(row, column);
            cells << (item != nullptr ? item->text() : QString());
        }
        return cells;
    }
    bool Bold(const char* field) { return F->Edit(field)->font().bold(); }
    void ShowPage()
    {
        auto* pages = F->Find<QTabWidget>("PageControl1");
        pages->setCurrentIndex(2);
    }
    QList<bool> ActionsEnabled()
    {
        return {F->Note().SavePdfAction()->isEnabled(), F->Note().PrintAction()->isEnabled(),
                F->Note().CopyAction()->isEnabled()};
    }

    std::unique_ptr<MainWindowFixture> F;
};

void SummaryPageTest::saysCalculateFirst()
{
    ShowPage();
    QCOMPARE(Status(), QStringLiteral("Выполните расчет"));
    QCOMPARE(Table()->rowCount(), 0);
    QCOMPARE(ActionsEnabled(), (QList<bool>{false, false, false}));
    QCOMPARE(F->Note().SavePdfAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    QCOMPARE(F->Note().PrintAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    QCOMPARE(F->Note().CopyAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    // A refused calculation and one a fault ended say so, with the message and the cause.
    F->Retype("Edit3", QStringLiteral("0"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages().size(), 1);
    QCOMPARE(Status(), QString());
    QCOMPARE(Notice(), QStringLiteral("Расчет не выполнен: Введены не все данные — равно нулю поле «Толщина стенки "
                                      "трубы»."));
    QCOMPARE(ActionsEnabled(), (QList<bool>{false, false, false}));
    F->Retype("Edit3", QStringLiteral("3,2"));
    QCOMPARE(Status(), QStringLiteral("Выполните расчет"));
    QVERIFY(F->Find<QLabel>("SummaryNotice")->isHidden());
    F->Retype("Edit1", QStringLiteral("9"));
    F->Calculate();
    QCOMPARE(F->Sink.TakeErrors().size(), 1);
    QCOMPARE(Notice(), QStringLiteral("Расчет прерван ошибкой: Invalid floating point operation — давление слишком "
                                      "велико для этой толщины стенки (статический расчет на прочность по "
                                      "СНиП 2.04.12-86)."));
    QCOMPARE(Table()->rowCount(), 0);
}

void SummaryPageTest::calculationFillsThePageAndMarksTheGoverningFields()
{
    F->Calculate();
    QCOMPARE(ActionsEnabled(), (QList<bool>{true, true, true}));
    QCOMPARE(Table()->rowCount(), 8);  // two sets of rules and their six criteria
    QCOMPARE(Row(0).mid(0, 2), (QStringList{"СП 42-102-2004: определяющий", "3,122"}));
    QCOMPARE(Row(2).mid(0, 2), (QStringList{"    динамический расчет на прочность", "3,122"}));
    QVERIFY(Table()->item(2, 0)->font().bold());
    QVERIFY(!Table()->item(1, 0)->font().bold());
    QCOMPARE(Row(5).mid(0, 2), (QStringList{"СНиП 2.04.12-86: определяющий", "9,189"}));
    QVERIFY(Table()->item(7, 1)->font().bold());
    QCOMPARE(Status(), QString());
    // On the other two pages: the dynamic span and the SNiP deflection span.
    const QList<bool> bold{Bold("Edit6"), Bold("Edit7"), Bold("Edit8"),
                           Bold("Edit9"), Bold("Edit11"), Bold("Edit13")};
    QCOMPARE(bold, (QList<bool>{false, true, false, false, false, true}));
    QCOMPARE(F->Note().SuggestedPdfName(), QStringLiteral("Пролет 89x3,2.pdf"));
}

void SummaryPageTest::fieldsRecomputeAtOnceAndInputChangesReset()
{
    F->Calculate();
    ShowPage();
    F->Type("EditChosenSpan", QStringLiteral("3"));
    F->Type("EditRouteLength", QStringLiteral("100"));
    QCOMPARE(Table()->rowCount(), 8);
    // The route of 100 m is a beam of many spans: 100 / 2,073 = 48,2 → 49 spans.
    QCOMPARE(Row(0), (QStringList{"СП 42-102-2004: определяющий", "3,122", "", "проходит",
                                  "49", "48", "2,041"}));
    QCOMPARE(Row(2), (QStringList{"    динамический расчет на прочность", "3,122", "96,1",
                                  "проходит", "", "", ""}));
    QCOMPARE(Row(5), (QStringList{"СНиП 2.04.12-86: определяющий", "9,189", "",
                                  "проходит", "11", "10", "9,091"}));
    QCOMPARE(Status(), QStringLiteral("СП 42-102-2004: 49 пролетов по 2,041 м, пролет балки «>6» — 2,073 м "
                                      "(при «1» — 3,122 м)\n"
                                      "СНиП 2.04.12-86: 11 пролетов по 9,091 м, пролет балки «>6» — 9,189 м\n"
                                      "При принятом пролете: пролетов 34, опор 33, шаг 2,941 м"));

    // A chosen span above the dynamic span fails SP only, at once.
    F->Retype("EditChosenSpan", QStringLiteral("3,5"));
    QCOMPARE(Row(0).at(3), QStringLiteral("не проходит"));
    QCOMPARE(Row(2).mid(2, 2), (QStringList{"112,1", "не проходит"}));
    QCOMPARE(Row(5).at(3), QStringLiteral("проходит"));

    // Any input change empties the page and the bold marks; the two fields keep their texts.
    F->Pick("ComboBox2", 1);
    QCOMPARE(Status(), QStringLiteral("Выполните расчет"));
    QCOMPARE(Table()->rowCount(), 0);
    QCOMPARE(ActionsEnabled(), (QList<bool>{false, false, false}));
    QVERIFY(!Bold("Edit7") && !Bold("Edit13"));
    QCOMPARE(F->Text("EditChosenSpan"), QStringLiteral("3,5"));
    F->Calculate();
    QCOMPARE(Table()->rowCount(), 8);
    QCOMPARE(Row(2).mid(2, 2), (QStringList{"114,5", "не проходит"}));
    QVERIFY(Bold("Edit7"));
}

void SummaryPageTest::refusedTextsAreReportedAndShowNothing_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero span") << QByteArray("EditChosenSpan") << "0"
                               << "Принятый пролет не может быть равен нулю";
    QTest::newRow("span beyond") << QByteArray("EditChosenSpan") << "150"
                                 << "Принятый пролет должен быть от 0,001 до 100 м";
    QTest::newRow("zero route") << QByteArray("EditRouteLength") << ",0"
                                << "Длина участка трассы не может быть равна нулю";
    QTest::newRow("route beyond") << QByteArray("EditRouteLength") << "200000"
                                  << "Длина участка трассы должна быть от 0,001 до 100000 м";
}

void SummaryPageTest::refusedTextsAreReportedAndShowNothing()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    F->Calculate();
    ShowPage();
    F->Type(field.constData(), text);
    // Nothing is reported while typing; the page shows no check and no route for the text.
    QCOMPARE(F->Sink.TakeMessages(), QStringList());
    QCOMPARE(Table()->rowCount(), 8);
    QCOMPARE(Row(0).mid(2), QStringList(5, QString()));
    QTest::keyClick(F->Edit(field.constData()), Qt::Key_Return);
    QCOMPARE(F->Sink.TakeMessages(), QStringList{message});
    // Not reported again for the same text when the field loses the focus.
    F->Edit("Edit1")->setFocus();
    QCOMPARE(F->Sink.TakeMessages(), QStringList());
    QCOMPARE(Row(0).mid(0, 2), (QStringList{"СП 42-102-2004: определяющий", "3,122"}));
}

void SummaryPageTest::keyFilterOfTheFields()
{
    ShowPage();
    F->Type("EditChosenSpan", QStringLiteral("a3.5,7-e"));
    QCOMPARE(F->Text("EditChosenSpan"), QStringLiteral("3,57"));
    QTest::keyClick(F->Edit("EditChosenSpan"), Qt::Key_Backspace);
    QCOMPARE(F->Text("EditChosenSpan"), QStringLiteral("3,5"));
    // A paste obeys the same rules: a full stop is the decimal mark, a sign changes nothing.
    for (const QString& pasted : {QStringLiteral("12.5"), QStringLiteral("-3")}) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(F->Edit("EditChosenSpan"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(F->Edit("EditChosenSpan"), Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(F->Text("EditChosenSpan"), QStringLiteral("12,5"));
}

void SummaryPageTest::savedNoteHoldsEveryNumberOfTheWindow()
{
    F->Calculate();
    ShowPage();
    F->Type("EditChosenSpan", QStringLiteral("3"));
    F->Type("EditRouteLength", QStringLiteral("100"));
    QTemporaryDir dir;
    const QString path = dir.filePath(F->Note().SuggestedPdfName());
    QVERIFY(F->Note().SavePdfTo(path));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {path, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput())
                             .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    QStringList numbers = F->Results();
    for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
        numbers << F->Text(field);
    for (int row = 0; row < Table()->rowCount(); ++row)
        for (int column = 1; column < Table()->columnCount(); ++column)
            if (Table()->item(row, column) != nullptr && !Table()->item(row, column)->text().isEmpty())
                numbers << Table()->item(row, column)->text();
    for (const QString& line : F->Report().split(QLatin1Char('\n')))
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (word.front().isDigit())
                numbers << word;
    QVERIFY(numbers.size() > 50);
    for (const QString& number : numbers)
        QVERIFY2(text.contains(number), qPrintable(number));
    QVERIFY(text.contains(QStringLiteral("Проверка принятого пролета 3,000 м")));
}

void SummaryPageTest::unwritablePdfIsReported()
{
    F->Calculate();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("нет/Пролет.pdf"));
    QVERIFY(!F->Note().SavePdfTo(path));
    const QStringList errors = F->Sink.TakeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(path) && errors.front().contains(QStringLiteral("не существует")),
             qPrintable(errors.front()));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void SummaryPageTest::copyPutsTabSeparatedLines()
{
    F->Calculate();
    QGuiApplication::clipboard()->clear();
    F->Note().CopyAction()->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(1), QStringLiteral("СП 42-102-2004: Длина пролета исходя из динамического расчета на прочность\t3,122\tм"));
    QCOMPARE(lines.at(7), QStringLiteral("Определяющий пролет по СНиП 2.04.12-86 (предельный прогиб)\t9,189\tм"));
    // Without results the command does nothing.
    F->Retype("Edit1", QStringLiteral("1"));
    QVERIFY(!F->Note().CopyAction()->isEnabled());
}

QTEST_MAIN(SummaryPageTest)
#include "tst_SummaryPage.moc"
