#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

namespace velmar {

// An editor window's frame: a window of its own, with its title and the buttons to minimise,
// maximise and close it, that stays above the main window (its parent), which owns it. A dialog
// window rather than a tool window: Qt gives a tool window's keys to the main window's shortcuts
// first, so Escape would not close it and Delete would erase the map's selection.
inline constexpr Qt::WindowFlags kEditorWindowFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
    | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// Lays `window`'s contents out in a scroll area that fills it: returns the widget to lay them out
// on. A window smaller than its contents (on a small screen) scrolls inside rather than reaching
// off the screen; a larger one gives its contents the room.
QWidget* scrollingContents(QWidget& window);

// The size `window` asks for: its contents whole.
QSize contentsSize(const QWidget& window);

// Where a window of `size` (without its frame, whose edges are `frame`) opens beside `owner` (a
// frame geometry) within `room` (the screen's available geometry): right of the owner where the
// room allows it whole, else left of it, else at the room's right edge, over the owner's
// right-hand side (its actors and properties, not its tree and map). Aligned with the owner's
// top, never off the room; a window larger than the room is made as large as the room. The
// geometry returned is without the frame, as QWidget::setGeometry takes it.
QRect placeBeside(QSize size, const QRect& owner, const QRect& room, const QMargins& frame);

// Opens `window` at its contents' size beside `owner`, on the owner's screen.
void placeBeside(QWidget& window, const QWidget& owner);

}  // namespace velmar
