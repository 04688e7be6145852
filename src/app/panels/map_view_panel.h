#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QPoint>
#include <QWidget>

#include "editor/document.h"
#include "map/edit_mode.h"
#include "mapview/scene_view.h"

class QKeyEvent;
class QLabel;
class QScrollArea;
class QScrollBar;

namespace velmar {

class ActorSelection;
class BitmapView;
class Dialogs;
class EditorDocument;
class GridOptionsPanel;
class MapCursor;
class MapMouseHandler;
class MapSelection;

// What lies under the pointer on the map: the map itself or one of the markers on it.
enum class MapMarker { None, Enemy, Item, PlayerStart, PlayerLine };

// The marker of an actor of `kind`.
constexpr MapMarker actorMarker(ActorKind kind)
{
    return kind == ActorKind::Enemy ? MapMarker::Enemy : MapMarker::Item;
}

// The map of the current scene: a window onto the map surface (three screens wide, more in a
// wider window), which moves left to scroll, with the grid lines and the actor markers on it,
// the selected actor of the mode marked (a frame, and an enemy's player-position line). It
// redraws itself from the document's changes and the actor selection's, and its tools take the
// mouse and the keys on the map (in map pixels, at any zoom): in map mode the selection and the
// painter, in the actor modes none (the markers take their own presses, which leave as signals).
class MapViewPanel : public QWidget {
    Q_OBJECT
public:
    // What the map needs from the window around it.
    struct Hooks {
        std::function<EditMode()> mode;
        // The metatile a click places.
        std::function<std::uint8_t()> brush;
        // The right button's eyedropper chose this metatile.
        std::function<void(std::uint8_t)> pick;
        // The arrow keys in the actor modes: true when they moved the selected actor.
        std::function<bool(const QKeyEvent&)> actorKeys;
    };
    MapViewPanel(EditorDocument& document, const ActorSelection& actors, Dialogs& dialogs, Hooks hooks,
                 QWidget* parent = nullptr);
    ~MapViewPanel() override;

    // The map's window, scrolling up and down when the zoomed map is taller than the room.
    QScrollArea* scrMap = nullptr;
    QWidget* picContainer = nullptr;
    BitmapView* picRenderDest = nullptr;
    QScrollBar* hscrollRenderer = nullptr;
    std::vector<BitmapView*> picEnemy;
    std::vector<BitmapView*> picPwrUp;
    BitmapView* picMainCharacterSpawn = nullptr;
    QLabel* lblSelActorHighlight = nullptr;
    BitmapView* linePlayerPos = nullptr;
    // The map's end, a line at its right edge, and beside it how many actors lie past it, where
    // the map does not show them.
    QLabel* lblMapEnd = nullptr;
    QLabel* lblPastEnd = nullptr;

    const SceneView& sceneView() const { return view_; }
    MapSelection& selectionTool() { return *selection_; }
    MapCursor& cursor() { return *cursor_; }

    // The whole map drawn again: the sheet, the map (its size when the scene's changed), the
    // markers and the grid.
    void refresh();
    // Shows the markers the edit mode shows (enemies, items or both) and hides the others, and
    // marks the selected actor of the mode.
    void showModeMarkers();
    void setEnemiesVisible(bool visible);
    void setItemsVisible(bool visible);
    // The grid lines the frame's options ask for, now and whenever they change.
    void followGrid(const GridOptionsPanel& options);
    // Scrolls as little as needed for map pixel column `mapX` to be in view.
    void scrollToShow(int mapX);
    // Scrolls as little as needed for actor `index` of `kind` to be in view, an enemy's player
    // line too `withPlayerLine`.
    void scrollToActor(ActorKind kind, int index, bool withPlayerLine);
    // The width of the map's window in map pixels: three screens at 1x, more in a wider window,
    // fewer when zoomed.
    int viewWidth() const;
    // The map at `zoom` (1..4): the map column at `viewX` of the window (its centre for -1)
    // stays where it is.
    void setMapZoom(int zoom, int viewX = -1);
    int zoom() const { return zoom_; }
    // Map pixels to the pixels of the map picture and back (the markers sit in these).
    QPoint toView(QPoint mapPoint) const { return mapPoint * zoom_; }
    QRect toView(const QRect& mapRect) const
    {
        return {mapRect.x() * zoom_, mapRect.y() * zoom_, mapRect.width() * zoom_, mapRect.height() * zoom_};
    }
    int toMap(int viewPixels) const { return viewPixels / zoom_; }
    // Scrolls the map by `pixels` (negative: to the left), within the scroll bar's range.
    void scrollBy(int pixels);
    // The picture of a marker (index counts for enemies and items), or nullptr.
    QWidget* markerPicture(MapMarker marker, int index) const;

