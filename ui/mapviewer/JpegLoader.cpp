#include "JpegLoader.h"

#include "ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <jpeglib.h>
#include <jerror.h>

#ifndef JCS_EXTENSIONS
#error "The JPEG loader needs libjpeg-turbo's extended colour spaces"
#endif

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
struct ErrorManager
{
    jpeg_error_mgr Base; // first member: libjpeg sees only this part
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->Jump, 1);
}

// Warnings (a file cut short, corrupt data) are not printed on the console.
void IgnoreMessage(j_common_ptr) {}

// Everything that must survive a jump back from libjpeg lives here, outside the function
// that calls setjmp, so the jump skips no destructor.
struct Decoder
{
    Decoder()
    {
        jpeg_std_error(&Error.Base);
        Error.Base.error_exit = JumpOnError;
        Error.Base.output_message = IgnoreMessage;
        Info.err = &Error.Base;
    }
    ~Decoder() { jpeg_destroy_decompress(&Info); } // safe also when creation failed
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    [[noreturn]] void Fail(int code)
    {
        Error.Base.msg_code = code;
        JumpOnError(reinterpret_cast<j_common_ptr>(&Info));
    }

    jpeg_decompress_struct Info{};
    ErrorManager Error{};
    QImage Image;
    std::vector<JSAMPLE> Row; // one scanline of CMYK samples
};

// RGB32 holds 0xffRRGGBB in native byte order; libjpeg writes it directly in this layout.
constexpr J_COLOR_SPACE NativeRgb32 =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// On Linux a large picture's pixels go in memory asked for in 2 MiB pages where the system
// offers them: filling a new 6000 × 4000 picture page by page of 4 KiB took a third of its
// decoding time in page faults. Smaller pictures get the usual allocation.
constexpr std::size_t LargePage = std::size_t(2) << 20;

QImage NewRgb32Image(int width, int height)
{
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(height);
#ifdef __linux__
    if (bytes < 4 * LargePage)
        return QImage(width, height, QImage::Format_RGB32);
    const std::size_t rounded = (bytes + LargePage - 1) / LargePage * LargePage;
    void* pixels = std::aligned_alloc(LargePage, rounded);
    if (pixels == nullptr)
        return {};
    madvise(pixels, rounded, MADV_HUGEPAGE); // advice only: ordinary pages when refused
    return QImage(static_cast<uchar*>(pixels), width, height, bytesPerLine, QImage::Format_RGB32,
                  [](void* memory) { std::free(memory); }, pixels);
#else
    // Other systems: the usual allocation (Windows has no aligned_alloc in its C runtime).
    static_cast<void>(bytes);
    return QImage(width, height, QImage::Format_RGB32);
#endif
}

// CMYK JPEGs come from Adobe software with inverted samples (255 means no ink), the
// convention the other readers follow as well.
void CmykRowToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const int k = cmyk[3];
        out[x] = qRgb((cmyk[0] * k + 127) / 255, (cmyk[1] * k + 127) / 255, (cmyk[2] * k + 127) / 255);
    }
}

// Runs libjpeg on the whole picture; returns false when libjpeg reported an error.
// No object with a destructor may be created here: libjpeg's errors jump out of it.
bool Decode(Decoder& d, const unsigned char* data, unsigned long size)
{
    if (setjmp(d.Error.Jump))
        return false;

    jpeg_create_decompress(&d.Info);
    jpeg_mem_src(&d.Info, data, size);
    jpeg_read_header(&d.Info, TRUE);

    if (qint64(d.Info.image_width) * d.Info.image_height > MaxJpegPixels)
        d.Fail(JERR_IMAGE_TOO_BIG);

    const bool cmyk = d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
    d.Info.out_color_space = cmyk ? JCS_CMYK : NativeRgb32;
    jpeg_start_decompress(&d.Info);

    d.Image = NewRgb32Image(int(d.Info.output_width), int(d.Info.output_height));
    if (d.Image.isNull())
        d.Fail(JERR_OUT_OF_MEMORY);
    if (cmyk)
        d.Row.resize(std::size_t(d.Info.output_width) * 4);

    while (d.Info.output_scanline < d.Info.output_height) {
        const int y = int(d.Info.output_scanline);
        JSAMPROW row = cmyk ? d.Row.data() : d.Image.scanLine(y);
        jpeg_read_scanlines(&d.Info, &row, 1);
        if (cmyk)
            CmykRowToRgb32(d.Row.data(), reinterpret_cast<QRgb*>(d.Image.scanLine(y)), d.Info.output_width);
    }
    jpeg_finish_decompress(&d.Info);
    return true;
}

// What a libjpeg error means for the user.
QString JpegReason(int code, const jpeg_decompress_struct& info)
{
    switch (code) {
    case JERR_NO_SOI:
        return QStringLiteral("файл не является изображением JPEG");
    case JERR_INPUT_EMPTY:
        return QStringLiteral("файл пуст");
    case JERR_IMAGE_TOO_BIG:
        if (info.image_width > 0 && info.image_height > 0)
            return QStringLiteral("слишком большое изображение: %1 × %2 точек, а допустимо не больше %3 миллионов")
                .arg(info.image_width)
                .arg(info.image_height)
                .arg(MaxJpegPixels / 1'000'000);
        return QStringLiteral("слишком большое изображение");
    case JERR_OUT_OF_MEMORY:
        return QStringLiteral("не хватает памяти, чтобы открыть изображение");
    default:
        return QStringLiteral("файл поврежден");
    }
}

} // namespace

JpegError::JpegError(int code, const QString& reason)
    : CommandError(reason)
    , Code(code)
{
}

QImage DecodeJpeg(const QByteArray& data)
{
    Decoder decoder;
    if (!Decode(decoder, reinterpret_cast<const unsigned char*>(data.constData()),
                static_cast<unsigned long>(data.size())))
        throw JpegError(decoder.Error.Base.msg_code, JpegReason(decoder.Error.Base.msg_code, decoder.Info));
    return std::move(decoder.Image);
}

QString CannotOpenMessage(const QString& path, const QFile& file)
{
    const QFileInfo info(path);
    const QString reason = !info.exists() ? QStringLiteral("файл не найден")
                           : info.isDir() ? QStringLiteral("это папка, а не файл")
                           : !info.isReadable() ? QStringLiteral("нет прав доступа")
                                                : file.errorString();
    return QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(QDir::toNativeSeparators(path), reason);
}

QImage LoadJpegFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(CannotOpenMessage(path, file));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CommandError(CannotOpenMessage(path, file));
    try {
        return DecodeJpeg(data);
    } catch (const JpegError& error) {
        throw CommandError(
            QStringLiteral("Не удалось прочитать файл «%1»: %2.").arg(QDir::toNativeSeparators(path), error.message()));
    }
}
