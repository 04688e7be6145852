#include <gtest/gtest.h>

#include "core/text/text_image.h"
#include "rom/address_map.h"
#include "support/test_support.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar {
namespace {

using rommap::kTextAreaStart;
using test::numberedTexts;
using test::packedSize;
using test::putText;
using test::textImage;

constexpr RomOffset kBankEnd = 0x18000;

CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

std::vector<std::string> decodeAll(const Bytes& rom)
{
    const TextList list = decodeAllTexts(rom, defaultTable());
    EXPECT_TRUE(list.status.ok()) << list.status.message();
    return list.texts;
}

CpuAddress pointerOf(const Bytes& rom, int n)
{
    const auto entry = static_cast<std::size_t>(rommap::kTextPointers + 2 * n);
    return rom[entry] | (rom[entry + 1] << 8);
}

TEST(TextPacker, AreaEnd)
{
    const RomOffset packedEnd = kTextAreaStart + packedSize(numberedTexts());
    struct Case {
        const char* name;
        void (*change)(Bytes&);
        RomOffset end;
    };
    const Case cases[] = {
        {"packed, nothing behind", [](Bytes&) {}, packedEnd},
        {"filler behind", [](Bytes& rom) { std::fill_n(rom.begin() + 0x15576, 10, 0xFF); }, packedEnd + 10},
        {"filler to the bank end",
         [](Bytes& rom) { std::fill(rom.begin() + 0x15576, rom.begin() + 0x18010, 0xFF); }, kBankEnd},
        {"furthest text is not the last one",
         [](Bytes& rom) { putText(rom, 3, 0x16000, {0x41, 0xF8}); }, 0x16002},
        {"parameter bytes are skipped",
         [](Bytes& rom) { putText(rom, 112, 0x15572, {0xFD, 0xF8, 0x41, 0xF8}); }, packedEnd},
        {"text without end code reaches the bank end",
         [](Bytes& rom) {
             std::fill(rom.begin() + 0x17000, rom.begin() + kBankEnd, 0x41);
             putText(rom, 5, 0x17000, {});
         },
         kBankEnd},
        {"pointers outside the area do not count",
         [](Bytes& rom) {
             putText(rom, 112, 0x153B0, {});
             rom[0x152D0 + 2 * 111 + 1] = 0xC1;  // text 111 in the fixed bank
         },
         packedEnd - 8},
        {"no text in the area",
         [](Bytes& rom) { std::fill(rom.begin() + 0x152D0, rom.begin() + 0x153B2, 0); }, kTextAreaStart},
    };
    for (const Case& c : cases) {
        Bytes rom = textImage(numberedTexts());
        c.change(rom);
        EXPECT_EQ(textAreaEnd(rom), c.end) << c.name;
    }
    EXPECT_EQ(textAreaEnd(Bytes(1, 0)), kTextAreaStart);
}

TEST(TextPacker, DecodeAllIsWholeOrEmpty)
{
    std::vector<Bytes> texts = numberedTexts();
    const Bytes good = textImage(texts);
    const TextList list = decodeAllTexts(good, defaultTable());
    ASSERT_TRUE(list.status.ok());
    ASSERT_EQ(list.texts.size(), 113u);
    EXPECT_EQ(list.texts[0x5A], "T5A\\0");

    texts[50] = {0x41, 0x40, 0xF8};
    const TextList bad = decodeAllTexts(textImage(texts), defaultTable());
    EXPECT_FALSE(bad.status.ok());
    EXPECT_EQ(bad.failedText, 50);
    EXPECT_TRUE(bad.texts.empty());
}

TEST(TextPacker, UnchangedTextsGiveIdenticalBytes)
{
    for (const int filler : {0, 10}) {
        Bytes rom = textImage(numberedTexts());
        std::fill_n(rom.begin() + 0x15576, filler, 0xFF);
        const Bytes before = rom;
        const TextPackResult r = packTexts(rom, defaultTable(), decodeAll(rom), textAreaEnd(rom));
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(rom, before) << filler;
    }
}

TEST(TextPacker, GapsAreClosedAndTheRestFilled)
{
    std::vector<Bytes> texts = numberedTexts();
    Bytes rom = textImage(texts);
    putText(rom, 40, 0x16000, texts[40]);  // text 40 moved far behind, its old place a gap
    const RomOffset areaEnd = textAreaEnd(rom);
    ASSERT_EQ(areaEnd, 0x16004);
    const std::vector<std::string> decoded = decodeAll(rom);

    ASSERT_TRUE(packTexts(rom, defaultTable(), decoded, areaEnd).ok());
    EXPECT_EQ(decodeAll(rom), decoded);
    EXPECT_EQ(pointerOf(rom, 40), 0x93B2 + 40 * 4);
    EXPECT_EQ(pointerOf(rom, 112), 0x93B2 + 112 * 4);
    const auto filler = rom.begin() + kTextAreaStart + 113 * 4;
    EXPECT_TRUE(std::all_of(filler, rom.begin() + areaEnd, [](std::uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(rom[static_cast<std::size_t>(areaEnd)], 0) << "nothing written behind the area";
    EXPECT_EQ(textAreaEnd(rom), areaEnd) << "the space stays the texts' for the next session";
}

TEST(TextPacker, LengtheningText5MovesTheTextsBehindIt)
{
    Bytes rom = textImage(numberedTexts());
    std::fill_n(rom.begin() + 0x15576, 3, 0xFF);
    const RomOffset areaEnd = textAreaEnd(rom);
    const Bytes before = rom;
    std::vector<std::string> texts = decodeAll(rom);
    texts[5] = "T05abc\\0";

    const TextPackResult r = packTexts(rom, defaultTable(), texts, areaEnd);
    ASSERT_TRUE(r.ok()) << r.message;
    for (int n = 0; n < 113; ++n)
        EXPECT_EQ(pointerOf(rom, n), pointerOf(before, n) + (n > 5 ? 3 : 0)) << n;
    EXPECT_EQ(decodeAll(rom), texts);
    // Exactly full now: the filler is used up and the byte behind the area is untouched.
    EXPECT_EQ(rom[0x15578], 0xF8);
    EXPECT_EQ(rom[0x15579], 0x00);
}

TEST(TextPacker, Refusals)
{
    struct Case {
        const char* name;
        void (*change)(std::vector<std::string>&);
        RomOffset areaEnd;  // 0: the image's own
        TextPackResult::Code code;
        int failedText;
        std::string message;
    };
    using Code = TextPackResult::Code;
    const Case cases[] = {
        {"character without code", [](auto& t) { t[5] = "T05é\\0"; }, 0, Code::EncodeFailed, 5,
         "Text 05 cannot be encoded: no code for \"é\"."},
        {"lone backslash", [](auto& t) { t[0x1F] = "T\\"; }, 0, Code::EncodeFailed, 0x1F,
         "Text 1F cannot be encoded: the text ends in a lone \"\\\"."},
        {"last text without end code", [](auto& t) { t[112] = "T70"; }, 0, Code::EncodeFailed, 112,
         "Text 70 cannot be encoded: the last text needs its end code \"\\0\"."},
        {"last text's end code only a parameter", [](auto& t) { t[112] = "\\tF8"; }, 0, Code::EncodeFailed,
         112,
         "Text 70 cannot be encoded: the last text needs its end code \"\\0\"."},
        {"one byte too many", [](auto& t) { t[0] = "T00!\\0"; }, 0, Code::NoSpace, -1,
         "The texts need 1 byte more than the space they had."},
        {"no space", [](auto& t) { t[9] = "0123456789\\0"; }, 0x15578, Code::NoSpace, -1,
         "The texts need 5 bytes more than the space they had."},
        {"too few texts", [](auto& t) { t.pop_back(); }, 0, Code::BadData, -1,
         "The game has 113 texts, not 112."},
        {"area end past bank 5", [](auto&) {}, 0x18001, Code::BadData, -1,
         "The end of the text area $18001 lies outside bank 5."},
        {"area end before the area", [](auto&) {}, 0x153B1, Code::BadData, -1,
         "The end of the text area $153B1 lies outside bank 5."},
    };
    const CharTable table = defaultTable();
    for (const Case& c : cases) {
        Bytes rom = textImage(numberedTexts());
        const Bytes before = rom;
        std::vector<std::string> texts = decodeAll(rom);
        c.change(texts);
        const TextPackResult r = packTexts(rom, table, texts, c.areaEnd ? c.areaEnd : textAreaEnd(rom));
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_EQ(r.failedText, c.failedText) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
        EXPECT_EQ(rom, before) << c.name << ": nothing written";
    }

    Bytes small(0x17FFF, 0);
    const std::vector<std::string> ends(113, "\\0");
    EXPECT_EQ(packTexts(small, table, ends, kTextAreaStart + 113).code, Code::BadData);
}

TEST(TextPacker, SampleImageTexts)
{
    Bytes rom = test::sampleImage().romData;
    const Bytes before = rom;
    const TextList list = decodeAllTexts(rom, defaultTable());
    ASSERT_TRUE(list.status.ok()) << list.status.message();
    ASSERT_EQ(list.texts.size(), 113u);
    const TextPackResult r = packTexts(rom, defaultTable(), list.texts, textAreaEnd(rom));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(rom, before);
}

}  // namespace
}  // namespace velmar
