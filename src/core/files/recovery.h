#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "base/outcome.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"

namespace velmar {

// What the editor keeps of unsaved edits, so that a crash or a killed process loses nothing: the
// image as edited, the file it belongs to and the scene that was shown.
//
// On disk, a small text header and then the image file's bytes:
//   VELMAR RECOVERY 1\n
//   FILE <n>\n<n bytes: the UTF-8 path>\n
//   SCENE <key>\n          (a scene key such as c:030A12, or nothing when no scene was shown)
//   IMAGE <n>\n<n bytes: the image file as saving would write it>
// The counts are decimal; the file ends with the image. The path is counted rather than ended
// by a line break, since a path may hold one.
struct RecoveryCopy {
    std::string path;
    std::optional<SceneKey> scene;
    RomImage image;

    bool operator==(const RecoveryCopy&) const = default;
};

// The name of the copy in the recovery folder.
inline constexpr std::string_view kRecoveryFileName = "recovery.velmar";

enum class [[nodiscard]] RecoveryLoad{
    Ok = 0,
    Missing = 1,     // no copy there: the last session ended properly
    Unreadable = 2,  // a copy that cannot be read, or is not one (cut off, changed, another file)
};

// The bytes of the copy on disk.
Bytes recoveryFileBytes(const RecoveryCopy& copy);

// Reads a copy from its bytes. Anything that is not exactly the layout above, or whose image
// lacks the "NES" signature, is Unreadable with the reason; `out` is replaced only on Ok.
Outcome<RecoveryLoad> parseRecoveryCopy(const Bytes& file, RecoveryCopy& out);

Outcome<RecoveryLoad> readRecoveryCopy(const std::filesystem::path& path, RecoveryCopy& out);

// Writes the copy through a temporary file beside it, making its folder when needed.
Outcome<WriteResult> writeRecoveryCopy(const std::filesystem::path& path, const RecoveryCopy& copy);

// Keeps the recovery copy up to date from a thread of its own, so that writing it never holds
// up the editor. One job runs at a time and jobs run in the order given; a job given while
// another waits replaces it, so the file always ends as the newest job leaves it and an older
// copy never overwrites a newer one.
class RecoveryWriter {
public:
    // Called on the writer's thread after each write or removal.
    using Done = std::function<void(const Outcome<WriteResult>&)>;

    explicit RecoveryWriter(std::filesystem::path file, Done done = {});
    // Finishes the job under way and the one waiting, then stops. The copy stays: only
    // discard() removes it.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void store(RecoveryCopy copy);
    // Removes the copy, after any write under way.
    void discard();
    // Returns when no job waits or runs.
    void wait();

    const std::filesystem::path& file() const { return file_; }

private:
    struct Job {
        std::optional<RecoveryCopy> copy;  // nullopt: remove the file
    };
    void give(Job job);
    void run();

    std::filesystem::path file_;
    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> next_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace velmar
