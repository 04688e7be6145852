#include "map/map_cursor.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include "actors/actor_placement.h"
#include "editor_document.h"
#include "windows/frm_shortcuts.h"
#include "gfx/metatile_render.h"
#include "map/map_selection.h"
#include "mapview/map_region.h"
#include "panels/map_view_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"
#include "widgets/marker_frame.h"

namespace velmar {

namespace {

constexpr int kColumnsPerScreen = kScreenWidth / kMetatileSize;

QPoint cellCentre(MapCell cell)
{
    return {cell.column * kMetatileSize + kMetatileSize / 2, cell.row * kMetatileSize + kMetatileSize / 2};
}

}  // namespace

MapCursor::MapCursor(MapViewPanel& view, const EditorDocument& document, Hooks hooks)
    : QObject(&view), view_(view), document_(document), hooks_(std::move(hooks))
{
    lblPointer = new QLabel;
    lblPointer->setObjectName("lblPointer");
    lblPointer->setAccessibleName("Pointer position");
    // Dark and light, so that it shows on any metatile.
    lblHoverCell_ = new MarkerFrame(view_.picRenderDest, Qt::white);
    lblHoverCell_->setObjectName("lblHoverCell");
    lblHoverCell_->setAccessibleName("Outlined cell");
    lblHoverCell_->hide();
    view_.picContainer->installEventFilter(this);
    view_.picRenderDest->installEventFilter(this);
    view_.picRenderDest->setAccessibleDescription(
        "In map mode the arrow keys move the outlined cell and Space or Enter places the chosen metatile there; "
        "in enemy and item modes the arrow keys move the selected actor, Insert adds one, Delete deletes it and "
        "Ctrl+D duplicates it");
}

QList<KeyHelp> MapCursor::keys()
{
    return {
        {"Arrow keys", "Map mode: move the outlined cell; the map scrolls to keep it in view", "Map"},
        {"Space, Enter", "Map mode: place the chosen metatile in the outlined cell (or put a floating paste there)",
         "Map"},
        {"Page Up, Page Down", "Scroll the map a screen (in map mode the outline goes along)", "Map"},
        {"Arrow keys", "Enemy and item modes: move the selected actor a column or a row", "Map"},
        {"Shift+Left, Shift+Right", "Enemy mode: move the selected enemy to another screen (its B)", "Map"},
        {"Insert", "Enemy and item modes: add an actor of the mode at the pointer (Add Enemy, Add Item)",
         "Map, enemy and item lists"},
        {"Delete", "Enemy and item modes: delete the selected actor (Delete Enemy, Delete Item)",
         "Map, enemy and item lists"},
        {"Ctrl+D", "Enemy and item modes: duplicate the selected actor (Duplicate Enemy, Duplicate Item)",
         "Map, enemy and item lists"},
        {"Arrow keys", "Choose the metatile beside the chosen one, or a row up or down", "Metatile picker"},
        {"Enter", "Take the value typed; in a box left as it is, ask for a new B (enemy) or X (item)",
         "Position boxes"},
        {"1, 2, 3, 4", "Choose the left button's colour", "Background and Sprite Editors"},
        {"Space, Enter (Shift: right button)", "Take the focused swatch's colour", "Colour swatches"},
        {"Escape", "Close the window", "Editor windows"},
    };
}

bool MapCursor::hasScene() const { return document_.doc().hasScene(); }

void MapCursor::pointAt(MapMarker marker, int index, QPoint point)
{
    if (!hasScene())
        return;
    showOutline(point);
    showPointer(marker, index, point);
}

void MapCursor::refreshPointer()
{
    if (point_.x() >= 0)
        showPointer(marker_, index_, point_);
}

void MapCursor::hideOutline() { lblHoverCell_->hide(); }

void MapCursor::showOutline(QPoint mapPoint)
{
    MapSelection& selection = view_.selectionTool();
    selection.follow(mapPoint);
    const MapCell cell = mapCellAt(mapPoint.x(), mapPoint.y());
    const bool show = hooks_.mode() == EditMode::Map && hasScene() && metatileAt(document_.doc().currentScene(), cell);
    if (show)
        cell_ = cell;  // Space and Enter act where the outline is
    // A floating paste shows where it goes itself.
    lblHoverCell_->setVisible(show && !selection.pasting());
    if (show) {
        lblHoverCell_->setGeometry(
            view_.toView(QRect(cell.column * kMetatileSize, cell.row * kMetatileSize, kMetatileSize, kMetatileSize)));
        lblHoverCell_->raise();
    }
}

void MapCursor::showPointer(MapMarker marker, int index, QPoint point)
{
    if (!hasScene())
        return;
    marker_ = marker;
    index_ = index;
    point_ = point;
    const bool mapMode = hooks_.mode() == EditMode::Map;
    QString text = qs(pointerText(point.x(), point.y(), !mapMode));
    const SceneRecord& s = document_.doc().currentScene();
    if (mapMode) {
        if (const auto m = metatileAt(s, mapCellAt(point.x(), point.y())))
            text += "  Metatile " + qs(hexPad(*m, 2));
    }
    const auto at = static_cast<std::size_t>(index);
    if (marker == MapMarker::Enemy && at < s.enemies.size())
        text += "    Enemy " + qs(enemyLine(at, s.enemies[at]));
    else if (marker == MapMarker::Item && at < s.items.size())
        text += "    Item " + qs(itemLine(at, s.items[at]));
    else if (marker == MapMarker::PlayerStart)
        text += "    Player start " + qs(hexPad(s.startX, 2) + " " + hexPad(s.startY, 2));
    lblPointer->setText(text);
}

bool MapCursor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_.picContainer && event->type() == QEvent::Leave) {
        lblPointer->clear();
        point_ = QPoint(-1, -1);
        // With the focus on the map the outline stays for the keys.
        if (!view_.picRenderDest->hasFocus())
            lblHoverCell_->hide();
    }
    if (watched == view_.picRenderDest) {
        if (event->type() == QEvent::KeyPress && keyPress(*static_cast<QKeyEvent*>(event)))
            return true;
        // A click outlines the cell under the pointer itself; Tab needs the outline shown.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason
            && hasScene() && hooks_.mode() == EditMode::Map) {
            // Where the keys start: the cell last outlined, brought into view.
            moveTo(cellInView());
            lblPointer->setText("Arrow keys move the outline; Space or Enter places metatile "
                                + qs(hexPad(hooks_.brush(), 2)));
        }
        if (event->type() == QEvent::FocusOut && !view_.picContainer->underMouse())
            lblHoverCell_->hide();
    }
    return QObject::eventFilter(watched, event);
}

