#include "actors/map_end.h"

#include <algorithm>

#include "base/hex.h"

namespace velmar {

namespace {

constexpr int kColumnsPerScreen = 16;
// An enemy's b is a byte and its column inside the screen a nibble.
constexpr int kLastEnemyColumn = 0xFF + 0x0F;

// A column as two hexadecimal digits, three past FF (an enemy of b F8 in column C: 104).
std::string columnText(int column) { return hexPad(column, column > 0xFF ? 3 : 2); }

std::string screensText(int length)
{
    const int screens = length + 1;
    return std::to_string(screens) + (screens == 1 ? " screen" : " screens");
}

std::string countText(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

template <typename Record>
void addNewlyBeyond(const std::vector<Record>& before, int beforeLength, const std::vector<Record>& after,
                    int afterLength, ActorKind kind, std::vector<ActorRef>& out)
{
    std::vector<Record> kept;
    for (const Record& r : before) {
        if (beyondMapEnd(Actor(r), beforeLength))
            kept.push_back(r);
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (!beyondMapEnd(Actor(after[i]), afterLength))
            continue;
        // Each actor already past the end stands for one of `after`'s, not for every copy.
        if (const auto same = std::find(kept.begin(), kept.end(), after[i]); same != kept.end())
            kept.erase(same);
        else
            out.push_back({kind, i});
    }
}

}  // namespace

int actorColumn(const Actor& actor)
{
    if (const auto* e = std::get_if<EnemyRecord>(&actor))
        return e->b + (e->xy & 0x0F);
    const auto& i = std::get<ItemRecord>(actor);
    return i.x + (i.y & 0x0F);
}

bool beyondMapEnd(const Actor& actor, int length) { return actorColumn(actor) > lastMapColumn(length); }

std::vector<ActorRef> actorsBeyondEnd(const SceneRecord& scene, int length)
{
    std::vector<ActorRef> out;
    for (const ActorKind kind : {ActorKind::Enemy, ActorKind::Item}) {
        for (std::size_t i = 0; const auto a = actorAt(scene, kind, i); ++i) {
            if (beyondMapEnd(*a, length))
                out.push_back({kind, i});
        }
    }
    return out;
}

std::string actorName(const SceneRecord& scene, ActorRef ref)
{
    const auto a = actorAt(scene, ref.kind, ref.index);
    const char* kind = ref.kind == ActorKind::Enemy ? "Enemy " : "Item ";
    return a ? kind + actorLine(ref.index, *a) : std::string();
}

std::string actorCountText(const std::vector<ActorRef>& refs)
{
    const auto enemies = static_cast<std::size_t>(
        std::count_if(refs.begin(), refs.end(), [](const ActorRef& r) { return r.kind == ActorKind::Enemy; }));
    const std::size_t items = refs.size() - enemies;
    if (enemies == 0)
        return countText(items, "item", "items");
    if (items == 0)
        return countText(enemies, "enemy", "enemies");
    return countText(enemies, "enemy", "enemies") + " and " + countText(items, "item", "items");
}

std::string actorNameLines(const SceneRecord& scene, const std::vector<ActorRef>& refs, std::size_t most)
{
    std::string out;
    for (std::size_t i = 0; i < refs.size() && i < most; ++i)
        out += (i ? "\n" : "") + actorName(scene, refs[i]);
    if (refs.size() > most)
        out += "\n... and " + std::to_string(refs.size() - most) + " more";
    return out;
}

std::vector<ActorRef> placedBeyondEnd(const SceneRecord& before, const SceneRecord& after)
{
    std::vector<ActorRef> out;
    addNewlyBeyond(before.enemies, before.length, after.enemies, after.length, ActorKind::Enemy, out);
    addNewlyBeyond(before.items, before.length, after.items, after.length, ActorKind::Item, out);
    return out;
}

std::string beyondEndReason(const Actor& actor, int length)
{
    if (!beyondMapEnd(actor, length))
        return {};
    const int column = actorColumn(actor);
    std::string where;
    if (const auto* e = std::get_if<EnemyRecord>(&actor))
        where = "The enemy would stand in column " + columnText(column) + " (B " + hexPad(e->b, 2) + " and column "
            + hexText(e->xy & 0x0F) + " of its screen)";
    else
        where = "The item would stand in column " + columnText(column) + " (X "
            + hexPad(std::get<ItemRecord>(actor).x, 2) + ")";
    return where + ", past the map's end: a map of " + screensText(length) + " ends with column "
        + columnText(lastMapColumn(length)) + ".";
}

std::string moveRefusal(const Actor& from, const Actor& to, int length)
{
    if (!beyondMapEnd(to, length))
        return {};
    // Back towards the map, or staying in its column, is no new place past the end.
    if (beyondMapEnd(from, length) && actorColumn(to) <= actorColumn(from))
        return {};
    return beyondEndReason(to, length);
}

Actor limitToMapEnd(const Actor& from, const Actor& to, int length)
{
    const int bound = std::max(lastMapColumn(length), actorColumn(from));
    int excess = actorColumn(to) - bound;
    if (excess <= 0)
        return to;
    if (const auto* e = std::get_if<EnemyRecord>(&to)) {
        EnemyRecord out = *e;
        // What moved gives way: the screen when the b moved (the player line), else the column.
        const bool baseMoved = out.b != std::get<EnemyRecord>(from).b;
        const auto pull = [&excess](int value) {
            const int back = std::min(excess, value);
            excess -= back;
            return value - back;
        };
        int b = out.b;
        int column = out.xy & 0x0F;
        if (baseMoved)
            b = pull(b);
        column = pull(column);
        b = pull(b);
        out.b = static_cast<std::uint8_t>(b);
        out.xy = static_cast<std::uint8_t>((out.xy & 0xF0) | column);
        return out;
    }
    ItemRecord out = std::get<ItemRecord>(to);
    out.x = static_cast<std::uint8_t>(std::max(out.x - excess, 0));
    return out;
}

int positionLimit(const SceneRecord& scene, const Actor& actor)
{
    const int last = lastMapColumn(scene.length);
    if (const auto* e = std::get_if<EnemyRecord>(&actor))
        return std::max(std::min(positionLimit(scene, ActorKind::Enemy), last - (e->xy & 0x0F)), 0);
    const auto& i = std::get<ItemRecord>(actor);
    return std::max(std::min(positionLimit(scene, ActorKind::Item), last - (i.y & 0x0F)), 0);
}

Actor actorAtPoint(ActorKind kind, std::uint8_t id, int x, int y, int length)
{
    const int column = std::clamp(x < 0 ? 0 : x / kColumnsPerScreen, 0, lastMapColumn(length));
    // The row whose picture (its bottom on the row line, 54 pixels up) is centred nearest y.
    const int row = ((std::clamp(y, 0, 255) + 70) / 16) & 0x0F;
    if (kind == ActorKind::Item)
        return ItemRecord{static_cast<std::uint8_t>(std::min(column, 0xFF)), static_cast<std::uint8_t>(row << 4), id};
    const int c = std::min(column, kLastEnemyColumn);
    int b = c - c % kColumnsPerScreen;
    if (b > 0xFF)
        b = c - 0x0F;  // the screen of a 17th screen starts past FF: the last b it can have
    return EnemyRecord{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(row << 4 | (c - b)), id};
}

Actor duplicatePlace(const Actor& actor, int length)
{
    const auto moved = [&actor](int step) -> std::optional<Actor> {
        if (const auto* e = std::get_if<EnemyRecord>(&actor)) {
            // Within its screen: the copy belongs to the same b.
            const int column = (e->xy & 0x0F) + step;
            if (column < 0 || column > 0x0F)
                return std::nullopt;
            return EnemyRecord{e->b, static_cast<std::uint8_t>((e->xy & 0xF0) | column), e->id};
        }
        const auto& i = std::get<ItemRecord>(actor);
        const int x = i.x + step;
        if (x < 0 || x > 0xFF)
            return std::nullopt;
        return ItemRecord{static_cast<std::uint8_t>(x), i.y, i.id};
    };
    for (const int step : {1, -1}) {
        if (const auto a = moved(step); a && !beyondMapEnd(*a, length))
            return *a;
    }
    return actor;
}

}  // namespace velmar
