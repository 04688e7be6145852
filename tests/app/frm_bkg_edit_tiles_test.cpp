#include <gtest/gtest.h>

#include <algorithm>

#include "app_fixture.h"
#include "windows/frm_bkg_edit.h"
#include "panels/tile_editor_panel.h"

namespace velmar::test {
namespace {

using BackgroundEditor = SampleWindow;

// The sheet exported in the tile palette imports back as the tiles were; a picture of the wrong
// size is refused with a message and nothing recorded.
TEST_F(BackgroundEditor, TileSheetExportAndImport)
{
    w.cmdMetatileEditor->click();
    auto* b = w.findChild<frmBkgEdit*>("frmBkgEdit");
    ASSERT_TRUE(b);
    b->fraTileEdit->cmdNextPal->click();
    const PixelArray before = w.doc().scene().bkgPatterns;
    const std::size_t steps = w.doc().history().size();

    const QString png = f.file("tiles.png");
    f.dialogs.saveFiles = {png};
    b->cmdExportTiles->click();
    f.dialogs.files = {png};
    b->cmdImportTiles->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("\n").toStdString();
    EXPECT_EQ(w.doc().history().size(), steps) << "nothing changed";

    // A tile flipped after the export: the import puts it back in one step.
    int t = 0;
    while (t < 255 && std::equal(&before[t * 64], &before[t * 64 + 8], &before[t * 64 + 56]))
        ++t;
    b->fraTileEdit->picPatternTable_MouseDown(QPoint(t % 16 * 16 + 3, t / 16 * 16 + 3), Qt::LeftButton);
    b->fraTileEdit->cmdFlipHAxis->click();
    ASSERT_NE(w.doc().scene().bkgPatterns, before);
    f.dialogs.files = {png};
    b->cmdImportTiles->click();
    EXPECT_EQ(w.doc().scene().bkgPatterns, before);
    EXPECT_EQ(w.doc().history().size(), steps + 2);
    EXPECT_EQ(w.doc().undoName(), "Import Tiles");

    ASSERT_TRUE(QImage(png).scaled(128, 128).save(png));
    f.dialogs.files = {png};
    b->cmdImportTiles->click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].contains("must be 256 x 256 pixels, not 128 x 128"));
    EXPECT_EQ(f.dialogs.icons.last(), Dialogs::Icon::Exclamation);
    EXPECT_EQ(w.doc().history().size(), steps + 2);
}

}  // namespace
}  // namespace velmar::test
