#pragma once

#include <array>
#include <cstdint>

#include <QGroupBox>
#include <QPoint>

#include "editor/edits.h"
#include "gfx/bitmap.h"
#include "windows/editor_context.h"

class QBoxLayout;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QToolButton;
class QVBoxLayout;

namespace velmar {

class BitmapView;
class MarkerFrame;

// The "Tile Editor" group that the background and sprite editors share: a pattern table of one
// bank at 2x, the selected tile at 8x with its number, the four colours of the tile palette and
// the colours of the two buttons, the palette steps, and the seven tile operations. A press,
// drag and release on the tile paints one step of the history; Shift+click picks the colour
// under the pointer; with the window's "Copy Tiles" box checked, dragging a tile of the table
// onto another copies it. Every change goes through the document.
class TileEditorPanel : public QGroupBox {
    Q_OBJECT
public:
    // `table` is the bank edited; its tile palettes are 0-3 for the background bank and 4-7
    // (the sprite palettes) for the sprite bank. `tableName` and `tableShows` name the pattern
    // table control and say what it shows.
    TileEditorPanel(const EditorContext& context, edits::PatternTable table, const char* tableName,
                    const QString& tableShows, QWidget* parent);

    // Tile 0, the first tile palette, colours 0 (left) and 1 (right), no painting under way.
    void reset();
    // Draws the pattern table, the tile and the swatches from the document.
    void redraw();
    // Ends a paint stroke under way (a release the panel did not see, a window closing).
    void endPainting();

    std::uint8_t selectedTile() const { return selectedTile_; }
    // Selects a tile and redraws; tileChosen follows.
    void selectTile(int tile);
    std::uint8_t tilePalette() const { return tilePalette_; }
    int leftColor() const { return leftColor_; }
    // The check box that turns the drag copy on; none: no copying.
    void setCopyTilesBox(QCheckBox* box) { copyTiles_ = box; }
    // Where the window adds its own pictures beside the table, and its buttons under the tools.
    QBoxLayout* tableRow() const { return tableRow_; }
    QVBoxLayout* sideColumn() const { return side_; }
    // 1-4 choose the left colour, as the number keys do in pixel editors. True when taken.
    bool chooseColourKey(QKeyEvent* event);
    // The pattern table and the tile, for the grid lines.
    std::array<BitmapView*, 2> views() const { return {picPatternTable, picSelectedTile}; }

    BitmapView* picPatternTable = nullptr;
    BitmapView* picSelectedTile = nullptr;
    QLabel* lblSelTile = nullptr;
    // Frames the selected tile on the pattern table.
    MarkerFrame* lblSelTileFrame = nullptr;
    std::array<QLabel*, 4> lblnespal_tEdit{};
    std::array<QLabel*, 2> lblselectedcolor{};
    QToolButton* cmdPrevPal = nullptr;
    QToolButton* cmdNextPal = nullptr;
    QToolButton* cmdShiftLeft = nullptr;
    QToolButton* cmdShiftRight = nullptr;
    QToolButton* cmdShiftUp = nullptr;
    QToolButton* cmdShiftDown = nullptr;
    QToolButton* cmdFlipHAxis = nullptr;
    QToolButton* cmdFlipVAxis = nullptr;
    QToolButton* cmdRotate = nullptr;

signals:
    // Another tile or tile palette was chosen.
    void tileChosen();
    void paletteChanged();

public slots:
    void picPatternTable_MouseDown(QPoint point, Qt::MouseButton button);
    void picPatternTable_MouseUp(QPoint point, Qt::MouseButton button);
    void picSelectedTile_MouseDown(QPoint point, Qt::MouseButton button);
    void picSelectedTile_MouseMove(QPoint point, Qt::MouseButtons buttons);
    void picSelectedTile_MouseUp(QPoint point, Qt::MouseButton button);
    void lblnespal_tEdit_Click(int index, Qt::MouseButton button);
    void cmdPrevPal_Click();
    void cmdNextPal_Click();
    void cmdShiftLeft_Click();
    void cmdShiftRight_Click();
    void cmdShiftUp_Click();
    void cmdShiftDown_Click();
    void cmdFlipHAxis_Click();
    void cmdFlipVAxis_Click();
    void cmdRotate_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const PixelArray& pixels() const;
    // One step of the history that changes the selected tile's pixels.
    void editTile(edits::TileOperation operation);
    void stepPalette(int delta);
    void refreshSwatches();

    EditorContext ctx_;
    edits::PatternTable table_;
    std::uint8_t paletteBase_;
    std::uint8_t selectedTile_ = 0;
    std::uint8_t tilePalette_;
    int leftColor_ = 0;
    int rightColor_ = 1;
    bool painting_ = false;
    QPoint lastPixel_{-1, -1};
    QCheckBox* copyTiles_ = nullptr;
    QBoxLayout* tableRow_ = nullptr;
    QVBoxLayout* side_ = nullptr;
    Bitmap sheet_ = Bitmap(256, 256, 0);
    Bitmap tile_ = Bitmap(64, 64, 0);
};

}  // namespace velmar
