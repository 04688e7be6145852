// The main window's scene side: the layout of its panels, the area tree and scene switching,
// what the window redraws when the document changes, and the map's mouse by edit mode.
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "edit_failure.h"
#include "editor/edits.h"
#include "gfx/metatile_render.h"
#include "frm_main.h"
#include "map_mouse_handlers.h"
#include "mapview/map_view_rules.h"
#include "panels/grid_options_panel.h"
#include "panels/map_view_panel.h"
#include "panels/properties_panel.h"
#include "panels/metatile_picker_panel.h"
#include "panels/palette_strip.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;

}  // namespace

void frmMain::buildCentralArea()
{
    // The area tree, the map with its picker, and the actor and property panels, side by side in
    // a splitter whose sizes are kept between runs.
    auto* central = new QWidget(this);
    central->setObjectName("central");
    auto* centralLayout = new QHBoxLayout(central);
    splMain = new QSplitter(Qt::Horizontal, central);
    splMain->setObjectName("splMain");
    splMain->setAccessibleName("Panels");
    splMain->setChildrenCollapsible(false);
    centralLayout->addWidget(splMain);

    tvAreaList = new QTreeWidget(central);
    tvAreaList->setObjectName("tvAreaList");
    tvAreaList->setAccessibleName("Scenes");
    tvAreaList->setHeaderHidden(true);
    // The scenes of a stage share their caption; the second column numbers them.
    tvAreaList->setColumnCount(2);
    tvAreaList->header()->setStretchLastSection(false);
    tvAreaList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tvAreaList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    // Room for "Stage 2-1" at its depth and the scene number beside it.
    tvAreaList->setMinimumWidth(tvAreaList->fontMetrics().horizontalAdvance("Stage 0-0   00") + 2 * tvAreaList->indentation() + 24);
    connect(tvAreaList, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { tvAreaList_NodeClick(node); });
    connect(tvAreaList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* node) { tvAreaList_NodeClick(node); });
    connect(tvAreaList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        // Keyboard navigation selects too; mouse clicks arrive through itemClicked.
        if (!buildingTree_ && node && QGuiApplication::mouseButtons() == Qt::NoButton)
            tvAreaList_NodeClick(node);
    });
    splMain->addWidget(tvAreaList);

    auto* middleArea = new QWidget(splMain);
    middleArea->setObjectName("middleArea");
    auto* middle = new QVBoxLayout(middleArea);
    middle->setContentsMargins(0, 0, 0, 0);
    splMain->addWidget(middleArea);

    mapView = new MapViewPanel(central);
    picContainer = mapView->picContainer;
    picRenderDest = mapView->picRenderDest;
    hscrollRenderer = mapView->hscrollRenderer;
    picMainCharacterSpawn = mapView->picMainCharacterSpawn;
    lblSelActorHighlight = mapView->lblSelActorHighlight;
    linePlayerPos = mapView->linePlayerPos;
    connect(mapView, &MapViewPanel::mapPressed, this, &frmMain::picRenderDest_MouseDown);
    connect(mapView, &MapViewPanel::mapMoved, this, &frmMain::picRenderDest_MouseMove);
    connect(mapView, &MapViewPanel::mapReleased, this, &frmMain::picRenderDest_MouseUp);
    middle->addWidget(mapView);

    auto* lower = new QHBoxLayout;
    middle->addLayout(lower);
    metatilePicker = new MetatilePickerPanel(central);
    picContMetatiles = metatilePicker->picContMetatiles;
    picBkgNat = metatilePicker->picBkgNat;
    vMetaRenderer = metatilePicker->vMetaRenderer;
    picSelectedMetatile = metatilePicker->picSelectedMetatile;
    lblSelMetatile = metatilePicker->lblSelMetatile;
    lower->addWidget(metatilePicker);

    fraGrid = new GridOptionsPanel(central);
    optNone = fraGrid->optNone;
    optShowMetatile = fraGrid->optShowMetatile;
    optShowScreen = fraGrid->optShowScreen;
    hscrGridColor = fraGrid->hscrGridColor;
    connect(fraGrid, &GridOptionsPanel::gridChanged, this, [this] {
        mapView->setGrid(fraGrid->showMetatileGrid(), fraGrid->showScreenGrid(), fraGrid->colourValue());
    });
    lower->addWidget(fraGrid, 0, Qt::AlignTop);
    lower->addStretch();

    paletteStrip = new PaletteStrip(central);
    lblPal = paletteStrip->lblPal;
    middle->addWidget(paletteStrip);
    middle->addStretch();

    // The actor lists and the scene properties take the right-hand column.
    auto* rightArea = new QWidget(splMain);
    rightArea->setObjectName("rightArea");
    auto* right = new QVBoxLayout(rightArea);
    right->setContentsMargins(0, 0, 0, 0);
    actorListsPlace = new QWidget(central);
    actorListsPlace->setObjectName("actorListsPlace");
    propertiesPlace = new QWidget(central);
    propertiesPlace->setObjectName("propertiesPlace");
    right->addWidget(actorListsPlace);
    right->addWidget(propertiesPlace);
    right->addStretch();
    splMain->addWidget(rightArea);
    splMain->setStretchFactor(1, 1);
    splMain->setSizes({170, 800, 290});
    buildActorLists();
    buildPropertiesPanel();

    // On a small screen (1024 x 600) or with the map zoomed, the panels keep their sizes and the
    // window scrolls, so that nothing overlaps.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("scrCentral");
    scroller->setAccessibleName("Editor");
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(central);
    setCentralWidget(scroller);
    mainStatusBar = statusBar();
    mainStatusBar->setObjectName("mainStatusBar");
    buildStatusBar();
    connectActorPictures();
    fitToScreen();
}

