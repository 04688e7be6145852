// The main window's map selection: selecting a rectangle of cells, copy, cut, paste, fill and
// delete; the eyedropper; the metatile kept per tileset; the cell under the pointer; the map as
// a PNG file.

#include <algorithm>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>

#include "edit_failure.h"
#include "editor/edits.h"
#include "frm_main.h"
#include "panels/map_view_panel.h"
#include "panels/grid_options_panel.h"
#include "panels/metatile_picker_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"
#include "widgets/marker_frame.h"
#include "gfx/metatile_render.h"

namespace velmar {

namespace {

QLabel* frameLabel(QWidget* parent, const char* name, const QString& shows, const char* style)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAccessibleName(shows);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(2);
    l->setStyleSheet(style);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    return l;
}

}  // namespace

void frmMain::buildSelectionControls()
{
    auto action = [this](QAction*& member, const char* name, const QString& caption, void (frmMain::*slot)(),
                         const QKeySequence& keys) {
        member = menuEdit->addAction(caption, this, slot);
        member->setObjectName(name);
        member->setShortcut(keys);
    };
    menuEdit->addSeparator();
    action(menuEditCut, "menuEditCut", "Cut", &frmMain::menuEditCut_Click, QKeySequence::Cut);
    action(menuEditCopy, "menuEditCopy", "Copy", &frmMain::menuEditCopy_Click, QKeySequence::Copy);
    action(menuEditPaste, "menuEditPaste", "Paste", &frmMain::menuEditPaste_Click, QKeySequence::Paste);
    action(menuEditFillSelection, "menuEditFillSelection", "Fill Selection", &frmMain::menuEditFillSelection_Click,
           QKeySequence(Qt::CTRL | Qt::Key_B));
    action(menuEditDelete, "menuEditDelete", "Delete", &frmMain::menuEditDelete_Click, QKeySequence::Delete);
    action(menuEditSelectNone, "menuEditSelectNone", "Select None", &frmMain::menuEditSelectNone_Click,
           QKeySequence(Qt::Key_Escape));
    // The keys that change the map work while the map has the focus, so that Delete in a list or
    // a box never fills the selection unseen.
    for (QAction* a : {menuEditCut, menuEditPaste, menuEditFillSelection, menuEditDelete}) {
        mapView->addAction(a);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    menuEditCut->setToolTip("Copy the selection and fill it with the chosen metatile");
    menuEditFillSelection->setToolTip("Fill the selection with the chosen metatile");
    menuEditDelete->setToolTip("Fill the selection with metatile FF, as new screens are");

    menuView = new QMenu("&View", this);
    menuView->setObjectName("menuView");
    menuBar()->insertMenu(menuOptions, menuView);
    const auto viewAction = [this](QAction*& member, const char* name, const QString& caption, void (frmMain::*slot)(),
                                   const QList<QKeySequence>& keys) {
        member = menuView->addAction(caption, this, slot);
        member->setObjectName(name);
        member->setShortcuts(keys);
    };
    viewAction(menuViewZoomIn, "menuViewZoomIn", "Zoom In", &frmMain::menuViewZoomIn_Click,
               {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    viewAction(menuViewZoomOut, "menuViewZoomOut", "Zoom Out", &frmMain::menuViewZoomOut_Click, {QKeySequence::ZoomOut});
    viewAction(menuViewActualSize, "menuViewActualSize", "Actual Size", &frmMain::menuViewActualSize_Click,
               {QKeySequence(Qt::CTRL | Qt::Key_0)});
    menuViewZoomOut->setEnabled(false);  // 1x to begin with
    menuView->addSeparator();
    viewAction(menuViewGrid, "menuViewGrid", "Next Grid (None, Metatiles, Screens)", &frmMain::menuViewGrid_Click,
               {QKeySequence(Qt::CTRL | Qt::Key_G)});
    connect(mapView, &MapViewPanel::zoomRequested, this,
            [this](int steps, int viewX) { setMapZoom(mapView->zoom() + steps, viewX); });

    menuFileExportMap = new QAction("Export Map as PNG...", this);
    menuFileExportMap->setObjectName("menuFileExportMap");
    connect(menuFileExportMap, &QAction::triggered, this, &frmMain::menuFileExportMap_Click);
    menuFile->insertAction(menuFileCreatePatch, menuFileExportMap);

    lblSelection_ = frameLabel(picRenderDest, "lblSelection", "Selection", "color: yellow; background: transparent");
    // The cell the pointer or the arrow keys outline: dark and light, so that it shows on any
    // metatile.
    lblHoverCell_ = new MarkerFrame(picRenderDest, Qt::white);
    lblHoverCell_->setObjectName("lblHoverCell");
    lblHoverCell_->setAccessibleName("Outlined cell");
    lblHoverCell_->hide();
    picFloating_ = new BitmapView(picRenderDest);
    picFloating_->setObjectName("picFloating");
    picFloating_->setAccessibleName("Floating paste");
    picFloating_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picFloating_->hide();
    showSelection();
}

// --- Zoom ---

void frmMain::setMapZoom(int zoom, int viewX)
{
    zoom = std::clamp(zoom, 1, 4);
    if (zoom == mapView->zoom())
        return;
    const int atViewX = viewX >= 0 ? viewX : picContainer->width() / 2;
    const int keepMapX = hscrollRenderer->value() + mapView->toMap(atViewX);
    mapView->setZoom(zoom, keepMapX, atViewX);
    // The markers, the frames and the grid at the new size.
    if (doc().hasScene()) {
        unloadSubEditor_refresh();
        showSelection();
        if (pasting_)
            menuEditPaste_Click();
    }
    menuViewZoomIn->setEnabled(zoom < 4);
    menuViewZoomOut->setEnabled(zoom > 1);
    lblPointer_->setText(QString("Zoom %1x").arg(zoom));
}

void frmMain::menuViewZoomIn_Click() { setMapZoom(mapView->zoom() + 1); }
void frmMain::menuViewZoomOut_Click() { setMapZoom(mapView->zoom() - 1); }
void frmMain::menuViewActualSize_Click() { setMapZoom(1); }
void frmMain::menuViewGrid_Click() { fraGrid->cycle(); }

// --- Eyedropper and brush ---

void frmMain::pickMetatile(MapCell cell)
{
    if (!doc().hasScene())
        return;
    if (const std::optional<std::uint8_t> m = metatileAt(doc().currentScene(), cell))
        metatilePicker->chooseMetatileNumber(*m);
}

void frmMain::chooseBrushForTileset()
{
    // The chosen metatile belongs to a tileset: a scene of the same tileset keeps it, another
    // gets the one last chosen with its own.
    if (brushTileset_ >= 0)
        brushByTileset_[static_cast<std::uint8_t>(brushTileset_)] = brushMetatile();
    const std::uint8_t tileset = doc().currentScene().tileset;
    const auto it = brushByTileset_.find(tileset);
    metatilePicker->chooseMetatileNumber(it == brushByTileset_.end() ? 0 : it->second);
    brushTileset_ = tileset;
}

// --- Selection ---

bool frmMain::selectionMouseDown(QPoint point, Qt::MouseButton button)
{
    if (editMode_ != EditMode::Map || !doc().hasScene())
        return false;
    const MapCell cell = mapCellAt(point.x(), point.y());
    if (pasting_) {
        // A click places the floating copy; the right button drops it.
        if (button == Qt::LeftButton)
            showEditFailure(dialogs_, edits::pasteRegion(document_->doc(), cell, clipboard_));
        pasting_ = false;
        picFloating_->hide();
        return true;
    }
    const bool select = cmdSelect->isChecked() || (picRenderDest->pressModifiers() & Qt::ShiftModifier);
    if (button != Qt::LeftButton || !select)
        return false;
    selecting_ = true;
    selectionAnchor_ = cell;
    selection_ = clipToMap(spanCells(cell, cell), doc().currentScene());
    showSelection();
    return true;
}

bool frmMain::selectionMouseMove(QPoint point)
{
    if (!selecting_)
        return false;
    selection_ = clipToMap(spanCells(selectionAnchor_, mapCellAt(point.x(), point.y())), doc().currentScene());
    showSelection();
    return true;
}

bool frmMain::selectionMouseUp()
{
    if (!selecting_)
        return false;
    selecting_ = false;
    return true;
}

void frmMain::showSelection()
{
    const bool any = doc().hasScene() && !selection_.empty();
    lblSelection_->setVisible(any);
    if (any) {
        lblSelection_->setGeometry(mapView->toView(QRect(selection_.column * kMetatileSize, selection_.row * kMetatileSize,
                                                         selection_.columns * kMetatileSize, selection_.rows * kMetatileSize)));
        lblSelection_->raise();
        lblSelection_->setAccessibleDescription(QString("%1 x %2 cells").arg(selection_.columns).arg(selection_.rows));
    }
    for (QAction* a : {menuEditCopy, menuEditCut, menuEditFillSelection, menuEditDelete})
        a->setEnabled(any);
    menuEditPaste->setEnabled(doc().hasScene() && !clipboard_.empty());
}

void frmMain::menuEditCopy_Click()
{
    if (!doc().hasScene() || selection_.empty())
        return;
    clipboard_ = copyBlock(doc().currentScene(), selection_);
    showSelection();
}

void frmMain::menuEditCut_Click()
{
    if (!doc().hasScene() || selection_.empty())
        return;
    menuEditCopy_Click();
    showEditFailure(dialogs_, edits::fillRegion(document_->doc(), selection_, brushMetatile(), "Cut"));
}

void frmMain::menuEditPaste_Click()
{
    if (!doc().hasScene() || clipboard_.empty())
        return;
    pasting_ = true;
    const QPoint pointer = picRenderDest->mapFromGlobal(QCursor::pos()) / mapView->zoom();
    const QPoint start = selection_.empty() ? pointer : QPoint(selection_.column * kMetatileSize, selection_.row * kMetatileSize);
    const Bitmap picture = blockPicture(clipboard_, view_.sheet);
    picFloating_->setZoom(mapView->zoom());
    picFloating_->setFixedSize(mapView->toView(QPoint(picture.width(), picture.height())).x(),
                               mapView->toView(QPoint(picture.width(), picture.height())).y());
    picFloating_->setBitmap(picture);
    // Framed, so that it shows against cells like its own.
    BitmapView::LineSet frame;
    frame.visible = true;
    const int r = picture.width() - 1, b = picture.height() - 1;
    frame.lines = {QLine(0, 0, r, 0), QLine(0, b, r, b), QLine(0, 0, 0, b), QLine(r, 0, r, b)};
    picFloating_->setLineSets({frame});
    picFloating_->setLineColour(Qt::yellow);
    moveFloatingPaste(start);
    picFloating_->show();
    picFloating_->raise();
}

void frmMain::moveFloatingPaste(QPoint mapPoint)
{
    const MapCell cell = mapCellAt(std::max(0, mapPoint.x()), std::max(0, mapPoint.y()));
    picFloating_->move(mapView->toView(QPoint(cell.column * kMetatileSize, cell.row * kMetatileSize)));
}

void frmMain::menuEditFillSelection_Click()
{
    if (doc().hasScene() && !selection_.empty())
        showEditFailure(dialogs_, edits::fillRegion(document_->doc(), selection_, brushMetatile(), "Fill Selection"));
}

void frmMain::menuEditDelete_Click()
{
    if (doc().hasScene() && !selection_.empty())
        showEditFailure(dialogs_, edits::fillRegion(document_->doc(), selection_, 0xFF, "Delete"));
}

void frmMain::menuEditSelectNone_Click()
{
    pasting_ = false;
    picFloating_->hide();
    selection_ = {};
    showSelection();
}

// --- The pointer ---

void frmMain::showHover(QPoint mapPoint)
{
    if (pasting_)
        moveFloatingPaste(mapPoint);
    const MapCell cell = mapCellAt(mapPoint.x(), mapPoint.y());
    const bool show = editMode_ == EditMode::Map && doc().hasScene() && metatileAt(doc().currentScene(), cell);
    if (show)
        mapCursor_ = cell;  // Space and Enter act where the outline is
    lblHoverCell_->setVisible(show && !pasting_);
    if (show) {
        lblHoverCell_->setGeometry(mapView->toView(QRect(cell.column * kMetatileSize, cell.row * kMetatileSize, kMetatileSize, kMetatileSize)));
        lblHoverCell_->raise();
    }
}

// --- Export ---

void frmMain::menuFileExportMap_Click()
{
    if (!doc().hasScene())
        return;
    const QString path = dialogs_.saveFile(QFileInfo(qs(doc().path())).absolutePath(), "PNG image (*.png)");
    if (path.isEmpty())
        return;
    // As the map view shows it: the player start always, enemies and items in their modes.
    const bool enemies = editMode_ == EditMode::Enemies || editMode_ == EditMode::All;
    const bool items = editMode_ == EditMode::Items || editMode_ == EditMode::All;
    if (const Outcome<WriteResult> r = saveBitmapPng(composeActors(view_, enemies, items, true), ss(path)); !r.ok())
        dialogs_.message(qs(fileMessage("Unknown I/O error!", ss(path), r.reason)), Dialogs::Icon::Exclamation);
}

}  // namespace velmar
