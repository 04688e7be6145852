// Scene switching in the real main window, offscreen, including the repaint of every widget.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QTreeWidget>

#include "frm_main.h"
#include "sample/sample_rom.h"

namespace velmar::bench {
namespace {

class SilentDialogs final : public Dialogs {
public:
    void message(const QString&, Icon) override {}
    Answer askYesNo(const QString&, Answer = Answer::No) override { return Answer::No; }
    Answer askYesNoCancel(const QString&) override { return Answer::No; }
    std::optional<QString> inputBox(const QString&, const QString&) override { return std::nullopt; }
    QString openFile(const QString&, const QString&) override { return {}; }
};

// Switches between the first scene and the longest one (Stage 3-3, 17 screens) in enemy mode and
// repaints the whole window each time, as a user clicking the tree sees it: map, actor lists with
// enemy 0 selected and scrolled to, properties panel.
void BM_MainWindowSceneSwitchWithRepaint(benchmark::State& state)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmar-app-bench";
    std::filesystem::create_directories(dir / "dat");
    const Bytes image = buildSampleRom().fileBytes();
    std::ofstream(dir / "sample.nes", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));

    SilentDialogs dialogs;
    frmMain window(QString::fromStdString((dir / "dat").string()), QString::fromStdString((dir / "config").string()),
                   dialogs);
    window.show();
    window.loadRom(false, QString::fromStdString((dir / "sample.nes").string()));
    window.cmdEnemyEdit_Click();
    QTreeWidgetItem* nodes[2] = {window.findNode("c:000000"), window.findNode("c:02070C")};
    int next = 1;
    for (auto _ : state) {
        window.tvAreaList_NodeClick(nodes[next]);
        window.repaint();
        QApplication::processEvents();
        next ^= 1;
    }
    window.hide();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_MainWindowSceneSwitchWithRepaint)->Unit(benchmark::kMillisecond);

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
