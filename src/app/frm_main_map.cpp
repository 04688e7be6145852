// The main window's scene side: the area tree and scene switching, the map view with its
// scrolling, grid and actor markers, the metatile picker, map editing and the status bar.
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/session.h"
#include "frm_main.h"
#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "rom/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;

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

void frmMain::buildCentralArea()
{
    auto* central = new QWidget(this);
    central->setObjectName("central");
    auto* outer = new QHBoxLayout(central);

    tvAreaList = new QTreeWidget(central);
    tvAreaList->setObjectName("tvAreaList");
    tvAreaList->setHeaderHidden(true);
    tvAreaList->setFixedWidth(170);
    connect(tvAreaList, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { tvAreaList_NodeClick(node); });
    connect(tvAreaList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* node) { tvAreaList_NodeClick(node); });
    connect(tvAreaList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        // Keyboard navigation selects too; mouse clicks arrive through itemClicked.
        if (!buildingTree_ && node && QGuiApplication::mouseButtons() == Qt::NoButton)
            tvAreaList_NodeClick(node);
    });
    outer->addWidget(tvAreaList);

    auto* right = new QVBoxLayout;
    outer->addLayout(right, 1);

    // The map: a window three screens wide onto the map surface, which moves left to scroll.
    picContainer = new QWidget(central);
    picContainer->setObjectName("picContainer");
    picContainer->setFixedSize(kMapViewWidth, kMapHeight);
    picContainer->setAutoFillBackground(true);
    picRenderDest = new BitmapView(picContainer);
    picRenderDest->setObjectName("picRenderDest");
    picRenderDest->setGeometry(0, 0, kScreenWidth, kMapHeight);
    picRenderDest->setCursor(Qt::CrossCursor);
    connect(picRenderDest, &BitmapView::pressed, this, &frmMain::picRenderDest_MouseDown);
    lblSelActorHighlight = new QLabel(picRenderDest);
    lblSelActorHighlight->setObjectName("lblSelActorHighlight");
    lblSelActorHighlight->setStyleSheet("background: red;");
    lblSelActorHighlight->hide();
    linePlayerPos = new QWidget(picRenderDest);
    linePlayerPos->setObjectName("linePlayerPos");
    linePlayerPos->setStyleSheet("background: #00C000;");
    linePlayerPos->setGeometry(0, 0, 6, kMapHeight);
    linePlayerPos->hide();
    picMainCharacterSpawn = new BitmapView(picRenderDest);
    picMainCharacterSpawn->setObjectName("picMainCharacterSpawn");
    picMainCharacterSpawn->setGeometry(0, 0, 16, 32);
    picMainCharacterSpawn->hide();
    right->addWidget(picContainer);

    hscrollRenderer = new QScrollBar(Qt::Horizontal, central);
    hscrollRenderer->setObjectName("hscrollRenderer");
    hscrollRenderer->setFixedWidth(kMapViewWidth);
    hscrollRenderer->setSingleStep(32);
    hscrollRenderer->setPageStep(256);
    hscrollRenderer->setRange(0, 0);
    connect(hscrollRenderer, &QScrollBar::valueChanged, this, &frmMain::hscrollRenderer_Change);
    right->addWidget(hscrollRenderer);

    auto* lower = new QHBoxLayout;
    right->addLayout(lower);

    // The metatile picker: four rows of the 512 x 512 sheet at a time.
    picContMetatiles = new QWidget(central);
    picContMetatiles->setObjectName("picContMetatiles");
    picContMetatiles->setFixedSize(kSheetSize, kPickerRows * kMetatileSize);
    picBkgNat = new BitmapView(picContMetatiles);
    picBkgNat->setObjectName("picBkgNat");
    picBkgNat->setGeometry(0, 0, kSheetSize, kSheetSize);
    picBkgNat->setCursor(Qt::PointingHandCursor);
    connect(picBkgNat, &BitmapView::pressed, this, &frmMain::picBkgNat_MouseDown);
    lower->addWidget(picContMetatiles);
    vMetaRenderer = new QScrollBar(Qt::Vertical, central);
    vMetaRenderer->setObjectName("vMetaRenderer");
    vMetaRenderer->setRange(0, kPickerMaxRow);
    vMetaRenderer->setPageStep(kPickerRows);
    vMetaRenderer->setFixedHeight(kPickerRows * kMetatileSize);
    connect(vMetaRenderer, &QScrollBar::valueChanged, this, &frmMain::vMetaRenderer_Change);
    lower->addWidget(vMetaRenderer);

    auto* chosen = new QVBoxLayout;
    picSelectedMetatile = new BitmapView(central);
    picSelectedMetatile->setObjectName("picSelectedMetatile");
    picSelectedMetatile->setFixedSize(64, 64);
    lblSelMetatile = new QLabel("00", central);
    lblSelMetatile->setObjectName("lblSelMetatile");
    lblSelMetatile->setAlignment(Qt::AlignCenter);
    lblSelMetatile->setToolTip("Metatile placed by a click on the map");
    chosen->addWidget(picSelectedMetatile);
    chosen->addWidget(lblSelMetatile);
    chosen->addStretch();
    lower->addLayout(chosen);

    fraGrid = new QGroupBox("Grid", central);
    fraGrid->setObjectName("fraGrid");
    auto* grid = new QVBoxLayout(fraGrid);
    optNone = new QRadioButton("None", fraGrid);
    optNone->setObjectName("optNone");
    optShowMetatile = new QRadioButton("Metatiles", fraGrid);
    optShowMetatile->setObjectName("optShowMetatile");
    optShowScreen = new QRadioButton("Screens", fraGrid);
    optShowScreen->setObjectName("optShowScreen");
    optNone->setChecked(true);
    hscrGridColor = new QScrollBar(Qt::Horizontal, fraGrid);
    hscrGridColor->setObjectName("hscrGridColor");
    hscrGridColor->setRange(0, 255);
    hscrGridColor->setToolTip("Grid colour");
    for (QWidget* w : std::initializer_list<QWidget*>{optNone, optShowMetatile, optShowScreen, hscrGridColor})
        grid->addWidget(w);
    connect(optNone, &QRadioButton::clicked, this, &frmMain::optNone_Click);
    connect(optShowMetatile, &QRadioButton::clicked, this, &frmMain::optShowMetatile_Click);
    connect(optShowScreen, &QRadioButton::clicked, this, &frmMain::optShowScreen_Click);
    connect(hscrGridColor, &QScrollBar::valueChanged, this, &frmMain::hscrGridColor_Change);
    lower->addWidget(fraGrid);
    lower->addStretch();

    // The scene's 32 palette colours: background sub-palettes, then sprite ones.
    auto* swatches = new QGridLayout;
    swatches->setSpacing(1);
    for (int i = 0; i < 32; ++i) {
        auto* l = new QLabel(central);
        l->setObjectName(QString("lblPal_%1").arg(i));
        l->setFixedSize(22, 16);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        lblPal[static_cast<std::size_t>(i)] = l;
        swatches->addWidget(l, i / 16, i % 16 + (i % 16) / 4);  // a gap column after each sub-palette
    }
    for (int gap : {4, 9, 14})
        swatches->setColumnMinimumWidth(gap, 6);
    auto* palRow = new QHBoxLayout;
    palRow->addLayout(swatches);
    palRow->addStretch();
    right->addLayout(palRow);
    right->addStretch();

    setCentralWidget(central);
    resize(1010, 640);
}

