// The main window's scene side: the layout of its panels, the map view's menu commands, and what
// the window itself redraws when the document changes (the panels follow it themselves).
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "frm_main.h"
#include "panels/grid_options_panel.h"
#include "panels/palette_strip.h"
#include "panels/properties_panel.h"
#include "panels/scene_status_panels.h"

namespace velmar {

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

    tvAreaList = areaTree = new AreaTreePanel(*document_, dialogs_, central);
    splMain->addWidget(areaTree);

    auto* middleArea = new QWidget(splMain);
    middleArea->setObjectName("middleArea");
    auto* middle = new QVBoxLayout(middleArea);
    middle->setContentsMargins(0, 0, 0, 0);
    splMain->addWidget(middleArea);

    metatilePicker = new MetatilePickerPanel(*document_, central);
    mapView = new MapViewPanel(*document_, dialogs_,
                               {[this] { return editMode_; }, [this] { return brushMetatile(); },
                                [this](std::uint8_t m) { metatilePicker->chooseMetatileNumber(m); },
                                [this](const QKeyEvent& key) { return moveSelectedActorByKey(key); }},
                               central);
    connect(mapView, &MapViewPanel::sheetDrawn, metatilePicker, &MetatilePickerPanel::setSheet);
    // The frame round the selected actor and the enemy's player line follow the zoom.
    connect(mapView, &MapViewPanel::zoomChanged, this, [this] {
        if (doc().hasScene())
            refreshActors(false);
    });
    connect(cmdSelect, &QToolButton::toggled, this, [this](bool on) { mapView->selectionTool().setSelectTool(on); });
    picContainer = mapView->picContainer;
    picRenderDest = mapView->picRenderDest;
    hscrollRenderer = mapView->hscrollRenderer;
    picMainCharacterSpawn = mapView->picMainCharacterSpawn;
    lblSelActorHighlight = mapView->lblSelActorHighlight;
    linePlayerPos = mapView->linePlayerPos;
    middle->addWidget(mapView);

    auto* lower = new QHBoxLayout;
    middle->addLayout(lower);
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
    mapView->followGrid(*fraGrid);
    lower->addWidget(fraGrid, 0, Qt::AlignTop);
    lower->addStretch();

    paletteStrip = new PaletteStrip(*document_, central);
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
    new SceneStatusPanels(*mainStatusBar, *document_);
    mainStatusBar->addPermanentWidget(mapView->cursor().lblPointer);
    // After the panels': the actors are laid out on the map they drew.
    connect(document_, &EditorDocument::changed, this, &frmMain::document_Changed);
    fitToScreen();
}

void frmMain::buildSelectionControls()
{
    const MapSelection& selection = mapView->selectionTool();
    menuEditCut = selection.menuEditCut;
    menuEditCopy = selection.menuEditCopy;
    menuEditPaste = selection.menuEditPaste;
    menuEditFillSelection = selection.menuEditFillSelection;
    menuEditDelete = selection.menuEditDelete;
    menuEditSelectNone = selection.menuEditSelectNone;
    menuEdit->addSeparator();
    menuEdit->addActions(selection.actions());

    menuView = new QMenu("&View", this);
    menuView->setObjectName("menuView");
    menuBar()->insertMenu(menuOptions, menuView);
    menuViewZoomIn = mapView->menuViewZoomIn;
    menuViewZoomOut = mapView->menuViewZoomOut;
    menuViewActualSize = mapView->menuViewActualSize;
    menuView->addActions({menuViewZoomIn, menuViewZoomOut, menuViewActualSize});
    menuView->addSeparator();
    menuViewGrid = menuView->addAction("Next Grid (None, Metatiles, Screens)", this, &frmMain::menuViewGrid_Click);
    menuViewGrid->setObjectName("menuViewGrid");
    menuViewGrid->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));

    menuFileExportMap = new QAction("Export Map as PNG...", this);
    menuFileExportMap->setObjectName("menuFileExportMap");
    connect(menuFileExportMap, &QAction::triggered, this, &frmMain::menuFileExportMap_Click);
    menuFile->insertAction(menuFileCreatePatch, menuFileExportMap);
}

void frmMain::menuViewGrid_Click() { fraGrid->cycle(); }

void frmMain::fitToScreen()
{
    // The first window fits the screen it opens on (1024 x 768, or a large screen at 200 %);
    // what does not fit scrolls. Room is left for the frame and the title bar, which the size
    // does not include. A size kept from the last run replaces this one.
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    setMinimumSize(QSize(640, 480).boundedTo(room));
    resize(QSize(1260, 700).boundedTo(room));
}

void frmMain::document_Changed(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    refreshEditActions();
    setCaption();
    if (event.kind == Kind::Saved)
        return;
    if (!doc().hasScene()) {
        clearSceneView();
        return;
    }
    if (event.kind == Kind::SceneSelected || event.sceneSwitched)
        setSceneControlsEnabled(true);
    // Last, so that the actor lists' own scrolling to their selection does not hide it.
    if (event.kind != Kind::Edited && event.focusX >= 0)
        mapView->scrollToShow(event.focusX);
}

void frmMain::clearSceneView() { setSceneControlsEnabled(false); }

void frmMain::unloadSubEditor_refresh()
{
    if (!doc().hasScene())
        return;
    mapView->refresh();
    paletteStrip->refresh();
    refreshPropertyPanel();
    refreshActors(false);
}

}  // namespace velmar
