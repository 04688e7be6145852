#pragma once

#include <cstdint>
#include <functional>

#include <QList>
#include <QObject>
#include <QPoint>

#include "map/edit_mode.h"
#include "mapview/map_view_rules.h"

class QKeyEvent;
class QLabel;

namespace velmar {

class EditorDocument;
class MapViewPanel;
enum class MapMarker;
struct KeyHelp;

// Where the user points on the map: the outlined cell, which follows the pointer or the arrow
// keys, and the status bar's text of the map pixel under the pointer and what lies there. In map
// mode the arrow keys move the outline and the map scrolls to keep it in view, Page Up and Page
// Down turn a screen, and Space or Enter do there what a click does; in the actor modes the
// arrow keys go to `actorKeys` first, and otherwise scroll the map.
class MapCursor final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<EditMode()> mode;
        std::function<std::uint8_t()> brush;
        // The arrow keys in the actor modes: true when they moved the selected actor.
        std::function<bool(const QKeyEvent&)> actorKeys;
        // What a click of the left button does at a map pixel.
        std::function<void(QPoint)> click;
    };
    MapCursor(MapViewPanel& view, const EditorDocument& document, Hooks hooks);

    // The pointer's place, for the status bar (it has no parent until the bar takes it).
    QLabel* lblPointer = nullptr;

    MapCell cell() const { return cell_; }
    // The pointer is at map pixel `point`, over `marker` (index counts for enemies and items).
    void pointAt(MapMarker marker, int index, QPoint point);
    // The status bar's text made again for the last place, after the map changed there.
    void refreshPointer();
    void hideOutline();
    // The keys the views read themselves, for the table of shortcuts.
    static QList<KeyHelp> keys();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(const QKeyEvent& key);
    void showOutline(QPoint mapPoint);
    void showPointer(MapMarker marker, int index, QPoint point);
    void moveTo(MapCell to);
    // The outlined cell, or the nearest cell in view when the map was scrolled away from it.
    MapCell cellInView() const;
    bool hasScene() const;

    MapViewPanel& view_;
    const EditorDocument& document_;
    Hooks hooks_;
    QLabel* lblHoverCell_ = nullptr;
    MapCell cell_;
    // The last place the pointer text was made for.
    MapMarker marker_{};
    int index_ = 0;
    QPoint point_{-1, -1};
};

}  // namespace velmar
