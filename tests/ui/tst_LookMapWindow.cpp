// The map viewer window: its layout, loading the maps, the wheel zoom and its failures.

#include "ErrorReport.h"
#include "JpegWriter.h"
#include "LMAP.h"
#include "MapImage.h"
#include "RecordingSink.h"
#include "SamplePictures.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <clocale>
#include <memory>

#include <jerror.h>

class LookMapWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void createdHiddenWithItsCaptionAndSize();
    void wheelZoomsTheWorkedExampleThereAndBack();
    void wheelCountsWholeNotches();
    void wheelZoomsAlsoWithoutAMap();
    void loadsEachGeneratedMap_data();
    void loadsEachGeneratedMap();
    void reloadResetsTheZoomAndKeepsTheWindowSize();
    void mapsAreFoundWhateverTheWorkingFolder();
    void loadsOrReportsAndStaysUsable_data();
    void loadsOrReportsAndStaysUsable();
    void fortyStepsInDrawTheVisiblePartWithoutGrowingMemory();
    void scrollBarsMoveTheMapAndMouseButtonsDoNothing();
    void closingHidesWithMapAndZoom();

private:
    void Wheel(int angle, QWidget* over = nullptr);
    void Load(int n); // as the main window's "?" does: any error goes to the error report
    QString WriteMap(const QString& folder, int n, const QByteArray& bytes);
    QSize ImageSize() const { return Map->Image1->size(); }
    QColor ShownAt(QPoint inViewport) const;

    RecordingSink Sink;
    std::unique_ptr<TLookMap> Map;
    QTemporaryDir Temp;
    QByteArray Quadrants;
};

