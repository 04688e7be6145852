#include "windows/frm_pal_edit.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "edit_failure.h"
#include "editor/edits.h"
#include "windows/editor_context.h"
#include "gfx/nes_palette.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "windows/window_placement.h"

namespace velmar {

namespace {

constexpr int kSwatch = 17;
// Swatches are 17 pixels apart by a gap of 2, the width of the selector's frame.
constexpr int kPitch = kSwatch + 2;

// "Palette 05"; the tool tip adds which sub-palette and colour it is.
QString entryName(int index) { return "Palette " + qs(hexPad(index, 2)); }

}  // namespace

frmPalEdit::frmPalEdit(const EditorContext& context)
    : QWidget(&context.window(), kEditorWindowFlags), ctx_(context.over(*this))
{
    setObjectName("frmPalEdit");
    setWindowTitle("Palette Editor");
    setAccessibleName("Palette Editor");

    QFont mono("Courier New");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(10);
    auto clickable = [&](QLabel* l) {
        l->setFont(mono);
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        l->setFocusPolicy(Qt::StrongFocus);
        l->installEventFilter(this);
    };

    // The board of NES colours, placed by hand so that the selector's frame lies in the gaps
    // around the chosen swatch.
    auto* board = new QWidget(this);
    board->setObjectName("fraNesColours");
    board->setAccessibleName("NES colours");
    board->setFixedSize(16 * kPitch + 2, 4 * kPitch + 2);
    lblSelector = new QLabel(board);  // made first: it lies under the swatches
    lblSelector->setObjectName("lblSelector");
    lblSelector->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblSelector->setLineWidth(2);
    lblSelector->resize(kSwatch + 4, kSwatch + 4);
    for (int i = 0; i < 64; ++i) {
        auto* l = new QLabel(qs(hexPad(i, 2)), board);
        l->setObjectName(QString("lblnespal_%1").arg(i));
        l->setAccessibleName("Colour " + l->text());
        l->setToolTip(l->accessibleName());
        l->setGeometry(2 + i % 16 * kPitch, 2 + i / 16 * kPitch, kSwatch, kSwatch);
        clickable(l);
        lblnespal[static_cast<std::size_t>(i)] = l;
    }

    chkMonochrome = new QCheckBox("Monochrome", this);
    chkMonochrome->setObjectName("chkMonochrome");
    chkMonochrome->setAccessibleName("Monochrome");
    chkIntRed = new QCheckBox("Emphasis", this);
    chkIntRed->setObjectName("chkIntRed");
    chkIntRed->setAccessibleName("Red emphasis");
    chkIntRed->setToolTip("Intensify reds (and darken other colors)");
    chkIntGreen = new QCheckBox(this);
    chkIntGreen->setObjectName("chkIntGreen");
    chkIntGreen->setAccessibleName("Green emphasis");
    chkIntGreen->setToolTip("Intensify greens (and darken other colors)");
    chkIntBlue = new QCheckBox(this);
    chkIntBlue->setObjectName("chkIntBlue");
    chkIntBlue->setAccessibleName("Blue emphasis");
    chkIntBlue->setToolTip("Intensify blues (and darken other colors)");
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(chkMonochrome);
    boxes->addSpacing(16);
    boxes->addWidget(chkIntRed);
    boxes->addWidget(chkIntGreen);
    boxes->addWidget(chkIntBlue);
    boxes->addStretch();

    // Background sub-palettes 0-3 in the top row, sprite sub-palettes 4-7 below, each group of
    // four apart from the next.
    auto* entries = new QGridLayout;
    entries->setSpacing(1);
    for (int i = 0; i < 32; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("lblPal_%1").arg(i));
        l->setFixedSize(20, kSwatch);
        l->setFrameShape(QFrame::Box);
        clickable(l);
        lblPal[static_cast<std::size_t>(i)] = l;
        entries->addWidget(l, i / 16, i % 16 + (i % 16) / 4);
    }
    for (int gap : {4, 9, 14})
        entries->setColumnMinimumWidth(gap, 8);
    entries->setColumnStretch(19, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(board);
    layout->addLayout(boxes);
    layout->addLayout(entries);

    connect(chkMonochrome, &QCheckBox::clicked, this, &frmPalEdit::chkMonochrome_Click);
    connect(chkIntRed, &QCheckBox::clicked, this, &frmPalEdit::chkIntRed_Click);
    connect(chkIntGreen, &QCheckBox::clicked, this, &frmPalEdit::chkIntGreen_Click);
    connect(chkIntBlue, &QCheckBox::clicked, this, &frmPalEdit::chkIntBlue_Click);
    connect(&context.document(), &EditorDocument::changed, this, &frmPalEdit::document_Changed);
    initGUI();
}

void frmPalEdit::initGUI()
{
    for (QCheckBox* c : {chkMonochrome, chkIntRed, chkIntGreen, chkIntBlue})
        c->setChecked(false);
    lblnespal_Click(0);
    redraw();
}

void frmPalEdit::lblnespal_Click(int index)
{
    if (index < 0 || index > 63)
        return;
    selectedColor_ = index;
    const QLabel* chosen = lblnespal[static_cast<std::size_t>(index)];
    lblSelector->move(chosen->x() - 2, chosen->y() - 2);
    lblSelector->setAccessibleName("Chosen colour: $" + chosen->text());
}

void frmPalEdit::lblPal_Click(int index)
{
    if (index < 0 || index > 31)
        return;
    Document& doc = ctx_.document().doc();
    const auto colour = static_cast<std::uint8_t>(selectedColor_);
    // Colour 0 of a sub-palette is the background colour all eight share: it changes for all.
    // The window redraws from the document's notice, whatever the edit came to.
    showEditFailure(ctx_.dialogs(),
                    index % 4 == 0 ? edits::setSharedColour(doc, colour) : edits::setPaletteEntry(doc, index, colour));
}

void frmPalEdit::chkMonochrome_Click() { redraw(); }
void frmPalEdit::chkIntRed_Click() { redraw(); }
void frmPalEdit::chkIntGreen_Click() { redraw(); }
void frmPalEdit::chkIntBlue_Click() { redraw(); }

void frmPalEdit::document_Changed(const DocumentEvent& event)
{
    // Edits from any window, undo, redo and scene switches alike; a hidden window catches up
    // in initGUI.
    if (event.kind != DocumentEvent::Kind::Saved && isVisible())
        drawPalette();
}

void frmPalEdit::redraw()
{
    drawNesColours();
    drawPalette();
}

void frmPalEdit::drawNesColours()
{
    for (std::size_t i = 0; i < lblnespal.size(); ++i)
        paintSwatch(lblnespal[i], static_cast<std::uint8_t>(i));
}

void frmPalEdit::drawPalette()
{
    const Document& doc = ctx_.doc();
    for (std::size_t i = 0; i < lblPal.size(); ++i) {
        QLabel* l = lblPal[i];
        const QString name = entryName(static_cast<int>(i));
        l->setEnabled(doc.hasScene());
        if (!doc.hasScene()) {
            l->clear();
            l->setPalette(QPalette());
            l->setAutoFillBackground(false);
            l->setAccessibleName(name);
            l->setToolTip(QString());
            continue;
        }
        const std::uint8_t n = doc.currentScene().palette[i];
        l->setAutoFillBackground(true);
        paintSwatch(l, n);
        l->setText(qs(hexText(n)));
        l->setAccessibleName(name + ": $" + qs(hexPad(n, 2)));
        l->setToolTip(QString("Sub-palette %1, colour %2: $%3").arg(i / 4).arg(i % 4).arg(qs(hexPad(n, 2))));
    }
}

void frmPalEdit::paintSwatch(QLabel* label, std::uint8_t n)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, toQColor(nesColorToRgb(n, chkMonochrome->isChecked(), emphasis())));
    colours.setColor(QPalette::WindowText,
                     palette().color(isDarkNesColour(n) ? QPalette::Window : QPalette::WindowText));
    label->setPalette(colours);
}

int frmPalEdit::emphasis() const
{
    // The PPU mask register's order: red, green, blue.
    return (chkIntRed->isChecked() ? 1 : 0) | (chkIntGreen->isChecked() ? 2 : 0) | (chkIntBlue->isChecked() ? 4 : 0);
}

bool frmPalEdit::eventFilter(QObject* watched, QEvent* event)
{
    bool click = false;
    if (event->type() == QEvent::MouseButtonPress) {
        click = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        click = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (click) {
        if (auto it = std::find(lblnespal.begin(), lblnespal.end(), watched); it != lblnespal.end()) {
            lblnespal_Click(static_cast<int>(it - lblnespal.begin()));
            return true;
        }
        if (auto it = std::find(lblPal.begin(), lblPal.end(), watched); it != lblPal.end()) {
            lblPal_Click(static_cast<int>(it - lblPal.begin()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmPalEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace velmar
