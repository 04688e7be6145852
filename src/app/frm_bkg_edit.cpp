#include "frm_bkg_edit.h"

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

#include "editor/edits.h"
#include "frm_main.h"
#include "gfx/nes_palette.h"
#include "gfx/tile_drawing.h"
#include "gfx/tile_import.h"
#include "gfx/tile_ops.h"
#include "qt_bridge.h"
#include "rom/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar {

namespace {

constexpr int kFocusNone = -1;

QString hex2(int n) { return qs(hexPad(n, 2)); }

// Evenly spaced grid lines over a square picture: `cells` cells of `pitch` pixels, the lines
// between them.
BitmapView::LineSet gridLines(int cells, int pitch)
{
    BitmapView::LineSet set;
    const int size = cells * pitch;
    for (int k = 1; k < cells; ++k) {
        set.lines.emplace_back(k * pitch, 0, k * pitch, size - 1);
        set.lines.emplace_back(0, k * pitch, size - 1, k * pitch);
    }
    return set;
}

BitmapView* picture(QWidget* parent, const char* name, const QString& shows, int w, int h, int cells, int pitch)
{
    auto* v = new BitmapView(parent);
    v->setObjectName(name);
    v->setAccessibleName(shows);
    v->setFixedSize(w, h);
    v->setLineSets({gridLines(cells, pitch)});
    return v;
}

QScrollBar* byteBar(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QScrollBar(Qt::Horizontal, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setRange(0, 255);
    b->setPageStep(16);
    return b;
}

void setSwatch(QLabel* label, ScreenColour colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, toQColor(colour));
    label->setPalette(p);
}

ScreenColour plainColour(std::uint8_t n) { return nesColorToRgb(n, false, 0); }

// The four numbers of a subtile or metatile quarter by quarter, left column | right column
// (stored top left, bottom left, top right, bottom right): "0A0B|0C0D".
template <std::size_t N>
QString quarterText(const std::array<std::uint8_t, N>& entry, std::size_t first)
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

// The tile under a point of the pattern table (16 x 16 cells of 16 pixels); -1 outside it.
int tileAt(QPoint p)
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= 256 || p.y() >= 256)
        return -1;
    return p.x() / 16 + p.y() / 16 * 16;
}

}  // namespace

frmBkgEdit::frmBkgEdit(frmMain& main) : QWidget(&main, Qt::Window), main_(main)
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
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(fraMetaEdit);

    connect(&main.document(), &EditorDocument::changed, this, &frmBkgEdit::document_Changed);
    initGUI();
}

