#include "actors/actor_placement.h"

#include <algorithm>
#include <cmath>

#include "actors/actor_drawing.h"
#include "base/hex.h"

namespace velmar {

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

int enemyBLimit(const SceneRecord& scene)
{
    return std::min(scene.length * 16 + 8, 255);
}

int itemXLimit(const SceneRecord& scene)
{
    return std::min((scene.length + 1) * 16, 255);
}

std::string enemyBPrompt(int limit)
{
    return "New B value: (hex, max = $" + hexText(limit) + ")";
}

std::string itemXPrompt(int limit)
{
    return "New X value: (hex, max = $" + hexText(limit) + ")";
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

ScrollChoice highlightScroll(int left, int width, std::optional<int> playerLine, int mapWidth, int viewWidth,
                             int value, int maximum)
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