namespace {

const QSize Area(702, 406);

// The peak of this process's resident memory in bytes, counted from the last ResetPeakMemory.
qint64 PeakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// Brings the peak back to the memory in use now (Linux clear_refs).
bool ResetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace

void LookMapWindowTest::initTestCase()
{
    std::setlocale(LC_MESSAGES, "C"); // the system's descriptions of errors in English
    QStandardPaths::setTestModeEnabled(true); // no map of the tester's own folder
    QVERIFY(Temp.isValid());
    Quadrants = EncodeJpeg(QuadrantPicture(1400, 800));
    QVERIFY(!Quadrants.isEmpty());
}

void LookMapWindowTest::init()
{
    Map = std::make_unique<TLookMap>(Sink);
}

void LookMapWindowTest::cleanup()
{
    Map.reset();
    QVERIFY(!QApplication::activeModalWidget());
    VERIFY_NO_UNEXPECTED_BOX(Sink);
}

void LookMapWindowTest::Wheel(int angle, QWidget* over)
{
    // Turned over the middle of the map, or of the given widget, and routed by the window to
    // the widget under the pointer as the window system's events are.
    if (!over)
        over = Map->ScrollBox1->viewport();
    QWidget* window = Map->window();
    window->winId(); // the native window the event comes through
    const QPointF at = over->mapTo(window, QPointF(over->width() / 2.0, over->height() / 2.0));
    QWheelEvent event(at, window->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &event);
}

void LookMapWindowTest::Load(int n)
{
    RunGuarded(Sink, [this, n] { Map->LoadMap(n); });
}

QString LookMapWindowTest::WriteMap(const QString& folder, int n, const QByteArray& bytes)
{
    const QString path = Temp.filePath(folder + QStringLiteral("/Карты/%1.jpg").arg(n));
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QColor LookMapWindowTest::ShownAt(QPoint inViewport) const
{
    return Map->ScrollBox1->viewport()->grab().toImage().pixelColor(inViewport);
}

void LookMapWindowTest::createdHiddenWithItsCaptionAndSize()
{
    QVERIFY(Map->isWindow());
    QVERIFY(Map->isHidden());
    QCOMPARE(Map->windowTitle(), QStringLiteral("Карта"));
    QCOMPARE(Map->pos(), QPoint(246, 444));
    QCOMPARE(Map->size(), Area);
    QVERIFY(Map->windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(Map->ScrollBox1->geometry(), QRect(QPoint(0, 0), Area));
    QCOMPARE(ImageSize(), Area); // the empty image already has the scroll area's size
    QVERIFY(Map->Image1->Picture().isNull());

    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Map->resize(900, 500);
    QTRY_COMPARE(Map->ScrollBox1->size(), QSize(900, 500)); // the scroll area follows the window
}

void LookMapWindowTest::wheelZoomsTheWorkedExampleThereAndBack()
{
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(1);
    QCOMPARE(ImageSize(), Area);
    QList<QSize> seen;
    for (const int angle : {120, 120, -120, -120, -120}) {
        Wheel(angle);
        seen << ImageSize();
    }
    QCOMPARE(seen, (QList<QSize>{{878, 508}, {1098, 635}, {878, 508}, {702, 406}, {702, 406}}));
    QVERIFY(!Map->ScrollBox1->horizontalScrollBar()->isVisible()); // exactly the area again
}

void LookMapWindowTest::wheelCountsWholeNotches()
{
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Wheel(240);
    QCOMPARE(ImageSize(), QSize(1098, 635));
    Wheel(60);
    QCOMPARE(ImageSize(), QSize(1098, 635));
    Wheel(60);
    QCOMPARE(ImageSize(), QSize(1372, 794));
    Wheel(-60);
    Wheel(-60);
    QCOMPARE(ImageSize(), QSize(1098, 635));
    QScrollBar* down = Map->ScrollBox1->verticalScrollBar();
    down->setValue(10);
    Wheel(120, down); // over a scroll bar the wheel zooms as well, and does not scroll
    QCOMPARE(ImageSize(), QSize(1372, 794));
    QCOMPARE(down->value(), 10);
    Wheel(std::numeric_limits<int>::max()); // stops at the largest side, without overflow
    QCOMPARE(ImageSize(), QSize(15976, 9240));
    Map->FormMouseWheelDown();
    QCOMPARE(ImageSize(), QSize(12781, 7392));
}

void LookMapWindowTest::wheelZoomsAlsoWithoutAMap()
{
    Map->FormMouseWheelUp();
    QCOMPARE(ImageSize(), QSize(878, 508));
    Map->FormMouseWheelDown();
    QCOMPARE(ImageSize(), Area);
}

void LookMapWindowTest::loadsEachGeneratedMap_data()
{
    QTest::addColumn<int>("map");
    QTest::newRow("1.jpg snow") << 1;
    QTest::newRow("2.jpg wind") << 2;
    QTest::newRow("3.jpg ice") << 3;
}

void LookMapWindowTest::loadsEachGeneratedMap()
{
    QFETCH(int, map);
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(map);
    const QImage& picture = Map->Image1->Picture();
    QCOMPARE(picture.size(), QSize(1400, 800));
    QVERIFY(CloseColour(picture.pixelColor(5, 5), Qt::white, 8));
    QCOMPARE(ImageSize(), Area);
    // Stretched to the image: the picture's white margin shows in the corner, the title in the middle.
    QVERIFY(CloseColour(ShownAt({2, 2}), Qt::white, 8));
}

void LookMapWindowTest::reloadResetsTheZoomAndKeepsTheWindowSize()
{
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    const QSize window = Map->frameGeometry().size();
    Load(1);
    const qint64 first = Map->Image1->Picture().cacheKey();
    Wheel(120);
    Wheel(120);
    Load(2);
    QCOMPARE(ImageSize(), Area);
    QVERIFY(Map->Image1->Picture().cacheKey() != first);
    Wheel(120);
    Load(2); // pressing "?" again while open
    QCOMPARE(ImageSize(), Area);
    Wheel(120);
    Load(4); // no such map: nothing is loaded, the size is reset all the same
    QCOMPARE(ImageSize(), Area);
    QCOMPARE(Map->Image1->Picture().size(), QSize(1400, 800));
    QCOMPARE(Map->frameGeometry().size(), window);
    QCOMPARE(Map->size(), Area);
}

void LookMapWindowTest::mapsAreFoundWhateverTheWorkingFolder()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(Temp.path()));
    Load(3);
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(Map->Image1->Picture().size(), QSize(1400, 800));
}

void LookMapWindowTest::loadsOrReportsAndStaysUsable_data()
{
    const auto unreadable = [](const QString& reason) {
        return QStringLiteral("Не удалось прочитать файл «%1»: ") + reason + u'.';
    };
    const QByteArray grey = EncodeJpeg(QuadrantPicture(300, 200), {90, false, JpegColour::Grey});
    const QByteArray progressive = EncodeJpeg(QuadrantPicture(300, 200), {90, true, JpegColour::Rgb});
    const QByteArray baseline = EncodeJpeg(QuadrantPicture(300, 200));

    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<bool>("makeMapFolder");
    QTest::addColumn<QString>("error");    // %1 is the full path of the file
    // A map in none of its places: the message names them (in full in the main window's test).
    const QString missing = QStringLiteral("Карта снеговых районов не найдена. Программа искала файл 1.jpg здесь:");
    QTest::newRow("missing file") << "a" << QByteArray() << true << missing;
    QTest::newRow("missing folder") << "b" << QByteArray() << false << missing;
    QTest::newRow("text file named 1.jpg") << "c" << QByteArray("not a picture\n") << true
                                           << unreadable(QStringLiteral("файл не является изображением JPEG"));
    QTest::newRow("huge-dimension header") << "f" << WithDeclaredSize(grey, 60000, 60000) << true
                                           << unreadable(QStringLiteral("слишком большое изображение: 60000 × 60000 "
                                                                        "точек, а допустимо не больше 100 миллионов"));
    QTest::newRow("cut in its headers") << "e" << baseline.left(100) << true << unreadable(QStringLiteral("файл поврежден"));
    QTest::newRow("truncated picture shows its top") << "g" << baseline.left(baseline.size() * 2 / 3) << true << "";
    QTest::newRow("grey-scale") << "h" << grey << true << "";
    QTest::newRow("progressive") << "i" << progressive << true << "";
}

void LookMapWindowTest::loadsOrReportsAndStaysUsable()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, makeMapFolder);
    QFETCH(QString, error);

    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(1); // a map shown and zoomed before
    Wheel(120);
    const qint64 before = Map->Image1->Picture().cacheKey();

    QString path = Temp.filePath(folder + QStringLiteral("/Карты/1.jpg"));
    if (!bytes.isNull())
        path = WriteMap(folder, 1, bytes);
    else
        QVERIFY(QDir().mkpath(makeMapFolder ? QFileInfo(path).path() : Temp.filePath(folder)));
    Map->SetProgramFolder(Temp.filePath(folder));
    Load(1);

    if (error.isEmpty()) {
        QVERIFY(Sink.TakeErrors().isEmpty());
        QCOMPARE(Map->Image1->Picture().size(), QSize(300, 200));
        QCOMPARE(ImageSize(), Area);
        QVERIFY(CloseColour(ShownAt({10, 10}), Map->Image1->Picture().pixelColor(5, 5)));
    } else {
        const QStringList errors = Sink.TakeErrors();
        QCOMPARE(errors.size(), 1);
        if (error.contains(QStringLiteral("%1")))
            QCOMPARE(errors.front(), error.arg(path));
        else
            QVERIFY2(errors.front().startsWith(error) && errors.front().contains(QDir::toNativeSeparators(path)),
                     qPrintable(errors.front()));
        // The load ended before the image was resized: the map and its zoom stay.
        QCOMPARE(Map->Image1->Picture().cacheKey(), before);
        QCOMPARE(ImageSize(), QSize(878, 508));
    }

    // Still usable: the next map loads and zooms.
    Map->SetProgramFolder(QString());
    Load(2);
    Wheel(120);
    QCOMPARE(Map->Image1->Picture().size(), QSize(1400, 800));
    QCOMPARE(ImageSize(), QSize(878, 508));
}

