// libFuzzer target: IPS and BPS patches, applied and made.
//
// The last byte of the input picks what is done with the rest:
//  - applied as an IPS patch to a small fixed image;
//  - applied as a BPS patch to it, now and then with its checksums repaired (the image's as the
//    source checksum, the patch's own over the bytes before it), so that the actions are read and
//    not only the checksum refused;
//  - two images made from the input (an original, and an edited copy with bytes laid over it,
//    runs of one value and a new size), and the patch between them made in both formats.
//
// Promises checked:
//  - a refused patch leaves the output as it was;
//  - a BPS patch that applies gives an image of its target size and target checksum;
//  - a patch made from two images, applied to the original, gives the edited image back; the IPS
//    patch without its last byte and the BPS patch with any one byte changed are refused.

#include <algorithm>
#include <array>

#include "fuzz_support.h"
#include "patch/bps_patch.h"
#include "patch/crc32.h"
#include "patch/ips_patch.h"

namespace {

using namespace velmar;

// Any of its bytes might be told apart: a few runs, and the rest no simple sequence.
const Bytes& fixedImage()
{
    static const Bytes image = [] {
        Bytes bytes(1024);
        std::uint32_t x = 0x2545F491;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            x = x * 1103515245u + 12345u;
            bytes[i] = i % 256 < 32 ? static_cast<std::uint8_t>(i / 256) : static_cast<std::uint8_t>(x >> 24);
        }
        return bytes;
    }();
    return image;
}

const Bytes kUntouched = {0xDE, 0xAD};

void putCrc(Bytes& bytes, std::size_t at, std::uint32_t crc)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
}

std::uint32_t crcAt(const Bytes& bytes, std::size_t at)
{
    std::uint32_t crc = 0;
    for (int i = 3; i >= 0; --i)
        crc = crc << 8 | bytes[at + static_cast<std::size_t>(i)];
    return crc;
}

void applyIps(const Bytes& patch)
{
    Bytes out = kUntouched;
    if (!applyIpsPatch(patch, fixedImage(), out).ok() && out != kUntouched)
        fuzz::broken("a refused IPS patch changed the output");
}

void applyBps(Bytes patch, bool repair)
{
    if (repair && patch.size() >= 12) {
        const std::size_t footer = patch.size() - 12;
        putCrc(patch, footer, crc32(fixedImage()));
        putCrc(patch, footer + 8, crc32(std::span(patch.data(), footer + 8)));
    }
    Bytes out = kUntouched;
    if (!applyBpsPatch(patch, fixedImage(), out).ok()) {
        if (out != kUntouched)
            fuzz::broken("a refused BPS patch changed the output");
        return;
    }
    if (crc32(out) != crcAt(patch, patch.size() - 8))
        fuzz::broken("a BPS patch applied to an image of another checksum than its footer's");
}

// The original: random-looking bytes, zeros, or the input's bytes over and over; up to 72 KB, so
// that runs and records can pass the 64 KB an IPS record holds.
Bytes makeOriginal(FuzzedDataProvider& in)
{
    const auto kind = in.ConsumeIntegral<std::uint8_t>();
    Bytes bytes(in.ConsumeIntegralInRange<std::size_t>(0, 0x12000));
    const std::vector<std::uint8_t> seed = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(1, 64));
    std::uint32_t x = kind;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        x = x * 1103515245u + 12345u;
        switch (kind % 3) {
        case 0: bytes[i] = static_cast<std::uint8_t>(x >> 24); break;
        case 1: bytes[i] = 0; break;
        default: bytes[i] = seed.empty() ? 0xFF : seed[i % seed.size()]; break;
        }
    }
    return bytes;
}

// Up to eight changes: bytes from the input laid at an offset, a run of one value, a new size.
Bytes makeEdited(FuzzedDataProvider& in, const Bytes& original)
{
    Bytes edited = original;
    const int count = in.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        const auto kind = in.ConsumeIntegral<std::uint8_t>() % 3;
        const std::size_t at = edited.empty() ? 0 : in.ConsumeIntegral<std::uint32_t>() % edited.size();
        if (kind == 0) {
            const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(1, 32);
            const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(length);
            for (std::size_t k = 0; k < bytes.size() && at + k < edited.size(); ++k)
                edited[at + k] = bytes[k];
        } else if (kind == 1) {
            const auto value = in.ConsumeIntegral<std::uint8_t>();
            const std::size_t length = std::min(in.ConsumeIntegralInRange<std::size_t>(1, 0x11000), edited.size() - at);
            std::fill_n(edited.begin() + static_cast<std::ptrdiff_t>(at), length, value);
        } else {
            edited.resize(in.ConsumeIntegralInRange<std::size_t>(0, 0x12000), in.ConsumeIntegral<std::uint8_t>());
        }
    }
    return edited;
}

void roundTrip(FuzzedDataProvider& in)
{
    const Bytes original = makeOriginal(in);
    const Bytes edited = makeEdited(in, original);
    const auto flipAt = in.ConsumeIntegral<std::uint32_t>();
    const auto flipBits = static_cast<std::uint8_t>(in.ConsumeIntegralInRange<int>(1, 255));

    Bytes ips;
    if (!createIpsPatch(original, edited, ips).ok())
        fuzz::broken("an IPS patch of two small images was refused");
    Bytes out;
    if (!applyIpsPatch(ips, original, out).ok() || out != edited)
        fuzz::broken("an IPS patch did not give the edited image back");
    out = kUntouched;
    if (applyIpsPatch(Bytes(ips.begin(), ips.end() - 1), original, out).ok() || out != kUntouched)
        fuzz::broken("an IPS patch without its last byte was not refused");

    Bytes bps = createBpsPatch(original, edited);
    out.clear();
    if (!applyBpsPatch(bps, original, out).ok() || out != edited)
        fuzz::broken("a BPS patch did not give the edited image back");
    bps[flipAt % bps.size()] ^= flipBits;
    out = kUntouched;
    if (applyBpsPatch(bps, original, out).ok() || out != kUntouched)
        fuzz::broken("a BPS patch with a changed byte was not refused");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto pick = in.ConsumeIntegral<std::uint8_t>();
    switch (pick % 3) {
    case 0: applyIps(in.ConsumeRemainingBytes<std::uint8_t>()); break;
    case 1: applyBps(in.ConsumeRemainingBytes<std::uint8_t>(), pick & 0x80); break;
    default: roundTrip(in); break;
    }
    return 0;
}
