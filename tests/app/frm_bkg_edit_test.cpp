#include <gtest/gtest.h>

#include <algorithm>

#include "app_fixture.h"
#include "widgets/marker_frame.h"
#include "windows/frm_bkg_edit.h"
#include "panels/tile_editor_panel.h"
#include "gfx/nes_palette.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using BackgroundEditor = SampleWindow;

const PixelArray& pixels(frmMain& w) { return w.doc().scene().bkgPatterns; }
Bytes tileOf(frmMain& w, int t) { return Bytes(pixels(w).begin() + t * 64, pixels(w).begin() + t * 64 + 64); }
// The mouse at surface pixel `p` of a view, at the size the view has.
QPoint at(BitmapView* v, QPoint p) { return QPointF(p * v->scale()).toPoint(); }
void press(BitmapView* v, QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(v, b, {}, at(v, p)); }
void release(BitmapView* v, QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(v, b, {}, at(v, p)); }
void click(BitmapView* v, QPoint p) { QTest::mouseClick(v, Qt::LeftButton, {}, at(v, p)); }
void chooseTile(frmBkgEdit& b, int t)
{
    click(b.fraTileEdit->picPatternTable, QPoint(t % 16 * 16 + 3, t / 16 * 16 + 3));
}

TEST_F(BackgroundEditor, PaintedPixelsAndDragsAreOneStepEach)
{
    frmBkgEdit& b = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    int t = 0;
    while (t < 255 && pixels(w)[t * 64 + 3 * 8 + 2] == 0)
        ++t;
    chooseTile(b, t);
    EXPECT_EQ(b.fraTileEdit->lblSelTile->text(), qs(hexPad(t, 2)));
    EXPECT_EQ(b.fraTileEdit->lblSelTileFrame->pos(), QPoint(t % 16 * 16, t / 16 * 16)) << "framed on the table";
    const PixelArray before = pixels(w);
    const std::size_t steps = w.doc().history().size();

    // Before a swatch is chosen the left button paints colour 0: pixel (2, 3) alone changes.
    press(b.fraTileEdit->picSelectedTile, QPoint(2 * 8 + 5, 3 * 8 + 1));
    release(b.fraTileEdit->picSelectedTile, QPoint(2 * 8 + 5, 3 * 8 + 1));
    PixelArray want = before;
    want[static_cast<std::size_t>(t) * 64 + 26] = 0;
    EXPECT_EQ(pixels(w), want);
    EXPECT_EQ(w.doc().history().size(), steps + 1);
    const QColor colour0 = toQColor(nesColorToRgb(w.doc().currentScene().palette[0], false, 0));
    EXPECT_EQ(b.fraTileEdit->picSelectedTile->image().pixelColor(2 * 8 + 4, 3 * 8 + 4), colour0);

    // A right-button drag in colour 3 across row 0, leaving the picture on the way.
    QTest::mousePress(b.fraTileEdit->lblnespal_tEdit[3], Qt::RightButton);
    EXPECT_EQ(b.fraTileEdit->leftColor(), 0);
    const PixelArray afterFirst = pixels(w);
    press(b.fraTileEdit->picSelectedTile, QPoint(1, 1), Qt::RightButton);
    for (QPoint p : {QPoint(9, 2), QPoint(12, 6), QPoint(90, 4), QPoint(-3, 4), QPoint(20, 3)})
        b.fraTileEdit->picSelectedTile_MouseMove(p, Qt::RightButton);
    release(b.fraTileEdit->picSelectedTile, QPoint(20, 3), Qt::RightButton);
    for (std::size_t x = 0; x < 3; ++x)
        want[static_cast<std::size_t>(t) * 64 + x] = 3;
    EXPECT_EQ(pixels(w), want);
    ASSERT_NE(want, afterFirst);
    EXPECT_EQ(w.doc().history().size(), steps + 2) << "the whole drag is one step";

    // As in pixel editors: Shift+click picks the colour under the pointer (3, painted just now),
    // and 1-4 choose the left colour; neither paints.
    QTest::mouseClick(b.fraTileEdit->picSelectedTile, Qt::LeftButton, Qt::ShiftModifier,
                      at(b.fraTileEdit->picSelectedTile, QPoint(3, 3)));
    EXPECT_EQ(b.fraTileEdit->leftColor(), 3);
    QTest::keyClick(&b, Qt::Key_3);
    EXPECT_EQ(b.fraTileEdit->leftColor(), 2);
    EXPECT_EQ(w.doc().history().size(), steps + 2);
}

