#pragma once

#include <optional>

#include <QPoint>

#include "actors/actor_placement.h"
#include "panels/map_view_panel.h"

class QKeyEvent;

namespace velmar {

class ActorsPanel;
class Dialogs;
class EditorDocument;

// The actor markers on the map under the mouse and the arrow keys. A press on an enemy or item
// picture selects the actor and, in its kind's mode, takes hold of it; while the button is held
// the picture shows where a release there would put it (a drop outside the map puts it back),
// and the release makes the edit. The player-position line moves the selected enemy's b by
// whole columns, the start marker the player start by pixels. The arrow keys move the selected
// actor a column or a row, Shift with Left and Right an enemy's b.
class ActorDragTool {
public:
    ActorDragTool(ActorsPanel& panel, EditorDocument& document, Dialogs& dialogs, MapViewPanel& map);

    void press(MapMarker marker, int index, QPoint point);
    void move(MapMarker marker, int index, QPoint point);
    void release(MapMarker marker, int index, QPoint point);
    // True when the key moved the selected actor of the mode.
    bool moveByKey(const QKeyEvent& key);
    // The pictures were laid out again: the drag under way, if any, has nothing left to move.
    void forget() { drag_ = Drag{}; }

private:
    struct Drag {
        MapMarker marker = MapMarker::None;
        // The enemy or item held; for the player line, the selected enemy.
        int index = 0;
        // Where the pointer took hold, in map pixels.
        QPoint grab;
        QPoint pictureOrigin;
        QPoint highlightOrigin;
        QPoint lineOrigin;
    };
    bool holds(MapMarker marker, int index) const;
    bool dropInside(QPoint point) const;
    void start(MapMarker marker, int index, QPoint grab);
    // The enemy or item held (the selected enemy for the line); none for the start.
    std::optional<Actor> held() const;
    // Where the actor held, now `from`, lands for a release at `point`: where it is, off the map.
    Actor landing(const Actor& from, QPoint point) const;
    // Shows the dragged picture (and frame) moved by `offset` map pixels from where it was, and
    // the player line at `lineX` when that is not -1.
    void showAt(QPoint offset, int lineX);
    // Puts the dragged pictures back where they were and forgets the drag.
    void end();

    ActorsPanel& panel_;
    EditorDocument& document_;
    Dialogs& dialogs_;
    MapViewPanel& map_;
    Drag drag_;
};

}  // namespace velmar
