#include "panels/tile_editor_panel.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "windows/editor_context.h"
#include "bitmap_image.h"
#include "edit_failure.h"
#include "gfx/tile_drawing.h"
#include "widgets/editor_controls.h"
#include "widgets/marker_frame.h"

namespace velmar {

using controls::hex2;

namespace {

// The tile under a point of the pattern table (16 x 16 cells of 16 pixels); -1 outside it.
int tileAt(QPoint p)
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= 256 || p.y() >= 256)
        return -1;
    return p.x() / 16 + p.y() / 16 * 16;
}

bool insideTile(QPoint p) { return p.x() >= 0 && p.y() >= 0 && p.x() <= 63 && p.y() <= 63; }

}  // namespace

TileEditorPanel::TileEditorPanel(const EditorContext& context, edits::PatternTable table, const char* tableName,
                                 const QString& tableShows, QWidget* parent)
    : QGroupBox("Tile Editor", parent), ctx_(context), table_(table),
      paletteBase_(table == edits::PatternTable::Sprite ? 4 : 0), tilePalette_(paletteBase_)
{
    setObjectName("fraTileEdit");
    setAccessibleName("Tile Editor");

    picPatternTable = controls::picture(this, tableName, tableShows, 256, 256, 16, 16);
    picSelectedTile =
        controls::canvas(this, "picSelectedTile", table == edits::PatternTable::Sprite ? "Sprite tile" : "Tile", 64, 8);
    connect(picPatternTable, &BitmapView::pressed, this, &TileEditorPanel::picPatternTable_MouseDown);
    connect(picPatternTable, &BitmapView::released, this, &TileEditorPanel::picPatternTable_MouseUp);
    connect(picSelectedTile, &BitmapView::pressed, this, &TileEditorPanel::picSelectedTile_MouseDown);
    connect(picSelectedTile, &BitmapView::moved, this, &TileEditorPanel::picSelectedTile_MouseMove);
    connect(picSelectedTile, &BitmapView::released, this, &TileEditorPanel::picSelectedTile_MouseUp);

    lblSelTile = new QLabel("00", this);
    lblSelTile->setObjectName("lblSelTile");
    lblSelTileFrame = new MarkerFrame(picPatternTable);
    lblSelTileFrame->setObjectName("lblSelTileFrame");
    lblSelTileFrame->setAccessibleName("Selected tile frame");
    lblSelTileFrame->setGeometry(0, 0, 16, 16);

    auto* colours = new QHBoxLayout;
    colours->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        QLabel* l = controls::swatch(this, QString("lblnespal_tEdit_%1").arg(i), QString("Tile colour %1").arg(i), 16);
        l->setToolTip("Left click: left button colour; right click: right button colour");
        l->setFocusPolicy(Qt::StrongFocus);
        l->installEventFilter(this);
        lblnespal_tEdit[static_cast<std::size_t>(i)] = l;
        colours->addWidget(l);
    }
    colours->addSpacing(8);
    for (int i = 0; i < 2; ++i) {
        QLabel* l = controls::swatch(this, QString("lblselectedcolor_%1").arg(i),
                                     i == 0 ? "Left button colour" : "Right button colour", 16);
        l->setToolTip("Current Color");
        lblselectedcolor[static_cast<std::size_t>(i)] = l;
        colours->addWidget(l);
    }
    colours->addStretch();

    auto button = [&](QToolButton*& member, const char* name, const char* mark, const QString& tip,
                      void (TileEditorPanel::*slot)()) {
        member = new QToolButton(this);
        member->setObjectName(name);
        member->setText(QString::fromUtf8(mark));
        member->setToolTip(tip);
        member->setAccessibleName(tip);
        connect(member, &QToolButton::clicked, this, slot);
        return member;
    };
    auto* paletteRow = new QHBoxLayout;
    paletteRow->addWidget(
        button(cmdPrevPal, "cmdPrevPal", "\u25C0", "Previous Palette", &TileEditorPanel::cmdPrevPal_Click));
    paletteRow->addWidget(
        button(cmdNextPal, "cmdNextPal", "\u25B6", "Next Palette", &TileEditorPanel::cmdNextPal_Click));
    paletteRow->addStretch();
    auto* operations = new QGridLayout;
    operations->addWidget(button(cmdShiftUp, "cmdShiftUp", "\u2191", "Shift Up", &TileEditorPanel::cmdShiftUp_Click), 0,
                          1);
    operations->addWidget(
        button(cmdShiftLeft, "cmdShiftLeft", "\u2190", "Shift Left", &TileEditorPanel::cmdShiftLeft_Click), 1, 0);
    operations->addWidget(
        button(cmdShiftRight, "cmdShiftRight", "\u2192", "Shift Right", &TileEditorPanel::cmdShiftRight_Click), 1, 2);
    operations->addWidget(
        button(cmdShiftDown, "cmdShiftDown", "\u2193", "Shift Down", &TileEditorPanel::cmdShiftDown_Click), 2, 1);
    operations->addWidget(
        button(cmdFlipHAxis, "cmdFlipHAxis", "\u2195", "Flip Top to Bottom", &TileEditorPanel::cmdFlipHAxis_Click), 0,
        3);
    operations->addWidget(
        button(cmdFlipVAxis, "cmdFlipVAxis", "\u2194", "Flip Left to Right", &TileEditorPanel::cmdFlipVAxis_Click), 1,
        3);
    operations->addWidget(
        button(cmdRotate, "cmdRotate", "\u21BA", "Rotate Anticlockwise", &TileEditorPanel::cmdRotate_Click), 2, 3);
    operations->setColumnStretch(4, 1);

    side_ = new QVBoxLayout;
    // The tile takes the room the window gives the group.
    side_->addWidget(picSelectedTile, 1);
    side_->addWidget(lblSelTile);
    side_->addLayout(colours);
    side_->addLayout(paletteRow);
    side_->addLayout(operations);
    tableRow_ = new QHBoxLayout;
    tableRow_->addWidget(picPatternTable, 0, Qt::AlignTop);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(tableRow_);
    layout->addLayout(side_);
}

