#include <gtest/gtest.h>

#include "core/files/shipped_dat.h"
#include "support/test_support.h"
#include "text/char_table.h"

namespace velmar {
namespace {

using test::TempDir;
using test::writeFile;

CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

TEST(CharTable, DefaultEntries)
{
    const CharTable table = defaultTable();
    const std::pair<int, const char*> cases[] = {
        {0x20, " "},     {0x22, "\""},    {0x25, "'"},     {0x27, "%"},
        {0x40, ""},      {0x5B, "["},     {0x5C, "\\\\"},  {0x5E, ""},
        {0x60, "_"},     {0x7E, "~"},     {0xF8, "\\0"},   {0xF9, "\\$F9"},
        {0xFC, "\\p"},   {0xFD, "\\t"},   {0xFE, "\\$FE"}, {0xFF, "\\n"},
    };
    for (const auto& [code, entry] : cases)
        EXPECT_EQ(table[static_cast<std::size_t>(code)], entry) << std::hex << code;
    const auto used = std::count_if(table.begin(), table.end(), [](const auto& e) { return !e.empty(); });
    EXPECT_EQ(used, 100);
}

TEST(CharTable, Load)
{
    struct Case {
        const char* name;
        std::string contents;
        bool ok;
        std::vector<std::pair<int, std::string>> entries;  // checked after the load
    };
    const Case cases[] = {
        {"a word", "41=Hello\n", true, {{0x41, "Hello"}, {0x42, ""}}},
        {"windows line ends", "41=A\r\n42=B\r\n", true, {{0x41, "A"}, {0x42, "B"}}},
        {"later line wins", "41=A\n41=B\n", true, {{0x41, "B"}}},
        {"any separator", "41:A\n421=x\n", true, {{0x41, "A"}, {0x42, "=x"}}},
        {"no final line end", "41=A\n42=B", true, {{0x42, "B"}}},
        {"hex prefix only", "4g=x\nG1=y\n", true, {{0x04, "x"}, {0x00, "y"}}},
        {"lower case code", "fd=\\tab\n", true, {{0xFD, "\\tab"}}},
        {"empty entry", "41=\n", true, {{0x41, ""}}},
        {"space entry", "20= \n", true, {{0x20, " "}}},
        {"utf-8 entry", "80=é\n81=€\n", true, {{0x80, "é"}, {0x81, "€"}}},
        {"utf-8 separator", "41é😀\n", true, {{0x41, "😀"}}},
        {"byte order mark", "\xEF\xBB\xBF" "41=x\n", true, {{0x41, "x"}}},
        {"empty file", "", true, {{0x41, ""}, {0xF8, ""}}},
        // A failure keeps what was read before it and puts the default codes on top.
        {"short line", "40=@\n43=x\n4\n44=y\n", false,
         {{0x40, "@"}, {0x43, "C"}, {0x44, "D"}, {0xF8, "\\0"}}},
        {"two characters", "40=@\n41\n", false, {{0x40, "@"}, {0x41, "A"}}},
        {"blank line", "40=@\n\n42=x\n", false, {{0x40, "@"}, {0x42, "B"}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("TBL.DAT"), c.contents);
        CharTable table;
        EXPECT_EQ(loadCharTable(dir.file("TBL.DAT"), table), c.ok) << c.name;
        for (const auto& [code, entry] : c.entries)
            EXPECT_EQ(table[static_cast<std::size_t>(code)], entry) << c.name << " code " << std::hex << code;
    }
}

TEST(CharTable, MissingFileGivesTheDefaults)
{
    TempDir dir;
    CharTable table;
    table[0x80] = "kept";
    EXPECT_FALSE(loadCharTable(dir.file("TBL.DAT"), table));
    EXPECT_FALSE(loadCharTable(dir.path(), table)) << "a folder is no file";
    CharTable expected = defaultTable();
    expected[0x80] = "kept";
    EXPECT_EQ(table, expected);
}

TEST(CharTable, FormatLoadsBackUnchanged)
{
    CharTable table = defaultTable();
    table[0x00] = "é";
    table[0x41] = "Hello";
    table[0x5C] = "";
    const std::string text = formatCharTable(table);
    EXPECT_TRUE(text.starts_with("00=é\n20= \n21=!\n22=\"\n")) << text;
    EXPECT_TRUE(text.ends_with("FE=\\$FE\nFF=\\n\n")) << text;

    TempDir dir;
    writeFile(dir.file("TBL.DAT"), text);
    CharTable loaded;
    ASSERT_TRUE(loadCharTable(dir.file("TBL.DAT"), loaded));
    EXPECT_EQ(loaded, table);
}

TEST(CharTable, ShippedTblDatIsTheDefaultTable)
{
    const CharTable table = defaultTable();
    EXPECT_EQ(test::shippedDatContents("TBL.DAT", formatCharTable(table)), formatCharTable(table));
    CharTable loaded;
    ASSERT_TRUE(loadCharTable(test::shippedDatFile("TBL.DAT"), loaded));
    EXPECT_EQ(loaded, table);
}

}  // namespace
}  // namespace velmar
