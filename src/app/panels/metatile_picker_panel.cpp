#include "panels/metatile_picker_panel.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "editor_document.h"
#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"
#include "widgets/marker_frame.h"

namespace velmar {

MetatilePickerPanel::MetatilePickerPanel(const EditorDocument& document, QWidget* parent)
    : QWidget(parent), document_(document)
{
    setObjectName("metatilePickerPanel");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    picContMetatiles = new QWidget(this);
    picContMetatiles->setObjectName("picContMetatiles");
    picContMetatiles->setAccessibleName("Metatile picker window");
    // Four rows at least; a taller room shows more, up to the whole sheet.
    picContMetatiles->setMinimumSize(kSheetSize, kPickerRows * kMetatileSize);
    picContMetatiles->setMaximumSize(kSheetSize, kSheetSize);
    picContMetatiles->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    picBkgNat = new BitmapView(picContMetatiles);
    picBkgNat->setObjectName("picBkgNat");
    picBkgNat->setGeometry(0, 0, kSheetSize, kSheetSize);
    picBkgNat->setCursor(Qt::PointingHandCursor);
    // Reached with Tab: the arrow keys choose the metatile, as a click does.
    picBkgNat->setFocusPolicy(Qt::StrongFocus);
    picBkgNat->setToolTip("Click a metatile to place it on the map; with the focus here, the arrow keys choose one");
    connect(picBkgNat, &BitmapView::pressed, this, &MetatilePickerPanel::picBkgNat_MouseDown);
    lblChosenFrame = new MarkerFrame(picBkgNat);
    lblChosenFrame->setObjectName("lblChosenFrame");
    lblChosenFrame->setAccessibleName("Chosen metatile frame");
    lblChosenFrame->setGeometry(0, 0, kMetatileSize, kMetatileSize);
    picContMetatiles->installEventFilter(this);
    picBkgNat->installEventFilter(this);
    layout->addWidget(picContMetatiles);

    vMetaRenderer = new QScrollBar(Qt::Vertical, this);
    vMetaRenderer->setObjectName("vMetaRenderer");
    vMetaRenderer->setAccessibleName("Metatile rows");
    vMetaRenderer->setRange(0, kPickerMaxRow);
    vMetaRenderer->setPageStep(kPickerRows);
    vMetaRenderer->setMaximumHeight(kSheetSize);
    connect(vMetaRenderer, &QScrollBar::valueChanged, this, &MetatilePickerPanel::vMetaRenderer_Change);
    layout->addWidget(vMetaRenderer);

    auto* chosen = new QVBoxLayout;
    picSelectedMetatile = new BitmapView(this);
    picSelectedMetatile->setObjectName("picSelectedMetatile");
    picSelectedMetatile->setAccessibleName("Selected metatile");
    picSelectedMetatile->setFixedSize(64, 64);
    lblSelMetatile = new QLabel("00", this);
    lblSelMetatile->setObjectName("lblSelMetatile");
    lblSelMetatile->setAlignment(Qt::AlignCenter);
    lblSelMetatile->setToolTip("Metatile placed by a click on the map");
    chosen->addWidget(picSelectedMetatile);
    chosen->addWidget(lblSelMetatile);
    chosen->addStretch();
    layout->addLayout(chosen);
    layout->addStretch();
    showChosenNumber();
    connect(&document_, &EditorDocument::changed, this, &MetatilePickerPanel::document_Changed);
}

void MetatilePickerPanel::document_Changed(const DocumentEvent& event)
{
    if (event.kind == DocumentEvent::Kind::Saved)
        return;
    if (!document_.doc().hasScene())
        clear();
    else if (event.kind == DocumentEvent::Kind::SceneSelected || event.sceneSwitched)
        chooseBrushForTileset(document_.doc().currentScene().tileset);
}

void MetatilePickerPanel::chooseBrushForTileset(std::uint8_t tileset)
{
    if (brushTileset_ >= 0)
        brushByTileset_[static_cast<std::uint8_t>(brushTileset_)] = brushMetatile_;
    const auto it = brushByTileset_.find(tileset);
    chooseMetatileNumber(it == brushByTileset_.end() ? 0 : it->second);
    brushTileset_ = tileset;
}

void MetatilePickerPanel::showChosenNumber()
{
    const QString number = qs(hexPad(brushMetatile_, 2));
    lblSelMetatile->setText(number);
    lblSelMetatile->setAccessibleName("Selected metatile " + number);
    picBkgNat->setAccessibleName("Metatiles, " + number + " chosen");
}

void MetatilePickerPanel::setSheet(const Bitmap& sheet)
{
    sheet_ = sheet;
    picBkgNat->setImage(toQImage(sheet_));
    drawChosen();
}

void MetatilePickerPanel::clear()
{
    sheet_ = Bitmap();
    picBkgNat->setImage(QImage());
    picSelectedMetatile->setImage(QImage());
}

void MetatilePickerPanel::chooseMetatile(QPoint point)
{
    brushMetatile_ = pickerMetatile(point.x(), point.y());
    showChosenNumber();
    drawChosen();
}

void MetatilePickerPanel::chooseMetatileNumber(std::uint8_t m)
{
    chooseMetatile(QPoint(m % 16 * kMetatileSize, m / 16 * kMetatileSize));
    const int row = m / 16;
    if (row < vMetaRenderer->value() || row >= vMetaRenderer->value() + visibleRows())
        vMetaRenderer->setValue(std::min(row, vMetaRenderer->maximum()));
}

int MetatilePickerPanel::visibleRows() const
{
    return std::clamp(picContMetatiles->height() / kMetatileSize, kPickerRows, 16);
}

void MetatilePickerPanel::showRows()
{
    // The rows in view follow the room; the last row stays the last that can come into view.
    const int rows = visibleRows();
    vMetaRenderer->setRange(0, 16 - rows);
    vMetaRenderer->setPageStep(rows);
    vMetaRenderer_Change(vMetaRenderer->value());
}

bool MetatilePickerPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picContMetatiles && event->type() == QEvent::Resize)
        showRows();
    if (watched == picBkgNat && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        lblChosenFrame->setWide(event->type() == QEvent::FocusIn);
    if (watched == picBkgNat && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The metatile beside the chosen one, or a row of 16 up or down; the sheet's edges stop it.
        int column = brushMetatile_ % 16, row = brushMetatile_ / 16;
        // Arrow keys come with the keypad modifier on some keyboards.
        switch ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier ? key->key() : 0) {
        case Qt::Key_Left: --column; break;
        case Qt::Key_Right: ++column; break;
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        default: return QWidget::eventFilter(watched, event);
        }
        chooseMetatileNumber(static_cast<std::uint8_t>(std::clamp(row, 0, 15) * 16 + std::clamp(column, 0, 15)));
        return true;
    }
    if (event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0)
            vMetaRenderer->setValue(vMetaRenderer->value() - (delta > 0 ? 1 : -1));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MetatilePickerPanel::drawChosen()
{
    lblChosenFrame->move(brushMetatile_ % 16 * kMetatileSize, brushMetatile_ / 16 * kMetatileSize);
    Bitmap chosen(64, 64, 0);
    const int k = kMetatileSize;
    stretchBlit(chosen, 0, 0, 2 * k, 2 * k, sheet_, k * (brushMetatile_ % 16), k * (brushMetatile_ / 16), k, k);
    picSelectedMetatile->setImage(toQImage(chosen));
}

void MetatilePickerPanel::picBkgNat_MouseDown(QPoint point, Qt::MouseButton) { chooseMetatile(point); }

void MetatilePickerPanel::vMetaRenderer_Change(int value) { picBkgNat->move(0, -kMetatileSize * value); }

}  // namespace velmar
