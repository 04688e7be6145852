#include "text/text_packer.h"

#include <algorithm>

#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/rom_access.h"
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
RomOffset structuralEnd(const RomReader& reader, RomOffset start, RomOffset limit)
{
    RomOffset at = start;
    while (at < limit) {
        const std::uint8_t c = reader.peek(at++).value_or(kTextEnd);
        if (c == kTextEnd)
            return at;
        if (takesParameter(c))
            ++at;
    }
    return limit;
}

TextPackOutcome refuse(TextPackResult code, std::string message, int failedText = -1)
{
    TextPackOutcome result;
    result.code = code;
    result.reason = std::move(message);
    result.failedText = failedText;
    return result;
}

std::string textName(int n) { return "Text " + hexPad(n, 2); }

// Whether `count` texts can be packed into this image up to `areaEnd` at all.
TextPackOutcome checkTextArea(const Bytes& rom, std::size_t count, RomOffset areaEnd)
{
    using Code = TextPackResult;
    if (count != static_cast<std::size_t>(kTextCount)) {
        return refuse(Code::BadData,
                      "The game has " + std::to_string(kTextCount) + " texts, not " + std::to_string(count) + ".");
    }
    if (rom.size() < static_cast<std::size_t>(kTextBankEnd))
        return refuse(Code::BadData, "The image is too small to hold the texts.");
    if (areaEnd < kTextAreaStart || areaEnd > kTextBankEnd) {
        return refuse(Code::BadData, "The end of the text area $" + hexPad(areaEnd, 5) + " lies outside bank 5.");
    }
    return {};
}

// The first text of `encoded` that lacks its end code against `rule`, refused; or Ok.
TextPackOutcome checkEndCodes(const std::vector<Bytes>& encoded, EndCode rule, const std::string& endForm)
{
    for (std::size_t n = 0; n < encoded.size(); ++n) {
        const int number = static_cast<int>(n);
        if (std::string problem = endCodeProblem(number, encoded[n], rule, endForm); !problem.empty())
            return refuse(TextPackResult::NoEndCode, std::move(problem), number);
    }
    return {};
}

}  // namespace

std::string endCodeProblem(int n, const Bytes& encoded, EndCode rule, const std::string& endForm)
{
    const bool last = n == kTextCount - 1;
    if (hasEndCode(encoded) || (rule == EndCode::MayBeMissing && !last))
        return {};
    const std::string named = textName(n) + " has no end code" + (endForm.empty() ? "" : " \"" + endForm + "\"");
    if (last)
        return named + ": the last text needs one, or the game would read on past the texts.";
    return named + ", so the game would read on into text " + hexPad(n + 1, 2) + "; end it with "
        + (endForm.empty() ? std::string("the end code") : "\"" + endForm + "\"") + " or allow texts without one.";
}

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

RomOffset textAreaEnd(const Bytes& rom)
{
    const RomReader reader(rom);
    const RomOffset limit = std::min<RomOffset>(kTextBankEnd, static_cast<RomOffset>(rom.size()));
    RomOffset end = kTextAreaStart;
    for (int n = 0; n < kTextCount; ++n) {
        const auto pointer = readPointer(rom, kTextPointers + 2 * n, false, 0x3FFF, kTextBase);
        if (!pointer || *pointer < 0x8000 || *pointer >= 0xC000)
            continue;
        const RomOffset start = bankOffset(*pointer, kTextBank);
        if (start < kTextAreaStart || start >= limit)
            continue;
        end = std::max(end, structuralEnd(reader, start, limit));
    }
    while (end < limit && reader.peek(end) == kFiller)
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

TextPackOutcome packTexts(Bytes& rom, const CharTable& table, const std::vector<std::string>& texts, RomOffset areaEnd,
                          EndCode endCode)
{
    if (TextPackOutcome refused = checkTextArea(rom, texts.size(), areaEnd); !refused.ok())
        return refused;

    const CharIndex index(table);
    std::vector<Bytes> encoded;
    encoded.reserve(texts.size());
    for (int n = 0; n < kTextCount; ++n) {
        const std::string& text = texts[static_cast<std::size_t>(n)];
        if (const DecodedText stored = decodeText(rom, table, n); stored.status.ok() && stored.text == text) {
            encoded.emplace_back(rom.begin() + stored.start, rom.begin() + stored.end);
            continue;
        }
        EncodedText e = encodeText(index, text);
        if (!e.ok)
            return refuse(TextPackResult::EncodeFailed, textName(n) + " cannot be encoded: " + e.error + ".", n);
        encoded.push_back(std::move(e.bytes));
    }
    // Checked here rather than by packEncodedTexts, to show the end code as the table writes it.
    if (TextPackOutcome refused = checkEndCodes(encoded, endCode, table[kTextEnd]); !refused.ok())
        return refused;
    return packEncodedTexts(rom, encoded, areaEnd, endCode);
}

TextPackOutcome packEncodedTexts(Bytes& rom, const std::vector<Bytes>& encoded, RomOffset areaEnd, EndCode endCode)
{
    if (TextPackOutcome refused = checkTextArea(rom, encoded.size(), areaEnd); !refused.ok())
        return refused;
    if (TextPackOutcome refused = checkEndCodes(encoded, endCode, {}); !refused.ok())
        return refused;

    RomOffset size = 0;
    for (const Bytes& bytes : encoded)
        size += static_cast<RomOffset>(bytes.size());
    const RomOffset space = areaEnd - kTextAreaStart;
    if (size > space) {
        const RomOffset missing = size - space;
        return refuse(TextPackResult::NoSpace,
                      "The texts need " + std::to_string(missing) + (missing == 1 ? " byte" : " bytes")
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
        return refuse(TextPackResult::BadData, status.message());
    return {};
}

}  // namespace velmar
