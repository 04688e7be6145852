// The main window's scene side: the layout of its panels and docks, and what
// the window itself redraws when the document changes (the panels follow it themselves).
#include <QAction>
#include <QDockWidget>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "actor_selection.h"
#include "frm_main.h"
#include "panels/status_messages.h"
#include "panels/grid_options_panel.h"
#include "panels/palette_strip.h"
#include "panels/properties_panel.h"
#include "panels/scene_status_panels.h"

namespace velmar {

namespace {

// How a part sits in its dock: scrolling itself (the tree), in a scroll area at the top left, or
// in a scroll area and growing with the dock (the picker shows more rows).
enum class DockFit { ScrollsItself, TopLeft, Grows };

// A dock of the main window named `name` and titled `title`, showing `part`. A part that does not
// scroll itself is in a scroll area, so that a dock smaller than its part scrolls rather than
// cuts it off.
QDockWidget* makeDock(QMainWindow* window, const char* name, const QString& title, QWidget* part, DockFit fit)
{
    auto* dock = new QDockWidget(title, window);
    dock->setObjectName(name);
    dock->setAccessibleName(title);
    dock->toggleViewAction()->setObjectName(QString(name).replace("dock", "menuView"));
    if (fit != DockFit::ScrollsItself) {
        auto* scroller = new QScrollArea(dock);
        scroller->setObjectName(QString(name).replace("dock", "scr"));
        scroller->setAccessibleName(title);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidgetResizable(true);
        auto* place = new QWidget(scroller);
        auto* layout = new QGridLayout(place);
        layout->addWidget(part, 0, 0);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->setRowStretch(fit == DockFit::Grows ? 0 : 1, 1);
        layout->setColumnStretch(1, 1);
        scroller->setWidget(place);
        dock->setWidget(scroller);
    } else {
        dock->setWidget(part);
    }
    return dock;
}

}  // namespace

void frmMain::buildCentralArea()
{
    // The map takes the middle and the room the other parts leave it; they are docks around it,
    // which the user can move, tab together, float and hide. The area tree is on the left, the
    // actor lists and the scene properties on the right, the metatile picker, the palettes and
    // the grid options under the map.
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks | QMainWindow::AllowTabbedDocks);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

    metatilePicker = new MetatilePickerPanel(*document_, this);
    actorSelection_ = new ActorSelection(this);
    mapView = new MapViewPanel(*document_, *actorSelection_, dialogs_,
                               {[this] { return editMode_; }, [this] { return brushMetatile(); },
                                [this](std::uint8_t m) { metatilePicker->chooseMetatileNumber(m); },
                                [this](const QKeyEvent& key) { return moveSelectedActorByKey(key); }},
                               this);
    connect(mapView, &MapViewPanel::sheetDrawn, metatilePicker, &MetatilePickerPanel::setSheet);
    connect(cmdSelect, &QToolButton::toggled, this, [this](bool on) { mapView->selectionTool().setSelectTool(on); });
    setCentralWidget(mapView);

    areaTree = new AreaTreePanel(*document_, dialogs_, this);
    dockAreaTree = makeDock(this, "dockAreaTree", "Area Tree", areaTree, DockFit::ScrollsItself);

    dockMetatiles = makeDock(this, "dockMetatiles", "Metatiles", metatilePicker, DockFit::Grows);

    fraGrid = new GridOptionsPanel(this);
    fraGrid->setTitle(QString());  // the dock's title says it
    mapView->followGrid(*fraGrid);
    dockGrid = makeDock(this, "dockGrid", "Grid", fraGrid, DockFit::TopLeft);

    paletteStrip = new PaletteStrip(*document_, this);
    dockPalettes = makeDock(this, "dockPalettes", "Palettes", paletteStrip, DockFit::TopLeft);

