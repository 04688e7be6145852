#pragma once

#include <filesystem>
#include <functional>

#include "outcome.h"
#include "rom/types.h"

namespace velmar {

enum class WriteResult : std::int16_t {
    Ok = 0,
    IoError = 1,
};

// Writes `bytes` to `path` so that the file is never left half-written and nothing is lost on
// failure:
// - the bytes go to a temporary file beside the real file, which is flushed to the disk and then
//   renamed over it (the folder is synced after that, where the system can);
// - a symbolic link is written through: the file it points to gets the bytes and the link stays
//   a link; a link to nothing is refused;
// - a file with other hard links keeps them: after the temporary copy is on the disk the bytes
//   are written into the file itself; should that fail, the temporary copy is kept and named in
//   the reason;
// - a read-only file, or a folder that cannot be written, is refused, also for an administrator;
// - with `mustExist`, a missing target is refused without creating anything;
// - an existing target keeps its permissions.
// On any failure the target is as it was and no temporary file is left (but for the hard-link
// case above). The reason is the system's, or says which rule refused.
Outcome<WriteResult> writeFileSafely(const std::filesystem::path& path, const Bytes& bytes, bool mustExist);

// The steps of a write, for tests that make one of them fail as a full or broken disk would.
enum class WriteStep { CreateTemp, WriteTemp, SyncTemp, Replace, WriteInPlace };

// While set, called before each step; a non-zero result is the system error number that step
// fails with. Tests only; pass an empty function to remove it.
void setWriteFaultForTesting(std::function<int(WriteStep)> fault);

}  // namespace velmar
