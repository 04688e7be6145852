#include <gtest/gtest.h>

#include "cli_test_util.h"
#include "text/char_table.h"
#include "text/text_packer.h"

namespace velmar::test {
namespace {

std::vector<std::string> textsOf(const CliRun& run)
{
    std::vector<std::string> texts;
    for (const auto& value : parseJson(run.out).array())
        texts.push_back(value.toString().toStdString());
    return texts;
}

CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

TEST(CliTexts, PrintsAllTextsWithTheBuiltInTable)
{
    CliFixtureDir dir;
    const CliRun run = cli({"texts", dir.romArg()});
    ASSERT_EQ(run.code, 0) << run.err;
    const TextList expected = decodeAllTexts(sampleImage().romData, defaultTable());
    ASSERT_TRUE(expected.status.ok());
    EXPECT_EQ(textsOf(run), expected.texts);
    EXPECT_EQ(textsOf(run).size(), 113u);
}

// A table file replaces the built-in table: its entries are the only ones.
TEST(CliTexts, TableFileChangesTheTextForms)
{
    CliFixtureDir dir;
    CharTable table = defaultTable();
    table[0x41] = "Alpha";
    writeFile(dir.file("TBL.DAT"), formatCharTable(table));

    const CliRun run = cli({"texts", dir.romArg(), "--table", dir.arg("TBL.DAT")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(textsOf(run), decodeAllTexts(sampleImage().romData, table).texts);

    const CliRun missing = cli({"texts", dir.romArg(), "--table", dir.arg("NONE.DAT")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("NONE.DAT"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());
}

// set-text changes one text and leaves the other 112 readable and as they were.
TEST(CliSetText, ReplacesOneText)
{
    struct Case {
        int n;
        std::string text;
    };
    for (const Case& c : {Case{0, "HELLO\\0"}, Case{5, "A\\nB\\t0AC\\0"}, Case{112, "Z\\0"}}) {
        SCOPED_TRACE(c.n);
        CliFixtureDir dir;
        const std::vector<std::string> before = textsOf(cli({"texts", dir.romArg()}));
        ASSERT_EQ(before.size(), 113u);

        const CliRun run = cli({"set-text", dir.romArg(), std::to_string(c.n), c.text});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(run.err.empty());

        std::vector<std::string> expected = before;
        expected[static_cast<std::size_t>(c.n)] = c.text;
        EXPECT_EQ(textsOf(cli({"texts", dir.romArg()})), expected);
    }
}

// A text that has no encoding, or that no longer fits, is refused and nothing is written.
TEST(CliSetText, RefusalLeavesTheFileByteIdentical)
{
    struct Case {
        const char* name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"unknown character", "caf\xC3\xA9\\0"},
        {"unknown control sequence", "AB\\q\\0"},
        {"too long for the text area", std::string(0x8000, 'A') + "\\0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliFixtureDir dir;
        const CliRun run = cli({"set-text", dir.romArg(), "3", c.text});
        EXPECT_EQ(run.code, 1);
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
    }
}

// With a table file, text is typed in the table's forms.
TEST(CliSetText, UsesTheTableFile)
{
    CliFixtureDir dir;
    CharTable table = defaultTable();
    table[0x5F] = "@";  // code 0x5F has no built-in form
    writeFile(dir.file("TBL.DAT"), formatCharTable(table));

    EXPECT_EQ(cli({"set-text", dir.romArg(), "9", "@B\\0"}).code, 1);
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));

    ASSERT_EQ(cli({"set-text", dir.romArg(), "9", "@B\\0", "--table", dir.arg("TBL.DAT")}).code, 0);
    const std::vector<std::string> withTable = textsOf(cli({"texts", dir.romArg(), "--table", dir.arg("TBL.DAT")}));
    ASSERT_EQ(withTable.size(), 113u);
    EXPECT_EQ(withTable[9], "@B\\0");
    // The built-in table has no form for 0x5F: the image no longer decodes without the file.
    EXPECT_EQ(cli({"texts", dir.romArg()}).code, 1);
}

}  // namespace
}  // namespace velmar::test
