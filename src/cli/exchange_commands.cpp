#include "commands.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "base/file_reader.h"
#include "base/file_writer.h"

// Scenes out to files and back: scene files (JSON) and Tiled maps.
namespace velmar::cli {

namespace {

using Import = Outcome<SceneImportResult> (*)(Document&, std::string_view, SharedValues);

// Imports the file into the scene of the key and writes the image in place. A file that holds
// what the scene holds writes nothing.
int importInPlace(const Invocation& inv, Io& io, Import import)
{
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    const std::string& path = inv.positional[2];
    Bytes file;
    const std::string reason = readWholeFile(pathFromUtf8(path), file, kMaxSceneFileBytes, "The file is too large");
    if (!reason.empty())
        return failed(io, fileMessage("Error loading file!", path, reason));
    const Outcome<SceneImportResult> r =
        import(doc, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), inv.shared);
    if (r.code == SceneImportResult::NoChange)
        return kExitOk;
    if (r.code == SceneImportResult::SharedDiffer)
        return failed(io, r.reason + "\nImport with --shared change to change them, or --shared keep to keep them.");
    if (!r.ok())
        return failed(io, r.reason);
    return saveRomArg(doc, io) ? kExitOk : kExitFailed;
}

}  // namespace

int runExportScene(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    const std::string text = exportScene(doc);
    const std::string& out = inv.positional[2];
    if (const Outcome<WriteResult> r =
            writeFileSafely(pathFromUtf8(out), Bytes(text.begin(), text.end()), false, FileOwner::User);
        !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", out, r.reason));
    return kExitOk;
}

int runImportScene(const Invocation& inv, Io& io) { return importInPlace(inv, io, importSceneFile); }

int runExportTiled(const Invocation& inv, Io& io)
{
    Document doc;
    int exitCode = kExitOk;
    if (!openSceneArg(inv.positional[0], inv.positional[1], inv, io, doc, exitCode))
        return exitCode;
    if (const Outcome<WriteResult> r = exportTiled(doc, inv.positional[2]); !r.ok())
        return failed(io, r.reason);
    return kExitOk;
}

int runImportTiled(const Invocation& inv, Io& io) { return importInPlace(inv, io, importTiledMap); }

}  // namespace velmar::cli
