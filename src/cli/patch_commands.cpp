#include "commands.h"
#include "base/file_reader.h"
#include "patch/patch_file.h"

namespace velmar::cli {

namespace {

// Reads one of the whole files a patch is made from or applied to; on failure prints the
// program's read message with the path and the reason.
bool readFileArg(const std::string& path, Bytes& bytes, Io& io)
{
    const std::string tooLarge =
        "The file is larger than the " + std::to_string(kMaxPatchedSize >> 20) + " MB a patch works with";
    const std::string reason = readWholeFile(pathFromUtf8(path), bytes, kMaxPatchedSize, tooLarge);
    if (!reason.empty()) {
        failed(io, fileMessage("Error loading file!", path, reason));
        return false;
    }
    return true;
}

int writeFileArg(const std::string& path, const Bytes& bytes, Io& io)
{
    if (const Outcome<WriteResult> r = writeFileSafely(pathFromUtf8(path), bytes, false, FileOwner::User); !r.ok())
        return failed(io, fileMessage("Unknown I/O error!", path, r.reason));
    return kExitOk;
}

}  // namespace

int runPatch(const Invocation& inv, Io& io)
{
    const std::string& patchPath = inv.positional[2];
    const std::optional<PatchFormat> format = patchFormatForPath(pathFromUtf8(patchPath));
    if (!format)
        return usageError(inv, io, "the patch's name must end in .ips or .bps");
    Bytes original;
    Bytes edited;
    if (!readFileArg(inv.positional[0], original, io) || !readFileArg(inv.positional[1], edited, io))
        return kExitFailed;
    Bytes patch;
    if (const Outcome<PatchResult> r = createPatch(*format, original, edited, patch); !r.ok())
        return failed(io, r.reason);
    return writeFileArg(patchPath, patch, io);
}

int runApply(const Invocation& inv, Io& io)
{
    const std::string& patchPath = inv.positional[0];
    Bytes patch;
    Bytes rom;
    if (!readFileArg(patchPath, patch, io) || !readFileArg(inv.positional[1], rom, io))
        return kExitFailed;
    Bytes patched;
    if (const Outcome<PatchResult> r = applyPatch(patch, rom, patched); !r.ok())
        return failed(io, patchPath + ": " + r.reason);
    return writeFileArg(inv.positional[2], patched, io);
}

}  // namespace velmar::cli
