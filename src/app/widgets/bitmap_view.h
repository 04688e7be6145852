#pragma once

#include <vector>

#include <QImage>
#include <QLine>
#include <QWidget>

class QPainter;

#include "gfx/bitmap.h"

namespace velmar {

// A picture control: shows a core bitmap at 1:1 from its top left and reports mouse presses,
// moves and releases in surface pixels. Optional line overlays (the map grid) are painted over the
// picture, move with it and are clipped to it.
class BitmapView : public QWidget {
    Q_OBJECT
public:
    explicit BitmapView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    // Shows a core bitmap; only the part being painted is converted, which is what keeps a
    // map many screens wide cheap to redraw.
    void setBitmap(Bitmap bitmap);
    // What the control shows, as an image.
    QImage image() const;

    struct LineSet {
        std::vector<QLine> lines;
        bool visible = false;
    };
    // Replaces the overlay lines (all sets share one colour).
    void setLineSets(std::vector<LineSet> sets);
    const std::vector<LineSet>& lineSets() const { return lineSets_; }
    void setLineColour(const QColor& colour);
    QColor lineColour() const { return lineColour_; }
    void setLineSetVisible(std::size_t set, bool visible);

    // Each surface pixel shown as a square of `zoom` x `zoom` screen pixels (1..8), never
    // smoothed; the mouse still reports surface pixels. The caller sizes the view.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    // The size of what the view shows, in surface pixels.
    QSize bitmapSize() const { return showsBitmap_ ? QSize(bitmap_.width(), bitmap_.height()) : image_.size(); }

    // The keys held at the last press on the view (Shift+drag selects on the map).
    Qt::KeyboardModifiers pressModifiers() const { return pressModifiers_; }

    // The surface pixel under a mouse position in widget coordinates (rounded to whole pixels).
    static QPoint surfacePoint(const QPointF& position);

signals:
    void pressed(QPoint point, Qt::MouseButton button);
    void moved(QPoint point, Qt::MouseButtons buttons);
    void released(QPoint point, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintZoomed(QPainter& painter, const QRect& rect);
    QPoint toSurface(const QPointF& position) const;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    Bitmap bitmap_;
    bool showsBitmap_ = false;
    std::vector<LineSet> lineSets_;
    QColor lineColour_ = Qt::black;
    Qt::KeyboardModifiers pressModifiers_;
    int zoom_ = 1;
};

}  // namespace velmar
