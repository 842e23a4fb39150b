// The map viewer shown on the offscreen platform with map 1: one zoom step, and the repaint of
// the visible part of Image1 at every zoom from 1× to the largest.

#include "ErrorReport.h"
#include "LMAP.h"
#include "MapImage.h"
#include "MapZoom.h"
#include "KeptMessages.h"
#include "MessageSink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// Counts the paint events one widget receives and keeps the area of the last.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++Count;
            Area = static_cast<QPaintEvent*>(event)->rect();
        }
        return QObject::eventFilter(watched, event);
    }
    long Count = 0;
    QRect Area;
};

// Delivers what the last change posted (layout, scroll bars, repaint), as the event loop would.
void Settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The viewer with map 1 loaded, shown with the given client size and exposed.
class ShownViewer {
public:
    explicit ShownViewer(QSize client)
        : Map(Messages)
    {
        Map.resize(client);
        Map.show();
        Ready = QTest::qWaitForWindowExposed(&Map);
        try {
            Map.LoadMap(1);
        } catch (const CommandError& error) {
            Messages.ShowError(error.message());
        }
        Settle();
    }

    // Steps in as far as the wheel goes, or `steps` times; returns the steps made.
    int ZoomIn(int steps)
    {
        int made = 0;
        for (; made < steps && ZoomInSize(Image().size(), Map.ScrollBox1->size()) != Image().size(); ++made) {
            Map.FormMouseWheelUp();
            Settle();
        }
        return made;
    }

    // Shows the middle of the zoomed map.
    void ScrollToMiddle()
    {
        for (QScrollBar* bar : {Map.ScrollBox1->horizontalScrollBar(), Map.ScrollBox1->verticalScrollBar()})
            bar->setValue((bar->minimum() + bar->maximum()) / 2);
        Settle();
    }

    // Why the viewer cannot be measured, or empty.
    std::string Problem() const
    {
        if (!Ready)
            return "the viewer was not exposed";
        if (!Messages.Texts.isEmpty())
            return "the viewer showed: " + Messages.Texts.join(QStringLiteral(" | ")).toStdString();
        return {};
    }

    MapImage& Image() { return *Map.Image1; }

    KeptMessages Messages;
    TLookMap Map;
    bool Ready = false;
};

std::string SizeText(QSize size)
{
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// Once a further step in would do nothing, the viewer goes back to 1×, outside the timing.
void BackToOneWhenFullyZoomed(ShownViewer& viewer, benchmark::State& state)
{
    if (ZoomInSize(viewer.Image().size(), viewer.Map.ScrollBox1->size()) != viewer.Image().size()) {
        return;
    }
    state.PauseTiming();
    viewer.Map.FormSize();
    Settle();
    state.ResumeTiming();
}

// One wheel step in, with the scroll area's layout that follows it; back to 1× (not timed)
// when the largest zoom is reached.
void BM_ZoomStep(benchmark::State& state)
{
    ShownViewer viewer(QSize(702, 406));
    if (const std::string problem = viewer.Problem(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    for (auto _ : state) {
        BackToOneWhenFullyZoomed(viewer, state);
        viewer.Map.FormMouseWheelUp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMicrosecond);

// The same step followed by everything the event loop does before the user sees it,
// the repaint included.
void BM_ZoomStepWithRepaint(benchmark::State& state)
{
    ShownViewer viewer(QSize(702, 406));
    if (const std::string problem = viewer.Problem(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    PaintCounter paints;
    viewer.Image().installEventFilter(&paints);
    long steps = 0;
    for (auto _ : state) {
        BackToOneWhenFullyZoomed(viewer, state);
        const long before = paints.Count;
        viewer.Map.FormMouseWheelUp();
        Settle();
        steps += paints.Count > before;
    }
    state.counters["steps_repainted"] = double(steps) / double(state.iterations());
}
BENCHMARK(BM_ZoomStepWithRepaint)->Unit(benchmark::kMillisecond);

// A synchronous repaint of Image1 through the backing store, as on screen: the repaint is
// clipped to the part visible in the scroll area, and Image1's paintEvent draws that part of the
// map at the zoom reached in range(0) steps, in a window of range(1) × range(2). (A repaint of
// the viewport would not reach Image1: the scroll area makes its widget fill its background, so
// Qt counts it opaque and leaves it out.)
void BM_RepaintImage1(benchmark::State& state)
{
    ShownViewer viewer(QSize(int(state.range(1)), int(state.range(2))));
    if (const std::string problem = viewer.Problem(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    const int steps = viewer.ZoomIn(int(state.range(0)));
    viewer.ScrollToMiddle();
    PaintCounter paints;
    viewer.Image().installEventFilter(&paints);
    const QWidget* viewport = viewer.Map.ScrollBox1->viewport();
    for (auto _ : state)
        viewer.Image().repaint();
    if (paints.Count != state.iterations()) {
        const std::string counts = std::to_string(paints.Count) + " paint events in " + std::to_string(state.iterations());
        state.SkipWithError(("Image1 was not painted once per repaint: " + counts).c_str());
        return;
    }
    if (paints.Area.size() != viewport->size()) {
        state.SkipWithError(("painted " + SizeText(paints.Area.size()) + ", not the visible part").c_str());
        return;
    }
    state.SetLabel("steps " + std::to_string(steps) + ", Image1 " + SizeText(viewer.Image().size()) + ", painted "
                   + SizeText(paints.Area.size()));
}
// Steps 99: as far as the wheel goes. 702 × 406 is the viewer's own size; 1920 × 1080 a large one.
BENCHMARK(BM_RepaintImage1)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 13, 1), {702}, {406}})
    ->Args({99, 702, 406})
    ->Args({0, 1920, 1080})
    ->Args({99, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

}  // namespace