void frmMain::fitToScreen()
{
    // The first window fits the screen it opens on (1024 x 768, or a large screen at 200 %);
    // what does not fit scrolls. Room is left for the frame and the title bar, which the size
    // does not include. A size kept from the last run replaces this one.
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    setMinimumSize(QSize(640, 480).boundedTo(room));
    resize(QSize(1260, 700).boundedTo(room));
}

void frmMain::buildStatusBar()
{
    // The seven panels show the current scene's table addresses; without a scene there are none.
    // They are made once and then only take new texts.
    std::vector<QLabel*> panels;
    for (QLabel* l : mainStatusBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (l != lblPointer_)
            panels.push_back(l);
    }
    if (!doc().hasScene()) {
        for (QLabel* old : panels) {
            mainStatusBar->removeWidget(old);
            delete old;
        }
        return;
    }
    const auto texts = statusPanels(doc().currentScene());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const StatusPanel& panel = texts[i];
        if (i >= panels.size()) {
            auto* l = new QLabel(mainStatusBar);
            l->setObjectName(qs(panel.key));
            l->setFrameShape(QFrame::StyledPanel);
            mainStatusBar->addWidget(l);
            panels.push_back(l);
        }
        panels[i]->setText(qs(panel.text));
        panels[i]->setAccessibleName(qs(panel.text));
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
        if (const auto key = parseSceneKey(n.key)) {
            item->setText(1, qs(hexPad(key->scene, 2)));
            const QString title = qs(sceneTitle(*key));
            item->setToolTip(0, title);
            item->setToolTip(1, title);
        }
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

void frmMain::selectTreeNode(const SceneKey& key)
{
    if (QTreeWidgetItem* node = findNode(qs(sceneKeyText(key)))) {
        buildingTree_ = true;
        tvAreaList->setCurrentItem(node);
        buildingTree_ = false;
    }
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
    const RomStatus s = document_->doc().selectScene(*sceneKey);
    if (!s.ok()) {
        dialogs_.message("This scene cannot be shown: " + qs(s.message()), Dialogs::Icon::Exclamation);
        // The tree points at the scene still shown (none, when the first scene of a file fails).
        if (doc().sceneKey())
            selectTreeNode(*doc().sceneKey());
        return;
    }
    selectTreeNode(*sceneKey);
}

void frmMain::document_Changed(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    refreshEditActions();
    setCaption();
    if (event.kind == Kind::Saved)
        return;
    // The pictures are laid out again: a drag under way has nothing left to move.
    drag_ = Drag{};
    if (!doc().hasScene()) {
        // A new file before its first scene is shown, or a scene that can no longer be read:
        // the map never shows a scene of another file.
        clearSceneView();
        return;
    }
    if (event.kind == Kind::SceneSelected) {
        showScene();
        return;
    }
    if (event.sceneSwitched) {
        selectTreeNode(*doc().sceneKey());
        showScene();
    } else if (event.parts == part::Map) {
        renderMap(false);
        // The metatile the status bar names under the pointer changed with the map.
        if (pointer_.point.x() >= 0)
            showPointer(pointer_.marker, pointer_.index, pointer_.point);
    } else if (event.parts == part::Sprites) {
        // A frame or an animation: the actor pictures show the first frames.
        renderMap(false);
    } else if ((event.parts & ~(part::Patterns | part::Metatiles)) == 0) {
        // Graphics only: the sheet and the map (with the actors on it) show them; the lists, the
        // panel and the swatches do not change.
        drawSceneSheet(doc().scene(), view_);
        metatilePicker->setSheet(view_.sheet);
        renderMap(false);
    } else if (event.parts == part::Actors) {
        renderMap(false);
        refreshActors(event.kind == Kind::Edited);
        refreshPropertyPanel();
    } else {
        unloadSubEditor_refresh();
        buildStatusBar();
    }
    if (event.kind != Kind::Edited && event.focusX >= 0)
        mapView->scrollToShow(event.focusX);
}

void frmMain::showScene()
{
    setSceneControlsEnabled(true);
    picRenderDest->hide();
    drawSceneSheet(doc().scene(), view_);
    metatilePicker->setSheet(view_.sheet);
    renderMap(true);
    showSceneActors();
    paletteStrip->refreshPaletteDisplay(doc().currentScene().palette);
    refreshPropertyPanel();
    buildStatusBar();
    buildGridLines();
    chooseBrushForTileset();
    // A selection and a floating paste belong to the scene left (the clipboard stays).
    menuEditSelectNone_Click();
    // So does the outline; the next key brings it back in view.
    lblHoverCell_->hide();
    picRenderDest->show();
}

void frmMain::clearSceneView()
{
    setSceneControlsEnabled(false);
    if (propertiesPanel)
        propertiesPanel->clear();
    view_ = SceneView{};
    mapView->clear();
    refreshEnemyList();
    refreshItemList();
    showEnemyDetails(-1);
    showItemDetails(-1);
    metatilePicker->clear();
    paletteStrip->clear();
    buildStatusBar();
}

void frmMain::unloadResizeEditor_refresh()
{
    refreshItemList();
    refreshEnemyList();
}

void frmMain::unloadSubEditor_refresh()
{
    if (!doc().hasScene())
        return;
    drawSceneSheet(doc().scene(), view_);
    metatilePicker->setSheet(view_.sheet);
    // The map keeps its scroll position unless its width changed.
    const bool resized = mapView->toMap(picRenderDest->width()) != mapWidth(doc().currentScene());
    renderMap(resized);
    paletteStrip->refreshPaletteDisplay(doc().currentScene().palette);
    refreshPropertyPanel();
    buildGridLines();
    refreshActors(false);
}

void frmMain::renderMap(bool resize)
{
    renderSceneMap(doc().romData(), doc().scene(), view_);
    mapView->showMap(view_, doc().currentScene(), resize);
    showModeMarkers();
}

void frmMain::buildGridLines()
{
    mapView->buildGridLines(doc().currentScene().length + 1, fraGrid->showMetatileGrid(), fraGrid->showScreenGrid(),
                            fraGrid->colourValue());
}

std::uint8_t frmMain::brushMetatile() const
{
    return metatilePicker->brushMetatile();
}

void frmMain::picBkgNat_MouseDown(QPoint point, Qt::MouseButton button)
{
    metatilePicker->picBkgNat_MouseDown(point, button);
}

void frmMain::picRenderDest_MouseDown(QPoint point, Qt::MouseButton button)
{
    if (selectionMouseDown(point, button))
        return;
    if (doc().hasScene())
        mapHandlers_[static_cast<std::size_t>(editMode_)]->press(point, button);
}

void frmMain::picRenderDest_MouseMove(QPoint point, Qt::MouseButtons buttons)
{
    if (selectionMouseMove(point))
        return;
    if (doc().hasScene())
        mapHandlers_[static_cast<std::size_t>(editMode_)]->move(point, buttons);
}

void frmMain::picRenderDest_MouseUp(QPoint point, Qt::MouseButton button)
{
    if (selectionMouseUp())
        return;
    // Every mode's handler hears the release, so a stroke never stays open over a mode change.
    for (auto& handler : mapHandlers_)
        handler->release(point, button);
}

void frmMain::cmdClearArea_Click()
{
    if (dialogs_.askYesNo("This will clear the current map.\r\nAre you sure?") != Dialogs::Answer::Yes)
        return;
    showEditFailure(dialogs_, edits::eraseMap(document_->doc()));
}

}  // namespace velmar
