#include <gtest/gtest.h>

#include "editor/session.h"
#include "files/emulator_command.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using test::TempDir;

struct SessionFixture {
    TempDir dir;
    EditorState state;
    std::string path = (dir.path() / "game.nes").string();

    SessionFixture()
    {
        const Bytes bytes = test::sampleImage().fileBytes();
        test::writeFile(path, std::string(bytes.begin(), bytes.end()));
    }
};

TEST(Session, SwitchStoresTheSceneLeftAndSaveWritesIt)
{
    SessionFixture f;
    ASSERT_EQ(openRom(f.state, f.path, false, {}), RomReadResult::Ok);
    EXPECT_TRUE(f.state.suppressSceneStore);
    EXPECT_GT(f.state.actorAreaEnd, 0x9B48);
    ASSERT_TRUE(selectScene(f.state, 0, 0).ok());
    EXPECT_FALSE(f.state.suppressSceneStore);
    EXPECT_FALSE(hasUnsavedChanges(f.state));

    f.state.currentScene.map[3] ^= 0xFF;
    f.state.bkgPatterns[5] ^= 3;
    EXPECT_TRUE(hasUnsavedChanges(f.state)) << "edits of the current scene count";
    const RomOffset at = mapOffset(f.state.currentScene.mapAddress) + 3;
    const std::uint8_t edited = f.state.currentScene.map[3];
    ASSERT_TRUE(selectScene(f.state, 1, 1).ok());
    EXPECT_EQ(f.state.rom.romData[static_cast<std::size_t>(at)], edited);

    // A scene that cannot be read leaves the current one in place.
    f.state.rom.romData[0x8700 + 2 * 5 + 1] = 0x10;  // item pointer of scene 5 below 0x8000
    const SceneRecord shown = f.state.currentScene;
    EXPECT_EQ(selectScene(f.state, 2, 5).code, RomStatus::Code::BadPointer);
    EXPECT_EQ(f.state.currentScene, shown);
    f.state.rom.romData[0x8700 + 2 * 5 + 1] = test::sampleImage().romData[0x8700 + 2 * 5 + 1];

    ASSERT_EQ(saveRom(f.state), 0);
    EXPECT_FALSE(hasUnsavedChanges(f.state));
    RomImage saved;
    ASSERT_EQ(readRomFile(f.path, saved), RomReadResult::Ok);
    EXPECT_EQ(saved.romData[static_cast<std::size_t>(at)], edited);

    f.state.romPath = (f.dir.path() / "gone" / "x.nes").string();
    EXPECT_EQ(saveRom(f.state), 1);
}

TEST(Session, PlayTestImageHoldsTheEditsOnly)
{
    SessionFixture f;
    ASSERT_EQ(openRom(f.state, f.path, false, {}), RomReadResult::Ok);
    EXPECT_EQ(imageWithCurrentScene(f.state), test::sampleImage().fileBytes()) << "nothing stored before a scene";
    ASSERT_TRUE(selectScene(f.state, 0, 0).ok());
    f.state.currentScene.startX ^= 0x55;
    const Bytes image = imageWithCurrentScene(f.state);
    EXPECT_EQ(image[16 + 0x2D50], f.state.currentScene.startX);
    EXPECT_EQ(f.state.rom.romData, f.state.savedRomData) << "the open image is not touched";
}

TEST(EmulatorCommand, SplitsLikeAShell)
{
    struct Case {
        const char* line;
        bool escapes;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"fceux game.nes", true, {"fceux", "game.nes"}},
        {"  mesen   \"my game.nes\"  ", true, {"mesen", "my game.nes"}},
        {"emu 'a b' c\\ d \"e\\\"f\"", true, {"emu", "a b", "c d", "e\"f"}},
        {"C:\\Emu\\emu.exe \"C:\\Roms\\my game.nes\"", false, {"C:\\Emu\\emu.exe", "C:\\Roms\\my game.nes"}},
        {"emu \"\"", true, {"emu", ""}},
        {"   ", true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitCommandLine(c.line, c.escapes), c.words) << c.line;
    const auto words = splitCommandLine("emu --rom=%f --log %f.log", true);
    EXPECT_TRUE(mentionsRomFile(words));
    EXPECT_EQ(substituteRomFile(words, "/tmp/t.nes"),
              (std::vector<std::string>{"emu", "--rom=/tmp/t.nes", "--log", "/tmp/t.nes.log"}));
    EXPECT_FALSE(mentionsRomFile(splitCommandLine("emu game.nes", true)));
}

}  // namespace
}  // namespace velmar
