// Any bytes as the contents of a map file: the decoder either gives a picture or reports a JPEG
// error; it never crashes, reads outside the data or allocates beyond its limit.
#include "ErrorReport.h"
#include "JpegLoader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Pictures larger than 128 x 128 pixels are left out. A few bytes can declare a picture of a
// hundred million pixels, and libjpeg decodes a picture cut short to its full size. With a limit
// of a megapixel the target spent most of its time filling large pictures with grey (under 5,000
// inputs a second); with 256 x 256 pixels, in the kernel, mapping fresh memory for every picture
// (the sanitizer's allocator maps each block above 128 KiB on its own). The loader's code takes
// the same paths for a small picture as for a large one; its own, far larger limit is tried by
// its tests.
constexpr std::uint64_t kFuzzedPixels = 128 * 128;

// The largest picture that any start-of-frame marker in the data declares: 0xFF, a byte from
// 0xC0 to 0xCF other than 0xC4, 0xC8 and 0xCC, the segment length, the precision, the height and
// the width. libjpeg takes the picture's size from such a marker, so looking at every one of them,
// wherever it stands, never gives less than what libjpeg would decode. A plain scan, because
// reading the header with libjpeg costs a second error jump for every broken input. Its branches
// are no coverage of the loader, so they are left out of the fuzzer's measure.
__attribute__((no_sanitize("coverage"))) std::uint64_t LargestDeclaredPicture(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t largest = 0;
    for (std::size_t i = 0; i + 8 < size; ++i) {
        const std::uint8_t marker = data[i + 1];
        if (data[i] != 0xFF || marker < 0xC0 || marker > 0xCF || marker == 0xC4 ||
            marker == 0xC8 || marker == 0xCC) {
            continue;
        }
        const std::uint64_t height = std::uint64_t{data[i + 5]} << 8 | data[i + 6];
        const std::uint64_t width = std::uint64_t{data[i + 7]} << 8 | data[i + 8];
        largest = std::max(largest, height * width);
    }
    return largest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (LargestDeclaredPicture(data, size) > kFuzzedPixels) {
        return 0;
    }
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    try {
        const QImage image = DecodeJpeg(bytes);
        if (image.isNull() || qint64(image.width()) * image.height() > MaxJpegPixels) {
            __builtin_trap();
        }
    } catch (const JpegError& error) {
        if (error.message().isEmpty()) {
            __builtin_trap();
        }
    }
    return 0;
}
