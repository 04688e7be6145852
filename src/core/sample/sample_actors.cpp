#include "sample/sample_actors.h"

#include <algorithm>

#include "rom/scene_record.h"
#include "sample/sample_canvas.h"
#include "sample/sample_plan.h"
#include "sample/sample_sprites.h"

namespace velmar::sample {

using namespace rommap;

namespace {

constexpr RomOffset kActorBankEnd = bankStart(kActorBank) + kBankSize;

struct SceneActors {
    std::vector<ItemRecord> items;
    std::vector<EnemyRecord> enemies;
};

// An actor's picture stands on the line ((row nibble * 16) - 54) AND 0xFF: the row whose line
// is the last one at or above a surface at y.
std::uint8_t rowAbove(int surfaceY)
{
    return static_cast<std::uint8_t>(((surfaceY + 54) / 16) << 4);
}

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

SceneActors placeActors(int scene, const SceneLayout& layout)
{
    const ScenePlan& plan = scenePlans()[static_cast<std::size_t>(scene)];
    SampleRandom rng(sceneSeed(scene) ^ 0xAC7025u);
    const int columns = (plan.length + 1) * 16;
    // Keep half a screen free where the player comes in.
    const int first = plan.rightToLeft ? 0 : 8;
    const int last = plan.rightToLeft ? columns - 9 : columns - 1;
    SceneActors actors;

    // Item x is one byte: the last screen of a 17-screen scene is out of its reach.
    const auto perch = [&](int x) { return layout.perchY[static_cast<std::size_t>(x)] >= 32; };
    for (const int x : spreadColumns(plan.itemCount, first, std::min(last, 0xFF), rng, perch)) {
        const auto id = static_cast<std::uint8_t>((scene * 3 + static_cast<int>(actors.items.size()) * 5) % 16);
        actors.items.push_back({static_cast<std::uint8_t>(x), rowAbove(layout.perchY[static_cast<std::size_t>(x)]), id});
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

void writeActors(RomWriter& writer, const SceneLayouts& layouts)
{
    std::vector<SceneActors> all;
    for (int sc = 0; sc < kSceneCount; ++sc)
        all.push_back(placeActors(sc, layouts[static_cast<std::size_t>(sc)]));

    RomOffset a = kActorAreaStart;
    const auto pointer = [&](RomOffset table, int sc, RomOffset at) {
        writer.word(table + 2 * sc, static_cast<std::uint16_t>(romOffsetToCpu(at)));
    };
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const auto& items = all[static_cast<std::size_t>(sc)].items;
        const auto c = static_cast<RomOffset>(items.size());
        pointer(kItemXPointers, sc, a);
        pointer(kItemYIdPointers, sc, a + c);
        for (RomOffset i = 0; i < c; ++i) {
            const ItemRecord& item = items[static_cast<std::size_t>(i)];
            writer.byte(a + i, item.x);
            writer.byte(a + c + i, static_cast<std::uint8_t>(item.id | item.y));
        }
        writer.byte(kItemCounts + sc, static_cast<std::uint8_t>(c));
        a += 2 * c;
    }
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const auto& enemies = all[static_cast<std::size_t>(sc)].enemies;
        const auto c = static_cast<RomOffset>(enemies.size());
        pointer(kEnemyBPointers, sc, a);
        pointer(kEnemyXYPointers, sc, a + c);
        pointer(kEnemyIdPointers, sc, a + 2 * c);
        for (RomOffset i = 0; i < c; ++i) {
            const EnemyRecord& enemy = enemies[static_cast<std::size_t>(i)];
            writer.byte(a + i, enemy.b);
            writer.byte(a + c + i, enemy.xy);
            writer.byte(a + 2 * c + i, enemy.id);
        }
        writer.byte(kEnemyCounts + sc, static_cast<std::uint8_t>(c));
        a += 3 * c;
    }
    // The 0xFF filler marks the room the packed tables may grow into.
    writer.fill(a, static_cast<std::size_t>(kActorBankEnd - a), 0xFF);
}

}  // namespace velmar::sample
