#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rom/scene_record.h"

// How the main window shows and moves actors: the list lines, the typed B and X positions, the
// drag rules and the scrolling that brings the selected actor into view. All positions are map
// pixels; a map column is 16 pixels.
namespace velmar {

// "03: 12 2C 5 9": index, id, b, then screen column and row as one digit each.
std::string enemyLine(std::size_t index, const EnemyRecord& enemy);
// "00: 07 1A 80": index, id, x, y.
std::string itemLine(std::size_t index, const ItemRecord& item);

// The largest b an enemy may be given: half a screen past the start of the last screen.
int enemyBLimit(const SceneRecord& scene);
// The largest x an item may be given: the column just right of the last screen.
int itemXLimit(const SceneRecord& scene);

// "New B value: (hex, max = $38)" and "New X value: (hex, max = $40)".
std::string enemyBPrompt(int limit);
std::string itemXPrompt(int limit);

// The answer to a position prompt: nothing typed (or cancelled), no byte (the reason says what
// `field` takes, as readHexByte reads it), a byte above the limit, or the new value.
struct PositionAnswer {
    enum class Kind { Empty, NotHex, OutOfRange, Value };
    Kind kind = Kind::Empty;
    std::uint8_t value = 0;
    std::string reason;
};
PositionAnswer readPositionAnswer(const std::optional<std::string>& answer, int limit, std::string_view field);

// An entry of an actor type selector: the type's id and what the list shows for it.
struct ActorChoice {
    std::uint8_t id = 0;
    std::string text;
    bool operator==(const ActorChoice&) const = default;
};

// The entries of a type selector: the names in order, each after its type number ("00 ???"), at
// most `idCount` of them (16 for items, whose type has four bits), and, when `current` has no name, one more entry "2A (no name)" so
// the actor's type still shows and stays until another is picked.
std::vector<ActorChoice> actorChoices(const std::vector<std::string>& names, int idCount,
                                      std::optional<std::uint8_t> current);

// Drags, from the pointer's movement between press and release in pixels. Columns and rows are
// whole: the movement is divided by 16 and rounded to the nearest, halves to even (24 pixels is 2
// columns, 40 pixels is 2 as well).
int dragSteps(int pixels);

// An enemy moves inside its screen: its column stops at 0 and 15, its row wraps round (one row
// above row 0 is row 15). Its b and type stay.
EnemyRecord dragEnemy(const EnemyRecord& enemy, int dx, int dy);
// An item moves along the map (x stops at 0 and 255) and its row wraps; the low nibble of y and
// the type stay.
ItemRecord dragItem(const ItemRecord& item, int dx, int dy);
// Dragging the player-position line moves the enemy's b by whole columns (0..255); the vertical
// movement does not count.
EnemyRecord dragEnemyBase(const EnemyRecord& enemy, int dx);
// The map pixel column of an enemy's player-position line: the enemy belongs to the 256-pixel
// screen starting at column b (16 pixels each), and its player position is that screen's centre.
constexpr int playerLineX(const EnemyRecord& enemy) { return enemy.b * 16 + 128; }
// The player start moves pixel by pixel, each coordinate stopping at 0 and 255.
struct StartPosition {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    bool operator==(const StartPosition&) const = default;
};
StartPosition dragStart(StartPosition start, int dx, int dy);

// A release changes an enemy or an item only when the pointer is over the map (edges included).
constexpr bool dropInsideMap(int x, int y, int mapWidth, int mapHeight)
{
    return x >= 0 && x <= mapWidth && y >= 0 && y <= mapHeight;
}

// The map pixel offset between an actor's picture at one place and at another: what the picture
// moves by while it is dragged.
struct PixelOffset {
    int dx = 0;
    int dy = 0;
};
PixelOffset enemyPictureOffset(const EnemyRecord& from, const EnemyRecord& to);
PixelOffset itemPictureOffset(const ItemRecord& from, const ItemRecord& to);

// Where the map's scroll bar goes so that the selected actor shows: the picture spans
// [left, left + width); with `playerLine` (the line's left edge) the part to show reaches to the
// line, 8 pixels beyond it. A map no wider than the view puts the bar at 0, disabled. A part left
// of the view brings its left end to the view's left edge; one that runs past the right edge
// brings its right end to the right edge, never past the bar's maximum; otherwise the view stays.
struct ScrollChoice {
    int value = 0;
    bool enabled = false;
};
ScrollChoice highlightScroll(int left, int width, std::optional<int> playerLine, int mapWidth, int viewWidth,
                             int value, int maximum);

}  // namespace velmar
