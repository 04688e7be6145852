// set-property: one property of a scene or its stage, by its name in the core's table of
// properties, as the properties panel sets it.
#include "commands.h"
#include "editor/edits.h"

namespace velmar::cli {

int runSetProperty(const Invocation& inv, Io& io)
{
    const ScenePropertyRow* row = scenePropertyByCliName(inv.positional[2]);
    if (!row) {
        std::string names;
        for (const ScenePropertyRow& r : scenePropertyRows())
            names += (names.empty() ? "" : ", ") + std::string(r.cliName);
        return usageError(inv, io, "NAME is one of " + names);
    }
    Document doc;
    int exitCode = kExitOk;
    std::uint8_t value = 0;
    if (!byteArgs(inv, io, 3, &value, 1, exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    return finishEdit(edits::setSceneProperty(doc, row->property, value), doc, io);
}

}  // namespace velmar::cli
