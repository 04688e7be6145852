#include "actors/actor_placement.h"

#include <algorithm>
#include <cmath>

#include "actors/actor_drawing.h"
#include "base/hex.h"

namespace velmar {

namespace {

// One callable per kind, for std::visit.
template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
// Spelled out for compilers without C++20's deduction for aggregates (Clang before 17).
template <class... F> Overloaded(F...) -> Overloaded<F...>;

}  // namespace

std::size_t actorCount(const SceneRecord& scene, ActorKind kind)
{
    return kind == ActorKind::Enemy ? scene.enemies.size() : scene.items.size();
}

std::optional<Actor> actorAt(const SceneRecord& scene, ActorKind kind, std::size_t index)
{
    if (index >= actorCount(scene, kind))
        return std::nullopt;
    return kind == ActorKind::Enemy ? Actor(scene.enemies[index]) : Actor(scene.items[index]);
}

std::uint8_t actorId(const Actor& actor)
{
    return std::visit([](const auto& a) { return a.id; }, actor);
}

Actor withId(Actor actor, std::uint8_t id)
{
    std::visit([id](auto& a) { a.id = id; }, actor);
    return actor;
}

std::string enemyLine(std::size_t index, const EnemyRecord& enemy)
{
    return hexPad(static_cast<std::int64_t>(index), 2) + ": " + hexPad(enemy.id, 2) + " " + hexPad(enemy.b, 2) + " "
        + hexText(enemy.xy & 0x0F) + " " + hexText(enemy.xy >> 4);
}

std::string itemLine(std::size_t index, const ItemRecord& item)
{
    return hexPad(static_cast<std::int64_t>(index), 2) + ": " + hexPad(item.id, 2) + " " + hexPad(item.x, 2) + " "
        + hexPad(item.y, 2);
}

std::string actorLine(std::size_t index, const Actor& actor)
{
    return std::visit(Overloaded{[index](const EnemyRecord& e) { return enemyLine(index, e); },
                                 [index](const ItemRecord& i) { return itemLine(index, i); }},
                      actor);
}

std::vector<std::string> positionTexts(const Actor& actor)
{
    return std::visit(Overloaded{[](const EnemyRecord& e) -> std::vector<std::string> {
                                     return {hexPad(e.b, 2), hexText(e.xy & 0x0F), hexText(e.xy >> 4)};
                                 },
                                 [](const ItemRecord& i) -> std::vector<std::string> {
                                     return {hexPad(i.x, 2), hexPad(i.y, 2)};
                                 }},
                      actor);
}

int positionLimit(const SceneRecord& scene, ActorKind kind)
{
    // An item's last column is the map's last: (length + 1) * 16 would be the first column past it.
    return kind == ActorKind::Enemy ? std::min(scene.length * 16 + 8, 255) : std::min((scene.length + 1) * 16 - 1, 255);
}

std::string positionPrompt(ActorKind kind, int limit)
{
    return std::string(kind == ActorKind::Enemy ? "New B value" : "New X value") + ": (hex, max = $" + hexText(limit)
        + ")";
}

Actor withPosition(Actor actor, std::uint8_t value)
{
    std::visit(Overloaded{[value](EnemyRecord& e) { e.b = value; }, [value](ItemRecord& i) { i.x = value; }}, actor);
    return actor;
}

PositionAnswer readPositionAnswer(const std::optional<std::string>& answer, int limit, std::string_view field)
{
    using Kind = PositionAnswer::Kind;
    if (!answer || answer->empty())
        return {};
    const HexByte typed = readHexByte(*answer, field, static_cast<std::uint8_t>(std::clamp(limit, 0, 0xFF)));
    switch (typed.code) {
    case HexEntry::Ok: return {Kind::Value, typed.value, {}};
    case HexEntry::OutOfRange: return {Kind::OutOfRange, 0, {}};
    case HexEntry::NotHex: break;
    }
    return {Kind::NotHex, 0, typed.reason};
}

std::vector<ActorChoice> actorChoices(const std::vector<std::string>& names, int idCount,
                                      std::optional<std::uint8_t> current)
{
    std::vector<ActorChoice> out;
    const std::size_t n = std::min(names.size(), static_cast<std::size_t>(std::max(idCount, 0)));
    out.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i)
        out.push_back({static_cast<std::uint8_t>(i), hexPad(static_cast<std::int64_t>(i), 2) + " " + names[i]});
    if (current && *current >= n)
        out.push_back({*current, hexPad(*current, 2) + " (no name)"});
    return out;
}

