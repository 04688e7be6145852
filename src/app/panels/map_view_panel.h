#pragma once

#include <vector>

#include <QPoint>
#include <QWidget>

#include "mapview/scene_view.h"

class QLabel;
class QScrollBar;

namespace velmar {

class BitmapView;

// What lies under the pointer on the map: the map itself or one of the markers on it.
enum class MapMarker { None, Enemy, Item, PlayerStart, PlayerLine };

// The map of the current scene: a window onto the map surface (three screens wide, more in a
// wider window), which moves left to scroll, with the grid lines and the actor markers on it.
// Presses, drags and releases on the map come out in map pixels.
class MapViewPanel : public QWidget {
    Q_OBJECT
public:
    explicit MapViewPanel(QWidget* parent = nullptr);

    QWidget* picContainer = nullptr;
    BitmapView* picRenderDest = nullptr;
    QScrollBar* hscrollRenderer = nullptr;
    std::vector<BitmapView*> picEnemy;
    std::vector<BitmapView*> picPwrUp;
    BitmapView* picMainCharacterSpawn = nullptr;
    QLabel* lblSelActorHighlight = nullptr;
    BitmapView* linePlayerPos = nullptr;

    // Shows the rendered map and lays out the actor markers (enemies and items hidden, the player
    // start shown). With `resize` the surface takes the map's size and the scroll bar starts at
    // the end the scene runs from.
    void showMap(const SceneView& view, const SceneRecord& scene, bool resize);
    // No scene: an empty map without markers.
    void clear();
    void setEnemiesVisible(bool visible);
    void setItemsVisible(bool visible);
    // The metatile and screen grids of a map of `screens` screens, in the colour of `colourValue`.
    void buildGridLines(int screens, bool showMetatileGrid, bool showScreenGrid, int colourValue);
    void setGrid(bool showMetatileGrid, bool showScreenGrid, int colourValue);
    // Scrolls as little as needed for map pixel column `mapX` to be in view.
    void scrollToShow(int mapX);
    // The width of the map's window in map pixels: three screens at 1x, more in a wider window,
    // fewer when zoomed.
    int viewWidth() const;
    // The map shown at `zoom` (1..4) screen pixels per map pixel, with map column `keepMapX`
    // staying at view column `atViewX` (the pointer, or the view's centre).
    void setZoom(int zoom, int keepMapX, int atViewX);
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

public slots:
    void hscrollRenderer_Change(int value);

signals:
    void mapPressed(QPoint point, Qt::MouseButton button);
    void mapMoved(QPoint point, Qt::MouseButtons buttons);
    void mapReleased(QPoint point, Qt::MouseButton button);
    // Presses, drags and releases on the markers, in map pixels (also while a marker moves).
    void markerPressed(MapMarker marker, int index, QPoint point);
    void markerMoved(MapMarker marker, int index, QPoint point);
    void markerReleased(MapMarker marker, int index, QPoint point);
    // Ctrl+wheel over the map: one step in (+1) or out (-1), the pointer at `viewX` of the window.
    void zoomRequested(int steps, int viewX);
    // The pointer moves over the map with no button held: the map pixel and what lies there.
    void pointerOver(MapMarker marker, int index, QPoint point);

protected:
    // The wheel scrolls the map sideways (with or without Shift).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupMapScroll(int screens, bool startAtLeft);
    void placeActorMarkers(const SceneView& view);
    void connectMarker(BitmapView* picture, MapMarker marker, int index);

    int screens_ = 1;
    int zoom_ = 1;
    int enemyCount_ = 0;
    int itemCount_ = 0;
};

}  // namespace velmar
