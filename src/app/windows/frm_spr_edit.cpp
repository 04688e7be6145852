#include "windows/frm_spr_edit.h"

#include <array>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "actors/sprite_editor_views.h"
#include "editor/edits.h"
#include "windows/editor_context.h"
#include "gfx/tile_drawing.h"
#include "panels/tile_editor_panel.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "widgets/editor_controls.h"
#include "windows/window_placement.h"

namespace velmar {

using controls::hex2;

namespace {

// The frame editor's back colour, against which the sprites' boxes stand out.
constexpr ScreenColour kFrameBackColour = rgb(112, 112, 112);

// The frame's origin in the frame editor, where a sprite with offsets (0, 0) has its bottom half.
constexpr int kOriginInView = 2 * kFrameOrigin;

QLineEdit* byteField(QWidget* parent, const char* name, const QString& tip)
{
    auto* e = new QLineEdit("00", parent);
    e->setObjectName(name);
    e->setToolTip(tip);
    e->setAccessibleName(tip);
    e->setMaxLength(8);
    e->setFixedWidth(48);
    return e;
}

// "03: 1A F8 F0 01": entry, tile number, X, Y and attribute of one sprite of a frame.
QString frameTileLine(const SpriteFrame& f, int i)
{
    const FrameTile& t = f.tiles[static_cast<std::size_t>(i)];
    return hex2(i) + ": " + hex2(t.tileId) + " " + hex2(t.offsetX) + " " + hex2(t.offsetY) + " "
        + hex2(f.attributes[static_cast<std::size_t>(i)]);
}

int spriteCount(const SpriteFrame& f)
{
    return std::min<int>(f.tileCount, static_cast<int>(std::min(f.tiles.size(), f.attributes.size())));
}

}  // namespace

frmSprEdit::frmSprEdit(const EditorContext& context)
    : QWidget(&context.window(), kEditorWindowFlags), ctx_(context.over(*this))
{
    setObjectName("frmSprEdit");
    setWindowTitle("Sprite Editor");
    setAccessibleName("Sprite Editor");
    elapsed_.start();

    buildFrameEditor();
    buildTileEditor();
    buildOptions();
    buildAnimationEditor();

    auto* right = new QVBoxLayout;
    right->addWidget(fraAnimationEdit);
    right->addWidget(fraGrid);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(fraFrameEdit);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(scrollingContents(*this));
    layout->addLayout(top);
    layout->addWidget(fraTileEdit, 1);

    connect(&context.document(), &EditorDocument::changed, this, &frmSprEdit::document_Changed);
    initGUI();
}

frmSprEdit::~frmSprEdit() { stopAnimation(); }

void frmSprEdit::buildFrameEditor()
{
    fraFrameEdit = new QGroupBox("Frame Editor", this);
    fraFrameEdit->setObjectName("fraFrameEdit");
    fraFrameEdit->setAccessibleName("Frame Editor");

    cmbFrameSet = new QComboBox(fraFrameEdit);
    cmbFrameSet->setObjectName("cmbFrameSet");
    cmbFrameSet->setAccessibleName("Frame table");
    cmbFrameSet->addItems({"Enemy", "Player"});
    hscrFrame = controls::bar(fraFrameEdit, "hscrFrame", "Frame", 0);
    lblFrameIndex = new QLabel("00", fraFrameEdit);
    lblFrameIndex->setObjectName("lblFrameIndex");
    lblFrameAddr = new QLabel("$0000 $0000", fraFrameEdit);
    lblFrameAddr->setObjectName("lblFrameAddr");
    lblFrameAddr->setToolTip("Where the frame's sprite list and attribute list are");

    picFrameEditor = controls::picture(fraFrameEdit, "picFrameEditor", "Frame", kFrameViewSize, kFrameViewSize, 0, 0);
    // The frame's origin, the point its offsets count from.
    BitmapView::LineSet origin;
    origin.visible = true;
    origin.lines = {QLine(kOriginInView, 0, kOriginInView, kFrameViewSize - 1),
                    QLine(0, kOriginInView, kFrameViewSize - 1, kOriginInView)};
    picFrameEditor->setLineSets({origin});
    picFrameEditor->setLineColour(QColor(150, 150, 150));
    lblSelTileHighlight = new QLabel(picFrameEditor);
    lblSelTileHighlight->setObjectName("lblSelTileHighlight");
    lblSelTileHighlight->setAccessibleName("Selected sprite");
    lblSelTileHighlight->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblSelTileHighlight->setLineWidth(2);
    lblSelTileHighlight->setStyleSheet("color: yellow; background: transparent");
    lblSelTileHighlight->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblSelTileHighlight->hide();

    lstFrameTiles = new QListWidget(fraFrameEdit);
    lstFrameTiles->setObjectName("lstFrameTiles");
    lstFrameTiles->setAccessibleName("Frame sprites");
    lstFrameTiles->setToolTip("Sprite: tile, X, Y, attribute");
    lstFrameTiles->setFixedWidth(150);
    txtFrame_TileId = byteField(fraFrameEdit, "txtFrame_TileId", "Tile ID");
    txtFrame_X = byteField(fraFrameEdit, "txtFrame_X", "X Coor");
    txtFrame_Y = byteField(fraFrameEdit, "txtFrame_Y", "Y Coor");
    txtFrame_Att = byteField(fraFrameEdit, "txtFrame_Att", "Attribute");
    cmdGotoTile = new QPushButton("Goto", fraFrameEdit);
    cmdGotoTile->setObjectName("cmdGotoTile");
    cmdGotoTile->setAccessibleName("Go to tile");
    cmdGotoTile->setToolTip("Show the sprite's tile in the tile editor (again: its lower half)");

    connect(cmbFrameSet, &QComboBox::currentIndexChanged, this, &frmSprEdit::cmbFrameSet_Click);
    connect(hscrFrame, &QScrollBar::valueChanged, this, &frmSprEdit::hscrFrame_Change);
    connect(lstFrameTiles, &QListWidget::currentRowChanged, this, &frmSprEdit::lstFrameTiles_Click);
    connect(picFrameEditor, &BitmapView::pressed, this, &frmSprEdit::picFrameEditor_MouseDown);
    for (QLineEdit* e : {txtFrame_TileId, txtFrame_X, txtFrame_Y, txtFrame_Att})
        connect(e, &QLineEdit::editingFinished, this, &frmSprEdit::txtFrame_LostFocus);
    connect(cmdGotoTile, &QPushButton::clicked, this, &frmSprEdit::cmdGotoTile_Click);

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(cmbFrameSet);
    chooser->addWidget(hscrFrame, 1);
    chooser->addWidget(lblFrameIndex);
    auto* fields = new QGridLayout;
    int row = 0;
    for (QLineEdit* e : {txtFrame_TileId, txtFrame_X, txtFrame_Y, txtFrame_Att}) {
        auto* caption = new QLabel(e->toolTip(), fraFrameEdit);
        caption->setBuddy(e);
        caption->setAccessibleName(e->toolTip());
        fields->addWidget(caption, row, 0);
        fields->addWidget(e, row++, 1);
    }
    fields->addWidget(cmdGotoTile, row, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(lstFrameTiles, 1);
    side->addLayout(fields);
    auto* body = new QHBoxLayout;
    body->addWidget(picFrameEditor, 0, Qt::AlignTop);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(fraFrameEdit);
    layout->addLayout(chooser);
    layout->addWidget(lblFrameAddr);
    layout->addLayout(body);
}

void frmSprEdit::buildTileEditor()
{
    fraTileEdit = new TileEditorPanel(ctx_, edits::PatternTable::Sprite, "picPatternTable0", "Pattern table 0", this);
    picPatternTable1 = controls::picture(fraTileEdit, "picPatternTable1", "Pattern table 1", 256, 256, 16, 16);
    picPatternTable1->setToolTip("The background tiles that odd tile numbers take (shown only)");
    // The pair an odd tile number takes, marked after "Goto".
    BitmapView::LineSet pair;
    picPatternTable1->setLineSets({controls::gridLines(16, 16), pair});
    fraTileEdit->tableRow()->addWidget(picPatternTable1, 0, Qt::AlignTop);
    connect(picPatternTable1, &BitmapView::pressed, this, &frmSprEdit::picPatternTable1_MouseDown);
    connect(fraTileEdit, &TileEditorPanel::paletteChanged, this, &frmSprEdit::redrawPatternTable1);
}

void frmSprEdit::buildOptions()
{
    const controls::GridOptions o =
        controls::gridOptions(this, "Drag a tile of pattern table 0 onto another to copy it");
    fraGrid = o.frame;
    chkShowGrid = o.showGrid;
    hscrGridColor = o.colour;
    chkDragAndDrop = o.copyTiles;
    fraTileEdit->setCopyTilesBox(chkDragAndDrop);
    connect(chkShowGrid, &QCheckBox::clicked, this, &frmSprEdit::chkShowGrid_Click);
    connect(hscrGridColor, &QScrollBar::valueChanged, this, &frmSprEdit::hscrGridColor_Change);
}

void frmSprEdit::initGUI()
{
    initializing_ = true;
    stopAnimation();
    fraTileEdit->reset();
    chkShowGrid->setChecked(false);
    chkDragAndDrop->setChecked(false);
    chkOnionSkin->setChecked(false);
    chkShowGrid_Click();
    hscrGridColor->setValue(0);
    hscrGridColor_Change(0);
    frameTile_ = 0;
    animationStep_ = 0;
    {
        const QSignalBlocker a(cmbFrameSet), b(hscrFrame), c(hscrAnimation);
        cmbFrameSet->setCurrentIndex(0);
        hscrAnimation->setValue(0);
        hscrFrame->setValue(0);
    }
    cmbFrameSet_Click(0);
    fraTileEdit->selectTile(0);
    redrawPatternTable1();
    hscrAnimation_Change(0);
    initializing_ = false;
}

std::optional<SpriteFrame> frmSprEdit::loadFrame(int frame) const
{
    SpriteFrame f;
    const Document& doc = ctx_.doc();
    if (doc.hasImage()
        && !readSpriteFrame(doc.romData(), currentSet(), static_cast<std::uint8_t>(frame & 0xFF), f).ok())
        return std::nullopt;
    return f;
}

// --- Frames ---

void frmSprEdit::cmbFrameSet_Click(int index)
{
    if (filling_ || index < 0)
        return;
    frameSet_ = index & 1;
    const int last = ctx_.doc().hasImage() ? lastFrameIndex(ctx_.doc().romData(), currentSet()) : -1;
    {
        const QSignalBlocker block(hscrFrame);
        hscrFrame->setMaximum(std::max(0, last));
        hscrFrame->setValue(0);
    }
    hscrFrame_Change(0);
    // The preview's frames are numbers of the table chosen; playing, the next step shows them.
    if (!playing())
        hscrAnimation_Change(hscrAnimation->value());
    else
        refreshGotoFrame();
}

void frmSprEdit::hscrFrame_Change(int value)
{
    frameIndex_ = value & 0xFF;
    frameTile_ = 0;
    showFrame(false);
}

void frmSprEdit::showFrame(bool keepTile)
{
    const Document& doc = ctx_.doc();
    lblFrameIndex->setText(hex2(frameIndex_));
    lblFrameIndex->setAccessibleName("Frame: $" + lblFrameIndex->text());
    editedFrame_ = SpriteFrame{};
    frameReadable_ = false;
    QString problem;
    if (!doc.hasImage()) {
        problem = "No file is open.";
    } else if (lastFrameIndex(doc.romData(), currentSet()) < 0) {
        problem = "The table has no frames.";
    } else if (const RomStatus s =
                   readSpriteFrame(doc.romData(), currentSet(), static_cast<std::uint8_t>(frameIndex_), editedFrame_);
               !s.ok()) {
        problem = qs(s.message());
    } else {
        frameReadable_ = true;
    }
    if (frameReadable_) {
        lblFrameAddr->setText("$" + qs(hexPad(editedFrame_.tilesAddress, 4)) + " $"
                              + qs(hexPad(editedFrame_.attributesAddress, 4)));
        lblFrameAddr->setAccessibleName("Frame lists at " + lblFrameAddr->text());
    } else {
        lblFrameAddr->setText("$???? $????");
        lblFrameAddr->setAccessibleName(problem);
    }
    lblFrameAddr->setToolTip(frameReadable_ ? "Where the frame's sprite list and attribute list are" : problem);
    if (!keepTile || frameTile_ >= spriteCount(editedFrame_))
        frameTile_ = 0;
    drawFrameEditor();
    fillFrameTileList();
    lstFrameTiles_Click(frameTile_);
}

void frmSprEdit::drawFrameEditor()
{
    const Document& doc = ctx_.doc();
    if (doc.hasScene()) {
        const SceneState& s = doc.scene();
        velmar::drawFrameEditor(frameView_, editedFrame_, {s.sprPatterns, s.bkgPatterns, s.currentScene.palette},
                                frameTile_, kFrameBackColour);
    } else {
        frameView_ = Bitmap(kFrameViewSize, kFrameViewSize, kFrameBackColour);
    }
    picFrameEditor->setBitmap(frameView_);
}

void frmSprEdit::highlightFrameTile(int i)
{
    if (i < 0 || i >= spriteCount(editedFrame_)) {
        lblSelTileHighlight->hide();
        return;
    }
    const ViewRect r = frameSpriteRect(editedFrame_.tiles[static_cast<std::size_t>(i)]);
    lblSelTileHighlight->setGeometry(r.left - 4, r.top - 4, r.width + 8, r.height + 8);
    lblSelTileHighlight->show();
    lblSelTileHighlight->raise();
}

void frmSprEdit::fillFrameTileList()
{
    filling_ = true;
    lstFrameTiles->clear();
    for (int i = 0; i < spriteCount(editedFrame_); ++i)
        lstFrameTiles->addItem(frameTileLine(editedFrame_, i));
    filling_ = false;
}

void frmSprEdit::lstFrameTiles_Click(int row)
{
    if (filling_)
        return;
    const bool any = row >= 0 && row < spriteCount(editedFrame_);
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtFrame_TileId, txtFrame_X, txtFrame_Y, txtFrame_Att, cmdGotoTile})
        w->setEnabled(any);
    if (!any) {
        // A frame without sprites (or one that cannot be read) shows an empty frame and list.
        highlightFrameTile(-1);
        for (QLineEdit* e : {txtFrame_TileId, txtFrame_X, txtFrame_Y, txtFrame_Att})
            e->clear();
        return;
    }
    const bool moved = frameTile_ != row;
    frameTile_ = row;
    {
        const QSignalBlocker block(lstFrameTiles);
        lstFrameTiles->setCurrentRow(row);
    }
    if (moved)
        drawFrameEditor();  // the selected sprite comes to the front
    highlightFrameTile(row);
    showFrameTile(row);
}

