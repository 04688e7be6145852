#include "commands.h"
#include "editor/edits.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"

namespace velmar::cli {

namespace {

// Reads the number argument, then opens the image and selects the scene of the key; on failure
// `exitCode` says why.
bool openTarget(const Invocation& inv, Io& io, Document& doc, const char* name, int& value, int& exitCode)
{
    const std::optional<int> v = hexArg(inv.positional[2]);
    if (!v) {
        exitCode = usageError(inv, io, std::string(name) + " must be hexadecimal, not \"" + inv.positional[2] + "\"");
        return false;
    }
    value = *v;
    return openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode);
}

// Unchanged: nothing is written or shown. Changed: the file is rewritten and the message shown.
// Anything else: the message is the failure.
int finishResize(const Outcome<ResizeResult>& result, const std::string& message, Document& doc, Io& io)
{
    if (result.code == ResizeResult::Unchanged)
        return kExitOk;
    if (!result.ok())
        return failed(io, message);
    if (!saveRomArg(doc, io))
        return kExitFailed;
    io.out << message << '\n';
    return kExitOk;
}

}  // namespace

int runResizeMap(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    int value = 0;
    if (!openTarget(inv, io, doc, "LENGTH", value, exitCode))
        return exitCode;
    const Outcome<ResizeResult> result = edits::resizeMap(doc, value, !inv.left, inv.pastEnd);
    if (result.code == ResizeResult::ActorsPastEnd)
        return failed(io,
                      result.reason
                          + "\nNothing was changed: give --past-end drop to remove them with the shrink, "
                            "or --past-end keep to keep them past the end.");
    return finishResize(result, resizeMapMessage(result), doc, io);
}

int runResizeItems(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    int value = 0;
    if (!openTarget(inv, io, doc, "COUNT", value, exitCode))
        return exitCode;
    const Outcome<ResizeResult> result = edits::resizeItems(doc, value);
    return finishResize(result, resizeItemsMessage(result), doc, io);
}

int runResizeEnemies(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    int value = 0;
    if (!openTarget(inv, io, doc, "COUNT", value, exitCode))
        return exitCode;
    const Outcome<ResizeResult> result = edits::resizeEnemies(doc, value);
    return finishResize(result, resizeEnemiesMessage(result), doc, io);
}

}  // namespace velmar::cli
