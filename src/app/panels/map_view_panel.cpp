#include "panels/map_view_panel.h"

#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
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
    picContainer->setFixedSize(kMapViewWidth, kMapHeight);
    picContainer->setAutoFillBackground(true);
    picRenderDest = new BitmapView(picContainer);
    picRenderDest->setObjectName("picRenderDest");
    picRenderDest->setAccessibleName("Map");
    picRenderDest->setGeometry(0, 0, kScreenWidth, kMapHeight);
    picRenderDest->setCursor(Qt::CrossCursor);
    connect(picRenderDest, &BitmapView::pressed, this, &MapViewPanel::mapPressed);
    connect(picRenderDest, &BitmapView::moved, this, &MapViewPanel::mapMoved);
    connect(picRenderDest, &BitmapView::released, this, &MapViewPanel::mapReleased);
    lblSelActorHighlight = new QLabel(picRenderDest);
    lblSelActorHighlight->setObjectName("lblSelActorHighlight");
    lblSelActorHighlight->setAccessibleName("Selected actor");
    lblSelActorHighlight->setStyleSheet("background: red;");
    lblSelActorHighlight->hide();
    linePlayerPos = new QWidget(picRenderDest);
    linePlayerPos->setObjectName("linePlayerPos");
    linePlayerPos->setAccessibleName("Player position of the selected enemy");
    linePlayerPos->setStyleSheet("background: #00C000;");
    linePlayerPos->setGeometry(0, 0, 6, kMapHeight);
    linePlayerPos->hide();
    picMainCharacterSpawn = new BitmapView(picRenderDest);
    picMainCharacterSpawn->setObjectName("picMainCharacterSpawn");
    picMainCharacterSpawn->setAccessibleName("Player start");
    picMainCharacterSpawn->setGeometry(0, 0, 16, 32);
    picMainCharacterSpawn->hide();
    layout->addWidget(picContainer);

    hscrollRenderer = new QScrollBar(Qt::Horizontal, this);
    hscrollRenderer->setObjectName("hscrollRenderer");
    hscrollRenderer->setAccessibleName("Map scroll");
    hscrollRenderer->setFixedWidth(kMapViewWidth);
    hscrollRenderer->setSingleStep(32);
    hscrollRenderer->setPageStep(256);
    hscrollRenderer->setRange(0, 0);
    connect(hscrollRenderer, &QScrollBar::valueChanged, this, &MapViewPanel::hscrollRenderer_Change);
    layout->addWidget(hscrollRenderer);
}

void MapViewPanel::showMap(const SceneView& view, const SceneRecord& scene, bool resize)
{
    picRenderDest->setImage(toQImage(view.map));
    if (resize) {
        picRenderDest->setGeometry(0, 0, view.map.width(), view.map.height());
        setupMapScroll(scene.length + 1, scene.direction == 0);
    }
    placeActorMarkers(view);
}

void MapViewPanel::clear()
{
    picRenderDest->setImage(QImage());
    picRenderDest->setGeometry(0, 0, kScreenWidth, kMapHeight);
    picRenderDest->setLineSets({});
    setupMapScroll(1, true);
    placeActorMarkers(SceneView{});
    picMainCharacterSpawn->hide();
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
}

void MapViewPanel::placeActorMarkers(const SceneView& view)
{
    auto show = [](BitmapView* pic, const ActorPicture& picture, bool visible) {
        pic->setImage(toQImage(picture.image));
        pic->setGeometry(picture.left, picture.top, picture.width(), picture.height());
        pic->setToolTip(picture.placeholder ? "This sprite cannot be read from the image" : QString());
        pic->setVisible(visible);
        pic->raise();
    };
    auto layOut = [&](std::vector<BitmapView*>& pics, const std::vector<ActorPicture>& pictures, const char* name,
                      const char* spoken) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            if (i >= pics.size()) {
                auto* pic = new BitmapView(picRenderDest);
                pic->setObjectName(QString("%1_%2").arg(name).arg(i));
                pic->setAccessibleName(QString("%1 %2").arg(spoken).arg(i));
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
    layOut(picEnemy, view.enemies, "picEnemy", "Enemy");
    layOut(picPwrUp, view.items, "picPwrUp", "Item");
    enemyCount_ = static_cast<int>(view.enemies.size());
    itemCount_ = static_cast<int>(view.items.size());
    show(picMainCharacterSpawn, view.playerStart, true);
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
    const MapScroll s = velmar::setupMapScroll(screens, startAtLeft);
    const QSignalBlocker block(hscrollRenderer);
    hscrollRenderer->setRange(0, s.maximum);
    hscrollRenderer->setValue(s.value);
    hscrollRenderer->setEnabled(s.enabled);
    picRenderDest->move(-s.value, 0);
}

void MapViewPanel::hscrollRenderer_Change(int value)
{
    picRenderDest->move(-value, 0);
}

void MapViewPanel::scrollToShow(int mapX)
{
    const int first = hscrollRenderer->value();
    if (mapX >= first && mapX < first + kMapViewWidth)
        return;
    // The column comes into view a screen in from the edge it was beyond.
    const int target = mapX < first ? mapX - kScreenWidth : mapX - kMapViewWidth + kScreenWidth;
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

}  // namespace velmar
