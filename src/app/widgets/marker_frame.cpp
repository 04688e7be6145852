#include "widgets/marker_frame.h"

#include <QPainter>

namespace velmar {

MarkerFrame::MarkerFrame(QWidget* parent, const QColor& light) : QLabel(parent), light_(light)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void MarkerFrame::setWide(bool wide)
{
    wide_ = wide;
    update();
}

void MarkerFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.setPen(Qt::NoPen);
    // A dark line, a light one inside it (two when wide), and on a large frame a dark one again
    // inside that.
    const auto ring = [&](int inset, const QColor& colour) {
        const QRect in = r.adjusted(inset, inset, -inset, -inset);
        p.setBrush(colour);
        p.drawRect(in.left(), in.top(), in.width(), 1);
        p.drawRect(in.left(), in.bottom(), in.width(), 1);
        p.drawRect(in.left(), in.top(), 1, in.height());
        p.drawRect(in.right(), in.top(), 1, in.height());
    };
    int inset = 0;
    ring(inset++, Qt::black);
    ring(inset++, light_);
    if (wide_)
        ring(inset++, light_);
    if (r.width() >= 24)
        ring(inset, Qt::black);
}

}  // namespace velmar