void frmBkgEdit::buildTileEditor()
{
    fraTileEdit = new QGroupBox("Tile Editor", this);
    fraTileEdit->setObjectName("fraTileEdit");
    fraTileEdit->setAccessibleName("Tile Editor");

    picPatternTable = picture(fraTileEdit, "picPatternTable", "Pattern table", 256, 256, 16, 16);
    picSelectedTile = picture(fraTileEdit, "picSelectedTile", "Tile", 64, 64, 8, 8);
    connect(picPatternTable, &BitmapView::pressed, this, &frmBkgEdit::picPatternTable_MouseDown);
    connect(picPatternTable, &BitmapView::released, this, &frmBkgEdit::picPatternTable_MouseUp);
    connect(picSelectedTile, &BitmapView::pressed, this, &frmBkgEdit::picSelectedTile_MouseDown);
    connect(picSelectedTile, &BitmapView::moved, this, &frmBkgEdit::picSelectedTile_MouseMove);
    connect(picSelectedTile, &BitmapView::released, this, &frmBkgEdit::picSelectedTile_MouseUp);

    lblSelTile = new QLabel("00", fraTileEdit);
    lblSelTile->setObjectName("lblSelTile");

    auto* colours = new QHBoxLayout;
    colours->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(fraTileEdit);
        l->setObjectName(QString("lblnespal_tEdit_%1").arg(i));
        l->setAccessibleName(QString("Tile colour %1").arg(i));
        l->setToolTip("Left click: left button colour; right click: right button colour");
        l->setFixedSize(16, 16);
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Box);
        l->setFocusPolicy(Qt::StrongFocus);
        l->installEventFilter(this);
        lblnespal_tEdit[static_cast<std::size_t>(i)] = l;
        colours->addWidget(l);
    }
    colours->addSpacing(8);
    for (int i = 0; i < 2; ++i) {
        auto* l = new QLabel(fraTileEdit);
        l->setObjectName(QString("lblselectedcolor_%1").arg(i));
        l->setAccessibleName(i == 0 ? "Left button colour" : "Right button colour");
        l->setToolTip("Current Color");
        l->setFixedSize(16, 16);
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Box);
        lblselectedcolor[static_cast<std::size_t>(i)] = l;
        colours->addWidget(l);
    }
    colours->addStretch();

    auto button = [&](QToolButton*& member, const char* name, const QString& mark, const QString& tip,
                      void (frmBkgEdit::*slot)()) {
        member = new QToolButton(fraTileEdit);
        member->setObjectName(name);
        member->setText(mark);
        member->setToolTip(tip);
        member->setAccessibleName(tip);
        connect(member, &QToolButton::clicked, this, slot);
        return member;
    };
    auto* paletteRow = new QHBoxLayout;
    paletteRow->addWidget(button(cmdPrevPal, "cmdPrevPal", QString::fromUtf8("\u25C0"), "Previous Palette",
                                 &frmBkgEdit::cmdPrevPal_Click));
    paletteRow->addWidget(button(cmdNextPal, "cmdNextPal", QString::fromUtf8("\u25B6"), "Next Palette",
                                 &frmBkgEdit::cmdNextPal_Click));
    paletteRow->addStretch();
    auto* operations = new QGridLayout;
    operations->addWidget(button(cmdShiftUp, "cmdShiftUp", QString::fromUtf8("\u2191"), "Shift Up",
                                 &frmBkgEdit::cmdShiftUp_Click), 0, 1);
    operations->addWidget(button(cmdShiftLeft, "cmdShiftLeft", QString::fromUtf8("\u2190"), "Shift Left",
                                 &frmBkgEdit::cmdShiftLeft_Click), 1, 0);
    operations->addWidget(button(cmdShiftRight, "cmdShiftRight", QString::fromUtf8("\u2192"), "Shift Right",
                                 &frmBkgEdit::cmdShiftRight_Click), 1, 2);
    operations->addWidget(button(cmdShiftDown, "cmdShiftDown", QString::fromUtf8("\u2193"), "Shift Down",
                                 &frmBkgEdit::cmdShiftDown_Click), 2, 1);
    operations->addWidget(button(cmdFlipHAxis, "cmdFlipHAxis", QString::fromUtf8("\u2195"),
                                 "Flip Top to Bottom", &frmBkgEdit::cmdFlipHAxis_Click), 0, 3);
    operations->addWidget(button(cmdFlipVAxis, "cmdFlipVAxis", QString::fromUtf8("\u2194"),
                                 "Flip Left to Right", &frmBkgEdit::cmdFlipVAxis_Click), 1, 3);
    operations->addWidget(button(cmdRotate, "cmdRotate", QString::fromUtf8("\u21BA"), "Rotate Anticlockwise",
                                 &frmBkgEdit::cmdRotate_Click), 2, 3);
    operations->setColumnStretch(4, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(picSelectedTile);
    side->addWidget(lblSelTile);
    side->addLayout(colours);
    side->addLayout(paletteRow);
    side->addLayout(operations);
    for (auto [member, name, caption, slot] :
         {std::tuple(&cmdExportTiles, "cmdExportTiles", "Export Tiles...", &frmBkgEdit::cmdExportTiles_Click),
          std::tuple(&cmdImportTiles, "cmdImportTiles", "Import Tiles...", &frmBkgEdit::cmdImportTiles_Click)}) {
        *member = new QPushButton(caption, fraTileEdit);
        (*member)->setObjectName(name);
        (*member)->setAccessibleName(QString(caption).remove("..."));
        (*member)->setToolTip("The 256 tiles as a 16 x 16 PNG sheet at 2x, in the tile palette");
        connect(*member, &QPushButton::clicked, this, slot);
        side->addWidget(*member);
    }
    side->addStretch();
    auto* layout = new QHBoxLayout(fraTileEdit);
    layout->addWidget(picPatternTable, 0, Qt::AlignTop);
    layout->addLayout(side);
}

