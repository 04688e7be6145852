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

void BitmapView::setFitToSize(int grain)
{
    fitGrain_ = std::max(grain, 0);
    updateGeometry();
    update();
}

double BitmapView::scale() const
{
    const QSize surface = bitmapSize();
    if (fitGrain_ == 0 || surface.width() < fitGrain_ || surface.height() < fitGrain_)
        return zoom_;
    // Whole screen pixels for every cell, at least one screen pixel for every surface pixel.
    const int across = surface.width() / fitGrain_;
    const int down = surface.height() / fitGrain_;
    const int cell = std::max(fitGrain_, std::min(width() / across, height() / down));
    return static_cast<double>(cell) / fitGrain_;
}

QSize BitmapView::sizeHint() const
{
    // A canvas asks for twice its smallest size: room to see its pixels, and to grow.
    return fitGrain_ > 0 ? minimumSize() * 2 : QWidget::sizeHint();
}

QPoint BitmapView::toSurface(const QPointF& position) const
{
    if (zoom_ == 1 && fitGrain_ == 0)
        return surfacePoint(position);
    // The surface pixel the position lies in.
    const double s = scale();
    return {static_cast<int>(std::floor(position.x() / s)), static_cast<int>(std::floor(position.y() / s))};
}

void BitmapView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, palette().window());
    if (fitGrain_ > 0) {
        paintFitted(p);
        return;
    }
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
    paintLines(p, zoom_);
}

void BitmapView::paintFitted(QPainter& p)
{
    // A small picture (a tile), drawn whole: each cell is a block of one colour, which the
    // nearest-pixel scaling keeps whole at any size.
    const QSize surface = bitmapSize();
    const double s = scale();
    const QRect target(0, 0, static_cast<int>(surface.width() * s), static_cast<int>(surface.height() * s));
    p.drawImage(target, image());
    paintLines(p, s);
}

void BitmapView::paintLines(QPainter& p, double scale)
{
    QPen pen(lineColour_, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.scale(scale, scale);
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
