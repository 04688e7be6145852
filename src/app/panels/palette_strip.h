#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

class QLabel;

namespace velmar {

class EditorDocument;
struct DocumentEvent;

// The current scene's 32 palette colours as swatches: background sub-palettes 0-3 in the top
// row, sprite sub-palettes 4-7 below. They follow the document's changes.
class PaletteStrip : public QWidget {
    Q_OBJECT
public:
    explicit PaletteStrip(const EditorDocument& document, QWidget* parent = nullptr);

    std::array<QLabel*, 32> lblPal{};

    // The current scene's colours; none without a scene.
    void refresh();

private:
    void document_Changed(const DocumentEvent& event);
    void refreshPaletteDisplay(const std::array<std::uint8_t, 32>& palette);
    void clear();

    const EditorDocument& document_;
};

}  // namespace velmar
