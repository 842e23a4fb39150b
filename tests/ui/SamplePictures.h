#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

// A picture in four coloured quadrants, so a test can tell which part of it is shown.
inline const QColor TopLeftColour{220, 30, 30};
inline const QColor TopRightColour{30, 160, 40};
inline const QColor BottomLeftColour{30, 50, 200};
inline const QColor BottomRightColour{240, 220, 40};

inline QImage QuadrantPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = width / 2;
    const int h = height / 2;
    painter.fillRect(0, 0, w, h, TopLeftColour);
    painter.fillRect(w, 0, width - w, h, TopRightColour);
    painter.fillRect(0, h, w, height - h, BottomLeftColour);
    painter.fillRect(w, h, width - w, height - h, BottomRightColour);
    return picture;
}

// JPEG keeps colours only approximately.
inline bool CloseColour(QColor actual, QColor expected, int tolerance = 24)
{
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

// The colour as a grey-scale picture has it.
inline QColor Grey(QColor colour)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.setPixelColor(0, 0, colour);
    return pixel.convertToFormat(QImage::Format_Grayscale8).pixelColor(0, 0);
}

// The bytes of a JPEG file with the image size in its frame header replaced.
inline QByteArray WithDeclaredSize(QByteArray jpeg, quint16 width, quint16 height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    return {};
}
