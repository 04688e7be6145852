#pragma once

#include <QDialog>

#include "files/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace velmar {

// "Options": the drive retry, the backup at the first save, the messages after a load, save or
// resize that worked, and the emulator command. OK stores
// them into the settings (written to VELMAR.INI when the program ends); Cancel leaves them.
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
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void chkEmulator_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

private:
    Settings& settings_;
};

}  // namespace velmar
