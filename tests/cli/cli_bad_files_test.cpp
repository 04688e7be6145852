#include <gtest/gtest.h>

#include <random>

#include "cli_test_util.h"
#include "rom/address_map.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

// Every command that reads an image, with "ROM" standing for the image under test and "OUT" for
// a file that a failed command must not create.
const std::vector<std::vector<std::string>>& romCommands()
{
    static const std::vector<std::vector<std::string>> commands = {
        {"scenes", "ROM"},
        {"scene", "ROM", "c:000000"},
        {"roundtrip", "ROM", "OUT"},
        {"roundtrip", "ROM", "OUT", "c:030A12"},
        {"resize-map", "ROM", "c:000000", "3"},
        {"resize-map", "ROM", "c:000101", "1", "--left"},
        {"resize-items", "ROM", "c:000000", "5"},
        {"resize-enemies", "ROM", "c:010202", "0"},
        {"texts", "ROM"},
        {"set-text", "ROM", "7", "ABC\\0"},
        {"render", "ROM", "c:000000", "OUT"},
        {"render", "ROM", "c:030A12", "OUT", "--actors"},
        {"sheet", "ROM", "c:02070C", "OUT"},
        {"tiles", "ROM", "1F", "OUT", "--palette", "c:000101", "5"},
    };
    return commands;
}

std::vector<std::string> withFiles(std::vector<std::string> args, const std::string& rom,
                              const std::string& out)
{
    for (auto& a : args) {
        if (a == "ROM")
            a = rom;
        else if (a == "OUT")
            a = out;
    }
    return args;
}

std::string describe(const std::vector<std::string>& args)
{
    return args[0] + (args.size() > 3 ? " " + args[2] + " " + args[3] : "");
}

std::string randomImageWithSignature(unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(16 + rommap::kImageSize, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    bytes.replace(0, 4, "NES\x1A");
    return bytes;
}

struct BadFile {
    const char* name;
    bool exists;
    std::string contents;
    const char* message;
};

// A file that cannot be an image is refused with the program's own message, whatever the command,
// and nothing is written: not the image, not the output, and a missing image is not created.
TEST(CliBadFiles, RefusedWithTheReadMessage)
{
    std::string noSignature = sampleFileText();
    noSignature[2] = 'Z';
    const std::vector<BadFile> files = {
        {"missing", false, "", "Error loading file!"},
        {"empty", true, "", "Error loading file!"},
        {"16 bytes", true, std::string("NES\x1A\x08\x10", 6) + std::string(10, '\0'), "Error loading file!"},
        {"no signature", true, noSignature, "Invalid rom!"},
        {"lower-case signature", true, "nes" + sampleFileText().substr(3), "Invalid rom!"},
    };
    for (const BadFile& file : files) {
        for (const auto& command : romCommands()) {
            TempDir dir;
            const fs::path rom = dir.file("bad.nes");
            const fs::path out = dir.file("out.nes");
            if (file.exists)
                writeFile(rom, file.contents);
            const auto args = withFiles(command, rom.string(), out.string());
            SCOPED_TRACE(std::string(file.name) + ": " + describe(args));

            const CliRun run = cli(args);
            EXPECT_EQ(run.code, 1);
            EXPECT_EQ(run.err, std::string(file.message) + "\n");
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(fs::exists(rom), file.exists);
            if (file.exists) {
                EXPECT_TRUE(sameBytes(readFile(rom), file.contents));
            }
            EXPECT_FALSE(fs::exists(out));
        }
    }
}

// A folder where the image should be is a file that cannot be read.
TEST(CliBadFiles, FolderIsNotAnImage)
{
    TempDir dir;
    const CliRun run = cli({"scene", dir.path().string(), "c:000000"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Error loading file!\n");
}

// Noise with the signature loads as an image; whatever it holds, every command either does its
// work or stops with a message, and a command that stops has written nothing.
TEST(CliBadFiles, RandomImagesNeverBreakTheProgram)
{
    for (unsigned seed : {1u, 2u, 3u, 0xC0FFEEu}) {
        const std::string noise = randomImageWithSignature(seed);
        for (const auto& command : romCommands()) {
            TempDir dir;
            const fs::path rom = dir.file("noise.nes");
            const fs::path out = dir.file("out.nes");
            writeFile(rom, noise);
            const auto args = withFiles(command, rom.string(), out.string());
            SCOPED_TRACE("seed " + std::to_string(seed) + ": " + describe(args));

            const CliRun run = cli(args);
            ASSERT_TRUE(run.code == 0 || run.code == 1) << run.code;
            if (run.code == 1) {
                EXPECT_FALSE(run.err.empty());
                EXPECT_TRUE(run.out.empty());
                EXPECT_TRUE(sameBytes(readFile(rom), noise));
                EXPECT_FALSE(fs::exists(out));
            } else {
                EXPECT_TRUE(run.err.empty()) << run.err;
                EXPECT_EQ(readFile(rom).size(), noise.size());
            }
        }
    }
}

// A scene whose actor pointer is not a ROM address cannot be opened; the scene commands say so
// with the reason and leave the files alone.
TEST(CliBadFiles, BrokenSceneReportsItsFault)
{
    std::string broken = sampleFileText();
    // Item X pointer of scene 0 := 0x0000, below the ROM window.
    broken[16 + rommap::kItemXPointers] = '\0';
    broken[16 + rommap::kItemXPointers + 1] = '\0';
    const std::vector<std::vector<std::string>> commands = {
        {"scene", "ROM", "c:000000"},
        {"roundtrip", "ROM", "OUT"},
        {"roundtrip", "ROM", "OUT", "c:000101", "c:000000"},
        {"resize-map", "ROM", "c:000000", "3"},
        {"resize-items", "ROM", "c:000000", "5"},
        {"resize-enemies", "ROM", "c:000000", "5"},
    };
    for (const auto& command : commands) {
        TempDir dir;
        const fs::path rom = dir.file("broken.nes");
        const fs::path out = dir.file("out.nes");
        writeFile(rom, broken);
        const auto args = withFiles(command, rom.string(), out.string());
        SCOPED_TRACE(describe(args));

        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, "Bad pointer $0000 at $08700.\n");
        EXPECT_TRUE(sameBytes(readFile(rom), broken));
        EXPECT_FALSE(fs::exists(out));
    }
    // The scene next to it is still fine.
    TempDir dir;
    writeFile(dir.file("broken.nes"), broken);
    EXPECT_EQ(cli({"scene", dir.file("broken.nes").string(), "c:000101"}).code, 0);
}

}  // namespace
}  // namespace velmar::test
