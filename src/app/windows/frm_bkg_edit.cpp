#include "windows/frm_bkg_edit.h"

#include <algorithm>
#include <tuple>

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "edit_failure.h"
#include "editor/edits.h"
#include "windows/editor_context.h"
#include "gfx/nes_palette.h"
#include "gfx/tile_drawing.h"
#include "gfx/tile_import.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "panels/tile_editor_panel.h"
#include "widgets/bitmap_view.h"
#include "widgets/editor_controls.h"
#include "windows/window_placement.h"

namespace velmar {

namespace {

using controls::hex2;

// The four numbers of a subtile or metatile quarter by quarter, left column | right column
// (stored top left, bottom left, top right, bottom right): "0A0B|0C0D".
template <std::size_t N> QString quarterText(const std::array<std::uint8_t, N>& entry, std::size_t first)
{
    return hex2(entry[first]) + hex2(entry[first + 1]) + "|" + hex2(entry[first + 2]) + hex2(entry[first + 3]);
}

// Quarter 0-3 (top left, bottom left, top right, bottom right) of a square picture of side
// `size`; -1 outside it.
int quarterAt(QPoint p, int size)
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= size || p.y() >= size)
        return -1;
    return (p.x() >= size / 2 ? 2 : 0) + (p.y() >= size / 2 ? 1 : 0);
}

}  // namespace

frmBkgEdit::frmBkgEdit(const EditorContext& context)
    : QWidget(&context.window(), kEditorWindowFlags), ctx_(context.over(*this))
{
    setObjectName("frmBkgEdit");
    setWindowTitle("Background Editor");
    setAccessibleName("Background Editor");

    buildTileEditor();
    buildSubtileEditor();
    buildMetatileEditor();
    buildOptions();

    auto* right = new QVBoxLayout;
    right->addWidget(fraSubTileEdit);
    right->addWidget(fraGrid);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(fraTileEdit);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(scrollingContents(*this));
    layout->addLayout(top, 1);
    layout->addWidget(fraMetaEdit);

    connect(&context.document(), &EditorDocument::changed, this, &frmBkgEdit::document_Changed);
    initGUI();
}

void frmBkgEdit::buildTileEditor()
{
    fraTileEdit = new TileEditorPanel(ctx_, edits::PatternTable::Background, "picPatternTable", "Pattern table", this);
    connect(fraTileEdit, &TileEditorPanel::tileChosen, this, &frmBkgEdit::redraw);
    connect(fraTileEdit, &TileEditorPanel::paletteChanged, this, &frmBkgEdit::redraw);
    for (auto [member, name, caption, slot] :
         {std::tuple(&cmdExportTiles, "cmdExportTiles", "Export Tiles...", &frmBkgEdit::cmdExportTiles_Click),
          std::tuple(&cmdImportTiles, "cmdImportTiles", "Import Tiles...", &frmBkgEdit::cmdImportTiles_Click)}) {
        *member = new QPushButton(caption, fraTileEdit);
        (*member)->setObjectName(name);
        (*member)->setAccessibleName(QString(caption).remove("..."));
        (*member)->setToolTip("The 256 tiles as a 16 x 16 PNG sheet at 2x, in the tile palette");
        connect(*member, &QPushButton::clicked, this, slot);
        fraTileEdit->sideColumn()->addWidget(*member);
    }
}

void frmBkgEdit::buildSubtileEditor()
{
    fraSubTileEdit = new QGroupBox("Subtile Editor", this);
    fraSubTileEdit->setObjectName("fraSubTileEdit");
    fraSubTileEdit->setAccessibleName("Subtile Editor");
    hscrollSubtileID = controls::bar(fraSubTileEdit, "hscrollSubtileID", "Subtile");
    picSubtile = controls::picture(fraSubTileEdit, "picSubtile", "Subtile", 64, 64, 2, 32);
    lblSelSubtile = new QLabel("00", fraSubTileEdit);
    lblSelSubtile->setObjectName("lblSelSubtile");
    connect(hscrollSubtileID, &QScrollBar::valueChanged, this, &frmBkgEdit::hscrollSubtileID_Change);
    connect(picSubtile, &BitmapView::pressed, this, &frmBkgEdit::picSubtile_MouseDown);

    auto* layout = new QGridLayout(fraSubTileEdit);
    layout->addWidget(hscrollSubtileID, 0, 0, 1, 2);
    layout->addWidget(picSubtile, 1, 0);
    layout->addWidget(lblSelSubtile, 1, 1, Qt::AlignTop);
}

