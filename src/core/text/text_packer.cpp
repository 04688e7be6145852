#include "text/text_packer.h"

#include <algorithm>

#include "rom/address_map.h"
#include "rom/hex.h"
#include "text/text_codec.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kTextBase = bankStart(kTextBank);
constexpr RomOffset kTextBankEnd = kTextBase + kBankSize;  // 0x18000
constexpr std::uint8_t kFiller = 0xFF;

// One past the end code of the text starting at `start`, read by structure alone (the end code
// and the parameter bytes), so that it does not depend on the character table. A text without an
// end code reaches `limit`.
RomOffset structuralEnd(const Bytes& rom, RomOffset start, RomOffset limit)
{
    RomOffset at = start;
    while (at < limit) {
        const std::uint8_t c = rom[static_cast<std::size_t>(at++)];
        if (c == kTextEnd)
            return at;
        if (takesParameter(c))
            ++at;
    }
    return limit;
}

// True when the game stops reading the text at an end code of its own rather than running on
// into whatever lies behind it.
bool hasEndCode(const Bytes& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == kTextEnd)
            return true;
        if (takesParameter(bytes[i]))
            ++i;
    }
    return false;
}

TextPackResult refuse(TextPackResult::Code code, std::string message, int failedText = -1)
{
    TextPackResult result;
    result.code = code;
    result.failedText = failedText;
    result.message = std::move(message);
    return result;
}

std::string textName(int n)
{
    return "Text " + hexPad(n, 2);
}

}  // namespace

RomOffset textAreaEnd(const Bytes& rom)
{
    const RomOffset limit = std::min<RomOffset>(kTextBankEnd, static_cast<RomOffset>(rom.size()));
    RomOffset end = kTextAreaStart;
    for (int n = 0; n < kTextCount; ++n) {
        const auto pointer = readPointer(rom, kTextPointers + 2 * n, false, 0x3FFF, kTextBase);
        if (!pointer || *pointer < 0x8000 || *pointer >= 0xC000)
            continue;
        const RomOffset start = (*pointer & 0x3FFF) + kTextBase;
        if (start < kTextAreaStart || start >= limit)
            continue;
        end = std::max(end, structuralEnd(rom, start, limit));
    }
    while (end < limit && rom[static_cast<std::size_t>(end)] == kFiller)
        ++end;
    return end;
}

TextList decodeAllTexts(const Bytes& rom, const CharTable& table)
{
    TextList list;
    list.texts.reserve(kTextCount);
    for (int n = 0; n < kTextCount; ++n) {
        DecodedText decoded = decodeText(rom, table, n);
        if (!decoded.status.ok()) {
            list.status = std::move(decoded.status);
            list.failedText = n;
            list.texts.clear();
            return list;
        }
        list.texts.push_back(std::move(decoded.text));
    }
    return list;
}

TextPackResult packTexts(Bytes& rom, const CharTable& table, const std::vector<std::string>& texts,
                         RomOffset areaEnd)
{
    using Code = TextPackResult::Code;
    if (texts.size() != static_cast<std::size_t>(kTextCount)) {
        return refuse(Code::BadData, "The game has " + std::to_string(kTextCount) + " texts, not "
                                         + std::to_string(texts.size()) + ".");
    }
    if (rom.size() < static_cast<std::size_t>(kTextBankEnd))
        return refuse(Code::BadData, "The image is too small to hold the texts.");
    if (areaEnd < kTextAreaStart || areaEnd > kTextBankEnd) {
        return refuse(Code::BadData, "The end of the text area $" + hexPad(areaEnd, 5)
                                         + " lies outside bank 5.");
    }

    const CharIndex index(table);
    std::vector<Bytes> encoded;
    encoded.reserve(texts.size());
    RomOffset size = 0;
    for (int n = 0; n < kTextCount; ++n) {
        EncodedText e = encodeText(index, texts[static_cast<std::size_t>(n)]);
        if (!e.ok)
            return refuse(Code::EncodeFailed, textName(n) + " cannot be encoded: " + e.error + ".", n);
        size += static_cast<RomOffset>(e.bytes.size());
        encoded.push_back(std::move(e.bytes));
    }
    // Any other text may run on into the next one, as the game reads it; the last one would run
    // on into the filler and whatever lies behind the texts.
    if (!hasEndCode(encoded.back())) {
        const int last = kTextCount - 1;
        const std::string& form = table[kTextEnd];
        return refuse(Code::EncodeFailed,
                      textName(last) + " cannot be encoded: the last text needs its end code"
                          + (form.empty() ? "" : " \"" + form + "\"") + ".",
                      last);
    }
    const RomOffset space = areaEnd - kTextAreaStart;
    if (size > space) {
        const RomOffset missing = size - space;
        return refuse(Code::NoSpace, "The texts need " + std::to_string(missing)
                                         + (missing == 1 ? " byte" : " bytes")
                                         + " more than the space they had.");
    }

    RomWriter writer(rom);
    CpuAddress address = kTextAreaCpu;
    for (int n = 0; n < kTextCount; ++n) {
        writeText(writer, n, address, encoded[static_cast<std::size_t>(n)]);
        address += static_cast<CpuAddress>(encoded[static_cast<std::size_t>(n)].size());
    }
    const RomOffset packedEnd = kTextAreaStart + size;
    writer.fill(packedEnd, static_cast<std::size_t>(areaEnd - packedEnd), kFiller);
    const RomStatus status = writer.commit();
    if (!status.ok())
        return refuse(Code::BadData, status.message());
    return {};
}

}  // namespace velmar
