#include "windows/frm_options.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/emulator_command.h"
#include "qt_bridge.h"

namespace velmar {

frmOptions::frmOptions(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setObjectName("frmOptions");
    setWindowTitle("Options");
    auto* layout = new QVBoxLayout(this);
    chkCheckDrive = new QCheckBox("Smart quick loading.", this);
    chkCheckDrive->setObjectName("chkCheckDrive");
    chkCheckDrive->setToolTip("When a recent file is missing, look for it at the same place on the other drives");
    chkKeepBackup = new QCheckBox("Keep a backup of the original file (.bak)", this);
    chkKeepBackup->setObjectName("chkKeepBackup");
    chkKeepBackup->setToolTip("The first save of a file keeps the file as it was beside it, game.nes as "
                              "game.nes.bak. A backup once made is never written over: remove it to have a new "
                              "one made.");
    chkSuccessMessages = new QCheckBox("Show a message after each successful load, save and resize", this);
    chkSuccessMessages->setObjectName("chkSuccessMessages");
    chkSuccessMessages->setToolTip("Off, the status bar says so for five seconds instead; failures are always "
                                   "shown in a message");
    chkEmulator = new QCheckBox("Enable Emulator:", this);
    chkEmulator->setObjectName("chkEmulator");
    txtEmulatorPath = new QLineEdit(this);
    txtEmulatorPath->setObjectName("txtEmulatorPath");
    txtEmulatorPath->setMinimumWidth(360);
    txtEmulatorPath->setPlaceholderText("emulator %f");
    txtEmulatorPath->setToolTip("The command that starts the emulator. %f stands for a copy of the image "
                                "as edited, so the game can be tried without saving.");
    // A command without %f starts the emulator with no game, which is worth a word as it is typed.
    lblEmulatorNote = new QLabel("Without %f the emulator starts with no game: %f stands for the image as "
                                 "edited.",
                                 this);
    lblEmulatorNote->setObjectName("lblEmulatorNote");
    lblEmulatorNote->setWordWrap(true);
    lblEmulatorNote->setHidden(true);
    auto* buttons = new QDialogButtonBox(this);
    cmdOk = buttons->addButton(QDialogButtonBox::Ok);
    cmdOk->setObjectName("cmdOk");
    cmdCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setText("Cancel");
    chkCheckDrive->setAccessibleName(chkCheckDrive->text());
    chkKeepBackup->setAccessibleName(chkKeepBackup->text());
    chkSuccessMessages->setAccessibleName(chkSuccessMessages->text());
    chkEmulator->setAccessibleName(chkEmulator->text());
    txtEmulatorPath->setAccessibleName("Emulator command");
    cmdOk->setAccessibleName("OK");
    cmdCancel->setAccessibleName("Cancel");
    layout->addWidget(chkCheckDrive);
    layout->addWidget(chkKeepBackup);
    layout->addWidget(chkSuccessMessages);
    layout->addWidget(chkEmulator);
    layout->addWidget(txtEmulatorPath);
    layout->addWidget(lblEmulatorNote);
    layout->addWidget(buttons);
    connect(chkEmulator, &QCheckBox::clicked, this, &frmOptions::chkEmulator_Click);
    connect(txtEmulatorPath, &QLineEdit::textChanged, this, &frmOptions::txtEmulatorPath_Change);
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
}

void frmOptions::initGUI()
{
    chkCheckDrive->setChecked(settings_.checkDrive);
    chkKeepBackup->setChecked(settings_.keepBackup);
    chkSuccessMessages->setChecked(settings_.showSuccessMessages);
    chkEmulator->setChecked(!settings_.emulatorCommand.empty());
    chkEmulator_Click();
    txtEmulatorPath->setText(qs(settings_.emulatorCommand));
}

void frmOptions::chkEmulator_Click()
{
    txtEmulatorPath->clear();
    txtEmulatorPath->setEnabled(chkEmulator->isChecked());
}

void frmOptions::txtEmulatorPath_Change()
{
    const QString command = txtEmulatorPath->text().trimmed();
    lblEmulatorNote->setHidden(command.isEmpty() || mentionsRomFile(splitCommandLine(ss(command), false)));
}

void frmOptions::cmdOk_Click()
{
    settings_.checkDrive = chkCheckDrive->isChecked();
    settings_.keepBackup = chkKeepBackup->isChecked();
    settings_.showSuccessMessages = chkSuccessMessages->isChecked();
    settings_.emulatorCommand = chkEmulator->isChecked() ? ss(txtEmulatorPath->text().trimmed()) : std::string();
    accept();
}

void frmOptions::cmdCancel_Click() { reject(); }

}  // namespace velmar
