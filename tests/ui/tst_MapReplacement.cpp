// The map viewer's context menu: the user's own map in place of the program's, and back.

#include "ErrorReport.h"
#include "JpegLoader.h"
#include "JpegWriter.h"
#include "LMAP.h"
#include "MapFiles.h"
#include "MapImage.h"
#include "MapReplacement.h"
#include "RecordingSink.h"
#include "SamplePictures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <memory>

class MapReplacementTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rightButtonOffersBothEntries();
    void replacedMapIsCopiedAndShownThenRestored();
    void replacingAgainOverwritesTheCopy();
    void unreadablePictureIsRefused_data();
    void unreadablePictureIsRefused();
    void cancelledChoiceChangesNothing();
    void copyThatCannotBeWrittenIsReported();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QMenu* OpenMenu();
    void Choose(const char* entry);
    QByteArray UserCopy(int n) const;

    RecordingSink Sink;
    std::unique_ptr<TLookMap> Map;
    MapReplacement* Replacement = nullptr;
    QTemporaryDir Temp;
    QString Program; // the program's folder, with its own generated-like maps
    QString Chosen;  // what the file chooser answers
    int Asked = 0;   // how many times the chooser was asked
};

void MapReplacementTest::initTestCase()
{
    std::setlocale(LC_MESSAGES, "C"); // the system's descriptions of errors in English
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(Temp.isValid());
    Program = Temp.filePath(QStringLiteral("bin"));
    // The program's own maps: plain grey pictures of 300 × 200.
    QImage grey(300, 200, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    for (int n = 1; n <= 3; ++n)
        QVERIFY(!Write(QStringLiteral("bin/Карты/%1.jpg").arg(n), EncodeJpeg(grey)).isEmpty());
}

void MapReplacementTest::init()
{
    QDir(UserMapFolder()).removeRecursively();
    QFile::remove(UserMapFolder()); // a file left in the folder's place by a test
    Map = std::make_unique<TLookMap>(Sink);
    Map->SetProgramFolder(Program);
    Replacement = Map->findChild<MapReplacement*>();
    QVERIFY(Replacement != nullptr);
    Asked = 0;
    Replacement->SetFileChooser([this](QWidget* parent) {
        ++Asked;
        return parent == Map.get() ? Chosen : QString();
    });
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Map->LoadMap(2);
    QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
}

void MapReplacementTest::cleanup()
{
    Map.reset();
    QDir(UserMapFolder()).removeRecursively();
    QFile::remove(UserMapFolder());
    VERIFY_NO_UNEXPECTED_BOX(Sink);
}

QString MapReplacementTest::Write(const QString& name, const QByteArray& bytes)
{
    const QString path = Temp.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// A click of the right button over the map, as the window system delivers it.
QMenu* MapReplacementTest::OpenMenu()
{
    QWidget* over = Map->Image1;
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 40), over->mapToGlobal(QPoint(40, 40)));
    QApplication::sendEvent(over, &event);
    auto* menu = Map->findChild<QMenu*>(QStringLiteral("MapMenu"));
    if (menu != nullptr && !QTest::qWaitFor([menu] { return menu->isVisible(); }))
        return nullptr;
    return menu;
}

