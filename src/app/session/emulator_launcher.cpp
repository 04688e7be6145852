// The emulator run on the edited image.
#include "session/emulator_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "files/emulator_command.h"
#include "session/play_test_copy.h"
#include "qt_bridge.h"

namespace velmar {

EmulatorLauncher::EmulatorLauncher() : launcher_(&EmulatorLauncher::startProgram) { }

bool EmulatorLauncher::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

EmulatorLauncher::~EmulatorLauncher() = default;

void EmulatorLauncher::run(const EditorContext& context, const std::function<void()>& commitPendingInput)
{
    const Settings& settings = context.workspace().settings;
    Dialogs& dialogs = context.dialogs();
    const Document& doc = context.doc();
    if (settings.emulatorCommand.empty()) {
        dialogs.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
#ifdef _WIN32
    constexpr bool kBackslashEscapes = false;
#else
    constexpr bool kBackslashEscapes = true;
#endif
    std::vector<std::string> words = splitCommandLine(settings.emulatorCommand, kBackslashEscapes);
    if (words.empty()) {
        dialogs.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
    commitPendingInput();
    if (mentionsRomFile(words)) {
        // Play-testing without saving: the edited image goes to a file of its own; the ROM file
        // on disk is not touched. The copy is removed at exit.
        if (!playTest_)
            playTest_ = std::make_unique<PlayTestCopy>(QDir::tempPath());
        QString copy;
        const QString name = QFileInfo(qs(doc.path())).fileName();
        if (const Outcome<WriteResult> w = playTest_->write(doc.rom().fileBytes(), name, copy); !w.ok()) {
            dialogs.message(fileMessageText("Could not write the test image!", copy, w.reason),
                            Dialogs::Icon::Exclamation);
            return;
        }
        playTestPath_ = copy;
        words = substituteRomFile(std::move(words), ss(QDir::toNativeSeparators(copy)));
    }
    QStringList arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments << qs(words[i]);
    if (!launcher_(qs(words.front()), arguments))
        dialogs.message("The emulator could not be started:\n" + qs(settings.emulatorCommand),
                        Dialogs::Icon::Exclamation);
}

void EmulatorLauncher::removeCopy() { playTest_.reset(); }

}  // namespace velmar
