// libFuzzer target: the text codec, the character table and the text packer, over the sample
// image with a few bytes of the text pointers and the packed texts replaced.
//
// One text is replaced by one typed from the input and all 113 are packed again: typed either as
// a sequence of the table's own forms (letters, backslash sequences, parameters as two digits,
// the end code last), or as any characters at all. The character table is the built-in one or,
// now and then, one with a few entries from the input. Sometimes the texts are packed as raw
// game codes instead (packEncodedTexts), the replaced one with bytes from the input.
//
// Promises checked:
//  - a pack that refuses writes nothing;
//  - with the built-in table, a text typed as a sequence of forms decodes after packing exactly
//    as it was typed, and every other text decodes as it did before;
//  - packed raw codes leave every other text decoding as it did before;
//  - no text without its end code is stored unless that was allowed.

#include <array>
#include <string>

#include "fuzz_support.h"
#include "rom/address_map.h"
#include "text/char_table.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace {

using namespace velmar;
using velmar::fuzz::Region;

constexpr int kTexts = rommap::kTextCount;

const CharTable& builtInTable()
{
    static const CharTable table = [] {
        CharTable t;
        applyDefaultCharTable(t);
        return t;
    }();
    return table;
}

// The pointer table, the packed texts, or the bytes that text `pick` points to.
Region pickRegion(std::uint8_t pick, const Bytes& rom)
{
    switch (pick & 3) {
    case 0: return {rommap::kTextPointers, 2 * kTexts};
    case 1: return {rommap::kTextAreaStart, 0x18000 - rommap::kTextAreaStart};
    default: {
        const auto entry = static_cast<std::size_t>(rommap::kTextPointers + 2 * ((pick >> 2) % kTexts));
        const int pointer = rom[entry] | (rom[entry + 1] << 8);
        return {rommap::bankOffset(pointer, rommap::kTextBank), 0x40};
    }
    }
}

// The built-in table, or one with up to four entries given by the input (forms of up to four
// bytes, an empty one clearing the entry).
CharTable pickTable(FuzzedDataProvider& in, bool& builtIn)
{
    CharTable table = builtInTable();
    const int changes = in.ConsumeIntegralInRange<int>(0, 15);
    builtIn = changes < 12;
    if (builtIn)
        return table;
    for (int k = 12; k <= changes; ++k) {
        const auto code = in.ConsumeIntegral<std::uint8_t>();
        table[code] = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 4));
    }
    return table;
}

// A text typed as the table's forms, one input byte each: a code that takes a parameter is
// followed by two upper-case hexadecimal digits, and the text ends with the end code.
std::string typeForms(const CharTable& table, const std::vector<std::uint8_t>& keys)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::uint8_t code = keys[i];
        if (code == kTextEnd || table[code].empty())
            continue;
        text += table[code];
        if (takesParameter(code)) {
            const std::uint8_t parameter = i + 1 < keys.size() ? keys[++i] : 0;
            text += kDigits[parameter >> 4];
            text += kDigits[parameter & 15];
        }
    }
    return text + table[kTextEnd];
}

void packTyped(fuzz::Workbench& bench, FuzzedDataProvider& in, RomOffset areaEnd)
{
    Bytes& rom = bench.rom();
    bool builtIn = true;
    const CharTable table = pickTable(in, builtIn);
    const bool asForms = in.ConsumeBool();
    const int which = in.ConsumeIntegralInRange<int>(0, kTexts - 1);
    const std::vector<std::uint8_t> keys = in.ConsumeRemainingBytes<std::uint8_t>();
    const std::string typed = asForms ? typeForms(table, keys) : std::string(keys.begin(), keys.end());

    const TextList before = decodeAllTexts(rom, table);
    std::vector<std::string> texts = before.status.ok() ? before.texts : std::vector<std::string>(kTexts, typed);
    texts[static_cast<std::size_t>(which)] = typed;
    if (!packTexts(rom, table, texts, areaEnd).ok()) {
        bench.expectUnchanged("a refused packTexts changed the image");
        return;
    }
    const TextList after = decodeAllTexts(rom, table);
    if (!after.status.ok())
        fuzz::broken("packed texts do not decode");
    if (!builtIn)
        return;
    if (asForms && after.texts[static_cast<std::size_t>(which)] != typed)
        fuzz::broken("a packed text decodes to other than was typed");
    if (!before.status.ok())
        return;
    for (int n = 0; n < kTexts; ++n) {
        if (n != which && after.texts[static_cast<std::size_t>(n)] != before.texts[static_cast<std::size_t>(n)])
            fuzz::broken("packing changed the decoded form of another text");
    }
}

void packRaw(fuzz::Workbench& bench, FuzzedDataProvider& in, RomOffset areaEnd)
{
    Bytes& rom = bench.rom();
    const int which = in.ConsumeIntegralInRange<int>(0, kTexts - 1);
    std::vector<Bytes> encoded;
    std::vector<std::string> before;
    for (int n = 0; n < kTexts; ++n) {
        const DecodedText d = decodeText(rom, builtInTable(), n);
        if (!d.status.ok())
            return;
        encoded.emplace_back(rom.begin() + d.start, rom.begin() + d.end);
        before.push_back(d.text);
    }
    const EndCode rule = in.ConsumeBool() ? EndCode::Required : EndCode::MayBeMissing;
    encoded[static_cast<std::size_t>(which)] = in.ConsumeRemainingBytes<std::uint8_t>();
    if (!packEncodedTexts(rom, encoded, areaEnd, rule).ok()) {
        bench.expectUnchanged("a refused packEncodedTexts changed the image");
        return;
    }
    if (rule == EndCode::Required && !hasEndCode(encoded[static_cast<std::size_t>(which)]))
        fuzz::broken("a text without its end code was stored although it was not allowed");
    for (int n = 0; n < kTexts; ++n) {
        if (n == which)
            continue;
        const DecodedText d = decodeText(rom, builtInTable(), n);
        if (!d.status.ok() || d.text != before[static_cast<std::size_t>(n)])
            fuzz::broken("packing raw codes changed the decoded form of another text");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::Workbench bench;
    static const RomOffset sampleEnd = textAreaEnd(fuzz::sampleImage().romData);
    FuzzedDataProvider in(data, size);
    const auto mode = in.ConsumeIntegral<std::uint8_t>();
    bench.layPatches(in, 6, pickRegion);
    // The text area's end as the document measures it when the file is opened: measuring costs
    // more than the rest of an input, so mostly the sample's is taken.
    const RomOffset areaEnd = (mode & 0x70) == 0x70 ? textAreaEnd(bench.rom()) : sampleEnd;
    if ((mode & 0x0F) == 0x0F)
        packRaw(bench, in, areaEnd);
    else
        packTyped(bench, in, areaEnd);
    bench.restore();
    return 0;
}
