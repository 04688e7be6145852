#include "panels/map_view_panel.h"

#include <algorithm>

#include <QFileInfo>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "dialogs.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor_document.h"
#include "gfx/metatile_render.h"
#include "gfx/png_file.h"
#include "map/map_cursor.h"
#include "map/map_mouse_handlers.h"
#include "map/map_selection.h"
#include "actor_selection.h"
#include "actors/map_end.h"
#include "mapview/map_region.h"
#include "mapview/map_view_rules.h"
#include "panels/grid_options_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "rom/rom_file.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

std::vector<QLine> toQLines(const std::vector<GridLine>& lines)
{
    std::vector<QLine> out;
    out.reserve(lines.size());
    for (const GridLine& l : lines)
        out.emplace_back(l.x1, l.y1, l.x2, l.y2);
    return out;
}

// Line sets of the map surface, in the order buildGridLines fills them.
enum GridSet : std::size_t { kMetatileVertical, kMetatileHorizontal, kScreenVertical };

}  // namespace

MapViewPanel::MapViewPanel(EditorDocument& document, const ActorSelection& actors, Dialogs& dialogs, Hooks hooks,
                           QWidget* parent)
    : QWidget(parent), document_(document), actors_(actors), dialogs_(dialogs), hooks_(std::move(hooks))
{
    setObjectName("mapViewPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    // The map's window takes the width the main window leaves it (three screens, more in a wider
    // window, less in a narrow one) and scrolls up and down when the zoomed map is taller than
    // the room; its own scroll bar stays in view under it.
    scrMap = new QScrollArea(this);
    scrMap->setObjectName("scrMap");
    scrMap->setAccessibleName("Map");
    scrMap->setFrameShape(QFrame::NoFrame);
    scrMap->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrMap->setWidgetResizable(true);
    scrMap->setMinimumWidth(kScreenWidth);
    picContainer = new QWidget(scrMap);
    picContainer->setObjectName("picContainer");
    picContainer->setAccessibleName("Map window");
    picContainer->setMinimumSize(kScreenWidth, kMapHeight);
    picContainer->setMaximumHeight(kMapHeight);
    picContainer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    picContainer->setAutoFillBackground(true);
    picContainer->installEventFilter(this);
    picRenderDest = new BitmapView(picContainer);
    picRenderDest->setObjectName("picRenderDest");
    picRenderDest->setAccessibleName("Map");
    picRenderDest->setGeometry(0, 0, kScreenWidth, kMapHeight);
    picRenderDest->setCursor(Qt::CrossCursor);
    picRenderDest->setMouseTracking(true);
    picRenderDest->setFocusPolicy(Qt::StrongFocus);  // the keys move the outline or the selected actor
    connect(picRenderDest, &BitmapView::pressed, this, &MapViewPanel::picRenderDest_MouseDown);
    connect(picRenderDest, &BitmapView::moved, this, [this](QPoint point, Qt::MouseButtons buttons) {
        if (buttons == Qt::NoButton)
            emit pointerOver(MapMarker::None, 0, point);
        picRenderDest_MouseMove(point, buttons);
    });
    connect(picRenderDest, &BitmapView::released, this, &MapViewPanel::picRenderDest_MouseUp);
    lblSelActorHighlight = new QLabel(picRenderDest);
    lblSelActorHighlight->setObjectName("lblSelActorHighlight");
    lblSelActorHighlight->setAccessibleName("Selected actor");
    lblSelActorHighlight->setStyleSheet("background: red;");
    lblSelActorHighlight->hide();
    linePlayerPos = new BitmapView(picRenderDest);
    linePlayerPos->setObjectName("linePlayerPos");
    linePlayerPos->setAccessibleName("Player position");
    linePlayerPos->setToolTip("Player position of the selected enemy: drag it to move the enemy's B");
    QPalette green = linePlayerPos->palette();
    green.setColor(QPalette::Window, QColor(0x00, 0xC0, 0x00));
    linePlayerPos->setPalette(green);
    linePlayerPos->setGeometry(0, 0, 6, kMapHeight);
    linePlayerPos->setCursor(Qt::SizeHorCursor);
    linePlayerPos->hide();
    connectMarker(linePlayerPos, MapMarker::PlayerLine, 0);
    picMainCharacterSpawn = new BitmapView(picRenderDest);
    picMainCharacterSpawn->setObjectName("picMainCharacterSpawn");
    picMainCharacterSpawn->setAccessibleName("Player start");
    picMainCharacterSpawn->setGeometry(0, 0, 16, 32);
    picMainCharacterSpawn->hide();
    connectMarker(picMainCharacterSpawn, MapMarker::PlayerStart, 0);
    lblMapEnd = new QLabel(picRenderDest);
    lblMapEnd->setObjectName("lblMapEnd");
    lblMapEnd->setAccessibleName("End of the map");
    lblMapEnd->setStyleSheet("background: rgba(230, 30, 30, 210);");
    lblMapEnd->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblMapEnd->hide();
    lblPastEnd = new QLabel(picRenderDest);
    lblPastEnd->setObjectName("lblPastEnd");
    lblPastEnd->setStyleSheet("color: white; background: rgba(150, 0, 0, 210); padding: 1px 3px;");
    lblPastEnd->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblPastEnd->hide();
    // A right click on the map or on a marker (whose event comes on to the map).
    picRenderDest->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(picRenderDest, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        emit contextMenuRequested(QPoint(toMap(at.x()), toMap(at.y())), picRenderDest->mapToGlobal(at));
    });
    scrMap->setWidget(picContainer);
    layout->addWidget(scrMap);

    hscrollRenderer = new QScrollBar(Qt::Horizontal, this);
    hscrollRenderer->setObjectName("hscrollRenderer");
    hscrollRenderer->setAccessibleName("Map scroll");
    hscrollRenderer->setSingleStep(kMetatileSize);
    hscrollRenderer->setPageStep(256);
    hscrollRenderer->setRange(0, 0);
    connect(hscrollRenderer, &QScrollBar::valueChanged, this, &MapViewPanel::hscrollRenderer_Change);
    layout->addWidget(hscrollRenderer);
    limitHeight();

    painter_ = std::make_unique<MapPainter>(document_, dialogs_, hooks_.brush, [this](MapCell cell) {
        if (const std::optional<std::uint8_t> m = metatileAt(document_.doc().currentScene(), cell))
            hooks_.pick(*m);
    });
    noEdits_ = std::make_unique<NoMapEdits>();
    selection_ = new MapSelection(*this, document_, dialogs_, hooks_.brush);
    cursor_ = new MapCursor(*this, document_,
                            {hooks_.mode, hooks_.brush, hooks_.actorKeys, [this](QPoint point) { clickAt(point); }});
    connect(this, &MapViewPanel::pointerOver, cursor_, &MapCursor::pointAt);
    connect(&document_, &EditorDocument::changed, this, &MapViewPanel::document_Changed);
    connect(&actors_, &ActorSelection::changed, this, &MapViewPanel::markSelection);
}

