// The zoom arithmetic of the mouse wheel: exact sizes, rounding halves to even, the no-op cases.

#include "MapZoom.h"

#include <QtTest>

class MapZoomTest : public QObject
{
    Q_OBJECT

private slots:
    void zoomIn_data();
    void zoomIn();
    void zoomOut_data();
    void zoomOut();
};

namespace {

void AddColumns()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSize>("zoomed");
}

const QSize Area(702, 406);

} // namespace

void MapZoomTest::zoomIn_data()
{
    AddColumns();
    QTest::newRow("first step of the example: 877.5 and 507.5 to even") << QSize(702, 406) << Area << QSize(878, 508);
    QTest::newRow("second step of the example") << QSize(878, 508) << Area << QSize(1098, 635);
    QTest::newRow("12.5 goes down to even") << QSize(10, 10) << QSize(4, 4) << QSize(12, 12);
    QTest::newRow("tall, lower than the area: to the area's height") << QSize(100, 200) << Area << QSize(77, 406);
    QTest::newRow("tall, narrower than the area: to the area's width") << QSize(200, 600) << Area << QSize(702, 267);
    QTest::newRow("quotient 12.5 goes down to even") << QSize(24, 40) << QSize(1000, 120) << QSize(12, 120);
    QTest::newRow("tall, larger than the area both ways") << QSize(300, 500) << QSize(200, 300) << QSize(375, 625);
    QTest::newRow("last step under the limit") << QSize(12781, 7392) << Area << QSize(15976, 9240);
    QTest::newRow("width would pass 16384: nothing") << QSize(15976, 9240) << Area << QSize(15976, 9240);
    QTest::newRow("height would pass 16384: nothing") << QSize(9240, 15976) << Area << QSize(9240, 15976);
    QTest::newRow("side of exactly 16384 is allowed") << QSize(13107, 100) << Area << QSize(16384, 125);
    QTest::newRow("side of 16385 is not") << QSize(13108, 100) << Area << QSize(13108, 100);
    QTest::newRow("widget-size limit: nothing") << QSize(16777215, 16777215) << Area << QSize(16777215, 16777215);
    QTest::newRow("empty image stays empty") << QSize(0, 0) << Area << QSize(0, 0);
    QTest::newRow("empty area") << QSize(10, 10) << QSize(0, 0) << QSize(12, 12);
}

void MapZoomTest::zoomIn()
{
    QFETCH(QSize, image);
    QFETCH(QSize, area);
    QFETCH(QSize, zoomed);
    QCOMPARE(ZoomInSize(image, area), zoomed);
}

void MapZoomTest::zoomOut_data()
{
    AddColumns();
    QTest::newRow("first step back of the example") << QSize(1098, 635) << Area << QSize(878, 508);
    QTest::newRow("second step back of the example") << QSize(878, 508) << Area << QSize(702, 406);
    QTest::newRow("image as large as the area: nothing") << Area << Area << Area;
    QTest::newRow("width not larger than the area: nothing") << QSize(702, 1000) << Area << QSize(702, 1000);
    QTest::newRow("height not larger than the area: nothing") << QSize(1000, 406) << Area << QSize(1000, 406);
    QTest::newRow("may end smaller than the area") << QSize(800, 500) << Area << QSize(640, 400);
    QTest::newRow("and then nothing more") << QSize(640, 400) << Area << QSize(640, 400);
    QTest::newRow("tall, lower than the area: to the area's height") << QSize(500, 1000) << QSize(400, 900) << QSize(356, 900);
    QTest::newRow("tall, narrower than the area: to the area's width") << QSize(500, 1200) << QSize(450, 900) << QSize(450, 853);
    QTest::newRow("from the largest image") << QSize(15976, 9240) << Area << QSize(12781, 7392);
    QTest::newRow("empty area") << QSize(10, 10) << QSize(0, 0) << QSize(8, 8);
}

void MapZoomTest::zoomOut()
{
    QFETCH(QSize, image);
    QFETCH(QSize, area);
    QFETCH(QSize, zoomed);
    QCOMPARE(ZoomOutSize(image, area), zoomed);
}

QTEST_MAIN(MapZoomTest)
#include "tst_MapZoom.moc"
