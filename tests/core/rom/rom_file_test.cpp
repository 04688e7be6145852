#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "rom/rom_file.h"
#include "support/test_support.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::string romBytes(const std::string& signature, std::size_t size)
{
    std::string s = signature;
    s.resize(size, '\x01');
    return s;
}

TEST(RomFile, ReadChecksOnlyTheSignature)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string contents;  // empty name: the file is not created
        RomReadResult result;
    };
    const Case cases[] = {
        {"ok.nes", romBytes("NES\x1A", 0x100), RomReadResult::Ok},
        {"no1a.nes", romBytes("NESX", 0x100), RomReadResult::Ok},
        {"seventeen.nes", romBytes("NES\x1A", 17), RomReadResult::Ok},
        {"sixteen.nes", romBytes("NES\x1A", 16), RomReadResult::IoError},
        {"empty.nes", "", RomReadResult::IoError},
        {"nex.nes", romBytes("NEX\x1A", 0x100), RomReadResult::InvalidRom},
        {"lower.nes", romBytes("nes\x1A", 0x100), RomReadResult::InvalidRom},
    };
    for (const Case& c : cases) {
        writeFile(dir.file(c.name), c.contents);
        RomImage image;
        EXPECT_EQ(readRomFile(dir.file(c.name), image).code, c.result) << c.name;
        if (c.result == RomReadResult::Ok) {
            EXPECT_EQ(image.fileBytes(), test::bytesOf(c.contents)) << c.name;
        }
    }
    RomImage image;
    // The reason is the system's, for the message box's second line.
    const Outcome<RomReadResult> missing = readRomFile(dir.file("missing.nes"), image);
    EXPECT_EQ(missing.code, RomReadResult::IoError);
    EXPECT_EQ(missing.reason, "No such file or directory");
    const Outcome<RomReadResult> folder = readRomFile(dir.path(), image);
    EXPECT_EQ(folder.code, RomReadResult::IoError) << "a folder is no file";
    EXPECT_EQ(folder.reason, "Is a directory");
}

TEST(RomFile, ATrainerIsSetAsideAndWrittenBackInPlace)
{
    TempDir dir;
    Bytes file = test::sampleImage().fileBytes();
    file[6] |= 0x04;
    const Bytes trainer(512, 0xA5);
    file.insert(file.begin() + 16, trainer.begin(), trainer.end());
    const fs::path path = dir.file("trainer.nes");
    writeFile(path, test::textOf(file));

    RomImage image;
    ASSERT_TRUE(readRomFile(path, image).ok());
    EXPECT_EQ(image.trainer, trainer);
    EXPECT_EQ(image.romData, test::sampleImage().romData) << "the game's bytes start after the trainer";
    image.romData[0x2FB0] ^= 1;
    ASSERT_TRUE(writeRomFile(path, image).ok());
    RomImage again;
    ASSERT_TRUE(readRomFile(path, again).ok());
    EXPECT_EQ(again, image);

    // A header that promises a trainer the file does not hold.
    file.resize(16 + 300);
    const auto cut = parseRomFile(file, image);
    EXPECT_EQ(cut.code, RomReadResult::IoError);
    EXPECT_EQ(cut.reason, "The header says a 512-byte trainer follows, but the file ends inside it");
}

TEST(RomFile, HeaderWarningsNameWhatDiffersFromTheGame)
{
    RomImage image = test::sampleImage();
    EXPECT_TRUE(headerWarnings(image).empty());
    // An old dumper's signature in bytes 7-15 is junk, not a mapper.
    const char junk[] = "DiskDude!";
    std::copy(junk, junk + 9, image.romHeader.begin() + 7);
    EXPECT_TRUE(headerWarnings(image).empty());

    image.romHeader[4] = 4;
    image.romHeader[5] = 0;
    image.romHeader[6] = 0x40;
    EXPECT_EQ(headerWarnings(image),
              (std::vector<std::string>{"The header gives 4 program banks of 16 KB; the game has 8.",
                                        "The header gives 0 pattern banks of 8 KB; the game has 16.",
                                        "The header gives mapper 4; the game uses mapper 1."}));
}

TEST(RomFile, ACutOffImageIsNoImageOfTheGame)
{
    RomImage image = test::sampleImage();
    EXPECT_TRUE(checkGameImage(image).ok());
    image.romData.resize(0x3FFFF);
    const Outcome<RomReadResult> cut = checkGameImage(image);
    EXPECT_EQ(cut.code, RomReadResult::TooShort);
    EXPECT_EQ(romReadMessage(cut.code), "Invalid rom!");
    EXPECT_EQ(cut.reason, "The image is cut off: it holds 262159 bytes, and the game's tables need 262160");
}

TEST(RomFile, WriteNeverCreatesAMissingFile)
{
    TempDir dir;
    RomImage image = test::sampleImage();
    EXPECT_EQ(writeRomFile(dir.file("missing.nes"), image).reason, "No such file or directory");
    EXPECT_FALSE(fs::exists(dir.file("missing.nes")));
    EXPECT_EQ(writeRomFile("", image).code, WriteResult::IoError) << "saving before any load has no path";
    EXPECT_EQ(writeRomFile(dir.path() / "no" / "such" / "folder.nes", image).code, WriteResult::IoError);
}