void frmBkgEdit::buildSubtileEditor()
{
    fraSubTileEdit = new QGroupBox("Subtile Editor", this);
    fraSubTileEdit->setObjectName("fraSubTileEdit");
    fraSubTileEdit->setAccessibleName("Subtile Editor");
    hscrollSubtileID = byteBar(fraSubTileEdit, "hscrollSubtileID", "Subtile");
    picSubtile = picture(fraSubTileEdit, "picSubtile", "Subtile", 64, 64, 2, 32);
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
    hscrollTileID = byteBar(fraMetaEdit, "hscrollTileID", "Metatile");
    picMetatile = picture(fraMetaEdit, "picMetatile", "Metatile", 128, 128, 2, 64);
    lblSelMetatile = new QLabel("00", fraMetaEdit);
    lblSelMetatile->setObjectName("lblSelMetatile");
    picAttTableEdit = picture(fraMetaEdit, "picAttTableEdit", "Attributes", 64, 64, 2, 32);
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
        setSwatch(l, kPaletteMarkers[static_cast<std::size_t>(i)]);
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
    fraGrid = new QGroupBox("Options", this);
    fraGrid->setObjectName("fraGrid");
    fraGrid->setAccessibleName("Options");
    chkShowGrid = new QCheckBox("Show Grid", fraGrid);
    chkShowGrid->setObjectName("chkShowGrid");
    chkShowGrid->setAccessibleName("Show Grid");
    hscrGridColor = byteBar(fraGrid, "hscrGridColor", "Grid colour");
    chkDragAndDrop = new QCheckBox("Copy Tiles", fraGrid);
    chkDragAndDrop->setObjectName("chkDragAndDrop");
    chkDragAndDrop->setAccessibleName("Copy Tiles");
    chkDragAndDrop->setToolTip("Drag a tile of the pattern table onto another to copy it");
    connect(chkShowGrid, &QCheckBox::clicked, this, &frmBkgEdit::chkShowGrid_Click);
    connect(hscrGridColor, &QScrollBar::valueChanged, this, &frmBkgEdit::hscrGridColor_Change);

    auto* layout = new QVBoxLayout(fraGrid);
    layout->addWidget(chkShowGrid);
    layout->addWidget(hscrGridColor);
    layout->addWidget(chkDragAndDrop);
}

