#pragma once

#include <cstdint>
#include <map>

#include <QPoint>
#include <QWidget>

#include "gfx/bitmap.h"

class QLabel;
class QScrollBar;

namespace velmar {

class BitmapView;
class EditorDocument;
class MarkerFrame;
struct DocumentEvent;

// The metatile picker: four rows at a time (more when there is room) of the scene's 512 x 512
// sheet of 256 metatiles, and
// the metatile chosen for placing (the brush), enlarged, with its number. The brush belongs to a
// tileset: a scene of the same tileset keeps it, another gets the one last chosen with its own
// (00 at first).
class MetatilePickerPanel : public QWidget {
    Q_OBJECT
public:
    explicit MetatilePickerPanel(const EditorDocument& document, QWidget* parent = nullptr);

    QWidget* picContMetatiles = nullptr;
    BitmapView* picBkgNat = nullptr;
    QScrollBar* vMetaRenderer = nullptr;
    BitmapView* picSelectedMetatile = nullptr;
    QLabel* lblSelMetatile = nullptr;

    // The metatile a click on the map places.
    std::uint8_t brushMetatile() const { return brushMetatile_; }
    // Shows a new sheet; the chosen metatile's picture is taken from it again.
    void setSheet(const Bitmap& sheet);
    void clear();
    // Chooses the metatile under sheet pixel `point` (the press handling without a button).
    void chooseMetatile(QPoint point);
    // Chooses metatile `m` and scrolls the picker to show it.
    void chooseMetatileNumber(std::uint8_t m);

    // Frames the chosen metatile on the sheet, in two colours that show on any metatile.
    MarkerFrame* lblChosenFrame = nullptr;

public slots:
    void picBkgNat_MouseDown(QPoint point, Qt::MouseButton button);
    void vMetaRenderer_Change(int value);

protected:
    // The wheel scrolls the picker's rows; the arrow keys choose a metatile.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void document_Changed(const DocumentEvent& event);
    void chooseBrushForTileset(std::uint8_t tileset);
    void drawChosen();
    // The rows of the sheet the picker's window shows at once, and the scroll bar's range to match.
    int visibleRows() const;
    void showRows();
    // The chosen number in its label, and in what a screen reader says of the label and the sheet.
    void showChosenNumber();

    const EditorDocument& document_;
    Bitmap sheet_;
    std::uint8_t brushMetatile_ = 0;
    std::map<std::uint8_t, std::uint8_t> brushByTileset_;
    int brushTileset_ = -1;
};

}  // namespace velmar
