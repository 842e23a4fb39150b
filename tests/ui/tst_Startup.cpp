// Start-up as the program does it: the title of every box, the three windows, and the user's
// decimal separator reaching the results.

#include "MainWindowFixture.h"
#include "Startup.h"

#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void titleIsTheCaptionOfEveryBox();
    void onlyTheMainWindowIsShown();
    void resultsUseTheUserSeparator();
};

void StartupTest::titleIsTheCaptionOfEveryBox()
{
    SetApplicationTitle();
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Korvelin"));
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            box->accept();
        }
    });
    DialogMessageSink sink;
    sink.ShowMessage(QStringLiteral("Версия 1.0"));
    QCOMPARE(caption, QStringLiteral("Korvelin"));
}

void StartupTest::onlyTheMainWindowIsShown()
{
    SetApplicationTitle();
    MainWindowFixture f(UserDecimalSeparator());
    QVERIFY(f.Form().isVisible());
    QVERIFY(!f.LookMap().isVisible());
    QVERIFY(!f.ProletTEMP().isVisible());
    QCOMPARE(f.Form().windowTitle(), QStringLiteral("Расчет среднего пролета для трубопровода (газопровода)"));
    VERIFY_NO_UNEXPECTED_BOX(f.Sink);
}

void StartupTest::resultsUseTheUserSeparator()
{
    const QString separator = UserDecimalSeparator();
    QCOMPARE(separator, QLocale::system().decimalPoint());
    MainWindowFixture f(separator);
    f.Calculate();
    QCOMPARE(f.Text("Edit6"), QStringLiteral("18") + separator + QStringLiteral("441"));
    VERIFY_NO_UNEXPECTED_BOX(f.Sink);
}

QTEST_MAIN(StartupTest)
#include "tst_Startup.moc"
