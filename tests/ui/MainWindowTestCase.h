#pragma once

// The set-up every window test of the main window shares: Qt's test folders in place of the
// user's, a fresh MainWindowFixture before each test function, and after it a check that no
// unexpected message box was left, then the windows closed. A test class derives from MainWindowTestCase and declares only its own test slots.

#include "MainWindowFixture.h"

#include <QObject>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>

#include <memory>

class MainWindowTestCase : public QObject
{
    Q_OBJECT

protected:
    // Starts the windows again with another decimal separator, for tests of the other locale.
    void Restart(const QString& decimalSeparator)
    {
        F.reset();
        F = std::make_unique<MainWindowFixture>(decimalSeparator);
    }

    // Opens a menu of the bar with the mouse and clicks one of its entries.
    void ChooseMenuEntry(const char* barItem, const char* entry)
    {
        auto* bar = F->Find<QMenuBar>("MainMenu1");
        auto* menu = F->Find<QMenu>(barItem);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        auto* action = F->Find<QAction>(entry);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY(!menu->isVisible());
    }

    // Shows a page of the results with a click on its tab.
    void ShowPage(int index)
    {
        auto* tabs = F->Find<QTabWidget>("PageControl1");
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }

    std::unique_ptr<MainWindowFixture> F;

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true); // no file of the tester's own folders
        F = std::make_unique<MainWindowFixture>();
    }
    void cleanup()
    {
        VERIFY_NO_UNEXPECTED_BOX(F->Sink);
        F.reset();
    }
};