    actorListsPlace = new QWidget(this);
    actorListsPlace->setObjectName("actorListsPlace");
    dockActors = makeDock(this, "dockActors", "Actors", actorListsPlace, DockFit::TopLeft);
    propertiesPlace = new QWidget(this);
    propertiesPlace->setObjectName("propertiesPlace");
    dockProperties = makeDock(this, "dockProperties", "Properties", propertiesPlace, DockFit::TopLeft);
    buildActorLists();
    buildPropertiesPanel();
    resetLayout();

    mainStatusBar = statusBar();
    mainStatusBar->setObjectName("mainStatusBar");
    new SceneStatusPanels(*mainStatusBar, *document_);
    mainStatusBar->addPermanentWidget(mapView->cursor().lblPointer);
    connect(document_, &EditorDocument::changed, this, &frmMain::document_Changed);
    fitToScreen();
}

QList<QDockWidget*> frmMain::docks() const
{
    return {dockAreaTree, dockMetatiles, dockPalettes, dockGrid, dockActors, dockProperties};
}

void frmMain::resetLayout()
{
    // Every dock back in its place, shown and docked: the tree on the left, the picker with the
    // palettes under it and the grid options beside them under the map, the actor lists over the
    // properties on the right.
    const std::pair<QDockWidget*, Qt::DockWidgetArea> first[] = {
        {dockAreaTree, Qt::LeftDockWidgetArea},
        {dockMetatiles, Qt::BottomDockWidgetArea},
        {dockActors, Qt::RightDockWidgetArea},
    };
    for (QDockWidget* dock : docks()) {
        dock->setFloating(false);
        removeDockWidget(dock);
    }
    for (const auto& [dock, area] : first)
        addDockWidget(area, dock);
    splitDockWidget(dockMetatiles, dockGrid, Qt::Horizontal);
    splitDockWidget(dockMetatiles, dockPalettes, Qt::Vertical);
    splitDockWidget(dockActors, dockProperties, Qt::Vertical);
    for (QDockWidget* dock : docks())
        dock->show();
    // The sizes each part asks for, shared out where the window has less room.
    const auto wants = [](std::initializer_list<QDockWidget*> docks, Qt::Orientation across) {
        QList<int> sizes;
        for (const QDockWidget* d : docks)
            sizes << (across == Qt::Horizontal ? d->sizeHint().width() : d->sizeHint().height());
        return sizes;
    };
    resizeDocks({dockAreaTree, dockActors}, {170, 280}, Qt::Horizontal);
    resizeDocks({dockMetatiles, dockGrid}, wants({dockMetatiles, dockGrid}, Qt::Horizontal), Qt::Horizontal);
    resizeDocks({dockMetatiles, dockPalettes}, wants({dockMetatiles, dockPalettes}, Qt::Vertical), Qt::Vertical);
    resizeDocks({dockActors, dockProperties}, wants({dockActors, dockProperties}, Qt::Vertical), Qt::Vertical);
}

void frmMain::menuViewGrid_Click() { fraGrid->cycle(); }

void frmMain::fitToScreen()
{
    // The first window fits the screen it opens on (1024 x 768, or a large screen at 200 %);
    // what does not fit scrolls inside the docks. Room is left for the frame and the title bar,
    // which the size does not include. A size kept from the last run replaces this one.
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    setMinimumSize(QSize(640, 480).boundedTo(room));
    resize(QSize(1400, 900).boundedTo(room));
}

void frmMain::document_Changed(const DocumentEvent& event)
{
    using Kind = DocumentEvent::Kind;
    refreshEditActions();
    setCaption();
    if (event.kind == Kind::Saved)
        return;
    if (statusMessages_)
        statusMessages_->documentChanged();
    if (!doc().hasScene()) {
        clearSceneView();
        return;
    }
    if (event.kind == Kind::SceneSelected || event.sceneSwitched)
        setSceneControlsEnabled(true);
}

void frmMain::clearSceneView() { setSceneControlsEnabled(false); }

}  // namespace velmar