void frmBkgEdit::initGUI()
{
    endPainting();
    sel_ = BackgroundEditorSelection{};
    attributePalette_ = 0;
    leftColor_ = 0;
    rightColor_ = 1;
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

// --- Tiles and pixels ---

void frmBkgEdit::picPatternTable_MouseDown(QPoint point, Qt::MouseButton)
{
    const int t = tileAt(point);
    if (t < 0)
        return;
    sel_.tile = static_cast<std::uint8_t>(t);
    redraw();
}

void frmBkgEdit::picPatternTable_MouseUp(QPoint point, Qt::MouseButton)
{
    // The press chose the source; a release off the table copies nothing.
    const int t = tileAt(point);
    if (!chkDragAndDrop->isChecked() || t < 0 || t == sel_.tile)
        return;
    const std::uint8_t source = sel_.tile;
    edits::editScene(main_.document().doc(), {"Copy Tile", part::Patterns, kFocusNone}, [&](SceneState& s) {
        copyTile(s.bkgPatterns, source, s.bkgPatterns, static_cast<std::uint8_t>(t));
        return true;
    });
}

void frmBkgEdit::picSelectedTile_MouseDown(QPoint point, Qt::MouseButton button)
{
    Document& doc = main_.document().doc();
    if (button == Qt::NoButton || !doc.hasScene() || point.x() < 0 || point.y() < 0 || point.x() > 63 || point.y() > 63)
        return;
    // Shift+click picks the colour under the pointer, as in pixel editors: the left button's or
    // the right button's.
    if (!painting_ && (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)) {
        const std::uint8_t picked = tilePixel(doc.scene().bkgPatterns, sel_.tile, point.x() / 8, point.y() / 8);
        (button == Qt::LeftButton ? leftColor_ : rightColor_) = picked;
        refreshTilePalette();
        return;
    }
    // The pixels a press, drag and release paint are one step.
    if (!painting_ || !doc.inStroke())
        doc.beginStroke({"Paint Pixels", part::Patterns, kFocusNone});
    painting_ = true;
    lastPixel_ = QPoint(point.x() / 8, point.y() / 8);
    const int colour = button == Qt::LeftButton ? leftColor_ : rightColor_;
    edits::paintPixel(doc, edits::PatternTable::Background, sel_.tile, lastPixel_.x(), lastPixel_.y(),
                      static_cast<std::uint8_t>(colour));
}

void frmBkgEdit::picSelectedTile_MouseMove(QPoint point, Qt::MouseButtons buttons)
{
    // Each pixel entered is painted once; off the picture nothing is painted until it returns.
    // An undo in the middle of a drag ends the stroke, and the drag paints no more.
    if (!painting_ || buttons == Qt::NoButton || !main_.document().doc().inStroke())
        return;
    if (point.x() < 0 || point.y() < 0 || point.x() > 63 || point.y() > 63)
        return;
    if (QPoint(point.x() / 8, point.y() / 8) == lastPixel_)
        return;
    picSelectedTile_MouseDown(point, (buttons & Qt::LeftButton) ? Qt::LeftButton : Qt::RightButton);
}

void frmBkgEdit::picSelectedTile_MouseUp(QPoint, Qt::MouseButton) { endPainting(); }

void frmBkgEdit::endPainting()
{
    if (painting_)
        main_.document().doc().endStroke();
    painting_ = false;
    lastPixel_ = QPoint(-1, -1);
}

void frmBkgEdit::lblnespal_tEdit_Click(int index, Qt::MouseButton button)
{
    if (index < 0 || index > 3)
        return;
    (button == Qt::LeftButton ? leftColor_ : rightColor_) = index;
    refreshTilePalette();
}

void frmBkgEdit::cmdPrevPal_Click()
{
    sel_.tilePalette = static_cast<std::uint8_t>((sel_.tilePalette - 1) & 3);
    redraw();
}

void frmBkgEdit::cmdNextPal_Click()
{
    sel_.tilePalette = static_cast<std::uint8_t>((sel_.tilePalette + 1) & 3);
    redraw();
}

void frmBkgEdit::editTile(const char* name, const std::function<void(PixelArray&, std::uint8_t)>& operation)
{
    const std::uint8_t tile = sel_.tile;
    edits::editScene(main_.document().doc(), {name, part::Patterns, kFocusNone}, [&](SceneState& s) {
        operation(s.bkgPatterns, tile);
        return true;
    });
}

// shiftTile takes the offset a result pixel reads from: +1 brings column 1 to column 0, a move left.
void frmBkgEdit::cmdShiftLeft_Click()
{
    editTile("Shift Tile", [](PixelArray& p, std::uint8_t t) { shiftTile(p, t, 1, 0); });
}

void frmBkgEdit::cmdShiftRight_Click()
{
    editTile("Shift Tile", [](PixelArray& p, std::uint8_t t) { shiftTile(p, t, -1, 0); });
}

void frmBkgEdit::cmdShiftUp_Click()
{
    editTile("Shift Tile", [](PixelArray& p, std::uint8_t t) { shiftTile(p, t, 0, 1); });
}

void frmBkgEdit::cmdShiftDown_Click()
{
    editTile("Shift Tile", [](PixelArray& p, std::uint8_t t) { shiftTile(p, t, 0, -1); });
}

void frmBkgEdit::cmdFlipHAxis_Click()
{
    editTile("Flip Tile", [](PixelArray& p, std::uint8_t t) { flipTile(p, t, false, true); });
}

void frmBkgEdit::cmdFlipVAxis_Click()
{
    editTile("Flip Tile", [](PixelArray& p, std::uint8_t t) { flipTile(p, t, true, false); });
}

void frmBkgEdit::cmdRotate_Click()
{
    editTile("Rotate Tile", [](PixelArray& p, std::uint8_t t) { rotateTile(p, t); });
}

namespace {

constexpr const char* kTileSheetFilter = "PNG image (*.png)";

// Where the tile sheet dialogs start: the folder of the open image.
QString sheetFolder(const Document& doc) { return QFileInfo(qs(doc.path())).absolutePath(); }

}  // namespace

void frmBkgEdit::cmdExportTiles_Click()
{
    const Document& doc = main_.doc();
    if (!doc.hasScene())
        return;
    const QString path = main_.dialogs().saveFile(sheetFolder(doc), kTileSheetFilter);
    if (path.isEmpty())
        return;
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, doc.scene().bkgPatterns, doc.currentScene().palette, sel_.tilePalette, 2);
    if (const Outcome<WriteResult> r = saveBitmapPng(sheet, ss(path)); !r.ok())
        main_.dialogs().message(qs(fileMessage("Unknown I/O error!", ss(path), r.reason)), Dialogs::Icon::Exclamation);
}