void frmBkgEdit::buildMetatileEditor()
{
    fraMetaEdit = new QGroupBox("Metatile Editor", this);
    fraMetaEdit->setObjectName("fraMetaEdit");
    fraMetaEdit->setAccessibleName("Metatile Editor");
    hscrollTileID = controls::bar(fraMetaEdit, "hscrollTileID", "Metatile");
    picMetatile = controls::picture(fraMetaEdit, "picMetatile", "Metatile", 128, 128, 2, 64);
    lblSelMetatile = new QLabel("00", fraMetaEdit);
    lblSelMetatile->setObjectName("lblSelMetatile");
    picAttTableEdit = controls::picture(fraMetaEdit, "picAttTableEdit", "Attributes", 64, 64, 2, 32);
    connect(hscrollTileID, &QScrollBar::valueChanged, this, &frmBkgEdit::hscrollTileID_Change);
    connect(picMetatile, &BitmapView::pressed, this, &frmBkgEdit::picMetatile_MouseDown);
    connect(picAttTableEdit, &BitmapView::pressed, this, &frmBkgEdit::picAttTableEdit_MouseDown);

    auto clickable = [&](QLabel* l) {
        l->setAutoFillBackground(true);
        l->setFocusPolicy(Qt::StrongFocus);
        l->installEventFilter(this);
    };
    auto* markers = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(fraMetaEdit);
        l->setObjectName(QString("picPalMarker_%1").arg(i));
        l->setAccessibleName(QString("Attribute palette %1").arg(i));
        l->setToolTip(l->accessibleName());
        l->setFixedSize(24, 24);
        clickable(l);
        controls::setSwatchColour(l, kPaletteMarkers[static_cast<std::size_t>(i)]);
        picPalMarker[static_cast<std::size_t>(i)] = l;
        markers->addWidget(l);
    }
    markers->addStretch();
    // The four background palettes, one row each beside the marker colours' order.
    auto* colours = new QGridLayout;
    colours->setSpacing(2);
    for (int i = 0; i < 16; ++i) {
        auto* l = new QLabel(fraMetaEdit);
        l->setObjectName(QString("lblnespal_%1").arg(i));
        l->setFixedSize(16, 16);
        l->setFrameShape(QFrame::Box);
        clickable(l);
        lblnespal[static_cast<std::size_t>(i)] = l;
        colours->addWidget(l, i / 4, i % 4);
    }

    auto* attributes = new QVBoxLayout;
    attributes->addWidget(picAttTableEdit);
    attributes->addLayout(markers);
    attributes->addLayout(colours);
    attributes->addStretch();
    auto* layout = new QGridLayout(fraMetaEdit);
    layout->addWidget(hscrollTileID, 0, 0, 1, 4);
    layout->addWidget(picMetatile, 1, 0, Qt::AlignTop);
    layout->addWidget(lblSelMetatile, 1, 1, Qt::AlignTop);
    layout->addLayout(attributes, 1, 2);
    layout->setColumnStretch(3, 1);
}

void frmBkgEdit::buildOptions()
{
    const controls::GridOptions o =
        controls::gridOptions(this, "Drag a tile of the pattern table onto another to copy it");
    fraGrid = o.frame;
    chkShowGrid = o.showGrid;
    hscrGridColor = o.colour;
    chkDragAndDrop = o.copyTiles;
    fraTileEdit->setCopyTilesBox(chkDragAndDrop);
    connect(chkShowGrid, &QCheckBox::clicked, this, &frmBkgEdit::chkShowGrid_Click);
    connect(hscrGridColor, &QScrollBar::valueChanged, this, &frmBkgEdit::hscrGridColor_Change);
}

