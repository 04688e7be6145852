#include "panels/palette_strip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "editor_document.h"
#include "gfx/nes_palette.h"
#include "qt_bridge.h"
#include "base/hex.h"

namespace velmar {

PaletteStrip::PaletteStrip(const EditorDocument& document, QWidget* parent) : QWidget(parent), document_(document)
{
    setObjectName("paletteStrip");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* swatches = new QGridLayout;
    swatches->setSpacing(1);
    for (int i = 0; i < 32; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("lblPal_%1").arg(i));
        l->setFixedSize(22, 16);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        lblPal[static_cast<std::size_t>(i)] = l;
        swatches->addWidget(l, i / 16, i % 16 + (i % 16) / 4);  // a gap column after each sub-palette
    }
    for (int gap : {4, 9, 14})
        swatches->setColumnMinimumWidth(gap, 6);
    row->addLayout(swatches);
    row->addStretch();
    clear();
    connect(&document_, &EditorDocument::changed, this, &PaletteStrip::document_Changed);
}

void PaletteStrip::document_Changed(const DocumentEvent& event)
{
    // Map, actor and graphics edits leave the colours as they are.
    constexpr Parts kNotColours = part::Map | part::Actors | part::Sprites | part::Patterns | part::Metatiles;
    if (event.kind != DocumentEvent::Kind::Saved
        && (!document_.doc().hasScene() || event.kind == DocumentEvent::Kind::SceneSelected || event.sceneSwitched
            || (event.parts & ~kNotColours) != 0))
        refresh();
}

void PaletteStrip::refresh()
{
    if (document_.doc().hasScene())
        refreshPaletteDisplay(document_.doc().currentScene().palette);
    else
        clear();
}

void PaletteStrip::refreshPaletteDisplay(const std::array<std::uint8_t, 32>& palette)
{
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint8_t v = palette[i];
        QLabel* l = lblPal[i];
        // A palette colour, not a style sheet: re-styling 32 labels on every scene switch costs
        // more than drawing the map.
        QPalette colours = l->palette();
        colours.setColor(QPalette::Window, toQColor(nesColorToRgb(v, false, 0)));
        l->setPalette(colours);
        const QString what = QString("Sub-palette %1, colour %2: $%3").arg(i / 4).arg(i % 4).arg(qs(hexPad(v, 2)));
        l->setToolTip(what);
        l->setAccessibleName(what);
    }
}

void PaletteStrip::clear()
{
    for (std::size_t i = 0; i < 32; ++i) {
        lblPal[i]->setPalette(QPalette());
        lblPal[i]->setToolTip(QString());
        lblPal[i]->setAccessibleName(QString("Sub-palette %1, colour %2").arg(i / 4).arg(i % 4));
    }
}

}  // namespace velmar
