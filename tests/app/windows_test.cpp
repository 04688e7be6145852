// What Windows does differently around the editor: how it ends a session, what an emulator that
// holds the play-test copy open does to replacing and removing it, and drive letters.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <QFile>

#include "app_fixture.h"
#include "files/recovery.h"
#include "session/play_test_copy.h"
#include "session/private_folder.h"

namespace velmar::test {
namespace {

using Answer = Dialogs::Answer;

// Wine accepts an access list for a folder and keeps none: it shows the temporary folder's.
bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

Bytes bytesIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return Bytes(all.begin(), all.end());
}

// Windows ends a session (a logout, a shutdown) with two messages to every top-level window:
// WM_QUERYENDSESSION asks each program to keep its data, as another program may still cancel;
// WM_ENDSESSION ends it, and the process is gone once the answer returns. After the first the
// unsaved edits are in the recovery copy and the editor goes on; after the second it has ended
// as when SIGTERM stops it: no question, the settings kept, the play-test copy gone.
TEST(WindowsSession, ALogOffKeepsUnsavedEditsAndEndsTheEditor)
{
    if (QGuiApplication::platformName() != "windows")
        GTEST_SKIP() << "the session's messages reach the windows of Windows' own platform plugin, not "
                     << QGuiApplication::platformName().toStdString();
    AppFixture f;
    f.keepRecovery = true;
    frmMain& w = f.startWithSample();
    w.show();
    w.workspace().settings.emulatorCommand = "emu %f";
    f.editFirstCell();
    w.cmdRunEmulator_Click();
    const QString folder = QFileInfo(w.playTestPath()).absolutePath();
    ASSERT_TRUE(QFileInfo::exists(folder));
    ASSERT_FALSE(QFileInfo::exists(w.recoveryFile())) << "written a few seconds after the change";

    const auto window = reinterpret_cast<HWND>(w.winId());
    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    RecoveryCopy kept;
    ASSERT_TRUE(readRecoveryCopy(pathFromUtf8(ss(w.recoveryFile())), kept).ok());
    EXPECT_EQ(kept.image, w.doc().rom());
    EXPECT_FALSE(w.exiting());
    EXPECT_TRUE(QFileInfo::exists(folder));

    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(w.exiting());
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(readRecoveryCopy(pathFromUtf8(ss(w.recoveryFile())), kept).ok());
    EXPECT_NE(readFile(f.dir.path() / "dat" / "VELMAR.INI").find("\nemu %f\n"), std::string::npos);
}

// The play-test folder lets its user alone in: a protected access list of one entry, the user's,
// which the copies inherit. An emulator may hold the copy it plays open, which keeps Windows from
// replacing or removing it: the next run's copy goes beside it, and at exit the rest goes while
// the held copy stays, without a word, until a start after the emulator let go.
TEST(WindowsPlayTest, ACopyAnEmulatorHoldsOpenIsNeitherReplacedNorInTheWay)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    w.workspace().settings.emulatorCommand = "emu %f";
    w.cmdRunEmulator_Click();
    const QString first = w.playTestPath();
    const QString folder = QFileInfo(first).absolutePath();
    ASSERT_TRUE(QFileInfo::exists(first));

    if (!underWine()) {
        const std::wstring nativeFolder = QDir::toNativeSeparators(folder).toStdWString();
        PACL acl = nullptr;
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(GetNamedSecurityInfoW(nativeFolder.c_str(), SE_FILE_OBJECT,
                                        DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION, &owner, nullptr, &acl,
                                        nullptr, &descriptor),
                  static_cast<DWORD>(ERROR_SUCCESS));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        EXPECT_TRUE(control & SE_DACL_PROTECTED);
        EXPECT_TRUE(ownedByCurrentUser(folder));
        ASSERT_TRUE(acl);
        ASSERT_EQ(acl->AceCount, 1);
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, 0, &ace));
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_TRUE(EqualSid(const_cast<DWORD*>(&allowed->SidStart), owner));
        LocalFree(descriptor);
    }

    // As most programs open files: others may read it, not delete or replace it.
    const HANDLE held = CreateFileW(QDir::toNativeSeparators(first).toStdWString().c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Bytes before = bytesIn(first);
    f.editFirstCell();
    w.cmdRunEmulator_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();
    EXPECT_EQ(w.playTestPath(), folder + "/2/game.nes");
    EXPECT_EQ(bytesIn(w.playTestPath()), w.doc().rom().fileBytes());
    EXPECT_EQ(bytesIn(first), before);

    f.dialogs.answers = {Answer::No};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo::exists(folder + "/2"));
    PlayTestCopy::removeStale(QDir::tempPath());
    EXPECT_TRUE(QFileInfo::exists(first)) << "still held";

    CloseHandle(held);
    PlayTestCopy::removeStale(QDir::tempPath());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// The quick-loading option: a recent file that is gone from its drive (a USB stick that got
// another letter) opens from the same place on a drive the system lists.
TEST(WindowsDrives, TheQuickLoadingOptionOpensARecentFileFromAnotherDrive)
{
    AppFixture f;
    f.writeGoodDataFiles();
    frmMain& w = f.start();
    const QString onC = QDir::toNativeSeparators(f.writeSample());
    ASSERT_TRUE(onC.startsWith("C:\\"));
    const QString lost = "Y" + onC.mid(1);
    w.loadRom(false, lost);
    EXPECT_FALSE(w.doc().hasImage()) << "the option is off";
    f.dialogs.messages.clear();

    w.workspace().settings.checkDrive = true;
    w.loadRom(false, lost);
    ASSERT_TRUE(w.doc().hasImage()) << f.dialogs.messages.join("|").toStdString();
    EXPECT_EQ(QDir::toNativeSeparators(qs(w.doc().path())), onC);
    EXPECT_EQ(qs(w.workspace().settings.recentFiles[0]), onC);
}

}  // namespace
}  // namespace velmar::test

#endif
