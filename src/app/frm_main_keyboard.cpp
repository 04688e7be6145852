// The main window's map by keyboard: the outlined cell the arrow keys move, placing the chosen
// metatile there with Space or Enter, moving the selected actor in the actor modes, and the
// table of the keys the views read themselves.
#include <algorithm>

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include "frm_main.h"
#include "frm_shortcuts.h"
#include "map_mouse_handlers.h"
#include "mapview/map_region.h"
#include "panels/map_view_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"
#include "gfx/metatile_render.h"

namespace velmar {

namespace {

constexpr int kColumnsPerScreen = 8;

QPoint cellCentre(MapCell cell) { return {cell.column * kMetatileSize + kMetatileSize / 2, cell.row * kMetatileSize + kMetatileSize / 2}; }

}  // namespace

QList<KeyHelp> frmMain::mapKeys()
{
    return {
        {"Arrow keys", "Map mode: move the outlined cell; the map scrolls to keep it in view", "Map"},
        {"Space, Enter", "Map mode: place the chosen metatile in the outlined cell (or put a floating paste there)",
         "Map"},
        {"Page Up, Page Down", "Scroll the map a screen (in map mode the outline goes along)", "Map"},
        {"Arrow keys", "Enemy and item modes: move the selected actor a column or a row", "Map"},
        {"Shift+Left, Shift+Right", "Enemy mode: move the selected enemy to another screen (its B)", "Map"},
        {"Arrow keys", "Choose the metatile beside the chosen one, or a row up or down", "Metatile picker"},
        {"Enter", "Type a new B (enemy) or X (item)", "B and X boxes"},
        {"1, 2, 3, 4", "Choose the left button's colour", "Background and Sprite Editors"},
        {"Space, Enter (Shift: right button)", "Take the focused swatch's colour", "Colour swatches"},
        {"Escape", "Close the window", "Editor windows"},
    };
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picContainer && event->type() == QEvent::Leave) {
        lblPointer_->clear();
        pointer_ = PointerPlace{};
        // With the focus on the map the outline stays for the keys.
        if (!picRenderDest->hasFocus())
            lblHoverCell_->hide();
    }
    if (watched == picRenderDest) {
        if (event->type() == QEvent::KeyPress && mapKeyPress(*static_cast<QKeyEvent*>(event)))
            return true;
        // A click outlines the cell under the pointer itself; Tab needs the outline shown.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason
            && doc().hasScene() && editMode_ == EditMode::Map) {
            // Where the keys start: the cell last outlined, brought into view.
            moveMapCursor(mapCursorInView());
            lblPointer_->setText("Arrow keys move the outline; Space or Enter places metatile "
                                 + qs(hexPad(brushMetatile(), 2)));
        }
        if (event->type() == QEvent::FocusOut && !picContainer->underMouse())
            lblHoverCell_->hide();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::mapKeyPress(const QKeyEvent& key)
{
    if (!doc().hasScene())
        return false;
    if (editMode_ != EditMode::Map) {
        if (moveSelectedActorByKey(key))
            return true;
        // Otherwise the keys scroll the map: a column, or a screen.
        const int step = key.key() == Qt::Key_Left       ? -kMetatileSize
                         : key.key() == Qt::Key_Right    ? kMetatileSize
                         : key.key() == Qt::Key_PageUp   ? -kColumnsPerScreen * kMetatileSize
                         : key.key() == Qt::Key_PageDown ? kColumnsPerScreen * kMetatileSize
                                                         : 0;
        if (step == 0 || key.modifiers() != Qt::NoModifier)
            return false;
        mapView->scrollBy(step);
        return true;
    }
    // Arrow keys come with the keypad modifier on some keyboards.
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const SceneRecord& s = doc().currentScene();
    const MapCell from = mapCursorInView();
    switch (key.key()) {
    case Qt::Key_Left: moveMapCursor(stepCell(s, from, -1, 0)); return true;
    case Qt::Key_Right: moveMapCursor(stepCell(s, from, 1, 0)); return true;
    case Qt::Key_Up: moveMapCursor(stepCell(s, from, 0, -1)); return true;
    case Qt::Key_Down: moveMapCursor(stepCell(s, from, 0, 1)); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The view turns a screen and the outline goes along, where the map lets it.
        const int screens = key.key() == Qt::Key_PageUp ? -1 : 1;
        mapView->scrollBy(screens * kColumnsPerScreen * kMetatileSize);
        moveMapCursor(stepCell(s, from, screens * kColumnsPerScreen, 0));
        return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        mapCursor_ = from;
        placeAtMapCursor();
        return true;
    default: return false;
    }
}

MapCell frmMain::mapCursorInView() const
{
    // Scrolled away from the outline with the bar or the wheel, the keys start at the nearest
    // column in view rather than scrolling back.
    const int first = hscrollRenderer->value();
    const int firstColumn = (first + kMetatileSize - 1) / kMetatileSize;
    const int lastColumn = std::max(firstColumn, (first + mapView->viewWidth()) / kMetatileSize - 1);
    MapCell cell = mapCursor_;
    cell.column = std::clamp(cell.column, firstColumn, lastColumn);
    return stepCell(doc().currentScene(), cell, 0, 0);
}

void frmMain::moveMapCursor(MapCell to)
{
    if (!doc().hasScene())
        return;
    mapCursor_ = stepCell(doc().currentScene(), to, 0, 0);
    // As little scrolling as shows the whole cell.
    const int first = hscrollRenderer->value();
    const int width = mapView->viewWidth();
    const int x = mapCursor_.column * kMetatileSize;
    if (x < first)
        hscrollRenderer->setValue(x);
    else if (x + kMetatileSize > first + width)
        hscrollRenderer->setValue(x + kMetatileSize - width);
    showHover(cellCentre(mapCursor_));
    showPointer(MapMarker::None, 0, cellCentre(mapCursor_));
}

void frmMain::placeAtMapCursor()
{
    if (!doc().hasScene() || editMode_ != EditMode::Map)
        return;
    const QPoint point = cellCentre(mapCursor_);
    // What a click of the left button does there: the same step, by the same way.
    if (pasting_ || cmdSelect->isChecked()) {
        selectionMouseDown(point, Qt::LeftButton);
        selectionMouseUp();
        return;
    }
    MapMouseHandler& painter = *mapHandlers_[static_cast<std::size_t>(EditMode::Map)];
    painter.press(point, Qt::LeftButton);
    painter.release(point, Qt::LeftButton);
}

}  // namespace velmar
