// The span table window with 100 pipes: a change of the snow region in the main window, through
// the recomputation of every row to the repainted table (offscreen).

#include "AppWindows.h"
#include "MessageSink.h"
#include "SpanTableWindow.h"
#include "Unit1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

class KeptMessages final : public MessageSink {
public:
    void ShowMessage(const QString& text) override { Texts.append(text); }
    void ShowError(const QString& text) override { Texts.append(text); }
    QStringList Texts;
};

void BM_SpanTableWindowRegionChange(benchmark::State& state)
{
    // The windows keep settings: these go to a folder of the benchmark's own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    KeptMessages sink;
    AppWindows windows = CreateAppWindows(sink, QStringLiteral(","));
    std::vector<korvelin::PipeSize> sizes;
    for (int i = 0; i < 100; ++i) {
        const int outer = 25 + i * 3;
        sizes.push_back({std::to_string(outer), outer < 100 ? "3" : (outer < 200 ? "4,5" : "8")});
    }
    windows.SpanTable->SetRows(sizes);
    windows.SpanTable->resize(1200, 900);
    windows.SpanTable->show();
    QCoreApplication::processEvents();
    auto* snow = windows.FormProlet->findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % snow->count();
        snow->setCurrentIndex(index);
        emit snow->activated(index);
        windows.SpanTable->findChild<QTableWidget*>()->viewport()->repaint();
    }
    if (!sink.Texts.isEmpty() || windows.SpanTable->Results().size() != 100)
        state.SkipWithError("the table did not compute its 100 rows");
}
BENCHMARK(BM_SpanTableWindowRegionChange)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
