#include <gtest/gtest.h>

#include "core/files/shipped_dat.h"
#include "files/name_list.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using Names = std::vector<std::string>;
using test::TempDir;
using test::writeFile;

TEST(NameList, Load)
{
    struct Case {
        const char* name;
        std::string contents;
        std::optional<Names> names;
    };
    const Case cases[] = {
        {"highest number 3: four entries", "3\nA\nB\nC\nD\n", Names{"A", "B", "C", "D"}},
        {"windows line ends", "03\r\nA\r\nB\r\nC\r\nD\r\n", Names{"A", "B", "C", "D"}},
        {"hexadecimal", "0A\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\nA\n",
         Names{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A"}},
        {"lines after the list", "1\nA\nB\nC\n", Names{"A", "B"}},
        {"empty names", "1\n\n\n", Names{"", ""}},
        {"count read from its leading digits", "1 items\nA\nB\n", Names{"A", "B"}},
        {"no digits reads as 0", "x\nA\n", Names{"A"}},
        {"byte order mark", "\xEF\xBB\xBF" "0\nA\n", Names{"A"}},
        {"one line short", "3\nA\nB\nC\n", std::nullopt},
        {"empty", "", std::nullopt},
        // A huge count in a short file fails without reserving room for it.
        {"huge count", "FFFFFFFF\nA\n", std::nullopt},
        {"overlong count", "FFFFFFFFFFFF\nA\n", std::nullopt},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("ITEM.DAT"), c.contents);
        EXPECT_EQ(loadNameList(dir.file("ITEM.DAT")), c.names) << c.name;
    }
    EXPECT_EQ(loadNameList(dir.file("missing.dat")), std::nullopt);
    EXPECT_EQ(loadNameList(dir.path()), std::nullopt);
}

TEST(NameList, FormatLoadsBack)
{
    const Names long256(256, "n");
    const Names long257(257, "n");
    struct Case {
        Names names;
        std::string firstLine;
    };
    const Case cases[] = {
        {defaultItemNames(), "0B"},
        {defaultEnemyNames(), "28"},
        {{"only"}, "00"},
        {long256, "FF"},
        {long257, "100"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string text = formatNameList(c.names);
        EXPECT_EQ(text.substr(0, text.find('\n')), c.firstLine);
        writeFile(dir.file("LIST.DAT"), text);
        EXPECT_EQ(loadNameList(dir.file("LIST.DAT")), c.names) << c.firstLine;
    }
    EXPECT_EQ(formatNameList({}), "");
}

TEST(NameList, ShippedFilesAreTheDefaults)
{
    const std::pair<const char*, const Names*> files[] = {
        {"ITEM.DAT", &defaultItemNames()},
        {"ENEMY.DAT", &defaultEnemyNames()},
    };
    for (const auto& [name, names] : files) {
        EXPECT_EQ(test::shippedDatContents(name, formatNameList(*names)), formatNameList(*names)) << name;
        EXPECT_EQ(loadNameList(test::shippedDatFile(name)), *names) << name;
    }
}

}  // namespace
}  // namespace velmar
