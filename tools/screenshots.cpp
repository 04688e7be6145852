// Makes the README's pictures: the main window and each editor window on the built-in sample
// image, each grabbed from the window itself and written as a PNG file of few colours.
//
//   velmar-screenshots OUT_FOLDER DAT_FOLDER
//
// DAT_FOLDER holds the data files (TBL.DAT, ITEM.DAT, ENEMY.DAT); they are copied into a
// temporary program folder, so no settings or layout of the user's are read or written.
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "dialogs.h"
#include "base/file_writer.h"
#include "windows/frm_bkg_edit.h"
#include "frm_main.h"
#include "panels/tile_editor_panel.h"
#include "qt_bridge.h"
#include "rom/rom_file.h"
#include "sample/sample_rom.h"

using namespace velmar;

namespace {

// Every message is printed rather than shown, and every question is answered No.
class PrintedDialogs final : public Dialogs {
public:
    void message(const QString& text, Icon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    Answer askYesNo(const QString& text, Answer) override { return print(text); }
    Answer askYesNoCancel(const QString& text, Answer) override { return print(text); }
    std::optional<QString> inputBox(const QString&, const QString&) override { return std::nullopt; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&) override { return {}; }
    std::unique_ptr<Dialogs> over(QWidget&) override { return std::make_unique<PrintedDialogs>(); }

private:
    Answer print(const QString& text)
    {
        std::fprintf(stderr, "%s (No)\n", qPrintable(text));
        return Answer::No;
    }
};

// The window as it shows, in at most 256 colours: a window has few, and the file stays small.
bool save(QWidget* window, const QString& path)
{
    // Time for the window to be laid out and painted.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    // For PNG the "quality" is the compression: 0 packs the most.
    if (!image.save(path, "PNG", 0)) {
        std::fprintf(stderr, "%s: cannot be written\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmar-screenshots OUT_FOLDER DAT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString datSource = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir folder;
    const QString dat = folder.path() + "/dat";
    if (!folder.isValid() || !QDir().mkpath(dat) || !QDir().mkpath(out)) {
        std::fprintf(stderr, "the folders cannot be made\n");
        return 1;
    }
    for (const char* name : {"TBL.DAT", "ITEM.DAT", "ENEMY.DAT"})
        QFile::copy(datSource + "/" + name, dat + "/" + name);
    const QString rom = folder.path() + "/sample.nes";
    if (!writeFileSafely(pathFromUtf8(ss(rom)), buildSampleRom().fileBytes(), false, FileOwner::Program).ok()) {
        std::fprintf(stderr, "%s: cannot be written\n", qPrintable(rom));
        return 1;
    }

    PrintedDialogs dialogs;
    frmMain w(dat, folder.path() + "/config", dialogs);
    w.resize(1280, 800);
    w.show();
    w.loadRom(false, rom);
    // Stage 1-1 in enemy mode: the map with its markers, the selected enemy framed.
    w.tvAreaList_NodeClick(w.findNode("c:000000"));
    w.cmdEnemyEdit->click();
    bool ok = save(&w, out + "/main-window.png");

    const struct {
        QToolButton* button;
        const char* window;
        const char* file;
    } editors[] = {
        {w.cmdPaletteEdit, "frmPalEdit", "palette-editor.png"},
        {w.cmdMetatileEditor, "frmBkgEdit", "background-editor.png"},
        {w.cmdAnimEdit, "frmSprEdit", "sprite-editor.png"},
        {w.cmdTextEditor, "frmTextEdit", "text-editor.png"},
        {w.cmdResizeMap, "frmRomExpansion", "resize-map.png"},
    };
    for (const auto& e : editors) {
        e.button->click();
        auto* window = w.findChild<QWidget*>(e.window);
        if (!window || !window->isVisible()) {
            std::fprintf(stderr, "%s did not open\n", e.window);
            ok = false;
            continue;
        }
        // A metatile and a tile with something in them.
        if (auto* bkg = qobject_cast<frmBkgEdit*>(window)) {
            bkg->hscrollTileID->setValue(0x25);
            bkg->fraTileEdit->selectTile(0x53);
        }
        ok = save(window, out + "/" + e.file) && ok;
        window->close();
    }
    w.close();
    return ok ? 0 : 1;
}
