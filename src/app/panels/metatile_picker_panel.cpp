#include "panels/metatile_picker_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "gfx/metatile_render.h"
#include "mapview/map_view_rules.h"
#include "qt_bridge.h"
#include "rom/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

MetatilePickerPanel::MetatilePickerPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("metatilePickerPanel");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    picContMetatiles = new QWidget(this);
    picContMetatiles->setObjectName("picContMetatiles");
    picContMetatiles->setAccessibleName("Metatile picker window");
    picContMetatiles->setFixedSize(kSheetSize, kPickerRows * kMetatileSize);
    picBkgNat = new BitmapView(picContMetatiles);
    picBkgNat->setObjectName("picBkgNat");
    picBkgNat->setAccessibleName("Metatiles");
    picBkgNat->setGeometry(0, 0, kSheetSize, kSheetSize);
    picBkgNat->setCursor(Qt::PointingHandCursor);
    connect(picBkgNat, &BitmapView::pressed, this, &MetatilePickerPanel::picBkgNat_MouseDown);
    lblChosenFrame = new QLabel(picBkgNat);
    lblChosenFrame->setObjectName("lblChosenFrame");
    lblChosenFrame->setAccessibleName("Chosen metatile frame");
    lblChosenFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblChosenFrame->setLineWidth(2);
    lblChosenFrame->setStyleSheet("color: red; background: transparent");
    lblChosenFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblChosenFrame->setGeometry(0, 0, kMetatileSize, kMetatileSize);
    picContMetatiles->installEventFilter(this);
    picBkgNat->installEventFilter(this);
    layout->addWidget(picContMetatiles);

    vMetaRenderer = new QScrollBar(Qt::Vertical, this);
    vMetaRenderer->setObjectName("vMetaRenderer");
    vMetaRenderer->setAccessibleName("Metatile rows");
    vMetaRenderer->setRange(0, kPickerMaxRow);
    vMetaRenderer->setPageStep(kPickerRows);
    vMetaRenderer->setFixedHeight(kPickerRows * kMetatileSize);
    connect(vMetaRenderer, &QScrollBar::valueChanged, this, &MetatilePickerPanel::vMetaRenderer_Change);
    layout->addWidget(vMetaRenderer);

    auto* chosen = new QVBoxLayout;
    picSelectedMetatile = new BitmapView(this);
    picSelectedMetatile->setObjectName("picSelectedMetatile");
    picSelectedMetatile->setAccessibleName("Selected metatile");
    picSelectedMetatile->setFixedSize(64, 64);
    lblSelMetatile = new QLabel("00", this);
    lblSelMetatile->setObjectName("lblSelMetatile");
    lblSelMetatile->setAccessibleName("Selected metatile number");
    lblSelMetatile->setAlignment(Qt::AlignCenter);
    lblSelMetatile->setToolTip("Metatile placed by a click on the map");
    chosen->addWidget(picSelectedMetatile);
    chosen->addWidget(lblSelMetatile);
    chosen->addStretch();
    layout->addLayout(chosen);
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
    lblSelMetatile->setText(qs(hexPad(brushMetatile_, 2)));
    drawChosen();
}

void MetatilePickerPanel::chooseMetatileNumber(std::uint8_t m)
{
    chooseMetatile(QPoint(m % 16 * kMetatileSize, m / 16 * kMetatileSize));
    const int row = m / 16;
    if (row < vMetaRenderer->value() || row >= vMetaRenderer->value() + kPickerRows)
        vMetaRenderer->setValue(std::min(row, kPickerMaxRow));
}

bool MetatilePickerPanel::eventFilter(QObject* watched, QEvent* event)
{
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
    stretchBlit(chosen, 0, 0, 64, 64, sheet_, 32 * (brushMetatile_ % 16), 32 * (brushMetatile_ / 16), 32, 32);
    picSelectedMetatile->setImage(toQImage(chosen));
}

void MetatilePickerPanel::picBkgNat_MouseDown(QPoint point, Qt::MouseButton)
{
    chooseMetatile(point);
}

void MetatilePickerPanel::vMetaRenderer_Change(int value)
{
    picBkgNat->move(0, -kMetatileSize * value);
}

}  // namespace velmar
