// Any bytes as the contents of a map file: the decoder either gives a picture or reports a JPEG
// error; it never crashes, reads outside the data or allocates beyond its limit.
#include "ErrorReport.h"
#include "JpegLoader.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Pictures larger than 256 x 256 pixels are left out. A few bytes can declare a picture of a
// hundred million pixels, and libjpeg decodes a picture cut short to its full size: with a limit
// of a megapixel the target still spent most of its time filling large pictures with grey (under
// 5,000 inputs a second). The loader's code takes the same paths for a small picture as for a
// large one; its own, far larger limit is tried by its tests.
constexpr std::uint64_t kFuzzedPixels = 256 * 256;

struct HeaderError {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<HeaderError*>(info->err)->Jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// The pixel count the header declares, or 0 when libjpeg cannot read a header.
std::uint64_t DeclaredPixels(const std::uint8_t* data, std::size_t size)
{
    jpeg_decompress_struct info{};
    HeaderError error{};
    info.err = jpeg_std_error(&error.Base);
    error.Base.error_exit = JumpOnError;
    error.Base.output_message = IgnoreMessage;
    std::uint64_t pixels = 0;
    if (setjmp(error.Jump) == 0) {
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
        jpeg_read_header(&info, TRUE);
        pixels = std::uint64_t{info.image_width} * info.image_height;
    }
    jpeg_destroy_decompress(&info);
    return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (DeclaredPixels(data, size) > kFuzzedPixels) {
        return 0;
    }
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
