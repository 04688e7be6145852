#include <gtest/gtest.h>

#include <QTimer>

#include "app_fixture.h"
#include "windows/frm_spr_edit.h"
#include "panels/tile_editor_panel.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/rom_access.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using SpriteEditor = SampleWindow;

// Types into a field and leaves it, as the focus moving on does.
void type(QLineEdit* e, const QString& text)
{
    e->setText(text);
    emit e->editingFinished();
}

SpriteFrame frameOf(frmMain& w, FrameSet set, int k)
{
    SpriteFrame f;
    EXPECT_TRUE(readSpriteFrame(w.doc().romData(), set, static_cast<std::uint8_t>(k), f).ok());
    return f;
}

Bytes animationOf(frmMain& w, int a)
{
    Bytes steps;
    EXPECT_TRUE(readAnimation(w.doc().romData(), a, steps).ok());
    return steps;
}

TEST_F(SpriteEditor, FrameFieldsWriteTheFrameAsOneStepAndFollowUndo)
{
    frmSprEdit& s = f.open<frmSprEdit>(w.cmdAnimEdit);
    s.hscrFrame->setValue(1);
    const SpriteFrame before = frameOf(w, FrameSet::Enemy, 1);
    ASSERT_GE(before.tileCount, 2);
    EXPECT_EQ(s.lstFrameTiles->count(), before.tileCount);
    s.lstFrameTiles->setCurrentRow(1);
    const std::size_t steps = w.doc().history().size();

    // Text that is not one or two hexadecimal digits is refused: the fields show the sprite
    // again, and nothing is written.
    type(s.txtFrame_X, "1FF");
    EXPECT_EQ(s.txtFrame_X->text(), qs(hexPad(before.tiles[1].offsetX, 2)));
    EXPECT_EQ(f.dialogs.messages, QStringList({"X takes two hexadecimal digits, 00 to FF."}));
    EXPECT_EQ(w.doc().history().size(), steps);

    type(s.txtFrame_X, "ff");
    type(s.txtFrame_Y, "0");
    EXPECT_EQ(s.txtFrame_X->text(), "FF");
    EXPECT_EQ(s.txtFrame_Y->text(), "00");
    SpriteFrame want = before;
    want.tiles[1].offsetX = 0xFF;
    want.tiles[1].offsetY = 0x00;
    EXPECT_EQ(frameOf(w, FrameSet::Enemy, 1), want);
    const std::size_t made = w.doc().history().size() - steps;
    EXPECT_EQ(made, before.tiles[1].offsetY == 0 ? 1u : 2u) << "one step per field changed";
    EXPECT_EQ(s.lstFrameTiles->item(1)->text(),
              "01: " + qs(hexPad(want.tiles[1].tileId, 2)) + " FF 00 " + qs(hexPad(want.attributes[1], 2)));
    EXPECT_EQ(s.frameTile(), 1) << "the entry stays selected";

    for (std::size_t k = 0; k < made; ++k)
        w.cmdUndo->click();
    EXPECT_EQ(frameOf(w, FrameSet::Enemy, 1), before);
    EXPECT_EQ(s.txtFrame_X->text(), qs(hexPad(before.tiles[1].offsetX, 2))) << "the window follows the undo";

    // Player after Enemy: frame 0 of the other table, the bar's end at its last frame.
    s.hscrFrame->setValue(3);
    s.cmbFrameSet->setCurrentIndex(1);
    EXPECT_EQ(s.hscrFrame->value(), 0);
    EXPECT_EQ(s.hscrFrame->maximum(), lastFrameIndex(w.doc().romData(), FrameSet::Player));
    EXPECT_EQ(s.editedFrame(), frameOf(w, FrameSet::Player, 0));

    // Goto alternates the halves of a pair; painting a tile the frame shows is one step.
    TileEditorPanel& t = *s.fraTileEdit;
    EXPECT_EQ(t.tilePalette(), 4) << "the sprite palettes";
    s.txtFrame_TileId->setText("40");
    for (int want : {0x40, 0x41, 0x40}) {
        s.cmdGotoTile->click();
        EXPECT_EQ(t.selectedTile(), want);
    }
    s.txtFrame_TileId->setText("21");
    s.cmdGotoTile->click();
    EXPECT_EQ(t.selectedTile(), 0x40) << "background tiles are not edited here";
    EXPECT_TRUE(s.picPatternTable1->lineSets()[1].visible) << "the pair is marked";

    // A pixel of a tile the frame shows: the tile, the frame picture and the image change.
    const SpriteFrame frame = s.editedFrame();
    ASSERT_GT(frame.tileCount, 0);
    const int tile = frame.tiles[0].tileId & 0xFE;
    t.selectTile(tile);
    const PixelArray patterns = w.doc().scene().sprPatterns;
    const QImage picture = s.picFrameEditor->image();
    const std::uint8_t colour = static_cast<std::uint8_t>((patterns[static_cast<std::size_t>(tile) * 64] + 1) & 3);
    t.lblnespal_tEdit_Click(colour, Qt::LeftButton);
    t.picSelectedTile_MouseDown(QPoint(2, 2), Qt::LeftButton);
    t.picSelectedTile_MouseUp(QPoint(2, 2), Qt::LeftButton);
    EXPECT_NE(s.picFrameEditor->image(), picture);
    t.cmdFlipVAxis->click();
    w.cmdUndo->click();
    w.cmdUndo->click();
    EXPECT_EQ(w.doc().scene().sprPatterns, patterns);
    EXPECT_EQ(s.picFrameEditor->image(), picture);
}

