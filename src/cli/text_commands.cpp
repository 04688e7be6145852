#include <algorithm>

#include "commands.h"
#include "editor/edits.h"
#include "json_output.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar::cli {

namespace {

std::string decodeFailure(const TextList& list)
{
    return "Text " + hexPad(list.failedText, 2) + " cannot be decoded: " + list.status.message();
}

// A text number as the user counts them: decimal 0..112.
std::optional<int> textNumberArg(std::string_view text)
{
    if (text.empty() || text.size() > 3
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int n = std::stoi(std::string(text));
    if (n >= rommap::kTextCount)
        return std::nullopt;
    return n;
}

}  // namespace

int runTexts(const Invocation& inv, Io& io)
{
    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    const std::optional<CharTable> table = charTableArg(inv, io);
    if (!table)
        return kExitFailed;
    const TextList list = decodeAllTexts(doc.romData(), *table);
    if (!list.status.ok())
        return failed(io, decodeFailure(list));
    printJson(io.out, textsJson(list.texts));
    return kExitOk;
}

int runSetText(const Invocation& inv, Io& io)
{
    const std::optional<int> n = textNumberArg(inv.positional[1]);
    if (!n)
        return usageError(inv, io, "N must be a text number from 0 to 112");
    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    const std::optional<CharTable> table = charTableArg(inv, io);
    if (!table)
        return kExitFailed;
    const std::string& text = inv.positional[2];
    const EndCode endCode = inv.allowNoEnd ? EndCode::MayBeMissing : EndCode::Required;
    const TextPackOutcome packed = edits::setText(doc, *table, *n, text, endCode);
    if (packed.code == TextPackResult::NoEndCode && *n + 1 < rommap::kTextCount)
        return failed(io,
                      "Text " + std::to_string(*n) + " has no end code, so the game would read on into text "
                          + std::to_string(*n + 1) + ". End it with \"" + (*table)[kTextEnd]
                          + "\", or give --allow-no-end to store it so.");
    if (!packed.ok()) {
        // The program names texts in hexadecimal; here the user gave the number in decimal.
        std::string reason = packed.reason;
        const std::string named = "Text " + hexPad(packed.failedText, 2);
        if (packed.failedText >= 0 && reason.starts_with(named))
            reason.replace(0, named.size(), "Text " + std::to_string(packed.failedText));
        return failed(io, reason);
    }
    // Allowed, but worth a word: the game reads on into the text stored after this one.
    if (const EncodedText e = encodeText(*table, text); e.ok && !hasEndCode(e.bytes))
        io.err << "velmar-cli: warning: text " << *n << " has no end code: the game reads on into text " << *n + 1
               << '\n';
    return saveRomArg(doc, io) ? kExitOk : kExitFailed;
}

}  // namespace velmar::cli
