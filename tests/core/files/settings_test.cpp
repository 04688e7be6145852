#include <gtest/gtest.h>

#include "files/settings.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr const char* kProgramFolder = "/opt/velmar";

Settings sampleSettings()
{
    Settings s;
    s.romFolder = "/home/ana/roms";
    s.emulatorCommand = "fceux \"%1\"";
    s.recentFiles = {"/home/ana/roms/a.nes", "/home/ana/roms/é.nes", "", "", ""};
    s.checkDrive = true;
    return s;
}

TEST(Settings, Load)
{
    const std::string lines7 = "/roms\nemu\nr0\nr1\nr2\nr3\nr4\n";
    struct Case {
        const char* name;
        std::string contents;
        bool ok;
        bool checkDrive;
    };
    const Case cases[] = {
        {"eight lines", lines7 + "True\n", true, true},
        {"no final line end", lines7 + "False", true, false},
        {"windows line ends", "/roms\r\nemu\r\nr0\r\nr1\r\nr2\r\nr3\r\nr4\r\nTrue\r\n", true, true},
        {"flag in other case", lines7 + "tRUE\n", true, true},
        {"lines after the eighth", lines7 + "True\nmore\n", true, true},
        {"seven lines", lines7, false, false},
        {"empty", "", false, false},
        {"flag not a truth value", lines7 + "Yes\n", false, false},
        {"flag with a blank", lines7 + "True \n", false, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("VELMAR.INI"), c.contents);
        Settings s = sampleSettings();
        EXPECT_EQ(loadSettings(dir.file("VELMAR.INI"), kProgramFolder, s), c.ok) << c.name;
        if (c.ok) {
            const Settings expected{"/roms", "emu", {"r0", "r1", "r2", "r3", "r4"}, c.checkDrive};
            EXPECT_EQ(s, expected) << c.name;
        } else {
            // Every value falls back, also the ones read before the fault.
            EXPECT_EQ(s, defaultSettings(kProgramFolder)) << c.name;
        }
    }
    Settings s = sampleSettings();
    EXPECT_FALSE(loadSettings(dir.file("missing.ini"), kProgramFolder, s));
    EXPECT_EQ(s, (Settings{kProgramFolder, "", {}, false}));
}

TEST(Settings, SaveWritesEightLinesThatLoadBack)
{
    TempDir dir;
    const Settings s = sampleSettings();
    ASSERT_TRUE(saveSettings(dir.file("VELMAR.INI"), s));
    EXPECT_EQ(readFile(dir.file("VELMAR.INI")),
              "/home/ana/roms\nfceux \"%1\"\n/home/ana/roms/a.nes\n/home/ana/roms/é.nes\n\n\n\nTrue\n");
    Settings loaded;
    ASSERT_TRUE(loadSettings(dir.file("VELMAR.INI"), kProgramFolder, loaded));
    EXPECT_EQ(loaded, s);

    // A value with a line break is not kept rather than spoiling the lines behind it.
    Settings odd = defaultSettings(kProgramFolder);
    odd.recentFiles[0] = "/tmp/two\nlines.nes";
    odd.recentFiles[1] = "/tmp/b.nes";
    ASSERT_TRUE(saveSettings(dir.file("VELMAR.INI"), odd));
    ASSERT_TRUE(loadSettings(dir.file("VELMAR.INI"), kProgramFolder, loaded));
    EXPECT_EQ(loaded.recentFiles[0], "");
    EXPECT_EQ(loaded.recentFiles[1], "/tmp/b.nes");

    EXPECT_FALSE(saveSettings(dir.path() / "no-such-folder" / "VELMAR.INI", s));
}

TEST(RecentFiles, AddPutsThePathOnTop)
{
    using List = std::array<std::string, 5>;
    struct Case {
        const char* name;
        List before;
        const char* path;
        List after;
    };
    const Case cases[] = {
        {"into an empty list", {}, "a", {"a", "", "", "", ""}},
        {"first empty entry taken", {"a", "b", "", "", ""}, "c", {"c", "a", "b", "", ""}},
        {"already on top", {"a", "b", "c", "", ""}, "a", {"a", "b", "c", "", ""}},
        {"moved to the top, no duplicate", {"a", "b", "c", "d", "e"}, "d", {"d", "a", "b", "c", "e"}},
        {"the fifth drops off", {"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
        {"case matters", {"a.nes", "b", "c", "d", "e"}, "A.NES", {"A.NES", "a.nes", "b", "c", "d"}},
        {"a gap above the match", {"a", "", "b", "", ""}, "b", {"b", "a", "", "", ""}},
        {"a gap, no match", {"a", "", "b", "", ""}, "c", {"c", "a", "b", "", ""}},
    };
    for (const Case& c : cases) {
        Settings s;
        s.recentFiles = c.before;
        addRecentFile(s, c.path);
        EXPECT_EQ(s.recentFiles, c.after) << c.name;
    }
}

TEST(RecentFiles, Caption)
{
    const std::string path25 = "C:\\Games\\NES\\roms\\act.nes";
    ASSERT_EQ(path25.size(), 25u);
    const std::string wide(25, 'x');
    std::string accents;
    for (int i = 0; i < 25; ++i)
        accents += "é";
    std::string accents20;
    for (int i = 0; i < 20; ++i)
        accents20 += "é";
    struct Case {
        int index;
        std::string path;
        std::string caption;
    };
    const Case cases[] = {
        {0, "", "0. "},
        {4, "", "4. "},
        {3, path25, "3. " + path25.substr(5)},
        {1, wide.substr(0, 20), "1. " + wide.substr(0, 20)},
        {1, wide.substr(0, 21), "1. " + wide.substr(0, 20)},
        {2, accents, "2. " + accents20},  // counted in characters, never cut inside one
        {2, "ab" + accents20, "2. " + accents20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recentFileCaption(c.index, c.path), c.caption) << c.path;
}

}  // namespace
}  // namespace velmar
