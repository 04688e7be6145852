#include "ips_patch.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/hex.h"

namespace velmar {

namespace {

constexpr std::string_view kHeader = "PATCH";
// The end mark. Read as a record's offset it is 0x454F46, so no record may start there.
constexpr std::string_view kEndMark = "EOF";
constexpr std::size_t kEndMarkOffset = 0x454F46;
// Offsets have 3 bytes, lengths and counts 2.
constexpr std::size_t kOffsetLimit = std::size_t{1} << 24;
constexpr std::size_t kMaxRecordLength = 0xFFFF;
// What records cost besides their data: offset and length; offset, 0, count and value.
constexpr std::size_t kRecordHeader = 5;
constexpr std::size_t kRunRecord = 8;
// Unchanged stretches up to this long cost less inside a record than the header of a new one.
constexpr std::size_t kMaxCarriedGap = kRecordHeader - 1;

class IpsWriter {
public:
    IpsWriter(const Bytes& edited, Bytes& patch) : edited_(edited), patch_(patch) { }

    // edited[start, start + length) as plain records.
    void literal(std::size_t start, std::size_t length)
    {
        while (length > 0) {
            if (start == kEndMarkOffset) {
                // Start a byte earlier: that byte is edited's too, whether it changed or not.
                --start;
                ++length;
            }
            const std::size_t n = std::min(length, kMaxRecordLength);
            put(start, 3);
            put(n, 2);
            patch_.insert(patch_.end(), edited_.begin() + static_cast<std::ptrdiff_t>(start),
                          edited_.begin() + static_cast<std::ptrdiff_t>(start + n));
            start += n;
            length -= n;
        }
    }

    // `length` copies of `value` from `start` as run records.
    void run(std::size_t start, std::size_t length, std::uint8_t value)
    {
        while (length > 0) {
            if (start == kEndMarkOffset) {
                literal(start, 1);
                ++start;
                --length;
                continue;
            }
            const std::size_t n = std::min(length, kMaxRecordLength);
            put(start, 3);
            put(0, 2);
            put(n, 2);
            patch_.push_back(value);
            start += n;
            length -= n;
        }
    }

    // edited[start, end) in records, with run records where they make the patch shorter.
    void hunk(std::size_t start, std::size_t end)
    {
        std::size_t pending = start;  // the first byte not yet in a record
        std::size_t p = start;
        while (p < end) {
            std::size_t r = 1;
            while (p + r < end && edited_[p + r] == edited_[p])
                ++r;
            // A run in the middle of a hunk also costs the header of the record after it.
            if (r > kRunRecord + (p + r < end ? kRecordHeader : 0)) {
                literal(pending, p - pending);
                run(p, r, edited_[p]);
                pending = p + r;
            }
            p += r;
        }
        literal(pending, end - pending);
    }

    void put(std::size_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            patch_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

private:
    const Bytes& edited_;
    Bytes& patch_;
};

std::size_t readBigEndian(const Bytes& bytes, std::size_t at, int count)
{
    std::size_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

struct IpsRecord {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::size_t data = 0;  // where its bytes (or a run's value) are in the patch
    bool run = false;
};

Outcome<PatchResult> malformed(std::string reason)
{
    return Outcome<PatchResult>::failure(PatchResult::Malformed, std::move(reason));
}

}  // namespace

Outcome<PatchResult> createIpsPatch(const Bytes& original, const Bytes& edited, Bytes& patch)
{
    // Bytes past the original's end are the patch's to write, but the image grows with zeros up
    // to the last record, so only the last byte (which sets the size) and the non-zero ones count.
    const auto changed = [&](std::size_t i) {
        return i < original.size() ? edited[i] != original[i] : edited[i] != 0 || i + 1 == edited.size();
    };
    const std::size_t size = edited.size();
    if (size < original.size() && size >= kOffsetLimit)
        return Outcome<PatchResult>::failure(PatchResult::TooLarge,
                                             "An IPS patch cannot cut an image to " + std::to_string(size)
                                                 + " bytes: its sizes end at 16 MB. Make a BPS patch instead.");

    Bytes result(kHeader.begin(), kHeader.end());
    IpsWriter writer(edited, result);
    for (std::size_t i = 0; i < size;) {
        if (!changed(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (true) {
            while (end < size && changed(end))
                ++end;
            std::size_t next = end;
            while (next < size && next - end <= kMaxCarriedGap && !changed(next))
                ++next;
            if (next == size || next - end > kMaxCarriedGap)
                break;
            end = next;
        }
        if (end > kOffsetLimit)
            return Outcome<PatchResult>::failure(PatchResult::TooLarge,
                                                 "The edited image has changes at or beyond 16 MB (0x1000000), "
                                                 "where an IPS patch cannot reach. Make a BPS patch instead.");
        writer.hunk(i, end);
        i = end;
    }
    result.insert(result.end(), kEndMark.begin(), kEndMark.end());
    if (size < original.size())
        writer.put(size, 3);
    patch = std::move(result);
    return {};
}

Outcome<PatchResult> applyIpsPatch(const Bytes& patch, const Bytes& original, Bytes& out)
{
    if (patch.size() < kHeader.size() || !std::equal(kHeader.begin(), kHeader.end(), patch.begin()))
        return malformed("This is not an IPS patch: it does not begin with \"PATCH\".");
    const std::string cutShort = "The patch is cut short.";

    // Read every record before touching anything.
    std::vector<IpsRecord> records;
    std::size_t grown = original.size();
    std::size_t size = 0;
    std::size_t at = kHeader.size();
    while (true) {
        const std::size_t left = patch.size() - at;
        if (left < 3)
            return malformed(left == 0 ? "The patch has no end mark (\"EOF\")." : cutShort);
        IpsRecord record;
        record.offset = readBigEndian(patch, at, 3);
        if (record.offset == kEndMarkOffset) {
            if (left == 3) {
                size = grown;
            } else if (left == 6) {
                size = readBigEndian(patch, at + 3, 3);
                if (size > grown)
                    return malformed("The patch cuts the image to " + std::to_string(size)
                                     + " bytes, but the patched image has only " + std::to_string(grown) + ".");
            } else {
                const std::size_t extra = left - 3;
                return malformed("The patch goes on for " + std::to_string(extra) + (extra == 1 ? " byte" : " bytes")
                                 + " after its end mark (\"EOF\"); only a 3-byte size may follow it.");
            }
            break;
        }
        if (left < kRecordHeader)
            return malformed(cutShort);
        record.length = readBigEndian(patch, at + 3, 2);
        at += kRecordHeader;
        if (record.length == 0) {
            if (patch.size() - at < 3)
                return malformed(cutShort);
            record.length = readBigEndian(patch, at, 2);
            if (record.length == 0)
                return malformed("The patch has a run of no bytes at offset 0x"
                                 + hexPad(static_cast<std::int64_t>(record.offset), 6) + ".");
            record.data = at + 2;
            record.run = true;
            at += 3;
        } else {
            if (patch.size() - at < record.length)
                return malformed(cutShort);
            record.data = at;
            at += record.length;
        }
        grown = std::max(grown, record.offset + record.length);
        records.push_back(record);
    }

    Bytes result;
    result.reserve(grown);
    result.assign(original.begin(), original.end());
    result.resize(grown, 0);
    for (const IpsRecord& r : records) {
        if (r.run)
            std::memset(result.data() + r.offset, patch[r.data], r.length);
        else
            std::memcpy(result.data() + r.offset, patch.data() + r.data, r.length);
    }
    result.resize(size);
    out = std::move(result);
    return {};
}

}  // namespace velmar
