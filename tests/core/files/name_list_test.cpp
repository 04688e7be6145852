#include <gtest/gtest.h>

#include <cstdlib>

#include "files/name_list.h"
#include "support/test_support.h"
#include "text/char_table.h"

namespace velmar {
namespace {

using Names = std::vector<std::string>;
using namespace test;

TEST(NameList, LoadAndFormat)
{
    struct Case {
        std::string contents;
        std::optional<Names> names;
    };
    const Case cases[] = {
        {"3\nA\nB\nC\nD\n", Names{"A", "B", "C", "D"}},  // line 1 is the highest entry number
        {std::string("\xEF\xBB\xBF") + "03\r\nA\r\nB\r\nC\r\nD\r\n", Names{"A", "B", "C", "D"}},  // as Notepad saves it
        {"0A\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\nA\nlines after the list\n",
         Names{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A"}},
        {"1\n\n\n", Names{"", ""}},
        {"3\nA\nB\nC\n", std::nullopt},  // one line short
        {"", std::nullopt},
        {"FFFFFFFF\nA\n", std::nullopt},  // a huge count in a short file fails without reserving room
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("ITEM.DAT"), c.contents);
        EXPECT_EQ(loadNameList(dir.file("ITEM.DAT")), c.names) << c.contents;
    }
    EXPECT_EQ(loadNameList(dir.file("missing.dat")), std::nullopt);
    EXPECT_EQ(loadNameList(dir.path()), std::nullopt);

    for (const Names& names : {defaultEnemyNames(), Names(257, "n")}) {
        writeFile(dir.file("LIST.DAT"), formatNameList(names));
        EXPECT_EQ(loadNameList(dir.file("LIST.DAT")), names) << names.size();
    }
}

// The dat files shipped beside the program are the built-in defaults in file form. With
// VELMAR_WRITE_DAT set they are written from the defaults first, so a changed default is one test
// run away from its file.
TEST(ShippedDat, FilesAreTheFormattedDefaults)
{
    CharTable table;
    applyDefaultCharTable(table);
    const std::pair<const char*, std::string> files[] = {
        {"ITEM.DAT", formatNameList(defaultItemNames())},
        {"ENEMY.DAT", formatNameList(defaultEnemyNames())},
        {"TBL.DAT", formatCharTable(table)},
    };
    const auto dat = std::filesystem::path(VELMAR_SOURCE_DIR) / "dat";
    for (const auto& [name, expected] : files) {
        if (std::getenv("VELMAR_WRITE_DAT") != nullptr)
            writeFile(dat / name, expected);
        EXPECT_EQ(readFile(dat / name), expected) << name;
    }
    EXPECT_TRUE(formatNameList(defaultItemNames()).starts_with("0B\n")) << "12 items";
}

}  // namespace
}  // namespace velmar
