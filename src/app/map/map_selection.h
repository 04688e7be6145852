#pragma once

#include <cstdint>
#include <functional>

#include <QList>
#include <QObject>

#include "map/map_mouse_handlers.h"
#include "mapview/map_region.h"

class QLabel;

namespace velmar {

class BitmapView;
class Dialogs;
class EditorDocument;
class MapViewPanel;

// The map view's selection tool: a rectangle of cells (a drag with the tool on, or Shift+drag),
// the clipboard it is copied to, and a floating copy of the clipboard that follows the pointer
// until a click places it (the right button drops it). Cut fills the cells with the brush,
// Delete with metatile FF, each one step. The clipboard outlives scene switches; the selection
// and the floating copy do not.
class MapSelection final : public QObject, public MapMouseHandler {
    Q_OBJECT
public:
    MapSelection(MapViewPanel& view, EditorDocument& document, Dialogs& dialogs, std::function<std::uint8_t()> brush);

    const CellRect& selection() const { return selection_; }
    const MapBlock& clipboard() const { return clipboard_; }
    bool pasting() const { return pasting_; }
    // The "Select" button: a left drag selects instead of painting.
    void setSelectTool(bool on) { selectTool_ = on; }
    // What a left click does here is this tool's (rather than the painter's).
    bool takesClicks() const { return pasting_ || selectTool_; }

    bool press(QPoint mapPoint, Qt::MouseButton button) override;
    bool move(QPoint mapPoint, Qt::MouseButtons buttons) override;
    bool release(QPoint mapPoint, Qt::MouseButton button) override;

    void copy();
    void cut();
    void paste();
    void fill();
    void erase();
    void selectNone();
    // The frame and the floating copy drawn again at the map's zoom.
    void refresh();
    // The floating copy follows the pointer to map pixel `mapPoint`.
    void follow(QPoint mapPoint);

signals:
    // Whether there is a selection for Copy, Cut, Fill Selection and Delete, and something to paste.
    void commandsChanged(bool selected, bool canPaste);

private:
    bool hasScene() const;
    // The selection's frame, and the commands enabled as they apply.
    void showFrame();

    MapViewPanel& view_;
    EditorDocument& document_;
    Dialogs& dialogs_;
    std::function<std::uint8_t()> brush_;
    CellRect selection_;
    MapCell anchor_;
    bool selecting_ = false;
    bool selectTool_ = false;
    MapBlock clipboard_;
    bool pasting_ = false;
    QLabel* lblSelection_ = nullptr;
    BitmapView* picFloating_ = nullptr;
};

}  // namespace velmar
