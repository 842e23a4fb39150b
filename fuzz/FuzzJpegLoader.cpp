// Any bytes as the contents of a map file: the decoder either gives a picture or reports a JPEG
// error; it never crashes, reads outside the data or allocates beyond its limit.
#include "ErrorReport.h"
#include "JpegLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    try {
        const QImage image = DecodeJpeg(bytes);
        if (image.isNull() || qint64(image.width()) * image.height() > MaxJpegPixels) {
            __builtin_trap();
        }
    } catch (const CommandError& error) {
        if (!error.message().startsWith(QStringLiteral("JPEG error #"))) {
            __builtin_trap();
        }
    }
    return 0;
}
