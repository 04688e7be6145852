#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/expansion/pack_fixture.h"
#include "core/text/text_image.h"
#include "exchange/bank_pictures.h"
#include "exchange/rom_folder.h"
#include "exchange/scene_file.h"
#include "gfx/png_file.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"
#include "text/text_packer.h"

namespace velmar {
namespace {

using namespace test;
using namespace exchange;

FolderReader memory(const FolderFiles& files)
{
    return [&files](const std::string& name, std::string& reason) -> std::optional<Bytes> {
        const auto it = files.find(name);
        if (it == files.end()) {
            reason = "No such file or directory";
            return std::nullopt;
        }
        return it->second;
    };
}

FolderFiles exported(const RomImage& image)
{
    FolderFiles files;
    const FolderOutcome r = exportFolder(image, defaultTable(), files);
    EXPECT_TRUE(r.ok()) << r.reason;
    return files;
}

RomImage imported(const FolderFiles& files)
{
    RomImage image;
    const FolderOutcome r = importFolder(memory(files), defaultTable(), image);
    EXPECT_TRUE(r.ok()) << r.reason;
    return image;
}

void replace(Bytes& file, const std::string& from, const std::string& to)
{
    std::string s = textOf(file);
    const std::size_t at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    file = bytesOf(s.replace(at, from.size(), to));
}

// Every image the tests make comes back from its folder byte for byte: the sample, the packers'
// hand-made layout, the texts' image (whose other parts are zero and mostly unreadable), and the
// sample with a trainer and bytes past the pattern banks.
TEST(RomFolder, ImagesComeBackWhole)
{
    const RomImage sample = sampleImage();
    RomImage packed = sample, texts = sample, extended = sample;
    packed.romData = buildPackImage(defaultLayout());
    texts.romData = textImage();
    extended.romHeader[6] |= 0x04;
    extended.trainer = Bytes(512, 0x3C);
    extended.romData.insert(extended.romData.end(), 100, 0xA5);
    for (const RomImage* image : std::vector<const RomImage*>{&sample, &packed, &texts, &extended}) {
        const FolderFiles files = exported(*image);
        EXPECT_TRUE(imported(files) == *image);
    }
    // The texts of the texts' image are described, not left in the remainder.
    EXPECT_TRUE(exported(texts).contains("texts.txt"));
    // The sample's every part reads, so every file is there.
    EXPECT_EQ(exported(sample).size(), 2u + 32u + 4u + 32u);
}

// A changed file changes what it describes and nothing else, and the remainder stays as it was:
// a second export of the result differs from the first in that file alone.
TEST(RomFolder, ChangedFileChangesItsThingOnly)
{
    const RomImage sample = sampleImage();
    const FolderFiles before = exported(sample);
    const std::vector<std::string> originalTexts = decodeAllTexts(sample.romData, defaultTable()).texts;

    FolderFiles edited = before;
    replace(edited.at("texts.txt"), "01: " + originalTexts[1], "01: A LONGER TEXT THAN BEFORE\\0");
    Bitmap sheet;
    ASSERT_TRUE(decodePng(edited.at("banks/05.png"), sheet).ok());
    // Pixel (0, 0) of tile 0, a 2 x 2 block on the sheet, in another of the four colours.
    const auto colours = bankPictureColours();
    const ScreenColour other = sheet.pixel(0, 0) == colours[3] ? colours[2] : colours[3];
    for (int i = 0; i < 4; ++i)
        sheet.setPixel(i % 2, i / 2, other);
    edited.at("banks/05.png") = encodePng(sheet);

    replace(edited.at("scenes/010203.json"), "{\"type\": \"15\", \"b\": \"06\"", "{\"type\": \"16\", \"b\": \"06\"");

    const RomImage after = imported(edited);
    for (const AreaNode& node : areaCatalogue()) {
        if (const std::optional<SceneKey> key = parseSceneKey(node.key)) {
            SceneRecord was, is;
            ASSERT_TRUE(loadScene(sample.romData, key->stage, key->scene, was).ok());
            ASSERT_TRUE(loadScene(after.romData, key->stage, key->scene, is).ok());
            EXPECT_EQ(was.enemies == is.enemies, node.key != "c:010203") << node.key;
        }
    }
    std::vector<std::string> expectedTexts = originalTexts;
    expectedTexts[1] = "A LONGER TEXT THAN BEFORE\\0";
    EXPECT_EQ(decodeAllTexts(after.romData, defaultTable()).texts, expectedTexts);

    const FolderFiles again = exported(after);
    for (const auto& [name, file] : before) {
        const bool changed = name == "texts.txt" || name == "banks/05.png" || name == "scenes/010203.json";
        EXPECT_EQ(again.at(name) != file, changed) << name;
    }
}

// A wrong file refuses the folder, naming the file and the place in it.
TEST(RomFolder, WrongFilesAreRefusedWithTheirPlace)
{
    const FolderFiles good = exported(sampleImage());
    struct Case {
        const char* file;
        void (*change)(Bytes&);
        const char* reason;
    };
    const Case cases[] = {
        {"manifest.json", [](Bytes& f) { f.resize(f.size() - 2); },
         "manifest.json: The file is not JSON: the error is at line"},
        {"manifest.json", [](Bytes& f) { replace(f, "\"version\": 1", "\"version\": 2"); },
         "manifest.json: version: the folder is of version 2"},
        {"manifest.json", [](Bytes& f) { replace(f, "\"texts.txt\"", "\"../texts.txt\""); },
         "manifest.json: files[32]: \"../texts.txt\" is no file a folder holds"},
        {"texts.txt", [](Bytes& f) { replace(f, "\n02: ", "\n2: "); },
         "texts.txt: line 3: the line must begin with \"02: \""},
        {"texts.txt", [](Bytes& f) { replace(f, "01: ", "01: \xC3\xA9"); },
         "texts.txt: line 2: Text 01 cannot be encoded"},
        {"texts.txt", [](Bytes& f) { f.resize(textOf(f).find("\n70: ") + 1); }, "texts.txt: the file has 112 lines"},
        {"texts.txt", [](Bytes& f) { replace(f, "\\0\n02: ", "\n02: "); },
         "texts.txt: line 2: Text 01 has no end code \"\\0\", so the game would read on into text 02"},
        {"palettes.json", [](Bytes& f) { replace(f, "\"background\": [\n    [", "\"background\": [\n    [300, "); },
         "palettes.json: background[0]: must hold 3 entries, not 4"},
        {"frames.json", [](Bytes& f) { replace(f, "\"tile\": 64", "\"tile\": -1"); },
         "frames.json: enemy[0][0].tile: must be a whole number from 0 to 255, not -1"},
        {"frames.json",
         [](Bytes& f) {
             replace(f, "[\n      {\"tile\"",
                     "[\n      {\"tile\": 1, \"x\": 1, \"y\": 1, \"attributes\": 1},\n      {\"tile\"");
         },
         "frames.json: enemy[0]: A frame keeps its number of sprites."},
        {"animations.json", [](Bytes& f) { replace(f, "[[6, 0], [6, 1]]", "[[6, 0], [0, 1]]"); },
         "animations.json: [0]: A timer of 00 or FF ends the animation"},
        {"banks/03.png", [](Bytes& f) { f.resize(40); }, "banks/03.png: "},
        {"remainder.nes", [](Bytes& f) { f.resize(0x30000); }, "remainder.nes: "},
        {"scenes/010203.json", [](Bytes& f) { replace(f, "\"time\": \"80\"", "\"time\": \"81\""); },
         "scenes/010203.json: values it shares with the scene files before it differ:\nstage time"},
        {"scenes/010203.json", [](Bytes& f) { replace(f, "\"length\": \"03\"", "\"length\": \"33\""); },
         "scenes/010203.json: length"},
        {"texts.txt", nullptr, "texts.txt: No such file or directory"},
    };
    for (const Case& c : cases) {
        FolderFiles files = good;
        if (c.change)
            c.change(files.at(c.file));
        else
            files.erase(c.file);
        RomImage image;
        image.romData = {7};
        const FolderOutcome r = importFolder(memory(files), defaultTable(), image);
        EXPECT_FALSE(r.ok()) << c.reason;
        EXPECT_EQ(r.reason.find(c.reason), 0u) << r.reason;
        EXPECT_EQ(image.romData, Bytes{7}) << c.reason;
    }
}

// Every file of a folder is held to the bound of its kind before it is read.
TEST(RomFolder, AFileLargerThanItsKindIsNotRead)
{
    TempDir dir;
    ASSERT_TRUE(writeFolder(dir.path(), exported(sampleImage())).ok());
    writeFile(dir.file("scenes/010203.json"), std::string(kMaxSceneFileBytes + 1, '['));
    RomImage image;
    EXPECT_EQ(importFolder(diskFolder(dir.path()), defaultTable(), image).reason,
              "scenes/010203.json: The file is larger than any file of its kind (4194304 bytes).");
}

#ifndef _WIN32
// A folder from someone else may hold links at the names of the folder's files (version control
// keeps links): export writes nothing at all while one is there, naming each, and import follows
// none, not even to a copy of the folder's own file. The folder itself may be a link.
TEST(RomFolder, NoLinkInsideTheFolderIsFollowed)
{
    namespace fs = std::filesystem;
    const FolderFiles files = exported(sampleImage());
    TempDir dir;
    const fs::path mod = dir.file("mod"), elsewhere = dir.file("elsewhere");
    fs::create_directories(mod / "banks");
    fs::create_directories(elsewhere);
    writeFile(elsewhere / "mine.txt", "mine");
    fs::create_symlink(elsewhere / "mine.txt", mod / "texts.txt");
    fs::create_directory_symlink(elsewhere, mod / "scenes");
    ASSERT_EQ(::mkfifo((mod / "banks/03.png").c_str(), 0600), 0);
    EXPECT_EQ(writeFolder(mod, files).reason,
              "Nothing was written. The folder holds things the export would have to follow or replace at names it "
              "writes:\nbanks/03.png: not a plain file\nscenes: a link\ntexts.txt: a link\nRemove them, or export "
              "into another folder.");
    EXPECT_EQ(readFile(elsewhere / "mine.txt"), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1);
    EXPECT_FALSE(fs::exists(mod / kManifestFile));

    for (const char* planted : {"texts.txt", "scenes", "banks/03.png"})
        fs::remove(mod / planted);
    ASSERT_TRUE(writeFolder(mod, files).ok());
    fs::create_directory_symlink(mod, dir.file("via"));
    RomImage image;
    ASSERT_TRUE(importFolder(diskFolder(dir.file("via")), defaultTable(), image).ok());

    const struct {
        const char* moved;
        const char* reason;
    } links[] = {
        {"texts.txt", "texts.txt: The file is a link; no link inside the folder is followed"},
        {"scenes", "scenes/000000.json: scenes is a link; no link inside the folder is followed"},
    };
    for (const auto& l : links) {
        fs::rename(mod / l.moved, elsewhere / l.moved);
        fs::create_symlink(elsewhere / l.moved, mod / l.moved);
        EXPECT_EQ(importFolder(diskFolder(mod), defaultTable(), image).reason, l.reason);
        fs::remove(mod / l.moved);
        fs::rename(elsewhere / l.moved, mod / l.moved);
    }
}
#endif

}  // namespace
}  // namespace velmar
