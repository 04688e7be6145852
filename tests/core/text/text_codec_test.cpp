#include <gtest/gtest.h>

#include <random>

#include "core/text/text_image.h"
#include "rom/address_map.h"
#include "text/text_codec.h"

namespace velmar {
namespace {

using rommap::kTextAreaStart;
using test::numberedTexts;
using test::putText;
using test::textImage;

CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

TEST(TextCodec, DecodesAndEncodesTheControlCodes)
{
    const Bytes bytes = {0x48, 0x69, 0xFF, 0xFD, 0x0A, 0xF8};
    std::vector<Bytes> texts = numberedTexts();
    texts[7] = bytes;
    const Bytes rom = textImage(texts);
    const CharTable table = defaultTable();

    const DecodedText decoded = decodeText(rom, table, 7);
    ASSERT_TRUE(decoded.status.ok()) << decoded.status.message();
    EXPECT_EQ(decoded.text, "Hi\\n\\t0A\\0");
    EXPECT_EQ(decoded.start, kTextAreaStart + 7 * 4);
    EXPECT_EQ(decoded.end, decoded.start + 6);

    const EncodedText encoded = encodeText(table, decoded.text);
    ASSERT_TRUE(encoded.ok) << encoded.error;
    EXPECT_EQ(encoded.bytes, bytes);
}

TEST(TextCodec, Encode)
{
    struct Case {
        std::string text;
        Bytes bytes;
        std::string error;  // empty: the encoding succeeds with `bytes`
    };
    const Case cases[] = {
        {"Hi\\n\\t0A", {0x48, 0x69, 0xFF, 0xFD, 0x0A}, ""},  // no "\0": no end code
        {"", {}, ""},
        {"'%\"", {0x25, 0x27, 0x22}, ""},                      // the swapped pair
        {"\\\\", {0x5C}, ""},                                  // an entry outside 0xF0-0xFF
        {"\\\\n", {0x5C, 0x6E}, ""},                           // pairs are taken left to right
        {"\\$F93C\\0", {0xF9, 0x3C, 0xF8}, ""},
        {"\\$FEff\\$FE00", {0xFE, 0xFF, 0xFE, 0x00}, ""},       // lower-case digits too
        {"\\tF8\\0", {0xFD, 0xF8, 0xF8}, ""},                   // a parameter may look like the end code
        {"\\t0", {}, "\"\\t\" must be followed by two hexadecimal digits"},
        {"\\tG1", {}, "\"\\t\" must be followed by two hexadecimal digits"},
        {"\\$F9", {}, "\"\\$F9\" must be followed by two hexadecimal digits"},
        {"abc\\", {}, "the text ends in a lone \"\\\""},
        {"é", {}, "no code for \"é\""},
        {"a\xC3", {}, "no code for \"\xC3\""},  // a cut UTF-8 sequence is one character
        {"\\x", {}, "no code for \"\\x\""},
        {"@", {}, "no code for \"@\""},
    };
    const CharTable table = defaultTable();
    for (const Case& c : cases) {
        const EncodedText e = encodeText(table, c.text);
        EXPECT_EQ(e.ok, c.error.empty()) << c.text;
        EXPECT_EQ(e.error, c.error) << c.text;
        if (e.ok) {
            EXPECT_EQ(e.bytes, c.bytes) << c.text;
        }
    }
}

TEST(TextCodec, EncodeTakesTheLowestCode)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> extra;  // on top of the default table
        std::string text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"plain character", {{0x10, "A"}, {0x90, "A"}}, "A", {0x10}},
        {"control codes first", {{0x05, "\\n"}}, "\\n", {0xFF}},
        {"lowest control code", {{0xF1, "\\n"}}, "\\n", {0xF1}},
        {"any code when no control code", {{0x07, "\\q"}, {0x90, "\\q"}}, "\\q", {0x07}},
        {"utf-8 entries", {{0x80, "é"}, {0x81, "€"}, {0x82, "😀"}}, "é€😀", {0x80, 0x81, 0x82}},
    };
    for (const Case& c : cases) {
        CharTable table = defaultTable();
        for (const auto& [code, entry] : c.extra)
            table[static_cast<std::size_t>(code)] = entry;
        const EncodedText e = encodeText(table, c.text);
        ASSERT_TRUE(e.ok) << c.name << ": " << e.error;
        EXPECT_EQ(e.bytes, c.bytes) << c.name;
    }
}

