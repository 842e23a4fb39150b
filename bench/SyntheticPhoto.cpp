#include "SyntheticPhoto.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Smooth random values: a coarse grid of random numbers in [-1, 1], read with bilinear
// interpolation, so neighbouring pixels differ little (the blotches of foliage and clouds).
class ValueNoise {
public:
    ValueNoise(int cellsX, int cellsY, std::mt19937& random)
        : Columns(cellsX + 2), Values(std::size_t(Columns) * (cellsY + 2))
    {
        std::uniform_real_distribution<float> value(-1, 1);
        for (float& v : Values)
            v = value(random);
    }

    // u and v in cells.
    float At(float u, float v) const
    {
        const int x = int(u);
        const int y = int(v);
        const float fx = u - x;
        const float fy = v - y;
        const float* row = &Values[std::size_t(y) * Columns + x];
        const float top = row[0] + (row[1] - row[0]) * fx;
        const float bottom = row[Columns] + (row[Columns + 1] - row[Columns]) * fx;
        return top + (bottom - top) * fy;
    }

private:
    int Columns;
    std::vector<float> Values;
};

int Clamp(float v)
{
    return std::clamp(int(v), 0, 255);
}

}  // namespace

QImage SyntheticPhoto(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    QImage photo(width, height, QImage::Format_RGB32);

    // Sky above a third of the height, ground below, each with two scales of blotches.
    const ValueNoise large(24, 16, random);
    const ValueNoise small(240, 160, random);
    const ValueNoise fine(2000, 1333, random);
    const float horizon = height / 3.0f;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        const float v = float(y) / height;
        for (int x = 0; x < width; ++x) {
            const float u = float(x) / width;
            const float blotch = large.At(u * 24, v * 16) * 40 + small.At(u * 240, v * 160) * 25
                + fine.At(u * 2000, v * 1333) * 30;
            if (y < horizon) {
                const float t = y / horizon;
                line[x] = qRgb(Clamp(90 + 80 * t + blotch * 0.5f), Clamp(140 + 60 * t + blotch * 0.5f),
                               Clamp(220 - 10 * t + blotch * 0.3f));
            } else {
                const float t = (y - horizon) / (height - horizon);
                line[x] = qRgb(Clamp(70 + 40 * t + blotch), Clamp(110 - 30 * t + blotch * 1.2f),
                               Clamp(50 + 10 * t + blotch * 0.6f));
            }
        }
    }

    // Buildings, trees and stones: shapes of every size with sharp, antialiased outlines.
    {
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        std::uniform_int_distribution<int> channel(0, 255);
        std::uniform_real_distribution<double> unit(0, 1);
        for (int i = 0; i < 600; ++i) {
            const double size = 20 + 700 * unit(random) * unit(random);
            const QPointF centre(width * unit(random), horizon * 0.8 + (height - horizon * 0.8) * unit(random));
            painter.setBrush(QColor(channel(random), channel(random), channel(random), 150 + channel(random) % 100));
            if (i % 3 == 0) {
                painter.drawEllipse(centre, size / 2, size / 3);
            } else if (i % 3 == 1) {
                painter.drawRect(QRectF(centre, QSizeF(size / 2, size)));
            } else {
                QPainterPath path(centre);
                for (int corner = 0; corner < 5; ++corner)
                    path.lineTo(centre + QPointF(size * (unit(random) - 0.5), size * (unit(random) - 0.5)));
                painter.drawPath(path);
            }
        }
    }

    // Grain: independent noise on every sample, as a camera sensor adds.
    std::uniform_int_distribution<int> grain(-7, 7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(Clamp(float(qRed(p) + grain(random))), Clamp(float(qGreen(p) + grain(random))),
                           Clamp(float(qBlue(p) + grain(random))));
        }
    }
    return photo;
}