int dragSteps(int pixels)
{
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(static_cast<double>(pixels) / 16.0));
}

EnemyRecord dragEnemy(const EnemyRecord& enemy, int dx, int dy)
{
    const int column = std::clamp((enemy.xy & 0x0F) + dragSteps(dx), 0, 15);
    const int row = ((enemy.xy >> 4) + dragSteps(dy)) & 0x0F;
    EnemyRecord out = enemy;
    out.xy = static_cast<std::uint8_t>(row << 4 | column);
    return out;
}

ItemRecord dragItem(const ItemRecord& item, int dx, int dy)
{
    ItemRecord out = item;
    out.x = static_cast<std::uint8_t>(std::clamp(item.x + dragSteps(dx), 0, 255));
    const int row = ((item.y >> 4) + dragSteps(dy)) & 0x0F;
    out.y = static_cast<std::uint8_t>(row << 4 | (item.y & 0x0F));
    return out;
}

EnemyRecord dragEnemyBase(const EnemyRecord& enemy, int dx)
{
    EnemyRecord out = enemy;
    out.b = static_cast<std::uint8_t>(std::clamp(enemy.b + dragSteps(dx), 0, 255));
    return out;
}

Actor dragActor(const Actor& actor, int dx, int dy)
{
    return std::visit(Overloaded{[dx, dy](const EnemyRecord& e) { return Actor(dragEnemy(e, dx, dy)); },
                                 [dx, dy](const ItemRecord& i) { return Actor(dragItem(i, dx, dy)); }},
                      actor);
}

StartPosition dragStart(StartPosition start, int dx, int dy)
{
    return {static_cast<std::uint8_t>(std::clamp(start.x + dx, 0, 255)),
            static_cast<std::uint8_t>(std::clamp(start.y + dy, 0, 255))};
}

PixelOffset enemyPictureOffset(const EnemyRecord& from, const EnemyRecord& to)
{
    return {actorScreenX(to.b, to.xy) - actorScreenX(from.b, from.xy), actorBottomY(to.xy) - actorBottomY(from.xy)};
}

PixelOffset itemPictureOffset(const ItemRecord& from, const ItemRecord& to)
{
    return {actorScreenX(to.x, to.y) - actorScreenX(from.x, from.y), actorBottomY(to.y) - actorBottomY(from.y)};
}

PixelOffset pictureOffset(const Actor& from, const Actor& to)
{
    if (const auto* e = std::get_if<EnemyRecord>(&from); e && std::holds_alternative<EnemyRecord>(to))
        return enemyPictureOffset(*e, std::get<EnemyRecord>(to));
    if (const auto* i = std::get_if<ItemRecord>(&from); i && std::holds_alternative<ItemRecord>(to))
        return itemPictureOffset(*i, std::get<ItemRecord>(to));
    return {};
}

ScrollChoice highlightScroll(int left, int width, std::optional<int> playerLine, int mapWidth, int viewWidth, int value,
                             int maximum)
{
    int leftEdge = left;
    int rightEdge = left + width;
    if (playerLine) {
        const int p = *playerLine;
        if (p < left)
            leftEdge = std::max(p - 8, 0);
        if (left + width < p)
            rightEdge = std::min(p + 8, mapWidth);
    }
    if (mapWidth <= viewWidth)
        return {0, false};
    if (leftEdge < value)
        return {leftEdge, true};
    if (value + viewWidth < rightEdge)
        return {std::min(rightEdge - viewWidth, maximum), true};
    return {value, true};
}

}  // namespace velmar
