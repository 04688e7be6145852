#include "text/text_codec.h"

#include "rom/address_map.h"
#include "base/hex.h"
#include "base/utf8.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kTextBase = bankStart(kTextBank);
constexpr RomOffset kTextBankEnd = kTextBase + kBankSize;  // 0x18000

std::string textName(int n) { return "Text " + hexPad(n, 2); }

EncodedText encodeFailure(std::string_view text, std::size_t pos, std::string error)
{
    EncodedText result;
    result.position = static_cast<int>(utf8::charCount(text.substr(0, pos))) + 1;
    result.error = std::move(error) + " (character " + std::to_string(result.position) + ")";
    return result;
}

}  // namespace

CharIndex::CharIndex(const CharTable& table)
{
    ascii_.fill(-1);
    asciiControl_.fill(-1);
    for (int c = 0xFF; c >= 0; --c) {  // from the top, so that the lowest code is kept
        const std::string& form = table[static_cast<std::size_t>(c)];
        if (form.empty())
            continue;
        if (form.size() == 1 && static_cast<unsigned char>(form[0]) < 0x80) {
            ascii_[static_cast<unsigned char>(form[0])] = static_cast<std::int16_t>(c);
            if (c >= 0xF0)
                asciiControl_[static_cast<unsigned char>(form[0])] = static_cast<std::int16_t>(c);
        }
        forms_[form] = c;
        if (c >= 0xF0)
            controlForms_[form] = c;
    }
}

int CharIndex::find(std::string_view form, bool preferControl) const
{
    if (form.size() == 1 && static_cast<unsigned char>(form[0]) < 0x80) {
        const auto i = static_cast<unsigned char>(form[0]);
        return preferControl && asciiControl_[i] >= 0 ? asciiControl_[i] : ascii_[i];
    }
    if (preferControl) {
        if (const auto it = controlForms_.find(form); it != controlForms_.end())
            return it->second;
    }
    const auto it = forms_.find(form);
    return it == forms_.end() ? -1 : it->second;
}

bool takesParameter(std::uint8_t code) { return code == 0xF9 || code == 0xFD || code == 0xFE; }

DecodedText decodeText(const Bytes& rom, const CharTable& table, int n)
{
    DecodedText result;
    if (n < 0 || n >= kTextCount) {
        result.status = RomStatus::badData(kTextPointers, "There is no text " + hexText(n));
        return result;
    }
    RomReader reader(rom);
    const RomOffset entry = kTextPointers + 2 * n;
    const std::uint16_t pointer = reader.word(entry);
    if (!reader.ok()) {
        result.status = reader.status();
        return result;
    }
    // Texts live in bank 5, which the CPU sees at 0x8000-0xBFFF; an address below that window or
    // in the fixed bank above it cannot lead to one.
    if (pointer < 0x8000 || pointer >= 0xC000) {
        result.status = RomStatus::badPointer(entry, pointer);
        return result;
    }
    result.start = bankOffset(pointer, kTextBank);

    RomOffset at = result.start;
    for (;;) {
        if (at >= kTextBankEnd) {
            result.status = RomStatus::badData(result.start, textName(n) + " has no end code before the end of bank 5");
            return result;
        }
        const std::uint8_t c = reader.byte(at);
        if (!reader.ok()) {
            result.status = reader.status();
            return result;
        }
        const std::string& form = table[c];
        if (form.empty()) {
            result.status =
                RomStatus::badData(at, textName(n) + " holds byte " + hexPad(c, 2) + ", which has no character");
            return result;
        }
        result.text += form;
        ++at;
        if (c == kTextEnd)
            break;
        // A parameter byte cut off by the end of the bank is reported as a missing end code.
        if (takesParameter(c) && at < kTextBankEnd) {
            result.text += hexPad(reader.byte(at), 2);
            ++at;
        }
    }
    if (!reader.ok()) {
        result.status = reader.status();
        return result;
    }
    result.end = at;
    return result;
}

EncodedText encodeText(const CharTable& table, std::string_view text) { return encodeText(CharIndex(table), text); }

EncodedText encodeText(const CharIndex& index, std::string_view text)
{
    EncodedText result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = utf8::charLength(text, pos);
        const bool sequence = text[pos] == '\\';
        if (sequence) {
            // A backslash and the character after it; "\$" takes two more ("\$F9").
            const std::size_t next = utf8::charLength(text, pos + length);
            if (next == 0)
                return encodeFailure(text, pos, "the text ends in a lone \"\\\"");
            length += next;
            if (text[pos + 1] == '$') {
                for (int k = 0; k < 2; ++k)
                    length += utf8::charLength(text, pos + length);
            }
        }
        const std::string_view form = text.substr(pos, length);
        const int code = index.find(form, sequence);
        if (code < 0)
            return encodeFailure(text, pos, "no code for \"" + std::string(form) + "\"");
        pos += length;
        result.bytes.push_back(static_cast<std::uint8_t>(code));

        if (takesParameter(static_cast<std::uint8_t>(code))) {
            const int high = pos < text.size() ? hexDigitValue(text[pos]) : -1;
            const int low = pos + 1 < text.size() ? hexDigitValue(text[pos + 1]) : -1;
            if (high < 0 || low < 0)
                return encodeFailure(text, pos - length,
                                     "\"" + std::string(form) + "\" must be followed by two hexadecimal digits");
            result.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
            pos += 2;
        }
    }
    result.ok = true;
    return result;
}

void writeText(RomWriter& writer, int n, CpuAddress address, const Bytes& bytes)
{
    writer.word(kTextPointers + 2 * n, static_cast<std::uint16_t>(address));
    writer.bytes(bankOffset(address, kTextBank), bytes);
}

}  // namespace velmar
