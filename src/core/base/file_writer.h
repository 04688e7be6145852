#pragma once

#include <filesystem>
#include <functional>

#include "base/outcome.h"
#include "base/bytes.h"

namespace velmar {

enum class [[nodiscard]] WriteResult : std::int16_t{
    Ok = 0,
    IoError = 1,
};

// Whose name a file written has.
enum class FileOwner {
    // A file the user chose (an image, a patch, a picture): a symbolic link the user made there is
    // written through, and a file with other hard links keeps them.
    User,
    // A file whose name the program chose itself (a backup, the recovery copy, a play-test copy,
    // the sample image): someone else may have planted a link at such a name, so nothing is ever
    // written through one. Anything but a plain file standing there is refused and left as it is;
    // a file with other hard links is replaced by a new one, never written into.
    Program,
};

// Writes `bytes` to `path` so that the file is never left half-written and nothing is lost on
// failure:
// - the bytes go to a temporary file beside the real file, which is flushed to the disk and then
//   renamed over it (the folder is synced after that, where the system can);
// - for the user's file, a symbolic link is written through: the file it points to gets the
//   bytes and the link stays a link; a link to nothing is refused (a program's file: see above);
// - a user's file with other hard links keeps them: after the temporary copy is on the disk the bytes
//   are written into the file itself; should that fail, the temporary copy is kept and named in
//   the reason;
// - a read-only file, or a folder that cannot be written, is refused, also for an administrator;
// - with `mustExist`, a missing target is refused without creating anything;
// - an existing target keeps its permissions.
// On any failure the target is as it was and no temporary file is left (but for the hard-link
// case above). The reason is the system's, or says which rule refused.
[[nodiscard]] Outcome<WriteResult> writeFileSafely(const std::filesystem::path& path, const Bytes& bytes,
                                                   bool mustExist, FileOwner owner);

// Writes file `relative` ('/' between folders) of a folder the program fills with files it names
// itself, as writeFileSafely does for FileOwner::Program, making the folders on the way: a link, or
// anything but a folder where a folder goes, is refused with its name and never followed. Each name
// is looked up from the folder that holds it, held open, so a link put on the way after the check
// is not followed either (on Windows, names are checked and then used). The folder `root` itself
// is the user's choice and may be a link.
[[nodiscard]] Outcome<WriteResult> writeProgramFileBelow(const std::filesystem::path& root, const std::string& relative,
                                                         const Bytes& bytes);

// Whether writeFileSafely would write `path` now, by its rules, without writing anything: the
// reason it would refuse, so that work that belongs to a write (a backup) is not done for one
// that cannot happen.
[[nodiscard]] Outcome<WriteResult> checkWritable(const std::filesystem::path& path, bool mustExist, FileOwner owner);

// The steps of a write, for tests that make one of them fail as a full or broken disk would.
enum class WriteStep { CreateTemp, WriteTemp, SyncTemp, Replace, WriteInPlace };

// While set, called before each step; a non-zero result is the system error number that step
// fails with. Tests only; pass an empty function to remove it.
void setWriteFaultForTesting(std::function<int(WriteStep)> fault);

}  // namespace velmar
