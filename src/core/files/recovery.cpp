#include "files/recovery.h"

#include <algorithm>
#include <system_error>

#include "base/file_reader.h"
namespace velmar {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "VELMAR RECOVERY 1\n";
constexpr std::size_t kMaxPathBytes = 32 * 1024;
// As large as any image the editor opens.
constexpr std::size_t kMaxImageBytes = 64u * 1024 * 1024;
constexpr std::size_t kMaxCopyBytes = kMaxImageBytes + kMaxPathBytes + 256;

// Reads the header a field at a time; every read checks the bytes left first.
class Cursor {
public:
    explicit Cursor(const Bytes& bytes) : bytes_(bytes) { }

    bool literal(std::string_view text)
    {
        if (bytes_.size() - pos_ < text.size())
            return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (bytes_[pos_ + i] != static_cast<std::uint8_t>(text[i]))
                return false;
        }
        pos_ += text.size();
        return true;
    }

    // Decimal digits ended by a line break: no sign, no spaces, no leading zero, at most `max`.
    bool count(std::size_t max, std::size_t& out)
    {
        std::size_t value = 0;
        std::size_t digits = 0;
        while (pos_ < bytes_.size() && bytes_[pos_] >= '0' && bytes_[pos_] <= '9') {
            if (digits == 1 && value == 0)
                return false;
            value = value * 10 + (bytes_[pos_] - '0');
            if (value > max)
                return false;
            ++digits;
            ++pos_;
        }
        if (digits == 0 || !literal("\n"))
            return false;
        out = value;
        return true;
    }

    // The next `length` bytes; false when fewer are left.
    bool take(std::size_t length, std::string_view& out)
    {
        if (bytes_.size() - pos_ < length)
            return false;
        out = std::string_view(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
        pos_ += length;
        return true;
    }

    // The rest of the line, at most `max` bytes, without its line break.
    bool line(std::size_t max, std::string_view& out)
    {
        std::size_t end = pos_;
        while (end < bytes_.size() && end - pos_ <= max && bytes_[end] != '\n')
            ++end;
        if (end == bytes_.size() || end - pos_ > max)
            return false;
        take(end - pos_, out);
        ++pos_;
        return true;
    }

    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    const Bytes& bytes_;
    std::size_t pos_ = 0;
};

Outcome<RecoveryLoad> unreadable(std::string reason)
{
    return Outcome<RecoveryLoad>::failure(RecoveryLoad::Unreadable, std::move(reason));
}

}  // namespace

Bytes recoveryFileBytes(const RecoveryCopy& copy)
{
    const Bytes image = copy.image.fileBytes();
    const std::string text = std::string(kMagic) + "FILE " + std::to_string(copy.path.size()) + "\n" + copy.path
        + "\nSCENE " + (copy.scene ? sceneKeyText(*copy.scene) : std::string()) + "\nIMAGE "
        + std::to_string(image.size()) + "\n";
    Bytes out(text.size() + image.size());
    std::copy(image.begin(), image.end(), std::copy(text.begin(), text.end(), out.begin()));
    return out;
}

Outcome<RecoveryLoad> parseRecoveryCopy(const Bytes& file, RecoveryCopy& out)
{
    Cursor in(file);
    if (!in.literal(kMagic))
        return unreadable("Not a recovery copy of this program");

    std::size_t pathBytes = 0;
    std::string_view path;
    if (!in.literal("FILE ") || !in.count(kMaxPathBytes, pathBytes) || !in.take(pathBytes, path) || !in.literal("\n"))
        return unreadable("The file name of the copy is damaged");
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return unreadable("The file name of the copy is not valid");

    std::string_view sceneText;
    if (!in.literal("SCENE ") || !in.line(16, sceneText))
        return unreadable("The scene of the copy is damaged");
    std::optional<SceneKey> scene;
    if (!sceneText.empty()) {
        // The editor only ever shows the scenes of its tree and writes their keys as the tree
        // spells them; any other text (another scene number, lower-case digits) is damage, and
        // taking it would write back a different header than the one read.
        if (!isCatalogueScene(sceneText))
            return unreadable("The scene of the copy is not a scene of the area tree");
        scene = parseSceneKey(sceneText);
    }

    std::size_t imageBytes = 0;
    std::string_view image;
    if (!in.literal("IMAGE ") || !in.count(kMaxImageBytes, imageBytes))
        return unreadable("The image size of the copy is damaged");
    if (!in.take(imageBytes, image))
        return unreadable("The copy is cut off");
    if (!in.atEnd())
        return unreadable("The copy has bytes after its image");

    RomImage rom;
    if (const Outcome<RomReadResult> r = parseRomFile(Bytes(image.begin(), image.end()), rom); !r.ok())
        return unreadable("The image of the copy is not valid: " + r.reason);
    out = RecoveryCopy{std::string(path), scene, std::move(rom)};
    return {};
}

Outcome<RecoveryLoad> readRecoveryCopy(const fs::path& path, RecoveryCopy& out)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return {RecoveryLoad::Missing, "No recovery copy"};
    if (!fs::is_regular_file(status))
        return unreadable("Not a regular file");
    Bytes bytes;
    if (std::string reason = readWholeFile(path, bytes, kMaxCopyBytes, "Larger than any recovery copy");
        !reason.empty())
        return unreadable(reason);
    return parseRecoveryCopy(bytes, out);
}

Outcome<WriteResult> writeRecoveryCopy(const fs::path& path, const RecoveryCopy& copy)
{
    if (path.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            return Outcome<WriteResult>::failure(WriteResult::IoError, ec.message());
    }
    return writeFileSafely(path, recoveryFileBytes(copy), false, FileOwner::Program);
}

RecoveryWriter::RecoveryWriter(fs::path file, Done done)
    : file_(std::move(file)), done_(std::move(done)), thread_([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RecoveryWriter::store(RecoveryCopy copy) { give(Job{std::move(copy)}); }

void RecoveryWriter::discard() { give(Job{std::nullopt}); }

void RecoveryWriter::wait()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !next_ && !busy_; });
}

void RecoveryWriter::give(Job job)
{
    {
        std::lock_guard lock(mutex_);
        next_ = std::move(job);
    }
    wake_.notify_one();
}

void RecoveryWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return next_.has_value() || stopping_; });
        if (!next_)
            return;
        Job job = std::move(*next_);
        next_.reset();
        busy_ = true;
        lock.unlock();

        Outcome<WriteResult> result;
        if (job.copy) {
            result = writeRecoveryCopy(file_, *job.copy);
        } else {
            std::error_code ec;
            fs::remove(file_, ec);
            if (ec)
                result = Outcome<WriteResult>::failure(WriteResult::IoError, ec.message());
        }
        if (done_)
            done_(result);

        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

}  // namespace velmar
