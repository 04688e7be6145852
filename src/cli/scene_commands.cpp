#include "commands.h"
#include "editor/session.h"
#include "json_output.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"

namespace velmar::cli {

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
    // Select every scene in turn, as the tree does: each is stored when the next one is chosen,
    // and the last one as saving stores it.
    EditorState state;
    state.rom = std::move(*image);
    for (const SceneKey& key : keys) {
        const RomStatus status = selectScene(state, key.stage, key.scene);
        if (!status.ok())
            return failed(io, status.message());
    }
    if (const RomStatus status = storeCurrentScene(state); !status.ok())
        return failed(io, status.message());
    if (!writeFileSafely(pathFromUtf8(inv.positional[1]), state.rom.fileBytes(), false))
        return failed(io, "Unknown I/O error!");
    return kExitOk;
}

}  // namespace velmar::cli