void frmBkgEdit::initGUI()
{
    fraTileEdit->reset();
    subtile_ = 0;
    metatile_ = 0;
    attributePalette_ = 0;
    chkShowGrid->setChecked(false);
    chkDragAndDrop->setChecked(false);
    chkShowGrid_Click();
    hscrGridColor->setValue(0);
    hscrGridColor_Change(0);
    {
        const QSignalBlocker a(hscrollSubtileID), b(hscrollTileID);
        hscrollSubtileID->setValue(0);
        hscrollTileID->setValue(0);
    }
    markAttributePalette();
    redraw();
}

BackgroundEditorSelection frmBkgEdit::selection() const
{
    return {fraTileEdit->selectedTile(), subtile_, metatile_, fraTileEdit->tilePalette()};
}

// --- Tile sheets ---

namespace {

constexpr const char* kTileSheetFilter = "PNG image (*.png)";

// Where the tile sheet dialogs start: the folder of the open image.
QString sheetFolder(const Document& doc) { return QFileInfo(qs(doc.path())).absolutePath(); }

}  // namespace

void frmBkgEdit::cmdExportTiles_Click()
{
    const Document& doc = ctx_.doc();
    if (!doc.hasScene())
        return;
    const QString path = ctx_.dialogs().saveFile(sheetFolder(doc), kTileSheetFilter);
    if (path.isEmpty())
        return;
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, doc.scene().bkgPatterns, doc.currentScene().palette, fraTileEdit->tilePalette(), 2);
    if (const Outcome<WriteResult> r = saveBitmapPng(sheet, ss(path)); !r.ok())
        ctx_.dialogs().message(qs(fileMessage("Unknown I/O error!", ss(path), r.reason)), Dialogs::Icon::Exclamation);
}

void frmBkgEdit::cmdImportTiles_Click()
{
    Document& doc = ctx_.document().doc();
    if (!doc.hasScene())
        return;
    const QString path = ctx_.dialogs().openFile(sheetFolder(doc), kTileSheetFilter);
    if (path.isEmpty())
        return;
    const auto refuse = [&](const std::string& reason) {
        ctx_.dialogs().message(qs(fileMessage("The tiles were not imported.", ss(path), reason)),
                               Dialogs::Icon::Exclamation);
    };
    Bitmap sheet;
    if (const Outcome<ImageReadResult> r = loadBitmapPng(ss(path), sheet); !r.ok())
        return refuse(r.reason);
    const auto colours = tileSheetColours(doc.currentScene().palette, fraTileEdit->tilePalette());
    const edits::TileImport r = edits::importTiles(doc, doc.scene().patternsBkgBank, sheet, colours, 2);
    if (!r.picture.ok())
        refuse(r.picture.reason);
    else if (!r.edit.ok())
        refuse(r.edit.reason);
}

// --- Subtiles, metatiles and attributes ---

void frmBkgEdit::hscrollSubtileID_Change(int value)
{
    subtile_ = static_cast<std::uint8_t>(value & 0xFF);
    redraw();
}

void frmBkgEdit::picSubtile_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 64);
    if (q < 0)
        return;
    showEditFailure(ctx_.dialogs(),
                    edits::setSubtileTile(ctx_.document().doc(), subtile_, q, fraTileEdit->selectedTile()));
}

void frmBkgEdit::hscrollTileID_Change(int value)
{
    metatile_ = static_cast<std::uint8_t>(value & 0xFF);
    redraw();
}

void frmBkgEdit::picMetatile_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 128);
    if (q < 0)
        return;
    showEditFailure(ctx_.dialogs(), edits::setMetatileSubtile(ctx_.document().doc(), metatile_, q, subtile_));
}

void frmBkgEdit::picPalMarker_Click(int index)
{
    attributePalette_ = index & 3;
    markAttributePalette();
}

void frmBkgEdit::lblnespal_Click(int index) { picPalMarker_Click(index / 4); }

void frmBkgEdit::picAttTableEdit_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 64);
    if (q < 0)
        return;
    showEditFailure(ctx_.dialogs(), edits::setAttributePalette(ctx_.document().doc(), metatile_, q, attributePalette_));
}

