#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

class QLabel;

namespace velmar {

// The scene's 32 palette colours as swatches: background sub-palettes 0-3 in the top row,
// sprite sub-palettes 4-7 below.
class PaletteStrip : public QWidget {
    Q_OBJECT
public:
    explicit PaletteStrip(QWidget* parent = nullptr);

    std::array<QLabel*, 32> lblPal{};

    void refreshPaletteDisplay(const std::array<std::uint8_t, 32>& palette);
    void clear();
};

}  // namespace velmar
