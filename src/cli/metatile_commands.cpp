// The commands that change a scene's subtiles and metatiles, as the background editor does: each
// is one edit, and rewrites the image only when a byte changed. The tables belong to the scene's
// tileset, so every scene of that tileset sees the change.
#include <array>

#include "commands.h"
#include "editor/edits.h"

namespace velmar::cli {

namespace {

// ROM KEY N QUARTER VALUE: the scene opened, and N, QUARTER and VALUE read as bytes. The quarter
// (0 top left, 1 bottom left, 2 top right, 3 bottom right) and the value's range are the edit's
// to refuse.
int runQuarterEdit(const Invocation& inv, Io& io,
                   Outcome<EditResult> (*edit)(Document&, std::uint8_t, int, std::uint8_t))
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 3> v{};  // N, QUARTER, VALUE
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    return finishEdit(edit(doc, v[0], v[1], v[2]), doc, io);
}

}  // namespace

int runSetSubtile(const Invocation& inv, Io& io) { return runQuarterEdit(inv, io, edits::setSubtileTile); }

int runSetMetatile(const Invocation& inv, Io& io) { return runQuarterEdit(inv, io, edits::setMetatileSubtile); }

int runSetAttribute(const Invocation& inv, Io& io)
{
    return runQuarterEdit(inv, io, [](Document& doc, std::uint8_t metatile, int quarter, std::uint8_t palette) {
        return edits::setAttributePalette(doc, metatile, quarter, palette);
    });
}

}  // namespace velmar::cli
