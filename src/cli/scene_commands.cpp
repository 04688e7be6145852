#include "commands.h"
#include "editor/edits.h"
#include "json_output.h"
#include "sample/sample_rom.h"

namespace velmar::cli {

int runSample(const Invocation& inv, Io& io)
{
    if (const Outcome<WriteResult> r =
            writeFileSafely(pathFromUtf8(inv.positional[0]), buildSampleRom().fileBytes(), false, FileOwner::User);
        !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", inv.positional[0], r.reason));
    return kExitOk;
}

int runScenes(const Invocation& inv, Io& io)
{
    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    printJson(io.out, sceneCatalogueJson());
    return kExitOk;
}

int runScene(const Invocation& inv, Io& io)
{
    const std::optional<SceneKey> key = sceneKeyArg(inv.positional[1]);
    if (!key)
        return usageError(inv, io, "bad scene key \"" + inv.positional[1] + "\"");
    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    if (const RomStatus status = doc.selectScene(*key); !status.ok())
        return failed(io, status.message());
    printJson(io.out, sceneJson(doc.currentScene()));
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

    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    // Select every scene in turn and store it unedited.
    for (const SceneKey& key : keys) {
        if (const RomStatus status = doc.selectScene(key); !status.ok())
            return failed(io, status.message());
        if (const Outcome<EditResult> stored = edits::storeScene(doc); stored.code == EditResult::Failed)
            return failed(io, stored.reason);
    }
    const std::string& out = inv.positional[1];
    if (const Outcome<WriteResult> r =
            writeFileSafely(pathFromUtf8(out), doc.rom().fileBytes(), false, FileOwner::User);
        !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", out, r.reason));
    return kExitOk;
}

}  // namespace velmar::cli
