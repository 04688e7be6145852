#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <QWidget>

#include "editor/edits.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace velmar {

class Dialogs;
class EditorDocument;
struct DocumentEvent;
struct SceneRecord;

// The "Stage Properties" and "Scene Properties" frames: the scene's one-byte settings as
// two-digit hexadecimal boxes and the scroll direction as two options. What the user enters goes
// to the document as one step per value: the time limit, stage indicator and game-over reload
// when their box loses the focus, the banks and palette selectors also as soon as two characters
// are typed; the player start's X and Y when their box loses the focus. The panel follows the
// document itself.
class PropertiesPanel : public QWidget {
    Q_OBJECT
public:
    // `showStatus` shows a refusal of typed text for `milliseconds` in the status bar.
    using StatusLine = std::function<void(const QString& text, int milliseconds)>;
    PropertiesPanel(EditorDocument& document, Dialogs& dialogs, StatusLine showStatus, QWidget* parent = nullptr);
    ~PropertiesPanel() override;

    QGroupBox* fraStageProperties = nullptr;
    QLineEdit* txtBKGbank = nullptr;
    QLineEdit* txtTime = nullptr;
    QLineEdit* txtIndicator = nullptr;
    QLineEdit* txtReload = nullptr;
    std::array<QLineEdit*, 4> txtBKGPal{};

    QGroupBox* fraSceneProperties = nullptr;
    // 0: "->", left to right; 1: "<-", right to left.
    std::array<QRadioButton*, 2> opt_Direction{};
    QLineEdit* txtSPRbank = nullptr;
    QLineEdit* txtLen = nullptr;
    QLineEdit* txtStartX = nullptr;
    QLineEdit* txtStartY = nullptr;
    QLineEdit* txtEnemyC = nullptr;
    QLineEdit* txtItemC = nullptr;
    std::array<QLineEdit*, 4> txtSPRPal{};

    // Writes every box and the direction from the current scene, if there is one. While it
    // runs, filling() is true: what the program writes is never taken for an entry of the user's.
    void refresh();
    void showScene(const SceneRecord& scene);
    // Empties every box and the direction: no scene is shown.
    void clear();
    bool filling() const { return filling_; }
    // The box of a property of the core's table; nullptr for the direction, which has options.
    QLineEdit* box(SceneProperty property) const;

    // The boxes' and the options' events.
    void txtBKGbank_Change();
    void txtBKGbank_LostFocus();
    void txtTime_LostFocus();
    void txtIndicator_LostFocus();
    void txtReload_LostFocus();
    void txtBKGPal_Change(int index);
    void txtBKGPal_LostFocus(int index);
    void opt_Direction_Click(int index);
    void txtSPRbank_Change();
    void txtSPRbank_LostFocus();
    void txtSPRPal_Change(int index);
    void txtSPRPal_LostFocus(int index);
    // The player start typed into Start X or Start Y.
    void txtStart_LostFocus();

private:
    void connectControls();
    void document_Changed(const DocumentEvent& event);
    bool entryAllowed() const;
    // The box's value, read by readHexByte and written back into it as two digits. Text that is
    // no such value is refused: the box shows the scene's value again and the status bar says
    // what `field` takes.
    std::optional<std::uint8_t> takeBox(QLineEdit* box, std::string_view field, std::uint8_t max);
    // Takes the box's value as the property's; returns the value taken, if any.
    std::optional<std::uint8_t> commitSceneProperty(QLineEdit* box, SceneProperty property);
    // Selector `index`: 0-3 the background sub-palettes, 4-7 the sprite ones.
    void commitPaletteSelector(QLineEdit* box, int index);
    void editDone(const Outcome<EditResult>& result);

    EditorDocument& document_;
    Dialogs& dialogs_;
    // The boxes of the core's table of properties, each with the property it shows.
    std::vector<std::pair<QLineEdit*, SceneProperty>> boxes_;
    StatusLine showStatus_;
    bool filling_ = false;
    // The receiver of the boxes' connections. Being a member, it goes before QWidget's
    // destructor deletes the boxes: a box that loses the focus then reaches no edit.
    std::unique_ptr<QObject> link_;
};

}  // namespace velmar