const PixelArray& TileEditorPanel::pixels() const
{
    const SceneState& s = ctx_.doc().scene();
    return table_ == edits::PatternTable::Sprite ? s.sprPatterns : s.bkgPatterns;
}

void TileEditorPanel::reset()
{
    endPainting();
    selectedTile_ = 0;
    tilePalette_ = paletteBase_;
    leftColor_ = 0;
    rightColor_ = 1;
}

// --- Tiles and pixels ---

void TileEditorPanel::selectTile(int tile)
{
    selectedTile_ = static_cast<std::uint8_t>(tile & 0xFF);
    redraw();
    emit tileChosen();
}

void TileEditorPanel::picPatternTable_MouseDown(QPoint point, Qt::MouseButton)
{
    if (const int t = tileAt(point); t >= 0)
        selectTile(t);
}

void TileEditorPanel::picPatternTable_MouseUp(QPoint point, Qt::MouseButton)
{
    // The press chose the source; a release off the table copies nothing.
    const int t = tileAt(point);
    if (!copyTiles_ || !copyTiles_->isChecked() || t < 0 || t == selectedTile_)
        return;
    showEditFailure(ctx_.dialogs(),
                    edits::copyTile(ctx_.document().doc(), table_, selectedTile_, static_cast<std::uint8_t>(t)));
}

void TileEditorPanel::picSelectedTile_MouseDown(QPoint point, Qt::MouseButton button)
{
    Document& doc = ctx_.document().doc();
    if (button == Qt::NoButton || !doc.hasScene() || !insideTile(point))
        return;
    // Shift+click picks the colour under the pointer, as in pixel editors: the left button's or
    // the right button's.
    if (!painting_ && (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)) {
        const std::uint8_t picked = tilePixel(pixels(), selectedTile_, point.x() / 8, point.y() / 8);
        (button == Qt::LeftButton ? leftColor_ : rightColor_) = picked;
        refreshSwatches();
        return;
    }
    // The pixels a press, drag and release paint are one step.
    if (!painting_ || !doc.inStroke())
        doc.beginStroke({"Paint Pixels", part::Patterns, Document::kFocusNone});
    painting_ = true;
    lastPixel_ = QPoint(point.x() / 8, point.y() / 8);
    const int colour = button == Qt::LeftButton ? leftColor_ : rightColor_;
    const Outcome<EditResult> r = edits::paintPixel(doc, table_, selectedTile_, lastPixel_.x(), lastPixel_.y(),
                                                    static_cast<std::uint8_t>(colour));
    // A stroke that cannot be stored ends there, before the message, rather than failing again
    // at every pixel the drag enters.
    if (const std::optional<QString> failure = editFailureText(r)) {
        endPainting();
        ctx_.dialogs().message(*failure, Dialogs::Icon::Exclamation);
    }
}

void TileEditorPanel::picSelectedTile_MouseMove(QPoint point, Qt::MouseButtons buttons)
{
    // Each pixel entered is painted once; off the picture nothing is painted until it returns.
    // An undo in the middle of a drag ends the stroke, and the drag paints no more.
    if (!painting_ || buttons == Qt::NoButton || !ctx_.document().doc().inStroke() || !insideTile(point))
        return;
    if (QPoint(point.x() / 8, point.y() / 8) == lastPixel_)
        return;
    picSelectedTile_MouseDown(point, (buttons & Qt::LeftButton) ? Qt::LeftButton : Qt::RightButton);
}

