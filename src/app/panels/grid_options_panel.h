#pragma once

#include <QGroupBox>

class QRadioButton;
class QScrollBar;

namespace velmar {

// The "Grid" frame: no grid, the metatile grid or the screen grid, and the grid colour (black
// to blue). The choice persists across scenes for the life of the window.
class GridOptionsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit GridOptionsPanel(QWidget* parent = nullptr);

    QRadioButton* optNone = nullptr;
    QRadioButton* optShowMetatile = nullptr;
    QRadioButton* optShowScreen = nullptr;
    QScrollBar* hscrGridColor = nullptr;

    bool showMetatileGrid() const;
    bool showScreenGrid() const;
    int colourValue() const;
    // The next grid: none, metatiles, screens, and none again (Ctrl+G).
    void cycle();

public slots:
    void optNone_Click();
    void optShowMetatile_Click();
    void optShowScreen_Click();
    void hscrGridColor_Change(int value);

signals:
    void gridChanged();
};

}  // namespace velmar
