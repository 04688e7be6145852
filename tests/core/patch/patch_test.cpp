#include <gtest/gtest.h>

#include <random>
#include <string>

#include "patch/crc32.h"
#include "patch/patch_file.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using test::bytesOf;

constexpr std::size_t kEndMarkOffset = 0x454F46;  // "EOF" read as an IPS record offset

Bytes randomBytes(std::mt19937& random, std::size_t size)
{
    Bytes bytes(size);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

// Makes a patch of `format`, applies it to `original` and expects `edited` back; returns the patch.
Bytes roundTrip(PatchFormat format, const Bytes& original, const Bytes& edited)
{
    Bytes patch;
    const Outcome<PatchResult> made = createPatch(format, original, edited, patch);
    EXPECT_TRUE(made.ok()) << made.reason;
    Bytes out = {0xEE};
    const Outcome<PatchResult> applied = applyPatch(patch, original, out);
    EXPECT_TRUE(applied.ok()) << applied.reason;
    EXPECT_TRUE(out == edited) << "sizes " << out.size() << " and " << edited.size();
    return patch;
}

// Every case round-trips in both formats; runs of one value make small patches.
TEST(Patch, CreateThenApplyGivesTheEditedImageBack)
{
    std::mt19937 random(0x1BADB002);
    struct Case {
        std::string name;
        Bytes original;
        Bytes edited;
        std::size_t maxPatchSize = SIZE_MAX;
    };
    std::vector<Case> cases;
    for (const std::size_t size : {std::size_t{1}, std::size_t{300}, std::size_t{16 + 40960}}) {
        const Bytes original = randomBytes(random, size);
        Bytes sparse = original;
        for (std::size_t n = 0; n < size / 50 + 1; ++n)
            sparse[random() % size] ^= static_cast<std::uint8_t>(1 + random() % 255);
        Bytes lastByte = original;
        lastByte.back() ^= 0x80;
        const std::string at = " of " + std::to_string(size);
        cases.push_back({"equal" + at, original, original});
        cases.push_back({"sparse edits" + at, original, sparse});
        cases.push_back({"last byte" + at, original, lastByte});
        cases.push_back({"all new" + at, original, randomBytes(random, size)});
        cases.push_back({"shorter" + at, original, Bytes(sparse.begin(), sparse.begin() + size / 3)});
        Bytes longer = sparse;
        longer.resize(size + 700, 0);  // zeros, a byte, zeros to the end
        longer[size + 350] = 0x55;
        cases.push_back({"longer" + at, original, longer});
        cases.push_back({"from nothing" + at, {}, sparse});
        cases.push_back({"to nothing" + at, original, {}});
    }
    // Runs longer than an IPS record, inside changes and at the very end.
    const Bytes big = randomBytes(random, 200000);
    Bytes runs = big;
    std::fill(runs.begin() + 1000, runs.begin() + 140000, 0xFF);
    std::fill(runs.begin() + 150000, runs.end(), 0x00);
    runs[145000] ^= 1;
    cases.push_back({"long runs", big, runs, 200});
    Bytes filled(150000, 0x42);
    filled[0] = 7;
    cases.push_back({"grown by one value", Bytes(10, 0x42), filled, 200});

    for (const Case& c : cases) {
        for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
            SCOPED_TRACE(c.name + (format == PatchFormat::Ips ? " (IPS)" : " (BPS)"));
            EXPECT_LE(roundTrip(format, c.original, c.edited).size(), c.maxPatchSize);
        }
    }
}

// Images past the offset that reads as "EOF", edited right there by a byte and by a run, and past
// the 16 MB an IPS offset reaches.
TEST(Patch, LargeImagesAroundTheIpsLimits)
{
    std::mt19937 random(46);
    Bytes original = randomBytes(random, kEndMarkOffset + 5000);
    original[kEndMarkOffset] = 0;
    Bytes byte = original;
    byte[kEndMarkOffset] ^= 0x5A;
    Bytes run = original;
    std::fill(run.begin() + kEndMarkOffset, run.begin() + kEndMarkOffset + 3000, 0x77);
    for (const Bytes* edited : {&byte, &run}) {
        roundTrip(PatchFormat::Ips, original, *edited);
        roundTrip(PatchFormat::Bps, original, *edited);
    }

    Bytes huge(std::size_t{1} << 24, 0);
    huge.push_back(1);
    Bytes patch = {0xEE};
    const Outcome<PatchResult> refused = createPatch(PatchFormat::Ips, {}, huge, patch);
    EXPECT_EQ(refused.code, PatchResult::TooLarge);
    EXPECT_NE(refused.reason.find("16 MB"), std::string::npos) << refused.reason;
    EXPECT_EQ(patch, Bytes{0xEE});
    roundTrip(PatchFormat::Bps, {}, huge);
}

void expectRefused(const Bytes& patch, const Bytes& original, PatchResult code, const std::string& reason = {})
{
    Bytes out = {1, 2, 3};
    const Outcome<PatchResult> r = applyPatch(patch, original, out);
    EXPECT_EQ(r.code, code) << r.reason;
    EXPECT_NE(r.reason.find(reason), std::string::npos) << r.reason;
    EXPECT_EQ(out, (Bytes{1, 2, 3}));
}

// A BPS patch made by hand: "BPS1", the body, and the checksums of the images and the patch.
Bytes bpsPatch(const Bytes& body, const Bytes& source, const Bytes& target = {})
{
    Bytes patch = bytesOf("BPS1");
    patch.insert(patch.end(), body.begin(), body.end());
    for (const std::uint32_t crc : {crc32(source), crc32(target)})
        for (int i = 0; i < 4; ++i)
            patch.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    const std::uint32_t own = crc32(patch);
    for (int i = 0; i < 4; ++i)
        patch.push_back(static_cast<std::uint8_t>(own >> (8 * i)));
    return patch;
}