MapViewPanel::~MapViewPanel()
{
    // The cursor filters the map's events and the selection follows its signals: both go before
    // QWidget's destructor deletes the map's widgets, whose destruction sends events of its own to
    // what would by then be no MapViewPanel.
    delete cursor_;
    cursor_ = nullptr;
    delete selection_;
    selection_ = nullptr;
}

bool MapViewPanel::hasScene() const { return document_.doc().hasScene(); }

void MapViewPanel::document_Changed(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    if (event.kind == Kind::Saved)
        return;
    if (!hasScene()) {
        // A new file before its first scene is shown, or a scene that can no longer be read:
        // the map never shows a scene of another file.
        clear();
    } else if (event.kind == Kind::SceneSelected || event.sceneSwitched) {
        showScene();
    } else if (event.parts == part::Map) {
        renderMap(false);
        // The metatile the status bar names under the pointer changed with the map.
        cursor_->refreshPointer();
    } else if (event.parts == part::Sprites || event.parts == part::Actors) {
        // The actor pictures show the first frames of their animations.
        renderMap(false);
    } else if ((event.parts & ~(part::Patterns | part::Metatiles)) == 0) {
        // Graphics only: the sheet and the map (with the actors on it) show them.
        drawSheet();
        renderMap(false);
    } else {
        refresh();
    }
    emit sceneDrawn(event);
    // An undo or redo shows the place of its step, after what stands on the map has followed
    // the change (the actors panel scrolls to its selection only when no place is given).
    if (hasScene() && event.kind != Kind::Edited && event.focusX >= 0)
        scrollToShow(event.focusX);
}