void LookMapWindowTest::fortyStepsInDrawTheVisiblePartWithoutGrowingMemory()
{
    WriteMap(QStringLiteral("quadrants"), 1, Quadrants);
    Map->SetProgramFolder(Temp.filePath(QStringLiteral("quadrants")));
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(1);
    Map->ScrollBox1->viewport()->repaint();
    QVERIFY(ResetPeakMemory());
    const qint64 start = PeakResidentBytes();
    QVERIFY(start > 0);

    QScrollBar* across = Map->ScrollBox1->horizontalScrollBar();
    QScrollBar* down = Map->ScrollBox1->verticalScrollBar();
    for (int step = 0; step < 40; ++step) {
        Wheel(120);
        across->setValue(across->maximum() / 2);
        down->setValue(down->maximum() / 2);
        Map->ScrollBox1->viewport()->repaint();
    }
    QCOMPARE(ImageSize(), QSize(15976, 9240));
    // A scaled copy of the whole picture would take 15976 × 9240 × 4 bytes, some 590 MB, at
    // least while it is drawn.
    const qint64 grown = PeakResidentBytes() - start;
    qInfo("peak resident memory grew by %lld KiB over 40 steps", grown / 1024);
    QVERIFY2(grown < 64 * 1024 * 1024, qPrintable(QStringLiteral("memory grew by %1 bytes").arg(grown)));

    // The visible part is drawn, scaled: each corner of the image shows its own quadrant.
    across->setValue(0);
    down->setValue(0);
    QVERIFY(CloseColour(ShownAt({5, 5}), TopLeftColour));
    across->setValue(across->maximum());
    QVERIFY(CloseColour(ShownAt({5, 5}), TopRightColour));
    down->setValue(down->maximum());
    const QSize viewport = Map->ScrollBox1->viewport()->size();
    QVERIFY(CloseColour(ShownAt({viewport.width() - 5, viewport.height() - 5}), BottomRightColour));
    across->setValue(0);
    QVERIFY(CloseColour(ShownAt({5, viewport.height() - 5}), BottomLeftColour));
    VERIFY_NO_UNEXPECTED_BOX(Sink);
}

