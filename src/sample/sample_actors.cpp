#include "sample/sample_actors.h"

#include <algorithm>

#include "expansion/actor_packer.h"
#include "sample/sample_canvas.h"
#include "sample/sample_plan.h"
#include "sample/sample_sprites.h"

namespace velmar::sample {

using namespace rommap;

namespace {

// An actor's picture stands on the line ((row nibble * 16) - 54) AND 0xFF: the row whose line
// is the last one at or above a surface at y.
std::uint8_t rowAbove(int surfaceY) { return static_cast<std::uint8_t>(((surfaceY + 54) / 16) << 4); }

// Up to `count` distinct 16-pixel columns in [first, last], one from each of `count` equal
// stretches, each on a column that `usable` accepts.
template <typename Usable>
std::vector<int> spreadColumns(int count, int first, int last, SampleRandom& rng, Usable usable)
{
    std::vector<int> picked;
    if (count <= 0 || last < first)
        return picked;
    const int span = last - first + 1;
    for (int k = 0; k < count; ++k) {
        const int lo = first + span * k / count;
        const int hi = first + span * (k + 1) / count - 1;
        if (hi < lo)
            continue;
        const int start = rng.between(lo, hi);
        for (int step = 0; step <= hi - lo; ++step) {
            const int x = lo + (start - lo + step) % (hi - lo + 1);
            if (usable(x)) {
                picked.push_back(x);
                break;
            }
        }
    }
    return picked;
}

ActorLists placeActors(int scene, const SceneLayout& layout)
{
    const ScenePlan& plan = scenePlans()[static_cast<std::size_t>(scene)];
    SampleRandom rng(sceneSeed(scene) ^ 0xAC7025u);
    const int columns = (plan.length + 1) * 16;
    // Keep half a screen free where the player comes in.
    const int first = plan.rightToLeft ? 0 : 8;
    const int last = plan.rightToLeft ? columns - 9 : columns - 1;
    ActorLists actors;

    // Item x is one byte: the last screen of a 17-screen scene is out of its reach.
    const auto perch = [&](int x) { return layout.perchY[static_cast<std::size_t>(x)] >= 32; };
    for (const int x : spreadColumns(plan.itemCount, first, std::min(last, 0xFF), rng, perch)) {
        const auto id = static_cast<std::uint8_t>((scene * 3 + static_cast<int>(actors.items.size()) * 5) % 16);
        actors.items.push_back(
            {static_cast<std::uint8_t>(x), rowAbove(layout.perchY[static_cast<std::size_t>(x)]), id});
    }

    // b counts 16-pixel columns and the low nibble of xy adds up to 15 more; b stays within
    // length * 16 + 8 (and within its byte) and rises strictly from one enemy to the next.
    const int maxB = std::min(plan.length * 16 + 8, 0xFF);
    // Enemies are 32 pixels high: their floor must lie at least that far down the map.
    const auto floor = [&](int x) { return layout.floorY[static_cast<std::size_t>(x)] >= 64; };
    int lastB = -1;
    for (const int x : spreadColumns(plan.enemyCount, first, std::min(last, maxB + 15), rng, floor)) {
        int b = std::min(x - rng.below(4), maxB);
        b = std::max({b, lastB + 1, 0});
        if (b > maxB)
            continue;
        lastB = b;
        const int n = static_cast<int>(actors.enemies.size());
        const auto id = static_cast<std::uint8_t>((scene * 7 + n * 5) % kEnemyTypeCount);
        const auto xy = static_cast<std::uint8_t>(rowAbove(layout.floorY[static_cast<std::size_t>(x)]) | (x - b));
        actors.enemies.push_back({static_cast<std::uint8_t>(b), xy, id});
    }
    return actors;
}

}  // namespace

Outcome<ResizeResult> writeActors(Bytes& rom, const SceneLayouts& layouts)
{
    ActorTable table;
    for (int sc = 0; sc < kSceneCount; ++sc)
        table[static_cast<std::size_t>(sc)] = placeActors(sc, layouts[static_cast<std::size_t>(sc)]);
    return packActors(rom, table, bankStart(kActorBank + 1));
}

}  // namespace velmar::sample
