#include "windows/window_placement.h"

#include <algorithm>

#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace velmar {

QWidget* scrollingContents(QWidget& window)
{
    auto* scroller = new QScrollArea(&window);
    scroller->setObjectName("scrContents");
    scroller->setAccessibleName(window.accessibleName());
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    auto* contents = new QWidget(scroller);
    contents->setObjectName("contents");
    scroller->setWidget(contents);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    return contents;
}

QSize contentsSize(const QWidget& window)
{
    const auto* scroller = window.findChild<QScrollArea*>("scrContents", Qt::FindDirectChildrenOnly);
    if (!scroller || !scroller->widget())
        return window.sizeHint();
    return scroller->widget()->sizeHint().expandedTo(scroller->widget()->minimumSizeHint());
}

QRect placeBeside(QSize size, const QRect& owner, const QRect& room, const QMargins& frame)
{
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize inside = size.boundedTo(room.size() - frameSize).expandedTo(QSize(1, 1));
    const QSize whole = inside + frameSize;
    int x = room.x() + room.width() - whole.width();
    if (owner.x() + owner.width() + whole.width() <= room.x() + room.width())
        x = owner.x() + owner.width();
    else if (owner.x() - whole.width() >= room.x())
        x = owner.x() - whole.width();
    const int y = std::clamp(owner.y(), room.y(), room.y() + room.height() - whole.height());
    return {QPoint(x + frame.left(), y + frame.top()), inside};
}

void placeBeside(QWidget& window, const QWidget& owner)
{
    const QScreen* screen = owner.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The editor's frame is not known before it is shown: the owner's stands in for it.
    const QRect outer = owner.frameGeometry(), inner = owner.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    // Contents cut short by the room scroll: the scroll bar takes its room beside them.
    QSize size = contentsSize(window);
    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (size.height() > room.height() - frame.top() - frame.bottom())
        size.rwidth() += bar;
    if (size.width() > room.width() - frame.left() - frame.right())
        size.rheight() += bar;
    window.setGeometry(placeBeside(size, outer, room, frame));
}

}  // namespace velmar
