// The sprite editor's animation editor: the steps of an animation, the preview and playback.

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "actors/frame_sheet.h"
#include "actors/sprite_editor_views.h"
#include "editor/edits.h"
#include "windows/editor_context.h"
#include "windows/frm_spr_edit.h"
#include "qt_bridge.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "widgets/editor_controls.h"

namespace velmar {

using controls::hex2;

namespace {

HexByte typedFrame(const QLineEdit* e) { return readHexByte(ss(e->text()), "Frame"); }

int stepCount(const Bytes& steps) { return static_cast<int>(steps.size() / 2); }

// "02: 0A 1F": step, timer and frame.
QString stepLine(const Bytes& steps, int s)
{
    return hex2(s) + ": " + hex2(steps[static_cast<std::size_t>(2 * s)]) + " "
        + hex2(steps[static_cast<std::size_t>(2 * s + 1)]);
}

}  // namespace

void frmSprEdit::buildAnimationEditor()
{
    fraAnimationEdit = new QGroupBox("Animation Editor", this);
    fraAnimationEdit->setObjectName("fraAnimationEdit");
    fraAnimationEdit->setAccessibleName("Animation Editor");

    hscrAnimation = controls::bar(fraAnimationEdit, "hscrAnimation", "Animation", rommap::kAnimationCount - 1);
    lblAnimIndex = new QLabel("00", fraAnimationEdit);
    lblAnimIndex->setObjectName("lblAnimIndex");
    lstAnimationFrames = new QListWidget(fraAnimationEdit);
    lstAnimationFrames->setObjectName("lstAnimationFrames");
    lstAnimationFrames->setAccessibleName("Animation steps");
    lstAnimationFrames->setToolTip("Step: timer, frame");
    lstAnimationFrames->setFixedWidth(110);
    auto field = [&](QLineEdit*& member, const char* name, const QString& tip) {
        member = new QLineEdit("00", fraAnimationEdit);
        member->setObjectName(name);
        member->setToolTip(tip);
        member->setAccessibleName(tip);
        member->setMaxLength(8);
        member->setFixedWidth(48);
        connect(member, &QLineEdit::editingFinished, this, &frmSprEdit::txtAnim_LostFocus);
        return member;
    };
    field(txtAnim_Timer, "txtAnim_Timer", "Timer");
    field(txtAnim_Frame, "txtAnim_Frame", "Frame ID");
    cmdGotoFrame = new QPushButton("Goto", fraAnimationEdit);
    cmdGotoFrame->setObjectName("cmdGotoFrame");
    cmdGotoFrame->setAccessibleName("Go to frame");

    picRenderDest = controls::picture(fraAnimationEdit, "picRenderDest", "Preview", kPreviewSize, kPreviewSize, 0, 0);
    auto tool = [&](QToolButton*& member, const char* name, const char* mark, const QString& tip) {
        member = new QToolButton(fraAnimationEdit);
        member->setObjectName(name);
        member->setText(QString::fromUtf8(mark));
        member->setToolTip(tip);
        member->setAccessibleName(tip);
        return member;
    };
    tool(cmdPlay, "cmdPlay", "\u25B6", "Play");
    tool(cmdStop, "cmdStop", "\u25A0", "Stop");
    chkOnionSkin = new QCheckBox("Onion Skin", fraAnimationEdit);
    chkOnionSkin->setObjectName("chkOnionSkin");
    chkOnionSkin->setAccessibleName("Onion Skin");
    chkOnionSkin->setToolTip("Show the step before faintly behind the step chosen");
    cmdExportAnimation = new QPushButton("Export Animation...", fraAnimationEdit);
    cmdExportAnimation->setObjectName("cmdExportAnimation");
    cmdExportAnimation->setAccessibleName("Export Animation");
    cmdExportAnimation->setToolTip("The animation's frames as one PNG strip, in the scene's sprite palettes");
    tmrPlayback = new QTimer(this);
    tmrPlayback->setObjectName("tmrPlayback");
    tmrPlayback->setTimerType(Qt::PreciseTimer);
    tmrPlayback->setSingleShot(true);

    connect(hscrAnimation, &QScrollBar::valueChanged, this, &frmSprEdit::hscrAnimation_Change);
    connect(lstAnimationFrames, &QListWidget::currentRowChanged, this, &frmSprEdit::lstAnimationFrames_Click);
    connect(cmdGotoFrame, &QPushButton::clicked, this, &frmSprEdit::cmdGotoFrame_Click);
    connect(cmdPlay, &QToolButton::clicked, this, &frmSprEdit::cmdPlay_Click);
    connect(cmdStop, &QToolButton::clicked, this, &frmSprEdit::cmdStop_Click);
    connect(chkOnionSkin, &QCheckBox::clicked, this, &frmSprEdit::chkOnionSkin_Click);
    connect(cmdExportAnimation, &QPushButton::clicked, this, &frmSprEdit::cmdExportAnimation_Click);
    connect(tmrPlayback, &QTimer::timeout, this, &frmSprEdit::tmrPlayback_Timer);

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(hscrAnimation, 1);
    chooser->addWidget(lblAnimIndex);
    auto* fields = new QGridLayout;
    int row = 0;
    for (QLineEdit* e : {txtAnim_Timer, txtAnim_Frame}) {
        auto* caption = new QLabel(e->toolTip(), fraAnimationEdit);
        caption->setBuddy(e);
        caption->setAccessibleName(e->toolTip());
        fields->addWidget(caption, row, 0);
        fields->addWidget(e, row++, 1);
    }
    fields->addWidget(cmdGotoFrame, row, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPlay);
    buttons->addWidget(cmdStop);
    buttons->addWidget(chkOnionSkin);
    buttons->addStretch();
    auto* steps = new QVBoxLayout;
    steps->addWidget(lstAnimationFrames, 1);
    steps->addLayout(fields);
    auto* preview = new QVBoxLayout;
    preview->addWidget(picRenderDest);
    preview->addLayout(buttons);
    preview->addWidget(cmdExportAnimation);
    auto* body = new QHBoxLayout;
    body->addLayout(steps);
    body->addLayout(preview);
    auto* layout = new QVBoxLayout(fraAnimationEdit);
    layout->addLayout(chooser);
    layout->addLayout(body);
}

void frmSprEdit::hscrAnimation_Change(int value)
{
    animationIndex_ = value;
    stopAnimation();
    animationStep_ = 0;
    showAnimation(false);
}

void frmSprEdit::showAnimation(bool keepStep)
{
    const Document& doc = ctx_.doc();
    lblAnimIndex->setText(hex2(animationIndex_));
    lblAnimIndex->setAccessibleName("Animation: $" + lblAnimIndex->text());
    animationSteps_.clear();
    if (doc.hasImage()) {
        if (const RomStatus s = readAnimation(doc.romData(), animationIndex_, animationSteps_); !s.ok()) {
            animationSteps_.clear();
            lstAnimationFrames->setToolTip(qs(s.message()));
        } else {
            lstAnimationFrames->setToolTip("Step: timer, frame");
        }
    }
    if (!keepStep || animationStep_ >= stepCount(animationSteps_))
        animationStep_ = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdPlay, cmdExportAnimation})
        w->setEnabled(!animationSteps_.empty());
    fillStepList();
    if (playing())
        drawAnimationPreview();  // the playback chooses the frame; an edit may have changed its tiles
    lstAnimationFrames_Click(animationStep_);
}

