#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "rom/scene_record.h"

// How the main window shows and moves actors: the list lines, the typed B and X positions, the
// drag rules and the scrolling that brings the selected actor into view. All positions are map
// pixels; a map column is 16 pixels.
namespace velmar {

// The two kinds of actor a scene places. The editor treats them alike: an actor of either kind
// is an `Actor`, whose alternative is its kind, and the rules below that take one pick the
// kind's own.
enum class ActorKind { Enemy = 0, Item = 1 };
using Actor = std::variant<EnemyRecord, ItemRecord>;

std::size_t actorCount(const SceneRecord& scene, ActorKind kind);
// Actor `index` of `kind`; none past the end of its list.
std::optional<Actor> actorAt(const SceneRecord& scene, ActorKind kind, std::size_t index);
// The type numbers a kind has: 256 for enemies, 16 for items (whose type has four bits).
constexpr int actorTypeCount(ActorKind kind) { return kind == ActorKind::Enemy ? 256 : 16; }
std::uint8_t actorId(const Actor& actor);
Actor withId(Actor actor, std::uint8_t id);

// "03: 12 2C 5 9": index, id, b, then screen column and row as one digit each.
std::string enemyLine(std::size_t index, const EnemyRecord& enemy);
// "00: 07 1A 80": index, id, x, y.
std::string itemLine(std::size_t index, const ItemRecord& item);
std::string actorLine(std::size_t index, const Actor& actor);
// What the position boxes show: an enemy's b as two digits, then its column and row as one
// each; an item's x and y as two digits each.
std::vector<std::string> positionTexts(const Actor& actor);

// The position typed at the prompt is an enemy's b or an item's x. The largest b is half a
// screen past the start of the last screen; the largest x the map's last column. (map_end.h
// holds the limit for one actor, which also keeps an enemy's column inside the map.)
int positionLimit(const SceneRecord& scene, ActorKind kind);
// "New B value: (hex, max = $38)" and "New X value: (hex, max = $3F)".
std::string positionPrompt(ActorKind kind, int limit);
Actor withPosition(Actor actor, std::uint8_t value);

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
// most `idCount` of them (actorTypeCount), and, when `current` has no name, one more entry
// "2A (no name)" so the actor's type still shows and stays until another is picked.
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
// dragEnemy or dragItem, by the actor's kind.
Actor dragActor(const Actor& actor, int dx, int dy);
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
// Either of the two; `from` and `to` are of one kind.
PixelOffset pictureOffset(const Actor& from, const Actor& to);

// Where the map's scroll bar goes so that the selected actor shows: the picture spans
// [left, left + width); with `playerLine` (the line's left edge) the part to show reaches to the
// line, 8 pixels beyond it. A map no wider than the view puts the bar at 0, disabled. A part left
// of the view brings its left end to the view's left edge; one that runs past the right edge
// brings its right end to the right edge, never past the bar's maximum; otherwise the view stays.
struct ScrollChoice {
    int value = 0;
    bool enabled = false;
};
ScrollChoice highlightScroll(int left, int width, std::optional<int> playerLine, int mapWidth, int viewWidth, int value,
                             int maximum);

}  // namespace velmar
