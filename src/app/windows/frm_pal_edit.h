#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

#include "windows/editor_context.h"

class QCheckBox;
class QLabel;

namespace velmar {

struct DocumentEvent;

// "Palette Editor": the 64 NES colours to choose from and the 32 colours of the current scene's
// palette memory; a click on an entry gives it the chosen colour, one step of the history. The
// monochrome and emphasis boxes change only how this window shows the colours.
class frmPalEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmPalEdit(const EditorContext& context);

    // Colour 0 chosen, the boxes cleared, everything drawn afresh.
    void initGUI();
    int selectedColor() const { return selectedColor_; }

    std::array<QLabel*, 64> lblnespal{};
    QLabel* lblSelector = nullptr;
    std::array<QLabel*, 32> lblPal{};
    QCheckBox* chkMonochrome = nullptr;
    QCheckBox* chkIntRed = nullptr;
    QCheckBox* chkIntGreen = nullptr;
    QCheckBox* chkIntBlue = nullptr;

public slots:
    void lblnespal_Click(int index);
    void lblPal_Click(int index);
    void chkMonochrome_Click();
    void chkIntRed_Click();
    void chkIntGreen_Click();
    void chkIntBlue_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void document_Changed(const DocumentEvent& event);
    void redraw();
    void drawNesColours();
    void drawPalette();
    // Back colour and text colour of a label showing NES colour `n` as the boxes ask.
    void paintSwatch(QLabel* label, std::uint8_t n);
    int emphasis() const;

    EditorContext ctx_;
    int selectedColor_ = 0;
};

}  // namespace velmar