TEST(DriveRetry, CandidatePaths)
{
    EXPECT_EQ(candidatePath({"F:\\", true}, "E:\\roms\\game.nes"), "F:\\roms\\game.nes");
    EXPECT_EQ(candidatePath({"/media/user/STICK2", true}, "/media/user/STICK/roms/game.nes"),
              "/media/user/STICK2/roms/game.nes");
    EXPECT_EQ(candidatePath({"/Volumes/B/", true}, "/Volumes/A/game.nes"), "/Volumes/B/game.nes");
    EXPECT_EQ(candidatePath({"/", true}, "/home/me/game.nes"), "/home/me/game.nes");
}

TEST(DriveRetry, WalksReadyVolumesInOrder)
{
    TempDir dir;
    const fs::path empty = dir.path() / "empty";
    const fs::path other = dir.path() / "other";
    const fs::path bad = dir.path() / "bad";
    for (const auto& v : {empty, other, bad})
        fs::create_directories(v / "roms");
    writeFile(other / "roms" / "game.nes", romBytes("NES\x1A", 0x40));
    writeFile(bad / "roms" / "game.nes", romBytes("BAD!", 0x40));
    auto volume = [](const fs::path& p, bool ready) { return Volume{pathToUtf8(p), ready}; };

    struct Case {
        const char* what;
        std::string lost;             // the path that fails
        std::vector<Volume> volumes;  // the system's list, made up
        RomReadResult result;
        std::string found;  // the path that read, or the lost one
    };
#ifdef _WIN32
    // Drive letters: the same path on another drive. Y: and X: are no drives here.
    const std::string onC = pathToUtf8(other / "roms" / "game.nes");
    const std::string badOnC = pathToUtf8(bad / "roms" / "game.nes");
    ASSERT_EQ(onC.substr(0, 3), "C:\\");
    const std::string lost = "Y" + onC.substr(1);
    const std::string lostBad = "Y" + badOnC.substr(1);
    const Case cases[] = {
        {"not ready, missing, then the first that reads",
         lost,
         {{"C:\\", false}, {"X:\\", true}, {"C:\\", true}},
         RomReadResult::Ok,
         onC},
        {"an invalid image stops the walk",
         lostBad,
         {{"C:\\", true}, {"X:\\", true}},
         RomReadResult::InvalidRom,
         lostBad},
        {"nothing found", lost, {{"X:\\", true}}, RomReadResult::IoError, lost},
    };
#else
    // Mount points: the path with its leading folders swapped for another mount point's.
    const std::string lost = pathToUtf8(dir.path() / "gone" / "roms" / "game.nes");
    const Case cases[] = {
        {"not ready, empty, then the first that reads",
         lost,
         {volume(other, false), volume(empty, true), volume(other, true), volume(bad, true)},
         RomReadResult::Ok,
         pathToUtf8(other / "roms" / "game.nes")},
        {"an invalid image stops the walk",
         lost,
         {volume(bad, true), volume(other, true)},
         RomReadResult::InvalidRom,
         lost},
        {"nothing found", lost, {volume(empty, true)}, RomReadResult::IoError, lost},
    };
#endif
    (void)volume;
    for (const Case& c : cases) {
        std::string path = c.lost;
        RomImage image;
        EXPECT_EQ(readRomFileOnAnyDrive(path, image, c.volumes).code, c.result) << c.what;
        EXPECT_EQ(path, c.found) << c.what;
    }
}

// The system's own list holds the drive the temporary folder is on, ready. (Elsewhere the list
// is the mount table, which inside a chroot or a container need not hold any folder above it.)
#ifdef _WIN32
TEST(DriveRetry, TheSystemListsTheDriveOfTheTemporaryFolder)
{
    const std::string temp = pathToUtf8(fs::temp_directory_path());
    const std::vector<Volume> volumes = systemVolumes();
    EXPECT_TRUE(std::any_of(volumes.begin(), volumes.end(), [&](const Volume& v) {
        return v.ready && !v.root.empty() && temp.starts_with(v.root);
    })) << temp;
}
#endif

// Paths are UTF-8 inside the program; on Windows they become the system's UTF-16 names. An image
// whose name is not ASCII is written, found under that name and read back.
TEST(RomFile, NamesThatAreNotAsciiRoundTrip)
{
    TempDir dir;
    for (const std::string& name :
         {std::string("\xC3\x89") + "bauche.nes", std::string("\xE9\x96\xA2\xE5\x8D\xA1.nes")}) {
        SCOPED_TRACE(name);
        const fs::path path = pathFromUtf8(pathToUtf8(dir.path()) + "/" + name);
        ASSERT_TRUE(writeFileSafely(path, test::sampleImage().fileBytes(), false, FileOwner::User).ok());
        ASSERT_TRUE(writeRomFile(path, test::sampleImage()).ok()) << "written over";
        EXPECT_TRUE(fs::exists(dir.path() / fs::path(std::u8string(name.begin(), name.end()))));
        RomImage image;
        ASSERT_TRUE(readRomFile(path, image).ok());
        EXPECT_EQ(image, test::sampleImage());
        EXPECT_EQ(pathToUtf8(path.filename()), name);
        fs::remove(path);
    }
    for (const auto& entry : fs::directory_iterator(dir.path()))
        ADD_FAILURE() << "left behind: " << pathToUtf8(entry.path());
}

}  // namespace
}  // namespace velmar
