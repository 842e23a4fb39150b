// The user guide: the entry at the top of "Справка", F1 from any window, and the guide's window.

#include "GuideWindow.h"
#include "MainWindowTestCase.h"

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
    void guideCoversEveryTopic();

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

void UserGuideTest::guideCoversEveryTopic()
{
    const QString guide = UserGuideText();
    // Every input and selection of the window by its caption, the six spans, the other windows
    // and the command line.
    const QStringList topics{
        "Наружный диаметр", "Толщина стенки трубы", "Давление в трубопроводе", "Марка стали",
        "Предел сопротивления", "Предел текучести", "в районе застройки высотой", "по снеговой нагрузке",
        "по ветровой нагрузке", "по гололедной нагрузке", "Количество пролетов", "Уклон трубопровода",
        "статический расчет на прочность", "динамический расчет на прочность",
        "условие возможности образования конденсата", "предельный допустимый прогиб",
        "Какой пролет принимать", "Технический лист", "Заменить карту…", "Восстановить исходную карту",
        "~/.local/share/Korvelin/Карты", "/usr/share/korvelin/Карты", "korvelin-calc",
        "## Итог расчета и записка", "## Файлы исходных данных", "## Таблица пролетов"};
    for (const QString& topic : topics)
        QVERIFY2(guide.contains(topic), qPrintable(topic));
}

QTEST_MAIN(UserGuideTest)
#include "tst_UserGuide.moc"
