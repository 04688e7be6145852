#pragma once

#include <cstdint>
#include <functional>

#include <QPoint>

#include "mapview/map_view_rules.h"

namespace velmar {

class Dialogs;
class EditorDocument;

// What a press, a drag and a release on the map do: one tool of the map view, which routes the
// map's mouse events to the tools of the edit mode it is in, the first that takes them. Each
// returns whether it took the event.
class MapMouseHandler {
public:
    virtual ~MapMouseHandler() = default;
    virtual bool press(QPoint mapPoint, Qt::MouseButton button) = 0;
    virtual bool move(QPoint mapPoint, Qt::MouseButtons buttons) = 0;
    virtual bool release(QPoint mapPoint, Qt::MouseButton button) = 0;
};

// Map mode: a press of the left button places the brush metatile in the cell under the pointer;
// dragging with it held paints every cell on the way; the whole stroke is one step, "Place
// Metatile". The right button picks the metatile under the pointer instead (`pick`). A stroke
// the document cannot store ends, and `dialogs` says why.
class MapPainter final : public MapMouseHandler {
public:
    MapPainter(EditorDocument& document, Dialogs& dialogs, std::function<std::uint8_t()> brush,
               std::function<void(MapCell)> pick);

    bool press(QPoint mapPoint, Qt::MouseButton button) override;
    bool move(QPoint mapPoint, Qt::MouseButtons buttons) override;
    bool release(QPoint mapPoint, Qt::MouseButton button) override;

private:
    void paint(MapCell cell);

    EditorDocument& document_;
    Dialogs& dialogs_;
    std::function<std::uint8_t()> brush_;
    std::function<void(MapCell)> pick_;
    bool painting_ = false;
    MapCell last_;
};

// A mode in which a press on the map itself changes nothing (the actor markers take their own).
class NoMapEdits final : public MapMouseHandler {
public:
    bool press(QPoint, Qt::MouseButton) override { return false; }
    bool move(QPoint, Qt::MouseButtons) override { return false; }
    bool release(QPoint, Qt::MouseButton) override { return false; }
};

}  // namespace velmar
