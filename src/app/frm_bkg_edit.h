#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QPoint>
#include <QWidget>

#include "gfx/background_editor_views.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace velmar {

class BitmapView;
struct DocumentEvent;
class frmMain;

// "Background Editor": the pixels of the current scene's 256 background tiles, its subtiles
// (2 x 2 tiles) and its metatiles (2 x 2 subtiles and an attribute byte that gives each quarter
// one of the four background palettes). Every change is one step of the document's history; the
// window shows the document's tables as they are and holds only what is selected.
class frmBkgEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmBkgEdit(frmMain& main);

    // Tile, subtile, metatile and palettes 0, colours 0 (left) and 1 (right), everything drawn.
    void initGUI();

    const BackgroundEditorSelection& selection() const { return sel_; }
    int attributePalette() const { return attributePalette_; }
    int leftColor() const { return leftColor_; }
    int rightColor() const { return rightColor_; }

    QGroupBox* fraTileEdit = nullptr;
    BitmapView* picPatternTable = nullptr;
    BitmapView* picSelectedTile = nullptr;
    QLabel* lblSelTile = nullptr;
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
    QPushButton* cmdExportTiles = nullptr;
    QPushButton* cmdImportTiles = nullptr;

    QGroupBox* fraSubTileEdit = nullptr;
    QScrollBar* hscrollSubtileID = nullptr;
    BitmapView* picSubtile = nullptr;
    QLabel* lblSelSubtile = nullptr;

    QGroupBox* fraMetaEdit = nullptr;
    QScrollBar* hscrollTileID = nullptr;
    BitmapView* picMetatile = nullptr;
    QLabel* lblSelMetatile = nullptr;
    BitmapView* picAttTableEdit = nullptr;
    std::array<QLabel*, 4> picPalMarker{};
    std::array<QLabel*, 16> lblnespal{};

    QGroupBox* fraGrid = nullptr;
    QCheckBox* chkShowGrid = nullptr;
    QScrollBar* hscrGridColor = nullptr;
    QCheckBox* chkDragAndDrop = nullptr;

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
    // The 256 tiles as a 16 x 16 sheet at 2x in the tile palette, to a PNG file and back; the
    // import is one step of the history.
    void cmdExportTiles_Click();
    void cmdImportTiles_Click();
    void hscrollSubtileID_Change(int value);
    void picSubtile_MouseDown(QPoint point, Qt::MouseButton button);
    void hscrollTileID_Change(int value);
    void picMetatile_MouseDown(QPoint point, Qt::MouseButton button);
    void picPalMarker_Click(int index);
    void lblnespal_Click(int index);
    void picAttTableEdit_MouseDown(QPoint point, Qt::MouseButton button);
    void chkShowGrid_Click();
    void hscrGridColor_Change(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTileEditor();
    void buildSubtileEditor();
    void buildMetatileEditor();
    void buildOptions();
    void document_Changed(const DocumentEvent& event);
    // Every picture, label and tooltip from the document and the selection.
    void redraw();
    void refreshTilePalette();
    void refreshBkgPalette();
    void markAttributePalette();
    // One step of the history that changes the selected tile's pixels.
    void editTile(const char* name, const std::function<void(PixelArray&, std::uint8_t)>& operation);
    void endPainting();

    frmMain& main_;
    BackgroundEditorSelection sel_;
    BackgroundEditorViews views_;
    int attributePalette_ = 0;
    int leftColor_ = 0;
    int rightColor_ = 1;
    bool painting_ = false;
    QPoint lastPixel_{-1, -1};
};

}  // namespace velmar
