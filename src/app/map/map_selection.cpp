#include "map/map_selection.h"

#include <algorithm>

#include <QCursor>
#include <QLabel>

#include "dialogs.h"
#include "edit_failure.h"
#include "editor/edits.h"
#include "editor_document.h"
#include "gfx/metatile_render.h"
#include "panels/map_view_panel.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

QRect cellsRect(const CellRect& r)
{
    return {r.column * kMetatileSize, r.row * kMetatileSize, r.columns * kMetatileSize, r.rows * kMetatileSize};
}

}  // namespace

MapSelection::MapSelection(MapViewPanel& view, EditorDocument& document, Dialogs& dialogs,
                           std::function<std::uint8_t()> brush)
    : QObject(&view), view_(view), document_(document), dialogs_(dialogs), brush_(std::move(brush))
{
    lblSelection_ = new QLabel(view_.picRenderDest);
    lblSelection_->setObjectName("lblSelection");
    lblSelection_->setAccessibleName("Selection");
    lblSelection_->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblSelection_->setLineWidth(2);
    lblSelection_->setStyleSheet("color: yellow; background: transparent");
    lblSelection_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblSelection_->hide();
    picFloating_ = new BitmapView(view_.picRenderDest);
    picFloating_->setObjectName("picFloating");
    picFloating_->setAccessibleName("Floating paste");
    picFloating_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picFloating_->hide();
    showFrame();
}

bool MapSelection::hasScene() const { return document_.doc().hasScene(); }

bool MapSelection::press(QPoint mapPoint, Qt::MouseButton button)
{
    if (!hasScene())
        return false;
    const MapCell cell = mapCellAt(mapPoint.x(), mapPoint.y());
    if (pasting_) {
        // A click places the floating copy; the right button drops it.
        if (button == Qt::LeftButton)
            showEditFailure(dialogs_, edits::pasteRegion(document_.doc(), cell, clipboard_));
        pasting_ = false;
        picFloating_->hide();
        return true;
    }
    const bool select = selectTool_ || (view_.picRenderDest->pressModifiers() & Qt::ShiftModifier);
    if (button != Qt::LeftButton || !select)
        return false;
    selecting_ = true;
    anchor_ = cell;
    selection_ = clipToMap(spanCells(cell, cell), document_.doc().currentScene());
    showFrame();
    return true;
}

bool MapSelection::move(QPoint mapPoint, Qt::MouseButtons)
{
    if (!selecting_)
        return false;
    selection_ = clipToMap(spanCells(anchor_, mapCellAt(mapPoint.x(), mapPoint.y())), document_.doc().currentScene());
    showFrame();
    return true;
}

bool MapSelection::release(QPoint, Qt::MouseButton)
{
    if (!selecting_)
        return false;
    selecting_ = false;
    return true;
}

void MapSelection::refresh()
{
    showFrame();
    // A floating copy is drawn again at the map's zoom.
    if (pasting_)
        paste();
}

void MapSelection::showFrame()
{
    const bool any = hasScene() && !selection_.empty();
    lblSelection_->setVisible(any);
    if (any) {
        lblSelection_->setGeometry(view_.toView(cellsRect(selection_)));
        lblSelection_->raise();
        lblSelection_->setAccessibleDescription(QString("%1 x %2 cells").arg(selection_.columns).arg(selection_.rows));
    }
    emit commandsChanged(any, hasScene() && !clipboard_.empty());
}

void MapSelection::copy()
{
    if (!hasScene() || selection_.empty())
        return;
    clipboard_ = copyBlock(document_.doc().currentScene(), selection_);
    showFrame();
}

void MapSelection::cut()
{
    if (!hasScene() || selection_.empty())
        return;
    copy();
    showEditFailure(dialogs_, edits::fillRegion(document_.doc(), selection_, brush_(), "Cut"));
}

void MapSelection::paste()
{
    if (!hasScene() || clipboard_.empty())
        return;
    pasting_ = true;
    const QPoint pointer = view_.picRenderDest->mapFromGlobal(QCursor::pos()) / view_.zoom();
    const QPoint start = selection_.empty() ? pointer : cellsRect(selection_).topLeft();
    const Bitmap picture = blockPicture(clipboard_, view_.sceneView().sheet);
    picFloating_->setZoom(view_.zoom());
    const QPoint size = view_.toView(QPoint(picture.width(), picture.height()));
    picFloating_->setFixedSize(size.x(), size.y());
    picFloating_->setBitmap(picture);
    // Framed, so that it shows against cells like its own.
    BitmapView::LineSet frame;
    frame.visible = true;
    const int r = picture.width() - 1, b = picture.height() - 1;
    frame.lines = {QLine(0, 0, r, 0), QLine(0, b, r, b), QLine(0, 0, 0, b), QLine(r, 0, r, b)};
    picFloating_->setLineSets({frame});
    picFloating_->setLineColour(Qt::yellow);
    follow(start);
    picFloating_->show();
    picFloating_->raise();
}

void MapSelection::follow(QPoint mapPoint)
{
    if (!pasting_)
        return;
    const MapCell cell = mapCellAt(std::max(0, mapPoint.x()), std::max(0, mapPoint.y()));
    picFloating_->move(view_.toView(QPoint(cell.column * kMetatileSize, cell.row * kMetatileSize)));
}

void MapSelection::fill()
{
    if (hasScene() && !selection_.empty())
        showEditFailure(dialogs_, edits::fillRegion(document_.doc(), selection_, brush_(), "Fill Selection"));
}

void MapSelection::erase()
{
    if (hasScene() && !selection_.empty())
        showEditFailure(dialogs_, edits::fillRegion(document_.doc(), selection_, 0xFF, "Delete"));
}

void MapSelection::selectNone()
{
    pasting_ = false;
    picFloating_->hide();
    selection_ = {};
    showFrame();
}

}  // namespace velmar
