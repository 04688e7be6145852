#include <gtest/gtest.h>

#include <vector>

#include "actors/animation_playback.h"
#include "actors/sprite_editor_views.h"
#include "editor/edits.h"
#include "rom/address_map.h"
#include "rom/rom_access.h"
#include "core/sample_document.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// The frame shown at each of `ticks` ticks, one tick every 1000/60 ms.
std::vector<int> shownPerTick(AnimationPlayback& p, const Bytes& steps, int ticks)
{
    std::vector<int> out;
    int shown = -1;
    for (int k = 0; k < ticks; ++k) {
        if (auto f = p.advance((k * 1000 + 59) / 60, steps))
            shown = *f;
        out.push_back(shown);
    }
    return out;
}

TEST(AnimationPlayback, StepsStayTimerPlusOneTicksAndLateTicksCatchUp)
{
    const Bytes steps = {0x00, 0x0A, 0x02, 0x0B};  // frame 0A for 1 tick, 0B for 3
    AnimationPlayback p;
    ASSERT_TRUE(p.start(0));
    EXPECT_FALSE(p.start(500)) << "a second start while playing";
    EXPECT_EQ(shownPerTick(p, steps, 9), (std::vector<int>{0x0A, 0x0B, 0x0B, 0x0B, 0x0A, 0x0B, 0x0B, 0x0B, 0x0A}));

    // A timer that fires late still runs every tick due: after 1 s, 60 ticks have run (step 0
    // begins at ticks 0, 4, .. 56, step 1 at 57), whatever the calls in between.
    AnimationPlayback late;
    late.start(1000);
    EXPECT_EQ(late.advance(1000, steps), std::optional<std::uint8_t>(0x0A));
    EXPECT_EQ(late.advance(1999, steps), std::optional<std::uint8_t>(0x0B));
    EXPECT_EQ(late.currentStep(), 1);
    EXPECT_EQ(late.untilNextTick(1999), 1) << "tick 60 falls due at 2000";
    EXPECT_EQ(late.advance(1999, steps), std::nullopt) << "nothing more is due";

    // A machine asleep for an hour does not replay the hour: the playback goes on from then.
    late.advance(1000 + 3'600'000, steps);
    EXPECT_LE(late.untilNextTick(1000 + 3'600'000), 17);

    late.stop();
    EXPECT_FALSE(late.playing());
    EXPECT_EQ(late.advance(5'000'000, steps), std::nullopt);
}

TEST(SpriteEditorViews, SpritePlacesAndHalves)
{
    // Offsets (0, 0) stand at (160, 144): the origin, lifted by one sprite half.
    EXPECT_EQ(frameSpriteRect({0x00, 0x00, 0}), (ViewRect{160, 144, 16, 32}));
    EXPECT_EQ(frameSpriteRect({0x00, 0xF8, 0}).top, 144 - 16) << "Y F8 is 8 native pixels higher";
    EXPECT_EQ(frameSpriteRect({0xB0, 0x00, 0}).left, 0) << "X B0 is the left edge";

    // Sprite tile t filled with t % 4 (value 0 is transparent), background tile t with 3 - t % 4.
    PixelArray spr(256 * 64), bkg(256 * 64);
    for (int t = 0; t < 256; ++t) {
        std::fill_n(spr.begin() + t * 64, 64, static_cast<std::uint8_t>(t % 4));
        std::fill_n(bkg.begin() + t * 64, 64, static_cast<std::uint8_t>(3 - t % 4));
    }
    const std::array<std::uint8_t, 32> palette = test::countingPalette(0x10);
    const SpriteArt art{spr, bkg, palette};
    const auto colour = [&](int sub, int value) { return nesColorToRgb(palette[16 + 4 * sub + value], false, 0); };

    const Bitmap even = drawSpritePair(0x42, 0x01, art);
    EXPECT_EQ(even.pixel(0, 0), colour(1, 0x42 % 4));
    EXPECT_EQ(even.pixel(0, 8), colour(1, 0x43 % 4));
    // Odd numbers take the background bank's pair; bit 7 puts the lower half on top.
    const Bitmap odd = drawSpritePair(0x21, 0x80, art);
    EXPECT_EQ(odd.pixel(0, 0), colour(0, 3 - 0x21 % 4));
    EXPECT_EQ(odd.pixel(0, 8), colour(0, 3 - 0x20 % 4));
    EXPECT_EQ(drawSpritePair(0x40, 0, art).pixel(3, 3), kKeyColour) << "value 0 is transparent";

    // The preview: the step before shows faintly under the current frame's transparent pixels.
    SpriteFrame current, before;
    current.tileCount = before.tileCount = 1;
    current.tiles = {{0, 0, 0x40}};  // tile 0x40 transparent, 0x41 not
    before.tiles = {{0, 0, 0x42}};
    current.attributes = before.attributes = {0};
    Bitmap view;
    drawAnimationPreview(view, &current, nullptr, art);
    const ScreenColour backdrop = nesColorToRgb(palette[0], false, 0);
    EXPECT_EQ(view.pixel(80, 80), backdrop);
    EXPECT_EQ(view.pixel(80, 88), colour(0, 1));
    drawAnimationPreview(view, &current, &before, art);
    EXPECT_NE(view.pixel(80, 80), backdrop);
    EXPECT_NE(view.pixel(80, 80), colour(0, 2));
    EXPECT_EQ(view.pixel(80, 88), colour(0, 1)) << "the current frame stays in front";
    EXPECT_EQ(previousStep(0, 3), 2);
    EXPECT_EQ(previousStep(0, 1), std::nullopt);
}

