#include <gtest/gtest.h>

#include <algorithm>

#include "rom/address_map.h"
#include "sample/sample_texts.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

const Bytes& rom() { return test::sampleImage().romData; }
int byteAt(RomOffset at) { return rom()[static_cast<std::size_t>(at)]; }

// The codes the built-in character table gives a text form.
bool hasDefaultEntry(int code)
{
    return (code >= 0x20 && code <= 0x3F) || (code >= 0x41 && code <= 0x5D) || (code >= 0x60 && code <= 0x7E)
        || code >= 0xF8;
}

bool takesParameter(int code) { return code == 0xF9 || code == 0xFD || code == 0xFE; }

// All 113 texts decode with the built-in table to an end code inside bank 5, packed one after
// the other from 0x93B2 in number order, with 0xFF filler after the last.
TEST(SampleTexts, PackedInOrderAndDecodable)
{
    const RomOffset bankEnd = bankStart(kTextBank) + kBankSize;
    RomOffset expected = kTextAreaStart;
    for (int n = 0; n < kTextCount; ++n) {
        SCOPED_TRACE(testing::Message() << "text " << n);
        const int pointer = byteAt(kTextPointers + 2 * n) | byteAt(kTextPointers + 2 * n + 1) << 8;
        ASSERT_GE(pointer, 0x8000);
        ASSERT_LT(pointer, 0xC000);
        RomOffset p = (pointer & 0x3FFF) + bankStart(kTextBank);
        ASSERT_EQ(p, expected);
        while (p < bankEnd && byteAt(p) != 0xF8) {
            EXPECT_TRUE(hasDefaultEntry(byteAt(p))) << "byte " << byteAt(p) << " at " << p;
            p += takesParameter(byteAt(p)) ? 2 : 1;
        }
        ASSERT_LT(p, bankEnd) << "no end code";
        EXPECT_GT(p, expected) << "an empty text";
        expected = p + 1;
    }
    EXPECT_TRUE(std::all_of(rom().begin() + expected, rom().begin() + bankEnd, [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(SampleTexts, EncodesThroughTheGamesCodes)
{
    struct Case {
        std::string_view text;
        Bytes bytes;  // empty: refused
    };
    const Case cases[] = {
        {"Hi\n\t0A", {0x48, 0x69, 0xFF, 0xFD, 0x0A, 0xF8}},
        // The game swaps the apostrophe and the per cent sign against ASCII.
        {"it's 5%", {0x69, 0x74, 0x25, 0x73, 0x20, 0x35, 0x27, 0xF8}},
        {"A\fB_", {0x41, 0xFC, 0x42, 0x60, 0xF8}},
        {"", {0xF8}},
        {"a@b", {}},
        {"back\\slash", {}},
        {"\t0", {}},
        {"\tG1", {}},
        {"caf\xC3\xA9", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sample::encodeSampleText(c.text), c.bytes) << c.text;
}

}  // namespace
}  // namespace velmar
