#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "cli_test_util.h"
#include "rom/address_map.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

// Every command that reads an image works on the sample. A file that cannot be an image is
// refused with the program's own message, and nothing is written: not the image, not the output,
// and a missing image is not created. Noise with the signature loads as an image; whatever it
// holds, a command either does its work or stops with a message, having written nothing.
TEST(CliBadFiles, EveryCommandOnEveryKindOfFile)
{
    // "ROM" stands for the image under test, "OUT" for the file a command writes.
    const std::vector<std::vector<std::string>> commands = {
        {"scenes", "ROM"},
        {"scene", "ROM", "c:000000"},
        {"roundtrip", "ROM", "OUT"},
        {"resize-map", "ROM", "c:000101", "1", "--left", "--past-end", "keep"},
        {"resize-items", "ROM", "c:000000", "5"},
        {"resize-enemies", "ROM", "c:010202", "0"},
        {"texts", "ROM"},
        {"set-text", "ROM", "7", "ABC\\0"},
        {"render", "ROM", "c:030A12", "OUT", "--actors"},
        {"sheet", "ROM", "c:02070C", "OUT"},
        {"tiles", "ROM", "1F", "OUT", "--palette", "c:000101", "5"},
        {"frames", "ROM", "0", "OUT", "--palette", "c:000101"},
    };
    std::string noSignature = sampleFileText();
    noSignature[2] = 'Z';
    struct Image {
        std::string name;
        std::optional<std::string> contents;  // nullopt: there is no file
        int code;                             // -1: 0 or 1
        std::string err;                      // the first line of code 1's message; empty: any
        std::string warning = {};             // what code 0 prints on stderr
    };
    std::string otherHeader = sampleFileText();
    otherHeader[4] = 4;  // a header of another layout: a warning, and the work is done
    const std::string headerWarning =
        "velmar-cli: warning: ROM: The header gives 4 program banks of 16 KB; the game has 8.\n";
    std::vector<Image> images = {
        {"sample", sampleFileText(), 0, ""},
        {"missing", std::nullopt, 1, "Error loading file!\n"},
        {"no signature", noSignature, 1, "Invalid rom!\n"},
        {"other header", otherHeader, 0, "", headerWarning},
    };
    for (unsigned seed : {1u, 2u, 3u, 0xC0FFEEu}) {
        std::mt19937 random(seed);
        std::string noise(16 + rommap::kImageSize, '\0');
        std::generate(noise.begin(), noise.end(), [&random] { return static_cast<char>(random() & 0xFF); });
        images.push_back(
            {"noise " + std::to_string(seed), noise.replace(0, 16, sampleFileText().substr(0, 16)), -1, ""});
    }

    for (const Image& image : images) {
        for (std::vector<std::string> args : commands) {
            TempDir dir;
            const fs::path rom = dir.file("image.nes");
            const fs::path out = dir.file("out.nes");
            if (image.contents)
                writeFile(rom, *image.contents);
            const bool writesOut = std::find(args.begin(), args.end(), "OUT") != args.end();
            std::replace(args.begin(), args.end(), std::string("ROM"), rom.string());
            std::replace(args.begin(), args.end(), std::string("OUT"), out.string());
            SCOPED_TRACE(image.name + ": " + args[0] + (args.size() > 3 ? " " + args[2] + " " + args[3] : ""));

            const CliRun run = cli(args);
            if (image.code != -1) {
                EXPECT_EQ(run.code, image.code);
            }
            ASSERT_TRUE(run.code == 0 || run.code == 1) << run.code;
            EXPECT_EQ(fs::exists(rom), image.contents.has_value());
            if (run.code == 0) {
                std::string warning = image.warning;
                if (const auto at = warning.find("ROM"); at != std::string::npos)
                    warning.replace(at, 3, rom.string());
                EXPECT_EQ(run.err, warning);
                EXPECT_EQ(fs::exists(out), writesOut);
                EXPECT_EQ(readFile(rom).size(), image.contents.value_or("").size());
                continue;
            }
            EXPECT_FALSE(run.err.empty());
            if (!image.err.empty()) {
                // The program's message, then the path and the reason.
                EXPECT_TRUE(run.err.starts_with(image.err + rom.string() + ": ")) << run.err;
            }
            EXPECT_TRUE(run.out.empty());
            if (image.contents) {
                EXPECT_TRUE(sameBytes(readFile(rom), *image.contents));
            }
            EXPECT_FALSE(fs::exists(out));
        }
    }
}

}  // namespace
}  // namespace velmar::test
