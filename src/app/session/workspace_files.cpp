// The workspace's files: the settings, the data files read at start-up, and the window layout.
#include "session/workspace_files.h"

#include <utility>

#include <QDir>
#include <QFileInfo>

#include "dialogs.h"
#include "editor/workspace.h"
#include "files/name_list.h"
#include "qt_bridge.h"
#include "text/char_table.h"

namespace velmar {

WorkspaceFiles::WorkspaceFiles(const QString& datFolder, const QString& userConfigFolder)
    : datFolder_(datFolder), userConfigFolder_(userConfigFolder)
{
}

SettingsFiles WorkspaceFiles::settingsFiles() const
{
    return {pathFromUtf8(ss(datFolder_ + "/VELMAR.INI")),
            userConfigFolder_.isEmpty() ? std::filesystem::path()
                                        : pathFromUtf8(ss(userConfigFolder_ + "/VELMAR.INI"))};
}

void WorkspaceFiles::load(Workspace& workspace, Dialogs& dialogs)
{
    // A missing settings file is the first start: the defaults, and the file is written at exit.
    // A file that is there but cannot be read is worth a word.
    const std::string programFolder = ss(QDir::toNativeSeparators(QFileInfo(datFolder_).absolutePath()));
    // A file that does not read well keeps the values that do, and is kept as it was in
    // VELMAR.INI.bad before the exit writes over it; when that copy cannot be made, the file is
    // not written over at all.
    const std::filesystem::path inUse = settingsFileInUse(settingsFiles());
    const Outcome<SettingsLoad> settings = loadSettings(inUse, programFolder, workspace.settings);
    read_ = workspace.settings;
    if (settings.code == SettingsLoad::Unreadable || settings.code == SettingsLoad::Partial) {
        QString text = settings.code == SettingsLoad::Partial
            ? "Error loading \"VELMAR.INI\"!\nThe values that read well are kept; the others take "
              "their defaults."
            : QString("Error loading \"VELMAR.INI\"!\nLoading defaults...");
        text += "\n" + QDir::toNativeSeparators(qs(pathToUtf8(inUse))) + ": " + qs(settings.reason);
        std::filesystem::path kept;
        if (const Outcome<WriteResult> k = keepUnreadSettings(inUse, kept); k.ok()) {
            text += "\nThe file as it was is kept as " + QDir::toNativeSeparators(qs(pathToUtf8(kept))) + ".";
        } else {
            text += "\nIt cannot be kept as " + QDir::toNativeSeparators(qs(pathToUtf8(kept))) + " (" + qs(k.reason)
                + "), so the settings will not be written over it.";
            keepSettingsFile_ = true;
        }
        dialogs.message(text);
    }

    const QString table = datFolder_ + "/TBL.DAT";
    if (const std::string reason = loadCharTable(pathFromUtf8(ss(table)), workspace.charTable); !reason.empty())
        dialogs.message(fileMessageText("Error loading \"TBL.DAT\"!\nLoading default table.",
                                        QDir::toNativeSeparators(table), reason));

    loadNameLists(workspace, dialogs);
}

void WorkspaceFiles::loadNameLists(Workspace& workspace, Dialogs& dialogs) const
{
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ITEM.DAT")))) {
        workspace.itemNames = std::move(*names);
    } else {
        dialogs.message("Error loading \"ITEM.DAT\"!\nLoading default table.");
        workspace.itemNames = defaultItemNames();
    }
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ENEMY.DAT")))) {
        workspace.enemyNames = std::move(*names);
    } else {
        dialogs.message("Error loading \"ENEMY.DAT\"!\nLoading default table.");
        workspace.enemyNames = defaultEnemyNames();
    }
}

void WorkspaceFiles::saveSettings(Settings& settings, Dialogs* dialogs)
{
    // A file that could not be read, nor kept aside, is not written over.
    if (keepSettingsFile_)
        return;
    // Another editor may have written the file since; one that does not read well now counts as
    // what this editor read.
    Settings onDisk;
    const std::string programFolder = ss(QDir::toNativeSeparators(QFileInfo(datFolder_).absolutePath()));
    if (!loadSettings(settingsFiles(), programFolder, onDisk).ok())
        onDisk = read_;
    const Settings merged = mergeSettings(read_, settings, onDisk);
    std::filesystem::path written;
    if (const Outcome<WriteResult> r = velmar::saveSettings(settingsFiles(), merged, written); !r.ok()) {
        if (dialogs && !std::exchange(failureTold_, true))
            dialogs->message(fileMessageText("Error saving \"VELMAR.INI\"!", qs(pathToUtf8(written)), r.reason));
        return;
    }
    failureTold_ = false;
    read_ = merged;
    settings = merged;
}

QString WorkspaceFiles::layoutFile() const
{
    return (userConfigFolder_.isEmpty() ? datFolder_ : userConfigFolder_) + "/layout.ini";
}

}  // namespace velmar
