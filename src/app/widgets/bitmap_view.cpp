#include "widgets/bitmap_view.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "bitmap_image.h"

namespace velmar {

BitmapView::BitmapView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapView::setImage(const QImage& image)
{
    image_ = image;
    bitmap_ = Bitmap();
    showsBitmap_ = false;
    update();
}

void BitmapView::setBitmap(Bitmap bitmap)
{
    bitmap_ = std::move(bitmap);
    image_ = QImage();
    showsBitmap_ = true;
    update();
}

QImage BitmapView::image() const
{
    return showsBitmap_ ? toQImage(bitmap_) : image_;
}

void BitmapView::setLineSets(std::vector<LineSet> sets)
{
    lineSets_ = std::move(sets);
    update();
}

void BitmapView::setLineColour(const QColor& colour)
{
    lineColour_ = colour;
    update();
}

void BitmapView::setLineSetVisible(std::size_t set, bool visible)
{
    if (set < lineSets_.size() && lineSets_[set].visible != visible) {
        lineSets_[set].visible = visible;
        update();
    }
}

QPoint BitmapView::surfacePoint(const QPointF& position)
{
    // Halves go to the even neighbour, as every coordinate of the editor is rounded.
    return {static_cast<int>(std::nearbyint(position.x())), static_cast<int>(std::nearbyint(position.y()))};
}

void BitmapView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, palette().window());
    if (showsBitmap_) {
        const QRect part = r.intersected(QRect(0, 0, bitmap_.width(), bitmap_.height()));
        if (!part.isEmpty())
            p.drawImage(part.topLeft(), toQImage(bitmap_, part.x(), part.y(), part.width(), part.height()));
    } else {
        p.drawImage(r.topLeft(), image_, r);
    }
    p.setPen(QPen(lineColour_, 1));
    for (const LineSet& set : lineSets_) {
        if (!set.visible)
            continue;
        for (const QLine& line : set.lines)
            p.drawLine(line);
    }
}

void BitmapView::mousePressEvent(QMouseEvent* event)
{
    pressModifiers_ = event->modifiers();
    emit pressed(surfacePoint(event->position()), event->button());
}

void BitmapView::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(surfacePoint(event->position()), event->buttons());
}

void BitmapView::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(surfacePoint(event->position()), event->button());
}

}  // namespace velmar