TEST_F(BackgroundEditor, TileButtonsAreOneStepEachAndTilesAreCopiedOntoTheTable)
{
    frmBkgEdit& b = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    int t = 0;
    while (t < 255 && tileOf(w, t) == Bytes(64, pixels(w)[t * 64]))
        ++t;  // a tile that is not one flat colour
    chooseTile(b, t);
    const Bytes original = tileOf(w, t);
    const std::size_t steps = w.doc().history().size();

    // What each operation does to the pixels is the core's; here each button is one step.
    b.fraTileEdit->cmdShiftLeft->click();
    EXPECT_EQ(tileOf(w, t)[0], original[1]);
    w.cmdUndo->click();
    EXPECT_EQ(tileOf(w, t), original);

    b.fraTileEdit->cmdRotate->click();
    EXPECT_NE(tileOf(w, t), original);
    EXPECT_EQ(w.doc().history().size(), steps + 1) << "the undone shift is gone; one turn";

    // Drag and drop copies a tile, and only onto the table.
    int src = 0;
    while (src < 255 && tileOf(w, src) == tileOf(w, 17))
        ++src;
    const PixelArray before = pixels(w);
    b.chkDragAndDrop->click();
    for (QPoint off : {QPoint(-4, 20), QPoint(20, -4), QPoint(260, 20)}) {
        chooseTile(b, src);
        b.fraTileEdit->picPatternTable_MouseUp(off, Qt::LeftButton);
    }
    EXPECT_EQ(pixels(w), before);

    chooseTile(b, src);
    b.fraTileEdit->picPatternTable_MouseUp(QPoint(17 % 16 * 16 + 8, 16 + 8), Qt::LeftButton);
    EXPECT_EQ(tileOf(w, 17), tileOf(w, src));
    EXPECT_EQ(b.selection().tile, src);

    QTest::keyClick(&b, Qt::Key_Escape);
    EXPECT_FALSE(b.isVisible());
}

TEST_F(BackgroundEditor, SubtileMetatileAndAttributeEditsAreStoredWithTheScene)
{
    frmBkgEdit& b = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    const std::string here = sceneKeyText(*w.doc().sceneKey());
    const MetatileTables before = w.doc().scene().metatiles;
    const std::uint8_t s = 5, m = 9;
    const int t = before.subtileDefs[s][1] ^ 1;
    const Bytes image = w.doc().romData();

    chooseTile(b, t);
    b.hscrollSubtileID->setValue(s);
    EXPECT_EQ(b.lblSelSubtile->text(), "05");
    click(b.picSubtile, QPoint(10, 40));  // bottom left
    b.hscrollTileID->setValue(m);
    click(b.picMetatile, QPoint(100, 10));  // top right
    // Bottom left is quarter 1 but bits 4-5 of the attribute byte.
    const int p = ((before.metatileDefs[m][0] >> 4) & 3) ^ 1;
    QTest::mouseClick(b.picPalMarker[static_cast<std::size_t>(p)], Qt::LeftButton);
    click(b.picAttTableEdit, QPoint(10, 40));

    MetatileTables want = before;
    want.subtileDefs[s][1] = static_cast<std::uint8_t>(t);
    want.metatileDefs[m][3] = s;
    want.metatileDefs[m][0] = static_cast<std::uint8_t>((before.metatileDefs[m][0] & 0xCF) | p << 4);
    EXPECT_EQ(w.doc().scene().metatiles, want);
    EXPECT_NE(w.doc().romData(), image);
    EXPECT_EQ(b.picSubtile->toolTip(),
              qs(hexPad(want.subtileDefs[s][0], 2) + hexPad(t, 2) + "|" + hexPad(want.subtileDefs[s][2], 2)
                 + hexPad(want.subtileDefs[s][3], 2)));
    EXPECT_EQ(b.picAttTableEdit->image().pixelColor(10, 48), toQColor(kPaletteMarkers[static_cast<std::size_t>(p)]));

    const std::string other =
        AppFixture::findScene([&](const SceneRecord& r) { return r.palette != w.doc().currentScene().palette; });
    ASSERT_NE(other, here);
    f.select(other.c_str());
    f.select(here.c_str());
    EXPECT_EQ(w.doc().scene().metatiles, want) << "the tables are kept in the image";
    EXPECT_EQ(w.doc().history().size(), 3u) << "one step per edit";
}

// The sheet exported in the tile palette imports back as the tiles were; a picture of the wrong
// size is refused with a message and nothing recorded.
TEST_F(BackgroundEditor, TileSheetExportAndImport)
{
    frmBkgEdit& b = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    b.fraTileEdit->cmdNextPal->click();
    const PixelArray before = w.doc().scene().bkgPatterns;
    const std::size_t steps = w.doc().history().size();

    const QString png = f.file("tiles.png");
    f.dialogs.saveFiles = {png};
    b.cmdExportTiles->click();
    f.dialogs.files = {png};
    b.cmdImportTiles->click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("\n").toStdString();
    EXPECT_EQ(w.doc().history().size(), steps) << "nothing changed";

    // A tile flipped after the export: the import puts it back in one step.
    int t = 0;
    while (t < 255 && std::equal(&before[t * 64], &before[t * 64 + 8], &before[t * 64 + 56]))
        ++t;
    b.fraTileEdit->picPatternTable_MouseDown(QPoint(t % 16 * 16 + 3, t / 16 * 16 + 3), Qt::LeftButton);
    b.fraTileEdit->cmdFlipHAxis->click();
    ASSERT_NE(w.doc().scene().bkgPatterns, before);
    f.dialogs.files = {png};
    b.cmdImportTiles->click();
    EXPECT_EQ(w.doc().scene().bkgPatterns, before);
    EXPECT_EQ(w.doc().history().size(), steps + 2);
    EXPECT_EQ(w.doc().undoName(), "Import Tiles");

    ASSERT_TRUE(QImage(png).scaled(128, 128).save(png));
    f.dialogs.files = {png};
    b.cmdImportTiles->click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].contains("must be 256 x 256 pixels, not 128 x 128"));
    EXPECT_EQ(f.dialogs.icons.last(), Dialogs::Icon::Exclamation);
    EXPECT_EQ(w.doc().history().size(), steps + 2);
}

}  // namespace
}  // namespace velmar::test
