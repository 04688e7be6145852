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
    const Settings read{"/roms", "emu", {"r0", "r1", "r2", "r3", "r4"}, false, true};
    const Settings defaults{kProgramFolder, "", {}, false, true};
    auto with = [](Settings s, auto change) {
        change(s);
        return s;
    };
    struct Case {
        std::optional<std::string> contents;  // nullopt: no file
        SettingsLoad code;
        std::string reason;
        Settings expected;
    };
    const Case cases[] = {
        {lines7 + "False\n", SettingsLoad::Ok, "", read},  // a file from before the lines after the eighth
        {lines7 + "tRUE", SettingsLoad::Ok, "", with(read, [](Settings& s) { s.checkDrive = true; })},
        {"\xEF\xBB\xBF/roms\r\nemu\r\nr0\r\nr1\r\nr2\r\nr3\r\nr4\r\nTrue\r\nKeepBackup=False\r\n", SettingsLoad::Ok, "",
         with(read, [](Settings& s) { s.checkDrive = true, s.keepBackup = false; })},
        {lines7 + "False\nkeepbackup=FALSE\nShowSuccessMessages=false", SettingsLoad::Ok, "",
         with(read, [](Settings& s) { s.keepBackup = false, s.showSuccessMessages = false; })},
        // Unknown keys, lines without '=', and values that are no truth value are passed over.
        {lines7 + "False\nZoom=3\nKeepBackup\nKeepBackup=no\n=False\nKeepBackup= False\nShowSuccessMessages=0\n",
         SettingsLoad::Ok, "", read},
        // A line that does not read well costs its own value only.
        {lines7, SettingsLoad::Partial, "the file ends after line 7 of 8", read},
        {"/roms\nemu\n", SettingsLoad::Partial, "the file ends after line 2 of 8",
         with(defaults, [](Settings& s) { s.romFolder = "/roms", s.emulatorCommand = "emu"; })},
        {lines7 + "Yes\nKeepBackup=False\n", SettingsLoad::Partial, "line 8 is \"Yes\", not True or False",
         with(read, [](Settings& s) { s.keepBackup = false; })},
        {std::nullopt, SettingsLoad::Missing, "No settings file yet", defaults},
    };
    TempDir dir;
    for (const Case& c : cases) {
        if (c.contents)
            writeFile(dir.file("VELMAR.INI"), *c.contents);
        Settings s{"/old", "old", {"o0"}, true, false};
        const auto r = loadSettings(dir.file(c.contents ? "VELMAR.INI" : "missing.ini"), kProgramFolder, s);
        EXPECT_EQ(std::tuple(r.code, r.reason, s), std::tuple(c.code, c.reason, c.expected))
            << c.contents.value_or("no file");
    }

    // A file that cannot be read at all gives every default; kept as it is, it can be looked at.
    Settings s{"/old", "old", {"o0"}, true, false};
    std::filesystem::create_directories(dir.file("folder.ini"));
    EXPECT_EQ(loadSettings(dir.file("folder.ini"), kProgramFolder, s).code, SettingsLoad::Unreadable);
    EXPECT_EQ(s, defaults);
    writeFile(dir.file("VELMAR.INI"), lines7 + "Yes\n");
    std::filesystem::path kept;
    ASSERT_TRUE(keepUnreadSettings(dir.file("VELMAR.INI"), kept).ok());
    EXPECT_EQ(kept, dir.file("VELMAR.INI.bad"));
    EXPECT_EQ(readFile(kept), lines7 + "Yes\n");
}

TEST(Settings, SaveLoadsBack)
{
    TempDir dir;
    Settings s{"/home/ana/roms", "fceux \"%1\"", {"/home/ana/roms/a.nes", "/home/ana/roms/é.nes"}, true, false, false};
    ASSERT_TRUE(saveSettings(dir.file("VELMAR.INI"), s).ok());
    EXPECT_EQ(readFile(dir.file("VELMAR.INI")),
              "/home/ana/roms\nfceux \"%1\"\n/home/ana/roms/a.nes\n"
              "/home/ana/roms/é.nes\n\n\n\nTrue\nKeepBackup=False\n"
              "ShowSuccessMessages=False\n");
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

// Two editors read the same file and change their settings; what one writes keeps what the other
// wrote before it, and changes only what it changed itself.
TEST(Settings, MergeLaysOnlyThisEditorsChangesOverTheFile)
{
    const Settings read{"/roms", "emu", {"c", "d"}, false, true, true};
    Settings mine = read;
    addRecentFile(mine, "a");
    addRecentFile(mine, "b");
    mine.keepBackup = false;
    mine.romFolder = "/mine";
    Settings theirs = read;
    addRecentFile(theirs, "d");
    addRecentFile(theirs, "x");
    theirs.emulatorCommand = "other %f";
    theirs.romFolder = "/theirs";
    EXPECT_EQ(mergeSettings(read, mine, theirs),
              (Settings{"/mine", "other %f", {"b", "a", "x", "d", "c"}, false, false, true}));
    EXPECT_EQ(mergeSettings(read, read, theirs), theirs) << "nothing changed here";
    Settings again = read;  // a file of the list opened again moves up
    addRecentFile(again, "d");
    EXPECT_EQ(mergeSettings(read, again, theirs).recentFiles, (std::array<std::string, 5>{"d", "x", "c"}));
}

TEST(RecentFiles, AddPutsThePathOnTop)
{
    using List = std::array<std::string, 5>;
    const std::tuple<List, const char*, List> cases[] = {
        {{"a", "b", "", "", ""}, "c", {"c", "a", "b", "", ""}},       // the first empty entry is taken
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
    const std::string accents20 = "éééééééééééééééééééé";
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