TEST(TextCodec, WordEntryDecodesButIsNotTypedBack)
{
    CharTable table = defaultTable();
    table[0x41] = "Hello";  // as from a TBL.DAT line "41=Hello"
    std::vector<Bytes> texts = numberedTexts();
    texts[0] = {0x41, 0xF8};
    const DecodedText decoded = decodeText(textImage(texts), table, 0);
    ASSERT_TRUE(decoded.status.ok());
    EXPECT_EQ(decoded.text, "Hello\\0");

    const EncodedText back = encodeText(table, decoded.text);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, (Bytes{'H', 'e', 'l', 'l', 'o', 0xF8}));
    EXPECT_FALSE(encodeText(table, "A").ok) << "0x41 no longer stands for A";
}

// Every text made of codes the table knows decodes, and encodes back to the same bytes.
TEST(TextCodec, DefaultTableRoundTrip)
{
    const CharTable table = defaultTable();
    std::vector<std::uint8_t> codes;
    for (int c = 0; c < 0xF8; ++c) {
        if (!table[static_cast<std::size_t>(c)].empty())
            codes.push_back(static_cast<std::uint8_t>(c));
    }
    codes.insert(codes.end(), {0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF});
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            const std::uint8_t c = codes[random() % codes.size()];
            bytes.push_back(c);
            if (takesParameter(c))
                bytes.push_back(static_cast<std::uint8_t>(random()));  // any byte, the end code too
        }
        bytes.push_back(0xF8);
        std::vector<Bytes> texts = numberedTexts();
        texts[112] = bytes;
        const DecodedText decoded = decodeText(textImage(texts), table, 112);
        ASSERT_TRUE(decoded.status.ok()) << decoded.status.message();
        EXPECT_EQ(decoded.end - decoded.start, static_cast<RomOffset>(bytes.size()));
        const EncodedText encoded = encodeText(table, decoded.text);
        ASSERT_TRUE(encoded.ok) << decoded.text << ": " << encoded.error;
        ASSERT_EQ(encoded.bytes, bytes) << decoded.text;
    }
}

TEST(TextCodec, DecodeFailures)
{
    struct Case {
        const char* name;
        RomOffset at;  // where text 3 is put
        Bytes bytes;
        std::string message;
    };
    const Case cases[] = {
        {"byte without entry", kTextAreaStart + 12, {0x48, 0x40, 0xF8},
         "Text 03 holds byte 40, which has no character (at $153BF)."},
        {"no end code in bank 5", 0x17FFE, {0x48, 0x48},
         "Text 03 has no end code before the end of bank 5 (at $17FFE)."},
        {"parameter cut off by the bank end", 0x17FFE, {0x48, 0xFD},
         "Text 03 has no end code before the end of bank 5 (at $17FFE)."},
    };
    const CharTable table = defaultTable();
    for (const Case& c : cases) {
        Bytes rom = textImage(numberedTexts());
        rom[0x18000] = 0xF8;  // an end code in the next bank does not count
        putText(rom, 3, c.at, c.bytes);
        const DecodedText d = decodeText(rom, table, 3);
        EXPECT_FALSE(d.status.ok()) << c.name;
        EXPECT_EQ(d.status.message(), c.message) << c.name;
    }

    // A text whose end code is the last byte of the bank is whole.
    Bytes rom = textImage(numberedTexts());
    putText(rom, 3, 0x17FFC, {0x48, 0xFD, 0x01, 0xF8});
    EXPECT_EQ(decodeText(rom, table, 3).text, "H\\t01\\0");
}

TEST(TextCodec, DecodeRejectsBadPointersAndNumbers)
{
    const CharTable table = defaultTable();
    for (const int pointer : {0x0000, 0x7FFF, 0xC000, 0xFFFF}) {
        Bytes rom = textImage(numberedTexts());
        rom[0x152D0 + 2 * 9] = static_cast<std::uint8_t>(pointer & 0xFF);
        rom[0x152D0 + 2 * 9 + 1] = static_cast<std::uint8_t>(pointer >> 8);
        const DecodedText d = decodeText(rom, table, 9);
        EXPECT_EQ(d.status.code, RomStatus::Code::BadPointer) << pointer;
        EXPECT_EQ(d.status.where, 0x152D0 + 2 * 9);
    }
    const Bytes rom = textImage(numberedTexts());
    EXPECT_FALSE(decodeText(rom, table, -1).status.ok());
    EXPECT_FALSE(decodeText(rom, table, 113).status.ok());
    EXPECT_TRUE(decodeText(rom, table, 112).status.ok());

    // A cut image: the texts lie beyond its end.
    const Bytes cut(rom.begin(), rom.begin() + kTextAreaStart + 2);
    EXPECT_EQ(decodeText(cut, table, 0).status.code, RomStatus::Code::OutsideImage);
    EXPECT_EQ(decodeText(Bytes(1, 0), table, 0).status.code, RomStatus::Code::OutsideImage);
}

}  // namespace
}  // namespace velmar
