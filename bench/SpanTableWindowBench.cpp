// The span table window with 100 pipes (offscreen): a change of the snow region in the main
// window, through the recomputation of every row to the repainted table; a key typed in a row.

#include "AppWindows.h"
#include "KeptMessages.h"
#include "MessageSink.h"
#include "SpanTableWindow.h"
#include "Unit1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSettings>
#include <QTableWidget>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The program's windows with a table of 100 pipes shown; the settings go to a folder of the
// benchmark's own.
struct HundredRowTable {
    QTemporaryDir Folder;
    QSettings Settings{Folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    KeptMessages Sink;
    AppWindows Windows;

    HundredRowTable()
    {
        Windows = CreateAppWindows(Sink, QStringLiteral(","), Settings);
        std::vector<korvelin::PipeSize> sizes;
        for (int i = 0; i < 100; ++i) {
            const int outer = 25 + i * 3;
            sizes.push_back({std::to_string(outer), outer < 100 ? "3" : (outer < 200 ? "4,5" : "8")});
        }
        Windows.SpanTable->SetRows(sizes);
        Windows.SpanTable->resize(1200, 900);
        Windows.SpanTable->show();
        QCoreApplication::processEvents();
    }
};

void BM_SpanTableWindowRegionChange(benchmark::State& state)
{
    HundredRowTable table;
    AppWindows& windows = table.Windows;
    KeptMessages& sink = table.Sink;
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

// A key typed in a row's editor: the key filter, the row recomputed and shown, the rows kept, and
// the paint of the row.
void BM_SpanTableWindowKeyInRow(benchmark::State& state)
{
    HundredRowTable table;
    auto* grid = table.Windows.SpanTable->findChild<QTableWidget*>();
    grid->setCurrentCell(50, 1);
    grid->editItem(grid->item(50, 1));
    QLineEdit* editor = nullptr;
    for (QLineEdit* child : grid->viewport()->findChildren<QLineEdit*>())
        editor = child;
    if (editor == nullptr) {
        state.SkipWithError("no editor");
        return;
    }
    editor->end(false);
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(editor, typed ? Qt::Key_Backspace : Qt::Key_5);
        typed = !typed;
        // The paint of what changed: the edited row.
        grid->viewport()->repaint(0, grid->rowViewportPosition(50), grid->viewport()->width(),
                                  grid->rowHeight(50));
    }
}
BENCHMARK(BM_SpanTableWindowKeyInRow)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
