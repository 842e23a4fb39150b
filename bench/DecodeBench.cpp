// The JPEG loader on the generated region maps and on a 6000 × 4000 photograph-like picture.

#include "ErrorReport.h"
#include "JpegLoader.h"
#include "JpegWriter.h"
#include "MapFiles.h"
#include "SyntheticPhoto.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void BM_DecodeMap(benchmark::State& state)
{
    const QString path = MapFilePath(ProgramFolder(), int(state.range(0)));
    QImage picture;
    try {
        for (auto _ : state) {
            picture = LoadJpegFile(path);
            benchmark::DoNotOptimize(picture.constBits());
        }
    } catch (const CommandError& error) {
        state.SkipWithError(error.message().toStdString().c_str());
        return;
    }
    state.SetItemsProcessed(state.iterations() * picture.width() * picture.height());
    state.SetLabel(QStringLiteral("%1x%2, %3 KiB")
                       .arg(picture.width())
                       .arg(picture.height())
                       .arg(QFileInfo(path).size() / 1024)
                       .toStdString());
}
BENCHMARK(BM_DecodeMap)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// Encoded once, at the quality a camera uses.
const QByteArray& LargePhotoJpeg()
{
    static const QByteArray bytes = EncodeJpeg(SyntheticPhoto(6000, 4000), {.Quality = 92});
    return bytes;
}

void BM_DecodeJpeg6000x4000(benchmark::State& state)
{
    const QByteArray& bytes = LargePhotoJpeg();
    if (bytes.isEmpty()) {
        state.SkipWithError("the 6000 x 4000 picture could not be encoded");
        return;
    }
    QImage picture;
    for (auto _ : state) {
        picture = DecodeJpeg(bytes);
        benchmark::DoNotOptimize(picture.constBits());
        picture = QImage(); // each decode allocates afresh, as loading a map does
    }
    state.SetItemsProcessed(state.iterations() * 6000 * 4000);
    state.counters["file_MiB"] = double(bytes.size()) / (1024 * 1024);
}
BENCHMARK(BM_DecodeJpeg6000x4000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