// Step edits keep the animation whole; playback runs on the clock and stops with the window.
TEST_F(SpriteEditor, StepEditsPlaybackAndAnEmptyFrame)
{
    frmSprEdit& s = f.open<frmSprEdit>(w.cmdAnimEdit);
    std::int64_t now = 0;
    s.setClock([&] { return now; });
    int a = 0;
    while (a < rommap::kAnimationCount - 1 && animationOf(w, a).size() < 4)
        ++a;
    s.hscrAnimation->setValue(a);
    const Bytes before = animationOf(w, a);
    ASSERT_EQ(s.lstAnimationFrames->count(), static_cast<int>(before.size() / 2));
    s.lstAnimationFrames->setCurrentRow(1);

    type(s.txtAnim_Timer, "3C");
    Bytes want = before;
    want[2] = 0x3C;
    EXPECT_EQ(animationOf(w, a), want);
    EXPECT_EQ(s.lstAnimationFrames->item(1)->text(), "01: 3C " + qs(hexPad(want[3], 2)));

    // After the first step, 00 would end the animation there: refused, and said why. Text that is
    // no value is refused as such. Each refusal says so once, though the field loses the focus
    // to the message box after Enter.
    for (const char* text : {"00", "ZZ"}) {
        f.dialogs.whileShowing = [&] { emit s.txtAnim_Timer->editingFinished(); };
        type(s.txtAnim_Timer, text);
        EXPECT_EQ(s.txtAnim_Timer->text(), "3C");
    }
    EXPECT_EQ(animationOf(w, a), want);
    ASSERT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_TRUE(f.dialogs.messages[0].contains("ends the animation"));
    EXPECT_EQ(f.dialogs.messages[1], "Timer takes two hexadecimal digits, 00 to FF.");

    // A frame past the table's last: "Goto" can do nothing, and is off; the box says what the
    // number shows.
    type(s.txtAnim_Frame, "FF");
    EXPECT_FALSE(s.cmdGotoFrame->isEnabled());
    EXPECT_TRUE(s.txtAnim_Frame->toolTip().startsWith("Frame ID\nFrame FF is past the last enemy frame ("))
        << s.txtAnim_Frame->toolTip().toStdString();
    type(s.txtAnim_Frame, "01");
    s.cmdGotoFrame->click();
    EXPECT_EQ(s.frameIndex(), 1);

    for (int k = 0; k < 3; ++k)
        w.cmdUndo->click();
    EXPECT_EQ(animationOf(w, a), before);
    EXPECT_EQ(s.txtAnim_Timer->text(), qs(hexPad(before[2], 2)));
    const Bytes& steps = before;

    s.cmdPlay->click();
    ASSERT_TRUE(s.playing());
    EXPECT_TRUE(s.tmrPlayback->isActive());
    EXPECT_EQ(s.previewFrame(), frameOf(w, FrameSet::Enemy, steps[1]));
    s.cmdPlay->click();  // a second start changes nothing
    // Step 0 lasts its timer + 1 ticks; then step 1 shows, with the table chosen now.
    s.cmbFrameSet->setCurrentIndex(1);
    now = (steps[0] + 1) * 1000 / 60 + 1;
    s.tmrPlayback_Timer();
    EXPECT_EQ(s.previewFrame(), frameOf(w, FrameSet::Player, steps[3]));
    EXPECT_TRUE(s.playing());

    s.cmdStop->click();
    EXPECT_FALSE(s.playing());
    EXPECT_FALSE(s.tmrPlayback->isActive());
    EXPECT_EQ(s.previewFrame(), frameOf(w, FrameSet::Player, steps[3])) << "the frame shown stays";

    // The strip of the animation's frames, on a transparent background.
    f.dialogs.saveFiles = {f.file("strip.png")};
    s.cmdExportAnimation->click();
    const QImage strip(f.file("strip.png"));
    ASSERT_FALSE(strip.isNull());
    EXPECT_TRUE(strip.hasAlphaChannel());
    int clear = 0;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            clear += strip.pixelColor(x, y).alpha() == 0;
    EXPECT_GT(clear, strip.width() * strip.height() / 4) << "the background is clear";

    s.cmdPlay->click();
    ASSERT_TRUE(s.playing());
    s.close();
    EXPECT_FALSE(s.playing());
    EXPECT_FALSE(s.tmrPlayback->isActive());

    // A frame without sprites shows empty: enemy frame 0 of the sample with its sprite count set
    // to 0.
    RomImage image = sampleImage();
    const RomOffset p =
        RomReader(image.romData).pointer(rommap::kEnemyFrameTiles, rommap::bankStart(rommap::kActorBank));
    image.romData[static_cast<std::size_t>(p)] = 0;
    w.loadRom(false, f.writeSample("empty.nes", image));
    f.open<frmSprEdit>(w.cmdAnimEdit);
    EXPECT_EQ(s.lstFrameTiles->count(), 0);
    EXPECT_FALSE(s.txtFrame_X->isEnabled());
    EXPECT_FALSE(s.lblSelTileHighlight->isVisible());
    const std::size_t recorded = w.doc().history().size();
    type(s.txtFrame_X, "12");
    s.cmdGotoTile->click();
    EXPECT_EQ(w.doc().history().size(), recorded);
    s.hscrFrame->setValue(1);
    EXPECT_GT(s.lstFrameTiles->count(), 0) << "the next frame is as before";
}

}  // namespace
}  // namespace velmar::test
