#pragma once

#include <optional>

#include "actors/actor_placement.h"

namespace velmar {

// What a press on the map does, and which actor markers show.
enum class EditMode { Map = 0, Enemies = 1, Items = 2, All = 3 };

// The mode in which actors of `kind` are selected and moved.
constexpr EditMode actorMode(ActorKind kind) { return kind == ActorKind::Enemy ? EditMode::Enemies : EditMode::Items; }

// The kind of actor a mode selects and moves; none in map mode and with all shown.
constexpr std::optional<ActorKind> actorKindOf(EditMode mode)
{
    if (mode == EditMode::Enemies)
        return ActorKind::Enemy;
    if (mode == EditMode::Items)
        return ActorKind::Item;
    return std::nullopt;
}

}  // namespace velmar