void frmBkgEdit::markAttributePalette()
{
    for (std::size_t i = 0; i < picPalMarker.size(); ++i) {
        QLabel* l = picPalMarker[i];
        const bool chosen = static_cast<int>(i) == attributePalette_;
        l->setFrameStyle(chosen ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
        l->setLineWidth(chosen ? 2 : 0);
        l->setAccessibleDescription(chosen ? "Chosen" : QString());
    }
}

// --- Grid ---

void frmBkgEdit::chkShowGrid_Click()
{
    for (BitmapView* v :
         {fraTileEdit->picPatternTable, fraTileEdit->picSelectedTile, picSubtile, picMetatile, picAttTableEdit})
        v->setLineSetVisible(0, chkShowGrid->isChecked());
}

void frmBkgEdit::hscrGridColor_Change(int value)
{
    for (BitmapView* v :
         {fraTileEdit->picPatternTable, fraTileEdit->picSelectedTile, picSubtile, picMetatile, picAttTableEdit})
        v->setLineColour(QColor(0, 0, value & 0xFF));
}

// --- Drawing ---

void frmBkgEdit::document_Changed(const DocumentEvent& event)
{
    // Edits from any window, undo, redo and scene switches alike; a hidden window catches up
    // in initGUI.
    if (event.kind != DocumentEvent::Kind::Saved && isVisible())
        redraw();
}

void frmBkgEdit::redraw()
{
    const Document& doc = ctx_.doc();
    for (QGroupBox* f : {static_cast<QGroupBox*>(fraTileEdit), fraSubTileEdit, fraMetaEdit})
        f->setEnabled(doc.hasScene());
    fraTileEdit->redraw();
    lblSelSubtile->setText(hex2(subtile_));
    lblSelSubtile->setAccessibleName("Selected subtile: $" + lblSelSubtile->text());
    lblSelMetatile->setText(hex2(metatile_));
    lblSelMetatile->setAccessibleName("Selected metatile: $" + lblSelMetatile->text());
    if (!doc.hasScene()) {
        views_ = BackgroundEditorViews{};
    } else {
        const SceneState& s = doc.scene();
        redrawTableViews(views_, s.bkgPatterns, s.metatiles, s.currentScene.palette, selection());
        picSubtile->setToolTip(quarterText(s.metatiles.subtileDefs[subtile_], 0));
        picMetatile->setToolTip(quarterText(s.metatiles.metatileDefs[metatile_], 1));
    }
    picSubtile->setImage(toQImage(views_.subtile));
    picMetatile->setImage(toQImage(views_.metatile));
    picAttTableEdit->setImage(toQImage(views_.attributes));
    refreshBkgPalette();
}

void frmBkgEdit::refreshBkgPalette()
{
    const Document& doc = ctx_.doc();
    for (std::size_t i = 0; i < 16; ++i) {
        const std::uint8_t n = doc.hasScene() ? doc.currentScene().palette[i] : 0x0F;
        controls::setNesSwatch(lblnespal[i], n);
        lblnespal[i]->setAccessibleName(QString("Palette %1, colour %2: $%3").arg(i / 4).arg(i % 4).arg(hex2(n)));
        lblnespal[i]->setToolTip(lblnespal[i]->accessibleName());
    }
}

// --- Window ---

bool frmBkgEdit::eventFilter(QObject* watched, QEvent* event)
{
    const Qt::MouseButton button = controls::swatchClick(event);
    if (button != Qt::NoButton) {
        if (auto it = std::find(picPalMarker.begin(), picPalMarker.end(), watched); it != picPalMarker.end()) {
            picPalMarker_Click(static_cast<int>(it - picPalMarker.begin()));
            return true;
        }
        if (auto it = std::find(lblnespal.begin(), lblnespal.end(), watched); it != lblnespal.end()) {
            lblnespal_Click(static_cast<int>(it - lblnespal.begin()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBkgEdit::keyPressEvent(QKeyEvent* event)
{
    if (fraTileEdit->chooseColourKey(event))
        return;
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmBkgEdit::closeEvent(QCloseEvent* event)
{
    fraTileEdit->endPainting();
    QWidget::closeEvent(event);
}

}  // namespace velmar