void frmMain::buildStatusPanels()
{
    mainStatusBar = statusBar();
    mainStatusBar->setObjectName("mainStatusBar");
    buildStatusBar();
}

void frmMain::buildStatusBar()
{
    // Panels are rebuilt from the current scene: removed, then added again in order.
    for (QLabel* old : mainStatusBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        mainStatusBar->removeWidget(old);
        delete old;
    }
    for (const StatusPanel& panel : statusPanels(state_.currentScene)) {
        auto* l = new QLabel(qs(panel.text), mainStatusBar);
        l->setObjectName(qs(panel.key));
        l->setFrameShape(QFrame::StyledPanel);
        mainStatusBar->addWidget(l);
    }
}

void frmMain::buildAreaTree()
{
    buildingTree_ = true;
    tvAreaList->clear();
    std::vector<QTreeWidgetItem*> nodes;
    for (const AreaNode& n : areaCatalogue()) {
        QTreeWidgetItem* item = n.parent < 0
            ? new QTreeWidgetItem(tvAreaList)
            : new QTreeWidgetItem(nodes[static_cast<std::size_t>(n.parent)]);
        item->setText(0, QString::fromLatin1(n.caption.data(), static_cast<int>(n.caption.size())));
        item->setData(0, kKeyRole, QString::fromLatin1(n.key.data(), static_cast<int>(n.key.size())));
        nodes.push_back(item);
    }
    tvAreaList->expandAll();
    buildingTree_ = false;
}

