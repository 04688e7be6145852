// The commands that change one scene's actors: each is one edit of the same kind the main window
// makes, and rewrites the image only when a byte changed.
#include <array>

#include "commands.h"
#include "editor/edits.h"
#include "base/hex.h"

namespace velmar::cli {

int runSetEnemy(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 4> v{};  // N, B, XY, ID
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    if (v[0] >= doc.currentScene().enemies.size())
        return failed(io, "The scene has no enemy " + hexPad(v[0], 2) + ".");
    return finishEdit(edits::setEnemy(doc, v[0], {v[1], v[2], v[3]}, "Edit Enemy"), doc, io);
}

int runSetItem(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 4> v{};  // N, X, Y, ID
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    if (v[0] >= doc.currentScene().items.size())
        return failed(io, "The scene has no item " + hexPad(v[0], 2) + ".");
    if (v[3] > 0x0F)
        return failed(io, "An item type is 0 to F.");
    if (v[2] & 0x0F)
        return failed(io, "An item's Y is a row: 00, 10 .. F0.");
    return finishEdit(edits::setItem(doc, v[0], {v[1], v[2], v[3]}, "Edit Item"), doc, io);
}

namespace {

// Added: the file is rewritten and the new actor's number printed (the list is kept in order,
// so it may stand before others). Refused: the reason.
int finishAdd(const Outcome<EditResult>& result, const char* kind, std::size_t at, Document& doc, Io& io)
{
    if (!result.ok())
        return failed(io, result.reason);
    if (!saveRomArg(doc, io))
        return kExitFailed;
    io.out << kind << ' ' << hexPad(static_cast<std::int64_t>(at), 2) << " added.\n";
    return kExitOk;
}

int runDelete(const Invocation& inv, Io& io, ActorKind kind)
{
    Document doc;
    int exitCode = kExitOk;
    std::uint8_t n = 0;
    if (!byteArgs(inv, io, 2, &n, 1, exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    const char* name = kind == ActorKind::Enemy ? "Enemy" : "Item";
    if (n >= actorCount(doc.currentScene(), kind))
        return failed(io,
                      std::string("The scene has no ") + (kind == ActorKind::Enemy ? "enemy " : "item ") + hexPad(n, 2)
                          + ".");
    if (const Outcome<EditResult> r = edits::deleteActor(doc, kind, n); !r.ok())
        return failed(io, r.reason);
    if (!saveRomArg(doc, io))
        return kExitFailed;
    io.out << name << ' ' << hexPad(n, 2) << " deleted.\n";
    return kExitOk;
}

}  // namespace

int runAddEnemy(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 3> v{};  // B, XY, ID
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    std::size_t at = 0;
    const Outcome<EditResult> r = edits::addActor(doc, EnemyRecord{v[0], v[1], v[2]}, &at);
    return finishAdd(r, "Enemy", at, doc, io);
}

int runAddItem(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 3> v{};  // X, Y, ID
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    if (v[2] > 0x0F)
        return failed(io, "An item type is 0 to F.");
    if (v[1] & 0x0F)
        return failed(io, "An item's Y is a row: 00, 10 .. F0.");
    std::size_t at = 0;
    const Outcome<EditResult> r = edits::addActor(doc, ItemRecord{v[0], v[1], v[2]}, &at);
    return finishAdd(r, "Item", at, doc, io);
}

int runDeleteEnemy(const Invocation& inv, Io& io) { return runDelete(inv, io, ActorKind::Enemy); }

int runDeleteItem(const Invocation& inv, Io& io) { return runDelete(inv, io, ActorKind::Item); }

int runSetStart(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    std::array<std::uint8_t, 2> v{};
    if (!byteArgs(inv, io, 2, v.data(), v.size(), exitCode)
        || !openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    return finishEdit(edits::moveStart(doc, v[0], v[1]), doc, io);
}

}  // namespace velmar::cli