void MapViewPanel::showScene()
{
    picRenderDest->hide();
    drawSheet();
    renderMap(true);
    buildGridLines();
    // A selection and a floating paste belong to the scene left (the clipboard stays).
    selection_->selectNone();
    // So does the outline; the next key brings it back in view.
    cursor_->hideOutline();
    picRenderDest->show();
}

void MapViewPanel::refresh()
{
    if (!hasScene())
        return;
    drawSheet();
    // The map keeps its scroll position unless its width changed.
    renderMap(toMap(picRenderDest->width()) != mapWidth(document_.doc().currentScene()));
    buildGridLines();
}

void MapViewPanel::drawSheet()
{
    drawSceneSheet(document_.doc().scene(), view_);
    emit sheetDrawn(view_.sheet);
}

void MapViewPanel::renderMap(bool resize)
{
    const SceneRecord& scene = document_.doc().currentScene();
    renderSceneMap(document_.doc().romData(), document_.doc().scene(), view_);
    picRenderDest->setBitmap(view_.map);
    if (resize) {
        picRenderDest->setGeometry(0, 0, view_.map.width() * zoom_, view_.map.height() * zoom_);
        screens_ = scene.length + 1;
        setupMapScroll(screens_, scene.direction == 0);
    }
    placeActorMarkers(view_);
    showModeMarkers();
    placeEndMarkers();
}

void MapViewPanel::placeEndMarkers()
{
    if (!hasScene()) {
        lblMapEnd->hide();
        lblPastEnd->hide();
        return;
    }
    const int width = picRenderDest->width();
    lblMapEnd->setGeometry(width - 3, 0, 3, picRenderDest->height());
    lblMapEnd->show();
    lblMapEnd->raise();
    const SceneRecord& scene = document_.doc().currentScene();
    const std::vector<ActorRef> beyond = actorsBeyondEnd(scene, scene.length);
    lblPastEnd->setVisible(!beyond.empty());
    if (beyond.empty())
        return;
    lblPastEnd->setText(qs(actorCountText(beyond) + " past the end ") + QChar(0x25B6));
    lblPastEnd->setAccessibleName(lblPastEnd->text());
    lblPastEnd->adjustSize();
    lblPastEnd->move(width - 3 - lblPastEnd->width(), 0);
    lblPastEnd->raise();
}

void MapViewPanel::showModeMarkers()
{
    const EditMode mode = hooks_.mode();
    setEnemiesVisible(mode == EditMode::Enemies || mode == EditMode::All);
    setItemsVisible(mode == EditMode::Items || mode == EditMode::All);
    markSelection();
}

void MapViewPanel::markSelection()
{
    const auto kind = actorKindOf(hooks_.mode());
    const QWidget* picture = kind && hasScene() ? markerPicture(actorMarker(*kind), actors_.selected(*kind)) : nullptr;
    if (picture) {
        lblSelActorHighlight->setGeometry(picture->geometry().adjusted(-4, -4, 4, 4));
        // Under the pictures, so that it shows as a frame round the selected one.
        lblSelActorHighlight->lower();
        lblSelActorHighlight->show();
    } else {
        lblSelActorHighlight->hide();
    }
    const auto enemy = picture && kind == ActorKind::Enemy
        ? actorAt(document_.doc().currentScene(), ActorKind::Enemy, static_cast<std::size_t>(actors_.selected(*kind)))
        : std::nullopt;
    if (!enemy) {
        linePlayerPos->hide();
        return;
    }
    linePlayerPos->move(toView(QPoint(playerLineX(std::get<EnemyRecord>(*enemy)), 0)));
    linePlayerPos->show();
    linePlayerPos->raise();
}

MapMouseHandler& MapViewPanel::modeTool() { return hooks_.mode() == EditMode::Map ? *painter_ : *noEdits_; }

void MapViewPanel::picRenderDest_MouseDown(QPoint point, Qt::MouseButton button)
{
    if (!hasScene())
        return;
    if (hooks_.mode() == EditMode::Map && selection_->press(point, button))
        return;
    modeTool().press(point, button);
}

void MapViewPanel::picRenderDest_MouseMove(QPoint point, Qt::MouseButtons buttons)
{
    if (selection_->move(point, buttons) || !hasScene())
        return;
    modeTool().move(point, buttons);
}

