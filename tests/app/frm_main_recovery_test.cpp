#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QLockFile>
#include <QTimer>

#include "app_fixture.h"
#include "files/recovery.h"

namespace velmar::test {
namespace {

using MainWindowBackup = SampleWindow;

using Answer = Dialogs::Answer;

// A window on the sample with the recovery copy on, one unsaved edit in scene `key`, and the
// copy written as the timer would write it.
struct EditedWindow {
    AppFixture f;
    std::string original;
    RomImage edited;

    explicit EditedWindow(const char* key = "c:000000")
    {
        f.keepRecovery = true;
        f.startWithSample();
        original = readFile(f.dir.file("game.nes"));
        f.select(key);
        f.editFirstCell();
        edited = w().doc().rom();
        EXPECT_TRUE(w().tmrRecovery->isActive()) << "an edit starts the timer";
        w().tmrRecovery_Timer();
        w().waitForRecoveryWriter();
    }

    frmMain& w() { return *f.window; }
    std::filesystem::path copy() const { return (f.dir.path() / "data" / std::string(kRecoveryFileName)); }
    bool copyKept() { return std::filesystem::exists(copy()); }
    // The editor goes away without being closed, as when it crashes or is killed.
    void crash() { f.window.reset(); }
};

TEST(MainWindowRecovery, EditsLeftByACrashComeBackAsUnsavedChangesOfTheirFile)
{
    EditedWindow e("c:000101");
    EXPECT_EQ(e.w().recoveryFile(), QString::fromStdString(e.copy().string()));
    // The copy is whole before anything at exit could run: a killed editor leaves it so.
    RecoveryCopy kept;
    ASSERT_TRUE(readRecoveryCopy(e.copy(), kept).ok());
    EXPECT_EQ(kept.image, e.edited);
    e.crash();
    ASSERT_TRUE(e.copyKept()) << "only a proper close removes the copy";
    EXPECT_EQ(readFile(e.f.dir.file("game.nes")), e.original);
    // A killed editor also leaves its lock, naming a process that is no more.
    writeFile(e.f.dir.path() / "data" / "recovery.lock", deadEditorLock());
    // And the temporary file of a write it was in the middle of.
    const std::filesystem::path cutShort = e.f.dir.path() / "data" / ".recovery.velmar.velmar-123.tmp";
    writeFile(cutShort, "half");

    e.f.dialogs.answers = {Answer::Yes};
    frmMain& w = e.f.start();
    EXPECT_FALSE(std::filesystem::exists(cutShort));
    EXPECT_EQ(e.f.dialogs.questions,
              QStringList{"Velmar was not closed properly. Unsaved changes to " + e.f.file("game.nes")
                          + " were kept.\nRestore them?"});
    EXPECT_EQ(w.doc().path(), ss(e.f.file("game.nes")));
    EXPECT_EQ(w.doc().rom(), e.edited);
    EXPECT_TRUE(w.doc().hasUnsavedChanges());
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_EQ(w.areaTree->currentItem(), w.findNode("c:000101")) << "the scene shown comes back";
    EXPECT_EQ(sceneKeyText(*w.doc().sceneKey()), "c:000101");
    EXPECT_TRUE(e.f.dialogs.messages.isEmpty()) << e.f.dialogs.messages.join("|").toStdString();

    // Saving writes them over their file, keeps the file as it was, and the copy goes.
    w.saveRom();
    w.waitForRecoveryWriter();
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(readFile(e.f.dir.file("game.nes.bak")), e.original);
    EXPECT_FALSE(e.copyKept());
}

TEST(MainWindowRecovery, TheCopyGoesWhenNothingIsLeftToRecover)
{
    const std::pair<const char*, std::function<void(EditedWindow&)>> ways[] = {
        {"undone back to the file", [](EditedWindow& e) { e.w().menuEditUndo_Click(); }},
        {"closed without saving", [](EditedWindow& e) { EXPECT_TRUE(e.w().close()); }},
        {"another file opened", [](EditedWindow& e) { e.w().loadRom(false, e.f.writeSample("other.nes")); }},
        {"refused at start-up",
         [](EditedWindow& e) {
             e.crash();
             e.f.dialogs.answers = {Answer::No};
             e.f.start();
             EXPECT_FALSE(e.w().doc().hasImage());
         }},
    };
    for (const auto& [way, leave] : ways) {
        EditedWindow e;
        ASSERT_TRUE(e.copyKept()) << way;
        leave(e);
        e.w().waitForRecoveryWriter();
        EXPECT_FALSE(e.copyKept()) << way;
        EXPECT_FALSE(e.w().tmrRecovery->isActive()) << way;
    }

    // A close that is cancelled, or a save that fails, loses nothing.
    EditedWindow e;
    e.f.dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(e.w().close());
    std::filesystem::remove(e.f.dir.file("game.nes"));
    e.w().saveRom();
    e.w().waitForRecoveryWriter();
    EXPECT_TRUE(e.copyKept());
}

TEST(MainWindowRecovery, AGoneFileADamagedCopyAndASecondEditor)
{
    // The file is gone: the edits still come back (saving then fails as any save of a file that
    // is gone does).
    EditedWindow e;
    e.crash();
    std::filesystem::remove(e.f.dir.file("game.nes"));
    e.f.dialogs.answers = {Answer::Yes};
    frmMain& w = e.f.start();
    const QString gone = e.f.file("game.nes");
    EXPECT_EQ(e.f.dialogs.messages,
              QStringList{"The changes are restored, but their file is gone. Put it back in its place to save "
                          "them.\n"
                          + gone + ": No such file or directory"});
    EXPECT_EQ(w.doc().rom(), e.edited);

    // While this editor runs, a second one does not offer its copy, and keeps its own beside it,
    // which comes back after the second is killed.
    e.f.dialogs.questions.clear();
    AppFixture second;
    second.writeGoodDataFiles();
    auto other = std::make_unique<frmMain>(second.dat(), second.config(), e.f.data(), second.dialogs);
    EXPECT_TRUE(second.dialogs.questions.isEmpty());
    const QString otherCopy = QDir::toNativeSeparators(e.f.data() + "/recovery-2.velmar");
    EXPECT_EQ(other->recoveryFile(), otherCopy);
    other->loadRom(false, second.writeSample());
    second.window = std::move(other);
    second.editFirstCell();
    const RomImage secondEdits = second.window->doc().rom();
    second.window->tmrRecovery_Timer();
    second.window->waitForRecoveryWriter();
    second.window.reset();
    second.dialogs.answers = {Answer::Yes};
    frmMain third(second.dat(), second.config(), e.f.data(), second.dialogs);
    EXPECT_EQ(second.dialogs.questions.size(), 1);
    EXPECT_EQ(third.recoveryFile(), otherCopy);
    EXPECT_EQ(third.doc().rom(), secondEdits);
    third.waitForRecoveryWriter();

#ifndef _WIN32
    // A link planted where the copy goes is not followed (the file writer's rule), and the status
    // bar says why no copy is kept. (Wine makes no symbolic links.)
    const std::filesystem::path copy = e.w().recoveryFile().toStdString();
    std::filesystem::remove(copy);
    std::filesystem::create_symlink(e.f.dir.file("victim.txt"), copy);
    e.w().tmrRecovery_Timer();
    e.w().waitForRecoveryWriter();
    QCoreApplication::processEvents();
    EXPECT_TRUE(e.w().mainStatusBar->currentMessage().startsWith("Unsaved changes cannot be kept for recovery: "))
        << e.w().mainStatusBar->currentMessage().toStdString();
    std::filesystem::remove(copy);
#endif

    // A copy that cannot be read is reported and removed, never offered.
    e.w().tmrRecovery_Timer();
    e.crash();
    writeFile(e.copy(), "VELMAR RECOVERY 1\nFILE 3\n/a");
    e.f.dialogs.messages.clear();
    e.f.start();
    EXPECT_TRUE(e.f.dialogs.questions.isEmpty());
    ASSERT_EQ(e.f.dialogs.messages.size(), 1);
    EXPECT_TRUE(
        e.f.dialogs.messages[0].startsWith("Velmar was not closed properly, and the changes it kept cannot be read!\n"
                                           + QString::fromStdString(e.copy().string()) + ": "));
    EXPECT_FALSE(e.copyKept());
}

// The ninth editor at once keeps no copy and says so in the status bar; with success messages off,
// the word that a file loaded goes before that warning, never in its place.
TEST(MainWindowRecovery, AWarningOutlivesTheSuccessThatFollows)
{
    AppFixture f;
    f.keepRecovery = true;
    QDir().mkpath(f.data());
    std::vector<std::unique_ptr<QLockFile>> others;
    for (int slot = 1; slot <= 8; ++slot) {
        others.push_back(std::make_unique<QLockFile>(
            f.data() + (slot == 1 ? QString("/recovery.lock") : QString("/recovery-%1.lock").arg(slot))));
        ASSERT_TRUE(others.back()->tryLock(0));
    }
    f.writeGoodDataFiles();
    writeFile(f.dir.path() / "dat" / "VELMAR.INI", "/roms\n\n\n\n\n\n\nFalse\nShowSuccessMessages=False\n");
    frmMain& w = f.start();
    const QString warning = "Unsaved changes are not kept for recovery: 8 other editors keep theirs in " + f.data();
    EXPECT_EQ(w.mainStatusBar->currentMessage(), warning);
    w.loadRom(false, f.writeSample());
    EXPECT_TRUE(w.mainStatusBar->currentMessage().startsWith("File successfully loaded!"));
    EXPECT_TRUE(w.mainStatusBar->currentMessage().endsWith(warning)) << w.mainStatusBar->currentMessage().toStdString();
    w.mainStatusBar->showMessage("a hint", 1);
    QTest::qWait(50);
    EXPECT_EQ(w.mainStatusBar->currentMessage(), warning) << "back when the passing word is gone";
}

TEST_F(MainWindowBackup, ABackupThatCannotBeMadeStopsTheSave)
{
    const std::string original = readFile(f.dir.file("game.nes"));
    std::filesystem::create_directory(f.dir.file("game.nes.bak"));
    f.editFirstCell();
    w.saveRom();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("The backup could not be made, so the file was not saved!\n"
                                                 + f.file("game.nes.bak") + ": "))
        << f.dialogs.messages[0].toStdString();
    EXPECT_EQ(readFile(f.dir.file("game.nes")), original);
    EXPECT_TRUE(w.isWindowModified());

    w.workspace().settings.keepBackup = false;  // as the Options dialog sets it
    w.saveRom();
    EXPECT_EQ(f.dialogs.messages.back(), "File saved!");
}

}  // namespace
}  // namespace velmar::test
