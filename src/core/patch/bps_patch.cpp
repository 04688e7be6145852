#include "bps_patch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "patch/crc32.h"
#include "base/hex.h"

namespace velmar {

namespace {

constexpr std::string_view kMagic = "BPS1";
constexpr std::size_t kFooterSize = 12;
// The shortest patch: the magic, three one-byte numbers and the footer.
constexpr std::size_t kMinPatchSize = 4 + 3 + kFooterSize;

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Agreeing stretches shorter than this cost less as part of a TargetRead than as a SourceRead
// action and the header of the TargetRead after it.
constexpr std::size_t kMinSourceRun = 4;
// Runs of one value at least this long become a TargetCopy (action and distance, up to eight
// bytes, and the TargetRead after it).
constexpr std::size_t kMinFillRun = 12;

// Seven bits a byte, low bits first, the last byte marked by bit 7. Each continuing byte also
// counts one more of the next place, so that every number has exactly one encoding.
void putNumber(Bytes& out, std::uint64_t value)
{
    while (true) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

void putAction(Bytes& out, Action action, std::size_t length)
{
    putNumber(out, (static_cast<std::uint64_t>(length - 1) << 2) | action);
}

void putCrc(Bytes& out, std::uint32_t crc)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
}

std::uint32_t crcAt(const Bytes& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

std::string crcText(std::uint32_t crc) { return hexPad(crc, 8); }

Outcome<PatchResult> malformed(std::string reason)
{
    return Outcome<PatchResult>::failure(PatchResult::Malformed, std::move(reason));
}

// Reads the numbers of a patch up to its footer.
class NumberReader {
public:
    NumberReader(const Bytes& patch, std::size_t at, std::size_t end) : patch_(patch), at_(at), end_(end) { }

    // False when the number runs into the footer, or is too large for any image (no valid patch
    // holds one of more than seven bytes; the limit keeps every sum below 2^63).
    bool read(std::uint64_t& value)
    {
        std::uint64_t data = 0;
        std::uint64_t shift = 1;
        while (at_ < end_) {
            const std::uint8_t x = patch_[at_++];
            data += (x & 0x7F) * shift;
            if (x & 0x80) {
                value = data;
                return true;
            }
            shift <<= 7;
            if (shift > (std::uint64_t{1} << 49))
                return false;
            data += shift;
        }
        return false;
    }

    std::size_t at() const { return at_; }
    std::size_t left() const { return end_ - at_; }
    void skip(std::size_t count) { at_ += count; }

private:
    const Bytes& patch_;
    std::size_t at_;
    std::size_t end_;
};

// Moves a copy cursor by a signed distance (bit 0 the sign); false when it leaves [0, limit).
bool moveCursor(std::uint64_t distance, std::size_t limit, std::size_t& cursor)
{
    const std::uint64_t size = distance >> 1;
    if (distance & 1) {
        if (size > cursor)
            return false;
        cursor -= static_cast<std::size_t>(size);
    } else {
        if (size >= limit - cursor)
            return false;
        cursor += static_cast<std::size_t>(size);
    }
    return cursor < limit;
}

}  // namespace

Bytes createBpsPatch(const Bytes& original, const Bytes& edited)
{
    Bytes patch(kMagic.begin(), kMagic.end());
    putNumber(patch, original.size());
    putNumber(patch, edited.size());
    putNumber(patch, 0);

    const std::size_t size = edited.size();
    const std::size_t common = std::min(original.size(), size);
    std::size_t pending = 0;  // the first byte no action covers yet
    std::size_t targetCursor = 0;
    const auto targetRead = [&](std::size_t end) {
        if (end > pending) {
            putAction(patch, TargetRead, end - pending);
            patch.insert(patch.end(), edited.begin() + static_cast<std::ptrdiff_t>(pending),
                         edited.begin() + static_cast<std::ptrdiff_t>(end));
        }
    };
    for (std::size_t i = 0; i < size;) {
        std::size_t same = 0;
        while (i + same < common && edited[i + same] == original[i + same])
            ++same;
        if (same >= kMinSourceRun) {
            targetRead(i);
            putAction(patch, SourceRead, same);
            i += same;
            pending = i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < size && edited[i + run] == edited[i])
            ++run;
        if (run >= kMinFillRun) {
            // The run's first byte is read, the rest copied from one byte behind.
            targetRead(i + 1);
            putAction(patch, TargetCopy, run - 1);
            const bool back = i < targetCursor;
            const std::uint64_t distance = back ? targetCursor - i : i - targetCursor;
            putNumber(patch, (distance << 1) | (back ? 1 : 0));
            targetCursor = i + run - 1;
            i += run;
            pending = i;
            continue;
        }
        ++i;
    }
    targetRead(size);

    putCrc(patch, crc32(original));
    putCrc(patch, crc32(edited));
    putCrc(patch, crc32(patch));
    return patch;
}

Outcome<PatchResult> applyBpsPatch(const Bytes& patch, const Bytes& original, Bytes& out)
{
    if (patch.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), patch.begin()))
        return malformed("This is not a BPS patch: it does not begin with \"BPS1\".");
    if (patch.size() < kMinPatchSize)
        return malformed("The patch is cut short.");
    const std::size_t end = patch.size() - kFooterSize;
    const std::uint32_t patchCrc = crc32(std::span(patch.data(), end + 8));
    if (patchCrc != crcAt(patch, end + 8))
        return malformed("The patch is damaged or cut short: its checksum is " + crcText(patchCrc) + ", it should be "
                         + crcText(crcAt(patch, end + 8)) + ".");