bool MapCursor::keyPress(const QKeyEvent& key)
{
    if (!hasScene())
        return false;
    if (hooks_.mode() != EditMode::Map) {
        if (hooks_.actorKeys && hooks_.actorKeys(key))
            return true;
        // Otherwise the keys scroll the map: a column, or a screen.
        const int step = key.key() == Qt::Key_Left ? -kMetatileSize
            : key.key() == Qt::Key_Right           ? kMetatileSize
            : key.key() == Qt::Key_PageUp          ? -kColumnsPerScreen * kMetatileSize
            : key.key() == Qt::Key_PageDown        ? kColumnsPerScreen * kMetatileSize
                                                   : 0;
        if (step == 0 || key.modifiers() != Qt::NoModifier)
            return false;
        view_.scrollBy(step);
        return true;
    }
    // Arrow keys come with the keypad modifier on some keyboards.
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const SceneRecord& s = document_.doc().currentScene();
    const MapCell from = cellInView();
    switch (key.key()) {
    case Qt::Key_Left: moveTo(stepCell(s, from, -1, 0)); return true;
    case Qt::Key_Right: moveTo(stepCell(s, from, 1, 0)); return true;
    case Qt::Key_Up: moveTo(stepCell(s, from, 0, -1)); return true;
    case Qt::Key_Down: moveTo(stepCell(s, from, 0, 1)); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The view turns a screen and the outline goes along, where the map lets it.
        const int screens = key.key() == Qt::Key_PageUp ? -1 : 1;
        view_.scrollBy(screens * kColumnsPerScreen * kMetatileSize);
        moveTo(stepCell(s, from, screens * kColumnsPerScreen, 0));
        return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cell_ = from;
        hooks_.click(cellCentre(cell_));
        return true;
    default: return false;
    }
}

MapCell MapCursor::cellInView() const
{
    // Scrolled away from the outline with the bar or the wheel, the keys start in view rather
    // than scrolling back.
    return velmar::cellInView(document_.doc().currentScene(), cell_, view_.hscrollRenderer->value(), view_.viewWidth());
}

void MapCursor::moveTo(MapCell to)
{
    cell_ = stepCell(document_.doc().currentScene(), to, 0, 0);
    view_.hscrollRenderer->setValue(
        scrollToShowColumn(cell_.column, view_.hscrollRenderer->value(), view_.viewWidth()));
    showOutline(cellCentre(cell_));
    showPointer(MapMarker::None, 0, cellCentre(cell_));
}

}  // namespace velmar