QTreeWidgetItem* frmMain::findNode(const QString& key) const
{
    for (QTreeWidgetItemIterator it(tvAreaList); *it; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

void frmMain::tvAreaList_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const QString key = node->data(0, kKeyRole).toString();
    if (!isSceneKey(ss(key)))
        return;
    const auto sceneKey = parseSceneKey(ss(key));
    if (!sceneKey)
        return;
    picRenderDest->hide();
    const RomStatus s = velmar::selectScene(state_, sceneKey->stage, sceneKey->scene);
    if (!s.ok()) {
        picRenderDest->show();
        dialogs_.message("This scene cannot be shown: " + qs(s.message()), Dialogs::Icon::Exclamation);
        return;
    }
    showScene();
    picRenderDest->show();
}

void frmMain::showScene()
{
    drawSceneSheet(state_, view_);
    picBkgNat->setImage(toQImage(view_.sheet));
    renderMap(true);
    switch (editMode_) {
    case 1:
        setEnemiesVisible(true);
        setModeButtons(1);
        break;
    case 2:
        setItemsVisible(true);
        setModeButtons(2);
        break;
    case 3:
        lblSelActorHighlight->hide();
        setEnemiesVisible(true);
        setItemsVisible(true);
        setModeButtons(3);
        break;
    default:
        lblSelActorHighlight->hide();
        setModeButtons(0);
        break;
    }
    refreshPaletteDisplay();
    buildStatusBar();
    buildGridLines();
    picBkgNat_MouseDown(QPoint(0, 0), Qt::NoButton);
}

void frmMain::unloadSubEditor_refresh()
{
    drawSceneSheet(state_, view_);
    picBkgNat->setImage(toQImage(view_.sheet));
    renderMap(true);
    refreshPaletteDisplay();
    buildGridLines();
    if (editMode_ == 1 || editMode_ == 3)
        setEnemiesVisible(true);
    if (editMode_ == 2 || editMode_ == 3)
        setItemsVisible(true);
}

void frmMain::refreshPaletteDisplay()
{
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint8_t v = state_.currentScene.palette[i];
        QLabel* l = lblPal[i];
        l->setStyleSheet(QString("background-color: %1;").arg(toQColor(nesColorToRgb(v, false, 0)).name()));
        l->setToolTip(QString("%1: $%2").arg(i).arg(qs(hexPad(v, 2))));
    }
}

void frmMain::renderMap(bool resize)
{
    renderSceneMap(state_, view_);
    picRenderDest->setImage(toQImage(view_.map));
    if (resize) {
        picRenderDest->setGeometry(0, 0, view_.map.width(), view_.map.height());
        setupMapScroll(state_.currentScene.length + 1, state_.currentScene.direction == 0);
    }
    placeActorMarkers();
}

