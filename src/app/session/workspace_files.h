#pragma once

#include <QString>

#include "files/settings.h"

namespace velmar {

class Dialogs;
struct Workspace;

// The files the workspace is read from and kept in: VELMAR.INI, TBL.DAT, ITEM.DAT and
// ENEMY.DAT, and the window's layout.
class WorkspaceFiles {
public:
    // `datFolder` holds TBL.DAT, ITEM.DAT, ENEMY.DAT and, where it can be written, VELMAR.INI;
    // the program folder is its parent. `userConfigFolder` keeps VELMAR.INI otherwise.
    WorkspaceFiles(const QString& datFolder, const QString& userConfigFolder);

    // Start-up: the settings, the character table and the item and enemy names. A file that
    // cannot be read is told through `dialogs`, and the defaults stand in for it.
    void load(Workspace& workspace, Dialogs& dialogs);
    // Writes what this editor changed in `settings` since it read the file, over the file as it
    // is now: another editor's changes written meanwhile stay, and come into `settings`. Called
    // when a setting changes and at exit. A failure is told through `dialogs` (once, until a
    // write works again); without them (no one is there to read a message) a file that cannot be
    // written is left as it was.
    void saveSettings(Settings& settings, Dialogs* dialogs);

    // Where the arrangement of the windows is kept between runs (WindowLayout): a file of its own
    // in the user's configuration folder (the data folder when there is none).
    QString layoutFile() const;

private:
    SettingsFiles settingsFiles() const;
    void loadNameLists(Workspace& workspace, Dialogs& dialogs) const;

    QString datFolder_;
    QString userConfigFolder_;
    // The settings file did not read well and could not be kept aside: it is not written over.
    bool keepSettingsFile_ = false;
    // The settings as read from the file or last written to it: what this editor changed since
    // is measured against them.
    Settings read_;
    bool failureTold_ = false;
};

}  // namespace velmar
