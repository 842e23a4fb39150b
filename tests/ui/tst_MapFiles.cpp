// Where the viewer looks for the map files: the user's own folder, beside the program, installed.

#include "MapFiles.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class MapFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(Root.isValid());
    }
    void cleanup() { QDir(UserMapFolder()).removeRecursively(); }
    void findsTheMapBesideOrInstalledOrNamesTheFirstPlace_data();
    void findsTheMapBesideOrInstalledOrNamesTheFirstPlace();
    void userFolderComesFirst();
    void onlyMapsOneToThreeHaveFiles();

private:
    void Touch(const QString& relative);
    QTemporaryDir Root;
};

void MapFilesTest::Touch(const QString& relative)
{
    const QString path = Root.filePath(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void MapFilesTest::findsTheMapBesideOrInstalledOrNamesTheFirstPlace_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<int>("map");
    QTest::addColumn<QString>("found");
    QTest::newRow("beside the program") << "a" << QStringList{"a/bin/Карты/1.jpg"} << 1 << "a/bin/Карты/1.jpg";
    QTest::newRow("beside wins over installed")
        << "b" << QStringList{"b/bin/Карты/2.jpg", "b/share/korvelin/Карты/2.jpg"} << 2 << "b/bin/Карты/2.jpg";
    QTest::newRow("installed data folder")
        << "c" << QStringList{"c/share/korvelin/Карты/3.jpg"} << 3 << "c/share/korvelin/Карты/3.jpg";
    QTest::newRow("other map beside, this one installed")
        << "d" << QStringList{"d/bin/Карты/1.jpg", "d/share/korvelin/Карты/2.jpg"} << 2 << "d/share/korvelin/Карты/2.jpg";
    QTest::newRow("nowhere: the first place") << "e" << QStringList{} << 1 << "e/bin/Карты/1.jpg";
    QTest::newRow("folder without the map: the first place")
        << "f" << QStringList{"f/bin/Карты/2.jpg"} << 3 << "f/bin/Карты/3.jpg";
}

void MapFilesTest::findsTheMapBesideOrInstalledOrNamesTheFirstPlace()
{
    QFETCH(QString, prefix);
    QFETCH(QStringList, present);
    QFETCH(int, map);
    QFETCH(QString, found);
    for (const QString& file : present)
        Touch(file);
    QVERIFY(QDir().mkpath(Root.filePath(prefix + QStringLiteral("/bin"))));
    QCOMPARE(MapFilePath(Root.filePath(prefix + QStringLiteral("/bin")), map), QDir::toNativeSeparators(Root.filePath(found)));
}

void MapFilesTest::userFolderComesFirst()
{
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Карты");
    QVERIFY(own.contains(QStringLiteral("/.qttest/"))); // never the tester's own maps
    QCOMPARE(UserMapFolder(), own);
    QCOMPARE(UserMapFile(3), own + QStringLiteral("/3.jpg"));
    for (const char* file : {"u/bin/Карты/1.jpg", "u/share/korvelin/Карты/1.jpg", "u/bin/Карты/2.jpg"})
        Touch(QString::fromUtf8(file));
    QVERIFY(QDir().mkpath(own));
    QFile copy(own + QStringLiteral("/1.jpg"));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.close();
    const QString bin = Root.filePath(QStringLiteral("u/bin"));
    QCOMPARE(MapFilePath(bin, 1), own + QStringLiteral("/1.jpg")); // wins over beside and installed
    QCOMPARE(MapFilePath(bin, 2), Root.filePath(QStringLiteral("u/bin/Карты/2.jpg"))); // only map 1 replaced
    // Nowhere at all: the error names the place beside the program, not the user's folder.
    QCOMPARE(MapFilePath(bin, 3), Root.filePath(QStringLiteral("u/bin/Карты/3.jpg")));
    QVERIFY(copy.remove());
    QCOMPARE(MapFilePath(bin, 1), Root.filePath(QStringLiteral("u/bin/Карты/1.jpg")));
}

void MapFilesTest::onlyMapsOneToThreeHaveFiles()
{
    for (const int n : {0, 4, -1, 1000}) {
        QVERIFY(MapFilePath(Root.path(), n).isEmpty());
        QVERIFY(UserMapFile(n).isEmpty());
    }
    QCOMPARE(MapFileCandidates(QStringLiteral("/opt/k/bin"), 2),
             (QStringList{UserMapFolder() + QStringLiteral("/2.jpg"), QStringLiteral("/opt/k/bin/Карты/2.jpg"),
                          QStringLiteral("/opt/k/share/korvelin/Карты/2.jpg")}));
}

QTEST_MAIN(MapFilesTest)
#include "tst_MapFiles.moc"
