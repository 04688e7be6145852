#include "widgets/bitmap_view.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "bitmap_image.h"

namespace velmar {

BitmapView::BitmapView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

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

QImage BitmapView::image() const { return showsBitmap_ ? toQImage(bitmap_) : image_; }

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

void BitmapView::setZoom(int zoom)
{
    zoom_ = std::clamp(zoom, 1, 8);
    update();
}

QPoint BitmapView::toSurface(const QPointF& position) const
{
    if (zoom_ == 1)
        return surfacePoint(position);
    // The surface pixel the position lies in.
    return {static_cast<int>(std::floor(position.x() / zoom_)), static_cast<int>(std::floor(position.y() / zoom_))};
}

void BitmapView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, palette().window());
    if (zoom_ > 1) {
        paintZoomed(p, r);
        return;
    }
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

void BitmapView::paintZoomed(QPainter& p, const QRect& r)
{
    // Whole surface pixels, each a square of zoom x zoom, never smoothed.
    const QRect surface(r.x() / zoom_, r.y() / zoom_, r.width() / zoom_ + 2, r.height() / zoom_ + 2);
    const QImage whole = showsBitmap_ ? QImage() : image_;
    const QRect bounds = showsBitmap_ ? QRect(0, 0, bitmap_.width(), bitmap_.height()) : whole.rect();
    const QRect part = surface.intersected(bounds);
    if (!part.isEmpty()) {
        const QImage source =
            showsBitmap_ ? toQImage(bitmap_, part.x(), part.y(), part.width(), part.height()) : whole.copy(part);
        p.drawImage(QRect(part.x() * zoom_, part.y() * zoom_, part.width() * zoom_, part.height() * zoom_), source);
    }
    QPen pen(lineColour_, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.scale(zoom_, zoom_);
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
    emit pressed(toSurface(event->position()), event->button());
}

void BitmapView::mouseMoveEvent(QMouseEvent* event) { emit moved(toSurface(event->position()), event->buttons()); }

void BitmapView::mouseReleaseEvent(QMouseEvent* event) { emit released(toSurface(event->position()), event->button()); }

}  // namespace velmar
