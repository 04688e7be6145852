#include "commands.h"
#include "gfx/pattern_tiles.h"
#include "json_output.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"

namespace velmar::cli {

namespace {

// What the editor holds for the scene on screen.
struct OpenScene {
    SceneRecord scene;
    PixelArray sprPatterns;
    PixelArray bkgPatterns;
    MetatileTables tables;
};

// The load half of a scene switch: the record, its two pattern banks and its metatile tables.
RomStatus openScene(const Bytes& rom, const SceneKey& key, OpenScene& open)
{
    RomStatus status = loadScene(rom, key.stage, key.scene, open.scene);
    if (status.ok())
        status = loadChrBank(rom, open.sprPatterns, open.scene.sprBank);
    if (status.ok())
        status = loadChrBank(rom, open.bkgPatterns, open.scene.bkgBank);
    if (status.ok())
        status = loadMetatileTables(rom, open.scene, open.tables);
    return status;
}

// The store half: the record, then the sprite bank, then the background bank.
RomStatus closeScene(Bytes& rom, OpenScene& open)
{
    RomStatus status = storeScene(rom, open.scene);
    if (status.ok())
        status = saveChrBank(rom, open.sprPatterns, open.scene.sprBank);
    if (status.ok())
        status = saveChrBank(rom, open.bkgPatterns, open.scene.bkgBank);
    return status;
}

}  // namespace

int runSample(const Invocation& inv, Io& io)
{
    if (!writeFileSafely(pathFromUtf8(inv.positional[0]), buildSampleRom().fileBytes(), false))
        return failed(io, "Unknown I/O error!");
    return kExitOk;
}

int runScenes(const Invocation& inv, Io& io)
{
    if (!readRomArg(inv.positional[0], io))
        return kExitFailed;
    printJson(io.out, sceneCatalogueJson());
    return kExitOk;
}

int runScene(const Invocation& inv, Io& io)
{
    const std::optional<SceneKey> key = sceneKeyArg(inv.positional[1]);
    if (!key)
        return usageError(inv, io, "bad scene key \"" + inv.positional[1] + "\"");
    const std::optional<RomImage> image = readRomArg(inv.positional[0], io);
    if (!image)
        return kExitFailed;
    SceneRecord scene;
    const RomStatus status = loadScene(image->romData, key->stage, key->scene, scene);
    if (!status.ok())
        return failed(io, status.message());
    printJson(io.out, sceneJson(scene));
    return kExitOk;
}

int runRoundtrip(const Invocation& inv, Io& io)
{
    std::vector<SceneKey> keys;
    for (std::size_t i = 2; i < inv.positional.size(); ++i) {
        const std::optional<SceneKey> key = sceneKeyArg(inv.positional[i]);
        if (!key)
            return usageError(inv, io, "bad scene key \"" + inv.positional[i] + "\"");
        keys.push_back(*key);
    }
    if (keys.empty()) {
        for (const AreaNode& node : areaCatalogue()) {
            if (const std::optional<SceneKey> key = parseSceneKey(node.key))
                keys.push_back(*key);
        }
    }

    std::optional<RomImage> image = readRomArg(inv.positional[0], io);
    if (!image)
        return kExitFailed;
    for (const SceneKey& key : keys) {
        OpenScene open;
        RomStatus status = openScene(image->romData, key, open);
        if (status.ok())
            status = closeScene(image->romData, open);
        if (!status.ok())
            return failed(io, status.message());
    }
    if (!writeFileSafely(pathFromUtf8(inv.positional[1]), image->fileBytes(), false))
        return failed(io, "Unknown I/O error!");
    return kExitOk;
}

}  // namespace velmar::cli