void frmSprEdit::showFrameTile(int i)
{
    const FrameTile& t = editedFrame_.tiles[static_cast<std::size_t>(i)];
    txtFrame_TileId->setText(hex2(t.tileId));
    txtFrame_X->setText(hex2(t.offsetX));
    txtFrame_Y->setText(hex2(t.offsetY));
    txtFrame_Att->setText(hex2(editedFrame_.attributes[static_cast<std::size_t>(i)]));
}

void frmSprEdit::picFrameEditor_MouseDown(QPoint point, Qt::MouseButton)
{
    const int i = frameSpriteAt(editedFrame_, point.x(), point.y(), frameTile_);
    if (i >= 0)
        lstFrameTiles_Click(i);
}

void frmSprEdit::txtFrame_LostFocus()
{
    if (filling_ || frameTile_ >= spriteCount(editedFrame_))
        return;
    // On a refusal the fields show the sprite as stored before the message box takes the focus,
    // so that losing it (after Enter) finds nothing left to take: one refusal, one message.
    const std::array<QLineEdit*, 4> boxes = {txtFrame_TileId, txtFrame_X, txtFrame_Y, txtFrame_Att};
    const std::array<const char*, 4> fields = {"Tile ID", "X", "Y", "Attribute"};
    std::array<std::uint8_t, 4> v{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const HexByte typed = readHexByte(ss(boxes[i]->text()), fields[i]);
        if (!typed.ok()) {
            showFrameTile(frameTile_);
            ctx_.dialogs().message(qs(typed.reason), Dialogs::Icon::Exclamation);
            return;
        }
        v[i] = typed.value;
    }
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(hex2(v[i]));
    SpriteFrame f = editedFrame_;
    FrameTile& t = f.tiles[static_cast<std::size_t>(frameTile_)];
    t.tileId = v[0];
    t.offsetX = v[1];
    t.offsetY = v[2];
    f.attributes[static_cast<std::size_t>(frameTile_)] = v[3];
    if (initializing_ || f == editedFrame_)
        return;
    // The document tells every window, this one too, which then shows the frame as stored.
    const Outcome<EditResult> r =
        edits::setSpriteFrame(ctx_.document().doc(), currentSet(), static_cast<std::uint8_t>(frameIndex_), f);
    if (!r.ok()) {
        showFrameTile(frameTile_);
        ctx_.dialogs().message(qs("The frame was not changed. " + r.reason), Dialogs::Icon::Exclamation);
    }
}