using test::SampleDocument;

// A frame is written at its pointers and nothing else; an animation keeps its count and its end.
TEST(SpriteEdits, FramesAndAnimationsAreWrittenInPlaceWithinTheirLimits)
{
    SampleDocument s(std::nullopt);
    Document& doc = s.doc;
    SpriteFrame frame;
    ASSERT_TRUE(readSpriteFrame(doc.romData(), FrameSet::Player, 1, frame).ok());
    ASSERT_GT(frame.tileCount, 0);
    const Bytes before = doc.romData();

    SpriteFrame edited = frame;
    edited.tiles[0] = {0x12, 0x34, 0x56};
    edited.attributes[0] = 0xC3;
    ASSERT_EQ(edits::setSpriteFrame(doc, FrameSet::Player, 1, edited).code, EditResult::Recorded);
    const RomOffset tiles =
        RomReader(before).pointer(rommap::kPlayerFrameTiles + 2, rommap::bankStart(rommap::kActorBank));
    const RomOffset attrs =
        RomReader(before).pointer(rommap::kPlayerFrameAttributes + 2, rommap::bankStart(rommap::kActorBank));
    Bytes want = before;
    test::putBytes(want, tiles + 1, {0x56, 0x12, 0x34});  // stored as tile, X, Y
    test::putBytes(want, attrs, {0xC3});
    EXPECT_EQ(doc.romData(), want);

    SpriteFrame fewer = edited;
    fewer.tileCount = static_cast<std::uint8_t>(fewer.tileCount - 1);
    EXPECT_EQ(edits::setSpriteFrame(doc, FrameSet::Player, 1, fewer).code, EditResult::Refused);
    EXPECT_EQ(edits::setSpriteFrame(doc, FrameSet::Player, 1, edited).code, EditResult::NoChange);
    EXPECT_EQ(doc.romData(), want);

    int animation = 0;
    Bytes steps;
    for (; animation < 109; ++animation) {
        if (readAnimation(doc.romData(), animation, steps).ok() && steps.size() >= 4)
            break;
    }
    ASSERT_GE(steps.size(), 4u) << "the sample has an animation of two steps or more";

    Bytes changed = steps;
    changed[2] = 0x3C;
    changed[3] = 0x07;
    ASSERT_EQ(edits::setAnimation(doc, animation, changed).code, EditResult::Recorded);
    Bytes read;
    ASSERT_TRUE(readAnimation(doc.romData(), animation, read).ok());
    EXPECT_EQ(read, changed);

    for (std::uint8_t ending : {0x00, 0xFF}) {
        Bytes cut = changed;
        cut[2] = ending;
        EXPECT_EQ(edits::setAnimation(doc, animation, cut).code, EditResult::Refused);
    }
    Bytes first = changed;
    first[0] = 0x00;  // the first step's timer may be anything
    EXPECT_EQ(edits::setAnimation(doc, animation, first).code, EditResult::Recorded);
    EXPECT_EQ(edits::setAnimation(doc, animation, Bytes(changed.begin(), changed.end() - 2)).code, EditResult::Refused);
}

}  // namespace
}  // namespace velmar
