// Decoding JPEG pictures with libjpeg: the colour models, the damaged files and their messages.

#include "ErrorReport.h"
#include "JpegLoader.h"
#include "JpegWriter.h"
#include "SamplePictures.h"

#include <QtTest>

#include <optional>
#include <utility>

#include <jpeglib.h>
#include <jerror.h>

class JpegLoaderTest : public QObject
{
    Q_OBJECT

private slots:
    void decodesEveryColourModel_data();
    void decodesEveryColourModel();
    void refusesDamagedData_data();
    void refusesDamagedData();
    void showsWhatATruncatedFileHolds_data();
    void showsWhatATruncatedFileHolds();

private:
    // libjpeg's code and the reason a decoder error carries, or none when the data decodes.
    static std::optional<std::pair<int, QString>> DecodeError(const QByteArray& data);
};

std::optional<std::pair<int, QString>> JpegLoaderTest::DecodeError(const QByteArray& data)
{
    try {
        DecodeJpeg(data);
    } catch (const JpegError& error) {
        return std::pair(error.Code, error.message());
    }
    return std::nullopt;
}

void JpegLoaderTest::decodesEveryColourModel_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<QSize>("size");
    const QSize small(96, 64);
    QTest::newRow("RGB baseline") << int(JpegColour::Rgb) << false << small;
    QTest::newRow("RGB progressive") << int(JpegColour::Rgb) << true << small;
    QTest::newRow("grey-scale baseline") << int(JpegColour::Grey) << false << small;
    QTest::newRow("grey-scale progressive") << int(JpegColour::Grey) << true << small;
    QTest::newRow("Adobe CMYK baseline") << int(JpegColour::AdobeCmyk) << false << small;
    QTest::newRow("Adobe CMYK progressive") << int(JpegColour::AdobeCmyk) << true << small;
    // From 8 MiB of pixels up, the picture is held in memory of the loader's own allocation.
    QTest::newRow("RGB baseline, 2048 x 1024") << int(JpegColour::Rgb) << false << QSize(2048, 1024);
    QTest::newRow("RGB progressive, 3001 x 2001") << int(JpegColour::Rgb) << true << QSize(3001, 2001);
    QTest::newRow("Adobe CMYK baseline, 3001 x 2001") << int(JpegColour::AdobeCmyk) << false << QSize(3001, 2001);
}

void JpegLoaderTest::decodesEveryColourModel()
{
    QFETCH(int, colour);
    QFETCH(bool, progressive);
    QFETCH(QSize, size);
    const auto model = JpegColour(colour);
    const QByteArray jpeg = EncodeJpeg(QuadrantPicture(size.width(), size.height()), {90, progressive, model});
    QVERIFY(!jpeg.isEmpty());

    QImage image = DecodeJpeg(jpeg);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.format(), QImage::Format_RGB32);
    const auto expected = [model](QColor c) { return model == JpegColour::Grey ? Grey(c) : c; };
    const int left = size.width() / 10;
    const int right = size.width() - 1 - left;
    const int top = size.height() / 6;
    const int bottom = size.height() - 1 - top;
    QVERIFY(CloseColour(image.pixelColor(left, top), expected(TopLeftColour)));
    QVERIFY(CloseColour(image.pixelColor(right, top), expected(TopRightColour)));
    QVERIFY(CloseColour(image.pixelColor(left, bottom), expected(BottomLeftColour)));
    QVERIFY(CloseColour(image.pixelColor(right, bottom), expected(BottomRightColour)));
    QVERIFY(CloseColour(image.pixelColor(size.width() - 1, size.height() - 1), expected(BottomRightColour)));

    // The picture can be painted on, and a copy keeps what it had.
    const QImage copy = image;
    image.fill(Qt::white);
    QCOMPARE(image.pixelColor(right, bottom), QColor(Qt::white));
    QVERIFY(CloseColour(copy.pixelColor(right, bottom), expected(BottomRightColour)));
}