void frmBkgEdit::cmdImportTiles_Click()
{
    Document& doc = main_.document().doc();
    if (!doc.hasScene())
        return;
    const QString path = main_.dialogs().openFile(sheetFolder(doc), kTileSheetFilter);
    if (path.isEmpty())
        return;
    const auto refuse = [&](const std::string& reason) {
        main_.dialogs().message(qs(fileMessage("The tiles were not imported.", ss(path), reason)),
                                Dialogs::Icon::Exclamation);
    };
    Bitmap sheet;
    if (const Outcome<ImageReadResult> r = loadBitmapPng(ss(path), sheet); !r.ok())
        return refuse(r.reason);
    PixelArray pixels;
    const auto colours = tileSheetColours(doc.currentScene().palette, sel_.tilePalette);
    if (const Outcome<TileImportResult> r = importTileSheet(sheet, colours, 2, pixels); !r.ok())
        return refuse(r.reason);
    const Outcome<EditResult> r = doc.edit({"Import Tiles", part::Patterns, kFocusNone}, [&](EditContext& c) {
        c.scene().bkgPatterns = pixels;
        return true;
    });
    if (r.code == EditResult::Failed)
        refuse(r.reason);
}

// --- Subtiles, metatiles and attributes ---

void frmBkgEdit::hscrollSubtileID_Change(int value)
{
    sel_.subtile = static_cast<std::uint8_t>(value & 0xFF);
    redraw();
}

void frmBkgEdit::picSubtile_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 64);
    if (q < 0)
        return;
    const std::uint8_t subtile = sel_.subtile, tile = sel_.tile;
    edits::editScene(main_.document().doc(), {"Edit Subtile", part::Metatiles, kFocusNone}, [&](SceneState& s) {
        s.metatiles.subtileDefs[subtile][static_cast<std::size_t>(q)] = tile;
        return true;
    });
}

void frmBkgEdit::hscrollTileID_Change(int value)
{
    sel_.metatile = static_cast<std::uint8_t>(value & 0xFF);
    redraw();
}

void frmBkgEdit::picMetatile_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 128);
    if (q < 0)
        return;
    const std::uint8_t metatile = sel_.metatile, subtile = sel_.subtile;
    edits::editScene(main_.document().doc(), {"Edit Metatile", part::Metatiles, kFocusNone}, [&](SceneState& s) {
        s.metatiles.metatileDefs[metatile][1 + static_cast<std::size_t>(q)] = subtile;
        return true;
    });
}

void frmBkgEdit::picPalMarker_Click(int index)
{
    attributePalette_ = index & 3;
    markAttributePalette();
}

void frmBkgEdit::lblnespal_Click(int index)
{
    picPalMarker_Click(index / 4);
}

void frmBkgEdit::picAttTableEdit_MouseDown(QPoint point, Qt::MouseButton)
{
    const int q = quarterAt(point, 64);
    if (q < 0)
        return;
    // The attribute byte: top left bits 0-1, top right 2-3, bottom left 4-5, bottom right 6-7;
    // the quarters count column first (top left, bottom left, top right, bottom right).
    static constexpr std::array<int, 4> kShift = {0, 4, 2, 6};
    const int shift = kShift[static_cast<std::size_t>(q)];
    const std::uint8_t metatile = sel_.metatile;
    const int p = attributePalette_;
    edits::editScene(main_.document().doc(), {"Edit Attributes", part::Metatiles, kFocusNone}, [&](SceneState& s) {
        std::uint8_t& a = s.metatiles.metatileDefs[metatile][0];
        a = static_cast<std::uint8_t>((a & ~(3 << shift)) | (p << shift));
        return true;
    });
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
    for (BitmapView* v : {picPatternTable, picSelectedTile, picSubtile, picMetatile, picAttTableEdit})
        v->setLineSetVisible(0, chkShowGrid->isChecked());
}

