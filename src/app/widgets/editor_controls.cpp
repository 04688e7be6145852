#include "widgets/editor_controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QScrollBar>

#include "gfx/nes_palette.h"
#include "qt_bridge.h"
#include "base/hex.h"

namespace velmar::controls {

BitmapView::LineSet gridLines(int cells, int pitch)
{
    BitmapView::LineSet set;
    const int size = cells * pitch;
    for (int k = 1; k < cells; ++k) {
        set.lines.emplace_back(k * pitch, 0, k * pitch, size - 1);
        set.lines.emplace_back(0, k * pitch, size - 1, k * pitch);
    }
    return set;
}

BitmapView* picture(QWidget* parent, const char* name, const QString& shows, int w, int h, int cells, int pitch)
{
    auto* v = new BitmapView(parent);
    v->setObjectName(name);
    v->setAccessibleName(shows);
    v->setFixedSize(w, h);
    if (cells > 0)
        v->setLineSets({gridLines(cells, pitch)});
    return v;
}

BitmapView* canvas(QWidget* parent, const char* name, const QString& shows, int size, int cells)
{
    BitmapView* v = picture(parent, name, shows, size, size, cells, size / cells);
    v->setMinimumSize(size, size);
    v->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    v->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    v->setFitToSize(size / cells);
    return v;
}

QScrollBar* bar(QWidget* parent, const char* name, const QString& caption, int maximum)
{
    auto* b = new QScrollBar(Qt::Horizontal, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setRange(0, maximum);
    b->setPageStep(16);
    b->setFocusPolicy(Qt::StrongFocus);  // the arrow keys move it
    return b;
}

QLabel* swatch(QWidget* parent, const QString& name, const QString& shows, int size)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAccessibleName(shows);
    l->setFixedSize(size, size);
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Box);
    return l;
}

void setSwatchColour(QLabel* label, ScreenColour colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, toQColor(colour));
    label->setPalette(p);
}

void setNesSwatch(QLabel* label, std::uint8_t nesColour) { setSwatchColour(label, nesColorToRgb(nesColour, false, 0)); }

GridOptions gridOptions(QWidget* parent, const QString& copyTilesTip)
{
    GridOptions o;
    o.frame = new QGroupBox("Options", parent);
    o.frame->setObjectName("fraGrid");
    o.frame->setAccessibleName("Options");
    o.showGrid = new QCheckBox("Show Grid", o.frame);
    o.showGrid->setObjectName("chkShowGrid");
    o.showGrid->setAccessibleName("Show Grid");
    o.colour = bar(o.frame, "hscrGridColor", "Grid colour");
    o.copyTiles = new QCheckBox("Copy Tiles", o.frame);
    o.copyTiles->setObjectName("chkDragAndDrop");
    o.copyTiles->setAccessibleName("Copy Tiles");
    o.copyTiles->setToolTip(copyTilesTip);
    auto* layout = new QVBoxLayout(o.frame);
    layout->addWidget(o.showGrid);
    layout->addWidget(o.colour);
    layout->addWidget(o.copyTiles);
    return o;
}

Qt::MouseButton swatchClick(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        return static_cast<QMouseEvent*>(event)->button();
    if (event->type() != QEvent::KeyPress)
        return Qt::NoButton;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return Qt::NoButton;
    return (key->modifiers() & Qt::ShiftModifier) ? Qt::RightButton : Qt::LeftButton;
}

QString hex2(int n) { return qs(hexPad(n, 2)); }

}  // namespace velmar::controls
