#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "actors/actor_placement.h"

// Where the map ends for an actor. An actor stands in one map column (16 pixels): an enemy in
// its b plus its column inside that screen, an item in its x plus the low nibble of its y (0 as
// loaded; the drawing adds it). A map of `length` (screens minus one) has (length + 1) * 16
// columns. An actor in a column past the last one lies beyond the map's end: the game has no
// cell there and the map view does not show it. Every way an actor is placed (the prompts, the
// boxes, the keys, a drag, a new actor, a shrink of the map, a scene file) keeps to this rule.
namespace velmar {

int actorColumn(const Actor& actor);
constexpr int lastMapColumn(int length) { return (length + 1) * 16 - 1; }
bool beyondMapEnd(const Actor& actor, int length);

// One actor of a scene: its kind and its place in its kind's list.
struct ActorRef {
    ActorKind kind = ActorKind::Enemy;
    std::size_t index = 0;
    bool operator==(const ActorRef&) const = default;
};

// The actors of `scene` that lie beyond the end of a map of `length` (enemies first, each kind
// in list order): those a shrink to that length would leave past the end.
std::vector<ActorRef> actorsBeyondEnd(const SceneRecord& scene, int length);

// "Enemy 03: 12 2C 5 9", "Item 00: 07 1A 80": an actor as the lists and the status bar show it.
std::string actorName(const SceneRecord& scene, ActorRef ref);
// "1 enemy", "3 enemies and 2 items".
std::string actorCountText(const std::vector<ActorRef>& refs);
// The names of `refs`, one a line; past `most` of them, a last line "... and 7 more".
std::string actorNameLines(const SceneRecord& scene, const std::vector<ActorRef>& refs, std::size_t most = 12);

// The actors of `after` that lie beyond the end of its map and that `before` does not already
// hold there (the same record, past the end of its own map): what a change from `before` to
// `after` would place past the end. Actors a shrink left there may stay where they are.
std::vector<ActorRef> placedBeyondEnd(const SceneRecord& before, const SceneRecord& after);

// Why `actor` cannot stand in a map of `length`, with the limit: "Item X 90 lies past the map's
// end: a map of 9 screens takes X 00 to 8F." Empty when it stands inside the map.
std::string beyondEndReason(const Actor& actor, int length);

// A move from `from` to `to` is refused when it takes the actor past the map's end, or further
// past it than `from` stood: the reason, or empty. An actor left past the end by a shrink can
// still change its type and row, or come back towards the map.
std::string moveRefusal(const Actor& from, const Actor& to, int length);
// `to` held back at the same limit, for the moves that stop at their limits (a drag, an arrow
// key): an enemy's column (its b, when the b moved) or an item's x is pulled back.
Actor limitToMapEnd(const Actor& from, const Actor& to, int length);

// The largest value the position prompt takes for `actor` (an enemy's b, an item's x): the
// limit of positionLimit, and no more than keeps the actor inside the map.
int positionLimit(const SceneRecord& scene, const Actor& actor);

// A new actor of `kind` and type `id` at map pixel (x, y), stopping at the map's last column:
// an enemy belongs to the screen that starts at the column of its screen (b), in the column
// inside it, and stands on the row whose picture is centred nearest y; an item likewise.
Actor actorAtPoint(ActorKind kind, std::uint8_t id, int x, int y, int length);

// Where the copy of `actor` goes: a column to its right, or to its left when that would be past
// the end or outside its field, else where it stands.
Actor duplicatePlace(const Actor& actor, int length);

}  // namespace velmar
