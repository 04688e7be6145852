#include <gtest/gtest.h>

#include <filesystem>

#include "app_fixture.h"
#include "session/play_test_copy.h"
#include "support/test_support.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

// Someone with rights over the temporary folder swaps a play-test folder for a link to a folder
// of the user's: nothing is removed through the link, whether the swap comes between the start-up
// check and the removal or while an editor's own folder waits for its exit.
TEST(PlayTestCopy, AFolderSwappedForALinkIsNeverEmptiedThroughIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine makes no symbolic links; stale folders go in MainWindowSession";
#endif
    TempDir temp;
    TempDir victim;
    writeFile(victim.file("keep.txt"), "keep");
    const auto swapForLink = [&](const fs::path& folder) {
        fs::rename(folder, folder.string() + ".moved");
        fs::create_directory_symlink(victim.path(), folder);
    };
    const QString tempFolder = QString::fromStdString(temp.path().string());

    const fs::path stale = temp.file("velmar-playtest-stale");
    fs::create_directory(stale);
    writeFile(stale / "game.nes", "old");
    // Its editor was killed: the lock names a process that is no more, and no one holds it.
    writeFile(stale / "editor.lock", deadEditorLock());
    PlayTestCopy::setBeforeRemovalForTesting([&](const QString& folder) { swapForLink(folder.toStdString()); });
    PlayTestCopy::removeStale(tempFolder);
    PlayTestCopy::setBeforeRemovalForTesting({});
    EXPECT_EQ(readFile(victim.file("keep.txt")), "keep");
    EXPECT_TRUE(fs::is_symlink(stale)) << "someone else's link is left as it is";
    fs::remove(stale);

    // What an editor left is removed: its files, and a link in it as a link. A folder without
    // its lock yet may be one an editor is making right now.
    fs::rename(stale.string() + ".moved", stale);
    fs::create_symlink(victim.file("keep.txt"), stale / "link");
    fs::create_directory(temp.file("velmar-playtest-new"));
    PlayTestCopy::removeStale(tempFolder);
    EXPECT_FALSE(fs::exists(fs::symlink_status(stale)));
    EXPECT_EQ(readFile(victim.file("keep.txt")), "keep");
    EXPECT_TRUE(fs::exists(temp.file("velmar-playtest-new")));

    PlayTestCopy copy(tempFolder);
    QString path;
    ASSERT_TRUE(copy.write(bytesOf("image"), "game.nes", path).ok());
    swapForLink(fs::path(path.toStdString()).parent_path());
    copy.remove();
    EXPECT_EQ(readFile(victim.file("keep.txt")), "keep");
}

}  // namespace
}  // namespace velmar::test