void MapViewPanel::picRenderDest_MouseUp(QPoint point, Qt::MouseButton button)
{
    if (selection_->release(point, button))
        return;
    // The painter hears every release, so a stroke never stays open over a mode change.
    painter_->release(point, button);
}

void MapViewPanel::clickAt(QPoint point)
{
    // The same step a click makes, by the same way.
    MapMouseHandler& tool = selection_->takesClicks() ? static_cast<MapMouseHandler&>(*selection_) : *painter_;
    tool.press(point, Qt::LeftButton);
    tool.release(point, Qt::LeftButton);
}

void MapViewPanel::setMapZoom(int zoom, int viewX)
{
    zoom = std::clamp(zoom, 1, 4);
    if (zoom == zoom_)
        return;
    const int atViewX = viewX >= 0 ? viewX : picContainer->width() / 2;
    setZoom(zoom, hscrollRenderer->value() + toMap(atViewX), atViewX);
    // The markers, the frames and the grid at the new size.
    if (hasScene()) {
        refresh();
        selection_->refresh();
    }
    emit zoomChanged(zoom);
    cursor_->lblPointer->setText(QString("Zoom %1x").arg(zoom));
}

void MapViewPanel::exportMap()
{
    if (!hasScene())
        return;
    const QString path = dialogs_.saveFile(QFileInfo(qs(document_.doc().path())).absolutePath(), "PNG image (*.png)");
    if (path.isEmpty())
        return;
    // As the map view shows it: the player start always, enemies and items in their modes.
    const EditMode mode = hooks_.mode();
    const bool enemies = mode == EditMode::Enemies || mode == EditMode::All;
    const bool items = mode == EditMode::Items || mode == EditMode::All;
    if (const Outcome<WriteResult> r = saveBitmapPng(composeActors(view_, enemies, items, true), ss(path)); !r.ok())
        dialogs_.message(qs(fileMessage("Unknown I/O error!", ss(path), r.reason)), Dialogs::Icon::Exclamation);
}

void MapViewPanel::clearArea()
{
    if (dialogs_.askYesNo("This will clear the current map.\r\nAre you sure?") != Dialogs::Answer::Yes)
        return;
    showEditFailure(dialogs_, edits::eraseMap(document_.doc()));
}

int MapViewPanel::viewWidth() const
{
    // Before the window is shown the container has no width of its own yet: three screens.
    return (picContainer->isVisible() ? picContainer->width() : kMapViewWidth) / zoom_;
}

void MapViewPanel::setZoom(int zoom, int keepMapX, int atViewX)
{
    zoom_ = std::clamp(zoom, 1, 4);
    picContainer->setMinimumSize(kScreenWidth, kMapHeight * zoom_);
    picContainer->setMaximumHeight(kMapHeight * zoom_);
    limitHeight();
    const QSize map = picRenderDest->bitmapSize();
    picRenderDest->setZoom(zoom_);
    picRenderDest->setGeometry(0, 0, map.width() * zoom_, map.height() * zoom_);
    for (BitmapView* marker : {picMainCharacterSpawn, linePlayerPos})
        marker->setZoom(zoom_);
    linePlayerPos->resize(6, kMapHeight * zoom_);
    for (auto* list : {&picEnemy, &picPwrUp})
        for (BitmapView* marker : *list)
            marker->setZoom(zoom_);
    const MapScroll s = velmar::setupMapScroll(screens_, true, viewWidth());
    const QSignalBlocker block(hscrollRenderer);
    hscrollRenderer->setRange(0, s.maximum);
    hscrollRenderer->setEnabled(s.enabled);
    hscrollRenderer->setValue(std::clamp(keepMapX - atViewX / zoom_, 0, s.maximum));
    picRenderDest->move(-hscrollRenderer->value() * zoom_, 0);
    placeEndMarkers();
}

void MapViewPanel::limitHeight()
{
    // The map's own height and its scroll bar, and no more: the rest of the room goes to the
    // parts around it.
    scrMap->setMaximumHeight(kMapHeight * zoom_ + 2 * scrMap->frameWidth());
    setMaximumHeight(scrMap->maximumHeight() + layout()->spacing() + hscrollRenderer->sizeHint().height());
}

