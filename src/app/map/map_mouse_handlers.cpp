#include "map/map_mouse_handlers.h"

#include "dialogs.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor_document.h"

namespace velmar {

MapPainter::MapPainter(EditorDocument& document, Dialogs& dialogs, std::function<std::uint8_t()> brush,
                       std::function<void(MapCell)> pick)
    : document_(document), dialogs_(dialogs), brush_(std::move(brush)), pick_(std::move(pick))
{
}

bool MapPainter::press(QPoint mapPoint, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        pick_(mapCellAt(mapPoint.x(), mapPoint.y()));
        return true;
    }
    if (button != Qt::LeftButton)
        return false;
    document_.doc().beginStroke({"Place Metatile", part::Map, mapPoint.x()});
    painting_ = true;
    last_ = mapCellAt(mapPoint.x(), mapPoint.y());
    paint(last_);
    return true;
}

bool MapPainter::move(QPoint mapPoint, Qt::MouseButtons buttons)
{
    // An undo in the middle of a drag ends the stroke; the drag paints no more.
    if (!painting_ || buttons == Qt::NoButton || !document_.doc().inStroke())
        return false;
    const MapCell to = mapCellAt(mapPoint.x(), mapPoint.y());
    for (const MapCell& cell : cellsAlong(last_, to))
        paint(cell);
    last_ = to;
    return true;
}

bool MapPainter::release(QPoint, Qt::MouseButton)
{
    if (!painting_)
        return false;
    painting_ = false;
    document_.doc().endStroke();
    return true;
}

void MapPainter::paint(MapCell cell)
{
    if (!painting_)
        return;  // the stroke ended on a failure earlier in this drag
    // A cell off the map is refused without a word, as the drag goes on. A stroke that cannot be
    // stored ends there, before the message, rather than failing again at every cell.
    const Outcome<EditResult> r = edits::placeMetatile(document_.doc(), cell, brush_());
    if (const std::optional<QString> failure = editFailureText(r)) {
        release(QPoint(), Qt::LeftButton);
        dialogs_.message(*failure, Dialogs::Icon::Exclamation);
    }
}

}  // namespace velmar
