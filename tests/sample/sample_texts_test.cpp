#include <gtest/gtest.h>

#include "rom/address_map.h"
#include "support/test_support.h"
#include "text/text_codec.h"

namespace velmar {
namespace {

// Every text decodes with the built-in table (the repack test of the text packer shows they are
// packed in order); the story reads as written: the game's swapped apostrophe, a picture code with
// its parameter, line and page breaks.
TEST(SampleTexts, DecodeAsWritten)
{
    CharTable table;
    applyDefaultCharTable(table);
    const Bytes& rom = test::sampleImage().romData;
    for (int n = 0; n < rommap::kTextCount; ++n)
        EXPECT_TRUE(decodeText(rom, table, n).status.ok()) << "text " << n;
    EXPECT_EQ(decodeText(rom, table, 94).text, "\\t01She took her lantern\\nand her grandmother's\\nsword.\\p\\0");
    EXPECT_EQ(decodeText(rom, table, 93).text, "\"I will go,\" she said.\\n\"Someone has to.\"\\0");
}

}  // namespace
}  // namespace velmar