    NumberReader reader(patch, kMagic.size(), end);
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::uint64_t metadataSize = 0;
    if (!reader.read(sourceSize) || !reader.read(targetSize) || !reader.read(metadataSize)
        || metadataSize > reader.left())
        return malformed("The patch's header is damaged.");
    reader.skip(static_cast<std::size_t>(metadataSize));

    const std::uint32_t sourceCrc = crc32(original);
    const std::string wrongSource = "The patch was made for another image: ";
    if (sourceSize != original.size())
        return Outcome<PatchResult>::failure(PatchResult::WrongSource,
                                             wrongSource + "one of " + std::to_string(sourceSize)
                                                 + " bytes with the checksum " + crcText(crcAt(patch, end))
                                                 + ", this image has " + std::to_string(original.size())
                                                 + " bytes and the checksum " + crcText(sourceCrc) + ".");
    if (sourceCrc != crcAt(patch, end))
        return Outcome<PatchResult>::failure(PatchResult::WrongSource,
                                             wrongSource + "its source checksum is " + crcText(crcAt(patch, end))
                                                 + ", this image's is " + crcText(sourceCrc) + ".");
    if (targetSize > kMaxPatchedSize)
        return Outcome<PatchResult>::failure(PatchResult::TooLarge,
                                             "The patch would make an image of " + std::to_string(targetSize)
                                                 + " bytes, more than the " + std::to_string(kMaxPatchedSize >> 20)
                                                 + " MB this program works with.");

    Bytes target(static_cast<std::size_t>(targetSize));
    std::size_t output = 0;
    std::size_t sourceCursor = 0;
    std::size_t targetCursor = 0;
    while (reader.left() > 0) {
        const std::size_t actionAt = reader.at();
        const auto damaged = [actionAt](std::string_view what) {
            return malformed("The patch is damaged: the action at byte " + std::to_string(actionAt) + " "
                             + std::string(what) + ".");
        };
        std::uint64_t data = 0;
        if (!reader.read(data))
            return damaged("is cut short");
        const std::uint64_t length = (data >> 2) + 1;
        if (length > target.size() - output)
            return damaged("writes past the end of the image");
        const auto n = static_cast<std::size_t>(length);
        std::uint8_t* to = target.data() + output;
        switch (data & 3) {
        case SourceRead:
            if (n > original.size() || output > original.size() - n)
                return damaged("reads past the end of the original image");
            std::memcpy(to, original.data() + output, n);
            break;
        case TargetRead:
            if (n > reader.left())
                return damaged("reads past the end of the patch");
            std::memcpy(to, patch.data() + reader.at(), n);
            reader.skip(n);
            break;
        case SourceCopy: {
            std::uint64_t distance = 0;
            if (!reader.read(distance))
                return damaged("is cut short");
            if (!moveCursor(distance, original.size(), sourceCursor) || n > original.size() - sourceCursor)
                return damaged("copies from outside the original image");
            std::memcpy(to, original.data() + sourceCursor, n);
            sourceCursor += n;
            break;
        }
        default: {
            std::uint64_t distance = 0;
            if (!reader.read(distance))
                return damaged("is cut short");
            // Only bytes already written may be copied; the copy may overlap what it writes.
            if (!moveCursor(distance, output, targetCursor))
                return damaged("copies from a part of the image not written yet");
            for (std::size_t k = 0; k < n; ++k)
                to[k] = target[targetCursor + k];
            targetCursor += n;
            break;
        }
        }
        output += n;
    }
    if (output != target.size())
        return malformed("The patch ends after " + std::to_string(output) + " of the image's "
                         + std::to_string(target.size()) + " bytes.");
    if (const std::uint32_t targetCrc = crc32(target); targetCrc != crcAt(patch, end + 4))
        return malformed("The patched image's checksum is " + crcText(targetCrc) + ", the patch expects "
                         + crcText(crcAt(patch, end + 4)) + ".");
    out = std::move(target);
    return {};
}

}  // namespace velmar
