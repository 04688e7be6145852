// export and import: a whole modification as a folder of readable files (see exchange/rom_folder.h).
#include "commands.h"
#include "exchange/rom_folder.h"

namespace velmar::cli {

int runExport(const Invocation& inv, Io& io)
{
    Document doc;
    if (!openRomArg(inv.positional[0], doc, io))
        return kExitFailed;
    const std::optional<CharTable> table = charTableArg(inv, io);
    if (!table)
        return kExitFailed;
    exchange::FolderFiles files;
    if (const exchange::FolderOutcome r = exchange::exportFolder(doc.rom(), *table, files); !r.ok())
        return failed(io, r.reason);
    if (const exchange::FolderOutcome r = exchange::writeFolder(pathFromUtf8(inv.positional[1]), files); !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", inv.positional[1], r.reason));
    return kExitOk;
}

int runImport(const Invocation& inv, Io& io)
{
    const std::optional<CharTable> table = charTableArg(inv, io);
    if (!table)
        return kExitFailed;
    const std::string& dir = inv.positional[0];
    RomImage image;
    if (const exchange::FolderOutcome r =
            exchange::importFolder(exchange::diskFolder(pathFromUtf8(dir)), *table, image,
                                   inv.allowNoEnd ? EndCode::MayBeMissing : EndCode::Required);
        !r.ok())
        return failed(io, fileMessage("Error loading file!", dir, r.reason));
    const std::string& out = inv.positional[1];
    if (const Outcome<WriteResult> r = writeFileSafely(pathFromUtf8(out), image.fileBytes(), false, FileOwner::User);
        !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", out, r.reason));
    return kExitOk;
}

}  // namespace velmar::cli
