#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"

namespace velmar {
namespace {

using namespace rommap;
using namespace test;

// Whatever a resize refuses leaves the image and the record exactly as they were.
TEST(Resize, RefusalsWriteNothing)
{
    // 192 screens below the scene tables and 54 behind them: both map areas full (the second up to
    // 0x3FAF; one screen more would end at 0x3FDF, past 0x3FC0).
    const Bytes full = buildPackImage(packedLayout(5, [](int i) { return i < 30 ? 2 : 1; }));
    ASSERT_EQ(wordAt(full, kMapPointers + 2 * 47), 0xB590 + 53 * kScreenBytes);

    // Scenes 0-10 take 185 screens (to 0x22AF), scene 11 has 101 (0x12F0 bytes), the others one
    // each: next to them scene 11 would end at 0x359F, across the tables; behind them it does not
    // fit. Maps 0-11 share one place in the image: only the lengths count.
    PackLayout layout = defaultLayout();
    Bytes straddling = buildPackImage(layout);
    for (int i = 0; i < kSceneCount; ++i) {
        straddling[kDirectionLength + i] = static_cast<std::uint8_t>(i <= 9 ? 16 : i == 10 ? 14 : i == 11 ? 100 : 0);
        if (i <= 11)
            putWord(straddling, kMapPointers + 2 * i, 0x8000);
    }
    const Bytes usual = buildPackImage(layout);
    layout.actorFiller = 0;  // other data right behind the last actor table
    const Bytes noFiller = buildPackImage(layout);
    layout.actorFiller = 6;
    const Bytes filler6 = buildPackImage(layout);

    using enum ResizeResult;
    using Code = RomStatus::Code;
    const std::string badLength = "Invalid dimensions! (max=$10)";
    const std::string badCount = "Invalid count! (max=$FF)";
    const std::string noMapSpace = "Map data exceeds available space!";
    const std::string noActorSpace = "Actor data exceeds available space!";
    struct Case {
        const Bytes* image;
        Op op;
        int scene;
        int size;  // new length or count
        ResizeResult result;
        std::string message;  // for BadData the fault's own
        RomOffset entry = 0;  // a pointer set to `pointer` once the scene is loaded
        CpuAddress pointer = 0;
        std::size_t imageSize = kImageSize;
        Code code = Code::Ok;
    };
    const Case cases[] = {
        {&usual, Op::MapRight, 2, -1, InvalidSize, badLength},
        {&usual, Op::MapLeft, 2, 17, InvalidSize, badLength},
        {&usual, Op::MapRight, 2, 2, Unchanged, ""},  // scene 2 has length 2
        {&usual, Op::Items, 3, -1, InvalidSize, badCount},
        {&usual, Op::Enemies, 3, 256, InvalidSize, badCount},
        {&usual, Op::Enemies, 3, 4, Unchanged, ""},
        {&full, Op::MapRight, 47, 1, NoSpace, noMapSpace},
        {&full, Op::MapLeft, 12, 2, NoSpace, noMapSpace},
        {&straddling, Op::MapRight, 47, 1, NoSpace, noMapSpace},
        {&noFiller, Op::Items, 0, 1, NoSpace, noActorSpace},
        {&filler6, Op::Items, 0, 4, NoSpace, noActorSpace},  // 3 would fill it exactly
        {&usual, Op::MapRight, 2, 3, BadData, "", kMapPointers + 14, 0x1234, kImageSize, Code::BadPointer},
        {&usual, Op::MapRight, 2, 3, BadData, "", kMapPointers + 14, 0xAFF0, 0x3000, Code::OutsideImage},
        {&usual, Op::Enemies, 1, 5, BadData, "", kEnemyIdPointers + 80, 0x0000, kImageSize, Code::BadPointer},
        {&usual, Op::Enemies, 1, 5, BadData, "", kItemXPointers, 0x0100, kImageSize, Code::BadPointer},  // no items
        {&usual, Op::Enemies, 1, 5, BadData, "", kItemXPointers + 4, 0x9BFF, 0x9C00, Code::OutsideImage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "op " << static_cast<int>(c.op) << ", scene " << c.scene << " to " << c.size
                                        << std::hex << ", pointer " << c.pointer);
        Bytes rom = *c.image;
        const RomOffset areaEnd = actorAreaEnd(rom);
        SceneRecord scene = loadPackScene(rom, c.scene);
        if (c.entry)
            putWord(rom, c.entry, c.pointer);
        rom.resize(c.imageSize);
        const Bytes original = rom;
        const SceneRecord old = scene;

        const Outcome<ResizeResult> r = resize(c.op, rom, scene, c.size, areaEnd);
        EXPECT_EQ(r.code, c.result);
        if (c.code == Code::BadPointer)
            EXPECT_EQ(r.reason, RomStatus::badPointer(c.entry, c.pointer).message());
        else if (c.code == Code::OutsideImage)
            EXPECT_TRUE(r.reason.starts_with("Data outside the image at $")) << r.reason;
        else
            EXPECT_EQ(resizeMessage(c.op, r), c.message);
        EXPECT_TRUE(rom == original);
        EXPECT_EQ(scene, old);
    }
}

}  // namespace
}  // namespace velmar
