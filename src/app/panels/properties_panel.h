#pragma once

#include <array>

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace velmar {

struct SceneRecord;

// The "Stage Properties" and "Scene Properties" frames: the scene's one-byte settings as
// two-digit hexadecimal boxes and the scroll direction as two options. The panel only shows;
// the main window connects the editable boxes and the options to its edits.
class PropertiesPanel : public QWidget {
    Q_OBJECT
public:
    explicit PropertiesPanel(QWidget* parent = nullptr);

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

    // Writes every box and the direction from `scene`. While it runs, filling() is true: what
    // the program writes is never taken for an entry of the user's.
    void showScene(const SceneRecord& scene);
    // Empties every box and the direction: no scene is shown.
    void clear();
    bool filling() const { return filling_; }

private:
    bool filling_ = false;
};

}  // namespace velmar
