#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app_fixture.h"
#include "panels/palette_strip.h"

#include "editor/edits.h"
#include "base/hex.h"

namespace velmar::test {
namespace {

// The main window on the sample, active, so that the boxes gain and lose the focus as they do
// under a user's hands.
struct PanelFixture : AppFixture {
    frmMain& w = startWithSample();

    PanelFixture()
    {
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    const SceneRecord& scene() const { return w.doc().currentScene(); }
    std::size_t steps() const { return w.doc().history().size(); }

    // Clicks into the box, selects what it holds and types `text`; the box keeps the focus.
    void type(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(box->hasFocus()) << box->objectName().toStdString();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void tabOut(QLineEdit* box)
    {
        QTest::keyClick(box, Qt::Key_Tab);
        ASSERT_FALSE(box->hasFocus()) << box->objectName().toStdString();
    }
};

QString hex2(int v) { return qs(hexPad(v, 2)); }

TEST(PropertiesPanel, EveryEditableBoxIsOneStepAndRefusesWhatIsNoValue)
{
    PanelFixture f;
    f.selectScene([](const SceneRecord& s) { return s.stage > 0 && s.scene > 0; });
    // Every property of the core's table but the direction (two options) has its box.
    struct Box {
        QLineEdit* box;
        const ScenePropertyRow* row;
    };
    std::vector<Box> boxes;
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        if (!row.words[0]) {
            boxes.push_back({f.w.propertiesPanel->box(row.property), &row});
            ASSERT_TRUE(boxes.back().box) << row.label;
        }
    }
    const auto name = [](QLineEdit* box) { return box->objectName().toStdString(); };
    std::vector<std::uint8_t> before, after;
    for (const Box& b : boxes) {
        before.push_back(propertyValue(f.scene(), *b.row));
        EXPECT_EQ(b.box->text(), hex2(before.back())) << name(b.box);
        after.push_back(static_cast<std::uint8_t>(before.back() ^ 1));  // a bank stays in range
        f.type(b.box, hex2(after.back()).toLower());
        f.tabOut(b.box);
        EXPECT_EQ(propertyValue(f.scene(), *b.row), after.back()) << name(b.box);
    }
    EXPECT_EQ(f.steps(), boxes.size());
    f.w.propertiesPanel->opt_Direction[f.scene().direction ? 0 : 1]->click();
    const std::uint8_t direction = f.scene().direction;

    for (std::size_t i = 0; i <= boxes.size(); ++i)
        f.w.menuEditUndo_Click();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i].box->text(), hex2(before[i])) << name(boxes[i].box);
    EXPECT_TRUE(f.w.propertiesPanel->opt_Direction[direction ? 0 : 1]->isChecked());
    for (std::size_t i = 0; i <= boxes.size(); ++i)
        f.w.menuEditRedo_Click();
    EXPECT_TRUE(f.w.propertiesPanel->opt_Direction[direction ? 1 : 0]->isChecked());

    // Banks are taken at the second character, and what is no value is refused once.
    f.selectScene([](const SceneRecord& s) { return s.sprBank != 3; });
    const std::size_t done = f.steps();
    // Leaving a box without typing: nothing recorded, and the painted pixel is not read back
    // from the bank.
    const std::uint8_t old = f.w.doc().scene().bkgPatterns[64 + 9];
    ASSERT_TRUE(edits::paintPixel(f.w.document().doc(), edits::PatternTable::Background, 1, 1, 1,
                                  static_cast<std::uint8_t>((old + 1) & 3))
                    .ok());
    const PixelArray painted = f.w.doc().scene().bkgPatterns;
    f.w.propertiesPanel->txtBKGbank->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f.w.propertiesPanel->txtBKGbank, Qt::Key_Return);
    f.tabOut(f.w.propertiesPanel->txtBKGbank);
    EXPECT_EQ(f.steps(), done + 1);
    EXPECT_EQ(f.w.doc().scene().bkgPatterns, painted);