void TileEditorPanel::picSelectedTile_MouseUp(QPoint, Qt::MouseButton) { endPainting(); }

void TileEditorPanel::endPainting()
{
    if (painting_)
        ctx_.document().doc().endStroke();
    painting_ = false;
    lastPixel_ = QPoint(-1, -1);
}

void TileEditorPanel::lblnespal_tEdit_Click(int index, Qt::MouseButton button)
{
    if (index < 0 || index > 3)
        return;
    (button == Qt::LeftButton ? leftColor_ : rightColor_) = index;
    refreshSwatches();
}

bool TileEditorPanel::chooseColourKey(QKeyEvent* event)
{
    if (event->key() < Qt::Key_1 || event->key() > Qt::Key_4 || event->modifiers() != Qt::NoModifier)
        return false;
    lblnespal_tEdit_Click(event->key() - Qt::Key_1, Qt::LeftButton);
    return true;
}

void TileEditorPanel::stepPalette(int delta)
{
    tilePalette_ = static_cast<std::uint8_t>(((tilePalette_ + delta) & 3) | paletteBase_);
    redraw();
    emit paletteChanged();
}

void TileEditorPanel::cmdPrevPal_Click() { stepPalette(-1); }
void TileEditorPanel::cmdNextPal_Click() { stepPalette(1); }

void TileEditorPanel::editTile(edits::TileOperation operation)
{
    showEditFailure(ctx_.dialogs(), edits::transformTile(ctx_.document().doc(), table_, selectedTile_, operation));
}

void TileEditorPanel::cmdShiftLeft_Click() { editTile(edits::TileOperation::ShiftLeft); }
void TileEditorPanel::cmdShiftRight_Click() { editTile(edits::TileOperation::ShiftRight); }
void TileEditorPanel::cmdShiftUp_Click() { editTile(edits::TileOperation::ShiftUp); }
void TileEditorPanel::cmdShiftDown_Click() { editTile(edits::TileOperation::ShiftDown); }
void TileEditorPanel::cmdFlipHAxis_Click() { editTile(edits::TileOperation::FlipTopToBottom); }
void TileEditorPanel::cmdFlipVAxis_Click() { editTile(edits::TileOperation::FlipLeftToRight); }
void TileEditorPanel::cmdRotate_Click() { editTile(edits::TileOperation::Rotate); }

// --- Drawing ---

void TileEditorPanel::redraw()
{
    const Document& doc = ctx_.doc();
    lblSelTile->setText(hex2(selectedTile_));
    lblSelTile->setAccessibleName("Selected tile: $" + lblSelTile->text());
    lblSelTileFrame->move(selectedTile_ % 16 * 16, selectedTile_ / 16 * 16);
    if (doc.hasScene()) {
        const PaletteView palette = doc.currentScene().palette;
        drawTileSheet(sheet_, pixels(), palette, tilePalette_, 2);
        drawTileZoomed(tile_, pixels(), selectedTile_, palette, tilePalette_);
    } else {
        sheet_ = Bitmap(256, 256, 0);
        tile_ = Bitmap(64, 64, 0);
    }
    picPatternTable->setImage(toQImage(sheet_));
    picSelectedTile->setImage(toQImage(tile_));
    refreshSwatches();
}

void TileEditorPanel::refreshSwatches()
{
    const Document& doc = ctx_.doc();
    std::array<std::uint8_t, 4> colours{0x0F, 0x0F, 0x0F, 0x0F};
    if (doc.hasScene())
        std::copy_n(doc.currentScene().palette.begin() + tilePalette_ * 4, 4, colours.begin());
    for (std::size_t i = 0; i < 4; ++i)
        controls::setNesSwatch(lblnespal_tEdit[i], colours[i]);
    const std::array<int, 2> chosen = {leftColor_, rightColor_};
    for (std::size_t b = 0; b < 2; ++b) {
        controls::setNesSwatch(lblselectedcolor[b], colours[static_cast<std::size_t>(chosen[b])]);
        lblselectedcolor[b]->setAccessibleName(
            QString(b == 0 ? "Left button colour: %1" : "Right button colour: %1").arg(chosen[b]));
    }
}

bool TileEditorPanel::eventFilter(QObject* watched, QEvent* event)
{
    const Qt::MouseButton button = controls::swatchClick(event);
    if (button != Qt::NoButton) {
        if (auto it = std::find(lblnespal_tEdit.begin(), lblnespal_tEdit.end(), watched); it != lblnespal_tEdit.end()) {
            lblnespal_tEdit_Click(static_cast<int>(it - lblnespal_tEdit.begin()), button);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace velmar
