#include "cli_support.h"

#include <algorithm>
#include <limits>

#include "rom/address_map.h"
#include "base/hex.h"

namespace velmar::cli {

int usageError(const Invocation& inv, Io& io, std::string_view reason)
{
    io.err << "velmar-cli: " << reason << "\nusage: velmar-cli " << inv.usage << '\n';
    return kExitUsage;
}

int failed(Io& io, std::string_view message)
{
    io.err << message << '\n';
    return kExitFailed;
}

std::optional<SceneKey> sceneKeyArg(std::string_view text)
{
    const std::optional<SceneKey> key = parseSceneKey(text);
    if (!key || key->stage >= rommap::kStageCount || key->scene >= rommap::kSceneCount)
        return std::nullopt;
    return key;
}

bool openRomArg(const std::string& path, Document& doc, Io& io)
{
    const Outcome<RomReadResult> result = doc.open(path, false, {});
    if (!result.ok()) {
        failed(io, fileMessage(romReadMessage(result.code), path, result.reason));
        return false;
    }
    // A header that disagrees with the game's layout is often junk of an old dump: say so, go on.
    for (const std::string& warning : headerWarnings(doc.rom()))
        io.err << "velmar-cli: warning: " << path << ": " << warning << '\n';
    return true;
}

bool saveRomArg(Document& doc, Io& io)
{
    const Outcome<SaveResult> result = doc.save(false);
    if (!result.ok()) {
        failed(io, fileMessage("Unknown I/O error!", doc.path(), result.reason));
        return false;
    }
    return true;
}

std::optional<CharTable> charTableArg(const Invocation& inv, Io& io)
{
    CharTable table;
    if (!inv.table) {
        applyDefaultCharTable(table);
        return table;
    }
    if (const std::string reason = loadCharTable(pathFromUtf8(*inv.table), table); !reason.empty()) {
        failed(io, "Error loading \"" + *inv.table + "\"!\n" + *inv.table + ": " + reason);
        return std::nullopt;
    }
    return table;
}

bool openSceneArg(const std::string& romPath, std::string_view keyText, const Invocation& inv, Io& io, Document& doc,
                  int& exitCode)
{
    const std::optional<SceneKey> key = sceneKeyArg(keyText);
    if (!key) {
        exitCode = usageError(inv, io, "bad scene key \"" + std::string(keyText) + "\"");
        return false;
    }
    if (!openRomArg(romPath, doc, io)) {
        exitCode = kExitFailed;
        return false;
    }
    if (const RomStatus status = doc.selectScene(*key); !status.ok()) {
        exitCode = failed(io, status.message());
        return false;
    }
    return true;
}

bool byteArgs(const Invocation& inv, Io& io, std::size_t first, std::uint8_t* out, std::size_t count, int& exitCode)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& text = inv.positional[first + i];
        // "twelve", "-1", "0x5" and "100" are not bytes.
        const HexByte typed = readHexByte(text, "A value");
        if (!typed.ok()) {
            exitCode = usageError(inv, io, "\"" + text + "\" is not a hexadecimal byte (00 to FF)");
            return false;
        }
        out[i] = typed.value;
    }
    return true;
}

int finishEdit(const Outcome<EditResult>& result, Document& doc, Io& io)
{
    if (result.code == EditResult::NoChange)
        return kExitOk;
    if (!result.ok())
        return failed(io, result.reason.empty() ? "The value was refused." : result.reason);
    return saveRomArg(doc, io) ? kExitOk : kExitFailed;
}

std::optional<int> hexArg(std::string_view text)
{
    if (text.empty() || text.size() > 8 || !isHexDigits(text, text.size()))
        return std::nullopt;
    const std::uint32_t value = parseHexPrefix(text);
    return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace velmar::cli
