#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <string_view>

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#else
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#endif

#include "dialogs.h"
#include "files/app_info.h"
#include "files/settings.h"
#include "frm_main.h"
#include "session/play_test_copy.h"
#include "qt_bridge.h"
#include "rom/rom_file.h"
#include "sample/sample_rom.h"

using namespace velmar;

namespace {

void setApplicationNames()
{
    QCoreApplication::setApplicationName("Velmar");
    QCoreApplication::setApplicationVersion(qs(versionText()));
}

void describeOptions(QCommandLineParser& parser, const QCommandLineOption& sample)
{
    parser.setApplicationDescription("Level editor for the ROM image of an NES side-scrolling action game.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(sample);
    parser.addPositionalArgument("rom", "The ROM image to open.", "[rom]");
}

QCommandLineOption sampleOption()
{
    return QCommandLineOption("sample", "Open the built-in sample image (kept in the user's data folder).");
}

#ifdef _WIN32
// velmar.exe is a window program, without a console of its own: help and version go where its
// output is sent (a file, a pipe), else to the console of the command prompt it was started from,
// which a script can read. Only when there is neither does Qt show them in a message box. (Qt
// would show one also for output sent elsewhere by a starter that does not say so in its
// start-up information, as Wine's does: the program prints them itself.)
bool printToTheCallersConsole()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool redirected = out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
    if (!redirected) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        (void)std::freopen("CONOUT$", "w", stdout);
        (void)std::freopen("CONOUT$", "w", stderr);
    }
    return true;
}
#endif

// Help and version are answered before the QApplication exists, which needs a display: they
// work on a terminal without one. A command line that does not parse here (it may carry Qt's own
// options, such as -platform, which only the QApplication takes) is left to the QApplication.
void answerHelpOrVersion(int& argc, char* argv[])
{
    bool asked = false;
    for (int i = 1; i < argc && !asked; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        asked =
            arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version";
    }
    if (!asked)
        return;
#ifdef _WIN32
    const bool toConsole = printToTheCallersConsole();
#endif
    QCoreApplication app(argc, argv);
    setApplicationNames();
    QCommandLineParser parser;
    describeOptions(parser, sampleOption());
    if (!parser.parse(QCoreApplication::arguments()))
        return;
#ifdef _WIN32
    if (toConsole && (parser.isSet("version") || parser.isSet("help"))) {
        const QString text = parser.isSet("version")
            ? QCoreApplication::applicationName() + " " + QCoreApplication::applicationVersion() + "\n"
            : parser.helpText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
        std::exit(EXIT_SUCCESS);
    }
#endif
    parser.process(app);  // prints the help or the version and exits
}

// Where the editor's files are. The data files sit in a dat folder beside the program (the build
// folder, or a program folder copied as a whole); an installed program has none there and finds
// them where the install put them, relative to the program, so that any prefix works.
struct Folders {
    QString dat;
    QString userConfig;
    QString readme;
    bool settingsWithTheUser = false;  // VELMAR.INI is kept in userConfig
};

Folders programFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    Folders folders{programFolder + "/dat", QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                    programFolder + "/README.md"};
    const QString installedDat = QDir::cleanPath(programFolder + "/" + VELMAR_INSTALLED_DAT);
    if (!QFileInfo(folders.dat).isDir() && QFileInfo(installedDat).isDir()) {
        folders.dat = installedDat;
        folders.settingsWithTheUser = true;
    }
#ifdef _WIN32
    // A Windows program keeps the user's settings in the user's profile, %APPDATA%\Velmar, with
    // the sample image and the recovery copy, wherever the program is (Program Files is not the
    // user's to write); its data files stay beside velmar.exe.
    folders.userConfig = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    folders.settingsWithTheUser = true;
#endif
    if (!QFileInfo(folders.readme).isFile())
        folders.readme = QDir::cleanPath(programFolder + "/" + VELMAR_INSTALLED_DOC + "/README.md");
    return folders;
}

// An installed program keeps VELMAR.INI in the user's configuration folder, also when its prefix
// can be written (~/.local): the data folder belongs to the install. The editor writes the user's
// copy whenever there is one, so the first start makes it, with the defaults; the open dialog
// then starts in the home folder. When it cannot be made, the editor goes on as any program does
// (beside the data files where it can, else with a message at exit).
void keepSettingsWithTheUser(const QString& userConfigFolder)
{
    const QString path = userConfigFolder + "/VELMAR.INI";
    if (userConfigFolder.isEmpty() || QFileInfo::exists(path) || !QDir().mkpath(userConfigFolder))
        return;
    const Settings defaults = defaultSettings(ss(QDir::toNativeSeparators(QDir::homePath())));
    // Not made: the exit tries again and says why it cannot (see above).
    (void)saveSettings(pathFromUtf8(ss(path)), defaults);
}

// The sample image in the user's data folder: written once, then kept as the user edits it.
QString ensureSampleImage(QString& error)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString path = folder + "/sample.nes";
    if (QFileInfo::exists(path))
        return path;
    if (!QDir().mkpath(folder)) {
        error = "The sample image could not be written:\n" + folder + ": the folder cannot be made";
        return QString();
    }
    if (const Outcome<WriteResult> r =
            writeFileSafely(pathFromUtf8(ss(path)), buildSampleRom().fileBytes(), false, FileOwner::Program);
        !r.ok()) {
        error = qs(fileMessage("The sample image could not be written!", ss(path), r.reason));
        return QString();
    }
    return path;
}

#ifndef _WIN32
// SIGTERM and SIGHUP (a logout, a shutdown, `kill`) end the session the way the window would:
// the handler only writes a byte, and the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onEndSignal(int)
{
    const char byte = 1;
    (void)!::write(signalPipe[1], &byte, 1);
}

void endSessionOnSignals(frmMain& window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        char byte = 0;
        (void)!::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        window.endSession();
    });
    struct sigaction action { };
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}
#endif

}  // namespace

int main(int argc, char* argv[])
{
    answerHelpOrVersion(argc, argv);

    QApplication app(argc, argv);
    setApplicationNames();

    QCommandLineParser parser;
    const QCommandLineOption sample = sampleOption();
    describeOptions(parser, sample);
    parser.process(app);

    const Folders folders = programFolders();
    if (folders.settingsWithTheUser)
        keepSettingsWithTheUser(folders.userConfig);

    // Play-test copies of editors that were killed.
    PlayTestCopy::removeStale(QDir::tempPath());

    QtDialogs dialogs;
    // The recovery copy goes to the data folder, beside the sample image.
    frmMain window(folders.dat, folders.userConfig, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                   dialogs);
    window.setReadmeFile(folders.readme);
#ifndef _WIN32
    endSessionOnSignals(window);
#endif
    window.show();

    QString toOpen;
    if (parser.isSet(sample)) {
        QString error;
        toOpen = ensureSampleImage(error);
        if (toOpen.isEmpty())
            window.dialogs().message(error, Dialogs::Icon::Exclamation);
    } else if (!parser.positionalArguments().isEmpty()) {
        toOpen = QFileInfo(parser.positionalArguments().front()).absoluteFilePath();
    }
    // Restored edits of the same file are already open; opening it again would only ask whether
    // to drop them.
    const QString restored =
        window.doc().hasImage() ? QFileInfo(qs(window.doc().path())).canonicalFilePath() : QString();
    if (!toOpen.isEmpty() && (restored.isEmpty() || restored != QFileInfo(toOpen).canonicalFilePath()))
        QTimer::singleShot(0, &window, [&window, toOpen] { window.loadRom(false, toOpen); });
    return app.exec();
}
