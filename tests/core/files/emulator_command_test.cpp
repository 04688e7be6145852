#include <gtest/gtest.h>

#include "files/emulator_command.h"

namespace velmar {
namespace {

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