void MapReplacementTest::Choose(const char* entry)
{
    QMenu* menu = OpenMenu();
    QVERIFY(menu != nullptr);
    auto* action = Map->findChild<QAction*>(QString::fromLatin1(entry));
    QVERIFY(action != nullptr);
    QVERIFY(action->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    QTRY_VERIFY(!menu->isVisible());
}

QByteArray MapReplacementTest::UserCopy(int n) const
{
    QFile file(UserMapFile(n));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MapReplacementTest::rightButtonOffersBothEntries()
{
    QMenu* menu = OpenMenu();
    QVERIFY(menu != nullptr);
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << action->text();
    QCOMPARE(entries, (QStringList{"Заменить карту…", "Восстановить исходную карту"}));
    QVERIFY(menu->actions().at(0)->isEnabled());
    QVERIFY(!menu->actions().at(1)->isEnabled()); // nothing to restore yet
    menu->close();
    // Before any map is shown there is nothing to replace.
    Map = std::make_unique<TLookMap>(Sink);
    menu = OpenMenu();
    QVERIFY(menu != nullptr);
    QVERIFY(!menu->actions().at(0)->isEnabled());
    QVERIFY(!menu->actions().at(1)->isEnabled());
    menu->close();
}

void MapReplacementTest::replacedMapIsCopiedAndShownThenRestored()
{
    const QByteArray official = EncodeJpeg(QuadrantPicture(800, 600));
    Chosen = Write(QStringLiteral("official/wind.jpeg"), official);
    Choose("ReplaceMap");
    QCOMPARE(Asked, 1);
    // Copied byte for byte under the map's name, nothing else left in the folder.
    QCOMPARE(UserCopy(2), official);
    QCOMPARE(QDir(UserMapFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"2.jpg"});
    QVERIFY(!QFileInfo::exists(UserMapFile(1)));
    // Shown at once, and found again by the next "?" (the program's own map stays as it was).
    QCOMPARE(Map->Image1->Picture().size(), QSize(800, 600));
    QVERIFY(CloseColour(Map->Image1->Picture().pixelColor(10, 10), TopLeftColour));
    Map->LoadMap(1);
    QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
    Map->LoadMap(2);
    QCOMPARE(Map->Image1->Picture().size(), QSize(800, 600));
    QCOMPARE(LoadJpegFile(Program + QStringLiteral("/Карты/2.jpg")).size(), QSize(300, 200));

    Choose("RestoreMap");
    QVERIFY(!QFileInfo::exists(UserMapFile(2)));
    QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
    QMenu* menu = OpenMenu();
    QVERIFY(!Map->findChild<QAction*>(QStringLiteral("RestoreMap"))->isEnabled());
    menu->close();
}

void MapReplacementTest::replacingAgainOverwritesTheCopy()
{
    Chosen = Write(QStringLiteral("first.jpg"), EncodeJpeg(QuadrantPicture(400, 400)));
    Choose("ReplaceMap");
    const QByteArray second = EncodeJpeg(QuadrantPicture(640, 480));
    Chosen = Write(QStringLiteral("second.jpg"), second);
    Choose("ReplaceMap");
    QCOMPARE(UserCopy(2), second);
    QCOMPARE(Map->Image1->Picture().size(), QSize(640, 480));
    QCOMPARE(QDir(UserMapFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"2.jpg"});
}

void MapReplacementTest::unreadablePictureIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::newRow("not a JPEG") << QByteArray("GIF89a, not a picture of this kind") << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("no such file") << QByteArray() << false;
}

void MapReplacementTest::unreadablePictureIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    // A copy from an earlier replacement stays as it was.
    const QByteArray earlier = EncodeJpeg(QuadrantPicture(500, 300));
    Chosen = Write(QStringLiteral("earlier.jpg"), earlier);
    Choose("ReplaceMap");
    Chosen = exists ? Write(QStringLiteral("bad.jpg"), bytes) : Temp.filePath(QStringLiteral("missing.jpg"));
    QString loaderMessage;
    try {
        LoadJpegFile(Chosen);
    } catch (const CommandError& error) {
        loaderMessage = WithFinalStop(error.message());
    }
    QVERIFY(!loaderMessage.isEmpty());
    Choose("ReplaceMap");
    QCOMPARE(Sink.TakeErrors(), QStringList{loaderMessage});
    QCOMPARE(UserCopy(2), earlier);
    QCOMPARE(Map->Image1->Picture().size(), QSize(500, 300));
}

void MapReplacementTest::cancelledChoiceChangesNothing()
{
    Chosen.clear();
    Choose("ReplaceMap");
    QCOMPARE(Asked, 1);
    QVERIFY(!QFileInfo::exists(UserMapFolder()));
    QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
}

void MapReplacementTest::copyThatCannotBeWrittenIsReported()
{
    // A file stands where the user's folder of maps would be created.
    QVERIFY(QDir().mkpath(QFileInfo(UserMapFolder()).path()));
    QFile blocker(UserMapFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Chosen = Write(QStringLiteral("good.jpg"), EncodeJpeg(QuadrantPicture(200, 100)));
    Choose("ReplaceMap");
    QCOMPARE(Sink.TakeErrors(), QStringList{QStringLiteral("Не удалось создать папку «%1».").arg(UserMapFolder())});
    QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
}

QTEST_MAIN(MapReplacementTest)
#include "tst_MapReplacement.moc"