TEST(Patch, BrokenPatchesAndOtherImagesAreRefusedAndChangeNothing)
{
    std::mt19937 random(7);
    const Bytes original = randomBytes(random, 400);
    Bytes edited = original;
    for (int i = 0; i < 20; ++i)
        edited[random() % 400] = static_cast<std::uint8_t>(random());
    std::fill(edited.begin() + 100, edited.begin() + 150, 0);

    Bytes bps;
    ASSERT_TRUE(createPatch(PatchFormat::Bps, original, edited, bps).ok());
    Bytes other = original;
    other[399] ^= 1;
    expectRefused(bps, other, PatchResult::WrongSource, "The patch was made for another image: its source checksum is");
    expectRefused(bps, Bytes(original.begin(), original.end() - 1), PatchResult::WrongSource, "another image");

    Bytes ips;
    ASSERT_TRUE(createPatch(PatchFormat::Ips, original, edited, ips).ok());
    for (const Bytes* patch : {&ips, &bps}) {
        for (std::size_t cut = 0; cut < patch->size(); ++cut)
            expectRefused(Bytes(patch->begin(), patch->begin() + static_cast<std::ptrdiff_t>(cut)), original,
                          PatchResult::Malformed);
    }
    // Any changed byte of a BPS patch breaks its checksum.
    for (std::size_t i = 0; i < bps.size(); ++i) {
        Bytes flipped = bps;
        flipped[i] ^= static_cast<std::uint8_t>(1 << (i % 8));
        expectRefused(flipped, original, PatchResult::Malformed);
    }

    // IPS patches whose structure is broken.
    const Bytes data(10, 0xAA);
    const std::vector<std::pair<std::string, std::string>> ipsCases = {
        {std::string("PATCH\0\0\1\0\2", 10) + "ab", "no end mark"},
        {std::string("PATCH\0\0\1\0\3", 10) + "abEOF", "cut short"},
        {std::string("PATCH\0\0\1\0\0\0\0\x41", 13) + "EOF", "a run of no bytes at offset 0x000001"},
        {std::string("PATCHEOF\0", 9), "goes on for 1 byte after its end mark"},
        {std::string("PATCHEOF\0\0\x0B", 11), "cuts the image to 11 bytes, but the patched image has only 10"},
    };
    for (const auto& [patch, reason] : ipsCases)
        expectRefused(bytesOf(patch), data, PatchResult::Malformed, reason);

    // BPS actions outside the images: source 10 bytes, target 4 (0x84) or 12 (0x8C), no metadata.
    const std::vector<std::pair<Bytes, std::string>> bpsCases = {
        {{0x8A, 0x8C, 0x80, 0xAC}, "reads past the end of the original image"},      // SourceRead of 12
        {{0x8A, 0x84, 0x80, 0x8E, 0x83}, "copies from outside the original image"},  // SourceCopy from -1
        {{0x8A, 0x84, 0x80, 0x8F, 0x80}, "copies from a part of the image not written yet"},
        {{0x8A, 0x84, 0x80, 0x8D, 0x41, 0x42}, "reads past the end of the patch"},  // TargetRead of 4, 2 given
        {{0x8A, 0x84, 0x80, 0x90}, "writes past the end of the image"},             // SourceRead of 5
        {{0x8A, 0x84, 0x80, 0x80}, "ends after 1 of the image's 4 bytes"},
    };
    for (const auto& [body, reason] : bpsCases)
        expectRefused(bpsPatch(body, data), data, PatchResult::Malformed, reason);
    expectRefused(bytesOf("not a patch"), data, PatchResult::Malformed, "This is not a patch");
}

// Patches written by hand, as other programs write them, and the CRC-32 check value.
TEST(Patch, KnownPatchesAndChecksums)
{
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);

    // A record of 2 bytes at 1, a run of 3 'z' at 5, and the size cut to 7.
    const std::string ips("PATCH\0\0\1\0\2xy\0\0\5\0\0\0\3zEOF\0\0\7", 26);
    Bytes out;
    ASSERT_TRUE(applyPatch(bytesOf(ips), bytesOf("abcdefghij"), out).ok());
    EXPECT_EQ(out, bytesOf("axydezz"));

    // Source 200 bytes (0x48 0x80), target 206 (0x4E 0x80), 2 bytes of metadata; then SourceRead
    // 200 (0x1C 0x85), SourceCopy 3 from +5, TargetCopy 2 from +1, SourceCopy 1 from -8.
    Bytes source(200);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(i);
    Bytes target = source;
    target.insert(target.end(), {5, 6, 7, 1, 2, 0});
    const Bytes body = {0x48, 0x80, 0x4E, 0x80, 0x82, 'm', 'd', 0x1C, 0x85, 0x8A, 0x8A, 0x87, 0x82, 0x82, 0x91};
    ASSERT_TRUE(applyPatch(bpsPatch(body, source, target), source, out).ok());
    EXPECT_EQ(out, target);

    EXPECT_EQ(patchFormatForPath("out/Hack.IPS"), PatchFormat::Ips);
    EXPECT_EQ(patchFormatForPath("hack.bPs"), PatchFormat::Bps);
    for (const char* path : {"hack.nes", "ips", "hack.ips.txt", "hack"})
        EXPECT_EQ(patchFormatForPath(path), std::nullopt) << path;
}

}  // namespace
}  // namespace velmar