void frmMain::placeActorMarkers()
{
    auto show = [](BitmapView* pic, const ActorPicture& picture, bool visible) {
        pic->setImage(toQImage(picture.image));
        pic->setGeometry(picture.left, picture.top, picture.width(), picture.height());
        pic->setToolTip(picture.placeholder ? "This sprite cannot be read from the image" : QString());
        pic->setVisible(visible);
        pic->raise();
    };
    auto layOut = [&](std::vector<BitmapView*>& pics, const std::vector<ActorPicture>& pictures, const char* name) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            if (i >= pics.size()) {
                auto* pic = new BitmapView(picRenderDest);
                pic->setObjectName(QString("%1_%2").arg(name).arg(i));
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
    layOut(picEnemy, view_.enemies, "picEnemy");
    layOut(picPwrUp, view_.items, "picPwrUp");
    show(picMainCharacterSpawn, view_.playerStart, true);
}

void frmMain::setEnemiesVisible(bool visible)
{
    for (std::size_t i = 0; i < view_.enemies.size() && i < picEnemy.size(); ++i)
        picEnemy[i]->setVisible(visible);
}

void frmMain::setItemsVisible(bool visible)
{
    for (std::size_t i = 0; i < view_.items.size() && i < picPwrUp.size(); ++i)
        picPwrUp[i]->setVisible(visible);
}

void frmMain::setupMapScroll(int screens, bool startAtLeft)
{
    const MapScroll s = velmar::setupMapScroll(screens, startAtLeft);
    const QSignalBlocker block(hscrollRenderer);
    hscrollRenderer->setRange(0, s.maximum);
    hscrollRenderer->setValue(s.value);
    hscrollRenderer->setEnabled(s.enabled);
    picRenderDest->move(-s.value, 0);
}

void frmMain::hscrollRenderer_Change(int value)
{
    picRenderDest->move(-value, 0);
}

void frmMain::vMetaRenderer_Change(int value)
{
    picBkgNat->move(0, -kMetatileSize * value);
}

void frmMain::buildGridLines()
{
    const GridLines g = velmar::buildGridLines(state_.currentScene.length + 1);
    std::vector<BitmapView::LineSet> sets(3);
    sets[kMetatileVertical] = {toQLines(g.metatileVertical), optShowMetatile->isChecked()};
    sets[kMetatileHorizontal] = {toQLines(g.metatileHorizontal), optShowMetatile->isChecked()};
    sets[kScreenVertical] = {toQLines(g.screenVertical), optShowScreen->isChecked()};
    picRenderDest->setLineSets(std::move(sets));
    picRenderDest->setLineColour(toQColor(gridColour(hscrGridColor->value())));
}

void frmMain::applyGridChoice()
{
    const bool metatiles = optShowMetatile->isChecked();
    const bool screens = optShowScreen->isChecked();
    picRenderDest->setLineSetVisible(kMetatileVertical, metatiles);
    picRenderDest->setLineSetVisible(kMetatileHorizontal, metatiles);
    picRenderDest->setLineSetVisible(kScreenVertical, screens);
}

void frmMain::optNone_Click() { applyGridChoice(); }
void frmMain::optShowMetatile_Click() { applyGridChoice(); }
void frmMain::optShowScreen_Click() { applyGridChoice(); }

void frmMain::hscrGridColor_Change(int value)
{
    picRenderDest->setLineColour(toQColor(gridColour(value)));
}

void frmMain::chooseMetatile(QPoint sheetPoint)
{
    brushMetatile_ = pickerMetatile(sheetPoint.x(), sheetPoint.y());
    lblSelMetatile->setText(qs(hexPad(brushMetatile_, 2)));
    Bitmap chosen(64, 64, 0);
    stretchBlit(chosen, 0, 0, 64, 64, view_.sheet, 32 * (sheetPoint.x() / 32), 32 * (sheetPoint.y() / 32), 32, 32);
    picSelectedMetatile->setImage(toQImage(chosen));
}

void frmMain::picBkgNat_MouseDown(QPoint point, Qt::MouseButton)
{
    chooseMetatile(point);
}

void frmMain::picRenderDest_MouseDown(QPoint point, Qt::MouseButton)
{
    if (editMode_ != 0)
        return;
    if (placeMetatile(state_.currentScene, point.x(), point.y(), brushMetatile_))
        renderMap(false);
}

void frmMain::cmdClearArea_Click()
{
    if (dialogs_.askYesNo("This will clear the current map.\r\nAre you sure?") != Dialogs::Answer::Yes)
        return;
    eraseMap(state_.currentScene);
    renderMap(false);
    switch (editMode_) {
    case 1:
        setEnemiesVisible(true);
        break;
    case 2:
        setItemsVisible(true);
        break;
    case 3:
        lblSelActorHighlight->hide();
        setEnemiesVisible(true);
        setItemsVisible(true);
        break;
    default:
        lblSelActorHighlight->hide();
        break;
    }
    setModeButtons(editMode_);
}

}  // namespace velmar
