#include "cli_support.h"

#include <algorithm>
#include <limits>

#include "editor/session.h"
#include "rom/address_map.h"
#include "rom/hex.h"

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

std::optional<RomImage> readRomArg(const std::string& path, Io& io)
{
    RomImage image;
    const RomReadResult result = readRomFile(pathFromUtf8(path), image);
    if (result != RomReadResult::Ok) {
        failed(io, romReadMessage(result));
        return std::nullopt;
    }
    return image;
}

bool writeRomInPlace(const std::string& path, const RomImage& image, Io& io)
{
    if (writeRomFile(pathFromUtf8(path), image) != 0) {
        failed(io, "Unknown I/O error!");
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
    if (!loadCharTable(pathFromUtf8(*inv.table), table)) {
        failed(io, "Error loading \"" + *inv.table + "\"!");
        return std::nullopt;
    }
    return table;
}

bool openSceneArg(const std::string& romPath, std::string_view keyText, const Invocation& inv, Io& io,
                  EditorState& state, int& exitCode)
{
    const std::optional<SceneKey> key = sceneKeyArg(keyText);
    if (!key) {
        exitCode = usageError(inv, io, "bad scene key \"" + std::string(keyText) + "\"");
        return false;
    }
    std::optional<RomImage> image = readRomArg(romPath, io);
    if (!image) {
        exitCode = kExitFailed;
        return false;
    }
    state.rom = std::move(*image);
    if (const RomStatus status = selectScene(state, key->stage, key->scene); !status.ok()) {
        exitCode = failed(io, status.message());
        return false;
    }
    return true;
}

int hexArg(std::string_view text)
{
    const std::uint32_t value = parseHexPrefix(text);
    return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace velmar::cli
