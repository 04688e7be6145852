#include <gtest/gtest.h>

#include "app_fixture.h"
#include "windows/frm_pal_edit.h"
#include "gfx/nes_palette.h"
#include "base/hex.h"

namespace velmar::test {
namespace {

using PaletteEditor = SampleWindow;

using Palette = std::array<std::uint8_t, 32>;

QColor back(const QLabel* l) { return l->palette().color(QPalette::Window); }
QColor ink(const QLabel* l) { return l->palette().color(QPalette::WindowText); }
const Palette& palette(frmMain& w) { return w.doc().currentScene().palette; }

// Every entry label shows its entry of the document as the window shows it without emphasis.
void expectEntriesShowDocument(frmMain& w, frmPalEdit& p)
{
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint8_t n = palette(w)[i];
        EXPECT_EQ(p.lblPal[i]->text(), qs(hexText(n))) << i;
        EXPECT_EQ(back(p.lblPal[i]), toQColor(nesColorToRgb(n, false, 0))) << i;
    }
}

TEST_F(PaletteEditor, ClicksWriteTheChosenColourAndEntriesFollowTheScene)
{
    frmPalEdit& p = f.open<frmPalEdit>(w.cmdPaletteEdit);

    // Before a choice the window writes colour 0.
    ASSERT_NE(palette(w)[6], 0x00);
    Palette want = palette(w);
    QTest::mouseClick(p.lblPal[6], Qt::LeftButton);
    want[6] = 0x00;
    EXPECT_EQ(palette(w), want);

    ASSERT_NE(palette(w)[5], 0x16);
    QTest::mouseClick(p.lblnespal[0x16], Qt::LeftButton);
    QTest::mouseClick(p.lblPal[5], Qt::LeftButton);
    want[5] = 0x16;
    EXPECT_EQ(palette(w), want) << "entry 5 only";
    EXPECT_EQ(p.lblPal[5]->text(), "16");
    EXPECT_EQ(ink(p.lblPal[5]), p.palette().color(QPalette::WindowText));
    EXPECT_EQ(w.doc().history().size(), 2u);

    // Colour 0 of any sub-palette is the colour all eight share.
    QTest::keyClick(p.lblnespal[0x0F], Qt::Key_Space);
    QTest::mouseClick(p.lblPal[4], Qt::LeftButton);
    EXPECT_EQ(w.doc().history().size(), 3u) << "one step for all eight";
    EXPECT_EQ(palette(w)[28], 0x0F);
    EXPECT_EQ(ink(p.lblPal[28]), p.palette().color(QPalette::Window)) << "light text on a dark colour";
    expectEntriesShowDocument(w, p);

    // Undo from the main window shows in this one.
    w.cmdUndo->click();
    EXPECT_EQ(palette(w), want);
    expectEntriesShowDocument(w, p);
    w.cmdUndo->click();

    // The entries follow the scene; emphasis shows here only.
    f.selectScene([&](const SceneRecord& s) { return s.palette != palette(w); });
    expectEntriesShowDocument(w, p);

    QTest::mouseClick(p.lblnespal[0x20], Qt::LeftButton);
    QTest::mouseClick(p.lblPal[1], Qt::LeftButton);
    const Bytes image = w.doc().romData();
    const std::size_t steps = w.doc().history().size();
    const QColor plain = back(p.lblnespal[0x20]);

    p.chkIntRed->click();
    const QColor reddened = toQColor(nesColorToRgb(0x20, false, 1));
    EXPECT_NE(reddened, plain);
    EXPECT_EQ(back(p.lblnespal[0x20]), reddened);
    EXPECT_EQ(back(p.lblPal[1]), reddened);
    EXPECT_EQ(w.doc().romData(), image);
    EXPECT_EQ(w.doc().history().size(), steps);

    // Opening again starts afresh.
    QTest::mouseClick(p.lblnespal[0x21], Qt::LeftButton);
    w.cmdPaletteEdit->click();
    EXPECT_FALSE(p.chkIntRed->isChecked());
    EXPECT_EQ(p.selectedColor(), 0);
    EXPECT_EQ(back(p.lblnespal[0x20]), plain);

    QTest::keyClick(&p, Qt::Key_Escape);
    EXPECT_FALSE(p.isVisible());
}

}  // namespace
}  // namespace velmar::test
