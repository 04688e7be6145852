#include "commands.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "rom/scene_codec.h"

namespace velmar::cli {

namespace {

// The image and the decoded scene a resize works on.
struct ResizeTarget {
    RomImage image;
    SceneRecord scene;
    RomOffset actorEnd = 0;
};

// Checks the key, reads the image and decodes the scene. On failure `exitCode` says why.
std::optional<ResizeTarget> openTarget(const Invocation& inv, Io& io, int& exitCode)
{
    const std::optional<SceneKey> key = sceneKeyArg(inv.positional[1]);
    if (!key) {
        exitCode = usageError(inv, io, "bad scene key \"" + inv.positional[1] + "\"");
        return std::nullopt;
    }
    std::optional<RomImage> image = readRomArg(inv.positional[0], io);
    if (!image) {
        exitCode = kExitFailed;
        return std::nullopt;
    }
    ResizeTarget target{std::move(*image), {}, 0};
    // The actor area is measured on the file as it was read, before anything moves.
    target.actorEnd = actorAreaEnd(target.image.romData);
    const RomStatus status = loadScene(target.image.romData, key->stage, key->scene, target.scene);
    if (!status.ok()) {
        exitCode = failed(io, status.message());
        return std::nullopt;
    }
    return target;
}

// Unchanged: nothing is written or shown. Changed: the file is rewritten and the message shown.
// Anything else: the message is the failure.
int finishResize(ResizeResult result, const std::string& message, const Invocation& inv,
                 const ResizeTarget& target, Io& io)
{
    if (result == ResizeResult::Unchanged)
        return kExitOk;
    if (result != ResizeResult::Changed)
        return failed(io, message);
    if (!writeRomInPlace(inv.positional[0], target.image, io))
        return kExitFailed;
    io.out << message << '\n';
    return kExitOk;
}

}  // namespace

int runResizeMap(const Invocation& inv, Io& io)
{
    int exitCode = kExitOk;
    std::optional<ResizeTarget> target = openTarget(inv, io, exitCode);
    if (!target)
        return exitCode;
    RomStatus fault;
    const ResizeResult result = resizeMap(target->image.romData, target->scene,
                                          hexArg(inv.positional[2]), !inv.left, &fault);
    return finishResize(result, resizeMapMessage(result, fault), inv, *target, io);
}

int runResizeItems(const Invocation& inv, Io& io)
{
    int exitCode = kExitOk;
    std::optional<ResizeTarget> target = openTarget(inv, io, exitCode);
    if (!target)
        return exitCode;
    RomStatus fault;
    const ResizeResult result = resizeItems(target->image.romData, target->scene,
                                            hexArg(inv.positional[2]), target->actorEnd, &fault);
    return finishResize(result, resizeItemsMessage(result, fault), inv, *target, io);
}

int runResizeEnemies(const Invocation& inv, Io& io)
{
    int exitCode = kExitOk;
    std::optional<ResizeTarget> target = openTarget(inv, io, exitCode);
    if (!target)
        return exitCode;
    RomStatus fault;
    const ResizeResult result = resizeEnemies(target->image.romData, target->scene,
                                              hexArg(inv.positional[2]), target->actorEnd, &fault);
    return finishResize(result, resizeEnemiesMessage(result, fault), inv, *target, io);
}

}  // namespace velmar::cli
