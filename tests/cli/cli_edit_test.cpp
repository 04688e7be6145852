#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "cli_test_util.h"
#include "core/text/text_image.h"
#include "base/hex.h"
#include "rom/rom_file.h"
#include "text/char_table.h"
#include "text/text_packer.h"

// The commands that rewrite the image in place: the resizes and set-text. How the data is
// repacked is the core's business; here it is what reaches the file and the terminal.
namespace velmar::test {
namespace {

TEST(CliEdit, ResizesWriteTheImageInPlace)
{
    const std::string key = "c:000101";
    struct Case {
        const char* command;
        const char* field;
        int delta;
        bool left;
        const char* message;
    };
    for (const Case& c : {Case{"resize-map", "length", -1, true, "Map size changed successfully!"},
                          Case{"resize-items", "itemCount", 2, false, "Item count changed successfully!"},
                          Case{"resize-enemies", "enemyCount", -1, false, "Enemy count changed successfully!"}}) {
        SCOPED_TRACE(std::string(c.command) + " " + std::to_string(c.delta) + (c.left ? " --left" : ""));
        CliFixtureDir dir;
        const Json before = sceneJsonOf(dir.romArg(), key);
        const int value = before.value(c.field, 0) + c.delta;
        std::vector<std::string> args = {c.command, dir.romArg(), key, hexPad(value, 2)};
        if (c.left)
            args.emplace_back("--left");
        // The actors past the new end are kept where they are.
        if (std::string(c.command) == "resize-map")
            args.insert(args.end(), {"--past-end", "keep"});

        const CliRun run = cli(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, std::string(c.message) + "\n");
        EXPECT_TRUE(run.err.empty());
        const Json after = sceneJsonOf(dir.romArg(), key);
        EXPECT_EQ(after.value(c.field, -1), value);
        // The resize wrote the scene as a store does (lists in order): storing it again changes nothing.
        ASSERT_EQ(cli({"roundtrip", dir.romArg(), dir.arg("again.nes"), key}).code, 0);
        EXPECT_TRUE(sameBytes(readFile(dir.file("again.nes")), readFile(dir.rom())));

        // Screens come and go at the end, or at the start with --left; the others stay.
        const std::vector<int> was = intsOf(before.at("map"));
        const std::vector<int> now = intsOf(after.at("map"));
        const auto kept = static_cast<std::ptrdiff_t>(std::min(was.size(), now.size()));
        EXPECT_TRUE(c.left ? std::equal(was.rbegin(), was.rbegin() + kept, now.rbegin())
                           : std::equal(was.begin(), was.begin() + kept, now.begin()));
    }
}

// Values that change nothing or are refused leave the file byte-identical; only a refusal speaks.
TEST(CliEdit, RefusalsAndNoChangeLeaveTheFile)
{
    const std::string key = "c:000101";
    const SceneRecord s = sampleScene(key);
    const std::string noTable = "no/such/TBL.DAT";
    const std::string noTableErr = "Error loading \"" + noTable + "\"!\n" + noTable + ": No such file or directory\n";
    struct Case {
        std::vector<std::string> args;  // the image goes after the command
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        // The three resizes end alike: one refusal and one size unchanged show it (the sizes
        // each refuses are the core's tests).
        {{"resize-map", key, "11"}, 1, "Invalid dimensions! (max=$10)\n"},
        {{"resize-items", key, hexPad(s.itemCount, 2)}, 0, ""},
        {{"set-text", "3", "caf\xC3\xA9\\0"}, 1, "Text 3 cannot be encoded: no code for \"\xC3\xA9\" (character 4).\n"},
        {{"set-text", "3", "AB\\0", "--table", noTable}, 1, noTableErr},
        {{"texts", "--table", noTable}, 1, noTableErr},
    };
    for (const Case& c : cases) {
        CliFixtureDir dir;
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, dir.romArg());
        SCOPED_TRACE(args[0] + " " + c.args.back());
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
    }
}

// The actor and property commands edit one scene; what is not a byte is a usage error, and a
// value the image cannot hold is refused. Either way the file is left as it was.
TEST(CliEdit, ActorAndPropertyCommands)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const std::string key = "c:000101";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"set-enemy", rom, key, "0", "66", "A5", "7"},
                                                 {"set-item", rom, key, "1", "2", "40", "F"},
                                                 {"set-start", rom, key, "10", "90"},
                                                 {"set-property", rom, key, "time", "45"},
                                                 {"set-property", rom, key, "spr-palette-3", "12"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 0) << args[0] << ": " << run.err;
    }
    const Json s = sceneJsonOf(rom, key);
    // Stored in order of b and of x: the enemy is now the last, the item the first.
    EXPECT_EQ(s.at("enemies").back(), Json({{"b", 0x66}, {"xy", 0xA5}, {"id", 7}}));
    EXPECT_EQ(s.at("items").at(0), Json({{"x", 2}, {"y", 0x40}, {"id", 0xF}}));
    EXPECT_EQ(std::tuple(s.at("startX"), s.at("startY"), s.at("time"), s.at("palSelectors").at(7)),
              std::tuple(0x10, 0x90, 0x45, 0x12));

    const std::string edited = readFile(dir.rom());
    // (Which values each edit refuses, and why, are the core's tests.)
    EXPECT_EQ(cli({"set-property", rom, key, "reload", "0x5"}).code, 2);
    const CliRun bank = cli({"set-property", rom, key, "spr-bank", "10"});
    EXPECT_EQ(std::tuple(bank.code, bank.err), std::tuple(1, std::string("The SPR bank must be 00 to 0F.\n")));
    EXPECT_EQ(cli({"set-property", rom, key, "colour", "1"}).code, 2);
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), edited));
}

std::vector<std::string> textsOf(const CliRun& run)
{
    std::vector<std::string> texts;
    for (const Json& value : parseJson(run.out))
        texts.push_back(value.is_string() ? value.get<std::string>() : "(not a string)");
    return texts;
}

// texts prints the 113 texts as the core decodes them; set-text changes one and leaves the
// other 112 as they were.
TEST(CliEdit, TextsPrintsAndSetTextReplaces)
{
    CliFixtureDir dir;
    const CharTable table = defaultTable();
    std::vector<std::string> expected = decodeAllTexts(sampleImage().romData, table).texts;
    ASSERT_EQ(expected.size(), 113u);
    EXPECT_EQ(textsOf(cli({"texts", dir.romArg()})), expected);

    const CliRun run = cli({"set-text", dir.romArg(), "112", "HELLO\\nA\\0"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    expected[112] = "HELLO\\nA\\0";
    EXPECT_EQ(textsOf(cli({"texts", dir.romArg()})), expected);

    // Without its end code a text would run on into the next one, as the game reads it: refused
    // unless asked for.
    const std::string edited = readFile(dir.rom());
    const CliRun open = cli({"set-text", dir.romArg(), "5", "AB"});
    EXPECT_EQ(open.code, 1);
    EXPECT_EQ(open.err,
              "Text 5 has no end code, so the game would read on into text 6. End it with \"\\0\", or give "
              "--allow-no-end to store it so.\n");
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), edited));
    const CliRun allowed = cli({"set-text", dir.romArg(), "5", "AB", "--allow-no-end"});
    ASSERT_EQ(allowed.code, 0) << allowed.err;
    EXPECT_EQ(allowed.err, "velmar-cli: warning: text 5 has no end code: the game reads on into text 6\n");
}

}  // namespace
}  // namespace velmar::test
