// Scene switching in the real main window, offscreen, including the repaint of every widget.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include <QApplication>
#include <QToolButton>
#include <QTreeWidget>

#include "windows/frm_bkg_edit.h"
#include "windows/frm_spr_edit.h"
#include "panels/tile_editor_panel.h"
#include "frm_main.h"
#include "windows/frm_pal_edit.h"
#include "sample/sample_rom.h"

namespace velmar::bench {
namespace {

class SilentDialogs final : public Dialogs {
public:
    void message(const QString&, Icon) override { }
    Answer askYesNo(const QString&, Answer = Answer::No) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, Answer) override { return Answer::No; }
    std::optional<QString> inputBox(const QString&, const QString&) override { return std::nullopt; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&) override { return {}; }
    std::unique_ptr<Dialogs> over(QWidget&) override { return std::make_unique<SilentDialogs>(); }
};

// The main window, shown offscreen, on a copy of the sample image in a folder of its own.
struct BenchWindow {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmar-app-bench";
    SilentDialogs dialogs;
    std::unique_ptr<frmMain> window;

    BenchWindow()
    {
        std::filesystem::create_directories(dir / "dat");
        const Bytes image = buildSampleRom().fileBytes();
        std::ofstream(dir / "sample.nes", std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        window = std::make_unique<frmMain>(QString::fromStdString((dir / "dat").string()),
                                           QString::fromStdString((dir / "config").string()), dialogs);
        window->show();
        window->loadRom(false, QString::fromStdString((dir / "sample.nes").string()));
    }
    ~BenchWindow()
    {
        window.reset();
        std::filesystem::remove_all(dir);
    }
};

// Switches between the first scene and the longest one (Stage 3-3, 17 screens) in enemy mode and
// repaints the whole window each time, as a user clicking the tree sees it: map, actor lists with
// enemy 0 selected and scrolled to, properties panel.
void BM_MainWindowSceneSwitchWithRepaint(benchmark::State& state)
{
    BenchWindow b;
    frmMain& window = *b.window;
    window.cmdEnemyEdit_Click();
    QTreeWidgetItem* nodes[2] = {window.findNode("c:000000"), window.findNode("c:02070C")};
    int next = 1;
    for (auto _ : state) {
        window.tvAreaList_NodeClick(nodes[next]);
        window.repaint();
        QApplication::processEvents();
        next ^= 1;
    }
}
BENCHMARK(BM_MainWindowSceneSwitchWithRepaint)->Unit(benchmark::kMillisecond);

// With the background editor open on the longest scene: one painted pixel, with the main
// window's live refresh (sheet, map, picker) and the painting of what changed in both windows, as
// the event loop paints it.
void BM_PaintPixelWithBackgroundEditorOpen(benchmark::State& state)
{
    BenchWindow b;
    b.window->tvAreaList_NodeClick(b.window->findNode("c:02070C"));
    b.window->cmdMetatileEditor_Click();
    auto* editor = b.window->findChild<frmBkgEdit*>();
    int colour = 0;
    for (auto _ : state) {
        colour ^= 1;
        editor->fraTileEdit->lblnespal_tEdit_Click(colour, Qt::LeftButton);
        editor->fraTileEdit->picSelectedTile_MouseDown(QPoint(12, 20), Qt::LeftButton);
        editor->fraTileEdit->picSelectedTile_MouseUp(QPoint(12, 20), Qt::LeftButton);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PaintPixelWithBackgroundEditorOpen)->Unit(benchmark::kMillisecond);

// On the longest scene at 4x: a 16 x 6 block pasted (one step) and the map repainted, as the event
// loop paints it.
void BM_PasteBlockWithRepaintAt4x(benchmark::State& state)
{
    BenchWindow b;
    b.window->tvAreaList_NodeClick(b.window->findNode("c:02070C"));
    b.window->setMapZoom(4);
    b.window->picRenderDest_MouseDown(QPoint(0, 0), Qt::LeftButton);  // settles the first stroke
    b.window->picRenderDest_MouseUp(QPoint(0, 0), Qt::LeftButton);
    b.window->cmdSelect->setChecked(true);
    b.window->picRenderDest_MouseDown(QPoint(0, 0), Qt::LeftButton);
    b.window->picRenderDest_MouseMove(QPoint(16 * 32 - 1, 6 * 32 - 1), Qt::LeftButton);
    b.window->picRenderDest_MouseUp(QPoint(16 * 32 - 1, 6 * 32 - 1), Qt::LeftButton);
    b.window->menuEditCopy_Click();
    int column = 0;
    for (auto _ : state) {
        column = column == 0 ? 3 : 0;  // so that every paste changes cells
        b.window->menuEditPaste_Click();
        b.window->picRenderDest_MouseDown(QPoint(column * 32 + 32 * 16, 0), Qt::LeftButton);
        b.window->picRenderDest_MouseUp(QPoint(column * 32 + 32 * 16, 0), Qt::LeftButton);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PasteBlockWithRepaintAt4x)->Unit(benchmark::kMillisecond);

// One tick of animation playback in the sprite editor that begins a step: the frame read, the
// preview drawn and painted. Playing runs this at most 60 times a second.
void BM_PlaybackStepWithRepaint(benchmark::State& state)
{
    BenchWindow b;
    b.window->cmdAnimEdit_Click();
    auto* editor = b.window->findChild<frmSprEdit*>();
    std::int64_t now = 0;
    editor->setClock([&now] { return now; });
    editor->cmdPlay_Click();
    for (auto _ : state) {
        now += 1000;  // far enough for the next step to begin
        editor->tmrPlayback_Timer();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PlaybackStepWithRepaint)->Unit(benchmark::kMicrosecond);

// With the palette editor open: one click on a palette entry, with every repaint it causes.
void BM_PaletteClickWithRepaint(benchmark::State& state)
{
    BenchWindow b;
    b.window->tvAreaList_NodeClick(b.window->findNode("c:02070C"));
    b.window->cmdPaletteEdit_Click();
    auto* editor = b.window->findChild<frmPalEdit*>();
    int colour = 0x16;
    for (auto _ : state) {
        colour ^= 1;
        editor->lblnespal_Click(colour);
        editor->lblPal_Click(5);
        b.window->repaint();
        editor->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PaletteClickWithRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmar::bench

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
