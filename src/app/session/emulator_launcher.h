#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

#include "windows/editor_context.h"

namespace velmar {

class PlayTestCopy;

// Runs the emulator the options name on the edited image. Play-testing does not save: when
// the command names the ROM file, the emulator gets a copy of the image as it is now.
class EmulatorLauncher {
public:
    // Starts an external command; true when it started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    // Starts programs as detached processes, with startProgram.
    EmulatorLauncher();
    // Starts `program` with `arguments`, each passed whole as one word however it is written
    // (on Windows, quoted into the command line as programs read it back).
    static bool startProgram(const QString& program, const QStringList& arguments);
    ~EmulatorLauncher();

    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
    // `commitPendingInput` takes a value still being typed into a box, before the copy is made.
    void run(const EditorContext& context, const std::function<void()>& commitPendingInput);
    // The play-test copy the emulator was last given; empty when there is none.
    QString playTestPath() const { return playTestPath_; }
    // The play-test copy goes (at exit).
    void removeCopy();

private:
    Launcher launcher_;
    std::unique_ptr<PlayTestCopy> playTest_;
    QString playTestPath_;
};

}  // namespace velmar
