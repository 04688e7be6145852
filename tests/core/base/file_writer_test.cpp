#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "base/file_writer.h"
#include "support/test_support.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

const Bytes kNew = {'n', 'e', 'w'};

std::size_t entries(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Clears the injected fault however the test ends.
struct FaultGuard {
    ~FaultGuard() { setWriteFaultForTesting({}); }
};

TEST(FileWriter, ReadOnlyFilesAndFoldersAreRefusedAsTheyAre)
{
    TempDir dir;
    const fs::path file = dir.file("game.nes");
    writeFile(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto r = writeFileSafely(file, kNew, true, FileOwner::User);
    EXPECT_EQ(r.reason, "The file is read-only");
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(entries(dir.path()), 1u);

#ifndef _WIN32
    // (On Windows a folder's read-only attribute does not keep anyone from writing into it.)
    const fs::path locked = dir.path() / "locked";
    fs::create_directories(locked);
    writeFile(locked / "game.nes", "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(writeFileSafely(locked / "game.nes", kNew, true, FileOwner::User).reason,
              "The folder cannot be written: " + locked.string());
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(readFile(locked / "game.nes"), "old");
    EXPECT_EQ(entries(locked), 1u);
#endif
}

#ifdef _WIN32
// Windows replaces no file that another program holds open without sharing its deletion (most
// programs open files so): the write is refused with that reason, the file keeps its bytes, and
// the temporary copy is gone. Once the other program lets go, the write goes through.
TEST(FileWriter, AFileOpenInAnotherProgramIsRefusedAsItIs)
{
    TempDir dir;
    const fs::path file = dir.file("game.nes");
    writeFile(file, "old");
    const HANDLE held =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto r = writeFileSafely(file, kNew, true, FileOwner::User);
    EXPECT_EQ(r.reason, "The file is open in another program, which keeps it from being replaced; nothing was written");
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(entries(dir.path()), 1u) << "no temporary file left";
    CloseHandle(held);
    ASSERT_TRUE(writeFileSafely(file, kNew, true, FileOwner::User).ok());
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(entries(dir.path()), 1u);
}
#endif

#ifndef _WIN32
// A new file gets what the user's umask gives new files (a patch or a picture to share); a file
// replaced keeps its own permissions, also a private one.
TEST(FileWriter, NewFilesFollowTheUmaskAndOldOnesKeepTheirPermissions)
{
    TempDir dir;
    const ::mode_t old = ::umask(022);
    ASSERT_TRUE(writeFileSafely(dir.file("new.ips"), kNew, false, FileOwner::User).ok());
    writeFile(dir.file("private.nes"), "old");
    fs::permissions(dir.file("private.nes"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeFileSafely(dir.file("private.nes"), kNew, true, FileOwner::User).ok());
    ::umask(old);
    EXPECT_EQ(fs::status(dir.file("new.ips")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(fs::status(dir.file("private.nes")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
#endif

// A hard-linked file keeps its other names: the new bytes go into the file itself. (On Windows
// std::filesystem counts one link for every file; the writer asks the system.)
TEST(FileWriter, AHardLinkedFileKeepsItsOtherNames)
{
    TempDir dir;
    const fs::path real = dir.file("game.nes");
    writeFile(real, "old");
    const fs::path other = dir.file("other.nes");
    fs::create_hard_link(real, other);
    ASSERT_TRUE(writeFileSafely(real, {'t', 'w', 'o', '!'}, true, FileOwner::User).ok());
    EXPECT_EQ(readFile(other), "two!");
    EXPECT_EQ(entries(dir.path()), 2u) << "no temporary file left";
}

#ifndef _WIN32
// (Wine makes no symbolic links: on Windows these rules are not tried here.)
TEST(FileWriter, ASymbolicLinkIsWrittenThrough)
{
    TempDir dir;
    fs::create_directories(dir.path() / "real");
    const fs::path real = dir.path() / "real" / "game.nes";
    writeFile(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // The link stays and the real file keeps its mode.
    const fs::path link = dir.file("link.nes");
    fs::create_symlink(real, link);
    ASSERT_TRUE(writeFileSafely(link, kNew, true, FileOwner::User).ok());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(readFile(real), "new");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(dir.path() / "real"), 1u) << "no temporary file left beside the real file";

    // A link to nothing is refused, and nothing is made where it points.
    const fs::path dangling = dir.file("dangling.nes");
    fs::create_symlink(dir.path() / "gone" / "game.nes", dangling);
    EXPECT_EQ(writeFileSafely(dangling, kNew, false, FileOwner::User).code, WriteResult::IoError);
    EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}
#endif

// A name the program picks itself may have been taken by someone else first: a link planted
// there is neither followed nor replaced, nor is anything else that is not a plain file, and a
// hard link planted there is replaced rather than written into.
TEST(FileWriter, AProgramsFileIsNeverWrittenThroughWhatStandsAtItsName)
{
    TempDir dir;
    const fs::path victim = dir.file("victim.txt");
    writeFile(victim, "precious");
    std::size_t names = 3;  // the victim, the folder and the hard link below
#ifndef _WIN32
    const fs::path planted = dir.file("game.nes.bak");
    fs::create_symlink(victim, planted);
    const auto r = writeFileSafely(planted, kNew, false, FileOwner::Program);
    EXPECT_EQ(r.reason, "A link stands where this file goes; it was not followed, and nothing was written");
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_EQ(fs::read_symlink(planted), victim);
    ++names;
#endif

    fs::create_directories(dir.path() / "folder.bak");
    EXPECT_EQ(writeFileSafely(dir.path() / "folder.bak", kNew, false, FileOwner::Program).code, WriteResult::IoError);

    const fs::path hard = dir.file("copy.bak");
    fs::create_hard_link(victim, hard);
    ASSERT_TRUE(writeFileSafely(hard, kNew, false, FileOwner::Program).ok());
    EXPECT_EQ(readFile(hard), "new");
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_EQ(entries(dir.path()), names) << "no temporary file left";
}

TEST(FileWriter, AFailureAtAnyStepLeavesTheFileAsItWas)
{
    FaultGuard guard;
    TempDir dir;
    const fs::path file = dir.file("game.nes");
    writeFile(file, "old");
    for (WriteStep failing : {WriteStep::CreateTemp, WriteStep::WriteTemp, WriteStep::SyncTemp, WriteStep::Replace}) {
        setWriteFaultForTesting([failing](WriteStep step) { return step == failing ? ENOSPC : 0; });
        const auto r = writeFileSafely(file, kNew, true, FileOwner::User);
        EXPECT_EQ(r.reason, "No space left on device") << static_cast<int>(failing);
        EXPECT_EQ(readFile(file), "old");
        EXPECT_EQ(entries(dir.path()), 1u) << "the temporary file is gone";
    }

    // Writing into a hard-linked file fails after the new contents are safe: they are kept.
    fs::create_hard_link(file, dir.file("other.nes"));
    setWriteFaultForTesting([](WriteStep step) { return step == WriteStep::WriteInPlace ? EIO : 0; });
    const auto r = writeFileSafely(file, kNew, true, FileOwner::User);
    EXPECT_EQ(r.code, WriteResult::IoError);
    EXPECT_NE(r.reason.find("the new contents are kept in "), std::string::npos) << r.reason;
    EXPECT_EQ(entries(dir.path()), 3u);
}

// A file the program names below a folder it fills is reached from the folders themselves, held
// open: a folder swapped for a link after every check takes nothing elsewhere, and a failure at any
// step leaves the file as it was.
TEST(FileWriter, AFileBelowAFolderGoesNowhereElseWhateverIsSwappedIn)
{
    FaultGuard guard;
    TempDir dir;
    const fs::path out = dir.path() / "out";
    const fs::path elsewhere = dir.path() / "elsewhere";
    fs::create_directories(out / "scenes");
    fs::create_directories(elsewhere);
    writeFile(out / "scenes" / "a.json", "old");
    for (WriteStep failing : {WriteStep::CreateTemp, WriteStep::WriteTemp, WriteStep::SyncTemp, WriteStep::Replace}) {
        setWriteFaultForTesting([failing](WriteStep step) { return step == failing ? ENOSPC : 0; });
        EXPECT_EQ(writeProgramFileBelow(out, "scenes/a.json", kNew).reason, "No space left on device");
        EXPECT_EQ(readFile(out / "scenes" / "a.json"), "old");
        EXPECT_EQ(entries(out / "scenes"), 1u) << "the temporary file is gone";
    }
#ifndef _WIN32
    setWriteFaultForTesting([&](WriteStep step) {
        if (step == WriteStep::CreateTemp && !fs::is_symlink(out / "scenes")) {
            fs::rename(out / "scenes", out / "checked");
            fs::create_directory_symlink(elsewhere, out / "scenes");
        }
        return 0;
    });
    ASSERT_TRUE(writeProgramFileBelow(out, "scenes/a.json", kNew).ok());
    EXPECT_EQ(entries(elsewhere), 0u) << "nothing went through the link";
    EXPECT_EQ(readFile(out / "checked" / "a.json"), "new") << "the folder that was checked took the file";
    setWriteFaultForTesting({});
    EXPECT_EQ(writeProgramFileBelow(out, "scenes/b.json", kNew).reason,
              "scenes is a link; it was not followed, and nothing was written");
#endif
}

}  // namespace
}  // namespace velmar
