// The error report of the event handlers and the message boxes of the program.

#include "ErrorReport.h"
#include "MessageSink.h"
#include "RecordingSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <new>
#include <stdexcept>

class ErrorReportTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { VERIFY_NO_UNEXPECTED_BOX(Sink); }

    void finalStopFollowsTheLastCharacter_data();
    void finalStopFollowsTheLastCharacter();
    void guardShowsWhatTheHandlerThrew_data();
    void guardShowsWhatTheHandlerThrew();
    void guardShowsNothingWhenTheHandlerSucceeds();
    void guardKeepsWhatTheHandlerDidBeforeTheError();
    void dialogBoxesCarryTheApplicationTitle_data();
    void dialogBoxesCarryTheApplicationTitle();

private:
    RecordingSink Sink;
};

void ErrorReportTest::finalStopFollowsTheLastCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "No such file or directory" << "No such file or directory.";
    QTest::newRow("ends in a digit") << "JPEG error #53" << "JPEG error #53.";
    QTest::newRow("ends in a Cyrillic letter") << "Введены не все данные" << "Введены не все данные.";
    QTest::newRow("ends in a full stop") << "Done." << "Done.";
    QTest::newRow("ends in a quote (sorts before)") << "'x' is not \"y\"" << "'x' is not \"y\"";
    QTest::newRow("ends in a bracket (sorts before)") << "value (m)" << "value (m)";
    QTest::newRow("ends in a hyphen (sorts before)") << "a-" << "a-";
    QTest::newRow("ends in a slash (sorts after)") << "path/" << "path/.";
    QTest::newRow("ends in a blank (sorts before)") << "text " << "text ";
    QTest::newRow("empty") << "" << "";
}

void ErrorReportTest::finalStopFollowsTheLastCharacter()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(WithFinalStop(text), shown);
}

void ErrorReportTest::guardShowsWhatTheHandlerThrew_data()
{
    QTest::addColumn<std::function<void()>>("handler");
    QTest::addColumn<QString>("shown");
    QTest::newRow("command error")
        << std::function<void()>([] { throw CommandError(QStringLiteral("JPEG error #53")); }) << "JPEG error #53.";
    QTest::newRow("command error with file name")
        << std::function<void()>([] { throw CommandError(QStringLiteral("Cannot open file \"/a/Карты/1.jpg\". No such file or directory")); })
        << "Cannot open file \"/a/Карты/1.jpg\". No such file or directory.";
    QTest::newRow("standard exception")
        << std::function<void()>([] { throw std::runtime_error("Floating point overflow"); }) << "Floating point overflow.";
    QTest::newRow("out of memory") << std::function<void()>([] { throw std::bad_alloc(); }) << "Out of memory.";
    QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << "Unknown error.";
}

void ErrorReportTest::guardShowsWhatTheHandlerThrew()
{
    QFETCH(std::function<void()>, handler);
    QFETCH(QString, shown);
    RunGuarded(Sink, handler);
    QCOMPARE(Sink.TakeErrors(), QStringList{shown});
    QVERIFY(Sink.TakeMessages().isEmpty());
}

void ErrorReportTest::guardShowsNothingWhenTheHandlerSucceeds()
{
    int runs = 0;
    RunGuarded(Sink, [&runs] { ++runs; });
    QCOMPARE(runs, 1);
}

void ErrorReportTest::guardKeepsWhatTheHandlerDidBeforeTheError()
{
    QStringList done;
    RunGuarded(Sink, [&done] {
        done << QStringLiteral("first");
        throw CommandError(QStringLiteral("stop"));
        done << QStringLiteral("never");
    });
    QCOMPARE(done, QStringList{QStringLiteral("first")});
    QCOMPARE(Sink.TakeErrors(), QStringList{QStringLiteral("stop.")});
}

void ErrorReportTest::dialogBoxesCarryTheApplicationTitle_data()
{
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("icon");
    QTest::newRow("message") << false << int(QMessageBox::NoIcon);
    QTest::newRow("error") << true << int(QMessageBox::Critical);
}

void ErrorReportTest::dialogBoxesCarryTheApplicationTitle()
{
    QFETCH(bool, error);
    QFETCH(int, icon);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Korvelin"));
    const QString text = QStringLiteral("<b>Cannot open file \"1.jpg\"</b>");

    QString caption;
    QString shownText;
    int shownIcon = -1;
    int buttons = 0;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        shownText = box->text();
        shownIcon = box->icon();
        buttons = int(box->buttons().size());
        QCOMPARE(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Ok)->click();
    });
    DialogMessageSink sink;
    error ? sink.ShowError(text) : sink.ShowMessage(text);

    QCOMPARE(caption, QStringLiteral("Korvelin"));
    QCOMPARE(shownText, text);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(buttons, 1);
}

QTEST_MAIN(ErrorReportTest)
#include "tst_ErrorReport.moc"
