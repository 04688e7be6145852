#pragma once

#include <cstdint>

#include <QString>

#include "widgets/bitmap_view.h"

class QCheckBox;
class QEvent;
class QGroupBox;
class QLabel;
class QScrollBar;
class QWidget;

// Small builders for the controls the graphics editors have in common.
namespace velmar::controls {

// Evenly spaced grid lines over a square picture: `cells` cells of `pitch` pixels, the lines
// between them.
BitmapView::LineSet gridLines(int cells, int pitch);

// A picture of a fixed size named `name`, which a screen reader calls `shows`, with a hidden
// grid of `cells` x `cells` (none for 0).
BitmapView* picture(QWidget* parent, const char* name, const QString& shows, int w, int h, int cells, int pitch);

// A square picture of `size` pixels at least, `cells` x `cells` cells (with a hidden grid) that
// grow with the room the window gives it, as a pixel editor's canvas does.
BitmapView* canvas(QWidget* parent, const char* name, const QString& shows, int size, int cells);

// A horizontal scroll bar 0..`maximum`.
QScrollBar* bar(QWidget* parent, const char* name, const QString& caption, int maximum = 255);

// A colour swatch: a label whose back colour is a colour of the NES (monochrome off, no
// emphasis).
QLabel* swatch(QWidget* parent, const QString& name, const QString& shows, int size);
void setNesSwatch(QLabel* label, std::uint8_t nesColour);
void setSwatchColour(QLabel* label, ScreenColour colour);

// The "Options" group of the graphics editors: "Show Grid", the grid colour (blue 0..255) and
// "Copy Tiles" (dragging a tile of the pattern table onto another copies it).
struct GridOptions {
    QGroupBox* frame = nullptr;
    QCheckBox* showGrid = nullptr;
    QScrollBar* colour = nullptr;
    QCheckBox* copyTiles = nullptr;
};
GridOptions gridOptions(QWidget* parent, const QString& copyTilesTip);

// The button a press on a swatch stands for: the mouse button pressed, or for Space and Enter
// the left button (the right one with Shift), so that the keyboard chooses colours too.
// Qt::NoButton for any other event.
Qt::MouseButton swatchClick(QEvent* event);

// "1F": a byte as two upper-case hexadecimal digits.
QString hex2(int n);

}  // namespace velmar::controls