void LookMapWindowTest::scrollBarsMoveTheMapAndMouseButtonsDoNothing()
{
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(1);
    Wheel(120);
    Wheel(120);
    QScrollBar* across = Map->ScrollBox1->horizontalScrollBar();
    QScrollBar* down = Map->ScrollBox1->verticalScrollBar();
    QTRY_VERIFY(across->isVisible() && down->isVisible());
    across->setValue(100);
    down->setValue(50);
    QCOMPARE(Map->Image1->pos(), QPoint(-100, -50));

    QTest::mousePress(Map->Image1, Qt::LeftButton, {}, {400, 300});
    QTest::mouseMove(Map->Image1, {200, 100});
    QTest::mouseRelease(Map->Image1, Qt::LeftButton, {}, {200, 100});
    QTest::mouseClick(Map->Image1, Qt::RightButton, {}, {300, 300});
    QTest::mouseDClick(Map->Image1, Qt::LeftButton, {}, {300, 300});
    QCOMPARE(Map->Image1->pos(), QPoint(-100, -50));
    QCOMPARE(ImageSize(), QSize(1098, 635));

    // Zooming keeps the scroll positions.
    Wheel(120);
    QCOMPARE(across->value(), 100);
    QCOMPARE(down->value(), 50);
}

void LookMapWindowTest::closingHidesWithMapAndZoom()
{
    QPointer<TLookMap> alive(Map.get());
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    Load(3);
    Wheel(120);
    QVERIFY(Map->close());
    QVERIFY(alive);
    QVERIFY(Map->isHidden());
    Map->show();
    QVERIFY(QTest::qWaitForWindowExposed(Map.get()));
    QCOMPARE(ImageSize(), QSize(878, 508));
    QCOMPARE(Map->Image1->Picture().size(), QSize(1400, 800));
}

QTEST_MAIN(LookMapWindowTest)
#include "tst_LookMapWindow.moc"
