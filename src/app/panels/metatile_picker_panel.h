#pragma once

#include <cstdint>

#include <QPoint>
#include <QWidget>

#include "gfx/bitmap.h"

class QLabel;
class QScrollBar;

namespace velmar {

class BitmapView;
class MarkerFrame;

// The metatile picker: four rows at a time of the scene's 512 x 512 sheet of 256 metatiles, and
// the metatile chosen for placing, enlarged, with its number.
class MetatilePickerPanel : public QWidget {
    Q_OBJECT
public:
    explicit MetatilePickerPanel(QWidget* parent = nullptr);

    QWidget* picContMetatiles = nullptr;
    BitmapView* picBkgNat = nullptr;
    QScrollBar* vMetaRenderer = nullptr;
    BitmapView* picSelectedMetatile = nullptr;
    QLabel* lblSelMetatile = nullptr;

    // The metatile a click on the map places. It survives scene changes.
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
    void drawChosen();
    // The chosen number in its label, and in what a screen reader says of the label and the sheet.
    void showChosenNumber();

    Bitmap sheet_;
    std::uint8_t brushMetatile_ = 0;
};

}  // namespace velmar
