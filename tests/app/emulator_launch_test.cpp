#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include "app_fixture.h"
#include "session/emulator_launcher.h"

namespace velmar::test {
namespace {

// The emulator is really started, as the user typed it, with paths that hold spaces and letters
// beyond ASCII: in the program's own path, in its arguments and in the image's name, which the
// play-test copy keeps, less what a command interpreter would read. A stand-in emulator writes
// down the words it was given, as a program reads its command line.
TEST(EmulatorLaunch, PathsWithSpacesAndLettersBeyondAsciiReachTheEmulatorWhole)
{
    AppFixture f;
    f.writeGoodDataFiles();
    frmMain& w = f.start();
    w.setLauncher(&EmulatorLauncher::startProgram);

    const QString top = QString::fromStdString(f.dir.path().string());
    const QString game = top + QString::fromUtf8("/Mon jeu \u00e9t\u00e9 \u95dc\u5361 %PATH%&!.nes");
    const Bytes image = sampleImage().fileBytes();
    QFile out(game);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
    out.close();
    w.loadRom(false, game);
    ASSERT_TRUE(w.doc().hasImage()) << f.dialogs.messages.join("|").toStdString();
    f.dialogs.messages.clear();

#ifdef _WIN32
    const QString exe = ".exe";
#else
    const QString exe;
#endif
    const QString emulatorFolder = top + QString::fromUtf8("/\u00c9mulateur \u95dc");
    const QString emulator = emulatorFolder + "/emu probe" + exe;
    ASSERT_TRUE(QDir().mkpath(emulatorFolder));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/velmar_emulator_probe" + exe, emulator))
        << "the probe is built beside the tests";
    const QString report = top + QString::fromUtf8("/what it got \u00e9.txt");
    w.workspace().settings.emulatorCommand = ss("\"" + QDir::toNativeSeparators(emulator) + "\" \""
                                                + QDir::toNativeSeparators(report) + "\" --scale 2 \"a b\" %f");
    w.cmdRunEmulator_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();

    QFile got(report);
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.exists(); }, 20000)) << "the emulator was not started";
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    const QStringList words = QString::fromUtf8(got.readAll()).split('\n');
    const QString copy = QDir::toNativeSeparators(w.playTestPath());
    EXPECT_TRUE(copy.endsWith(QString::fromUtf8("Mon jeu \u00e9t\u00e9 \u95dc\u5361 _PATH___.nes"))) << ss(copy);
    EXPECT_EQ(
        words,
        QStringList({QDir::toNativeSeparators(report), "--scale", "2", "a b", copy, QString::number(image.size())}));
}

}  // namespace
}  // namespace velmar::test
