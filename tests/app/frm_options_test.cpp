#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows/frm_options.h"

namespace velmar {
namespace {

TEST(OptionsDialog, ShowsAndStoresTheOptions)
{
    Settings settings;
    frmOptions dialog(settings);
    dialog.initGUI();
    EXPECT_FALSE(dialog.chkCheckDrive->isChecked());
    EXPECT_TRUE(dialog.chkKeepBackup->isChecked()) << "a backup is kept unless turned off";
    EXPECT_TRUE(dialog.chkSuccessMessages->isChecked()) << "on unless turned off";
    EXPECT_FALSE(dialog.chkEmulator->isChecked());
    EXPECT_FALSE(dialog.txtEmulatorPath->isEnabled());
    EXPECT_TRUE(dialog.txtEmulatorPath->text().isEmpty());

    // Unchecking and checking the box again leaves the text box empty.
    dialog.chkEmulator->click();
    EXPECT_TRUE(dialog.txtEmulatorPath->isEnabled());
    dialog.txtEmulatorPath->setText("emu %f");
    dialog.chkEmulator->click();
    dialog.chkEmulator->click();
    EXPECT_TRUE(dialog.txtEmulatorPath->text().isEmpty());

    dialog.txtEmulatorPath->setText("  emu %f ");
    dialog.chkCheckDrive->click();
    dialog.chkKeepBackup->click();
    dialog.cmdCancel->click();
    EXPECT_TRUE(settings.emulatorCommand.empty()) << "Cancel stores nothing";
    EXPECT_FALSE(settings.checkDrive);
    EXPECT_TRUE(settings.keepBackup);

    dialog.initGUI();
    dialog.chkEmulator->click();
    // A command without %f starts the emulator with no game: the dialog says so as it is typed.
    const auto* note = dialog.findChild<QLabel*>("lblEmulatorNote");
    ASSERT_TRUE(note);
    dialog.txtEmulatorPath->setText("emu --fullscreen");
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(note->text().startsWith("Without %f the emulator starts with no game"));
    dialog.txtEmulatorPath->setText("  emu %f ");
    EXPECT_TRUE(note->isHidden());
    dialog.chkCheckDrive->click();
    dialog.chkKeepBackup->click();
    dialog.chkSuccessMessages->click();
    dialog.cmdOk->click();
    EXPECT_EQ(settings.emulatorCommand, "emu %f");
    EXPECT_TRUE(settings.checkDrive);
    EXPECT_FALSE(settings.keepBackup);
    EXPECT_FALSE(settings.showSuccessMessages);

    dialog.initGUI();
    EXPECT_TRUE(dialog.chkEmulator->isChecked());
    EXPECT_EQ(dialog.txtEmulatorPath->text(), "emu %f");
    EXPECT_TRUE(dialog.chkCheckDrive->isChecked());
    EXPECT_FALSE(dialog.chkKeepBackup->isChecked());
    EXPECT_FALSE(dialog.chkSuccessMessages->isChecked());
}

}  // namespace
}  // namespace velmar
