#include <gtest/gtest.h>

#include <tuple>

#include "files/settings.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace test;

constexpr const char* kProgramFolder = "/opt/velmar";

TEST(Settings, Load)
{
    const std::string lines7 = "/roms\nemu\nr0\nr1\nr2\nr3\nr4\n";
    struct Case {
        std::optional<std::string> contents;  // nullopt: no file
        std::optional<bool> checkDrive;       // line 8, or nullopt for a fault
        bool keepBackup = true;
    };
    const Case cases[] = {
        {lines7 + "False\n", false},  // a file from before the lines after the eighth
        {lines7 + "tRUE", true},       // any case, no final line end
        {"/roms\r\nemu\r\nr0\r\nr1\r\nr2\r\nr3\r\nr4\r\nTrue\r\nKeepBackup=False\r\n", true, false},
        {lines7 + "False\nkeepbackup=FALSE", false, false},
        // Unknown keys, lines without '=', and values that are no truth value are passed over.
        {lines7 + "False\nZoom=3\nKeepBackup\nKeepBackup=no\n=False\nKeepBackup= False\n", false, true},
        {lines7, std::nullopt},
        {lines7 + "Yes\n", std::nullopt},
        {lines7 + "True \n", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    TempDir dir;
    for (const auto& [contents, checkDrive, keepBackup] : cases) {
        if (contents)
            writeFile(dir.file("VELMAR.INI"), *contents);
        Settings s{"/old", "old", {"o0"}, true, false};
        const auto path = dir.file(contents ? "VELMAR.INI" : "missing.ini");
        const SettingsLoad expectedCode = !contents ? SettingsLoad::Missing
                                          : checkDrive ? SettingsLoad::Ok
                                                       : SettingsLoad::Unreadable;
        EXPECT_EQ(loadSettings(path, kProgramFolder, s).code, expectedCode) << contents.value_or("no file");
        // A fault gives every default, also for the lines read before it.
        const Settings expected = checkDrive
            ? Settings{"/roms", "emu", {"r0", "r1", "r2", "r3", "r4"}, *checkDrive, keepBackup}
            : Settings{kProgramFolder, "", {}, false, true};
        EXPECT_EQ(s, expected) << contents.value_or("no file");
    }
}

TEST(Settings, SaveLoadsBack)
{
    TempDir dir;
    Settings s{"/home/ana/roms", "fceux \"%1\"", {"/home/ana/roms/a.nes", "/home/ana/roms/é.nes"}, true, false};
    ASSERT_TRUE(saveSettings(dir.file("VELMAR.INI"), s).ok());
    EXPECT_EQ(readFile(dir.file("VELMAR.INI")), "/home/ana/roms\nfceux \"%1\"\n/home/ana/roms/a.nes\n"
                                                "/home/ana/roms/é.nes\n\n\n\nTrue\nKeepBackup=False\n");
    Settings loaded;
    ASSERT_TRUE(loadSettings(dir.file("VELMAR.INI"), kProgramFolder, loaded).ok());
    EXPECT_EQ(loaded, s);

    // A value with a line break is not kept rather than spoiling the lines behind it; a carriage
    // return inside one comes back as it was.
    s.emulatorCommand = "run\rthis";
    s.recentFiles[0] = "/tmp/two\nlines.nes";
    ASSERT_TRUE(saveSettings(dir.file("VELMAR.INI"), s).ok());
    ASSERT_TRUE(loadSettings(dir.file("VELMAR.INI"), kProgramFolder, loaded).ok());
    EXPECT_EQ(loaded.recentFiles, (std::array<std::string, 5>{"", "/home/ana/roms/é.nes"}));
    EXPECT_EQ(loaded.emulatorCommand, "run\rthis");
    EXPECT_FALSE(saveSettings(dir.path() / "no-such-folder" / "VELMAR.INI", s).ok());
}

// An installed editor makes the user's copy on its first start and relies on this: once there is
// one, it is the copy written, also when the data folder beside the program could be written.
TEST(Settings, TheUsersCopyIsWrittenWheneverThereIsOne)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("dat"));
    std::filesystem::create_directories(dir.file("config"));
    const SettingsFiles files{dir.file("dat") / "VELMAR.INI", dir.file("config") / "VELMAR.INI"};
    writeFile(files.user, "/home\n\n\n\n\n\n\nFalse\n");
    std::filesystem::path written;
    ASSERT_TRUE(saveSettings(files, defaultSettings("/roms"), written).ok());
    EXPECT_EQ(written, files.user);
    EXPECT_FALSE(std::filesystem::exists(files.beside));
    Settings loaded;
    ASSERT_TRUE(loadSettings(files, kProgramFolder, loaded).ok());
    EXPECT_EQ(loaded.romFolder, "/roms");
}

TEST(RecentFiles, AddPutsThePathOnTop)
{
    using List = std::array<std::string, 5>;
    const std::tuple<List, const char*, List> cases[] = {
        {{"a", "b", "", "", ""}, "c", {"c", "a", "b", "", ""}},  // the first empty entry is taken
        {{"a", "b", "c", "d", "e"}, "d", {"d", "a", "b", "c", "e"}},  // moved, no duplicate
        {{"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},  // the fifth drops off
        {{"a.nes", "b", "c", "d", "e"}, "A.NES", {"A.NES", "a.nes", "b", "c", "d"}},
        {{"a", "", "b", "", ""}, "b", {"b", "a", "", "", ""}},  // the match goes, not the gap above it
    };
    for (const auto& [before, path, after] : cases) {
        Settings s;
        s.recentFiles = before;
        addRecentFile(s, path);
        EXPECT_EQ(s.recentFiles, after) << path;
    }
}

TEST(RecentFiles, Caption)
{
    std::string accents20;
    for (int i = 0; i < 20; ++i)
        accents20 += "é";
    const std::tuple<int, std::string, std::string> cases[] = {
        {0, "", "0. "},
        {3, "C:\\Games\\NES\\roms\\act.nes", "3. mes\\NES\\roms\\act.nes"},  // 25 characters: the last 20
        {1, "12345678901234567890", "1. 12345678901234567890"},
        {2, "ab" + accents20, "2. " + accents20},  // counted in characters, never cut inside one
    };
    for (const auto& [index, path, caption] : cases)
        EXPECT_EQ(recentFileCaption(index, path), caption) << path;
}

}  // namespace
}  // namespace velmar
