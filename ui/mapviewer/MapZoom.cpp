#include "MapZoom.h"

#include <cmath>

namespace {

constexpr double ZoomFactor = 1.25;

// Nearest integer, halves to the even neighbour (877.5 gives 878, 12.5 gives 12): llrint
// rounds in the default rounding mode, which is to nearest with ties to even.
qint64 Round(double x)
{
    return std::llrint(x);
}

struct Sides
{
    qint64 W;
    qint64 H;
};

// A result taller than wide is brought to the scroll area's height, or else its width.
// The product W1 × H1 is formed in integers, the quotient in floating point. Widget sides stay
// below 2^24, so the product is exact in a double and a quotient that is not exactly a half
// lies further from one than the division's rounding error: the result is that of exact
// arithmetic.
Sides FitTallToArea(Sides s, QSize area)
{
    if (s.W >= s.H)
        return s;
    const qint64 product = s.W * s.H;
    if (s.H < area.height())
        return {Round(double(product) / area.height()), area.height()};
    if (s.W < area.width())
        return {area.width(), Round(double(product) / area.width())};
    return s;
}

} // namespace

QSize ZoomInSize(QSize image, QSize area)
{
    const Sides zoomed = FitTallToArea({Round(image.width() * ZoomFactor), Round(image.height() * ZoomFactor)}, area);
    if (zoomed.W > MaxZoomedSide || zoomed.H > MaxZoomedSide)
        return image;
    return {int(zoomed.W), int(zoomed.H)};
}

QSize ZoomOutSize(QSize image, QSize area)
{
    // Zooming out goes on only while the image is larger than the scroll area both ways.
    if (area.height() >= image.height() || image.width() <= area.width())
        return image;
    const Sides zoomed = FitTallToArea({Round(image.width() / ZoomFactor), Round(image.height() / ZoomFactor)}, area);
    return {int(zoomed.W), int(zoomed.H)};
}
