// The intermediate-data window: its frame, its read-only report box, and how the main window
// fills and empties it.

#include "MainWindowTestCase.h"

#include <QScrollBar>
#include <QWheelEvent>


class ReportWindowTest : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void windowAtCreation();
    void reportBoxIsForReadingOnly();
    void closingOnlyHides();
    void everyRunReplacesTheReport();
};

void ReportWindowTest::windowAtCreation()
{
    TProletTEMP& window = F->ProletTEMP();
    QVERIFY(window.isHidden());
    QCOMPARE(window.windowTitle(), QStringLiteral("Промежуточный данные расчета и принятые коэффициенты"));
    QCOMPARE(window.pos(), QPoint(406, 375));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(665, 446));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.Memo1->geometry(), QRect(0, 0, 665, 446));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(F->Report(), QString());
    QCOMPARE(F->ReportLines(), 1);
}

void ReportWindowTest::reportBoxIsForReadingOnly()
{
    F->Calculate();
    TProletTEMP& window = F->ProletTEMP();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit* memo = window.Memo1;
    QVERIFY(!memo->isEnabled());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // Neither a drag, nor the keyboard, nor the wheel selects, changes or scrolls the text.
    const QString report = F->Report();
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(memo->viewport(), QPoint(300, 200));
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(!memo->textCursor().hasSelection());
    QTest::keyClicks(memo, QStringLiteral("x"));
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!memo->textCursor().hasSelection());
    QWheelEvent wheel(QPointF(50, 50), memo->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(memo->viewport(), &wheel);
    QCOMPARE(memo->verticalScrollBar()->value(), 0);
    QCOMPARE(F->Report(), report);
    QVERIFY(memo->hasFocus() == false);
}

void ReportWindowTest::closingOnlyHides()
{
    TProletTEMP& window = F->ProletTEMP();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.close());
    QVERIFY(window.isHidden());
    QVERIFY(!window.testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(F->Form().isVisible());
}

void ReportWindowTest::everyRunReplacesTheReport()
{
    F->Calculate();
    QCOMPARE(F->ReportLines(), 26);
    // A refused run leaves its three lines, not the 26 of the run before.
    F->Pick("ComboBox3", 8);
    F->Calculate();
    QCOMPARE(F->Sink.TakeMessages(), QStringList{"Введены не все данные"});
    QCOMPARE(F->ReportLines(), 3);
    F->Pick("ComboBox3", 0);
    F->Calculate();
    QCOMPARE(F->ReportLines(), 26);
}

QTEST_MAIN(ReportWindowTest)
#include "tst_ReportWindow.moc"