void MapViewPanel::clear()
{
    view_ = SceneView{};
    selection_->selectNone();
    picRenderDest->setImage(QImage());
    picRenderDest->setGeometry(0, 0, kScreenWidth * zoom_, kMapHeight * zoom_);
    picRenderDest->setLineSets({});
    screens_ = 1;
    setupMapScroll(1, true);
    placeActorMarkers(SceneView{});
    picMainCharacterSpawn->hide();
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
    placeEndMarkers();
}

void MapViewPanel::placeActorMarkers(const SceneView& view)
{
    auto show = [this](BitmapView* pic, const ActorPicture& picture, bool visible) {
        pic->setImage(toQImage(picture.image));
        pic->setZoom(zoom_);
        pic->setGeometry(toView(QRect(picture.left, picture.top, picture.width(), picture.height())));
        pic->setToolTip(picture.placeholder ? "This sprite cannot be read from the image" : QString());
        pic->setVisible(visible);
        pic->raise();
    };
    auto layOut = [&](std::vector<BitmapView*>& pics, const std::vector<ActorPicture>& pictures, const char* name,
                      const char* spoken, MapMarker marker) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            if (i >= pics.size()) {
                auto* pic = new BitmapView(picRenderDest);
                pic->setObjectName(QString("%1_%2").arg(name).arg(i));
                pic->setAccessibleName(QString("%1 %2").arg(spoken).arg(qs(hexPad(static_cast<std::int64_t>(i), 2))));
                pic->setCursor(Qt::OpenHandCursor);
                connectMarker(pic, marker, static_cast<int>(i));
                pics.push_back(pic);
            }
            show(pics[i], pictures[i], false);
        }
        // Pictures left over from a scene with more actors are parked out of sight.
        for (std::size_t j = pictures.size(); j < pics.size(); ++j) {
            pics[j]->setGeometry(0, 256, 8, 8);
            pics[j]->hide();
        }
    };
    layOut(picEnemy, view.enemies, "picEnemy", "Enemy", MapMarker::Enemy);
    layOut(picPwrUp, view.items, "picPwrUp", "Item", MapMarker::Item);
    enemyCount_ = static_cast<int>(view.enemies.size());
    itemCount_ = static_cast<int>(view.items.size());
    show(picMainCharacterSpawn, view.playerStart, true);
}

void MapViewPanel::connectMarker(BitmapView* picture, MapMarker marker, int index)
{
    picture->setMouseTracking(true);
    // Positions leave in map pixels, taken where the picture stands at that moment, so a picture
    // that follows the pointer does not shift the coordinates of its own drag.
    auto onMap = [this, picture](QPoint point) { return picture->pos() / zoom_ + point; };
    connect(picture, &BitmapView::pressed, this,
            [=, this](QPoint point, Qt::MouseButton) { emit markerPressed(marker, index, onMap(point)); });
    connect(picture, &BitmapView::moved, this, [=, this](QPoint point, Qt::MouseButtons buttons) {
        if (buttons == Qt::NoButton)
            emit pointerOver(marker, index, onMap(point));
        else
            emit markerMoved(marker, index, onMap(point));
    });
    connect(picture, &BitmapView::released, this,
            [=, this](QPoint point, Qt::MouseButton) { emit markerReleased(marker, index, onMap(point)); });
}

QWidget* MapViewPanel::markerPicture(MapMarker marker, int index) const
{
    const auto at = static_cast<std::size_t>(index);
    switch (marker) {
    case MapMarker::Enemy: return index >= 0 && index < enemyCount_ ? picEnemy[at] : nullptr;
    case MapMarker::Item: return index >= 0 && index < itemCount_ ? picPwrUp[at] : nullptr;
    case MapMarker::PlayerStart: return picMainCharacterSpawn;
    case MapMarker::PlayerLine: return linePlayerPos;
    case MapMarker::None: break;
    }
    return nullptr;
}

void MapViewPanel::setEnemiesVisible(bool visible)
{
    for (int i = 0; i < enemyCount_; ++i)
        picEnemy[static_cast<std::size_t>(i)]->setVisible(visible);
}

void MapViewPanel::setItemsVisible(bool visible)
{
    for (int i = 0; i < itemCount_; ++i)
        picPwrUp[static_cast<std::size_t>(i)]->setVisible(visible);
}

