#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "core/text/text_image.h"
#include "support/test_support.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar {
namespace {

using rommap::kTextAreaStart;
using namespace test;

constexpr RomOffset kBankEnd = 0x18000;                     // of bank 5
constexpr RomOffset kPackedEnd = kTextAreaStart + 113 * 4;  // of the numbered texts: 0x15576

std::vector<std::string> decodeAll(const Bytes& rom)
{
    const TextList list = decodeAllTexts(rom, defaultTable());
    EXPECT_TRUE(list.status.ok()) << list.status.message();
    return list.texts;
}

TEST(TextPacker, AreaEnd)
{
    struct Case {
        const char* name;
        std::function<void(Bytes&)> change;
        RomOffset end;
    };
    const auto put = [](int n, RomOffset at, Bytes bytes) { return [=](Bytes& rom) { putText(rom, n, at, bytes); }; };
    const Case cases[] = {
        {"packed, other data behind", [](Bytes&) {}, kPackedEnd},
        {"filler behind", [](Bytes& rom) { std::fill_n(rom.begin() + kPackedEnd, 10, 0xFF); }, kPackedEnd + 10},
        {"filler to the bank end", [](Bytes& rom) { std::fill(rom.begin() + kPackedEnd, rom.begin() + 0x18010, 0xFF); },
         kBankEnd},
        {"furthest text is not the last one", put(3, 0x16000, {0x41, 0xF8}), 0x16002},
        {"parameter bytes are skipped", put(112, 0x15572, {0xFD, 0xF8, 0x41, 0xF8}), kPackedEnd},
        {"text without end code reaches the bank end", put(5, 0x17FFE, {0x41, 0x41}), kBankEnd},
        // Text 112 at 0xD572: in the fixed bank, though its low 14 bits point at its old place.
        {"text in the fixed bank does not count", [](Bytes& rom) { rom[rommap::kTextPointers + 2 * 112 + 1] = 0xD5; },
         kPackedEnd - 4},
    };
    for (const Case& c : cases) {
        Bytes rom = textImage();
        c.change(rom);
        EXPECT_EQ(textAreaEnd(rom), c.end) << c.name;
    }
    EXPECT_EQ(textAreaEnd(Bytes(1, 0)), kTextAreaStart);
}

TEST(TextPacker, DecodeAllIsWholeOrEmpty)
{
    const TextList bad = decodeAllTexts(textImage(50, {0x41, 0x40, 0xF8}), defaultTable());
    EXPECT_FALSE(bad.status.ok());
    EXPECT_EQ(bad.failedText, 50);
    EXPECT_TRUE(bad.texts.empty());
}

// Texts are packed in number order without gaps; what is left up to the area end is filler again,
// and nothing behind it is written.
TEST(TextPacker, PacksInOrderAndRefills)
{
    struct Case {
        int filler;     // 0xFF bytes behind the texts
        bool moveFar;   // text 40 moved to 0x16000, its old place a gap
        bool lengthen;  // text 5 made 3 bytes longer
        RomOffset areaEnd;
    };
    const Case cases[] = {{0, true, false, 0x16004}, {3, false, true, kPackedEnd + 3}};
    for (const Case& c : cases) {
        Bytes rom = textImage();
        std::fill_n(rom.begin() + kPackedEnd, c.filler, 0xFF);
        if (c.moveFar)
            putText(rom, 40, 0x16000, {'T', '2', '8', 0xF8});
        ASSERT_EQ(textAreaEnd(rom), c.areaEnd);
        std::vector<std::string> texts = decodeAll(rom);
        if (c.lengthen)
            texts[5] = "T05abc\\0";

        const TextPackOutcome r = packTexts(rom, defaultTable(), texts, c.areaEnd);
        ASSERT_TRUE(r.ok()) << r.reason;
        EXPECT_EQ(decodeAll(rom), texts);
        const int shift = c.lengthen ? 3 : 0;
        for (int n = 0; n < 113; ++n)
            EXPECT_EQ(decodeText(rom, defaultTable(), n).start, kTextAreaStart + 4 * n + (n > 5 ? shift : 0)) << n;
        EXPECT_EQ(std::count(rom.begin() + kPackedEnd + shift, rom.begin() + c.areaEnd, 0xFF),
                  c.areaEnd - kPackedEnd - shift);
        EXPECT_EQ(rom[c.areaEnd], 0) << "nothing written behind the area";
        EXPECT_EQ(textAreaEnd(rom), c.areaEnd) << "the space stays the texts' for the next session";
    }
}

// A table in which code 01 writes "T" too: the texts left as they were keep their bytes,
// although encoding them again would pick the lower code.
TEST(TextPacker, TextsLeftAsTheyWereKeepTheirBytes)
{
    CharTable table = defaultTable();
    table[0x01] = table['T'];
    ASSERT_EQ(encodeText(table, "T").bytes, Bytes{0x01});
    Bytes rom = textImage();
    const Bytes before = rom;
    std::vector<std::string> texts = decodeAll(rom);
    texts[112] = "Z\\0";
    ASSERT_TRUE(packTexts(rom, table, texts, textAreaEnd(rom)).ok());
    EXPECT_TRUE(
        std::equal(before.begin() + kTextAreaStart, before.begin() + kPackedEnd - 4, rom.begin() + kTextAreaStart));
}

TEST(TextPacker, RefusalsWriteNothing)
{
    using Code = TextPackResult;
    struct Case {
        void (*change)(std::vector<std::string>&);
        RomOffset areaEnd;  // 0: the image's own
        Code code;
        int failedText;
        std::string message;
    };
    const Case cases[] = {
        {[](auto& t) { t[5] = "T05é\\0"; }, 0, Code::EncodeFailed, 5,
         "Text 05 cannot be encoded: no code for \"é\" (character 4)."},
        {[](auto& t) { t[1] = "NEW GAME"; }, 0, Code::NoEndCode, 1,
         "Text 01 has no end code \"\\0\", so the game would read on into text 02; end it with \"\\0\" or "
         "allow texts without one."},
        {[](auto& t) { t[112] = "\\tF8"; }, 0, Code::NoEndCode, 112,  // F8 only a parameter
         "Text 70 has no end code \"\\0\": the last text needs one, or the game would read on past the texts."},
        {[](auto& t) { t[0] = "T00!\\0"; }, 0, Code::NoSpace, -1,
         "The texts need 1 byte more than the space they had."},
        {[](auto& t) { t.pop_back(); }, 0, Code::BadData, -1, "The game has 113 texts, not 112."},
        {[](auto&) {}, 0x18001, Code::BadData, -1, "The end of the text area $18001 lies outside bank 5."},
    };
    for (const Case& c : cases) {
        Bytes rom = textImage();
        const Bytes before = rom;
        std::vector<std::string> texts = decodeAll(rom);
        c.change(texts);
        const TextPackOutcome r = packTexts(rom, defaultTable(), texts, c.areaEnd ? c.areaEnd : textAreaEnd(rom));
        EXPECT_EQ(std::tuple(r.code, r.failedText, r.reason), std::tuple(c.code, c.failedText, c.message));
        EXPECT_TRUE(rom == before) << c.message << ": nothing written";
    }

    // Texts already in the game's code: no table to name the end code with. The last text needs
    // its end code even where the others may go without.
    Bytes rom = textImage();
    const Bytes before = rom;
    std::vector<Bytes> encoded(113, Bytes{'T', 0xF8});
    encoded[7] = {'T'};
    const TextPackOutcome r = packEncodedTexts(rom, encoded, textAreaEnd(rom));
    EXPECT_EQ(std::tuple(r.code, r.failedText), std::tuple(Code::NoEndCode, 7));
    encoded.back() = {0xFD, 0xF8};
    const TextPackOutcome last = packEncodedTexts(rom, encoded, textAreaEnd(rom), EndCode::MayBeMissing);
    EXPECT_EQ(last.failedText, 112);
    EXPECT_EQ(last.reason,
              "Text 70 has no end code: the last text needs one, or the game would read on past the texts.");
    EXPECT_TRUE(rom == before);
}

// Allowed, a text without its end code is stored as typed and the game reads on into the next.
TEST(TextPacker, TextWithoutEndCodeRunsOnWhenAllowed)
{
    Bytes rom = textImage();
    std::vector<std::string> texts = decodeAll(rom);
    texts[1] = "NEW";
    ASSERT_TRUE(packTexts(rom, defaultTable(), texts, textAreaEnd(rom), EndCode::MayBeMissing).ok());
    EXPECT_EQ(decodeText(rom, defaultTable(), 1).text, "NEWT02\\0");
    EXPECT_EQ(decodeText(rom, defaultTable(), 2).text, "T02\\0");
}

}  // namespace
}  // namespace velmar
