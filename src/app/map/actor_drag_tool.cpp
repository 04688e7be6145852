#include "map/actor_drag_tool.h"

#include <QKeyEvent>
#include <QLabel>

#include "actors/map_end.h"
#include "base/hex.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor_document.h"
#include "panels/actors_panel.h"
#include "qt_bridge.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

// A press on these takes hold of the actor of that kind and index.
std::optional<ActorKind> kindOf(MapMarker marker)
{
    if (marker == MapMarker::Enemy)
        return ActorKind::Enemy;
    if (marker == MapMarker::Item)
        return ActorKind::Item;
    return std::nullopt;
}

// The names of the steps a drag or a key makes.
const char* moveName(ActorKind kind) { return kind == ActorKind::Enemy ? "Move Enemy" : "Move Item"; }
constexpr const char* kMoveBase = "Move Enemy Base";

// An arrow key moves an actor a column or a row.
constexpr int kStep = 16;

}  // namespace

ActorDragTool::ActorDragTool(ActorsPanel& panel, EditorDocument& document, Dialogs& dialogs, MapViewPanel& map)
    : panel_(panel), document_(document), dialogs_(dialogs), map_(map)
{
}

bool ActorDragTool::holds(MapMarker marker, int index) const
{
    // The line and the start are one each; the pictures are told apart by their index.
    return drag_.marker == marker && (!kindOf(marker) || drag_.index == index);
}

bool ActorDragTool::dropInside(QPoint point) const
{
    return dropInsideMap(point.x(), point.y(), map_.toMap(map_.picRenderDest->width()),
                         map_.toMap(map_.picRenderDest->height()));
}

void ActorDragTool::start(MapMarker marker, int index, QPoint grab)
{
    drag_ = Drag{marker, index, grab, {}, {}, {}};
    const MapMarker pictureMarker = marker == MapMarker::PlayerLine ? MapMarker::Enemy : marker;
    if (const QWidget* picture = map_.markerPicture(pictureMarker, index))
        drag_.pictureOrigin = picture->pos();
    drag_.highlightOrigin = map_.lblSelActorHighlight->pos();
    drag_.lineOrigin = map_.linePlayerPos->pos();
}

void ActorDragTool::showAt(QPoint offset, int lineX)
{
    const MapMarker pictureMarker = drag_.marker == MapMarker::PlayerLine ? MapMarker::Enemy : drag_.marker;
    if (QWidget* picture = map_.markerPicture(pictureMarker, drag_.index))
        picture->move(drag_.pictureOrigin + map_.toView(offset));
    if (drag_.marker != MapMarker::PlayerStart)
        map_.lblSelActorHighlight->move(drag_.highlightOrigin + map_.toView(offset));
    if (lineX >= 0)
        map_.linePlayerPos->move(map_.toView(QPoint(lineX, 0)).x(), drag_.lineOrigin.y());
}

void ActorDragTool::end()
{
    if (drag_.marker != MapMarker::None)
        showAt(QPoint(), drag_.marker == MapMarker::PlayerLine ? map_.toMap(drag_.lineOrigin.x()) : -1);
    drag_ = Drag{};
}

std::optional<Actor> ActorDragTool::held() const
{
    const auto kind = drag_.marker == MapMarker::PlayerLine ? ActorKind::Enemy : kindOf(drag_.marker);
    if (!kind || !document_.doc().hasScene())
        return std::nullopt;
    return actorAt(document_.doc().currentScene(), *kind, static_cast<std::size_t>(drag_.index));
}

Actor ActorDragTool::landing(const Actor& from, QPoint point) const
{
    if (!dropInside(point))
        return from;
    const QPoint moved = point - drag_.grab;
    const Actor to = drag_.marker == MapMarker::PlayerLine
        ? Actor(dragEnemyBase(std::get<EnemyRecord>(from), moved.x()))
        : dragActor(from, moved.x(), moved.y());
    // It stops at the map's end, as it stops at the edges of its field.
    return limitToMapEnd(from, to, document_.doc().currentScene().length);
}