void MapViewPanel::setupMapScroll(int screens, bool startAtLeft)
{
    const MapScroll s = velmar::setupMapScroll(screens, startAtLeft, viewWidth());
    const QSignalBlocker block(hscrollRenderer);
    hscrollRenderer->setRange(0, s.maximum);
    hscrollRenderer->setValue(s.value);
    hscrollRenderer->setEnabled(s.enabled);
    picRenderDest->move(-s.value * zoom_, 0);
}

void MapViewPanel::hscrollRenderer_Change(int value) { picRenderDest->move(-value * zoom_, 0); }

void MapViewPanel::scrollToShow(int mapX)
{
    const int first = hscrollRenderer->value();
    const int width = viewWidth();
    if (mapX >= first && mapX < first + width)
        return;
    // The column comes into view a screen in from the edge it was beyond.
    const int target = mapX < first ? mapX - kScreenWidth : mapX - width + kScreenWidth;
    hscrollRenderer->setValue(std::clamp(target, 0, hscrollRenderer->maximum()));
}

void MapViewPanel::scrollToActor(ActorKind kind, int index, bool withPlayerLine)
{
    const QWidget* picture = markerPicture(actorMarker(kind), index);
    if (!picture)
        return;
    const QRect r = picture->geometry();
    std::optional<int> line;
    if (withPlayerLine && kind == ActorKind::Enemy) {
        const auto enemy = actorAt(document_.doc().currentScene(), kind, static_cast<std::size_t>(index));
        line = playerLineX(std::get<EnemyRecord>(*enemy));
    }
    const ScrollChoice c = highlightScroll(toMap(r.left()), toMap(r.width()), line, toMap(picRenderDest->width()),
                                           viewWidth(), hscrollRenderer->value(), hscrollRenderer->maximum());
    hscrollRenderer->setValue(c.value);
    hscrollRenderer->setEnabled(c.enabled);
}

void MapViewPanel::buildGridLines()
{
    const GridLines g = velmar::buildGridLines(document_.doc().currentScene().length + 1);
    std::vector<BitmapView::LineSet> sets(3);
    sets[kMetatileVertical] = {toQLines(g.metatileVertical), metatileGrid_};
    sets[kMetatileHorizontal] = {toQLines(g.metatileHorizontal), metatileGrid_};
    sets[kScreenVertical] = {toQLines(g.screenVertical), screenGrid_};
    picRenderDest->setLineSets(std::move(sets));
    picRenderDest->setLineColour(toQColor(gridColour(gridColour_)));
}

void MapViewPanel::followGrid(const GridOptionsPanel& options)
{
    const auto apply = [this, &options] {
        setGrid(options.showMetatileGrid(), options.showScreenGrid(), options.colourValue());
    };
    connect(&options, &GridOptionsPanel::gridChanged, this, apply);
    apply();
}

void MapViewPanel::setGrid(bool showMetatileGrid, bool showScreenGrid, int colourValue)
{
    metatileGrid_ = showMetatileGrid;
    screenGrid_ = showScreenGrid;
    gridColour_ = colourValue;
    picRenderDest->setLineSetVisible(kMetatileVertical, showMetatileGrid);
    picRenderDest->setLineSetVisible(kMetatileHorizontal, showMetatileGrid);
    picRenderDest->setLineSetVisible(kScreenVertical, showScreenGrid);
    picRenderDest->setLineColour(toQColor(gridColour(colourValue)));
}

void MapViewPanel::scrollBy(int pixels) { hscrollRenderer->setValue(hscrollRenderer->value() + pixels); }

bool MapViewPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picContainer && event->type() == QEvent::Resize) {
        // The view grew or shrank: the same map pixel stays at the left edge where it can.
        const MapScroll s = velmar::setupMapScroll(screens_, true, viewWidth());
        const QSignalBlocker block(hscrollRenderer);
        hscrollRenderer->setRange(0, s.maximum);
        hscrollRenderer->setEnabled(s.enabled);
        picRenderDest->move(-hscrollRenderer->value() * zoom_, 0);
    }
    if (watched == picContainer && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (delta.y() != 0)
                setMapZoom(zoom_ + (delta.y() > 0 ? 1 : -1), static_cast<int>(wheel->position().x()));
            return true;
        }
        // One notch is one metatile column; a sideways wheel or touchpad works the same way.
        const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / 120;
        scrollBy(-steps * hscrollRenderer->singleStep());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmar
