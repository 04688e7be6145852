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
    // The picture grows and shrinks with the room the layout gives the view, as a pixel editor's
    // canvas does: cells of `grain` x `grain` surface pixels (the pixels of a tile drawn 8x) are
    // each shown as a square of the same whole number of screen pixels, as large as fits, from
    // the top left; never smaller than the surface itself. The mouse still reports surface
    // pixels. 0: the zoom above.
    void setFitToSize(int grain);
    // Screen pixels per surface pixel: the zoom, or what fitting the view's size gives.
    double scale() const;
    QSize sizeHint() const override;
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
    void paintFitted(QPainter& painter);
    void paintLines(QPainter& painter, double scale);
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
    int fitGrain_ = 0;
};

}  // namespace velmar