void frmSprEdit::fillStepList()
{
    filling_ = true;
    lstAnimationFrames->clear();
    for (int s = 0; s < stepCount(animationSteps_); ++s)
        lstAnimationFrames->addItem(stepLine(animationSteps_, s));
    filling_ = false;
}

void frmSprEdit::lstAnimationFrames_Click(int row)
{
    if (filling_)
        return;
    const bool any = row >= 0 && row < stepCount(animationSteps_);
    for (QWidget* w : std::initializer_list<QWidget*>{txtAnim_Timer, txtAnim_Frame})
        w->setEnabled(any);
    if (!any) {
        for (QLineEdit* e : {txtAnim_Timer, txtAnim_Frame})
            e->clear();
        previewFrame_ = SpriteFrame{};
        if (!playing())
            drawAnimationPreview();
        refreshGotoFrame();
        return;
    }
    animationStep_ = row;
    {
        const QSignalBlocker block(lstAnimationFrames);
        lstAnimationFrames->setCurrentRow(row);
    }
    showStep(row);
    // While playing, the preview belongs to the playback.
    if (!playing()) {
        previewFrame_ = loadFrame(animationSteps_[static_cast<std::size_t>(2 * row + 1)]);
        drawAnimationPreview();
    }
    refreshGotoFrame();
}

void frmSprEdit::showStep(int s)
{
    txtAnim_Timer->setText(hex2(animationSteps_[static_cast<std::size_t>(2 * s)]));
    txtAnim_Frame->setText(hex2(animationSteps_[static_cast<std::size_t>(2 * s + 1)]));
}

void frmSprEdit::refreshGotoFrame()
{
    // A step may name a frame the table chosen does not have (it may be the other table's):
    // "Goto" then does nothing, and says why.
    const int last = ctx_.doc().hasImage() ? lastFrameIndex(ctx_.doc().romData(), currentSet()) : -1;
    const HexByte frame = typedFrame(txtAnim_Frame);
    const bool exists = txtAnim_Frame->isEnabled() && frame.ok() && frame.value <= last;
    cmdGotoFrame->setEnabled(exists);
    // What the number shows, where it is typed: a frame past the table's last, or one that
    // cannot be read, is drawn as the game would read it, alike in the preview and the strip.
    txtAnim_Frame->setToolTip(txtAnim_Frame->isEnabled() && frame.ok() && ctx_.doc().hasImage() ? "Frame ID\n"
                                      + qs(animationFrameMeaning(ctx_.doc().romData(), currentSet(), frame.value))
                                                                                                : QString("Frame ID"));
    cmdGotoFrame->setToolTip(exists || !txtAnim_Frame->isEnabled() || !frame.ok()
                                 ? QString("Show the step's frame in the frame editor")
                                 : QString("Frame %1 is past the last frame (%2) of the %3 table")
                                       .arg(hex2(frame.value), hex2(std::max(last, 0)), cmbFrameSet->currentText()));
}

