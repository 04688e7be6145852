#pragma once

#include <QDialog>

#include "files/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmar {

// "Options": the drive retry, the backup at the first save, the messages after a load, save or
// resize that worked, and the emulator command (with a word when it leaves out %f). OK stores
// them into the settings (VELMAR.INI is written at once); Cancel leaves them.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    frmOptions(Settings& settings, QWidget* parent = nullptr);

    // Fills the controls from the settings.
    void initGUI();

    QCheckBox* chkCheckDrive = nullptr;
    QCheckBox* chkKeepBackup = nullptr;
    QCheckBox* chkSuccessMessages = nullptr;
    QCheckBox* chkEmulator = nullptr;
    QLineEdit* txtEmulatorPath = nullptr;
    QLabel* lblEmulatorNote = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void chkEmulator_Click();
    void txtEmulatorPath_Change();
    void cmdOk_Click();
    void cmdCancel_Click();

private:
    Settings& settings_;
};

}  // namespace velmar
