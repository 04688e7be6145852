#include "panels/map_view_panel.h"

#include <algorithm>

#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
#include "base/hex.h"
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

MapViewPanel::MapViewPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("mapViewPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    picContainer = new QWidget(this);
    picContainer->setObjectName("picContainer");
    picContainer->setAccessibleName("Map window");
    // Three screens at least; a wider window shows more.
    picContainer->setMinimumSize(kMapViewWidth, kMapHeight);
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
    connect(picRenderDest, &BitmapView::pressed, this, &MapViewPanel::mapPressed);
    connect(picRenderDest, &BitmapView::moved, this, [this](QPoint point, Qt::MouseButtons buttons) {
        if (buttons == Qt::NoButton)
            emit pointerOver(MapMarker::None, 0, point);
        emit mapMoved(point, buttons);
    });
    connect(picRenderDest, &BitmapView::released, this, &MapViewPanel::mapReleased);
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
    layout->addWidget(picContainer);

    hscrollRenderer = new QScrollBar(Qt::Horizontal, this);
    hscrollRenderer->setObjectName("hscrollRenderer");
    hscrollRenderer->setAccessibleName("Map scroll");
    hscrollRenderer->setSingleStep(32);
    hscrollRenderer->setPageStep(256);
    hscrollRenderer->setRange(0, 0);
    connect(hscrollRenderer, &QScrollBar::valueChanged, this, &MapViewPanel::hscrollRenderer_Change);
    layout->addWidget(hscrollRenderer);
}

int MapViewPanel::viewWidth() const
{
    // Before the window is laid out the container has no width of its own yet.
    return std::max(picContainer->width(), kMapViewWidth) / zoom_;
}

void MapViewPanel::setZoom(int zoom, int keepMapX, int atViewX)
{
    zoom_ = std::clamp(zoom, 1, 4);
    picContainer->setMinimumSize(kMapViewWidth, kMapHeight * zoom_);
    picContainer->setMaximumHeight(kMapHeight * zoom_);
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
}

void MapViewPanel::showMap(const SceneView& view, const SceneRecord& scene, bool resize)
{
    picRenderDest->setBitmap(view.map);
    if (resize) {
        picRenderDest->setGeometry(0, 0, view.map.width() * zoom_, view.map.height() * zoom_);
        screens_ = scene.length + 1;
        setupMapScroll(screens_, scene.direction == 0);
    }
    placeActorMarkers(view);
}

void MapViewPanel::clear()
{
    picRenderDest->setImage(QImage());
    picRenderDest->setGeometry(0, 0, kScreenWidth * zoom_, kMapHeight * zoom_);
    picRenderDest->setLineSets({});
    screens_ = 1;
    setupMapScroll(1, true);
    placeActorMarkers(SceneView{});
    picMainCharacterSpawn->hide();
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
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
    connect(picture, &BitmapView::pressed, this, [=, this](QPoint point, Qt::MouseButton) {
        emit markerPressed(marker, index, onMap(point));
    });
    connect(picture, &BitmapView::moved, this, [=, this](QPoint point, Qt::MouseButtons buttons) {
        if (buttons == Qt::NoButton)
            emit pointerOver(marker, index, onMap(point));
        else
            emit markerMoved(marker, index, onMap(point));
    });
    connect(picture, &BitmapView::released, this, [=, this](QPoint point, Qt::MouseButton) {
        emit markerReleased(marker, index, onMap(point));
    });
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

void MapViewPanel::hscrollRenderer_Change(int value)
{
    picRenderDest->move(-value * zoom_, 0);
}

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

void MapViewPanel::buildGridLines(int screens, bool showMetatileGrid, bool showScreenGrid, int colourValue)
{
    const GridLines g = velmar::buildGridLines(screens);
    std::vector<BitmapView::LineSet> sets(3);
    sets[kMetatileVertical] = {toQLines(g.metatileVertical), showMetatileGrid};
    sets[kMetatileHorizontal] = {toQLines(g.metatileHorizontal), showMetatileGrid};
    sets[kScreenVertical] = {toQLines(g.screenVertical), showScreenGrid};
    picRenderDest->setLineSets(std::move(sets));
    picRenderDest->setLineColour(toQColor(gridColour(colourValue)));
}

void MapViewPanel::setGrid(bool showMetatileGrid, bool showScreenGrid, int colourValue)
{
    picRenderDest->setLineSetVisible(kMetatileVertical, showMetatileGrid);
    picRenderDest->setLineSetVisible(kMetatileHorizontal, showMetatileGrid);
    picRenderDest->setLineSetVisible(kScreenVertical, showScreenGrid);
    picRenderDest->setLineColour(toQColor(gridColour(colourValue)));
}

void MapViewPanel::scrollBy(int pixels)
{
    hscrollRenderer->setValue(hscrollRenderer->value() + pixels);
}

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
                emit zoomRequested(delta.y() > 0 ? 1 : -1, static_cast<int>(wheel->position().x()));
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
