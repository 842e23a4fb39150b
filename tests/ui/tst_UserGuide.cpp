// The user guide: the entry at the top of "Справка", F1 from any window, and the guide's window.

#include "GuideWindow.h"
#include "MainWindowTestCase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

class UserGuideTest : public MainWindowTestCase
{
    Q_OBJECT

private slots:
    void entryAtTheTopOfHelpWithF1();
    void f1ShowsTheGuide();
    void menuEntryShowsTheSameWindow();
    void f1FromTheOtherWindows();
    void feedbackPageMadeFromTheGuide();

private:
    GuideWindow* Guide() { return F->Form().findChild<GuideWindow*>(); }
};

void UserGuideTest::entryAtTheTopOfHelpWithF1()
{
    const QList<QAction*> entries = F->Find<QMenu>("N2")->actions();
    QVERIFY(!entries.isEmpty());
    QCOMPARE(entries.front()->objectName(), QStringLiteral("GuideEntry"));
    QCOMPARE(entries.front()->text(), QStringLiteral("Руководство пользователя"));
    QCOMPARE(entries.front()->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(Guide() == nullptr); // made at the first use
}

void UserGuideTest::f1ShowsTheGuide()
{
    F->Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F->Form()));
    QTest::keyClick(&F->Form(), Qt::Key_F1);
    GuideWindow* guide = Guide();
    QVERIFY(guide != nullptr);
    QTRY_VERIFY(guide->isVisible());
    QVERIFY(guide->isWindow());
    QCOMPARE(guide->windowTitle(), QStringLiteral("Руководство пользователя"));
    QTextDocument* text = guide->Browser->document();
    QCOMPARE(text->firstBlock().text(), QStringLiteral("Korvelin — руководство пользователя"));
    QCOMPARE(text->firstBlock().blockFormat().headingLevel(), 1);
    QVERIFY(guide->Browser->isReadOnly());
    // Closing only hides it; F1 shows the same window again.
    QVERIFY(guide->close());
    QVERIFY(guide->isHidden());
    F->Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F->Form()));
    QTest::keyClick(&F->Form(), Qt::Key_F1);
    QTRY_VERIFY(guide->isVisible());
    QCOMPARE(F->Form().findChildren<GuideWindow*>().size(), 1);
    // The main window goes on calculating as before.
    F->Calculate();
    QCOMPARE(F->Text("Edit7"), QStringLiteral("3,122"));
}

void UserGuideTest::menuEntryShowsTheSameWindow()
{
    ChooseMenuEntry("N2", "GuideEntry");
    GuideWindow* guide = Guide();
    QVERIFY(guide != nullptr);
    QTRY_VERIFY(guide->isVisible());
    guide->hide();
    ChooseMenuEntry("N2", "GuideEntry");
    QTRY_VERIFY(guide->isVisible());
    QCOMPARE(F->Form().findChildren<GuideWindow*>().size(), 1);
}

void UserGuideTest::f1FromTheOtherWindows()
{
    for (QWidget* window : {static_cast<QWidget*>(&F->ProletTEMP()), static_cast<QWidget*>(&F->LookMap())}) {
        if (Guide() != nullptr)
            Guide()->hide();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        QVERIFY(Guide() != nullptr);
        QTRY_VERIFY(Guide()->isVisible());
    }
}

// The page "Замечания и Предложения" opens: the guide's section, made into HTML at build time,
// found beside the program or where the package installs it.
void UserGuideTest::feedbackPageMadeFromTheGuide()
{
    const QString page = FeedbackPagePath(QCoreApplication::applicationDirPath());
    QCOMPARE(page, QCoreApplication::applicationDirPath() + QStringLiteral("/feedback.ru.html"));
    QFile file(page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument html;
    html.setHtml(QString::fromUtf8(file.readAll()));
    QCOMPARE(html.firstBlock().text(), QStringLiteral("Замечания и предложения"));
    const QString text = html.toPlainText();
    for (const char* part : {"korvelin@korvelin.example", "Версию программы и систему", "файл .korvelin",
                             "Что ожидали и что получилось", "руководстве пользователя"})
        QVERIFY2(text.contains(QString::fromUtf8(part)), part);
    // The section alone: the guide's other sections are on the whole page.
    QVERIFY(!text.contains(QStringLiteral("Как выполнить расчет")));

    QTemporaryDir installed;
    QVERIFY(QDir(installed.path()).mkpath(QStringLiteral("bin")));
    QCOMPARE(FeedbackPagePath(installed.filePath(QStringLiteral("bin"))), QString());
    QVERIFY(QDir(installed.path()).mkpath(QStringLiteral("share/doc/korvelin")));
    QVERIFY(QFile::copy(page, installed.filePath(QStringLiteral("share/doc/korvelin/feedback.ru.html"))));
    QCOMPARE(FeedbackPagePath(installed.filePath(QStringLiteral("bin"))),
             installed.filePath(QStringLiteral("share/doc/korvelin/feedback.ru.html")));
}

QTEST_MAIN(UserGuideTest)
#include "tst_UserGuide.moc"
