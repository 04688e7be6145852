#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include "dialogs.h"
#include "frm_main.h"
#include "qt_bridge.h"
#include "rom/rom_file.h"
#include "sample/sample_rom.h"

using namespace velmar;

namespace {

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
    if (const Outcome<WriteResult> r = writeFileSafely(pathFromUtf8(ss(path)), buildSampleRom().fileBytes(), false);
        !r.ok()) {
        error = qs(fileMessage("The sample image could not be written!", ss(path), r.reason));
        return QString();
    }
    return path;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmar");
    QApplication::setApplicationVersion(QString("%1.%2.%3").arg(VELMAR_VERSION_MAJOR).arg(VELMAR_VERSION_MINOR).arg(VELMAR_VERSION_PATCH));

    QCommandLineParser parser;
    parser.setApplicationDescription("Level editor for the ROM image of an NES side-scrolling action game.");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption sample("sample", "Open the built-in sample image (kept in the user's data folder).");
    parser.addOption(sample);
    parser.addPositionalArgument("rom", "The ROM image to open.", "[rom]");
    parser.process(app);

    QtDialogs dialogs;
    // The recovery copy goes to the data folder, beside the sample image.
    frmMain window(QApplication::applicationDirPath() + "/dat",
                   QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), dialogs);
    dialogs.setParent(&window);
    window.show();

    QString toOpen;
    if (parser.isSet(sample)) {
        QString error;
        toOpen = ensureSampleImage(error);
        if (toOpen.isEmpty())
            dialogs.message(error, Dialogs::Icon::Exclamation);
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
