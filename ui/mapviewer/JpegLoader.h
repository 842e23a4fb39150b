#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The largest picture accepted, in pixels; a larger one is refused before its pixels are allocated.
inline constexpr qint64 MaxJpegPixels = 100'000'000;

// Decodes a JPEG picture (grey-scale, RGB, CMYK or YCCK; baseline or progressive) into a
// QImage of format RGB32. Throws CommandError "JPEG error #%d" with libjpeg's message code.
// A picture cut short is decoded as far as it goes; libjpeg fills the rest with grey.
QImage DecodeJpeg(const QByteArray& data);

// Reads and decodes a JPEG file. Throws CommandError "Cannot open file "%s". %s" with the
// full native path and the system's description of the cause, or the error of DecodeJpeg.
QImage LoadJpegFile(const QString& path);