void JpegLoaderTest::refusesDamagedData_data()
{
    const QByteArray good = EncodeJpeg(QuadrantPicture(16, 16));
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    const QString damaged = QStringLiteral("файл поврежден");
    const auto tooLarge = [](int width, int height) {
        return QStringLiteral("слишком большое изображение: %1 × %2 точек, а допустимо не больше 100 миллионов")
            .arg(width)
            .arg(height);
    };
    QTest::newRow("text file") << QByteArray("Snow regions: see the design rules.\n") << int(JERR_NO_SOI)
                               << "файл не является изображением JPEG";
    QTest::newRow("empty file") << QByteArray() << int(JERR_INPUT_EMPTY) << "файл пуст";
    QTest::newRow("only the start marker") << good.left(2) << int(JERR_NO_IMAGE) << damaged;
    QTest::newRow("cut inside the headers") << good.left(100) << int(JERR_NO_IMAGE) << damaged;
    QTest::newRow("10001 x 10000 pixels declared") << WithDeclaredSize(good, 10001, 10000) << int(JERR_IMAGE_TOO_BIG)
                                                   << tooLarge(10001, 10000);
    QTest::newRow("65535 x 65535 pixels declared") << WithDeclaredSize(good, 65535, 65535) << int(JERR_IMAGE_TOO_BIG)
                                                   << tooLarge(65535, 65535);
    QTest::newRow("65535 x 1 pixels declared") << WithDeclaredSize(good, 65535, 1) << int(JERR_IMAGE_TOO_BIG)
                                               << tooLarge(65535, 1);
    QTest::newRow("zero width declared") << WithDeclaredSize(good, 0, 16) << int(JERR_EMPTY_IMAGE) << damaged;
}

void JpegLoaderTest::refusesDamagedData()
{
    QFETCH(QByteArray, data);
    QFETCH(int, code);
    QFETCH(QString, reason);
    QCOMPARE(DecodeError(data), std::optional(std::pair(code, reason)));
}

void JpegLoaderTest::showsWhatATruncatedFileHolds_data()
{
    QTest::addColumn<bool>("progressive");
    QTest::newRow("baseline") << false;
    QTest::newRow("progressive") << true;
}

void JpegLoaderTest::showsWhatATruncatedFileHolds()
{
    QFETCH(bool, progressive);
    const QByteArray jpeg = EncodeJpeg(QuadrantPicture(256, 256), {90, progressive, JpegColour::Rgb});
    // Cut anywhere, the decoder stops at the end of the data it was given and never reads past
    // it: a file cut in its headers is refused, one cut in its picture data shows what it holds.
    for (qsizetype kept = 1; kept < jpeg.size(); kept += 7) {
        const QByteArray cut = jpeg.left(kept);
        try {
            QCOMPARE(DecodeJpeg(cut).size(), QSize(256, 256));
        } catch (const JpegError& error) {
            // A single byte is no JPEG start at all.
            const QString reason = kept < 2 ? QStringLiteral("файл не является изображением JPEG")
                                            : QStringLiteral("файл поврежден");
            QCOMPARE(error.message(), reason);
        }
    }
    // Cut halfway through the first scan's data, before the marker that follows it.
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA"));
    qsizetype next = scan + 2;
    while (next + 1 < jpeg.size() && !(uchar(jpeg[next]) == 0xFF && uchar(jpeg[next + 1]) != 0))
        ++next;
    QVERIFY(scan > 0 && next > scan + 40);
    const QImage image = DecodeJpeg(jpeg.left(scan + (next - scan) / 2));
    QCOMPARE(image.size(), QSize(256, 256));
    if (!progressive) {
        // The top rows are there; the missing bottom is grey.
        QVERIFY(CloseColour(image.pixelColor(10, 10), TopLeftColour));
        QVERIFY(CloseColour(image.pixelColor(245, 250), QColor(128, 128, 128)));
    }
}

QTEST_MAIN(JpegLoaderTest)
#include "tst_JpegLoader.moc"
