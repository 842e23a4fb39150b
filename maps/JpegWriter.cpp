#include "JpegWriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the encoder.
struct ErrorManager
{
    jpeg_error_mgr Base; // first member: libjpeg sees only this part
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->Jump, 1);
}

// Everything that must survive a jump back from libjpeg lives here, outside the function
// that calls setjmp, so the jump skips no destructor.
struct Encoder
{
    Encoder()
    {
        jpeg_std_error(&Error.Base);
        Error.Base.error_exit = JumpOnError;
        Info.err = &Error.Base;
    }
    ~Encoder()
    {
        jpeg_destroy_compress(&Info);
        std::free(Buffer); // allocated by libjpeg's memory destination
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    jpeg_compress_struct Info{};
    ErrorManager Error{};
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    QImage Source; // RGB888 or Grayscale8
    std::vector<JSAMPLE> Row;
};

// Inverted CMYK of one RGB scanline: K' is the brightest channel, and C' × K' / 255 gives red back.
void RgbRowToInvertedCmyk(const uchar* rgb, JSAMPLE* cmyk, int width)
{
    for (int x = 0; x < width; ++x, rgb += 3, cmyk += 4) {
        const int k = std::max({rgb[0], rgb[1], rgb[2]});
        for (int c = 0; c < 3; ++c)
            cmyk[c] = JSAMPLE(k == 0 ? 0 : (rgb[c] * 255 + k / 2) / k);
        cmyk[3] = JSAMPLE(k);
    }
}

// No object with a destructor may be created here: libjpeg's errors jump out of it.
bool Encode(Encoder& e, const JpegEncoding& encoding)
{
    if (setjmp(e.Error.Jump))
        return false;

    jpeg_create_compress(&e.Info);
    jpeg_mem_dest(&e.Info, &e.Buffer, &e.Size);
    e.Info.image_width = JDIMENSION(e.Source.width());
    e.Info.image_height = JDIMENSION(e.Source.height());
    const bool grey = encoding.Colour == JpegColour::Grey;
    const bool cmyk = encoding.Colour == JpegColour::AdobeCmyk;
    e.Info.input_components = grey ? 1 : cmyk ? 4 : 3;
    e.Info.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&e.Info); // CMYK input gets a CMYK file with an Adobe marker
    jpeg_set_quality(&e.Info, encoding.Quality, TRUE);
    if (encoding.Progressive)
        jpeg_simple_progression(&e.Info);
    jpeg_start_compress(&e.Info, TRUE);

    if (cmyk)
        e.Row.resize(std::size_t(e.Source.width()) * 4);
    while (e.Info.next_scanline < e.Info.image_height) {
        const int y = int(e.Info.next_scanline);
        if (cmyk)
            RgbRowToInvertedCmyk(e.Source.constScanLine(y), e.Row.data(), e.Source.width());
        JSAMPROW row = cmyk ? e.Row.data() : e.Source.scanLine(y);
        jpeg_write_scanlines(&e.Info, &row, 1);
    }
    jpeg_finish_compress(&e.Info);
    return true;
}

} // namespace

QByteArray EncodeJpeg(const QImage& image, const JpegEncoding& encoding)
{
    Encoder encoder;
    encoder.Source = image.convertToFormat(encoding.Colour == JpegColour::Grey ? QImage::Format_Grayscale8
                                                                               : QImage::Format_RGB888);
    if (encoder.Source.isNull() || !Encode(encoder, encoding))
        return {};
    return QByteArray(reinterpret_cast<const char*>(encoder.Buffer), qsizetype(encoder.Size));
}
