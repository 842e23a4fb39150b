#pragma once

#include <QByteArray>
#include <QImage>

enum class JpegColour
{
    Rgb,
    Grey,
    AdobeCmyk, // four components, inverted samples and an Adobe marker, as Adobe software writes them
};

struct JpegEncoding
{
    int Quality = 92;
    bool Progressive = false;
    JpegColour Colour = JpegColour::Rgb;
};

// Encodes the image as a JPEG file's bytes with libjpeg; empty when libjpeg reports an error.
QByteArray EncodeJpeg(const QImage& image, const JpegEncoding& encoding = {});
