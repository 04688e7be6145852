#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "core/text/text_image.h"
#include "text/text_codec.h"

namespace velmar {
namespace {

using rommap::kTextAreaStart;
using namespace test;

TEST(TextCodec, Encode)
{
    const std::string twoDigits = " must be followed by two hexadecimal digits";
    struct Case {
        std::string text;
        Bytes bytes;
        std::string error;                                 // empty: the encoding succeeds with `bytes`
        std::vector<std::pair<int, std::string>> extra{};  // entries on top of the default table
    };
    const Case cases[] = {
        {"Hi\\n\\t0A", {0x48, 0x69, 0xFF, 0xFD, 0x0A}, ""},  // no "\0": no end code
        {"'%\"", {0x25, 0x27, 0x22}, ""},                    // the game swaps ' and %
        {"\\\\", {0x5C}, ""},                                // a sequence outside 0xF0-0xFF
        {"\\\\n", {0x5C, 0x6E}, ""},                         // pairs are taken left to right
        {"\\$F93C\\0", {0xF9, 0x3C, 0xF8}, ""},
        {"\\$FEff", {0xFE, 0xFF}, ""},         // lower-case digits too
        {"\\tF8\\0", {0xFD, 0xF8, 0xF8}, ""},  // a parameter may look like the end code
        {"\\t0", {}, "\"\\t\"" + twoDigits + " (character 1)"},
        {"\\$F9G1", {}, "\"\\$F9\"" + twoDigits + " (character 1)"},
        {"abc\\", {}, "the text ends in a lone \"\\\" (character 4)"},
        {"é", {}, "no code for \"é\" (character 1)"},
        {"a\xC3", {}, "no code for \"\xC3\" (character 2)"},  // a cut UTF-8 sequence is one character
        {"a\\x", {}, "no code for \"\\x\" (character 2)"},
        {"@", {}, "no code for \"@\" (character 1)"},
        // The lowest code with that entry; for a sequence the control codes 0xF0-0xFF first.
        {"A", {0x10}, "", {{0x10, "A"}, {0x90, "A"}}},
        {"\\n", {0xFF}, "", {{0x05, "\\n"}}},
        {"\\n", {0xF1}, "", {{0xF1, "\\n"}}},
        {"\\q", {0x07}, "", {{0x07, "\\q"}, {0x90, "\\q"}}},
        {"é€😀", {0x80, 0x81, 0x82}, "", {{0x80, "é"}, {0x81, "€"}, {0x82, "😀"}}},
        {"Hello", {'H', 'e', 'l', 'l', 'o'}, "", {{0x41, "Hello"}}},  // a word is typed letter by letter
    };
    for (const Case& c : cases) {
        CharTable table = defaultTable();
        for (const auto& [code, entry] : c.extra)
            table[static_cast<std::size_t>(code)] = entry;
        const EncodedText e = encodeText(table, c.text);
        EXPECT_EQ(std::tuple(e.ok, e.error, e.bytes), std::tuple(c.error.empty(), c.error, c.bytes)) << c.text;
    }
}

// Every text made of codes the table knows decodes, and encodes back to the same bytes.
TEST(TextCodec, DefaultTableRoundTrip)
{
    const CharTable table = defaultTable();
    std::vector<std::uint8_t> codes;
    for (int c = 0; c < 0x100; ++c)
        if (!table[static_cast<std::size_t>(c)].empty() && c != kTextEnd)
            codes.push_back(static_cast<std::uint8_t>(c));
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes;
        for (auto length = random() % 40; length > 0; --length) {
            bytes.push_back(codes[random() % codes.size()]);
            if (takesParameter(bytes.back()))
                bytes.push_back(static_cast<std::uint8_t>(random()));  // any byte, the end code too
        }
        bytes.push_back(kTextEnd);
        const DecodedText decoded = decodeText(textImage(112, bytes), table, 112);
        ASSERT_TRUE(decoded.status.ok()) << decoded.status.message();
        EXPECT_EQ(decoded.end - decoded.start, static_cast<RomOffset>(bytes.size()));
        const EncodedText encoded = encodeText(table, decoded.text);
        ASSERT_EQ(encoded.bytes, bytes) << decoded.text << ": " << encoded.error;
    }
}

TEST(TextCodec, Decode)
{
    CharTable table = defaultTable();
    table[0x80] = "Hello";  // as from a TBL.DAT line "80=Hello"
    struct Case {
        int n;
        RomOffset at;  // where text n is put; 0: `bytes` is its pointer, or nothing
        Bytes bytes;
        std::string result;  // the text, or the start of the failure message
        Bytes back;          // what the text encodes to, when not `bytes`
    };
    const Case cases[] = {
        {7, kTextAreaStart + 28, {0x48, 0x69, 0xFF, 0xFD, 0x0A, 0xF8}, "Hi\\n\\t0A\\0", {}},
        {0, kTextAreaStart, {0x80, 0xF8}, "Hello\\0", {'H', 'e', 'l', 'l', 'o', 0xF8}},  // a word is not typed back
        {3, 0x17FFC, {0x48, 0xFD, 0x01, 0xF8}, "H\\t01\\0", {}},  // the end code the last byte of bank 5
        {3, kTextAreaStart + 12, {0x48, 0x40, 0xF8}, "Text 03 holds byte 40, which has no character (at $153BF).", {}},
        {3, 0x17FFE, {0x48, 0x48}, "Text 03 has no end code before the end of bank 5 (at $17FFE).", {}},
        {3, 0x17FFE, {0x48, 0xFD}, "Text 03 has no end code before the end of bank 5 (at $17FFE).", {}},
        {9, 0, {0xFF, 0x7F}, "Bad pointer $7FFF at $152E2.", {}},
        {9, 0, {0x00, 0xC0}, "Bad pointer $C000 at $152E2.", {}},  // the fixed bank holds no text
        {113, 0, {}, "There is no text 71 (at $152D0).", {}},
        {-1, 0, {}, "There is no text ", {}},
    };
    for (const Case& c : cases) {
        Bytes rom = textImage();
        rom[0x18000] = 0xF8;  // an end code in the next bank does not count
        if (c.at)
            putText(rom, c.n, c.at, c.bytes);
        else
            std::copy(c.bytes.begin(), c.bytes.end(), rom.begin() + rommap::kTextPointers + 2 * c.n);
        const DecodedText d = decodeText(rom, table, c.n);
        if (d.status.ok()) {
            EXPECT_EQ(d.text, c.result);
            EXPECT_EQ(d.start, c.at);
            EXPECT_EQ(d.end, c.at + static_cast<RomOffset>(c.bytes.size()));
            EXPECT_EQ(encodeText(table, d.text).bytes, c.back.empty() ? c.bytes : c.back);
        } else {
            EXPECT_TRUE(d.status.message().starts_with(c.result)) << d.status.message();
        }
    }
    // A cut image: the texts lie beyond its end.
    Bytes cut = textImage();
    cut.resize(kTextAreaStart + 2);
    EXPECT_EQ(decodeText(cut, table, 0).status.code, RomStatus::Code::OutsideImage);
    EXPECT_EQ(decodeText(Bytes(1, 0), table, 0).status.code, RomStatus::Code::OutsideImage);
}

}  // namespace
}  // namespace velmar
