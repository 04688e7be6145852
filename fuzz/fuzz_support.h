// What the fuzz targets share: the sample image, a working copy of it that inputs patch and that
// is put back after every input, the scene keys of the area tree, and how a broken promise stops
// the run.
//
// Every target reads its control values (which scene, which operation, which sizes) from the end
// of the input with FuzzedDataProvider's ConsumeIntegral, and the bytes it lays over the image
// from the front, so that a mutation of one rarely reshuffles the other.

#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "rom/area_catalogue.h"
#include "rom/types.h"
#include "sample/sample_rom.h"

namespace velmar::fuzz {

[[noreturn]] inline void broken(const char* what)
{
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

[[noreturn]] inline void broken(const char* what, RomOffset at)
{
    std::fprintf(stderr, "broken promise: %s (romData offset 0x%05X)\n", what, static_cast<unsigned>(at));
    std::abort();
}

// The sample image, built once per process.
inline const RomImage& sampleImage()
{
    static const RomImage image = buildSampleRom();
    return image;
}

// The 32 scenes of the area tree.
inline const std::vector<SceneKey>& sceneKeys()
{
    static const std::vector<SceneKey> keys = [] {
        std::vector<SceneKey> out;
        for (const AreaNode& node : areaCatalogue()) {
            if (const std::optional<SceneKey> key = parseSceneKey(node.key))
                out.push_back(*key);
        }
        return out;
    }();
    return keys;
}

// A range of romData that patches are laid into.
struct Region {
    RomOffset start = 0;
    RomOffset size = 0;
};

// A copy of the sample's romData that lives as long as the process. An input lays a few bytes
// over it (patch), the target works on it, checks it against the patched sample (changes), and
// restore() puts the sample back: only the blocks that differ are compared and copied, never
// the whole image.
class Workbench {
public:
    Workbench() : rom_(sampleImage().romData) { }

    Bytes& rom() { return rom_; }
    const Bytes& sample() const { return sampleImage().romData; }

    // Lays `bytes` at `at`, cut off at the end of the image.
    void patch(RomOffset at, std::span<const std::uint8_t> bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto offset = static_cast<std::size_t>(at) + i;
            if (at < 0 || offset >= rom_.size())
                break;
            rom_[offset] = bytes[i];
            patched_[static_cast<RomOffset>(offset)] = bytes[i];
        }
    }

    // Up to `maxPatches` patches of 1 to 16 bytes: each one's region (picked by `region` from a
    // control byte, possibly through the image as patched so far), its offset in that region
    // and its length come from the end of the input, its bytes from the front.
    template <typename PickRegion> void layPatches(FuzzedDataProvider& in, int maxPatches, PickRegion region)
    {
        const int count = in.ConsumeIntegralInRange<int>(0, maxPatches);
        for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
            const Region r = region(in.ConsumeIntegral<std::uint8_t>(), static_cast<const Bytes&>(rom_));
            const auto offset = in.ConsumeIntegral<std::uint16_t>();
            const auto length = in.ConsumeIntegralInRange<std::size_t>(1, 16);
            const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(length);
            if (r.size > 0)
                patch(r.start + static_cast<RomOffset>(offset % r.size), bytes);
        }
    }

    // True when some patch lies in [at, at + count).
    bool patchedWithin(RomOffset at, std::size_t count) const
    {
        const auto it = patched_.lower_bound(at);
        return it != patched_.end() && static_cast<std::size_t>(it->first - at) < count;
    }
    bool patched() const { return !patched_.empty(); }

    // The first byte that differs from the patched sample and that `allowed` does not accept,
    // or nullopt. A patched byte is expected to hold its patch.
    template <typename Allowed> std::optional<RomOffset> change(Allowed allowed) const
    {
        for (const auto& [at, value] : patched_) {
            if (rom_[static_cast<std::size_t>(at)] != value && !allowed(at))
                return at;
        }
        const Bytes& base = sample();
        for (std::size_t block = 0; block < rom_.size(); block += kBlock) {
            const std::size_t n = std::min(kBlock, rom_.size() - block);
            if (std::memcmp(rom_.data() + block, base.data() + block, n) == 0)
                continue;
            for (std::size_t i = block; i < block + n; ++i) {
                const auto at = static_cast<RomOffset>(i);
                if (rom_[i] != base[i] && patched_.count(at) == 0 && !allowed(at))
                    return at;
            }
        }
        return std::nullopt;
    }

    std::optional<RomOffset> change() const
    {
        return change([](RomOffset) { return false; });
    }

    // Stops the run when anything but the patches differs from the sample.
    void expectUnchanged(const char* what) const
    {
        if (const std::optional<RomOffset> at = change())
            broken(what, *at);
    }

    // Puts back every block that differs from the sample and forgets the patches.
    void restore()
    {
        const Bytes& base = sample();
        for (std::size_t block = 0; block < rom_.size(); block += kBlock) {
            const std::size_t n = std::min(kBlock, rom_.size() - block);
            if (std::memcmp(rom_.data() + block, base.data() + block, n) != 0)
                std::memcpy(rom_.data() + block, base.data() + block, n);
        }
        patched_.clear();
    }

private:
    static constexpr std::size_t kBlock = 4096;

    Bytes rom_;
    std::map<RomOffset, std::uint8_t> patched_;
};

// A scene to work on: mostly one of the area tree's, sometimes any stage and scene number, whose
// table entries then overlap other tables.
inline SceneKey pickScene(FuzzedDataProvider& in)
{
    const auto pick = in.ConsumeIntegral<std::uint8_t>();
    if (pick < 0xF0)
        return sceneKeys()[pick % sceneKeys().size()];
    SceneKey key;
    key.stage = in.ConsumeIntegral<std::uint8_t>();
    key.scene = in.ConsumeIntegral<std::uint8_t>();
    return key;
}

}  // namespace velmar::fuzz