void frmBkgEdit::hscrGridColor_Change(int value)
{
    for (BitmapView* v : {picPatternTable, picSelectedTile, picSubtile, picMetatile, picAttTableEdit})
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
    const Document& doc = main_.doc();
    for (QGroupBox* f : {fraTileEdit, fraSubTileEdit, fraMetaEdit})
        f->setEnabled(doc.hasScene());
    lblSelTile->setText(hex2(sel_.tile));
    lblSelTile->setAccessibleName("Selected tile: $" + lblSelTile->text());
    lblSelSubtile->setText(hex2(sel_.subtile));
    lblSelSubtile->setAccessibleName("Selected subtile: $" + lblSelSubtile->text());
    lblSelMetatile->setText(hex2(sel_.metatile));
    lblSelMetatile->setAccessibleName("Selected metatile: $" + lblSelMetatile->text());
    if (!doc.hasScene()) {
        views_ = BackgroundEditorViews{};
    } else {
        const SceneState& s = doc.scene();
        redrawAll(views_, s.bkgPatterns, s.metatiles, s.currentScene.palette, sel_);
        picSubtile->setToolTip(quarterText(s.metatiles.subtileDefs[sel_.subtile], 0));
        picMetatile->setToolTip(quarterText(s.metatiles.metatileDefs[sel_.metatile], 1));
    }
    picPatternTable->setImage(toQImage(views_.patternTable));
    picSelectedTile->setImage(toQImage(views_.selectedTile));
    picSubtile->setImage(toQImage(views_.subtile));
    picMetatile->setImage(toQImage(views_.metatile));
    picAttTableEdit->setImage(toQImage(views_.attributes));
    refreshTilePalette();
    refreshBkgPalette();
}

void frmBkgEdit::refreshTilePalette()
{
    const Document& doc = main_.doc();
    std::array<std::uint8_t, 4> colours{0x0F, 0x0F, 0x0F, 0x0F};
    if (doc.hasScene())
        std::copy_n(doc.currentScene().palette.begin() + sel_.tilePalette * 4, 4, colours.begin());
    for (std::size_t i = 0; i < 4; ++i)
        setSwatch(lblnespal_tEdit[i], plainColour(colours[i]));
    const std::array<int, 2> chosen = {leftColor_, rightColor_};
    for (std::size_t b = 0; b < 2; ++b) {
        setSwatch(lblselectedcolor[b], plainColour(colours[static_cast<std::size_t>(chosen[b])]));
        lblselectedcolor[b]->setAccessibleName(
            QString(b == 0 ? "Left button colour: %1" : "Right button colour: %1").arg(chosen[b]));
    }
}

void frmBkgEdit::refreshBkgPalette()
{
    const Document& doc = main_.doc();
    for (std::size_t i = 0; i < 16; ++i) {
        const std::uint8_t n = doc.hasScene() ? doc.currentScene().palette[i] : 0x0F;
        setSwatch(lblnespal[i], plainColour(n));
        lblnespal[i]->setAccessibleName(QString("Palette %1, colour %2: $%3").arg(i / 4).arg(i % 4).arg(hex2(n)));
        lblnespal[i]->setToolTip(lblnespal[i]->accessibleName());
    }
}

// --- Window ---

bool frmBkgEdit::eventFilter(QObject* watched, QEvent* event)
{
    Qt::MouseButton button = Qt::NoButton;
    if (event->type() == QEvent::MouseButtonPress) {
        button = static_cast<QMouseEvent*>(event)->button();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
            // Shift chooses as the right button does.
            button = (static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier) ? Qt::RightButton
                                                                                         : Qt::LeftButton;
    }
    if (button != Qt::NoButton) {
        if (auto it = std::find(lblnespal_tEdit.begin(), lblnespal_tEdit.end(), watched); it != lblnespal_tEdit.end()) {
            lblnespal_tEdit_Click(static_cast<int>(it - lblnespal_tEdit.begin()), button);
            return true;
        }
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
    // 1-4 choose the left colour, as the number keys do in pixel editors.
    if (event->key() >= Qt::Key_1 && event->key() <= Qt::Key_4 && event->modifiers() == Qt::NoModifier)
        lblnespal_tEdit_Click(event->key() - Qt::Key_1, Qt::LeftButton);
    else if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmBkgEdit::closeEvent(QCloseEvent* event)
{
    endPainting();
    // The main window shows every edit as it is made; a full redraw puts it all right again.
    if (!main_.exiting())
        main_.unloadSubEditor_refresh();
    QWidget::closeEvent(event);
}

}  // namespace velmar
