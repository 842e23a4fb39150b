#pragma once

#include "ErrorReport.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QFile;

// The largest picture accepted, in pixels; a larger one is refused before its pixels are allocated.
inline constexpr qint64 MaxJpegPixels = 100'000'000;

// A JPEG picture that cannot be decoded: libjpeg's message code, and the reason in the user's
// words ("файл не является изображением JPEG", "файл поврежден", "слишком большое изображение
// …") as the message.
class JpegError : public CommandError
{
public:
    JpegError(int code, const QString& reason);
    int Code;
};

// Decodes a JPEG picture (grey-scale, RGB, CMYK or YCCK; baseline or progressive) into a
// QImage of format RGB32. Throws JpegError. A picture cut short is decoded as far as it goes;
// libjpeg fills the rest with grey.
QImage DecodeJpeg(const QByteArray& data);

// "Не удалось открыть файл «…»: файл не найден." (or "это папка, а не файл", "нет прав
// доступа", else the system's text): a file that could not be opened for reading.
QString CannotOpenMessage(const QString& path, const QFile& file);

// Reads and decodes a JPEG file. Throws CommandError with CannotOpenMessage, or with "Не удалось
// прочитать файл «…»: " and the reason of the JpegError; the file's full native path stands in
// the guillemets.
QImage LoadJpegFile(const QString& path);
