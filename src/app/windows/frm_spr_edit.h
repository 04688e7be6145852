#pragma once

#include <optional>

#include <cstdint>

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

#include "actors/animation_playback.h"
#include "actors/sprite_frames.h"
#include "gfx/bitmap.h"
#include "windows/editor_context.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace velmar {

class BitmapView;
struct DocumentEvent;
class TileEditorPanel;

// "Sprite Editor": the frames of the enemy and player frame tables (each a list of 8 x 16
// sprites with offsets, tile numbers and attributes), the 256 sprite tiles, and the animations
// (steps of a frame and a timer), with a preview that plays them at 60 ticks a second. Every
// change is one step of the document's history, written into the image when it is made; the
// window holds only what is selected and reads frames and animations afresh from the document.
class frmSprEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmSprEdit(const EditorContext& context);
    ~frmSprEdit() override;

    // Enemy table, frame 0, tile 0, palette 4, colours 0 and 1, animation 0, playback stopped.
    void initGUI();

    int frameIndex() const { return frameIndex_; }
    int frameTile() const { return frameTile_; }
    const SpriteFrame& editedFrame() const { return editedFrame_; }
    // The frame the preview shows; nothing when it cannot be read (a crossed box stands for it).
    const std::optional<SpriteFrame>& previewFrame() const { return previewFrame_; }
    bool playing() const { return playback_.playing(); }
    // The clock playback runs on, in milliseconds; tests drive a fake one.
    void setClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

    // Frame editor.
    QGroupBox* fraFrameEdit = nullptr;
    QComboBox* cmbFrameSet = nullptr;
    QScrollBar* hscrFrame = nullptr;
    QLabel* lblFrameIndex = nullptr;
    QLabel* lblFrameAddr = nullptr;
    BitmapView* picFrameEditor = nullptr;
    QLabel* lblSelTileHighlight = nullptr;
    QListWidget* lstFrameTiles = nullptr;
    QLineEdit* txtFrame_TileId = nullptr;
    QLineEdit* txtFrame_X = nullptr;
    QLineEdit* txtFrame_Y = nullptr;
    QLineEdit* txtFrame_Att = nullptr;
    QPushButton* cmdGotoTile = nullptr;

    // Tile editor: pattern table 0 (the sprite bank, edited), the tile and its tools.
    TileEditorPanel* fraTileEdit = nullptr;
    BitmapView* picPatternTable1 = nullptr;  // the background bank, shown only

    // Options.
    QGroupBox* fraGrid = nullptr;
    QCheckBox* chkShowGrid = nullptr;
    QScrollBar* hscrGridColor = nullptr;
    QCheckBox* chkDragAndDrop = nullptr;

    // Animation editor.
    QGroupBox* fraAnimationEdit = nullptr;
    QScrollBar* hscrAnimation = nullptr;
    QLabel* lblAnimIndex = nullptr;
    QListWidget* lstAnimationFrames = nullptr;
    QLineEdit* txtAnim_Timer = nullptr;
    QLineEdit* txtAnim_Frame = nullptr;
    QPushButton* cmdGotoFrame = nullptr;
    BitmapView* picRenderDest = nullptr;
    QToolButton* cmdPlay = nullptr;
    QToolButton* cmdStop = nullptr;
    QCheckBox* chkOnionSkin = nullptr;
    QPushButton* cmdExportAnimation = nullptr;
    // Fires while playing; each timeout runs the ticks that have fallen due.
    QTimer* tmrPlayback = nullptr;

public slots:
    void cmbFrameSet_Click(int index);
    void hscrFrame_Change(int value);
    void lstFrameTiles_Click(int row);
    void picFrameEditor_MouseDown(QPoint point, Qt::MouseButton button);
    void txtFrame_LostFocus();
    void cmdGotoTile_Click();
    void picPatternTable1_MouseDown(QPoint point, Qt::MouseButton button);
    void chkShowGrid_Click();
    void hscrGridColor_Change(int value);

    void hscrAnimation_Change(int value);
    void lstAnimationFrames_Click(int row);
    void txtAnim_LostFocus();
    void cmdGotoFrame_Click();
    void cmdPlay_Click();
    void cmdStop_Click();
    void chkOnionSkin_Click();
    void cmdExportAnimation_Click();
    void tmrPlayback_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFrameEditor();
    void buildTileEditor();
    void buildOptions();
    void buildAnimationEditor();
    void document_Changed(const DocumentEvent& event);
    FrameSet currentSet() const { return frameSet_ == 0 ? FrameSet::Enemy : FrameSet::Player; }
    // The frame of the current table; nothing when it cannot be read.
    std::optional<SpriteFrame> loadFrame(int frame) const;

    // Frames.
    void showFrame(bool keepTile);
    void drawFrameEditor();
    void highlightFrameTile(int i);
    void fillFrameTileList();
    void showFrameTile(int i);
    void redrawPatternTable1();
    // Everything that shows pixels of the sprite tiles: the tile editor, the frame, the preview.
    void redrawSpriteViews();

    // Animations.
    void showAnimation(bool keepStep);
    void fillStepList();
    void showStep(int s);
    void refreshGotoFrame();
    void drawAnimationPreview();
    void stopAnimation();
    std::int64_t now() const;

    EditorContext ctx_;
    bool initializing_ = false;
    // A list or box being filled by the window itself: its event does nothing.
    bool filling_ = false;

    int frameSet_ = 0;
    int frameIndex_ = 0;
    int frameTile_ = 0;
    SpriteFrame editedFrame_;
    bool frameReadable_ = false;
    Bitmap frameView_;

    int animationIndex_ = 0;
    int animationStep_ = 0;
    Bytes animationSteps_;
    std::optional<SpriteFrame> previewFrame_ = SpriteFrame{};
    Bitmap previewView_;
    AnimationPlayback playback_{60};
    QElapsedTimer elapsed_;
    std::function<std::int64_t()> clock_;
};

}  // namespace velmar
