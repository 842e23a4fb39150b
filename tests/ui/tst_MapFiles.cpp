// Where the viewer looks for the map files.

#include "MapFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class MapFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Root.isValid()); }
    void findsTheMapBesideOrInstalledOrNamesTheFirstPlace_data();
    void findsTheMapBesideOrInstalledOrNamesTheFirstPlace();
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

void MapFilesTest::onlyMapsOneToThreeHaveFiles()
{
    for (const int n : {0, 4, -1, 1000})
        QVERIFY(MapFilePath(Root.path(), n).isEmpty());
    QCOMPARE(MapFileCandidates(QStringLiteral("/opt/k/bin"), 2),
             (QStringList{QStringLiteral("/opt/k/bin/Карты/2.jpg"), QStringLiteral("/opt/k/share/korvelin/Карты/2.jpg")}));
}

QTEST_MAIN(MapFilesTest)
#include "tst_MapFiles.moc"