    // What a click of the left button does at map pixel `point`.
    void clickAt(QPoint point);
    // The map as the view shows it, with the actors the mode shows, into a PNG file the user
    // names.
    void exportMap();
    // Every cell of the map to metatile 0, when the user says so.
    void clearArea();

public slots:
    void hscrollRenderer_Change(int value);
    void picRenderDest_MouseDown(QPoint point, Qt::MouseButton button);
    void picRenderDest_MouseMove(QPoint point, Qt::MouseButtons buttons);
    void picRenderDest_MouseUp(QPoint point, Qt::MouseButton button);

signals:
    // Presses, drags and releases on the markers, in map pixels (also while a marker moves).
    void markerPressed(MapMarker marker, int index, QPoint point);
    void markerMoved(MapMarker marker, int index, QPoint point);
    void markerReleased(MapMarker marker, int index, QPoint point);
    // The pointer moves over the map with no button held: the map pixel and what lies there.
    void pointerOver(MapMarker marker, int index, QPoint point);
    // The metatile sheet of the scene was drawn again.
    void sheetDrawn(const Bitmap& sheet);
    // The map and the actor pictures on it were drawn again (or cleared) after `event`, a change
    // of the document other than a save. What stands on the map follows from here rather than
    // from the document's own event, which may reach it before the map was drawn.
    void sceneDrawn(const velmar::DocumentEvent& event);
    // The context menu was asked for over map pixel `point` (on the map or a marker on it);
    // `global` is where the pointer is on the screen.
    void contextMenuRequested(QPoint point, QPoint global);
    // The map is shown at `zoom` (1..4).
    void zoomChanged(int zoom);

protected:
    // The wheel scrolls the map sideways (with or without Shift).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void document_Changed(const DocumentEvent& event);
    // A new scene: drawn whole, the map at its start, no selection.
    void showScene();
    // No scene: an empty map without markers.
    void clear();
    void drawSheet();
    // Renders the map and lays out the actor markers. With `resize` the surface takes the map's
    // size and the scroll bar starts at the end the scene runs from.
    void renderMap(bool resize);
    void buildGridLines();
    void setGrid(bool showMetatileGrid, bool showScreenGrid, int colourValue);
    // The map shown at `zoom` screen pixels per map pixel, with map column `keepMapX` staying at
    // view column `atViewX`.
    void setZoom(int zoom, int keepMapX, int atViewX);
    void setupMapScroll(int screens, bool startAtLeft);
    void limitHeight();
    void placeActorMarkers(const SceneView& view);
    // The frame round the selected actor of the mode and the selected enemy's player line.
    void markSelection();
    void placeEndMarkers();
    void connectMarker(BitmapView* picture, MapMarker marker, int index);
    bool hasScene() const;
    MapMouseHandler& modeTool();

    EditorDocument& document_;
    const ActorSelection& actors_;
    Dialogs& dialogs_;
    Hooks hooks_;
    SceneView view_;
    std::unique_ptr<MapMouseHandler> painter_;
    std::unique_ptr<MapMouseHandler> noEdits_;
    MapSelection* selection_ = nullptr;
    MapCursor* cursor_ = nullptr;
    int screens_ = 1;
    int zoom_ = 1;
    int enemyCount_ = 0;
    int itemCount_ = 0;
    bool metatileGrid_ = false;
    bool screenGrid_ = false;
    int gridColour_ = 0;
};

}  // namespace velmar