void frmSprEdit::cmdGotoTile_Click()
{
    // Text that is no tile number was refused as the field lost the focus.
    const HexByte typed = readHexByte(ss(txtFrame_TileId->text()), "Tile ID");
    if (!typed.ok())
        return;
    const int v = typed.value;
    if (v & 1) {
        // Odd numbers take a pair of background tiles, which are shown here but not edited.
        BitmapView::LineSet pair;
        pair.visible = true;
        const int x = (v - 1) % 16 * 16, y = (v - 1) / 16 * 16;
        const int w = x + 32 <= 256 ? 32 : 16;  // the pair wraps to the next row at column F
        pair.lines = {QLine(x, y, x + w - 1, y), QLine(x, y + 15, x + w - 1, y + 15), QLine(x, y, x, y + 15),
                      QLine(x + w - 1, y, x + w - 1, y + 15)};
        std::vector<BitmapView::LineSet> sets = picPatternTable1->lineSets();
        sets[1] = pair;
        picPatternTable1->setLineSets(sets);
        redrawPatternTable1();
        return;
    }
    // Again on the same sprite: its lower half.
    fraTileEdit->selectTile(v == fraTileEdit->selectedTile() ? v + 1 : v);
}

void frmSprEdit::picPatternTable1_MouseDown(QPoint, Qt::MouseButton) { redrawPatternTable1(); }