void frmSprEdit::txtAnim_LostFocus()
{
    if (filling_ || animationStep_ >= stepCount(animationSteps_))
        return;
    // On a refusal the fields show the step as stored before the message box takes the focus, so
    // that losing it (after Enter) finds nothing left to take: one refusal, one message.
    const auto refuse = [this](const QString& message) {
        showStep(animationStep_);
        refreshGotoFrame();
        ctx_.dialogs().message(message, Dialogs::Icon::Exclamation);
    };
    const HexByte timer = readHexByte(ss(txtAnim_Timer->text()), "Timer");
    const HexByte frame = typedFrame(txtAnim_Frame);
    if (!timer.ok() || !frame.ok())
        return refuse(qs(!timer.ok() ? timer.reason : frame.reason));
    txtAnim_Timer->setText(hex2(timer.value));
    txtAnim_Frame->setText(hex2(frame.value));
    Bytes steps = animationSteps_;
    steps[static_cast<std::size_t>(2 * animationStep_)] = timer.value;
    steps[static_cast<std::size_t>(2 * animationStep_ + 1)] = frame.value;
    refreshGotoFrame();
    if (initializing_ || steps == animationSteps_)
        return;
    const Outcome<EditResult> r = edits::setAnimation(ctx_.document().doc(), animationIndex_, steps);
    if (!r.ok())
        refuse(qs("The step was not changed. " + r.reason));
}

void frmSprEdit::cmdGotoFrame_Click()
{
    const HexByte typed = typedFrame(txtAnim_Frame);
    if (!typed.ok() || !ctx_.doc().hasImage() || typed.value > lastFrameIndex(ctx_.doc().romData(), currentSet()))
        return;
    const int frame = typed.value;
    if (hscrFrame->value() == frame)
        hscrFrame_Change(frame);
    else
        hscrFrame->setValue(frame);
}

void frmSprEdit::drawAnimationPreview()
{
    const Document& doc = ctx_.doc();
    if (!doc.hasScene()) {
        previewView_ = Bitmap(kPreviewSize, kPreviewSize, 0);
    } else {
        const SceneState& s = doc.scene();
        const SpriteArt art{s.sprPatterns, s.bkgPatterns, s.currentScene.palette};
        // The step before, faintly, while stepping through the animation by hand.
        std::optional<SpriteFrame> before;
        const std::optional<int> previous = previousStep(animationStep_, stepCount(animationSteps_));
        if (chkOnionSkin->isChecked() && !playing() && previous)
            before = loadFrame(animationSteps_[static_cast<std::size_t>(2 * *previous + 1)]);
        // A frame that cannot be read is the crossed box the exported strip shows for it.
        velmar::drawAnimationPreview(previewView_, previewFrame_ ? &*previewFrame_ : nullptr,
                                     before ? &*before : nullptr, art);
    }
    picRenderDest->setBitmap(previewView_);
}

std::int64_t frmSprEdit::now() const { return clock_ ? clock_() : elapsed_.elapsed(); }

void frmSprEdit::cmdPlay_Click()
{
    if (animationSteps_.empty() || !playback_.start(now()))
        return;  // already playing, or nothing to play
    tmrPlayback_Timer();
}

void frmSprEdit::tmrPlayback_Timer()
{
    if (!playback_.playing())
        return;
    // Every tick due runs; only the last frame begun is drawn.
    if (const std::optional<std::uint8_t> frame = playback_.advance(now(), animationSteps_)) {
        previewFrame_ = loadFrame(*frame);
        drawAnimationPreview();
    }
    tmrPlayback->start(static_cast<int>(std::max<std::int64_t>(1, playback_.untilNextTick(now()))));
}

void frmSprEdit::stopAnimation()
{
    playback_.stop();
    if (tmrPlayback)
        tmrPlayback->stop();
}

void frmSprEdit::cmdStop_Click() { stopAnimation(); }

void frmSprEdit::chkOnionSkin_Click()
{
    if (!playing())
        drawAnimationPreview();
}

void frmSprEdit::cmdExportAnimation_Click()
{
    const Document& doc = ctx_.doc();
    if (!doc.hasScene() || animationSteps_.empty())
        return;
    const QString folder = QFileInfo(qs(doc.path())).absolutePath();
    const QString path = ctx_.dialogs().saveFile(folder, "PNG image (*.png)");
    if (path.isEmpty())
        return;
    const SceneState& s = doc.scene();
    const Bitmap strip = animationStrip(doc.romData(), currentSet(), animationSteps_, s.sprPatterns, s.bkgPatterns,
                                        s.currentScene.palette);
    if (const Outcome<WriteResult> r = saveBitmapPng(strip, ss(path), kKeyColour); !r.ok())
        ctx_.dialogs().message(qs(fileMessage("Unknown I/O error!", ss(path), r.reason)), Dialogs::Icon::Exclamation);
}

}  // namespace velmar