    f.type(f.w.propertiesPanel->txtSPRbank, "0");
    EXPECT_EQ(f.steps(), done + 1);
    QTest::keyClicks(f.w.propertiesPanel->txtSPRbank, "3");
    EXPECT_EQ(f.scene().sprBank, 3);
    EXPECT_EQ(f.steps(), done + 2);
    EXPECT_EQ(f.w.doc().undoName(), "Edit SPR Bank");
    // The box shows the stored value with no typing of its own to take back: Ctrl+Z there is
    // the window's Undo, and the redo keys bring the step back.
    QTest::keyClick(f.w.propertiesPanel->txtSPRbank, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(f.scene().sprBank, 3);
    EXPECT_EQ(f.w.propertiesPanel->txtSPRbank->text(), hex2(f.scene().sprBank));
    QTest::keyClick(f.w.propertiesPanel->txtSPRbank, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.scene().sprBank, 3);
    // Typing of its own is the box's to take back first.
    f.type(f.w.propertiesPanel->txtSPRbank, "0");
    QTest::keyClick(f.w.propertiesPanel->txtSPRbank, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.w.propertiesPanel->txtSPRbank->text(), "03");
    EXPECT_EQ(f.steps(), done + 2);

    // A bank the image cannot hold, or text that is no value, is refused as it is typed: the box
    // shows the scene's value again, and the status bar says once what the box takes, even
    // though Enter and the loss of the focus follow. "ZZ" once set bank 00 and garbled the map.
    QSignalSpy status(f.w.mainStatusBar, &QStatusBar::messageChanged);
    const SceneRecord typed = f.scene();
    const auto typeAndLeave = [&](QLineEdit* box, const QString& text, int shown) {
        f.type(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        f.tabOut(box);
        EXPECT_EQ(box->text(), hex2(shown)) << text.toStdString();
    };
    typeAndLeave(f.w.propertiesPanel->txtSPRbank, "1A", 3);
    typeAndLeave(f.w.propertiesPanel->txtBKGbank, "ZZ", typed.bkgBank);
    QStringList said;
    for (const QList<QVariant>& signal : status) {
        if (!signal.value(0).toString().isEmpty())
            said << signal.value(0).toString();
    }
    EXPECT_EQ(said,
              QStringList({"SPR bank takes two hexadecimal digits, 00 to 0F.",
                           "BKG bank takes two hexadecimal digits, 00 to 1F."}));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(f.scene().bkgBank, typed.bkgBank);
    EXPECT_EQ(f.scene().map, typed.map);
    EXPECT_EQ(f.scene().sprBank, 3);
    EXPECT_EQ(f.steps(), done + 2);
}

TEST(PropertiesPanel, StagePropertiesAndPaletteSelectors)
{
    PanelFixture f;
    f.selectScene([](const SceneRecord& s) { return s.time != 7 && s.reload && s.indicator != 0x2C; });
    const SceneRecord first = f.scene();

    f.type(f.w.propertiesPanel->txtTime, "7");
    f.type(f.w.propertiesPanel->txtIndicator, "2c");  // the time box lost the focus; two characters take nothing
    EXPECT_EQ(f.scene().time, 7);
    EXPECT_EQ(f.w.propertiesPanel->txtTime->text(), "07");
    EXPECT_EQ(f.scene().indicator, first.indicator);
    f.tabOut(f.w.propertiesPanel->txtIndicator);
    EXPECT_EQ(f.scene().indicator, 0x2C) << "lower-case digits are hexadecimal too";
    EXPECT_EQ(f.w.propertiesPanel->txtIndicator->text(), "2C");
    EXPECT_EQ(f.steps(), 2u);

    f.selectScene([&](const SceneRecord& s) { return s.stage == first.stage && s.scene != first.scene; });
    EXPECT_EQ(f.w.propertiesPanel->txtTime->text(), "07");
    EXPECT_EQ(f.w.propertiesPanel->txtIndicator->text(), "2C");

    // A palette selector shows its colours and keeps those edited under the old one.
    // Background sub-palettes 1 and 2 show different colours.
    f.selectScene([](const SceneRecord& s) {
        return !std::equal(s.palette.begin() + 5, s.palette.begin() + 8, s.palette.begin() + 9);
    });
    const std::uint8_t mine = f.scene().palSelectors[1], other = f.scene().palSelectors[2];
    const auto colour = static_cast<std::uint8_t>((f.scene().palette[5] + 1) & 0x3F);
    ASSERT_TRUE(edits::setPaletteEntry(f.w.document().doc(), 5, colour).ok());

    f.type(f.w.propertiesPanel->txtBKGPal[1], hex2(other));
    EXPECT_EQ(f.scene().palSelectors[1], other);
    for (std::size_t j = 5; j < 8; ++j) {
        EXPECT_EQ(f.scene().palette[j], f.scene().palette[j + 4]);
        EXPECT_TRUE(f.w.paletteStrip->lblPal[j]->accessibleName().endsWith("$" + hex2(f.scene().palette[j + 4]))) << j;
    }
    f.type(f.w.propertiesPanel->txtBKGPal[1], hex2(mine));
    EXPECT_EQ(f.scene().palette[5], colour);
    EXPECT_EQ(f.w.doc().undoName(), "Edit Palette Selector");
    EXPECT_TRUE(f.w.propertiesPanel->txtBKGPal[2]->toolTip().startsWith("BKG palette 2 = " + hex2(other)
                                                                        + ": the colours of background"));

    // A selector past its table's palettes reads other bytes as colours: taken, and said.
    f.type(f.w.propertiesPanel->txtBKGPal[1], "FF");
    EXPECT_EQ(f.scene().palSelectors[1], 0xFF);
    const QString said = f.w.mainStatusBar->currentMessage();
    EXPECT_TRUE(said.startsWith("BKG palette 1 = FF: past the background palettes (00-54); its colours are read from "
                                "$32FD, behind the colour tables"))
        << said.toStdString();
    EXPECT_EQ(f.w.propertiesPanel->txtBKGPal[1]->toolTip(), said);
}

// A value still being typed is taken before the window asks about unsaved changes, and a window
// destroyed with one typed goes quietly.
TEST(PropertiesPanel, AValueTypedWhenTheWindowClosesIsNotLost)
{
    PanelFixture f;
    f.type(f.w.propertiesPanel->txtTime, "7");
    f.dialogs.answers = {Dialogs::Answer::Cancel};
    EXPECT_FALSE(f.w.close());
    EXPECT_EQ(f.scene().time, 7);
    EXPECT_EQ(f.dialogs.questions.size(), 1);
    f.type(f.w.propertiesPanel->txtTime, "8");
    f.window.reset();  // the box loses the focus as the window's widgets go
}

}  // namespace
}  // namespace velmar::test
