#pragma once

#include <array>
#include <cstdint>

#include <QPoint>
#include <QWidget>

#include "gfx/background_editor_views.h"
#include "windows/editor_context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace velmar {

class BitmapView;
struct DocumentEvent;
class TileEditorPanel;

// "Background Editor": the pixels of the current scene's 256 background tiles, its subtiles
// (2 x 2 tiles) and its metatiles (2 x 2 subtiles and an attribute byte that gives each quarter
// one of the four background palettes). Every change is one step of the document's history; the
// window shows the document's tables as they are and holds only what is selected.
class frmBkgEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmBkgEdit(const EditorContext& context);

    // Tile, subtile, metatile and palettes 0, colours 0 (left) and 1 (right), everything drawn.
    void initGUI();

    // The tile and tile palette are the tile editor's; the subtile and metatile the window's.
    BackgroundEditorSelection selection() const;

    // The pattern table, the tile, its colours, the palette steps and the tile operations.
    TileEditorPanel* fraTileEdit = nullptr;
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
    void refreshBkgPalette();
    void markAttributePalette();

    EditorContext ctx_;
    std::uint8_t subtile_ = 0;
    std::uint8_t metatile_ = 0;
    BackgroundEditorViews views_;
    int attributePalette_ = 0;
};

}  // namespace velmar