void ActorDragTool::press(MapMarker marker, int index, QPoint point)
{
    if (!document_.doc().hasScene())
        return;
    if (const auto kind = kindOf(marker)) {
        panel_.select(*kind, index);
        if (panel_.mode() == actorMode(*kind) && panel_.selected(*kind) == index)
            start(marker, index, point);
    } else if (marker == MapMarker::PlayerLine) {
        if (!document_.doc().currentScene().enemies.empty())
            start(marker, panel_.selected(ActorKind::Enemy), point);
    } else if (marker == MapMarker::PlayerStart) {
        start(marker, 0, point);
    }
}

void ActorDragTool::move(MapMarker marker, int index, QPoint point)
{
    if (!holds(marker, index) || marker == MapMarker::None)
        return;
    const SceneRecord& s = document_.doc().currentScene();
    const QPoint moved = point - drag_.grab;
    if (marker == MapMarker::PlayerStart) {
        const StartPosition to = dragStart({s.startX, s.startY}, moved.x(), moved.y());
        showAt(QPoint(to.x - s.startX, to.y - s.startY), -1);
        return;
    }
    const auto from = held();
    if (!from)
        return;
    const Actor to = landing(*from, point);
    const PixelOffset o = pictureOffset(*from, to);
    showAt(QPoint(o.dx, o.dy), marker == MapMarker::PlayerLine ? playerLineX(std::get<EnemyRecord>(to)) : -1);
}

void ActorDragTool::release(MapMarker marker, int index, QPoint point)
{
    const bool mine = holds(marker, index) && marker != MapMarker::None;
    const Drag was = drag_;
    const auto from = mine ? held() : std::nullopt;
    const std::optional<Actor> to = from ? std::optional(landing(*from, point)) : std::nullopt;
    end();
    if (!mine || !document_.doc().hasScene())
        return;
    if (marker == MapMarker::PlayerStart) {
        const SceneRecord& s = document_.doc().currentScene();
        // Where the start is dropped does not matter: it moves by the pointer's movement.
        const QPoint moved = point - was.grab;
        const StartPosition at = dragStart({s.startX, s.startY}, moved.x(), moved.y());
        showEditFailure(dialogs_, edits::moveStart(document_.doc(), at.x, at.y));
        return;
    }
    if (!to || !dropInside(point))
        return;
    const bool line = marker == MapMarker::PlayerLine;
    const ActorKind kind = line ? ActorKind::Enemy : *kindOf(marker);
    const std::size_t at = panel_.store(static_cast<std::size_t>(was.index), *to, line ? kMoveBase : moveName(kind));
    panel_.follow(kind, static_cast<int>(at), true, !line);
}

bool ActorDragTool::moveByKey(const QKeyEvent& key)
{
    const auto kind = actorKindOf(panel_.mode());
    if (!document_.doc().hasScene() || drag_.marker != MapMarker::None || !kind)
        return false;
    int dx = 0;
    int dy = 0;
    switch (key.key()) {
    case Qt::Key_Left: dx = -kStep; break;
    case Qt::Key_Right: dx = kStep; break;
    case Qt::Key_Up: dy = -kStep; break;
    case Qt::Key_Down: dy = kStep; break;
    default: return false;
    }
    const int index = panel_.selected(*kind);
    const auto from = actorAt(document_.doc().currentScene(), *kind, static_cast<std::size_t>(index));
    if (!from)
        return false;
    // Shift moves the enemy's screen (its b) along with the player line, as dragging the line does.
    const bool base = *kind == ActorKind::Enemy && (key.modifiers() & Qt::ShiftModifier);
    if (base && dx == 0)
        return true;
    const Actor wanted = base ? Actor(dragEnemyBase(std::get<EnemyRecord>(*from), dx)) : dragActor(*from, dx, dy);
    const int length = document_.doc().currentScene().length;
    const Actor to = limitToMapEnd(*from, wanted, length);
    if (to != *from) {
        const std::size_t at = panel_.store(static_cast<std::size_t>(index), to, base ? kMoveBase : moveName(*kind));
        panel_.follow(*kind, static_cast<int>(at), true, !base);
    }
    // Said after the step, which retires an earlier word of the status bar.
    if (to != wanted)
        panel_.say(QString("The map ends with column %1: the %2 goes no further.")
                       .arg(qs(hexPad(lastMapColumn(length), 2)), *kind == ActorKind::Enemy ? "enemy" : "item"));
    return true;
}

}  // namespace velmar