void frmSprEdit::redrawPatternTable1()
{
    const Document& doc = ctx_.doc();
    Bitmap sheet(256, 256, 0);
    if (doc.hasScene())
        drawTileSheet(sheet, doc.scene().bkgPatterns, doc.currentScene().palette, fraTileEdit->tilePalette(), 2);
    picPatternTable1->setBitmap(std::move(sheet));
}

void frmSprEdit::redrawSpriteViews()
{
    fraTileEdit->redraw();
    redrawPatternTable1();
    drawFrameEditor();
    drawAnimationPreview();
}

void frmSprEdit::chkShowGrid_Click()
{
    for (BitmapView* v : fraTileEdit->views())
        v->setLineSetVisible(0, chkShowGrid->isChecked());
    picPatternTable1->setLineSetVisible(0, chkShowGrid->isChecked());
}

void frmSprEdit::hscrGridColor_Change(int value)
{
    for (BitmapView* v : fraTileEdit->views())
        v->setLineColour(QColor(0, 0, value & 0xFF));
    picPatternTable1->setLineColour(QColor(0, 0, value & 0xFF));
}

// --- Window ---

void frmSprEdit::document_Changed(const DocumentEvent& event)
{
    // Edits from any window, undo, redo and scene switches alike; a hidden window catches up
    // in initGUI. Frames and animations are read again: an undo may have changed them.
    if (event.kind == DocumentEvent::Kind::Saved || !isVisible())
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{fraFrameEdit, fraTileEdit, fraAnimationEdit})
        w->setEnabled(ctx_.doc().hasScene());
    const int last = ctx_.doc().hasImage() ? lastFrameIndex(ctx_.doc().romData(), currentSet()) : -1;
    if (hscrFrame->maximum() != std::max(0, last)) {
        const QSignalBlocker block(hscrFrame);
        hscrFrame->setMaximum(std::max(0, last));
        frameIndex_ = hscrFrame->value();
    }
    showFrame(true);
    showAnimation(true);
    fraTileEdit->redraw();
    redrawPatternTable1();
}

void frmSprEdit::keyPressEvent(QKeyEvent* event)
{
    if (fraTileEdit->chooseColourKey(event))
        return;
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmSprEdit::closeEvent(QCloseEvent* event)
{
    // A value typed and not yet taken is taken now, as leaving its field would.
    if (auto* e = qobject_cast<QLineEdit*>(focusWidget()); e && isAncestorOf(e))
        e->clearFocus();
    stopAnimation();
    fraTileEdit->endPainting();
    QWidget::closeEvent(event);
}

}  // namespace velmar
