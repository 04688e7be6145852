#include <gtest/gtest.h>

#include "core/text/text_image.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using test::TempDir;
using test::writeFile;

TEST(CharTable, LoadAndFormat)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        std::string contents;
        std::string reason;
        std::vector<std::pair<int, std::string>> entries;  // checked after the load
    };
    const Case cases[] = {
        {"a word", "41=Hello\n", "", {{0x41, "Hello"}, {0x42, ""}}},
        {"windows line ends", "41=A\r\n42=B\r\n", "", {{0x41, "A"}, {0x42, "B"}}},
        {"line ends converted twice", "41=A\r\r\n42=\r\r", "", {{0x41, "A"}, {0x42, ""}}},
        {"byte order mark", bom + "41=x\n", "", {{0x41, "x"}}},
        {"byte order mark twice", bom + bom + "41=x\n", "", {{0x41, "x"}, {0x00, ""}}},
        {"later line wins, no final line end", "41=A\n41=B", "", {{0x41, "B"}}},
        {"any separator", "41:A\n421=x\n", "", {{0x41, "A"}, {0x42, "=x"}}},
        {"empty and space entries", "41=\n20= \n", "", {{0x41, ""}, {0x20, " "}}},
        {"utf-8", "80=é\n81é😀\n", "", {{0x80, "é"}, {0x81, "😀"}}},
        // A failure keeps what was read before it and puts the default codes on top.
        {"short line",
         "40=@\n43=x\n4\n44=y\n",
         "line 3 is shorter than three characters",
         {{0x40, "@"}, {0x43, "C"}, {0x44, "D"}, {0xF8, "\\0"}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("TBL.DAT"), c.contents);
        CharTable table;
        EXPECT_EQ(loadCharTable(dir.file("TBL.DAT"), table), c.reason) << c.name;
        for (const auto& [code, entry] : c.entries)
            EXPECT_EQ(table[static_cast<std::size_t>(code)], entry) << c.name << " code " << std::hex << code;
    }

    CharTable table;
    table[0x80] = "kept";
    EXPECT_EQ(loadCharTable(dir.file("missing.dat"), table), "No such file or directory");
    CharTable expected = test::defaultTable();
    expected[0x80] = "kept";
    EXPECT_EQ(table, expected);

    expected[0x41] = "Hello";
    expected[0x5C] = "";
    writeFile(dir.file("TBL.DAT"), formatCharTable(expected));
    CharTable loaded;
    ASSERT_EQ(loadCharTable(dir.file("TBL.DAT"), loaded), "");
    EXPECT_EQ(loaded, expected) << "a formatted table loads back unchanged";
}

}  // namespace
}  // namespace velmar
