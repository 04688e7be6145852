#include <gtest/gtest.h>

#include <filesystem>

#include "rom/rom_file.h"
#include "support/test_support.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::readFile;
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
            EXPECT_EQ(image.romData.size(), c.contents.size() - 16) << c.name;
            EXPECT_EQ(image.fileBytes(), Bytes(c.contents.begin(), c.contents.end())) << c.name;
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
    EXPECT_EQ(fileMessage(romReadMessage(missing.code), "/roms/a.nes", missing.reason),
              "Error loading file!\n/roms/a.nes: No such file or directory");
}

TEST(RomFile, ATrainerIsSetAsideAndWrittenBackInPlace)
{
    TempDir dir;
    Bytes file = test::sampleImage().fileBytes();
    file[6] |= 0x04;
    const Bytes trainer(512, 0xA5);
    file.insert(file.begin() + 16, trainer.begin(), trainer.end());
    const fs::path path = dir.file("trainer.nes");
    writeFile(path, std::string(file.begin(), file.end()));

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
    EXPECT_EQ(headerWarnings(image), (std::vector<std::string>{
                                         "The header gives 4 program banks of 16 KB; the game has 8.",
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
    EXPECT_TRUE(writeFileSafely(dir.file("new.nes"), {1, 2, 3}, false, FileOwner::User).ok());
    EXPECT_EQ(readFile(dir.file("new.nes")), std::string("\x01\x02\x03"));
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
    const fs::path gone = dir.path() / "gone";
    const fs::path empty = dir.path() / "empty";
    const fs::path other = dir.path() / "other";
    const fs::path bad = dir.path() / "bad";
    for (const auto& v : {empty, other, bad})
        fs::create_directories(v / "roms");
    writeFile(other / "roms" / "game.nes", romBytes("NES\x1A", 0x40));
    writeFile(bad / "roms" / "game.nes", romBytes("BAD!", 0x40));

    const std::string lost = pathToUtf8(gone / "roms" / "game.nes");
    auto volume = [](const fs::path& p, bool ready) { return Volume{pathToUtf8(p), ready}; };

    {  // not ready and empty volumes are passed over; the first that reads wins
        std::string path = lost;
        RomImage image;
        EXPECT_EQ(readRomFileOnAnyDrive(path, image,
                                        {volume(other, false), volume(empty, true), volume(other, true),
                                         volume(bad, true)}).code,
                  RomReadResult::Ok);
        EXPECT_EQ(path, pathToUtf8(other / "roms" / "game.nes"));
    }
    {  // an invalid image stops the walk
        std::string path = lost;
        RomImage image;
        EXPECT_EQ(readRomFileOnAnyDrive(path, image, {volume(bad, true), volume(other, true)}).code,
                  RomReadResult::InvalidRom);
        EXPECT_EQ(path, lost);
    }
    {  // nothing found
        std::string path = lost;
        RomImage image;
        EXPECT_EQ(readRomFileOnAnyDrive(path, image, {volume(empty, true)}).code, RomReadResult::IoError);
        EXPECT_EQ(path, lost);
    }
}

}  // namespace
}  // namespace velmar
